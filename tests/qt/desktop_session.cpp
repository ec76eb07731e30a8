#include "desktop_session.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <array>

#include "backend.h"
#include "course_shell.h"
#include "courselib.h"
#include "desktop_view.h"
#include "qt_backend.h"
#include "startup.h"
#include "ui_resources.h"

namespace {

constexpr qint64 kStepTimeoutMs = 8000;

struct Session {
  std::vector<Step> steps;
  std::size_t next = 0;
  QElapsedTimer waiting;
};

Session* session = nullptr;

void EndSession() {
  EndDesktopInput();
}

// At each idle moment: the next step, once what it waits for is on screen.
void TakeNextStep() {
  if (!session || session->next >= session->steps.size()) {
    EndSession();
    return;
  }
  Step& step = session->steps[session->next];
  if (step.ready && !step.ready()) {
    if (session->waiting.elapsed() > kStepTimeoutMs) {
      // What was on screen instead, for whoever reads the failure.
      SaveScreen(QStringLiteral("timeout_") + QString::fromLatin1(QTest::currentTestFunction()));
      QByteArray reason = ("timed out waiting: " + step.what).toUtf8();
      QTest::qFail(reason.constData(), __FILE__, __LINE__);
      EndSession();
    }
    return;
  }
  ++session->next;
  if (step.act) step.act();
  session->waiting.restart();
  if (QTest::currentTestFailed()) EndSession();
}

QString Plain(const QString& label) {
  QString plain = label;
  plain.remove(u'&');
  return plain.trimmed();
}

std::string DataDirectory() {
  QDir dir(QDir::temp().filePath(
      QStringLiteral("tavrin-desktop-test-%1").arg(QCoreApplication::applicationPid())));
  dir.mkpath(QStringLiteral("."));
  return dir.absolutePath().toStdString();
}

}  // namespace

void EndSessionEarly() {
  if (session) session->next = session->steps.size();
  EndSession();
}

Step WaitFor(const QString& what, std::function<bool()> ready) {
  return {what, std::move(ready), {}};
}

Step Do(const QString& what, std::function<void()> act) {
  return {what, {}, std::move(act)};
}

SessionResult RunDesktopSession(const SessionSetup& setup, std::vector<Step> steps,
                                const std::function<void()>& afterLesson) {
  ResetWindowSystem();
  ResetDesktop();
  CourseShellSettings settings;
  settings.studentName = setup.student;
  settings.dataDirectory = DataDirectory();
  settings.extendedCertification = setup.extendedCertification;
  std::string error;
  if (!ConfigureCourseShell(settings, error)) {
    QTest::qFail(error.c_str(), __FILE__, __LINE__);
    return {};
  }
  SeedRandom(setup.seed);

  DesktopOptions options;
  options.fixedScreen = setup.fixedScreen;
  options.screen = setup.screen;
  options.instanceChannel =
      setup.channel.empty()
          ? QDir::temp()
                .filePath(QStringLiteral("tavrin-test-%1").arg(QCoreApplication::applicationPid()))
                .toStdString()
          : setup.channel;
  int argc = 1;
  static char name[] = "desktop_test";
  static char* argv[] = {name, nullptr};
  if (!InstallQtBackend(argc, argv, options, error)) {
    QTest::qFail(error.c_str(), __FILE__, __LINE__);
    return {};
  }
  RegisterResources(LessonResources());

  Session run{std::move(steps), 0, {}};
  run.waiting.start();
  session = &run;
  SetDesktopIdleHook(TakeNextStep);
  SessionResult result;
  result.exitCode = LessonMain();
  SetDesktopIdleHook(nullptr);
  if (afterLesson) afterLesson();
  result.allStepsTaken = run.next == run.steps.size();
  session = nullptr;
  ResetDesktop();
  ResetWindowSystem();
  CloseCourseShell();
  return result;
}

// ---- On screen --------------------------------------------------------------------------------

Window MainWindow() {
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    std::array<MenuItemView, 8> items{};
    if (ViewWindow(windows[i], view) && view.kind == WindowKind::kTopLevel &&
        ViewMenuBar(windows[i], items) > 0) {
      return windows[i];
    }
  }
  return kNoWindow;
}

Window ShownDialog(const char* templateName) {
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (ViewWindow(windows[i], view) && view.kind == WindowKind::kDialog && view.visible &&
        view.templateName == templateName) {
      QWidget* widget = DesktopWidget(windows[i]);
      return widget && widget->isVisible() ? windows[i] : kNoWindow;
    }
  }
  return kNoWindow;
}

Window ShownBox() {
  Window box = TopModal();
  WindowView view{};
  if (!ViewWindow(box, view) || view.kind != WindowKind::kMessageBox) return kNoWindow;
  QWidget* widget = DesktopWidget(box);
  return widget && widget->isVisible() ? box : kNoWindow;
}

QString BoxText(Window box) {
  WindowView view{};
  ViewWindow(box, view);
  return QString::fromLatin1(view.text.data(), static_cast<qsizetype>(view.text.size()));
}

QString BoxCaption(Window box) {
  QWidget* widget = DesktopWidget(box);
  return widget ? widget->windowTitle() : QString();
}

QWidget* ControlWidget(Window dialog, int id) {
  return DesktopWidget(DialogItem(dialog, id));
}

QWidget* WidgetOf(Window window) {
  return DesktopWidget(window);
}

QAction* MenuAction(const QString& label) {
  QMainWindow* shell = DesktopShell();
  if (!shell) return nullptr;
  for (QAction* action : shell->menuBar()->actions()) {
    if (Plain(action->text()) == label) return action;
    if (!action->menu()) continue;
    for (QAction* item : action->menu()->actions()) {
      if (Plain(item->text()) == label) return item;
    }
  }
  return nullptr;
}

bool MenuEnabled(const QString& label) {
  QAction* action = MenuAction(label);
  return action && action->isEnabled();
}

void ClickWidget(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void ClickMenu(const QString& label) {
  QMenuBar* bar = DesktopShell()->menuBar();
  for (QAction* action : bar->actions()) {
    if (Plain(action->text()) == label) {
      QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(action).center());
      return;
    }
    QMenu* popup = action->menu();
    if (!popup) continue;
    for (QAction* item : popup->actions()) {
      if (Plain(item->text()) != label) continue;
      QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(action).center());
      QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier,
                        popup->actionGeometry(item).center());
      return;
    }
  }
  QTest::qFail(("no menu item " + label).toUtf8().constData(), __FILE__, __LINE__);
}

void ClickListRow(QWidget* widget, int row, bool doubleClick) {
  auto* list = qobject_cast<QListWidget*>(widget);
  if (!list) return;
  QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  if (doubleClick) QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void PressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = QApplication::focusWidget();
  if (!target || target->window() != widget->window()) target = widget->window();
  QTest::keyClick(target, key, modifiers);
}

QString ScreenshotDirectory() {
  return QStringLiteral(TAVRIN_SCREENSHOT_DIR);
}

QImage SaveScreen(const QString& name) {
  QDir().mkpath(ScreenshotDirectory());
  QImage screen = DesktopScreenshot();
  screen.save(QDir(ScreenshotDirectory()).filePath(name + QStringLiteral(".png")));
  return screen;
}

// ---- Steps every session takes --------------------------------------------------------------

Step WaitForWelcome() {
  return WaitFor("the welcome screen with its button", [] {
    Window welcome = ShownDialog("WELCOME");
    QWidget* button = welcome ? ControlWidget(welcome, 1) : nullptr;
    return button && button->isVisible();
  });
}

Step PassWelcome() {
  return Do("press the picture button",
            [] { ClickWidget(ControlWidget(ShownDialog("WELCOME"), 1)); });
}

Step WaitForReady() {
  return WaitFor("the ready lesson", [] {
    return !ShownDialog("WELCOME") && !ShownBox() && MenuEnabled("Practice") && MenuEnabled("Quit");
  });
}

Step WaitForBox() {
  return WaitFor("a message box", [] { return ShownBox() != kNoWindow; });
}

// Presses the box's button with that ID.
Step AnswerBox(int button) {
  return Do("answer the box", [button] { ClickWidget(ControlWidget(ShownBox(), button)); });
}

int RowReading(QWidget* widget, const QString& text) {
  auto* list = qobject_cast<QListWidget*>(widget);
  for (int row = 0; list && row < list->count(); ++row) {
    if (list->item(row)->text().trimmed() == text) return row;
  }
  return -1;
}

QString StatusShown() {
  auto* corner = qobject_cast<QLabel*>(DesktopShell()->menuBar()->cornerWidget(Qt::TopRightCorner));
  return corner && corner->isVisible() ? corner->text() : QString();
}
