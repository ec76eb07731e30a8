#include "startup.h"

#include <array>
#include <span>

#include "courselib.h"
#include "dialog_services.h"
#include "entry_panel.h"
#include "lesson_state.h"
#include "main_window.h"
#include "objective_sense_panel.h"
#include "problem_box.h"
#include "textservices.h"
#include "variable_panel.h"
#include "welcome.h"

namespace {

// ---- Texts and names ----------------------------------------------------------------------------

constexpr int kClassNameId = 100;
constexpr int kTitleId = 300;
constexpr int kNobodySignedInId = 9010;
constexpr int kSuiteCaptionId = 9011;
constexpr int kAlreadyRunningId = 9012;
constexpr int kAlreadyRunningCaptionId = 9013;
constexpr int kWelcomeLibraryMissingId = 9014;

constexpr int kClassNameSize = 44;  // up to 43 characters
constexpr int kTitleSize = 26;      // up to 25 characters
std::array<char, kClassNameSize> className{};
std::array<char, kTitleSize> title{};

constexpr char kSuiteWindowTitle[] = "Orvane";
constexpr char kBackgroundClass[] = "BkWnd";
constexpr char kMenuName[] = "TAVRIN";
constexpr char kWelcomeLibrary[] = "BRISKL.DLL";
constexpr char kLessonFontFace[] = "custom";

constexpr Colour kTeal{0, 128, 128};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kScrollBarBlue{0, 0, 255};
constexpr int kMenuBarItems = 5;
constexpr int kProblemBoxTop = 10;

// ---- The screen's font scale ------------------------------------------------------------------

constexpr int kTwipsPerInch = 1440;

// Which lesson-font scale a resolution and an overall scale give. Other combinations leave the
// font at its face's own height.
struct FontScaleRule {
  int twipsPerPixel;  // 15 at 96 dpi, 12 at 120 dpi
  float overallScale;
  int largeFonts;
  float fontScale;
};
constexpr FontScaleRule kFontScaleRules[] = {
    {15, 1.0f, 0, 1.075f}, {15, 1.25f, 0, 1.075f}, {15, 1.6f, 0, 1.15f},
    {12, 1.0f, 1, 1.0f},   {12, 1.25f, 1, 1.5f},   {12, 1.6f, 1, 1.5f},
};

// What the lesson has to give back at exit.
Colour savedScrollBarColour{};
Library welcomeLibrary = 0;

// The background window paints nothing: its black class background is the whole point.
Result BackgroundProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgPaint || message == kMsgInitDialog) return 0;
  return DefaultWindowProc(window, message, wParam, lParam);
}

void SetMenuBarEnabled(bool enabled) {
  for (int position = 0; position < kMenuBarItems; ++position) {
    EnableMenuPosition(mainWindow, position, enabled);
  }
}

// ---- Start-up steps ---------------------------------------------------------------------------

// Step 1: take over the signed-in student's record; with nobody signed in, send the student back
// to the suite.
bool OpenTheStudentRecord() {
  if (OpenStudentRecord(studentRecord, studentDataA, studentDataB, &certificationSeries) != 0) {
    return true;
  }
  Window suite = FindTopWindow("", kSuiteWindowTitle);
  if (suite != kNoWindow) BringToTop(suite);
  ShowTextBox(kNoWindow, kNobodySignedInId, kSuiteCaptionId, kBoxOk | kBoxIconExclamation);
  return false;
}

// Step 2: the certification setting the course shell asks for.
void SetCertificationLimits() {
  bool extended = ExtendedCertification();
  strikesAllowed = extended ? 4 : 3;
  seriesLength = extended ? 3 : 1;
  orderPending = 1;
}

// Step 5: a copy of the lesson already running comes to the front instead of this one.
bool RefuseSecondCopy() {
  SetText(className, LoadText(kClassNameId));
  Window running = FindTopWindow(TextIn(className), "");
  if (running == kNoWindow) return false;
  ShowTextBox(kNoWindow, kAlreadyRunningId, kAlreadyRunningCaptionId,
              kBoxOk | kBoxIconInformation | kBoxSystemModal);
  BringToTop(running);
  Window popup = LastActivePopup(running);
  if (popup != kNoWindow && popup != running) BringToTop(popup);
  return true;
}

// Step 8: the black window behind a main window smaller than a large screen.
void CreateBackgroundWindow() {
  backgroundWindow =
      CreateWindowOf(kBackgroundClass, "", kStylePopup | kStyleDisabled | kStyleToolWindow, 0, 0, 0,
                     0, kNoWindow, 0, 0);
}

// Step 9: the main window's size and place.
void ComputeGeometry() {
  ScreenMetrics screen = GetScreenMetrics();
  ScreenScale scale{xScale, yScale, overallScale, fontScale, largeFonts, largeScreen};
  PixelRect rect = ComputeMainGeometry(scale, screen.width, screen.height);
  mainWidth = rect.width;
  mainHeight = rect.height;
  mainLeft = rect.left;
  mainTop = rect.top;
}

// Step 10: the main window, with its menu bar from the class.
bool CreateMainWindow() {
  mainWindow = CreateWindowOf(
      TextIn(className), TextIn(title),
      kStyleCaption | kStyleSystemMenu | kStyleMinimizeBox | kStyleClipChildren | kStyleMaximized,
      mainLeft, mainTop, mainWidth, mainHeight, kNoWindow, 0, 0);
  return mainWindow != kNoWindow;
}

// Step 12: show the windows; a large screen's background goes behind the main window.
void ShowMainWindow() {
  if (largeScreen) {
    ShowWindow(backgroundWindow, kShowMaximized);
    // The main window keeps its computed place in the middle; the black window fills the rest.
    ShowWindow(mainWindow, kShowNormal);
    UpdateWindow(backgroundWindow);
  } else {
    ShowWindow(mainWindow, kShowMaximized);
  }
  UpdateWindow(mainWindow);
  DrawMenuBar(mainWindow);
}

// Step 13: the welcome screen's pictures live in the suite's library; without it the student is
// told and the lesson goes on.
void ShowWelcome() {
  welcomeLibrary = LoadLibraryByName(kWelcomeLibrary);
  if (welcomeLibrary != 0) {
    RunModalDialog("WELCOME", mainWindow, WelcomeCmd, 0);
  } else {
    ShowTextBox(kNoWindow, kWelcomeLibraryMissingId, kNoCaptionText, kBoxOk);
  }
}

// Step 15: the problem box, hidden until the first problem, with the focus filter in front of
// the list box's own procedure.
void CreateProblemBox() {
  PixelRect rect = ComputeProblemBoxGeometry(mainWidth, mainHeight);
  problemBox = CreateWindowOf("listbox", "", kStyleChild | kStyleBorder | kStyleVScroll, rect.left,
                              rect.top, rect.width, rect.height, mainWindow, 0, 0);
  problemBoxOwnProc = ReplaceWindowProc(problemBox, ProbListCmd);
}

// Step 16: the three panels live hidden for the whole run.
void CreatePanels() {
  SetActivePanel(kNoWindow);
  minMaxPanel = CreateModelessDialog("MINMAX", mainWindow, MinMaxCmd, 0);
  variablePanel = CreateModelessDialog("2601", mainWindow, VarSelectCmd, 0);
  entryPanel = CreateModelessDialog("1603", mainWindow, ProbCmd, 0);
}

// Step 17: the lesson is ready for commands.
void EnableMainWindow() {
  BringToTop(mainWindow);
  SetMenuBarEnabled(true);
  DrawMenuBar(mainWindow);
}

// Exit: give back what start-up took from the system and the suite.
void ReleaseLesson() {
  SetScrollBarColour(savedScrollBarColour);
  if (welcomeLibrary != 0) FreeLibrary(welcomeLibrary);
  welcomeLibrary = 0;
  if (lessonFont != kNoFont) DeleteFont(lessonFont);
  lessonFont = kNoFont;
  for (Window window : {minMaxPanel, variablePanel, entryPanel, backgroundWindow}) {
    if (window != kNoWindow && IsWindow(window)) DestroyWindow(window);
  }
}

}  // namespace

// ---- The screen -------------------------------------------------------------------------------

ScreenScale ComputeScreenScale(int width, int height, int dpi) {
  ScreenScale scale{};
  // Step 2: each direction against the base screen.
  scale.xScale = static_cast<float>(width) / static_cast<float>(kBaseScreenWidth);
  scale.yScale = static_cast<float>(height) / static_cast<float>(kBaseScreenHeight);
  // Step 3: the larger of the two.
  scale.overallScale = scale.xScale > scale.yScale ? scale.xScale : scale.yScale;
  // Step 4: a screen beyond the largest design keeps the largest design and gets a background.
  if (scale.overallScale > kMaxScale) {
    scale.largeScreen = 1;
    scale.xScale = scale.yScale = scale.overallScale = kMaxScale;
  }
  // Step 5: the font scale of a known resolution and scale.
  if (dpi <= 0) return scale;
  int twipsPerPixel = kTwipsPerInch / dpi;
  for (const FontScaleRule& rule : kFontScaleRules) {
    if (rule.twipsPerPixel == twipsPerPixel && rule.overallScale == scale.overallScale) {
      scale.largeFonts = rule.largeFonts;
      scale.fontScale = rule.fontScale;
    }
  }
  return scale;
}

PixelRect ComputeMainGeometry(const ScreenScale& scale, int screenWidth, int screenHeight) {
  PixelRect rect{};
  rect.width = static_cast<int>(static_cast<float>(kBaseScreenWidth) * scale.xScale);
  rect.height = static_cast<int>(static_cast<float>(kBaseScreenHeight) * scale.yScale);
  rect.left = (screenWidth - rect.width) / 2;
  rect.top = (screenHeight - rect.height) / 2;
  return rect;
}

PixelRect ComputeProblemBoxGeometry(int mainWindowWidth, int mainWindowHeight) {
  PixelRect rect{};
  rect.width = static_cast<int>(mainWindowWidth * 0.95);
  rect.height = static_cast<int>(mainWindowHeight * 0.35);
  rect.left = (mainWindowWidth - rect.width) / 2;
  rect.top = kProblemBoxTop;
  return rect;
}

int LessonFontHeight(float scale) {
  return static_cast<int>(static_cast<float>(kLessonFontBaseHeight) * scale);
}

void MeasureScreen() {
  ScreenMetrics screen = GetScreenMetrics();
  ScreenScale scale = ComputeScreenScale(screen.width, screen.height, screen.dpi);
  xScale = scale.xScale;
  yScale = scale.yScale;
  overallScale = scale.overallScale;
  fontScale = scale.fontScale;
  largeFonts = scale.largeFonts;
  largeScreen = scale.largeScreen;
}

int RegisterLessonClasses() {
  SetText(className, LoadText(kClassNameId));
  SetText(title, LoadText(kTitleId));
  if (!RegisterWindowClass({className.data(), TsbWndProc, kTeal, kMenuName})) return 0;
  if (largeScreen && !RegisterWindowClass({kBackgroundClass, BackgroundProc, kBlack, nullptr})) {
    return 0;
  }
  // The lesson defines no accelerator keys, so there is no table to look up.
  return 1;
}

int FontFunc(const FontDescription& font, LParam /*value*/) {
  FontDescription scaled = font;
  scaled.height = LessonFontHeight(fontScale);
  scaled.width = 0;
  // Several fonts of the face: the last one wins, and the one before is given back.
  if (lessonFont != kNoFont) DeleteFont(lessonFont);
  lessonFont = CreateFontFrom(scaled);
  return 1;
}

// ---- Start-up ---------------------------------------------------------------------------------

int LessonMain() {
  if (!OpenTheStudentRecord()) return 0;  // step 1
  SetCertificationLimits();               // step 2
  // Step 3: the course shell's random source was seeded before the lesson started (with the
  // time in seconds, or with the seed a replayed session names).
  MeasureScreen();                         // step 4
  if (RefuseSecondCopy()) return 0;        // step 5
  if (!RegisterLessonClasses()) return 0;  // step 6
  // Step 7: blue scroll bars for the whole run.
  savedScrollBarColour = GetScrollBarColour();
  SetScrollBarColour(kScrollBarBlue);
  if (largeScreen) CreateBackgroundWindow();  // step 8
  ComputeGeometry();                          // step 9
  if (!CreateMainWindow()) {                  // step 10
    ReleaseLesson();
    return 0;
  }
  // Step 11: nothing to choose until the panels exist. (The platform's windows carry no system
  // menu of their own, so there is none to empty and restore.)
  SetMenuBarEnabled(false);
  ShowMainWindow();  // step 12
  ShowWelcome();     // step 13
  // Step 14: the lesson font, when its face is installed.
  EnumerateFonts(kLessonFontFace, FontFunc, 0);
  CreateProblemBox();  // step 15
  CreatePanels();      // step 16
  EnableMainWindow();  // step 17
  // Step 18: the picture shows until the first problem.
  showPicture = 1;
  InvalidateWindow(mainWindow, true);
  // Step 19: ready, in practice mode.
  mode = kPracticeMode;
  certifiedThisRun = 0;
  AnnounceLessonStart(studentRecord);
  // Step 20: the main loop, until the main window is destroyed.
  SetFocus(mainWindow);
  Result code = RunMessageLoop(kNoWindow);
  ReleaseLesson();
  return static_cast<int>(code);
}
