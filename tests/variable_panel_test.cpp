// The decision-variable selection: the candidate rows of each of the five problems and their
// shuffle, the problem box's scroll arithmetic, and panel 2601 built from its template on the
// window system with a back end of the test's own that holds Ctrl down on request and answers
// message boxes and dialogs: the start, "Finished" with every variable picked, leaving
// certification, the arrow keys and the focus. The picks themselves, the strikes, the variables
// not picked, the empty list, practice's quit question and dialog 1800 are worked in the session
// scripts varsel_*, flow_certification_strikes, entry_lists and entry_practice_printing.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "backend.h"
#include "courselib.h"
#include "formulation_model.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "panel_fixture.h"
#include "parameter_table.h"
#include "problem_statement.h"
#include "row_format.h"
#include "textservices.h"
#include "ui_resources.h"
#include "variable_panel.h"

namespace {

using namespace panel_fixture;

constexpr int kProblemCodes[] = {kProblemPrinting, kProblemFurniture, kProblemPorcelain,
                                 kProblemFeedMix, kProblemFarm};

std::string WithArticle(std::string_view phrase) {
  return phrase.starts_with("the ") ? std::string(phrase) : "the " + std::string(phrase);
}

// What each code of the current problem must show, built from the formulation directly.
std::map<int, std::string> ExpectedPhrases() {
  std::map<int, std::string> phrases;
  for (int j = 0; j < formulation.constraintCount; ++j) {
    phrases[-(j + 1)] = WithArticle(DescribeValue(parameterTable, formulation.constraints[j].rhs));
  }
  for (int k = 0; k < formulation.variableCount; ++k) {
    phrases[k + 1] = WithArticle(TextIn(formulation.variableDescriptions[k]));
    phrases[-(k + 2000)] =
        WithArticle(DescribeValue(parameterTable, formulation.objective.coef[k]));
  }
  return phrases;
}

// The codes in the order the rows are built, before any shuffle.
std::vector<int> UnshuffledCodes() {
  std::vector<int> codes;
  for (int j = 0; j < formulation.constraintCount; ++j) codes.push_back(-(j + 1));
  for (int k = 0; k < formulation.variableCount; ++k) codes.push_back(k + 1);
  for (int k = 0; k < formulation.variableCount; ++k) codes.push_back(-(k + 2000));
  return codes;
}

struct Draw {
  int high, low, result;
};
std::vector<Draw> draws;

int RecordedRandomInRange(int high, int low) {
  int result = RandomInRange(high, low);
  draws.push_back({high, low, result});
  return result;
}

TEST(BuildVariableCandidates, ListsEveryPhraseOfEachProblemOnceWithItsCode) {
  int largest = 0;
  for (int problem : kProblemCodes) {
    SCOPED_TRACE(problem);
    SeedRandom(20240 + problem);
    ASSERT_TRUE(BuildStatement(problem));
    CandidateTable table{};
    int count = BuildVariableCandidates(formulation, parameterTable, table, RandomInRange);
    EXPECT_EQ(count, formulation.constraintCount + 2 * formulation.variableCount);
    EXPECT_EQ(table.count, count);
    EXPECT_LE(count, kLargestProblemCandidates);
    largest = std::max(largest, count);

    std::map<int, std::string> expected = ExpectedPhrases();
    // Every right-hand side and objective coefficient is a parameter the problem describes.
    const std::string noParameter = WithArticle(DescribeValue(parameterTable, -123456.789));
    std::map<int, std::string> shown;
    for (int i = 0; i < count; ++i) {
      std::string text(TextIn(table.rows[i].text));
      EXPECT_TRUE(text.starts_with("the ")) << text;
      EXPECT_NE(text, noParameter);
      EXPECT_LT(text.size(), static_cast<std::size_t>(kCandidateTextSize - 1)) << "cut: " << text;
      EXPECT_TRUE(shown.emplace(table.rows[i].code, text).second)
          << "code twice: " << table.rows[i].code;
    }
    EXPECT_EQ(shown, expected);
  }
  EXPECT_EQ(largest, kLargestProblemCandidates) << "the farm problem is the largest";
}

TEST(BuildVariableCandidates, ShufflesInThreePassesSwappingEachRowWithALaterOne) {
  for (int problem : kProblemCodes) {
    SCOPED_TRACE(problem);
    SeedRandom(77 + problem);
    ASSERT_TRUE(BuildStatement(problem));
    draws.clear();
    CandidateTable table{};
    int count = BuildVariableCandidates(formulation, parameterTable, table, RecordedRandomInRange);
    int last = count - 1;
    ASSERT_EQ(draws.size(), static_cast<std::size_t>(3 * last));
    // Replaying the recorded draws as swaps on the rows in build order gives the table.
    std::vector<int> codes = UnshuffledCodes();
    for (int pass = 0; pass < 3; ++pass) {
      for (int i = 0; i < last; ++i) {
        const Draw& d = draws[static_cast<std::size_t>(pass * last + i)];
        EXPECT_EQ(d.high, last);
        EXPECT_EQ(d.low, i + 1);
        std::swap(codes[static_cast<std::size_t>(i)], codes[static_cast<std::size_t>(d.result)]);
      }
    }
    for (int i = 0; i < count; ++i) EXPECT_EQ(table.rows[i].code, codes[i]) << "row " << i;
  }
}

// A draw that always takes the lowest row allowed: every pass then rotates the rows by one, so
// three passes over three rows give them back in build order.
int LowestDraw(int /*high*/, int low) {
  return low;
}

TEST(BuildVariableCandidates, PrefixesTheArticleOnlyWhereItIsMissing) {
  static const char* const kDescriptions[] = {"number of hours available", "the profit per unit"};
  ClearFormulation(formulation);
  formulation.constraintCount = 1;
  formulation.constraints[0].rhs = 5;
  formulation.variableCount = 1;
  SetText(formulation.variableDescriptions[0], "the number of widgets made");
  formulation.objective.coef[0] = 7;
  ParameterTable parameters{2, {5, 7}, kDescriptions};
  CandidateTable table{};
  ASSERT_EQ(BuildVariableCandidates(formulation, parameters, table, LowestDraw), 3);
  struct Row {
    const char* text;
    int code;
  };
  const Row expected[] = {
      {"the number of hours available", -1},
      {"the number of widgets made", 1},
      {"the profit per unit", -2000},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(TextIn(table.rows[i].text), expected[i].text);
    EXPECT_EQ(table.rows[i].code, expected[i].code);
  }
}

TEST(ScrolledTopRow, KeepsTheFirstRowFirstAndTheLastPageFull) {
  struct Case {
    const char* name;
    int command, top, rows, visible, expected;
  };
  const Case cases[] = {
      {"top", kCmdScrollTop, 12, 40, 10, 0},
      {"bottom shows a full last page", kCmdScrollBottom, 0, 40, 10, 30},
      {"page up", kCmdScrollPageUp, 25, 40, 10, 15},
      {"page up stops at the first row", kCmdScrollPageUp, 4, 40, 10, 0},
      {"page down", kCmdScrollPageDown, 5, 40, 10, 15},
      {"page down stops at the last page", kCmdScrollPageDown, 25, 40, 10, 30},
      {"line up", kCmdScrollLineUp, 7, 40, 10, 6},
      {"line up on the first row", kCmdScrollLineUp, 0, 40, 10, 0},
      {"line down", kCmdScrollLineDown, 7, 40, 10, 8},
      {"line down on the last page", kCmdScrollLineDown, 30, 40, 10, 30},
      {"a text shorter than the box does not move", kCmdScrollLineDown, 0, 6, 10, 0},
      {"another command keeps the top", kCmdStartVariableSelection, 7, 40, 10, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ScrolledTopRow(c.command, c.top, c.rows, c.visible), c.expected);
  }
}

// ---- The panel on the window system ----------------------------------------------------------

// Closes the modal window on top: a box with Yes or OK, a dialog with "&Ok". Nothing on top
// delivers nothing, which ends the loop that waits.
void AnswerWhatIsOnTop() {
  Window top = TopModal();
  WindowView view{};
  if (top == kNoWindow || !ViewWindow(top, view)) return;
  bool question =
      view.kind == WindowKind::kMessageBox && (view.boxStyle & kBoxButtonsMask) == kBoxYesNo;
  ClickButton(DialogItem(top, question ? kIdYes : kIdOk));
}

constexpr int kProblemBoxRows = 40;

class VariablePanel : public testing::Test {
 protected:
  void SetUp() override {
    Backend backend{};
    backend.keyDown = CtrlKeyDown;
    backend.waitForInput = AnswerWhatIsOnTop;
    StartWindowSystem(backend);
    CreateMainWindow(RecordingMainProc, "TAVRIN", {0, 0, 640, 480});
    CreateProblemBox(kProblemBoxRows);
    variablePanel = CreateModelessDialog("2601", mainWindow, VarSelectCmd, 0);
    list = DialogItem(variablePanel, 2010);
    mode = kPracticeMode;
    problemNumber = 0;
    strikes = 0;
    strikesAllowed = 3;
    problemProgress = ProblemProgress{};
    variableSelection = VariableSelection{};
    SeedRandom(4242);
    BuildStatement(kProblemPrinting);
  }

  void TearDown() override {
    EndWindowSystem();
    variablePanel = kNoWindow;
  }

  // As the lesson flow starts the stage: command 2650, then the panel shown with the focus.
  void StartSelection() {
    SendMessageTo(variablePanel, kMsgCommand, MakeCommand(kCmdStartVariableSelection, 0), 0);
    SetActivePanel(variablePanel);
    ShowWindow(variablePanel, kShowNormal);
    SetFocus(variablePanel);
    RunMessageLoop(kNoWindow);
    phrases = ExpectedPhrases();
  }

  static void Run() { RunMessageLoop(kNoWindow); }

  static std::vector<int> Codes() {
    const VariableSelection& s = variableSelection;
    return {s.candidateCodes.begin(), s.candidateCodes.begin() + s.candidateCount};
  }

  // The row holding the code; -1 when it is gone.
  static int RowOf(int code) {
    std::vector<int> codes = Codes();
    auto at = std::find(codes.begin(), codes.end(), code);
    return at == codes.end() ? -1 : static_cast<int>(at - codes.begin());
  }

  void Pick(int row, bool doubleClick = false) {
    ListClickRow(list, row, doubleClick);
    if (!doubleClick) ClickButton(DialogItem(variablePanel, kIdOk));
    Run();
  }

  void Press(int id) {
    ClickButton(DialogItem(variablePanel, id));
    Run();
  }

  // The list's rows and the codes are in step: each row shows its own code's phrase.
  void ExpectRowsMatchCodes() {
    std::vector<std::string> rows = RowsOf(list);
    std::vector<int> codes = Codes();
    ASSERT_EQ(rows.size(), codes.size());
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], phrases[codes[i]]) << i;
  }

  Window list = kNoWindow;
  std::map<int, std::string> phrases;
};

TEST_F(VariablePanel, StartFillsTheShuffledListAndFocusesItsFirstRow) {
  // A finished selection before: the new one enables "Finished" again.
  StartSelection();
  Press(1660);
  ASSERT_FALSE(IsWindowEnabled(DialogItem(variablePanel, 1660)));
  onScreen = OnScreen{};
  StartSelection();
  EXPECT_EQ(ItemText(variablePanel, 1650), "Select a variable from the following list:");
  EXPECT_TRUE(IsWindowEnabled(DialogItem(variablePanel, 1660)));
  EXPECT_EQ(variableSelection.variableSelectionDone, 0);
  EXPECT_EQ(variableSelection.candidateCount,
            formulation.constraintCount + 2 * formulation.variableCount);
  ExpectRowsMatchCodes();
  EXPECT_EQ(ListSelection(list), 0);
  EXPECT_EQ(ListTopRow(list), 0);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_TRUE(onScreen.modals.empty());
}

TEST_F(VariablePanel, GainingTheFocusPlacesThePanelAndFocusesTheList) {
  StartSelection();
  MoveWindow(variablePanel, 3, 4, GetWindowRect(variablePanel).width,
             GetWindowRect(variablePanel).height);
  SetFocus(mainWindow);
  SetFocus(variablePanel);
  WindowRect main = GetWindowRect(mainWindow);
  WindowRect panel = GetWindowRect(variablePanel);
  EXPECT_EQ(panel.left, main.left + static_cast<int>((main.width - panel.width) * 0.5));
  EXPECT_EQ(panel.top, main.top + static_cast<int>((main.height - panel.height) * 0.75));
  EXPECT_EQ(GetFocus(), list);
  // The panel's own message moves the focus back to the list from its buttons.
  SetFocus(DialogItem(variablePanel, 2));
  PostMessageTo(variablePanel, kMsgFocusVariableList, 0, 0);
  Run();
  EXPECT_EQ(GetFocus(), list);
}

// The variables not picked, and the empty list's notice, are worked in the session scripts
// varsel_practice_picks, varsel_certification_finished and varsel_empty_list.
TEST_F(VariablePanel, FinishedWithEveryVariablePickedDropsTheRestAndIsRight) {
  StartSelection();
  for (int k = 0; k < formulation.variableCount; ++k) Pick(RowOf(k + 1));
  onScreen = OnScreen{};
  Press(1660);
  EXPECT_EQ(onScreen.modals, std::vector<std::string>{kCorrectBox});
  EXPECT_EQ(variableSelection.candidateCount, 0);
  EXPECT_EQ(posted, (std::vector<Posted>{{kCmdVariablesSelected, 1}}));
  EXPECT_FALSE(IsWindowVisible(variablePanel));
  EXPECT_EQ(activePanel, kNoWindow);
  EXPECT_EQ(strikes, 0);
}

// Practice's quit question, answered both ways: the session varsel_cancel.
TEST_F(VariablePanel, CancelYesLeavesCertification) {
  mode = kCertificationMode;
  StartSelection();
  int before = variableSelection.candidateCount;
  Press(kIdCancel);
  EXPECT_EQ(onScreen.modals, std::vector<std::string>{kEndCertificationBox});
  EXPECT_EQ(onScreen.boxStyles,
            std::vector<std::uint32_t>{kBoxYesNo | kBoxIconQuestion | kBoxSystemModal});
  EXPECT_EQ(problemProgress.quitRequested, 1);
  EXPECT_FALSE(IsWindowVisible(variablePanel));
  EXPECT_EQ(activePanel, kNoWindow);
  EXPECT_EQ(posted, (std::vector<Posted>{{kCmdProblemOver, -1}}));
  EXPECT_EQ(variableSelection.candidateCount, before);
}

TEST_F(VariablePanel, ArrowKeysMoveTheSelectionAndWithCtrlScrollTheProblemBox) {
  constexpr int kLast = -1;  // the list's last row
  struct Case {
    const char* name;
    int fromRow;
    int key;
    bool ctrl;
    int row;  // selection after the key
    int problemTop;
  };
  const int visible = ListVisibleRows(problemBox);
  const int boxBottom = kProblemBoxRows - visible;
  const Case cases[] = {
      {"down on the last row keeps it", kLast, kKeyDown, false, kLast, 5},
      {"down moves one row", 2, kKeyDown, false, 3, 5},
      {"up moves one row", 2, kKeyUp, false, 1, 5},
      {"up on the first row keeps it", 0, kKeyUp, false, 0, 5},
      {"end is the list's own", 2, kKeyEnd, false, kLast, 5},
      {"ctrl+down scrolls one line", 2, kKeyDown, true, 2, 6},
      {"ctrl+up scrolls one line", 2, kKeyUp, true, 2, 4},
      {"ctrl+page down scrolls a page", 2, kKeyPageDown, true, 2, 5 + visible},
      {"ctrl+page up stops at the top", 2, kKeyPageUp, true, 2, 0},
      {"ctrl+home scrolls to the top", 2, kKeyHome, true, 2, 0},
      {"ctrl+end scrolls to the bottom", 2, kKeyEnd, true, 2, boxBottom},
  };
  StartSelection();
  const int last = variableSelection.candidateCount - 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListSetTopRow(problemBox, 5);
    ListSelect(list, c.fromRow == kLast ? last : c.fromRow);
    ctrlHeld = c.ctrl;
    KeyPress(list, c.key);
    Run();
    EXPECT_EQ(ListSelection(list), c.row == kLast ? last : c.row);
    EXPECT_EQ(ListTopRow(problemBox), c.problemTop);
    EXPECT_EQ(GetFocus(), list);
  }
  EXPECT_TRUE(onScreen.modals.empty());
  EXPECT_TRUE(posted.empty());
}

}  // namespace
