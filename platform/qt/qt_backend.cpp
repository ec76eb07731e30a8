// The desktop back end: Qt started, the window system's Backend entries answered from Qt, and the
// idle loop that keeps the widgets up to date and hands the student's input to the window system.
#include "qt_backend.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "backend.h"
#include "control_widgets.h"
#include "desktop_input.h"
#include "desktop_printing.h"
#include "desktop_text.h"
#include "desktop_view.h"
#include "lesson_style.h"
#include "main_shell.h"
#include "outside_world.h"
#include "single_instance.h"
#include "suite_pictures.h"
#include "window_mirror.h"

namespace {

constexpr int kHookIntervalMs = 50;  // how often a test's idle hook looks again while idle
constexpr char kLessonFamily[] = "DejaVu Sans Mono";

struct DesktopState {
  std::unique_ptr<QApplication> application;
  ScreenMetrics screen{};
  DesktopIdleHook hook = nullptr;
  bool inputEnded = false;
  bool exitAtFirstIdle = false;
};

DesktopState desktop;

// ---- The screen -------------------------------------------------------------------------------

// The room a maximised main window has on the primary display: its work area less the window's
// frame and its menu bar. Measured before any window is shown, so the frame is estimated, on
// the generous side: a desk smaller than this scrolls.
constexpr int kFrameEstimate = 40;

ScreenMetrics MeasureDesktopScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {640, 480, 96};
  QRect area = screen->availableGeometry();
  QMenuBar probe;
  int frame =
      std::max(kFrameEstimate, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
  int height = area.height() - frame - probe.sizeHint().height();
  return {area.width(), std::max(height, 1), qRound(screen->logicalDotsPerInch())};
}

// ---- Backend entries --------------------------------------------------------------------------

ScreenMetrics Screen() {
  return desktop.screen;
}

// The lesson face is there when its monospace family is; other faces are drawn with the system
// family, which Qt always finds something for.
bool FontInstalled(std::string_view face) {
  QString name = QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()));
  if (name.compare(QString::fromLatin1(kLessonFaceName.data(),
                                       static_cast<qsizetype>(kLessonFaceName.size())),
                   Qt::CaseInsensitive) != 0) {
    return true;
  }
  return QFontDatabase::families().contains(QString::fromLatin1(kLessonFamily));
}

bool PictureAvailable(std::string_view library, std::string_view name, int& width, int& height) {
  return SuitePictureSize(library, name, width, height);
}

// The student sees what happens on the desktop itself: certificates print through the print
// dialog, the calculator and the help open as windows. Nothing is written anywhere.
void ReportEvent(std::string_view) {}

void WindowChanged(Window window) {
  NoteWindowChanged(window);
  WorldWindowChanged(window);
  InstanceWindowChanged(window);
}

bool KeyDown(int key) {
  return HeldForLastInput(key);
}

// Start-up is over: the paints the first showing posted are done, then the program ends the way
// the lesson's own exit ends it, the desktop shut down first.
[[noreturn]] void ExitAtFirstIdle() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  ShutDownQtBackend();
  std::exit(0);
}

// One turn of the idle loop: widgets brought up to date, then one piece of input delivered, or
// the test's hook run, or Qt's events processed until something happens.
void WaitForInput() {
  bool hookRan = false;
  while (!desktop.inputEnded) {
    SyncMirror();
    if (DeliverQueuedInput() || TakeLayerChanged()) return;
    if (desktop.hook && !hookRan) {
      hookRan = true;
      desktop.hook();
      continue;
    }
    hookRan = false;
    if (desktop.exitAtFirstIdle) ExitAtFirstIdle();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void InstallEntries() {
  Backend backend{};
  backend.screen = Screen;
  backend.charWidths = DesktopCharWidths;
  backend.fontInstalled = FontInstalled;
  backend.libraryPresent = SuiteLibraryPresent;
  backend.pictureAvailable = PictureAvailable;
  backend.startProgram = StartDesktopProgram;
  backend.openHelp = OpenDesktopHelp;
  backend.reportEvent = ReportEvent;
  backend.windowChanged = WindowChanged;
  backend.waitForInput = WaitForInput;
  backend.keyDown = KeyDown;
  backend.printDocument = PrintDesktopDocument;
  InstallBackend(backend);
}

// A display Qt can show windows on is named in the environment (or a platform is chosen).
bool DisplayNamed() {
  for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
    if (!qEnvironmentVariableIsEmpty(name)) return true;
  }
  return false;
}

// While a test's hook is set, a timer wakes the idle loop so the hook can look again.
QTimer* hookTimer = nullptr;

}  // namespace

bool InstallQtBackend(int& argc, char** argv, const DesktopOptions& options, std::string& error) {
  if (!QGuiApplication::instance()) {
    // Qt ends the process when it cannot reach a display; say so instead.
    if (!DisplayNamed()) {
      error = "no display to show the lesson on";
      return false;
    }
    desktop.application = std::make_unique<QApplication>(argc, argv);
  }
  if (!QGuiApplication::primaryScreen()) {
    error = "no display to show the lesson on";
    return false;
  }
  QApplication::setQuitOnLastWindowClosed(false);
  InstallLessonStyle();
  QApplication::setFont(SystemDesktopFont());
  desktop.screen = options.fixedScreen ? options.screen : MeasureDesktopScreen();
  desktop.inputEnded = false;
  desktop.exitAtFirstIdle = options.exitAtFirstIdle;
  SetMirrorOptions({options.fixedScreen});
  InstallKeyRouting();
  InstallEntries();
  std::string channel =
      options.instanceChannel.empty() ? DefaultInstanceChannel() : options.instanceChannel;
  JoinInstanceChannel(channel, RaiseMirror);
  return true;
}

void ShutDownQtBackend() {
  ResetDesktop();
  CloseInstanceChannel();
  delete hookTimer;
  hookTimer = nullptr;
  desktop.application.reset();
}

void SetDesktopIdleHook(DesktopIdleHook hook) {
  desktop.hook = hook;
  if (!hook) {
    delete hookTimer;
    hookTimer = nullptr;
    return;
  }
  if (!hookTimer) {
    hookTimer = new QTimer;
    hookTimer->start(kHookIntervalMs);
  }
}

void EndDesktopInput() {
  desktop.inputEnded = true;
}

void ResetDesktop() {
  ResetWorldWindows();
  ResetMirror();
  ResetInput();
  desktop.inputEnded = false;
}

// ---- What the tests see -----------------------------------------------------------------------

QWidget* DesktopWidget(Window window) {
  return MirrorWidget(window);
}

QMainWindow* DesktopShell() {
  return MirrorShell();
}

QWidget* DesktopDesk() {
  MainShell* shell = MirrorShell();
  return shell ? shell->TheDesk() : nullptr;
}

QWidget* DesktopHelpWindow() {
  return HelpWindow();
}

namespace {

// Window frames are the window manager's business, and the offscreen platform has none: a
// screenshot draws a plain title bar above each window that would have one.
constexpr int kShotTitleBarHeight = 22;

bool HasTitleBar(const QWidget* widget) {
  Qt::WindowFlags flags = widget->windowFlags();
  return !(flags & Qt::FramelessWindowHint) && widget->windowType() != Qt::Popup;
}

QRect FramedGeometry(const QWidget* widget) {
  QRect area = widget->geometry();
  return HasTitleBar(widget) ? area.adjusted(0, -kShotTitleBarHeight, 0, 0) : area;
}

void DrawTitleBar(QPainter& painter, const QRect& bar, const QString& title) {
  QLinearGradient shade(bar.topLeft(), bar.topRight());
  shade.setColorAt(0, QColor(40, 48, 56));
  shade.setColorAt(1, QColor(70, 84, 96));
  painter.fillRect(bar, shade);
  QFont font = SystemDesktopFont();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(bar.adjusted(8, 0, -8, 0), Qt::AlignCenter, title);
}

}  // namespace

QImage DesktopScreenshot() {
  QList<QWidget*> shown = MirrorTopLevels();
  if (QWidget* help = HelpWindow(); help && help->isVisible()) shown.append(help);
  if (QWidget* popup = QApplication::activePopupWidget()) shown.append(popup);
  QRect area;
  for (QWidget* widget : shown) area = area.united(FramedGeometry(widget));
  if (area.isEmpty()) return {};
  QImage image(area.size(), QImage::Format_RGB32);
  image.fill(QColor(32, 32, 32));
  QPainter painter(&image);
  for (QWidget* widget : shown) {
    QPoint at = widget->geometry().topLeft() - area.topLeft();
    if (HasTitleBar(widget)) {
      DrawTitleBar(
          painter,
          QRect(at - QPoint(0, kShotTitleBarHeight), QSize(widget->width(), kShotTitleBarHeight)),
          widget->windowTitle());
    }
    painter.drawPixmap(at, widget->grab());
  }
  return image;
}

int DesktopRaiseRequests() {
  return RaiseRequestsReceived();
}
