// A student who knows every answer works whole lessons through: the five practice problems of an
// order, a certification run and an extended one. The student reads the problem as the lesson
// generated it (the `formulation` record) and answers from it: the objective sense, every decision
// variable from the list, the objective function and each constraint typed as a line, the
// constraints in an order of its own choosing. Every answer must be met with "Correct Answer!",
// every problem must end with "All constraints have been completed." and the complete formulation,
// and a passed run must be certified.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "formulation_model.h"
#include "lesson_state.h"
#include "student_driver.h"

namespace {

// ---- Texts the student reads ------------------------------------------------------------------

constexpr std::string_view kLessonCaption = "Tavrin";
constexpr std::string_view kCorrectAnswer = "Correct Answer!";
constexpr std::string_view kQuitCaption = "Quit Module";
constexpr std::string_view kObjectivePrompt = "Enter the Objective Function:";
constexpr std::string_view kConstraintPromptStart = "Enter the ";
constexpr std::string_view kConstraintPromptEnd = " constraint:";
constexpr std::string_view kSelectVariablePrompt = "Select a variable from the following list:";
constexpr std::string_view kProblemComplete = "All constraints have been completed.";
constexpr std::string_view kCompleteFormulation =
    "This is the complete formulation of the problem:";
constexpr std::string_view kObjectiveHeading = "Objective function:";

// Dialogs, controls and commands.
constexpr int kCmdPractice = 110;
constexpr int kCmdCertification = 115;
constexpr int kCmdQuit = 140;
constexpr int kPromptId = 1650;
constexpr int kEntryLineId = 1610;
constexpr int kFinishedId = 1660;
constexpr int kYesId = 6;

// The kind words after a constraint's name, by kind code; other codes have none.
std::string KindWord(int kind) {
  switch (kind) {
    case 1:
    case 5:
      return " resource";
    case 2:
      return " sales";
    case 3:
      return " production";
    case 4:
      return " nutrition";
    default:
      return "";
  }
}

std::string ConstraintName(int i) {
  return std::string(formulation.constraintNames[i].data()) +
         KindWord(formulation.constraintKinds[i]);
}

// The selection list writes each variable as "the " + its description, unless it already begins
// so.
std::string VariableRow(int k) {
  std::string description = formulation.variableDescriptions[k].data();
  return description.starts_with("the ") ? description : "the " + description;
}

// ---- The student ------------------------------------------------------------------------------

struct Plan {
  int practiceProblems;
  int certificationRuns;
};

class KnowingStudent {
 public:
  KnowingStudent(const Plan& plan, std::uint64_t seed) : plan_(plan), random_(seed) {
    style_ = {seed % 3 == 1, seed % 2 == 0, seed % 3 == 2, seed % 4 != 3};
  }

  bool Next(const StudentView& view, PlayAction& action) {
    ReadEvents(view.sinceAction);
    switch (view.on.target) {
      case ScreenTarget::kMessageBox:
        return AnswerBox(view, action);
      case ScreenTarget::kModalDialog:
      case ScreenTarget::kPanel:
        return ActInDialog(view, action);
      case ScreenTarget::kMainWindow:
        return ActInMainWindow(action);
      case ScreenTarget::kNothing:
        break;
    }
    return Fault("nothing is on screen");
  }

 private:
  bool Fault(const std::string& what) {
    ReportFault(what);
    return false;
  }

  // Certificates printed and recorded are reported as they come.
  void ReadEvents(const std::string& since) {
    for (std::string_view event : {"certificate printed: ", "certificate recorded: "}) {
      for (std::size_t at = since.find(event); at != std::string::npos;
           at = since.find(event, at + 1)) {
        ReportNote(since.substr(at, since.find('\n', at) - at));
      }
    }
  }

  bool AnswerBox(const StudentView& view, PlayAction& action) {
    if (view.caption == kLessonCaption && view.text == kCorrectAnswer) {
      ++correctAnswers_;
      action = AnswerAction(kIdOk);
      return true;
    }
    if (view.caption == kQuitCaption && quitting_) {
      action = AnswerAction(kIdOk);
      return true;
    }
    return Fault("unexpected message box \"" + view.caption + "\": " + view.text);
  }

  bool ActInMainWindow(PlayAction& action) {
    if (practiceDone_ < plan_.practiceProblems) {
      ++practiceDone_;
      action = MenuAction(kCmdPractice);
    } else if (runsDone_ < plan_.certificationRuns) {
      ++runsDone_;
      action = MenuAction(kCmdCertification);
    } else {
      quitting_ = true;
      action = MenuAction(kCmdQuit);
    }
    return true;
  }

  bool ActInDialog(const StudentView& view, PlayAction& action) {
    Window dialog = view.on.window;
    if (view.name == "WELCOME") return Take(ClickAction(kIdOk), action);
    if (view.name == "MINMAX") return AnswerSense(dialog, action);
    if (view.name == "2601") return PickVariables(dialog, action);
    if (view.name == "1800") return Take(ClickAction(kIdOk), action);
    if (view.name == "1603") return EnterLine(dialog, action);
    if (view.name == "2500") return ChooseConstraint(dialog, action);
    if (view.name == "PROBCOMPLETE") return ProblemComplete(dialog, action);
    if (view.name == "8700") return ReadFormulation(dialog, action);
    return Fault("unexpected dialog " + view.name);
  }

  static bool Take(const PlayAction& chosen, PlayAction& action) {
    action = chosen;
    return true;
  }

  // A new problem starts with the objective sense: the counts of the last one are settled first.
  bool AnswerSense(Window dialog, PlayAction& action) {
    if (!senseAsked_) StartProblem();
    senseAsked_ = true;
    int sense = formulation.objectiveSense;
    if (!IsButtonChecked(dialog, sense)) return Take(ChooseAction(sense), action);
    return Take(ClickAction(kIdOk), action);
  }

  void StartProblem() {
    SettleProblem();
    int code = problemOrder[problemNumber];
    ReportNote("problem " + std::to_string(code) +
               (mode == kCertificationMode ? " certification" : " practice"));
    problemCode_ = code;
    correctAnswers_ = 0;
  }

  // One "Correct Answer!" for the sense, each variable, the end of the selection, the objective
  // function and each constraint.
  void SettleProblem() {
    if (problemCode_ == 0) return;
    int expected = 1 + formulation.variableCount + 1 + 1 + formulation.constraintCount;
    if (correctAnswers_ != expected) {
      ReportFault("problem " + std::to_string(problemCode_) + ": " +
                  std::to_string(correctAnswers_) + " correct answers, expected " +
                  std::to_string(expected));
    }
    problemCode_ = 0;
  }

  bool PickVariables(Window dialog, PlayAction& action) {
    if (DialogItemText(dialog, kPromptId) != kSelectVariablePrompt) {
      return Fault("variable panel says \"" + DialogItemText(dialog, kPromptId) + "\"");
    }
    std::vector<std::string> rows = DialogListRows(dialog);
    for (int k = 0; k < formulation.variableCount; ++k) {
      auto row = std::find(rows.begin(), rows.end(), VariableRow(k));
      if (row == rows.end()) continue;
      int index = static_cast<int>(row - rows.begin());
      if (DialogListSelection(dialog) != index) return Take(SelectAction(index), action);
      // A pick by "Ok" or by a double click, as the seed has it.
      return Take(random_() % 2 ? ClickAction(kIdOk) : DoubleClickAction(index), action);
    }
    return Take(ClickAction(kFinishedId), action);
  }

  bool ChooseConstraint(Window dialog, PlayAction& action) {
    std::vector<std::string> rows = DialogListRows(dialog);
    std::set<std::string> shown(rows.begin(), rows.end());
    std::set<std::string> outstanding;
    for (int i = 0; i < formulation.constraintCount; ++i) {
      if (!problemProgress.constraintEntered[i]) {
        outstanding.insert(ConstraintName(i) + " constraint");
      }
    }
    if (shown != outstanding) {
      return Fault("dialog 2500 does not offer the outstanding constraints");
    }
    // The choice is the student's own: any row, by the seed.
    if (chosenRow_ < 0 || chosenRow_ >= static_cast<int>(rows.size())) {
      chosenRow_ = static_cast<int>(random_() % rows.size());
    }
    if (DialogListSelection(dialog) != chosenRow_) return Take(SelectAction(chosenRow_), action);
    intended_ =
        rows[chosenRow_].substr(0, rows[chosenRow_].size() - std::string(" constraint").size());
    int row = chosenRow_;
    chosenRow_ = -1;
    return Take(random_() % 2 ? ClickAction(kIdOk) : DoubleClickAction(row), action);
  }

  // The line for the step the prompt names, typed once into the empty line and sent with Enter.
  bool EnterLine(Window dialog, PlayAction& action) {
    std::string prompt = DialogItemText(dialog, kPromptId);
    if (!DialogItemText(dialog, kEntryLineId).empty()) {
      return Fault("the entry line still holds \"" + DialogItemText(dialog, kEntryLineId) + "\"");
    }
    if (prompt == kObjectivePrompt) {
      intended_.clear();
      return Take(TypeLineAction(CorrectLine(-1, style_, random_), true), action);
    }
    if (!prompt.starts_with(kConstraintPromptStart) || !prompt.ends_with(kConstraintPromptEnd)) {
      return Fault("unexpected prompt \"" + prompt + "\"");
    }
    std::string named =
        prompt.substr(kConstraintPromptStart.size(),
                      prompt.size() - kConstraintPromptStart.size() - kConstraintPromptEnd.size());
    // When dialog 2500 asked, the prompt is for the constraint chosen there.
    if (!intended_.empty() && named != intended_) {
      return Fault("chose \"" + intended_ + "\" but the prompt asks for \"" + named + "\"");
    }
    intended_.clear();
    for (int i = 0; i < formulation.constraintCount; ++i) {
      if (ConstraintName(i) != named) continue;
      if (problemProgress.constraintEntered[i]) return Fault("prompt for an entered constraint");
      return Take(TypeLineAction(CorrectLine(i, style_, random_), true), action);
    }
    return Fault("the prompt names no constraint of the problem: \"" + prompt + "\"");
  }

  bool ProblemComplete(Window dialog, PlayAction& action) {
    std::string shown;
    for (Window control : UsableControls(dialog, ControlKind::kStatic)) {
      WindowView view{};
      if (ViewWindow(control, view)) shown += std::string(view.text);
    }
    if (shown.find(kProblemComplete) == std::string::npos) {
      return Fault("PROBCOMPLETE says \"" + shown + "\"");
    }
    SettleProblem();
    senseAsked_ = false;
    ReportNote("completed " + std::to_string(problemOrder[problemNumber]));
    return Take(ClickAction(kYesId), action);
  }

  // The complete formulation: its heading, then the objective function and every constraint,
  // each under its own heading on the row below it, with its sense or relation and its variables.
  bool ReadFormulation(Window dialog, PlayAction& action) {
    std::vector<std::string> rows = DialogListRows(dialog);
    auto rowUnder = [&rows](const std::string& heading) -> std::string {
      auto at = std::find(rows.begin(), rows.end(), heading);
      return at == rows.end() || at + 1 == rows.end() ? "" : *(at + 1);
    };
    if (rows.empty() || rows.front() != kCompleteFormulation) {
      return Fault("dialog 8700 does not open with the complete formulation's heading");
    }
    std::string sense = formulation.objectiveSense == kSenseMaximize ? "Maximize" : "Minimize";
    if (rowUnder(std::string(kObjectiveHeading)).find(sense) == std::string::npos) {
      return Fault("dialog 8700 lacks the objective function to " + sense);
    }
    for (int i = 0; i < formulation.constraintCount; ++i) {
      const FormulationRow& constraint = formulation.constraints[i];
      std::string row = rowUnder(ConstraintName(i) + " constraint:");
      bool whole =
          row.find(static_cast<int>(constraint.relation) == kRelationAtLeast ? '\xC0' : '\xC1') !=
          std::string::npos;
      for (int k = 0; k < formulation.variableCount; ++k) {
        if (constraint.coef[k] != 0.0) whole = whole && row.find(kLowerLetters[k]) != row.npos;
      }
      if (!whole) return Fault("dialog 8700 shows the " + ConstraintName(i) + " as: " + row);
    }
    ReportNote("formulation listed");
    return Take(ClickAction(kIdOk), action);
  }

  Plan plan_;
  std::mt19937_64 random_;
  LineStyle style_{};
  int practiceDone_ = 0;
  int runsDone_ = 0;
  bool quitting_ = false;
  bool senseAsked_ = false;
  int problemCode_ = 0;
  int correctAnswers_ = 0;
  int chosenRow_ = -1;
  std::string intended_;  // the constraint chosen in dialog 2500, name and kind word
};

Student MakeKnowingStudent(const Plan& plan, std::uint64_t seed) {
  auto student = std::make_shared<KnowingStudent>(plan, seed);
  Student driven;
  driven.next = [student](const StudentView& view, PlayAction& action) {
    return student->Next(view, action);
  };
  return driven;
}

// ---- The runs ---------------------------------------------------------------------------------

struct Case {
  const char* name;
  std::uint64_t seed;
  bool extended;
  Plan plan;
  int problemsCompleted;
  int certificatesPrinted;
};

void RunCase(const Case& c) {
  SessionSettings settings;
  settings.name = c.name;
  settings.seed = c.seed;
  settings.extended = c.extended;
  SessionReport report = RunStudentSession(settings, MakeKnowingStudent(c.plan, c.seed));
  ASSERT_TRUE(report.Clean()) << report.Describe();
  // The student quit the lesson at the end of its plan, and the lesson ended normally.
  EXPECT_TRUE(report.lessonEnded) << report.Describe();
  EXPECT_EQ(report.lessonExitCode, 0);
  std::vector<std::string> completed = report.NotesStartingWith("completed ");
  EXPECT_EQ(static_cast<int>(completed.size()), c.problemsCompleted) << report.Describe();
  EXPECT_EQ(static_cast<int>(report.NotesStartingWith("formulation listed").size()),
            c.problemsCompleted);
  EXPECT_EQ(static_cast<int>(report.NotesStartingWith("certificate printed: ").size()),
            c.certificatesPrinted);
  EXPECT_EQ(static_cast<int>(report.NotesStartingWith("certificate recorded: ").size()),
            c.certificatesPrinted);
  // Five practice problems in a row are the five problems of the bank.
  if (c.plan.practiceProblems == 5) {
    std::set<std::string> codes;
    for (const std::string& note : report.NotesStartingWith("problem ")) {
      if (note.ends_with(" practice")) codes.insert(note.substr(0, 1));
    }
    EXPECT_EQ(codes, (std::set<std::string>{"3", "4", "5", "6", "7"}));
  }
}

TEST(KnowingStudent, WorksEveryPracticeProblemToItsCompleteFormulation) {
  const Case cases[] = {
      {"practice-seed-1", 1, false, {5, 0}, 5, 0},
      {"practice-seed-2", 2, false, {5, 0}, 5, 0},
      {"practice-seed-5", 5, false, {5, 0}, 5, 0},
      {"practice-seed-9", 9, false, {5, 0}, 5, 0},
      {"practice-seed-1234", 1234, false, {5, 0}, 5, 0},
      {"practice-seed-77777", 77777, false, {5, 0}, 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunCase(c);
  }
}

TEST(KnowingStudent, PassesCertificationAndIsCertified) {
  const Case cases[] = {
      {"certification-seed-5", 5, false, {0, 1}, 1, 1},
      {"certification-seed-31", 31, false, {1, 1}, 2, 1},
      // The extended setting: three problems in one run, one certificate.
      {"extended-seed-8", 8, true, {0, 1}, 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunCase(c);
  }
}

}  // namespace
