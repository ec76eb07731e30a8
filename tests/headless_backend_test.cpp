// The headless back end and the play runner: the transcript written from what the window system
// shows, actions that do not fit the screen, and how a session ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "backend.h"
#include "headless_backend.h"
#include "headless_test_support.h"
#include "platform.h"
#include "play_actions.h"
#include "play_script.h"
#include "transcript.h"

namespace {

using namespace headless_test_support;

// ---- A small user interface built with the window system --------------------------------------

constexpr ControlTemplate kPanelControls[] = {
    {kNoControlId, ControlKind::kStatic, "Pick the variables:", 4, 4, 120, 8, 0},
    {kNoControlId, ControlKind::kFrame, "", 0, 0, 200, 100, 0},
    {10, ControlKind::kStatic, "x \xC0 3 \xC1 4 \x82 y \xD6\xD7\xD8\xD9", 4, 14, 120, 8, 0},
    {20, ControlKind::kEdit, "2p \xC0 5", 4, 24, 120, 12, kControlTabStop},
    {30, ControlKind::kRadioButton, " &1 - Minimize ", 4, 40, 80, 10, kControlGroup},
    {31, ControlKind::kRadioButton, "&2 - Maximize", 4, 50, 80, 10, kControlDisabled},
    {40, ControlKind::kListBox, "", 4, 60, 120, 30, kControlListNotify},
    {50, ControlKind::kStatic, "not shown", 4, 92, 80, 8, kControlHidden},
    {1, ControlKind::kDefaultButton, "&Ok", 130, 4, 40, 14, kControlTabStop},
    {1420, ControlKind::kPushButton, "&Hint && Tip", 130, 20, 40, 14, kControlDisabled},
};

constexpr ControlTemplate kModalControls[] = {
    {1, ControlKind::kDefaultButton, "&Ok", 10, 10, 40, 14, kControlTabStop},
};

constexpr ControlTemplate kTypingControls[] = {
    {20, ControlKind::kEdit, "", 4, 4, 120, 12, kControlTabStop},
    {1, ControlKind::kDefaultButton, "&Ok", 10, 20, 40, 14, kControlTabStop},
};

constexpr DialogTemplate kDialogs[] = {
    {"PANEL", "Test Panel", 0, 0, 200, 100, 0, kPanelControls},
    {"2400", "Modal", 0, 0, 100, 40, 0, kModalControls},
    {"TYPING", "Type", 0, 0, 140, 40, 0, kTypingControls},
};

constexpr MenuItemTemplate kOptionsItems[] = {
    {"&Calculator", 116},
    {nullptr, 0},
    {"&Print Certificate", 135},
};

constexpr MenuBarItemTemplate kBar[] = {
    {"&Practice", 110, {}},
    {"&Options", 0, kOptionsItems},
    {"&Quit", 140, {}},
};

constexpr MenuTemplate kMenus[] = {{"TESTMENU", kBar}};

const ResourceSet kResources{kDialogs, kMenus};

Result QuietProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  return DefaultWindowProc(window, message, wParam, lParam);
}

Result PanelProc(Window, unsigned, WParam, LParam) {
  return 0;
}

// Ends with 5 when its OK button is clicked.
Result ModalProc(Window dialog, unsigned message, WParam wParam, LParam) {
  if (message == kMsgInitDialog) return 1;
  if (message == kMsgCommand && CommandId(wParam) == kIdOk) {
    EndDialog(dialog, 5);
    return 1;
  }
  return 0;
}

WindowProc editDefaultProc = nullptr;

// Like the lesson's entry line: F2 types the lesson font's "at least" byte.
Result EntryProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgKeyDown && wParam == kKeyF2) {
    return CallWindowProc(editDefaultProc, window, kMsgChar, 0xC0, 0);
  }
  return CallWindowProc(editDefaultProc, window, message, wParam, lParam);
}

Font LessonFont() {
  FontDescription description{"custom", 16, 0};
  return CreateFontFrom(description);
}

Result TypingProc(Window dialog, unsigned message, WParam wParam, LParam) {
  if (message == kMsgInitDialog) {
    SetWindowFont(DialogItem(dialog, 20), LessonFont());
    editDefaultProc = ReplaceWindowProc(DialogItem(dialog, 20), EntryProc);
    return 1;
  }
  if (message == kMsgCommand && CommandId(wParam) == kIdOk) {
    EndDialog(dialog, kIdOk);
    return 1;
  }
  return 0;
}

class Headless : public testing::Test {
 protected:
  void SetUp() override {
    ResetWindowSystem();
    RegisterResources(kResources);
    Install("");
  }
  void TearDown() override {
    ResetWindowSystem();
    InstallBackend(Backend{});
  }

  void Install(const std::string& scriptText, const std::string& header = "") {
    PlayScript script;
    std::string error;
    ASSERT_TRUE(ParsePlayScript(header + scriptText, script, error)) << error;
    out.str("");
    InstallHeadlessBackend(script, out);
  }

  // What the next idle moment writes.
  std::string Idle() {
    out.str("");
    WriteIdleMoment();
    return out.str();
  }

  Window CreateMain() {
    EXPECT_TRUE(RegisterWindowClass({"TestMain", QuietProc, {0, 128, 128}, "TESTMENU"}));
    return CreateWindowOf("TestMain", "Tavrin", kStyleVisible | kStyleCaption, 0, 0, 640, 480,
                          kNoWindow, kNoControlId, 0);
  }

  Window CreatePanel(Window owner) {
    const Window panel = CreateModelessDialog("PANEL", owner, PanelProc, 0);
    const Window list = DialogItem(panel, 40);
    ListAddRow(list, "  x1 = pages  ");
    ListAddRow(list, "row two");
    ListSelect(list, 1);
    CheckButton(panel, 30, true);
    SetWindowFont(DialogItem(panel, 10), LessonFont());
    return panel;
  }

  std::ostringstream out;
};

constexpr const char* kPanelContents =
    "  static: Pick the variables:\n"
    "  10 static: x \u2265 3 \u2264 4 \u2260 y \u2191\u2502\u2514\u2500\n"
    "  20 edit: 2p \u00c0 5\n"
    "  30 radio: 1 - Minimize (checked)\n"
    "  31 radio: 2 - Maximize (disabled)\n"
    "  40 list:\n"
    "  |   x1 = pages\n"
    "  |>row two\n"
    "  1 button: Ok\n";

TEST_F(Headless, MainWindowTitleMenuAndStatusAreWrittenWhenTheyChange) {
  const Window mainWindow = CreateMain();
  ASSERT_NE(mainWindow, kNoWindow);
  EnableMenuPosition(mainWindow, 0, false);
  EnableMenuCommand(mainWindow, 135, false);
  EXPECT_EQ(Idle(),
            "title: Tavrin\n"
            "menu: Practice (grey) | Options: Calculator, Print Certificate (grey) | Quit\n");
  EXPECT_EQ(Idle(), "");

  SetWindowText(mainWindow, "Tavrin - Practice Mode");
  SetMenuCommandText(mainWindow, 0, "Strikes: 1 of 3");
  EXPECT_EQ(Idle(), "title: Tavrin - Practice Mode\nstatus: Strikes: 1 of 3\n");

  EnableMenuPosition(mainWindow, 1, false);
  SetMenuCommandSeparator(mainWindow, 0);
  EXPECT_EQ(Idle(),
            "menu: Practice (grey) | Options (grey): Calculator, Print Certificate (grey) | Quit\n"
            "status: separator\n");

  // Greyed and enabled again between two idle moments: nothing changed on screen.
  EnableMenuPosition(mainWindow, 2, false);
  EnableMenuPosition(mainWindow, 2, true);
  EXPECT_EQ(Idle(), "");
}

TEST_F(Headless, ProblemBoxIsWrittenWhenFilledOrHidden) {
  const Window mainWindow = CreateMain();
  Idle();
  const Window box = CreateWindowOf("listbox", "", kStyleChild | kStyleBorder | kStyleVScroll, 16,
                                    10, 608, 168, mainWindow, kNoControlId, 0);
  ASSERT_NE(box, kNoWindow);
  ListAddRow(box, "   A printing company \xC0  ");
  ListAddRow(box, "");
  ListAddRow(box, "second paragraph");
  EXPECT_EQ(Idle(), "") << "filled while hidden";

  ShowWindow(box, kShowNormal);
  EXPECT_EQ(Idle(),
            "problem box:\n"
            "  |    A printing company \u00c0\n"
            "  |\n"
            "  | second paragraph\n");
  ListSelect(box, 0);
  EXPECT_EQ(Idle(), "") << "the problem box shows no selection";

  ShowWindow(box, kHide);
  EXPECT_EQ(Idle(), "problem box hidden\n");
}

TEST_F(Headless, PanelIsShownUpdatedAndHidden) {
  const Window mainWindow = CreateMain();
  Idle();
  const Window panel = CreatePanel(mainWindow);
  EXPECT_EQ(Idle(), "") << "created hidden";

  ShowWindow(panel, kShowNormal);
  EXPECT_EQ(Idle(), std::string("show PANEL \"Test Panel\"\n") + kPanelContents +
                        "  1420 button: Hint & Tip (disabled)\n");
  EXPECT_EQ(Idle(), "");

  // An update writes the whole dialog again; here only the selection and the button changed.
  EnableWindow(DialogItem(panel, 1420), true);
  ListSelect(DialogItem(panel, 40), 0);
  const std::string update = Idle();
  EXPECT_EQ(update.rfind("update PANEL \"Test Panel\"\n  static: Pick the variables:\n", 0), 0u);
  EXPECT_NE(update.find("  40 list:\n  |>  x1 = pages\n  | row two\n  1 button: Ok\n"),
            std::string::npos)
      << update;
  EXPECT_TRUE(update.ends_with("  1 button: Ok\n  1420 button: Hint & Tip\n")) << update;

  ShowWindow(panel, kHide);
  EXPECT_EQ(Idle(), "hide PANEL\n");

  // On screen and gone again between two idle moments: the student never saw it.
  ShowWindow(panel, kShowNormal);
  ShowWindow(panel, kHide);
  EXPECT_EQ(Idle(), "");

  // Gone and back between two idle moments: it went away and came back.
  ShowWindow(panel, kShowNormal);
  Idle();
  ShowWindow(panel, kHide);
  ShowWindow(panel, kShowNormal);
  const std::string again = Idle();
  EXPECT_EQ(again.rfind("hide PANEL\nshow PANEL \"Test Panel\"\n", 0), 0u) << again;

  DestroyWindow(panel);
  EXPECT_EQ(Idle(), "hide PANEL\n");
}

TEST(TranscriptText, LessonFontBytesBecomeGlyphsAndAllElseIsLatin1) {
  struct Case {
    const char* bytes;
    bool lessonFont;
    const char* utf8;
  };
  const Case cases[] = {
      {"\xC0\xC1\x82", true, "\u2265\u2264\u2260"},
      {"\xD6\xD7\xD8\xD9", true, "\u2191\u2502\u2514\u2500"},
      {"\xC0\xC1\xD6\xE5", false, "\u00c0\u00c1\u00d6\u00e5"},
      {"\x82", false, "\u0082"},
      {"caf\xE9 \xE5", true, "caf\u00e9 \u00e5"},
      {"tab\there\nnext", false, "tab here next"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(TextToUtf8(c.bytes, c.lessonFont), c.utf8);
  }
}

TEST(TranscriptText, LabelsLoseMnemonicsAndSurroundingBlanks) {
  struct Case {
    const char* label;
    const char* text;
  };
  const Case cases[] = {
      {"&Practice", "Practice"},
      {"C&ertification Series", "Certification Series"},
      {"  &Ok  ", "Ok"},
      {"Salt && &Pepper", "Salt & Pepper"},
      {"", ""},
      {"trailing&", "trailing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(LabelText(c.label), c.text);
  }
}

// ---- The runner -------------------------------------------------------------------------------

TEST_F(Headless, ModalDialogEndsWithItsResultAndBoxesAreWrittenWithIconAndButtons) {
  struct Case {
    std::uint32_t style;
    const char* caption;
    const char* text;
    int answer;
    const char* line;
  };
  // The information and exclamation boxes, with OK and OK/Cancel, are in the session transcripts.
  const Case cases[] = {
      {kBoxYesNo | kBoxIconQuestion | kBoxSystemModal, "End Practice", "Are you sure?", kIdNo,
       "box \"End Practice\" question Yes/No: Are you sure?\n> answer No\n"},
      {kBoxOk, "", "BRISKL.DLL Not Found", kIdOk,
       "box \"\" none OK: BRISKL.DLL Not Found\n"
       "> expect \"none OK\"\n> answer OK\n"},
  };
  Install("click 1\nanswer No\nexpect \"none OK\"\nanswer OK\n");
  EXPECT_EQ(RunModalDialog("2400", kNoWindow, ModalProc, 0), 5);
  std::string expected = "show 2400 \"Modal\"\n  1 button: Ok\n> click 1\nend 2400 -> 5\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(MessageBox(kNoWindow, c.text, c.caption, c.style), c.answer);
    expected += c.line;
  }
  EXPECT_EQ(out.str(), expected);
}

TEST_F(Headless, TypingGoesKeyByKeyThroughTheFocusedControlsOwnHandling) {
  Install("type a\u2265b\nclear\ntype 3\nclick \"Ok\"\n");
  EXPECT_EQ(RunModalDialog("TYPING", kNoWindow, TypingProc, 0), kIdOk);
  EXPECT_EQ(FinishPlay(0), 0);
  EXPECT_EQ(out.str(),
            "show TYPING \"Type\"\n  20 edit:\n  1 button: Ok\n"
            "> type a\u2265b\n"
            "update TYPING \"Type\"\n  20 edit: a\u2265b\n  1 button: Ok\n"
            "> clear\n"
            "update TYPING \"Type\"\n  20 edit:\n  1 button: Ok\n"
            "> type 3\n"
            "update TYPING \"Type\"\n  20 edit: 3\n  1 button: Ok\n"
            "> click \"Ok\"\n"
            "end TYPING -> 1\n"
            "exit 0\n");
}

TEST_F(Headless, ActionsThatDoNotFitNameWhatIsOnScreen) {
  const Window mainWindow = CreateMain();
  EnableMenuPosition(mainWindow, 0, false);
  const Window panel = CreatePanel(mainWindow);
  ShowWindow(panel, kShowNormal);
  SetKeyboardDialog(panel);
  SetFocus(kNoWindow);
  struct Case {
    const char* line;
    const char* reason;
  };
  const Case cases[] = {
      {"click 1420", "button 1420 is disabled in dialog PANEL"},
      {"click 999", "no button 999 in dialog PANEL"},
      {"click \"Cancel\"", "no button \"Cancel\" in dialog PANEL"},
      {"choose 31", "radio button 31 is disabled in dialog PANEL"},
      {"choose 1", "no radio button 1 in dialog PANEL"},
      {"answer OK", "no message box is up, only dialog PANEL"},
      {"select 2", "list 40 in dialog PANEL has 2 rows"},
      {"dblclick \"row three\"", "no row \"row three\" in list 40 of dialog PANEL"},
      {"menu Practice", "menu item Practice is grey"},
      {"menu Options", "menu item Options opens a pop-up, name one of its items"},
      {"menu Help", "the main window's menu has no item \"Help\""},
      {"menu 999", "the main window's menu has no item 999"},
      {"type 3p", "nothing in dialog PANEL has the keyboard focus"},
      {"clear", "the keyboard focus is not on an edit field in dialog PANEL"},
      {"click-problem-box", "the problem box is not shown"},
      {"expect \"show PANEL\"", "\"show PANEL\" was not written since the previous action"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const PlayScript script = Parse(c.line);
    ASSERT_EQ(script.actions.size(), 1u);
    bool delivered = true;
    std::string reason;
    EXPECT_FALSE(PerformPlayAction(script.actions[0], "", delivered, reason));
    EXPECT_EQ(reason, c.reason);
  }
  std::string reason;
  bool delivered = false;
  EnableWindow(panel, false);
  EXPECT_FALSE(PerformPlayAction(Parse("click 1").actions[0], "", delivered, reason));
  EXPECT_EQ(reason, "dialog PANEL is disabled");
  ShowWindow(panel, kHide);
  EXPECT_FALSE(PerformPlayAction(Parse("click 1").actions[0], "", delivered, reason));
  EXPECT_EQ(reason, "no dialog is up, only the main window");
  EnableWindow(mainWindow, false);
  EXPECT_FALSE(PerformPlayAction(Parse("close").actions[0], "", delivered, reason));
  EXPECT_EQ(reason, "the main window is disabled");
}

TEST_F(Headless, ActionsThatFitAreDelivered) {
  const Window mainWindow = CreateMain();
  const Window panel = CreatePanel(mainWindow);
  ShowWindow(panel, kShowNormal);
  SetKeyboardDialog(panel);
  // The forms the session scripts use are delivered there.
  const char* const lines[] = {"dblclick 1", "choose \"1 - Minimize\"", "key Alt+P"};
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    bool delivered = false;
    std::string reason;
    EXPECT_TRUE(PerformPlayAction(Parse(line).actions[0], "", delivered, reason)) << reason;
    EXPECT_TRUE(delivered);
  }
  EXPECT_TRUE(IsKeyDown(kKeyAlt)) << "held until the lesson is next idle";
  EXPECT_FALSE(IsKeyDown(kKeyControl));
  ReleaseModifiers();
  EXPECT_FALSE(IsKeyDown(kKeyAlt));

  bool delivered = true;
  std::string reason;
  EXPECT_TRUE(PerformPlayAction(Parse("expect \"is on\"").actions[0], "it is on screen", delivered,
                                reason));
  EXPECT_FALSE(delivered) << "an expect gives the lesson no input";
}

TEST_F(Headless, TypingStopsWhenTheFocusLeavesTheField) {
  const Window mainWindow = CreateMain();
  const Window panel = CreatePanel(mainWindow);
  ShowWindow(panel, kShowNormal);
  SetKeyboardDialog(panel);
  SetFocus(DialogItem(panel, 20));
  bool delivered = false;
  std::string reason;
  ASSERT_TRUE(PerformPlayAction(Parse("type xyz").actions[0], "", delivered, reason)) << reason;
  EXPECT_TRUE(delivered);
  EXPECT_TRUE(HasPendingStrokes());
  EXPECT_TRUE(DeliverPendingStroke(reason));
  SetFocus(DialogItem(panel, 1));
  EXPECT_FALSE(DeliverPendingStroke(reason));
  EXPECT_EQ(reason, "stopped after 2 of 3 key strokes: the keyboard focus moved");
  EXPECT_FALSE(HasPendingStrokes());
}

void RunScriptAgainstModalBox(const char* scriptText) {
  ResetWindowSystem();
  PlayScript script;
  std::string error;
  if (!ParsePlayScript(scriptText, script, error)) std::exit(3);
  static std::ostringstream sink;
  InstallHeadlessBackend(script, sink);
  MessageBox(kNoWindow, "Correct Answer!", "Tavrin", kBoxOk | kBoxIconExclamation);
  RunMessageLoop(kNoWindow);
  std::exit(4);
}

// A script that runs out ends with status 0 in every session script; these are the stops.
TEST(HeadlessRunnerDeathTest, StopsWithStatus1WhenAnActionDoesNotFitOrAnExpectFails) {
  EXPECT_EXIT(RunScriptAgainstModalBox("# a box is up\nclick 1\n"), testing::ExitedWithCode(1),
              "script line 2: click 1: message box \"Tavrin\" \\(Correct Answer!\\) is up");
  EXPECT_EXIT(RunScriptAgainstModalBox("answer Yes\n"), testing::ExitedWithCode(1),
              "script line 1: answer Yes: message box \"Tavrin\" \\(Correct Answer!\\) has no "
              "Yes button");
  EXPECT_EXIT(RunScriptAgainstModalBox("expect \"exclamation OK\"\nexpect \"Wrong Answer\"\n"),
              testing::ExitedWithCode(1),
              "script line 2: expect \"Wrong Answer\": \"Wrong Answer\" was not written since "
              "the previous action");
}

TEST_F(Headless, FinishPlayWritesTheExitAndChecksWhatIsLeft) {
  Install("expect \"exit 3\"\n");
  EXPECT_EQ(FinishPlay(3), 0);
  EXPECT_EQ(out.str(), "exit 3\n> expect \"exit 3\"\n");

  Install("expect \"exit 0\"\nclick 1\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(FinishPlay(0), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "script line 2: click 1: the lesson has ended\n");
}

// ---- The world outside ------------------------------------------------------------------------

TEST_F(Headless, WorldOutsideIsAsTheScriptSetsItUp) {
  Install("", "screen 800 600 120\nwithout tramor32.dll\nno-lesson-font\nalready-running\n");
  const ScreenMetrics screen = GetScreenMetrics();
  EXPECT_EQ(screen.width, 800);
  EXPECT_EQ(screen.height, 600);
  EXPECT_EQ(screen.dpi, 120);
  EXPECT_NE(FindTopWindow("Tavrin", "Tavrin"), kNoWindow) << "the other copy";
  auto installed = [](const char* face) {
    return EnumerateFonts(
        face, [](const FontDescription&, LParam) { return 1; }, 0);
  };
  EXPECT_EQ(installed("custom"), 0);
  EXPECT_EQ(installed("System"), 1);
  EXPECT_NE(LoadLibraryByName("BRISKL.DLL"), 0u);
  EXPECT_EQ(LoadLibraryByName("TRAMOR32.DLL"), 0u);
  EXPECT_EQ(LoadPicture("TRAMOR32.DLL", "profmodc.bmp"), kNoPicture) << "its library is missing";
  EXPECT_EQ(LoadPicture("BRISKL.DLL", "NO_SUCH_BMP"), kNoPicture);
}

// The headless back end's character widths are what every session transcript's wrapped rows are
// measured with (entry_wrong_line, minmax_practice_wrong, entry_hints).

}  // namespace
