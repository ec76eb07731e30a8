// Running the lesson on the desktop inside a test: the Qt back end on the offscreen platform, a
// list of steps taken at idle moments (each waits for what it needs on screen, then acts on the
// real widgets as a student would and checks what they show), screenshots saved as PNG, and
// helpers that find the widgets of the lesson's windows.
#pragma once

#include <QAction>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform.h"

struct Step {
  QString what;                 // named in a failure
  std::function<bool()> ready;  // polled at idle moments until true; empty: ready at once
  std::function<void()> act;    // runs once, when ready; may use QVERIFY and QCOMPARE
};

// What a step waits for, spelled out in the step list.
Step WaitFor(const QString& what, std::function<bool()> ready);
Step Do(const QString& what, std::function<void()> act);

struct SessionSetup {
  std::string student = "Ann";
  std::uint64_t seed = 2;
  ScreenMetrics screen{640, 480, 96};
  bool fixedScreen = true;
  bool extendedCertification = false;
  std::string channel;  // empty: one of the test's own
};

struct SessionResult {
  int exitCode = 0;
  bool allStepsTaken = false;
};

// Runs LessonMain on the desktop through the steps. Once every step is taken (or one failed or
// timed out) the desktop delivers no more input and the lesson's loops return. afterLesson runs
// when LessonMain has returned, while the desktop's windows are still there.
SessionResult RunDesktopSession(const SessionSetup& setup, std::vector<Step> steps,
                                const std::function<void()>& afterLesson = {});

// Ends the session at the next idle moment, whatever steps are left (a step that found it
// cannot go on and skips the test).
void EndSessionEarly();

// ---- On screen --------------------------------------------------------------------------------

Window MainWindow();
// The dialog of that template on screen, or kNoWindow.
Window ShownDialog(const char* templateName);
// The message box on screen (the innermost), or kNoWindow.
Window ShownBox();
QString BoxText(Window box);
QString BoxCaption(Window box);

// The widget of a control of a dialog (by ID), of a window.
QWidget* ControlWidget(Window dialog, int id);
QWidget* WidgetOf(Window window);

// The menu bar's item or pop-up item with that label (without '&'), nullptr when none.
QAction* MenuAction(const QString& label);
bool MenuEnabled(const QString& label);

// A student's mouse click in the middle of the widget; on a menu item (the pop-up is opened
// first).
void ClickWidget(QWidget* widget);
void ClickMenu(const QString& label);
void ClickListRow(QWidget* list, int row, bool doubleClick);
// A key pressed in the Qt window that holds the widget, with the keyboard focus where it is.
void PressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// ---- Steps every session takes --------------------------------------------------------------

Step WaitForWelcome();       // the welcome screen with its picture button
Step PassWelcome();          // the student presses the button
Step WaitForReady();         // no problem runs: no dialog or box up, the menu bar enabled
Step WaitForBox();           // a message box
Step AnswerBox(int button);  // its button with that ID pressed

// The row of a list box that reads as the text (blanks around it ignored); -1 when none does.
int RowReading(QWidget* list, const QString& text);
// The status line at the right of the menu bar; empty while it shows none.
QString StatusShown();

// Saves the screen as the test's NAME.png under the build folder; returns the image.
QImage SaveScreen(const QString& name);
QString ScreenshotDirectory();
