// The list dialogs (the constraint choice 2500, "Problem Not Finished" 1900, the formulation list
// 8700, the repeat notice 1495) and the hint dialogs (the topic choice 2000, the hint and solution
// lists 7700 and 9700), run as real modal dialogs on the window system with a back end of the
// test's own that answers them the way a student would, on a generated printing problem.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "backend.h"
#include "formulation_model.h"
#include "hint_dialogs.h"
#include "hint_text.h"
#include "lesson_state.h"
#include "list_dialogs.h"
#include "panel_fixture.h"
#include "parameter_table.h"
#include "row_format.h"
#include "textservices.h"
#include "ui_resources.h"

namespace {

using namespace panel_fixture;

constexpr int kLessonCharWidth = 10;
constexpr int kSystemCharWidth = 5;

// The printing problem's constraints: six page minimums and maximums, then the working hours.
constexpr int kPrintingConstraints = 7;
constexpr int kWorkingHours = 6;

using Rows = std::vector<std::string>;

std::string Name(int constraint) {
  return std::string(TextIn(formulation.constraintNames[constraint]));
}
std::string Label(int constraint) {
  return Name(constraint) +
         std::string(ConstraintKindWord(formulation.constraintKinds[constraint]));
}
std::string Row(int index, bool objective) {
  std::array<char, kRowTextSize> row{};
  FormatFormulationRow(formulation, index, row, objective);
  return std::string(TextIn(row));
}

bool Contains(const Rows& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

class ListHintDialogs : public testing::Test {
 protected:
  void SetUp() override {
    Backend backend{};
    backend.charWidths = FixedCharWidths<kLessonCharWidth, kSystemCharWidth>;
    backend.fontInstalled = AnyFontInstalled;
    StartWindowSystem(backend);
    CreateMainWindow(DefaultWindowProc, nullptr, {0, 0, 640, 480});
    panel = CreateModelessDialog("1603", mainWindow, RecordingPanelProc, 0);
    lessonFont = CreateFontFrom({"custom", 14, 0});

    StartPrintingProblem();
    problemProgress.entryStep = 1;
  }

  void TearDown() override { EndWindowSystem(); }

  // Runs the dialog with the student's steps; the owner is the entry panel.
  Result Run(const char* name, WindowProc procedure, std::vector<Step> steps) {
    Play(std::move(steps));
    onScreen = OnScreen{};
    return RunModalDialog(name, panel, procedure, 0);
  }

  static void EnterAllBut(const std::vector<int>& open) {
    problemProgress.entryStep = 2;
    for (int i = 0; i < kPrintingConstraints; ++i) {
      problemProgress.constraintEntered[i] =
          std::find(open.begin(), open.end(), i) == open.end() ? 1 : 0;
    }
  }

  Window panel = kNoWindow;
};

// ---- 2500: the constraint choice --------------------------------------------------------------

TEST_F(ListHintDialogs, ConstraintChoiceOffersTheObjectiveFirstAndYieldsMinusOneForIt) {
  ASSERT_EQ(formulation.constraintCount, kPrintingConstraints);
  DialogSeen seen;
  Result result = Run("2500", WhichConstCmd, {LookThen(seen, 2010, PickRow(2010, 0, true))});
  EXPECT_EQ(result, kObjectiveTopic);
  EXPECT_EQ(onScreen.dialogs, std::vector<std::string>{"2500"});
  Rows expected = {"Objective Function"};
  for (int i = 0; i < kPrintingConstraints; ++i) expected.push_back(Label(i) + " constraint");
  EXPECT_EQ(seen.rows, expected);
  EXPECT_EQ(seen.selection, 0);
  EXPECT_TRUE(seen.listHasFocus);
  // Half-way across and three quarters down the room the main window leaves.
  EXPECT_EQ(seen.rect.left, static_cast<int>((640 - seen.rect.width) * 0.5));
  EXPECT_EQ(seen.rect.top, static_cast<int>((480 - seen.rect.height) * 0.75));
}

TEST_F(ListHintDialogs, ConstraintChoiceEndsWithThePartOfTheRowChosen) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    Result expected;
  };
  // Open: constraints 1, 3 and 6, so rows 0, 1, 2 stand for them.
  const Case cases[] = {
      {"Ok on the first row", {Click(kIdOk)}, 1},
      {"Ok after selecting a row", {PickRow(2010, 2, false), Click(kIdOk)}, kWorkingHours},
      {"double click", {PickRow(2010, 1, true)}, 3},
      {"Escape does not close it", {PressKey(kKeyEscape), PickRow(2010, 1, true)}, 3},
      {"nor does the close box", {[] { CloseRequest(TopModal()); }, Click(kIdOk)}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnterAllBut({1, 3, kWorkingHours});
    EXPECT_EQ(Run("2500", WhichConstCmd, c.steps), c.expected);
    EXPECT_EQ(StepsLeft(), 0u);
  }
}

TEST_F(ListHintDialogs, ConstraintChoiceWithOnePartOrNoneLeftNeverShows) {
  struct Case {
    const char* name;
    std::vector<int> open;
    int entryStep;
    Result expected;
    int problemFinished;
  };
  const Case cases[] = {
      {"one constraint left", {4}, 2, 4, 0},
      {"only the objective left", {}, 1, kObjectiveTopic, 0},
      {"nothing left", {}, 2, kNothingToChoose, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnterAllBut(c.open);
    problemProgress.entryStep = c.entryStep;
    problemProgress.problemFinished = 0;
    EXPECT_EQ(Run("2500", WhichConstCmd, {}), c.expected);
    EXPECT_TRUE(onScreen.dialogs.empty());
    EXPECT_EQ(problemProgress.problemFinished, c.problemFinished);
  }
}

TEST_F(ListHintDialogs, ConstraintChoiceAfterAQuitRequestPostsQuitToThePanel) {
  problemProgress.quitRequested = 1;
  EXPECT_EQ(Run("2500", WhichConstCmd, {}), kNothingToChoose);
  EXPECT_TRUE(onScreen.dialogs.empty());
  EXPECT_TRUE(panelCommands.empty()) << "posted, not sent";
  RunMessageLoop(kNoWindow);
  EXPECT_EQ(panelCommands, std::vector<int>{kIdCancel});
}

// ---- 1900: "Problem Not Finished" -------------------------------------------------------------

// "Quit Problem" and "Cancel" clicked are the session entry_finished.
TEST_F(ListHintDialogs, NotFinishedListsTheMissingPartsAndSetsProblemFinished) {
  struct Case {
    const char* name;
    Step step;
    int problemFinished;
  };
  const Case cases[] = {
      {"Enter presses Cancel, the default", PressKey(kKeyEnter), 0},
      {"Escape cancels", PressKey(kKeyEscape), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    problemProgress.entryStep = 1;
    problemProgress.constraintEntered = {};
    problemProgress.constraintEntered[kWorkingHours] = 1;
    problemProgress.problemFinished = 1 - c.problemFinished;
    DialogSeen seen;
    EXPECT_EQ(Run("1900", FinishedCmd, {LookThen(seen, 1910, c.step)}), 1);
    EXPECT_EQ(problemProgress.problemFinished, c.problemFinished);
    ASSERT_EQ(seen.rows.size(), 7u);
    EXPECT_EQ(seen.rows.front(), "Objective Function");
    EXPECT_EQ(seen.rows.back(), Label(5) + " constraint");
    EXPECT_TRUE(seen.listHasFocus);
  }
}

// ---- 8700: the formulation so far -------------------------------------------------------------

// The heading at the problem's end: the sessions entry_practice_printing and entry_hints_give_away.
TEST_F(ListHintDialogs, FormulationListShowsHeadingObjectiveAndEnteredConstraints) {
  problemProgress.entryStep = 3;
  problemProgress.constraintEntered[2] = 1;
  problemProgress.constraintEntered[kWorkingHours] = 1;
  DialogSeen seen;
  EXPECT_EQ(Run("8700", ConstListCmd, {LookThen(seen, 1710, Click(kIdOk))}), kIdOk);
  EXPECT_EQ(onScreen.dialogs, std::vector<std::string>{"8700"});
  const Rows expected = {
      "This is your formulation of the problem so far:",
      " ",
      "Objective function:",
      Row(0, true).substr(3),
      " ",
      Label(2) + " constraint:",
      Row(2, false),
      " ",
      Label(kWorkingHours) + " constraint:",
      Row(kWorkingHours, false),
  };
  EXPECT_EQ(seen.rows, expected);
  EXPECT_TRUE(seen.rows[3].starts_with("  Minimize: ")) << seen.rows[3];
  EXPECT_EQ(seen.listFont, lessonFont);
  EXPECT_TRUE(seen.listHasFocus);
  EXPECT_EQ(seen.rect.left, (640 - seen.rect.width) / 2);
  EXPECT_EQ(seen.rect.top, (480 - seen.rect.height) / 2);
}

TEST_F(ListHintDialogs, FormulationListWithNothingEnteredShowsOnlyTheNotice) {
  DialogSeen notice;
  Window owner = kNoWindow;
  auto escape = [&owner] {
    owner = GetOwner(TopModal());
    KeyPress(GetFocus(), kKeyEscape);
  };
  EXPECT_EQ(Run("8700", ConstListCmd, {escape, LookThen(notice, 0, Click(kIdOk))}), 0);
  EXPECT_EQ(onScreen.dialogs, std::vector<std::string>{"2110"});
  EXPECT_EQ(notice.name, "2110") << "Escape leaves the notice up";
  EXPECT_EQ(owner, mainWindow);
}

// ---- 1495: the repeat notice ------------------------------------------------------------------

// A resource constraint's notice is the session entry_hints'.
TEST_F(ListHintDialogs, RepeatNoticeNamesTheConstraintWithItsKindWord) {
  problemProgress.lastMatchedConstraint = 1;
  std::string text;
  auto read = [&text] {
    text = ItemText(TopModal(), 1490);
    KeyPress(GetFocus(), kKeyEnter);
  };
  EXPECT_EQ(Run("1495", CorrectConstrCmd, {read}), kIdOk);
  EXPECT_EQ(text, "the double-sided, one-color page minimum production.");
}

// ---- 2000: the hint topic ---------------------------------------------------------------------

TEST_F(ListHintDialogs, HintTopicChoiceLeavesTheRowChosenOrCancelled) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int matched;
  };
  const Case cases[] = {
      {"Ok on the first row", {Click(kIdOk)}, 0},
      {"Ok on a later row", {PickRow(2010, 2, false), Click(kIdOk)}, 2},
      {"Cancel", {PickRow(2010, 2, false), Click(kIdCancel)}, kNothingToChoose},
      {"Escape cancels", {PressKey(kKeyEscape)}, kNothingToChoose},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnterAllBut({0, 3, kWorkingHours});
    DialogSeen seen;
    std::vector<Step> steps = c.steps;
    steps[0] = LookThen(seen, 2010, steps[0]);
    Run("2000", HintCmd, steps);
    EXPECT_EQ(seen.title, "Select a hint topic");
    EXPECT_EQ(seen.rows, (Rows{Label(0) + " constraint", Label(3) + " constraint",
                               Label(kWorkingHours) + " constraint"}));
    EXPECT_EQ(seen.selection, 0);
    EXPECT_EQ(problemProgress.matchedConstraint, c.matched);
    EXPECT_EQ(problemProgress.topicList[2], kWorkingHours);
  }
}

// ---- 7700 and 9700: hints and solutions -------------------------------------------------------

class HintLists : public ListHintDialogs {
 protected:
  // Two one-blank lines and the note close every list.
  static constexpr std::size_t kClosingRows = 3;

  // Opens the hint dialog on the topic and returns what it showed.
  DialogSeen OpenOn(const char* name, int topic) {
    problemProgress.topicList[0] = topic;
    problemProgress.matchedConstraint = 0;
    DialogSeen seen;
    Run(name, Hint2Cmd, {LookThen(seen, 1710, Click(kIdOk))});
    return seen;
  }

  // The rows of the builder's text, from first on up to the closing lines, fit the list measured
  // in the lesson font, and the text was wrapped to that width, not cut short. The fixed lines
  // around them go in as they stand.
  static void ExpectWrappedInTheLessonFont(const DialogSeen& seen, std::size_t first) {
    int usable = seen.listWidth - ScrollBarWidth() - 1;
    std::size_t longest = 0;
    ASSERT_GT(seen.rows.size(), first + kClosingRows);
    for (std::size_t i = first; i + kClosingRows < seen.rows.size(); ++i) {
      const std::string& row = seen.rows[i];
      longest = std::max(longest, row.size());
      EXPECT_LT(static_cast<int>(row.size()) * kLessonCharWidth, usable) << row;
    }
    EXPECT_GT(static_cast<int>(longest) * kLessonCharWidth, usable * 3 / 4);
  }
};

TEST_F(HintLists, SecondHintOnAConstraintIsItsSolutionAndCountsItEntered) {
  problemProgress.entryStep = 2;
  problemProgress.hintLevel = 0;

  DialogSeen hint = OpenOn("7700", kWorkingHours);
  EXPECT_EQ(hint.title, "Hints");
  EXPECT_EQ(problemProgress.hintLevel, 1);
  ASSERT_GE(hint.rows.size(), 6u);
  EXPECT_EQ(hint.rows[0], "Hint 1:");
  EXPECT_EQ(hint.rows[1], "");
  EXPECT_EQ(hint.rows[2], "If you can answer the following question(s), you can formulate");
  EXPECT_EQ(hint.rows[3], "the constraint for the working hours resource.");
  EXPECT_EQ(hint.rows.back(), "NOTE : All Constraints must be on Right hand side");
  EXPECT_FALSE(Contains(hint.rows, Row(kWorkingHours, false))) << "a hint gives no answer";
  EXPECT_EQ(problemProgress.constraintEntered[kWorkingHours], 0);
  EXPECT_EQ(hint.listFont, lessonFont);
  EXPECT_TRUE(hint.listHasFocus);
  ExpectWrappedInTheLessonFont(hint, 5);

  DialogSeen solution = OpenOn("7700", kWorkingHours);
  EXPECT_EQ(problemProgress.hintLevel, 2);
  ASSERT_GE(solution.rows.size(), 2u);
  EXPECT_EQ(solution.rows[0], "Solution:");
  EXPECT_TRUE(Contains(solution.rows, Row(kWorkingHours, false)));
  EXPECT_FALSE(Contains(solution.rows, hint.rows[2]));
  EXPECT_EQ(problemProgress.constraintEntered[kWorkingHours], 1);
  ExpectWrappedInTheLessonFont(solution, 2);
}

TEST_F(HintLists, HintListStandsNearTheTopAtItsOwnLeft) {
  for (const char* name : {"7700", "9700"}) {
    SCOPED_TRACE(name);
    const WindowRect templatePlace = TemplatePlace(name, panel);
    DialogSeen seen = OpenOn(name, kObjectiveTopic);
    EXPECT_EQ(seen.rect.left, templatePlace.left);
    EXPECT_EQ(seen.rect.top, static_cast<int>((480 - seen.rect.height) * 0.1));
    EXPECT_NE(templatePlace.top, seen.rect.top) << "the test would not see a move";
  }
}

TEST_F(HintLists, TopicsWithNothingToExplainCloseWithoutAList) {
  struct Case {
    const char* name;
    int matched;
    int topic;
    bool everyConstraintEntered;  // the topic then comes from the topic choice 2000
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"topic choice cancelled", kNothingToChoose, 0, false, {}},
      {"topic past the constraints", 0, kPrintingConstraints, false, {"2100"}},
      {"topic choice with every constraint entered", 0, 0, true, {"2100"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    problemProgress.hintLevel = 0;
    problemProgress.topicList[0] = c.topic;
    problemProgress.matchedConstraint = c.matched;
    if (c.everyConstraintEntered) {
      EnterAllBut({});
      Run("2000", HintCmd, {});
      EXPECT_TRUE(onScreen.dialogs.empty());
    }
    Run("7700", Hint2Cmd, {Click(kIdOk)});
    EXPECT_EQ(onScreen.dialogs, c.shown);
    EXPECT_EQ(problemProgress.hintLevel, 0);
  }
}

}  // namespace
