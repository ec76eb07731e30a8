// The lesson's main window and other programs' windows as the desktop changes them: the main
// window minimised and restored from the taskbar (on Qt's offscreen platform), and a calculator
// on an X server, seen, brought to the front and closed by the lesson (skipped without one).
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <array>

#include "backend.h"
#include "desktop_session.h"
#include "desktop_view.h"
#include "platform.h"
#include "x11_windows.h"

namespace {

// ---- Minimising -------------------------------------------------------------------------------

// The black window behind the lesson on a large screen.
Window BlackWindow() {
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (windows[i] != MainWindow() && ViewWindow(windows[i], view) &&
        view.kind == WindowKind::kTopLevel && view.parent == kNoWindow) {
      return windows[i];
    }
  }
  return kNoWindow;
}

std::uint32_t MainStyle() {
  WindowView view{};
  return ViewWindow(MainWindow(), view) ? view.style : 0;
}

// ---- The calculator ---------------------------------------------------------------------------

constexpr char kCalculatorFlag[] = "--calculator";

// Another program's window titled "Calculator": this test run again with kCalculatorFlag. It
// writes whether it is the active window, and "closed" when asked to close.
class CalculatorWindow : public QWidget {
 public:
  explicit CalculatorWindow(QString stateFile) : stateFile_(std::move(stateFile)) {
    setWindowTitle(QStringLiteral("Calculator"));
    resize(200, 240);
  }

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::WindowActivate) Note("active");
    if (event->type() == QEvent::WindowDeactivate) Note("inactive");
    return QWidget::event(event);
  }
  void closeEvent(QCloseEvent* event) override {
    Note("closed");
    closed_ = true;  // the window's going deactivates it: that is not noted
    event->accept();
    QCoreApplication::quit();
  }

 private:
  void Note(const char* state) {
    if (closed_) return;
    QFile file(stateFile_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(state);
  }
  QString stateFile_;
  bool closed_ = false;
};

int RunCalculator(int argc, char** argv) {
  QApplication application(argc, argv);
  CalculatorWindow window(QString::fromLocal8Bit(argv[2]));
  window.show();
  return QApplication::exec();
}

// Where the calculator runs from: the lesson finds only our "xcalc" on the PATH, which notes its
// start and runs the calculator window.
class CalculatorPlace {
 public:
  CalculatorPlace() : path_(qgetenv("PATH")) {
    QFile script(dir_.filePath(QStringLiteral("xcalc")));
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\necho $$ >> '%1'\nexec '%2' %3 '%4'\n")
                     .arg(StartsFile(), QCoreApplication::applicationFilePath(),
                          QLatin1String(kCalculatorFlag), StateFile())
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir_.path().toUtf8());
  }
  ~CalculatorPlace() { qputenv("PATH", path_); }

  QString StateFile() const { return dir_.filePath(QStringLiteral("state")); }
  QString StartsFile() const { return dir_.filePath(QStringLiteral("starts")); }
  QByteArray State() const { return Read(StateFile()).trimmed(); }
  int Starts() const { return static_cast<int>(Read(StartsFile()).count('\n')); }

 private:
  static QByteArray Read(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QTemporaryDir dir_;
  QByteArray path_;
};

struct CalculatorCase {
  bool openedElsewhere;  // already on the desktop when the lesson starts, not started by it
  int startsExpected;    // by the lesson, through the PATH
};

constexpr CalculatorCase kOpenedElsewhere{true, 0};
constexpr CalculatorCase kStartedByTheLesson{false, 1};

bool CalculatorOnTheDesktop() {
  return FindDesktopWindow("Calculator") != kNoDesktopWindow;
}

}  // namespace

class DesktopWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void minimisedLessonHidesTheBlackAroundIt();
  void calculatorOpenedElsewhereIsRaisedAndClosed() { RunCalculatorCase(kOpenedElsewhere); }
  void calculatorStartedByTheLessonIsRaisedAndClosed() { RunCalculatorCase(kStartedByTheLesson); }

 private:
  void RunCalculatorCase(const CalculatorCase& row);
};

void DesktopWindowsTest::minimisedLessonHidesTheBlackAroundIt() {
  struct Case {
    const char* what;
    void (*change)(QWidget* shell);
    bool minimised;
    bool blackShown;
  };
  static constexpr Case kCases[] = {
      {"minimised", [](QWidget* s) { s->showMinimized(); }, true, false},
      {"restored", [](QWidget* s) { s->showNormal(); }, false, true},
      {"minimised again", [](QWidget* s) { s->showMinimized(); }, true, false},
      {"restored maximised", [](QWidget* s) { s->showMaximized(); }, false, true},
  };
  SessionSetup setup;
  setup.screen = {1280, 1024, 96};
  std::vector<Step> steps = {WaitForWelcome(), PassWelcome(), WaitForReady(),
                             Do("the black is there", [] {
                               QVERIFY(BlackWindow() != kNoWindow);
                               QVERIFY(IsWindowVisible(BlackWindow()));
                             })};
  for (const Case& row : kCases) {
    steps.push_back(Do(row.what, [&row] { row.change(DesktopShell()); }));
    steps.push_back(WaitFor(row.what, [&row] {
      return ((MainStyle() & kStyleMinimized) != 0) == row.minimised &&
             IsWindowVisible(BlackWindow()) == row.blackShown;
    }));
    steps.push_back(Do(row.what, [&row] {
      // The lesson keeps its place in the middle: back as it was, not maximised.
      QVERIFY2((MainStyle() & kStyleMaximized) == 0, row.what);
      QImage desk = DesktopDesk()->grab().toImage();
      QVERIFY2((desk.pixelColor(2, 2) == Qt::black) == row.blackShown, row.what);
    }));
  }
  steps.push_back(Do("quit", [] { ClickMenu("Quit"); }));
  steps.push_back(WaitForBox());
  steps.push_back(AnswerBox(kIdOk));
  QVERIFY(RunDesktopSession(setup, steps).allStepsTaken);
}

void DesktopWindowsTest::RunCalculatorCase(const CalculatorCase& row) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    QSKIP("needs an X server: DISPLAY names none");
  }
  CalculatorPlace place;
  QProcess elsewhere;
  if (row.openedElsewhere) {
    elsewhere.start(QCoreApplication::applicationFilePath(),
                    {QLatin1String(kCalculatorFlag), place.StateFile()});
    QTRY_VERIFY_WITH_TIMEOUT(CalculatorOnTheDesktop(), 5000);
  }
  auto lessonInFront = [] { DesktopShell()->activateWindow(); };
  auto calculatorBehind = [&place] { return place.State() != "active"; };
  std::vector<Step> steps = {WaitForWelcome(), PassWelcome(), WaitForReady()};
  if (row.openedElsewhere) {
    steps.push_back(WaitFor("the lesson sees the calculator",
                            [] { return FindTopWindow("", "Calculator") != kNoWindow; }));
  } else {
    steps.push_back(Do("choose Calculator", [] { ClickMenu("Calculator"); }));
    steps.push_back(WaitFor("the calculator on the desktop", CalculatorOnTheDesktop));
  }
  steps.push_back(Do("back to the lesson", lessonInFront));
  steps.push_back(WaitFor("the calculator behind", calculatorBehind));
  steps.push_back(Do("choose Calculator", [] { ClickMenu("Calculator"); }));
  steps.push_back(
      WaitFor("the calculator in front", [&place] { return place.State() == "active"; }));
  steps.push_back(Do("quit", [] { ClickMenu("Quit"); }));
  steps.push_back(WaitForBox());
  steps.push_back(AnswerBox(kIdOk));
  QVERIFY(RunDesktopSession({}, steps).allStepsTaken);
  QCOMPARE(place.Starts(), row.startsExpected);
  // The lesson asked the calculator to close as it quit, and it did.
  QTRY_COMPARE_WITH_TIMEOUT(place.State(), QByteArray("closed"), 3000);
  QTRY_VERIFY_WITH_TIMEOUT(!CalculatorOnTheDesktop(), 3000);
}

int main(int argc, char** argv) {
  if (argc == 3 && qstrcmp(argv[1], kCalculatorFlag) == 0) return RunCalculator(argc, argv);
  // Without an X server the tests run offscreen, and those that need one skip.
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt on X11 asks the session bus for the desktop's settings; without a session, libdbus's try
  // at starting a bus leaks (the sanitizers' build says so). No bus is asked for then.
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
  }
  QApplication application(argc, argv);
  DesktopWindowsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "desktop_windows_test.moc"
