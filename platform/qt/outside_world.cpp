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
#include "x11_windows.h"

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

// The window system knows the calculator as a foreign window titled "Calculator" while one runs.
// Where the desktop lets us see other programs' windows (X11) that is while a window of that title
// is on the desktop, whoever opened it, or while the one we started runs; the desktop's window
// comes to the top and closes with the foreign window. On Wayland and the offscreen platform no
// other program's window is seen: the foreign window stands for the calculator we started while
// it runs, and a calculator opened elsewhere is not known, so the lesson starts one. Most desktop
// calculators are single-instance applications: starting one again brings the running one
// forward.
struct Calculator {
  qint64 pid = 0;             // the calculator we started; 0 for none
  Window window = kNoWindow;  // its foreign window
  std::uint32_t zOrder = 0;   // the foreign window's place in the stack, last seen
  QPointer<QTimer> poll;      // looks again now and then
};

Calculator calculator;

bool ProcessRunning(qint64 pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::uint32_t ZOrderOf(Window window) {
  WindowView view{};
  return ViewWindow(window, view) ? view.zOrder : 0;
}

void StopTracking() {
  if (calculator.poll) calculator.poll->deleteLater();
  calculator = Calculator{};
}

void TrackCalculatorWindow() {
  calculator.window = CreateForeignWindow(kCalculatorTitle, kCalculatorTitle);
  calculator.zOrder = ZOrderOf(calculator.window);
}

// The foreign window is there while the calculator is; once it has gone, and nothing else can
// bring one, there is no more looking.
void FollowCalculator() {
  if (!ProcessRunning(calculator.pid)) calculator.pid = 0;
  bool seen = DesktopWindowsSeen();
  bool running =
      calculator.pid != 0 || (seen && FindDesktopWindow(kCalculatorTitle) != kNoDesktopWindow);
  if (running && !IsWindow(calculator.window)) {
    TrackCalculatorWindow();
    NoteLayerChanged();
  } else if (!running && calculator.window != kNoWindow) {
    Window window = calculator.window;
    calculator.window = kNoWindow;  // gone by itself: nothing to ask to close
    if (IsWindow(window)) {
      DestroyWindow(window);
      NoteLayerChanged();
    }
  }
  if (!running && !seen) StopTracking();
}

void WatchCalculator() {
  if (calculator.poll) return;
  calculator.poll = new QTimer;
  QObject::connect(calculator.poll, &QTimer::timeout, FollowCalculator);
  calculator.poll->start(kCalculatorPollMs);
}

int StartCalculator() {
  for (const char* name : kCalculators) {
    QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
    qint64 pid = 0;
    if (program.isEmpty() || !QProcess::startDetached(program, {}, QString(), &pid)) continue;
    calculator.pid = pid;
    if (!IsWindow(calculator.window)) TrackCalculatorWindow();
    WatchCalculator();
    return kStarted;
  }
  return kProgramNotFound;
}

// The program brought the foreign window to the top: so does the desktop, where it lets us (the
// window is looked for afresh: it may have come up since the last look).
void FollowCalculatorRaised() {
  std::uint32_t zOrder = ZOrderOf(calculator.window);
  bool raised = zOrder > calculator.zOrder;
  calculator.zOrder = zOrder;
  if (raised) RaiseDesktopWindow(FindDesktopWindow(kCalculatorTitle));
}

// The program asked the calculator to close: its window on the desktop is asked to, where it is
// seen; otherwise the one we started ends.
void CloseCalculator() {
  DesktopWindow shown = FindDesktopWindow(kCalculatorTitle);
  if (shown != kNoDesktopWindow) {
    CloseDesktopWindow(shown);
  } else if (ProcessRunning(calculator.pid)) {
    ::kill(static_cast<pid_t>(calculator.pid), SIGTERM);
  }
  calculator.pid = 0;
  calculator.window = kNoWindow;
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
  // Where other programs' windows are seen, a calculator may come up at any time.
  if (!calculator.poll && DesktopWindowsSeen()) WatchCalculator();
  if (window == kNoWindow) return;
  if (window == calculator.window) {
    if (IsWindow(window)) {
      FollowCalculatorRaised();
    } else {
      CloseCalculator();
    }
  }
  // The program asked the help window to close.
  if (help && window == help->layerWindow && !IsWindow(window)) {
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
