// The dialogs of a wrong answer and of an overlong line, run through the window system with a
// back end of the test's own that plays the student: dialog 2400's choice, dialog 1700's list for
// lines parsed against a generated printing problem, the two overflow notices and the parser
// opening them in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend.h"
#include "explanation_dialogs.h"
#include "formulation_model.h"
#include "lesson_state.h"
#include "overflow_dialogs.h"
#include "panel_fixture.h"
#include "parser.h"
#include "ui_resources.h"

namespace {

using namespace panel_fixture;

// The list of dialog 1700 is 576 pixels wide: 559 usable, 69 lesson-font characters a line.
constexpr int kLessonFaceWidth = 8;
constexpr int kSystemFaceWidth = 5;

class WrongAnswerDialogs : public testing::Test {
 protected:
  void SetUp() override {
    Backend backend{};
    backend.charWidths = FixedCharWidths<kLessonFaceWidth, kSystemFaceWidth>;
    backend.fontInstalled = AnyFontInstalled;
    StartWindowSystem(backend);
    CreateMainWindow(DefaultWindowProc, nullptr, {0, 0, 1024, 768});
    entryPanel = CreateModelessDialog("1603", mainWindow, RecordingPanelProc, 0);
    ShowWindow(entryPanel, kShowNormal);
    lessonFont = CreateFontFrom({"custom", 16, 0});
  }

  void TearDown() override {
    parserNotices = {nullptr, nullptr};
    EndWindowSystem();
    entryPanel = kNoWindow;
  }
};

// ---- Dialog 2400 ------------------------------------------------------------------------------

// Which of the two radio buttons is on.
std::string CheckedChoice() {
  bool tryAgain = IsButtonChecked(TopModal(), kTryAgainButton);
  bool explain = IsButtonChecked(TopModal(), kExplanationButton);
  if (tryAgain && explain) return "both";
  if (tryAgain) return "2410";
  return explain ? "2420" : "none";
}

TEST_F(WrongAnswerDialogs, IncorrectAnswerStartsOnTryAgainAndEndsWithTheLastChoice) {
  struct Case {
    const char* name;
    std::vector<int> clicks;
    std::vector<std::string> seen;  // the button on at opening and after each click
    int result;
  };
  // One after the other: an opening after a choice of 2420 starts on 2410 again.
  const Case cases[] = {
      {"explanation chosen", {kExplanationButton}, {"2410", "2420"}, kExplanationButton},
      {"opened again: try again once more", {}, {"2410"}, kTryAgainButton},
      {"chosen and taken back",
       {kExplanationButton, kTryAgainButton},
       {"2410", "2420", "2410"},
       kTryAgainButton},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    static std::vector<std::string> seen;
    static WindowRect rect;
    seen.clear();
    std::vector<Step> script;
    for (int id : c.clicks) {
      script.push_back([id] {
        seen.push_back(CheckedChoice());
        ClickOnTop(id);
      });
    }
    script.push_back([] {
      seen.push_back(CheckedChoice());
      ClickOnTop(kIdOk);
    });
    // The first look also notes where the dialog was placed.
    script.front() = [act = script.front()] {
      rect = GetWindowRect(TopModal());
      act();
    };
    Play(script);
    EXPECT_EQ(RunModalDialog("2400", entryPanel, DoExplanCmd, 0), c.result);
    EXPECT_EQ(explanationChoice, c.result);
    EXPECT_EQ(seen, c.seen);
    // 258 x 104 pixels, halfway across and three quarters down the main window's free room.
    EXPECT_EQ(rect.left, 383);
    EXPECT_EQ(rect.top, 498);
  }
}

// ---- Dialog 1700 ------------------------------------------------------------------------------

const std::string kAtLeast = "\xC0";
const std::string kAtMost = "\xC1";
const std::string kArrow = "\xD6";
const std::string kStem = "\xD7";
std::string Label(char letter) {
  return std::string("\xD8\xD9") + letter;
}

// StartPrintingProblem's seed 7 draws the printing problem with 780000, 535000 and 181000 pages
// ordered, costs 0.04, 0.06 and 0.19, 5000 hours, minimums of 70, 50 and 35 percent and 1480, 815
// and 300 pages an hour.
constexpr int kObjective = -1;
constexpr int kWorkingHours = 6;

const std::vector<std::string> kNoteRows = {" ", " ",
                                            "NOTE : All Constraints must be on Right hand side"};

std::vector<std::string> Concat(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Three pages-per-hour values where the hours per page belong; every sentence takes four rows.
const std::vector<std::string> kHoursRows = {
    "",
    "It appears that you were entering the constraint for the working",
    "hours resource.",
    "",
    "1480p + 815q + 300r  " + kAtMost + "   5000",
    "  " + kArrow + "      " + kArrow + "      " + kArrow,
    "  " + Label('A') + "    " + kStem + "      " + Label('C'),
    "         " + Label('B') + "    ",
    "",
    "A. The value 1480 refers to the number of one-sided, one-color pages",
    "printed in one hour.  The working hours resource constraint requires",
    "the  coefficient 0.00068 on the variable p, which refers to the",
    "number of hours to print a single one-sided, one-color page.",
    "",
    "B. The value 815 refers to the number of double-sided, one-color",
    "pages printed in one hour.  The working hours resource constraint",
    "requires the  coefficient 0.00123 on the variable q, which refers to",
    "the number of hours to print a single double-sided, one-color page.",
    "",
    "C. The value 300 refers to the number of one-sided, four-color pages",
    "printed in one hour.  The working hours resource constraint requires",
    "the  coefficient 0.00333 on the variable r, which refers to the",
    "number of hours to print a single one-sided, four-color page.",
    "",
    "The correct constraint is as follows:",
    "     0.00068p + 0.00123q + 0.00333r " + kAtMost + " 5000",
};

// The objective function without r: no line on a constraint being entered, the marker lines kept
// with their blanks, the third one holding nothing else.
const std::vector<std::string> kObjectiveRows = {
    "",
    "",
    "0.04p + 0.06q + ?     ",
    std::string(16, ' ') + kArrow,
    std::string(16, ' ') + Label('A'),
    std::string(16, ' '),
    "",
    "A. By omitting the variable r from your formulation, you have implied",
    "that it has a coefficient of 0.  The objective function requires the",
    "variable r to have the coefficient 0.19, which refers to the cost to",
    "print a one-sided, four-color page.",
    "",
    "The correct objective function is as follows:",
    "     Minimize: 0.04p + 0.06q + 0.19r",
};

// What the student saw while dialog 1700 was up.
DialogSeen OpenExplanation() {
  static DialogSeen seen;
  seen = DialogSeen{};
  Play({LookThen(seen, 1710, Click(kIdOk))});
  EXPECT_EQ(RunModalDialog("1700", entryPanel, WrongCmd, 0), 1);
  return seen;
}

TEST_F(WrongAnswerDialogs, ExplanationListsTheParsedLineAgainstTheChosenConstraint) {
  struct Case {
    const char* name;
    int chosen;
    int entryStep;
    std::string line;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"coefficients from the wrong parameters", kWorkingHours, 3,
       "1480p + 815q + 300r " + kAtMost + " 5000", Concat({kHoursRows, kNoteRows})},
      {"the objective function", kObjective, 1, "0.04p + 0.06q",
       Concat({kObjectiveRows, kNoteRows})},
  };
  StartPrintingProblem();
  const WindowRect unplaced = TemplatePlace("1700", entryPanel);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    problemProgress = ProblemProgress{};
    problemProgress.chosenConstraint = c.chosen;
    problemProgress.entryStep = c.entryStep;
    ASSERT_GE(ParseEntry(c.line, parsedEntry, 0), 0);

    const DialogSeen seen = OpenExplanation();
    EXPECT_EQ(seen.rows, c.rows);
    EXPECT_TRUE(seen.listHasFocus);
    EXPECT_EQ(seen.listFont, lessonFont);
    EXPECT_EQ(seen.topRow, 0);
    // Its own place across, a tenth of the way down the main window's free room.
    EXPECT_EQ(seen.rect.left, unplaced.left);
    EXPECT_EQ(seen.rect.top, (768 - seen.rect.height) / 10);
    // The constraint explained counts as entered; the objective function marks none.
    for (int i = 0; i < kMaxConstraints; ++i) {
      EXPECT_EQ(problemProgress.constraintEntered[i], i == c.chosen ? 1 : 0) << i;
    }
  }
}

// ---- The overflow notices ---------------------------------------------------------------------

// Both notices closed with Enter, with the lower-case letter and a count: the session
// entry_overflow.

enum class Closing { kOkButton, kEnter, kEscape };

void Close(Closing how) {
  switch (how) {
    case Closing::kOkButton:
      ClickOnTop(kIdOk);
      break;
    case Closing::kEnter:
      KeyPress(GetFocus(), kKeyEnter);
      break;
    case Closing::kEscape:
      KeyPress(GetFocus(), kKeyEscape);
      break;
  }
}

TEST_F(WrongAnswerDialogs, OverflowNoticesShowTheirValueAndCloseOnAnyCommand) {
  struct Case {
    const char* name;
    const char* dialog;
    WindowProc procedure;
    LParam value;
    int control;
    std::string shown;
    Closing closing;
  };
  const Case cases[] = {
      {"a term's letter", "2350", TooLongCmd, 'q', kTooLongLetterText, "q", Closing::kOkButton},
      {"a term without a letter", "2350", TooLongCmd, 0, kTooLongLetterText, "", Closing::kEscape},
      {"characters kept", "2300", TooManyCmd, 73, kTooManyCountText, "73", Closing::kOkButton},
      {"beyond the largest int", "2300", TooManyCmd, 4000000000, kTooManyCountText, "4000000000",
       Closing::kEscape},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    static std::string shown;
    static int control;
    static Closing closing;
    control = c.control;
    closing = c.closing;
    shown = "(never shown)";
    Play({[] {
      shown = ItemText(TopModal(), control);
      Close(closing);
    }});
    EXPECT_NE(RunModalDialog(c.dialog, entryPanel, c.procedure, c.value), -1);
    EXPECT_EQ(shown, c.shown);
  }
}

TEST_F(WrongAnswerDialogs, ParserNoticesOpenInTermOrderOwnedByTheParsesOwner) {
  // Two terms of 23 characters and thirteen of "p": fifteen terms in 73 characters.
  std::string fifteenTerms = "1234567890123456789012p+2222222222222222222222Q";
  for (int i = 0; i < 13; ++i) fifteenTerms += "+p";
  struct Case {
    const char* name;
    std::string line;
    bool ownerGiven;  // the parse names the main window, else none
    std::vector<std::string> notices;
    int termCount;
  };
  const Case cases[] = {
      {"sixteen terms: the fifteenth ends where the sixteenth's sign stands",
       fifteenTerms + "+q+r",
       true,
       {"2350 p", "2350 Q", "2300 73"},
       kMaxTerms},
      {"exactly fifteen terms: the whole line kept",
       fifteenTerms + " " + kAtMost + " 5",
       true,
       {"2350 p", "2350 Q", "2300 77"},
       kMaxTerms},
      {"no owner given: the entry panel's",
       "p + 123456789012345678901234 " + kAtMost + " 5",
       false,
       {"2350 "},
       2},
      {"a short line opens nothing", "3p + 4q " + kAtMost + " 5", true, {}, 2},
  };
  InstallParserNotices(entryPanel);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    static std::vector<std::string> notices;
    static std::vector<Window> owners;
    static bool ownerDisabled;
    notices.clear();
    owners.clear();
    ownerDisabled = true;
    Step look = [] {
      Window notice = TopModal();
      std::string name(DialogTemplateName(notice));
      int control = name == "2350" ? kTooLongLetterText : kTooManyCountText;
      notices.push_back(name + " " + ItemText(TopModal(), control));
      owners.push_back(GetOwner(notice));
      ownerDisabled = ownerDisabled && !IsWindowEnabled(GetOwner(notice));
      ClickOnTop(kIdOk);
    };
    // One look more than expected, so that a notice too many is seen too.
    Play(std::vector<Step>(c.notices.size() + 1, look));
    const Window owner = c.ownerGiven ? mainWindow : entryPanel;
    ParseEntry(c.line, parsedEntry, c.ownerGiven ? mainWindow : 0);
    EXPECT_EQ(notices, c.notices);
    EXPECT_EQ(owners, std::vector<Window>(c.notices.size(), owner));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(parsedEntry.termCount, c.termCount);
  }
}

}  // namespace
