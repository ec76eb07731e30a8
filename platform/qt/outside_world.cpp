#include "outside_world.h"

#include <signal.h>

#include <cerrno>

#include <QCloseEvent>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include "backend.h"
#include "control_widgets.h"
#include "main_shell.h"
#include "window_mirror.h"

namespace {

constexpr int kStarted = 33;         // a start call's success value (32 or more)
constexpr int kProgramNotFound = 2;  // the error code for a program that is not there
constexpr int kCalculatorPollMs = 500;
constexpr int kHelpWidth = 620;
constexpr int kHelpHeight = 520;
constexpr int kHelpOffset = 80;

constexpr std::string_view kCalculatorProgram = "calc.exe";
constexpr char kCalculatorTitle[] = "Calculator";
constexpr char kHelpClass[] = "HelpViewer";
constexpr char kHelpPrefix[] = ":/help/";

// The desktop's calculators, the first one installed is started.
constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk",
                                        "xcalc"};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()))
             .compare(QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size())),
                      Qt::CaseInsensitive) == 0;
}

// ---- The calculator ---------------------------------------------------------------------------

struct Calculator {
  qint64 pid = 0;
  Window window = kNoWindow;
  QPointer<QTimer> poll;
};

Calculator calculator;

bool ProcessRunning(qint64 pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

void StopTracking() {
  if (calculator.poll) calculator.poll->deleteLater();
  calculator = Calculator{};
}

// When the calculator has ended, its window goes too.
void PollCalculator() {
  if (ProcessRunning(calculator.pid)) return;
  Window window = calculator.window;
  StopTracking();
  if (IsWindow(window)) {
    DestroyWindow(window);
    NoteLayerChanged();
  }
}

int StartCalculator() {
  for (const char* name : kCalculators) {
    QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    qint64 pid = 0;
    if (program.isEmpty() || !QProcess::startDetached(program, {}, QString(), &pid)) continue;
    StopTracking();
    calculator.pid = pid;
    calculator.window = CreateForeignWindow(kCalculatorTitle, kCalculatorTitle);
    calculator.poll = new QTimer;
    QObject::connect(calculator.poll, &QTimer::timeout, PollCalculator);
    calculator.poll->start(kCalculatorPollMs);
    return kStarted;
  }
  return kProgramNotFound;
}

// ---- The help window --------------------------------------------------------------------------

class HelpViewer : public QWidget {
 public:
  HelpViewer() : browser_(new QTextBrowser(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenExternalLinks(false);
    resize(kHelpWidth, kHelpHeight);
  }

  // The file's contents page; a file that is not there is said so.
  void Open(std::string_view file) {
    QString name = QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size()));
    QFile source(QString::fromLatin1(kHelpPrefix) + name);
    if (source.open(QIODevice::ReadOnly)) {
      browser_->setHtml(QString::fromUtf8(source.readAll()));
    } else {
      browser_->setPlainText(QStringLiteral("The help file %1 cannot be opened.").arg(name));
    }
    QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? name : title);
  }

  Window layerWindow = kNoWindow;  // its foreign window in the window system

 protected:
  // Closed by the student: the window system's window for it goes.
  void closeEvent(QCloseEvent* event) override {
    Window known = layerWindow;
    layerWindow = kNoWindow;
    if (IsWindow(known)) {
      DestroyWindow(known);
      NoteLayerChanged();
    }
    event->accept();
  }

 private:
  QTextBrowser* browser_;
};

QPointer<HelpViewer> help;

}  // namespace

int StartDesktopProgram(std::string_view path) {
  std::size_t slash = path.rfind('\\');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (!SameIgnoringCase(name, kCalculatorProgram)) return kProgramNotFound;
  return StartCalculator();
}

void OpenDesktopHelp(std::string_view file) {
  if (!help) {
    help = new HelpViewer;
    help->setAttribute(Qt::WA_DeleteOnClose);
    // Beside the lesson rather than over its top left corner, where the desktop lets us say.
    if (QWidget* shell = MirrorShell(); shell && shell->isVisible()) {
      help->move(shell->geometry().topLeft() + QPoint(kHelpOffset, kHelpOffset));
    }
  }
  help->Open(file);
  if (!IsWindow(help->layerWindow)) {
    QByteArray title = help->windowTitle().toLatin1();
    help->layerWindow =
        CreateForeignWindow(kHelpClass, std::string_view(title.data(), title.size()));
  }
  help->show();
  help->raise();
  help->activateWindow();
}

void WorldWindowChanged(Window window) {
  if (window == kNoWindow || IsWindow(window)) return;
  // The program asked the calculator to close: it ends.
  if (window == calculator.window) {
    if (ProcessRunning(calculator.pid)) ::kill(static_cast<pid_t>(calculator.pid), SIGTERM);
    StopTracking();
  }
  // ... or the help window.
  if (help && window == help->layerWindow) {
    help->layerWindow = kNoWindow;
    help->close();
  }
}

QWidget* HelpWindow() {
  return help;
}

void ResetWorldWindows() {
  if (help) {
    help->layerWindow = kNoWindow;
    delete help.data();
  }
  StopTracking();
}
