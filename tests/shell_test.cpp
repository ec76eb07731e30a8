// The lesson shell: the scale factors and window sizes a screen gives, the Alt keys the main window
// lets through and the welcome screen's version text; then, on the window system with a back end
// of the test's own, text wrapped into lists, the problem box's focus filter, the main window's
// commands and quit question, and a whole start-up on a large screen.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "backend.h"
#include "course_shell.h"
#include "dialog_services.h"
#include "lesson_state.h"
#include "main_window.h"
#include "panel_fixture.h"
#include "problem_box.h"
#include "startup.h"
#include "textservices.h"
#include "transcript.h"
#include "ui_resources.h"
#include "welcome.h"

namespace {

using namespace panel_fixture;

TEST(ComputeScreenScale, ScalesWindowsAndFontByScreenSizeAndResolution) {
  struct Case {
    const char* name;
    int width, height, dpi;
    float xScale, yScale, overallScale;
    int largeScreen;
    int largeFonts;
    int fontHeight;
  };
  const Case cases[] = {
      {"base screen", 640, 480, 96, 1.0f, 1.0f, 1.0f, 0, 0, 15},
      {"800 x 600", 800, 600, 96, 1.25f, 1.25f, 1.25f, 0, 0, 15},
      {"exactly the largest design is not large", 1024, 768, 96, 1.6f, 1.6f, 1.6f, 0, 0, 16},
      {"beyond the largest design is capped", 1280, 1024, 96, 1.6f, 1.6f, 1.6f, 1, 0, 16},
      {"wide screen takes the larger scale", 1024, 600, 96, 1.6f, 1.25f, 1.6f, 0, 0, 16},
      {"120 dpi base screen", 640, 480, 120, 1.0f, 1.0f, 1.0f, 0, 1, 14},
      {"120 dpi 800 x 600", 800, 600, 120, 1.25f, 1.25f, 1.25f, 0, 1, 21},
      {"120 dpi 1024 x 768", 1024, 768, 120, 1.6f, 1.6f, 1.6f, 0, 1, 21},
      {"144 dpi keeps the face's height", 1024, 768, 144, 1.6f, 1.6f, 1.6f, 0, 0, 0},
      {"unknown scale keeps the face's height", 720, 480, 96, 1.125f, 1.0f, 1.125f, 0, 0, 0},
      {"unknown scale at 120 dpi keeps small pictures", 720, 480, 120, 1.125f, 1.0f, 1.125f, 0, 0,
       0},
      {"no resolution reported", 640, 480, 0, 1.0f, 1.0f, 1.0f, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenScale scale = ComputeScreenScale(c.width, c.height, c.dpi);
    EXPECT_EQ(scale.xScale, c.xScale);
    EXPECT_EQ(scale.yScale, c.yScale);
    EXPECT_EQ(scale.overallScale, c.overallScale);
    EXPECT_EQ(scale.largeScreen, c.largeScreen);
    EXPECT_EQ(scale.largeFonts, c.largeFonts);
    EXPECT_EQ(LessonFontHeight(scale.fontScale), c.fontHeight);
  }
}

TEST(ComputeMainGeometry, CentresTheScaledWindowAndItsProblemBox) {
  struct Case {
    const char* name;
    int width, height;
    PixelRect main;
    PixelRect box;
  };
  const Case cases[] = {
      {"base screen", 640, 480, {0, 0, 640, 480}, {16, 10, 608, 168}},
      {"800 x 600", 800, 600, {0, 0, 800, 600}, {20, 10, 760, 210}},
      {"1024 x 768", 1024, 768, {0, 0, 1024, 768}, {26, 10, 972, 268}},
      {"large screen: the largest design in the middle",
       1280,
       1024,
       {128, 128, 1024, 768},
       {26, 10, 972, 268}},
      {"wide screen", 1024, 600, {0, 0, 1024, 600}, {26, 10, 972, 210}},
      {"unknown scale", 720, 480, {0, 0, 720, 480}, {18, 10, 684, 168}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenScale scale = ComputeScreenScale(c.width, c.height, 96);
    PixelRect main = ComputeMainGeometry(scale, c.width, c.height);
    EXPECT_EQ(main.left, c.main.left);
    EXPECT_EQ(main.top, c.main.top);
    EXPECT_EQ(main.width, c.main.width);
    EXPECT_EQ(main.height, c.main.height);
    PixelRect box = ComputeProblemBoxGeometry(main.width, main.height);
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.width, c.box.width);
    EXPECT_EQ(box.height, c.box.height);
  }
}

TEST(IsMenuMnemonic, LetsThroughOnlyBlankAndTheMenuBarMnemonics) {
  const std::string through = " cChHoOpPqQ";
  for (unsigned c = 0; c < 256; ++c) {
    SCOPED_TRACE(c);
    bool expected = c != 0 && through.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(IsMenuMnemonic(c), expected);
  }
  EXPECT_FALSE(IsMenuMnemonic(0x100 + 'P'));  // not a character byte at all
}

TEST(FormatVersionText, WritesTwoDecimalsWithAPoint) {
  struct Case {
    double version;
    const char* expected;
  };
  const Case cases[] = {
      {3.14159, "Version 3.14"},
      {12.346, "Version 12.35"},
      {1.999, "Version 2.00"},
      {-1.5, "Version -1.50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::array<char, kTextBufferSize> text{};
    FormatVersionText(text, c.version);
    EXPECT_EQ(TextIn(text), c.expected);
  }
}

// ---- On the window system ---------------------------------------------------------------------

// The world outside as each test sets it up, and what the lesson did to it.
struct TestWorld {
  ScreenMetrics screen{1024, 768, 96};
  std::vector<int> startResults;  // what successive program starts return; 33 when used up
  std::vector<std::string> started;
  int measuredHeight = -1;       // the font height character widths were last asked for
  bool backgroundShown = false;  // the large screen's black window was on screen
  Colour scrollBarWhileRunning{};
  // Called when the lesson waits for input; nothing delivered ends the loop that waits.
  void (*onIdle)() = nullptr;
};
TestWorld world;

constexpr int kLessonFaceWidth = 10;
constexpr int kSystemFaceWidth = 5;

void TestCharWidths(std::string_view face, int height, CharWidths& widths) {
  widths.fill(face == "custom" ? kLessonFaceWidth : kSystemFaceWidth);
  world.measuredHeight = height;
}
ScreenMetrics TestScreen() {
  return world.screen;
}
bool TestLibraryPresent(std::string_view) {
  return true;
}
bool TestPicture(std::string_view, std::string_view, int& width, int& height) {
  width = height = 100;
  return true;
}
int TestStartProgram(std::string_view path) {
  world.started.emplace_back(path);
  std::size_t index = world.started.size() - 1;
  return index < world.startResults.size() ? world.startResults[index] : 33;
}
void TestWindowChanged(Window window) {
  NoteShownWindow(window);
  WindowView view{};
  if (ViewWindow(window, view) && view.visible && view.className == "BkWnd") {
    world.backgroundShown = true;
  }
}
void TestWaitForInput() {
  world.scrollBarWhileRunning = GetScrollBarColour();
  if (world.onIdle) world.onIdle();
}

void AnswerBox(int button) {
  Window box = TopModal();
  if (box != kNoWindow) ClickButton(DialogItem(box, button));
}

class ShellWindows : public testing::Test {
 protected:
  void SetUp() override {
    world = TestWorld{};
    Backend backend{};
    backend.screen = TestScreen;
    backend.charWidths = TestCharWidths;
    backend.fontInstalled = AnyFontInstalled;
    backend.libraryPresent = TestLibraryPresent;
    backend.pictureAvailable = TestPicture;
    backend.startProgram = TestStartProgram;
    backend.windowChanged = TestWindowChanged;
    backend.waitForInput = TestWaitForInput;
    StartWindowSystem(backend);
  }

  void TearDown() override { EndWindowSystem(); }

  // A 640 x 480 main window at 0, 0 with the lesson's menu and an empty problem box.
  void CreateMain() {
    CreateMainWindow(TsbWndProc, "TAVRIN", {0, 0, 640, 480});
    CreateProblemBox();
    problemBoxOwnProc = ReplaceWindowProc(problemBox, ProbListCmd);
  }

  static std::string MenuBar() { return DescribeMenuBar(mainWindow); }
};

const std::string kReadyMenu =
    "menu: Practice | Certification | Options: Calculator, Print Certificate, Certification "
    "Series | Help | Quit";
const std::string kProblemMenu =
    "menu: Practice (grey) | Certification (grey) | Options: Calculator, Print Certificate, "
    "Certification Series | Help | Quit (grey)";

bool SameColour(Colour a, Colour b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

void SetMenuPositions(std::initializer_list<bool> enabled) {
  int position = 0;
  for (bool on : enabled) EnableMenuPosition(mainWindow, position++, on);
}

TEST_F(ShellWindows, AddWrappedTextWrapsToTheListWidthInTheGivenFont) {
  CreateMain();
  Font lesson = CreateFontFrom({"custom", 14, 0});
  using Lines = std::vector<std::string>;
  struct Case {
    const char* name;
    int listWidth;
    bool useLessonFont;  // else the list's own (system) font
    bool listFontIsLesson;
    std::string text;
    Lines expected;
  };
  // Usable width = list width - 16 (scroll bar) - 1; system characters 5 px, lesson ones 10 px.
  // Where lines break is the wrapping rule's, checked with it in the text services' test.
  const Lines fourRows = {"aaaa", "bbbb", "cccc", "dddd"};
  // clang-format off
  const Case cases[] = {
      {"scroll bar and one pixel off the width", 67, false, false, "abcdefghij",
       {"abcdefghi", "j"}},
      {"system font", 100, false, false, "aaaa bbbb cccc dddd", {"aaaa bbbb cccc", "dddd"}},
      {"given lesson font", 100, true, false, "aaaa bbbb cccc dddd", fourRows},
      {"the list's own lesson font", 100, false, true, "aaaa bbbb cccc dddd", fourRows},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Window list = CreateWindowOf("listbox", "", kStyleChild | kStyleVisible, 0, 0, c.listWidth, 100,
                                 mainWindow, 77, 0);
    SetWindowFont(list, c.listFontIsLesson ? lesson : kNoFont);
    ListAddRow(list, "kept");
    AddWrappedText(list, kListIsWindow, c.text, c.useLessonFont ? lesson : kNoFont);
    Lines expected = c.expected;
    expected.insert(expected.begin(), "kept");
    EXPECT_EQ(RowsOf(list), expected);
    // The same through the dialog's control ID.
    ListClear(list);
    AddWrappedText(mainWindow, 77, c.text, c.useLessonFont ? lesson : kNoFont);
    EXPECT_EQ(RowsOf(list), c.expected);
    DestroyWindow(list);
  }
  DeleteFont(lesson);
}

// Where PlaceDialog puts a dialog is checked with each dialog that it places, in the panel and
// dialog tests.
TEST_F(ShellWindows, ClickInTheProblemBoxSelectsAndGivesTheFocusBack) {
  CreateMain();
  Window panel = CreateModelessDialog("MINMAX", mainWindow, About, 0);
  ShowWindow(panel, kShowNormal);
  for (const char* row : {"one", "two", "three"}) ListAddRow(problemBox, row);
  struct Case {
    const char* name;
    Window active;
  };
  const Case cases[] = {{"to the active panel", panel}, {"to no window between stages", kNoWindow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetActivePanel(c.active);
    SetFocus(mainWindow);
    ListClickRow(problemBox, 1, false);
    RunMessageLoop(kNoWindow);
    EXPECT_EQ(ListSelection(problemBox), 1);
    // A dialog given the focus passes it on to one of its controls.
    Window focus = GetFocus();
    EXPECT_TRUE(focus == c.active || (c.active != kNoWindow && GetParent(focus) == c.active))
        << "focus on window " << focus;
  }
  DestroyWindow(panel);
}

// While no problem runs the session quit_cancelled shows the same.
TEST_F(ShellWindows, CancelledQuitDuringAProblemGivesBackItsMenu) {
  CreateMain();
  seriesOver = 0;
  SetMenuPositions({false, false, true, true, false});
  ASSERT_EQ(MenuBar(), kProblemMenu);
  world.onIdle = [] { AnswerBox(kIdCancel); };
  EXPECT_EQ(SendMessageTo(mainWindow, kMsgClose, 0, 0), 0);
  EXPECT_EQ(onScreen.boxes,
            std::vector<std::string>{
                "box \"Quit Module\" information OK/Cancel: You are about to quit Tavrin."});
  EXPECT_EQ(MenuBar(), kProblemMenu);
  EXPECT_EQ(showPicture, 0);
  EXPECT_TRUE(IsWindow(mainWindow));
}

TEST_F(ShellWindows, ConfirmedQuitEndsTheLessonAndClosesItsPrograms) {
  CreateMain();
  Window calculator = CreateForeignWindow("SciCalc", "Calculator");
  Window help = CreateForeignWindow("HelpViewer", "Tavrin Help");
  Window box = problemBox;
  world.onIdle = [] { AnswerBox(kIdOk); };
  EXPECT_EQ(SendMessageTo(mainWindow, kMsgClose, 0, 0), 1);
  EXPECT_FALSE(IsWindow(mainWindow));
  EXPECT_FALSE(IsWindow(box));
  EXPECT_FALSE(IsWindow(calculator));
  EXPECT_FALSE(IsWindow(help));
  world.onIdle = nullptr;
  EXPECT_EQ(RunMessageLoop(kNoWindow), 0);  // the quit message with code 0
}

TEST_F(ShellWindows, CalculatorStartsFromTheWindowsThenTheSystemDirectory) {
  CreateMain();
  const std::string fromWindows = "C:\\WINDOWS\\calc.exe";
  const std::string fromSystem = "C:\\WINDOWS\\SYSTEM\\calc.exe";
  struct Case {
    const char* name;
    std::vector<int> startResults;
    std::vector<std::string> started;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"started", {33}, {fromWindows}, {}},
      {"22 counts as started", {22}, {fromWindows}, {}},
      {"second try", {21, 40}, {fromWindows, fromSystem}, {}},
      {"both fail",
       {2, 3},
       {fromWindows, fromSystem},
       {"box \"Calculator error code:\" none OK: 3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    world.startResults = c.startResults;
    world.started.clear();
    onScreen = OnScreen{};
    world.onIdle = [] { AnswerBox(kIdOk); };
    MainWindowCommand(mainWindow, kCmdCalculator, 0);
    EXPECT_EQ(world.started, c.started);
    EXPECT_EQ(onScreen.boxes, c.boxes);
  }
  // A calculator already open is brought forward instead.
  Window calculator = CreateForeignWindow("SciCalc", "Calculator");
  world.started.clear();
  MainWindowCommand(mainWindow, kCmdCalculator, 0);
  EXPECT_TRUE(world.started.empty());
  DestroyWindow(calculator);
}

// A whole start-up on a screen larger than the largest design, with the extended certification
// setting, until the main loop waits for input.
TEST_F(ShellWindows, StartUpOnALargeScreen) {
  world.screen = {1280, 1024, 96};
  std::string error;
  ASSERT_TRUE(
      ConfigureCourseShell({"Ann", testing::TempDir() + "shell_test_data", true, 1.0}, error))
      << error;
  static int idleMoments = 0;
  static int lessonFontHeight = -1;
  world.onIdle = [] {
    // The welcome screen is the first wait; the student presses its button. Then the lesson is
    // ready, with its font made.
    if (++idleMoments == 1) {
      ClickButton(DialogItem(TopModal(), 1));
    } else {
      CharWidths widths{};
      GetCharWidths(lessonFont, widths);
      lessonFontHeight = world.measuredHeight;
    }
  };
  Colour before = GetScrollBarColour();
  EXPECT_EQ(LessonMain(), -1);  // the loop ended for want of input

  EXPECT_TRUE(world.backgroundShown);
  EXPECT_EQ(lessonFontHeight, 16);
  WindowRect main = GetWindowRect(mainWindow);
  EXPECT_EQ(main.left, 128);
  EXPECT_EQ(main.top, 128);
  EXPECT_EQ(main.width, 1024);
  EXPECT_EQ(main.height, 768);
  WindowRect box = GetClientRect(problemBox);
  EXPECT_EQ(box.width, 972);
  EXPECT_EQ(box.height, 268);
  EXPECT_FALSE(IsWindowVisible(problemBox));
  EXPECT_EQ(MenuBar(), kReadyMenu);
  EXPECT_EQ(strikesAllowed, 4);
  EXPECT_EQ(seriesLength, 3);
  EXPECT_EQ(mode, kPracticeMode);
  EXPECT_EQ(showPicture, 1);
  EXPECT_EQ(activePanel, kNoWindow);
  EXPECT_TRUE(SameColour(world.scrollBarWhileRunning, {0, 0, 255}));
  EXPECT_TRUE(SameColour(GetScrollBarColour(), before));
  CloseCourseShell();
}

}  // namespace
