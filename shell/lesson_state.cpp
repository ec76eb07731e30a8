// The lesson's process-wide objects, with the values they hold before start-up runs.
#include "lesson_state.h"

Window mainWindow = kNoWindow;
Window backgroundWindow = kNoWindow;
Window problemBox = kNoWindow;
Window minMaxPanel = kNoWindow;
Window variablePanel = kNoWindow;
Window entryPanel = kNoWindow;
Window activePanel = kNoWindow;
WindowProc problemBoxOwnProc = nullptr;
Font lessonFont = kNoFont;

float xScale = 0.0f;
float yScale = 0.0f;
float overallScale = 0.0f;
float fontScale = 0.0f;
int largeFonts = 0;
int largeScreen = 0;

int mainWidth = 0;
int mainHeight = 0;
int mainLeft = 0;
int mainTop = 0;

std::array<char, kStudentRecordSize> studentRecord{};
std::array<char, kStudentDataASize> studentDataA{};
std::array<char, kStudentDataBSize> studentDataB{};
int certificationSeries = 0;

int mode = kPracticeMode;
std::array<int, kProblemCount> problemOrder{};
int problemNumber = 0;
int orderPending = 1;
int strikes = 0;
int strikesAllowed = 3;
int seriesLength = 1;
int problemActive = 0;
int certifiedThisRun = 0;
int seriesOver = 1;
int showPicture = 0;

void SetActivePanel(Window panel) {
  activePanel = panel;
  SetKeyboardDialog(panel);
}
