// The entry panel 1603 built from its template on the window system, on a generated printing
// problem, with a back end of the test's own that plays the student in the dialogs and message
// boxes the panel opens: the entry line's keyboard, the prompts, the refusals, the verdict in
// practice and certification, "Finished" and "Quit". "Try Again", the strikes, the hints and the
// repeat notice are worked whole in the session scripts entry_wrong_line, entry_cert_strikes,
// entry_hints and entry_feedmix_solution.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <functional>
#include <string>
#include <vector>

#include "entry_panel.h"
#include "formulation_model.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "main_window.h"
#include "panel_fixture.h"
#include "parameter_table.h"
#include "parser.h"
#include "row_format.h"
#include "ui_resources.h"

namespace {

using namespace panel_fixture;

// ---- Lines the student types, written from the correct rows ---------------------------------

std::string Number(double value) {
  std::array<char, 32> text{};
  auto end =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 7);
  return std::string(text.data(), end.ptr);
}

std::string LineOf(const FormulationRow& row, bool withRelation) {
  std::string line;
  for (int k = 0; k < kLetterSlots; ++k) {
    if (row.coef[k] == 0) continue;
    if (!line.empty()) line += " + ";
    line += Number(row.coef[k]) + kLowerLetters[k];
  }
  if (withRelation) {
    line +=
        std::string(" ") + RelationSymbol(static_cast<int>(row.relation)) + " " + Number(row.rhs);
  }
  return line;
}
std::string ObjectiveLine() {
  return LineOf(formulation.objective, false);
}
std::string ConstraintLine(int i) {
  return LineOf(formulation.constraints[i], true);
}

const std::string kBlankBox =
    "box \"Tavrin\" information OK: Your answer is blank.  Please enter an answer.";
const std::string kFormatBox = "box \"Tavrin\" information OK: Your answer is in improper format.";

class EntryPanel : public testing::Test {
 protected:
  void SetUp() override {
    Backend backend{};
    backend.fontInstalled = AnyFontInstalled;
    StartWindowSystem(backend);
    CreateMainWindow(RecordingMainProc, "TAVRIN", {0, 0, 800, 600});
    lessonFont = CreateFontFrom({"custom", 14, 0});
    StartPrintingProblem();
    mode = kPracticeMode;
    strikes = 0;
    strikesAllowed = 3;
    panel = CreateModelessDialog("1603", mainWindow, ProbCmd, 0);
    ASSERT_NE(panel, kNoWindow);
  }

  void TearDown() override {
    EndWindowSystem();
    mode = kPracticeMode;
    strikes = 0;
  }

  // Runs the action, then the lesson until it waits with the student's steps used up.
  void Act(std::vector<Step> steps, const std::function<void()>& action) {
    Play(std::move(steps));
    posted.clear();
    onScreen = OnScreen{};
    action();
    RunMessageLoop(kNoWindow);
    EXPECT_EQ(StepsLeft(), 0u) << "the lesson stopped waiting early";
  }

  // What the lesson flow does for each step: the prompt is set up, then the panel is shown.
  void Prompt(std::vector<Step> steps) {
    Act(std::move(steps), [this] {
      SendMessageTo(panel, kMsgCommand, MakeCommand(kCmdNewQuestion, 0), 0);
      SetActivePanel(panel);
      SetFocus(panel);
      ShowWindow(panel, kShowNormal);
    });
  }
  // The objective step, with its variable list closed.
  void PromptObjective() { Prompt({Click(kIdOk)}); }
  // A constraint step after the objective function, choosing the outstanding part on that row.
  void PromptConstraint(int row) {
    problemProgress.entryStep = 1;
    Prompt({PickRow(2010, row, true)});
  }

  void Type(std::string_view text) {
    Act({}, [text] {
      for (char c : text) TypeChar(GetFocus(), c);
    });
  }
  void Submit(std::vector<Step> steps) {
    Act(std::move(steps), [this] { ClickButton(Item(kIdOk)); });
  }
  void Press(int button, std::vector<Step> steps) {
    Act(std::move(steps), [this, button] { ClickButton(Item(button)); });
  }
  void Key(int key) {
    Act({}, [key] { KeyPress(GetFocus(), key); });
  }

  Window Item(int id) const { return DialogItem(panel, id); }
  std::string Line() const { return TextOf(Item(kEntryField)); }
  bool Hidden() const { return !IsWindowVisible(panel) && activePanel == kNoWindow; }

  Window panel = kNoWindow;
};

// ---- The entry line's keyboard ----------------------------------------------------------------

TEST_F(EntryPanel, EntryLinePassesOnlyTheCharactersOfAFormulation) {
  PromptObjective();
  ASSERT_EQ(GetFocus(), Item(kEntryField));
  struct Case {
    char typed;
    bool passes;
  };
  const Case cases[] = {
      {'0', true},    {'9', true},   {' ', true},     {'+', true},     {'-', true},
      {'.', true},    {'<', true},   {'=', true},     {'>', true},     {'P', true},
      {'U', true},    {'p', true},   {'u', true},     {'\x82', true},  {'\xC0', true},
      {'\xC1', true}, {'V', false},  {'v', false},    {'O', false},    {'o', false},
      {'a', false},   {'*', false},  {'/', false},    {',', false},    {'(', false},
      {'\t', false},  {'\r', false}, {'\xE5', false}, {'\x83', false}, {'\xBF', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "byte " << static_cast<int>(static_cast<unsigned char>(c.typed)));
    SetDialogItemText(panel, kEntryField, "");
    Type(std::string(1, c.typed));
    EXPECT_EQ(Line(), c.passes ? std::string(1, c.typed) : std::string());
  }
  // Backspace passes and edits the line.
  SetDialogItemText(panel, kEntryField, "3pq");
  Type("\b");
  EXPECT_EQ(Line(), "3p");
}

TEST_F(EntryPanel, FunctionKeysTypeTheirRelationSignsAtTheCaret) {
  PromptObjective();
  struct Case {
    int key;
    char sign;
  };
  const Case cases[] = {{kKeyF1, '\xC1'}, {kKeyF2, '\xC0'}, {kKeyF3, '\x82'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key);
    SetDialogItemText(panel, kEntryField, "3p  120");
    EditSetCaret(Item(kEntryField), 3);
    Key(c.key);
    EXPECT_EQ(Line(), std::string("3p ") + c.sign + " 120");
    EXPECT_EQ(EditCaret(Item(kEntryField)), 4);
  }
  // Other function keys type nothing.
  Key(kKeyF4);
  EXPECT_EQ(Line(), "3p \x82 120");
}

// Enter through the panel's keyboard submits in every session script; it also does when it
// arrives at the field itself.
TEST_F(EntryPanel, EnterAtTheFieldItselfSubmitsTheLine) {
  PromptObjective();
  Act({Click(kIdOk)}, [this] { SendMessageTo(Item(kEntryField), kMsgKeyDown, kKeyEnter, 0); });
  EXPECT_EQ(onScreen.modals, std::vector<std::string>{kBlankBox});
  EXPECT_EQ(GetFocus(), Item(kEntryField));
}

// ---- Prompts (what each prompt shows is in the session transcripts) --------------------------

TEST_F(EntryPanel, NothingLeftToChooseFinishesTheProblemInBothModes) {
  for (int m : {kPracticeMode, kCertificationMode}) {
    SCOPED_TRACE(m);
    mode = m;
    problemProgress.constraintEntered.fill(1);
    problemProgress.entryStep = 1;
    Prompt({});  // 2500 ends at once without asking
    EXPECT_EQ(posted, (std::vector<Posted>{{kCmdEntryStepOver, 1}}));
    EXPECT_EQ(problemProgress.problemFinished, 1);
    EXPECT_TRUE(Hidden());
  }
}

// ---- Refusals and the verdict -----------------------------------------------------------------

TEST_F(EntryPanel, RefusedLinesChangeNothing) {
  struct Case {
    const char* typed;
    const std::string& box;
  };
  // Each refusal's box, and the step going on: the session entry_refusals.
  const Case cases[] = {{"", kBlankBox}, {"120 \xC0 3p + 4q", kFormatBox}};
  PromptObjective();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetDialogItemText(panel, kEntryField, c.typed);
    Submit({Click(kIdOk)});
    EXPECT_EQ(onScreen.modals, std::vector<std::string>{c.box});
    EXPECT_TRUE(posted.empty());
    EXPECT_EQ(Line(), c.typed);
    EXPECT_EQ(problemProgress.entryStep, 1);
    EXPECT_EQ(GetFocus(), Item(kEntryField));
    EXPECT_TRUE(IsWindowVisible(panel));
  }
}

TEST_F(EntryPanel, VerdictInPracticeAndCertification) {
  struct Case {
    const char* name;
    int mode;
    int constraintTyped;  // -1: the objective step with the objective typed
    const char* extra;    // typed after the line
    bool right;
  };
  const Case cases[] = {
      {"practice, objective", kPracticeMode, -1, "", true},
      {"practice, the chosen constraint", kPracticeMode, 0, "", true},
      {"practice, another constraint", kPracticeMode, 3, "", true},
      {"practice, a syntax error with the right sums", kPracticeMode, 0, " + 5", false},
      {"certification, the chosen constraint", kCertificationMode, 0, "", true},
      {"certification, another right constraint", kCertificationMode, 3, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mode = c.mode;
    strikes = 0;
    problemProgress = ProblemProgress{};
    std::string line;
    if (c.constraintTyped < 0) {
      PromptObjective();
      line = ObjectiveLine();
    } else {
      PromptConstraint(0);
      // The extra text goes in front of the relation.
      line = ConstraintLine(c.constraintTyped);
      line.insert(line.find(' '), c.extra);
    }
    SetDialogItemText(panel, kEntryField, line);
    if (c.right) {
      Submit({Click(kIdOk)});
      EXPECT_EQ(onScreen.modals, std::vector<std::string>{kCorrectBox});
    } else {
      // Practice asks first; Explanation of Error is chosen there.
      std::vector<Step> steps = {Click(kIdOk)};
      if (c.mode == kPracticeMode) steps.insert(steps.begin(), {Click(2420), Click(kIdOk)});
      Submit(steps);
      EXPECT_EQ(onScreen.modals.back(), "1700");
    }
    EXPECT_EQ(posted, (std::vector<Posted>{{kCmdEntryStepOver, 0}}));
    EXPECT_TRUE(Hidden());
    EXPECT_EQ(strikes, !c.right && c.mode == kCertificationMode ? 1 : 0);
  }
}

// ---- Hints, Finished, Quit ----------------------------------------------------------------------

// "Finished" with parts missing lists them in dialog 1900: the session entry_finished.
TEST_F(EntryPanel, FinishedWithEverythingEnteredEndsTheProblemAsCorrect) {
  PromptObjective();
  problemProgress.constraintEntered.fill(1);
  Press(kEntryFinishedButton, {Click(kIdOk)});
  EXPECT_EQ(onScreen.modals, std::vector<std::string>{kCorrectBox});
  EXPECT_EQ(posted, (std::vector<Posted>{{kCmdProblemOver, 1}}));
  EXPECT_FALSE(IsWindowVisible(panel));
}

TEST_F(EntryPanel, QuitAsksUnlessTheStrikesAreUsedUp) {
  struct Case {
    const char* name;
    int mode;
    int strikes;
    int answer;  // 0: no question expected
    std::vector<std::string> modals;
    bool left;
  };
  // Practice's question, both ways: the session entry_practice_printing.
  const Case cases[] = {
      {"certification, Yes", kCertificationMode, 1, kIdYes, {kEndCertificationBox}, true},
      {"certification, strikes used up", kCertificationMode, 3, 0, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mode = c.mode;
    strikes = c.strikes;
    problemProgress = ProblemProgress{};
    PromptObjective();
    std::vector<Step> steps;
    if (c.answer != 0) steps.push_back(Click(c.answer));
    Press(kIdCancel, steps);
    EXPECT_EQ(onScreen.modals, c.modals);
    EXPECT_EQ(problemProgress.quitRequested, c.left ? 1 : 0);
    const std::vector<Posted> left = {{kCmdProblemOver, 0}};
    EXPECT_EQ(posted, c.left ? left : std::vector<Posted>{});
    EXPECT_EQ(GetFocus(), c.left ? mainWindow : Item(kEntryField));
  }
}

}  // namespace
