// The objective-sense panel built from its "MINMAX" template on the window system, with a back end
// of the test's own that holds Ctrl down on request and answers message boxes: the new question,
// picking an answer by button, command and key, scrolling the problem box, "Ok", the quit question
// of "Cancel", the focus arriving; and the explanation of a wrong answer in dialog 2000.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend.h"
#include "formulation_model.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "objective_sense_panel.h"
#include "panel_fixture.h"
#include "ui_resources.h"

namespace {

using namespace panel_fixture;

constexpr int kProblemRows = 50;

class ObjectiveSensePanel : public testing::Test {
 protected:
  void SetUp() override {
    Backend backend{};
    backend.keyDown = CtrlKeyDown;
    StartWindowSystem(backend);
    CreateMainWindow(RecordingMainProc, nullptr, {100, 50, 640, 480});
    CreateProblemBox(kProblemRows);
    mode = kPracticeMode;
    problemProgress.quitRequested = 0;
    panel = CreateModelessDialog("MINMAX", mainWindow, MinMaxCmd, 0);
    ASSERT_NE(panel, kNoWindow);
  }

  void TearDown() override { EndWindowSystem(); }

  // What the main window does at the objective-sense stage of a problem.
  void AskQuestion() {
    SendMessageTo(panel, kMsgCommand, MakeCommand(kCmdNewQuestion, 0), 0);
    SetActivePanel(panel);
    ShowWindow(panel, kShowNormal);
    SetFocus(panel);
    posted.clear();
  }

  static void Pump() { RunMessageLoop(kNoWindow); }

  void Command(int command) {
    PostMessageTo(panel, kMsgCommand, MakeCommand(command, 0), 0);
    Pump();
  }

  // A key pressed where the keyboard focus is, as the student would press it.
  static void Key(int key, bool ctrl) {
    ctrlHeld = ctrl;
    KeyPress(GetFocus(), key);
    Pump();
    ctrlHeld = false;
  }

  int Checked() const {
    bool minimize = IsButtonChecked(panel, kMinimizeButton);
    bool maximize = IsButtonChecked(panel, kMaximizeButton);
    if (minimize && maximize) return -1;
    return minimize ? kMinimizeButton : maximize ? kMaximizeButton : 0;
  }

  Window Item(int id) const { return DialogItem(panel, id); }

  Window panel = kNoWindow;
};

TEST_F(ObjectiveSensePanel, OkPostsTheCheckedButtonAndEachNewQuestionStartsAtMinimize) {
  struct Case {
    const char* name;
    void (*choose)(Window panel);
    int answer;
  };
  // In turn: each new question starts at Minimize whatever the one before was answered with.
  const Case cases[] = {
      {"Maximize clicked", [](Window p) { ClickButton(DialogItem(p, kMaximizeButton)); },
       kMaximizeButton},
      {"left at Minimize", [](Window) {}, kMinimizeButton},
      {"mnemonic 2", [](Window) { TypeChar(GetFocus(), '2'); }, kMaximizeButton},
      {"Maximize, then Minimize clicked",
       [](Window p) {
         ClickButton(DialogItem(p, kMaximizeButton));
         ClickButton(DialogItem(p, kMinimizeButton));
       },
       kMinimizeButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AskQuestion();
    c.choose(panel);
    Pump();
    EXPECT_EQ(Checked(), c.answer);
    EXPECT_EQ(GetFocus(), Item(c.answer));
    EXPECT_TRUE(posted.empty());
    KeyPress(GetFocus(), kKeyEnter);  // presses the default button, "Ok"
    Pump();
    EXPECT_EQ(posted, (std::vector<Posted>{{kCmdObjectiveSenseAnswered, c.answer}}));
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_EQ(activePanel, kNoWindow);
  }
}

TEST_F(ObjectiveSensePanel, LineRequestsWithoutCtrlPickAnAnswerAndOthersDoNothing) {
  struct Case {
    int command;
    int from;
    int answer;
  };
  const Case cases[] = {
      {kCmdBoxLineUp, kMaximizeButton, kMinimizeButton},
      {kCmdBoxLineUpLeft, kMaximizeButton, kMinimizeButton},
      {kCmdBoxLineDown, kMinimizeButton, kMaximizeButton},
      {kCmdBoxLineDownRight, kMinimizeButton, kMaximizeButton},
      {kCmdBoxLineUp, kMinimizeButton, kMinimizeButton},
      {kCmdBoxLineDown, kMaximizeButton, kMaximizeButton},
      {kCmdBoxTop, kMaximizeButton, kMaximizeButton},
      {kCmdBoxBottom, kMinimizeButton, kMinimizeButton},
      {kCmdBoxPageUp, kMaximizeButton, kMaximizeButton},
      {kCmdBoxPageDown, kMinimizeButton, kMinimizeButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "command " << c.command << " from " << c.from);
    AskQuestion();
    Command(c.from);
    ListSetTopRow(problemBox, 20);
    SetFocus(Item(kIdCancel));  // the request gives the focus back to the answer
    Command(c.command);
    EXPECT_EQ(Checked(), c.answer);
    EXPECT_EQ(GetFocus(), Item(c.answer));
    EXPECT_EQ(ListTopRow(problemBox), 20);
    ClickButton(Item(kIdOk));
    Pump();
    EXPECT_EQ(posted, (std::vector<Posted>{{kCmdObjectiveSenseAnswered, c.answer}}));
  }
}

// A top row of the problem box: offset + pages * visible rows, counted from the first row or from
// the first row of the last page.
struct TopRow {
  int offset;
  int pages = 0;
  bool fromLastPage = false;
  int Value(int visible) const {
    return (fromLastPage ? kProblemRows - visible : 0) + offset + pages * visible;
  }
};

TEST_F(ObjectiveSensePanel, CtrlWithArrowAndPagingKeysScrollsTheProblemBox) {
  const int visible = ListVisibleRows(problemBox);
  ASSERT_GE(visible, 4);
  ASSERT_LE(visible, 15);  // room for a page each way from row 20
  struct Case {
    const char* name;
    int key;
    TopRow from;
    TopRow to;
  };
  const Case cases[] = {
      {"Home to the top", kKeyHome, {20}, {0}},
      {"End to the last page", kKeyEnd, {20}, {0, 0, true}},
      {"PageUp one page", kKeyPageUp, {20}, {20, -1}},
      {"PageUp stops at the top", kKeyPageUp, {3}, {0}},
      {"PageDown one page", kKeyPageDown, {20}, {20, 1}},
      {"PageDown stops at the last page", kKeyPageDown, {-2, 0, true}, {0, 0, true}},
      {"Up one line", kKeyUp, {20}, {19}},
      {"Left one line", kKeyLeft, {20}, {19}},
      {"Up at the top", kKeyUp, {0}, {0}},
      {"Down one line", kKeyDown, {20}, {21}},
      {"Right one line", kKeyRight, {20}, {21}},
      {"Down at the last page", kKeyDown, {0, 0, true}, {0, 0, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int answer : {kMinimizeButton, kMaximizeButton}) {
      SCOPED_TRACE(answer);
      AskQuestion();
      Command(answer);
      ListSetTopRow(problemBox, c.from.Value(visible));
      Key(c.key, true);
      EXPECT_EQ(ListTopRow(problemBox), c.to.Value(visible));
      EXPECT_EQ(Checked(), answer);
      EXPECT_EQ(GetFocus(), Item(answer));
    }
  }
  EXPECT_TRUE(posted.empty());
}

TEST_F(ObjectiveSensePanel, ArrowKeysPickAnAnswerFromAnyButtonOfThePanel) {
  struct Case {
    const char* name;
    int focusedButton;
    int key;
    int answer;
  };
  const Case cases[] = {
      {"Down on Minimize", kMinimizeButton, kKeyDown, kMaximizeButton},
      {"Right on Minimize", kMinimizeButton, kKeyRight, kMaximizeButton},
      {"Up on Ok", kIdOk, kKeyUp, kMinimizeButton},
      {"Down on Cancel", kIdCancel, kKeyDown, kMaximizeButton},
      {"Home picks nothing", kIdOk, kKeyHome, kMinimizeButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AskQuestion();
    if (c.answer == kMinimizeButton) Command(kMaximizeButton);
    int before = Checked();
    SetFocus(Item(c.focusedButton));
    ListSetTopRow(problemBox, 20);
    Key(c.key, false);
    EXPECT_EQ(Checked(), c.key == kKeyHome ? before : c.answer);
    EXPECT_EQ(GetFocus(), Item(Checked()));
    EXPECT_EQ(ListTopRow(problemBox), 20);
    EXPECT_TRUE(posted.empty());
  }
}

// Yes leaves practice and certification in the sessions minmax_cancel and flow_leave_certification.
TEST_F(ObjectiveSensePanel, CancelAsksAndNoGoesOnWhereTheQuestionWas) {
  AskQuestion();
  Command(kMaximizeButton);
  Play({Click(kIdNo)});
  ClickButton(Item(kIdCancel));
  Pump();
  EXPECT_EQ(onScreen.boxes, std::vector<std::string>{
                                "box \"End Practice\" question Yes/No: Are you sure you want to "
                                "exit Practice Mode?"});
  ASSERT_EQ(onScreen.boxStyles.size(), 1u);
  EXPECT_NE(onScreen.boxStyles[0] & kBoxSystemModal, 0u);
  EXPECT_EQ(problemProgress.quitRequested, 0);
  EXPECT_TRUE(posted.empty());
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_EQ(activePanel, panel);
  EXPECT_EQ(Checked(), kMaximizeButton);
  EXPECT_EQ(GetFocus(), Item(kMaximizeButton));
}

TEST_F(ObjectiveSensePanel, FocusArrivingPlacesThePanelAndReturnsToTheAnswer) {
  struct Case {
    const char* name;
    int takesFocus;  // 0: the panel itself
  };
  const Case cases[] = {{"the panel", 0}, {"its Cancel button", kIdCancel}, {"Minimize", 2210}};
  AskQuestion();
  Command(kMaximizeButton);
  const WindowRect size = GetWindowRect(panel);
  ASSERT_EQ(size.width, 285);
  ASSERT_EQ(size.height, 136);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MoveWindow(panel, 0, 0, size.width, size.height);
    SetFocus(mainWindow);
    SetFocus(c.takesFocus == 0 ? panel : Item(c.takesFocus));
    WindowRect rect = GetWindowRect(panel);
    // Half of the room across and three quarters down, from the main window at 100, 50.
    EXPECT_EQ(rect.left, 100 + 177);
    EXPECT_EQ(rect.top, 50 + 258);
    EXPECT_EQ(GetFocus(), Item(kMaximizeButton));
  }
}

// ---- Explanation of a wrong answer ------------------------------------------------------------

const char kSmallestCost[] =
    "The problem is asking for the solution which will produce the smallest cost.  This signifies "
    "that you should minimize the objective function.";
const char kLargestRevenue[] =
    "The problem is asking for the solution which will generate the largest revenue.  This "
    "signifies that you should maximize the objective function.";
const char kLargestProfit[] =
    "The problem is asking for the solution which will generate the largest profit.  This "
    "signifies that you should maximize the objective function.";

// What the explanation dialog showed while it was up.
DialogSeen seen;
void (*endExplanation)(Window dialog) = nullptr;

void LookAtExplanation() {
  seen = LookAtTop(2010);
  endExplanation(TopModal());
}

std::string JoinedRows(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += (text.empty() ? "" : " ") + row;
  return text;
}

class SenseExplanation : public ObjectiveSensePanel {
 protected:
  Result Explain(int problemCode) {
    problemOrder = {7, 6, 5, 4, 3};
    problemNumber = 2;
    problemOrder[2] = problemCode;
    MoveWindow(mainWindow, 100, 50, 800, 600);
    Play({LookAtExplanation});
    return RunModalDialog("2000", mainWindow, MinMaxErrorCmd, 0);
  }
};

TEST_F(SenseExplanation, ShowsTheProblemsReasonWrappedUnderItsTitle) {
  struct Case {
    int problemCode;
    const char* text;
  };
  const Case cases[] = {
      {3, kSmallestCost}, {4, kLargestRevenue}, {5, kLargestRevenue},
      {6, kSmallestCost}, {7, kLargestProfit},
  };
  endExplanation = [](Window dialog) { ClickButton(DialogItem(dialog, kIdOk)); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problemCode);
    EXPECT_EQ(Explain(c.problemCode), 1);
    EXPECT_EQ(seen.title, "Your answer is incorrect.");
    EXPECT_GT(seen.rows.size(), 1u);
    // Each wrap point takes one blank: joined again with one, the rows give the text back.
    EXPECT_EQ(JoinedRows(seen.rows), c.text);
    EXPECT_EQ(seen.topRow, 0);
    EXPECT_TRUE(seen.listHasFocus);
    // Centred over the 800 x 600 main window at 100, 50; the dialog is 390 x 175.
    EXPECT_EQ(seen.rect.left, 100 + 205);
    EXPECT_EQ(seen.rect.top, 50 + 212);
  }
}

TEST_F(SenseExplanation, OkEndsWithOneAndCancelWithZero) {
  struct Case {
    const char* name;
    void (*end)(Window dialog);
    Result result;
  };
  const Case cases[] = {
      {"Ok", [](Window d) { ClickButton(DialogItem(d, kIdOk)); }, 1},
      {"Cancel", [](Window d) { ClickButton(DialogItem(d, kIdCancel)); }, 0},
      {"Enter", [](Window) { KeyPress(GetFocus(), kKeyEnter); }, 1},
      {"Escape", [](Window) { KeyPress(GetFocus(), kKeyEscape); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    endExplanation = c.end;
    EXPECT_EQ(Explain(3), c.result);
  }
}

}  // namespace
