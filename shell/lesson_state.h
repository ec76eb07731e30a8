// The lesson's process-wide objects: the windows start-up creates, the screen's scale factors, the
// student's blocks from the course shell and the state of the lesson flow. Start-up fills them;
// the main window, the panels and the lesson flow read and change them. They live from start-up
// to exit.
#pragma once

#include <array>

#include "courselib.h"
#include "platform.h"

// ---- Windows ----------------------------------------------------------------------------------

extern Window mainWindow;        // class "Tavrin", procedure TsbWndProc
extern Window backgroundWindow;  // full-screen black window; only on a large screen
extern Window problemBox;        // list box of the problem text, child of mainWindow
extern Window minMaxPanel;       // modeless dialog "MINMAX", MinMaxCmd
extern Window variablePanel;     // modeless dialog 2601, VarSelectCmd
extern Window entryPanel;        // modeless dialog 1603, ProbCmd
extern Window activePanel;       // the panel shown, or kNoWindow; change it with SetActivePanel

// The problem box's own procedure, kept for chaining and given back before the box is destroyed.
extern WindowProc problemBoxOwnProc;

// The symbol font of face "custom" that draws the relation signs; kNoFont when not installed.
extern Font lessonFont;

// ---- Screen -----------------------------------------------------------------------------------

extern float xScale;
extern float yScale;
extern float overallScale;
extern float fontScale;  // 0 until a known screen sets it
extern int largeFonts;
extern int largeScreen;

extern int mainWidth;
extern int mainHeight;
extern int mainLeft;
extern int mainTop;

// ---- The student, from the course shell -------------------------------------------------------

extern std::array<char, kStudentRecordSize> studentRecord;
extern std::array<char, kStudentDataASize> studentDataA;
extern std::array<char, kStudentDataBSize> studentDataB;
extern int certificationSeries;

// ---- Lesson flow ------------------------------------------------------------------------------

inline constexpr int kPracticeMode = 110;
inline constexpr int kCertificationMode = 115;
inline constexpr int kProblemCount = 5;

extern int mode;                                     // kPracticeMode or kCertificationMode
extern std::array<int, kProblemCount> problemOrder;  // problem codes of this run
extern int problemNumber;                            // index into problemOrder
extern int orderPending;      // draw a new order at the next practice command
extern int strikes;           // wrong answers of this certification run
extern int strikesAllowed;    // strikes that end a certification run
extern int seriesLength;      // problems in one certification run
// quitRequested lives in problemProgress (formulation_model.h): the panels and the flow share it.
extern int problemActive;     // a problem runs
extern int certifiedThisRun;  // a certification run was passed since start-up
extern int seriesOver;        // no problem runs
extern int showPicture;       // the main window paints its picture

// Makes the panel the one shown and the one whose dialog keys the main loop handles first.
void SetActivePanel(Window panel);
