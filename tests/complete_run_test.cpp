// A student who knows every answer works whole lessons through: the five practice problems of an
// order, a certification run and an extended one. The student reads the problem as the lesson
// generated it (the `formulation` record) and answers from it: the objective sense, every decision
// variable from the list, the objective function and each constraint typed as a line, in an order
// of its own choosing. Every answer must be met with "Correct Answer!", every problem must end
// with "All constraints have been completed." and, when asked for, the complete formulation, and a
// passed run must be certified.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "formulation_model.h"
#include "lesson_state.h"
#include "student_driver.h"

namespace {

constexpr std::string_view kPromptStart = "Enter the ";
constexpr std::string_view kPromptEnd = " constraint:";
constexpr int kPromptId = 1650;
constexpr int kEntryLineId = 1610;

// A constraint's name as prompts and lists write it: its name and its kind's word.
std::string ConstraintName(int i) {
  constexpr const char* kKindWords[] = {"",           " resource", " sales", " production",
                                        " nutrition", " resource"};
  int kind = formulation.constraintKinds[i];
  return std::string(formulation.constraintNames[i].data()) +
         (kind >= 1 && kind <= 5 ? kKindWords[kind] : "");
}

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
    for (std::string_view event : {"certificate printed: ", "certificate recorded: "}) {
      for (std::size_t at = view.sinceAction.find(event); at != std::string::npos;
           at = view.sinceAction.find(event, at + 1)) {
        ReportNote(view.sinceAction.substr(at, view.sinceAction.find('\n', at) - at));
      }
    }
    action = Decide(view);
    return true;
  }

 private:
  [[noreturn]] static PlayAction Fault(const std::string& what) { ReportFault(what); }

  PlayAction Decide(const StudentView& view) {
    Window dialog = view.on.window;
    switch (view.on.target) {
      case ScreenTarget::kMessageBox:
        if (view.caption == "Tavrin" && view.text == "Correct Answer!") {
          ++correctAnswers_;
          return Act("answer OK");
        }
        if (view.caption == "Quit Module" && quitting_) return Act("answer OK");
        return Fault("unexpected message box \"" + view.caption + "\": " + view.text);
      case ScreenTarget::kMainWindow:
        return MainWindowAction();
      case ScreenTarget::kNothing:
        return Fault("nothing is on screen");
      default:
        break;
    }
    if (view.name == "WELCOME" || view.name == "1800") return Act("click 1");
    if (view.name == "MINMAX") return AnswerSense(dialog);
    if (view.name == "2601") return PickVariable(dialog);
    if (view.name == "1603") return EnterLine(dialog);
    if (view.name == "2500") return ChooseConstraint(dialog);
    if (view.name == "PROBCOMPLETE") return ProblemComplete(dialog);
    if (view.name == "8700") return ReadFormulation(dialog);
    return Fault("unexpected dialog " + view.name);
  }

  PlayAction MainWindowAction() {
    if (practiceDone_ < plan_.practiceProblems) {
      ++practiceDone_;
      return Act("menu Practice");
    }
    if (runsDone_ < plan_.certificationRuns) {
      ++runsDone_;
      return Act("menu Certification");
    }
    quitting_ = true;
    return Act("menu Quit");
  }

  // A new problem starts with the objective sense; the last one's answers are counted first.
  PlayAction AnswerSense(Window dialog) {
    if (!senseAsked_) {
      SettleProblem();
      problemCode_ = problemOrder[problemNumber];
      ReportNote("problem " + std::to_string(problemCode_) +
                 (mode == kCertificationMode ? " certification" : " practice"));
    }
    senseAsked_ = true;
    int sense = formulation.objectiveSense;
    if (IsButtonChecked(dialog, sense)) return Act("click 1");
    return Act("choose " + std::to_string(sense));
  }

  // One "Correct Answer!" for the sense, each variable, the end of the selection, the objective
  // function and each constraint.
  void SettleProblem() {
    int expected = 1 + formulation.variableCount + 1 + 1 + formulation.constraintCount;
    if (problemCode_ != 0 && correctAnswers_ != expected) {
      ReportFault("problem " + std::to_string(problemCode_) + ": " +
                  std::to_string(correctAnswers_) + " correct answers, expected " +
                  std::to_string(expected));
    }
    problemCode_ = 0;
    correctAnswers_ = 0;
  }

  // Each variable picked by "Ok" or by a double click, as the seed has it, then "Finished".
  PlayAction PickVariable(Window dialog) {
    if (DialogItemText(dialog, kPromptId) != "Select a variable from the following list:") {
      return Fault("variable panel says \"" + DialogItemText(dialog, kPromptId) + "\"");
    }
    std::vector<std::string> rows = DialogListRows(dialog);
    for (int k = 0; k < formulation.variableCount; ++k) {
      std::string description = formulation.variableDescriptions[k].data();
      if (!description.starts_with("the ")) description = "the " + description;
      auto row = std::find(rows.begin(), rows.end(), description);
      if (row == rows.end()) continue;
      std::string index = std::to_string(row - rows.begin());
      if (DialogListSelection(dialog) != row - rows.begin()) return Act("select " + index);
      return Act(random_() % 2 ? "click 1" : "dblclick " + index);
    }
    return Act("click 1660");
  }

  // The list offers exactly the constraints not yet entered; the student takes any of them.
  PlayAction ChooseConstraint(Window dialog) {
    std::vector<std::string> rows = DialogListRows(dialog);
    std::set<std::string> outstanding;
    for (int i = 0; i < formulation.constraintCount; ++i) {
      if (!problemProgress.constraintEntered[i])
        outstanding.insert(ConstraintName(i) + " constraint");
    }
    if (std::set<std::string>(rows.begin(), rows.end()) != outstanding) {
      return Fault("dialog 2500 does not offer the outstanding constraints");
    }
    if (chosenRow_ < 0 || chosenRow_ >= static_cast<int>(rows.size())) {
      chosenRow_ = static_cast<int>(random_() % rows.size());
    }
    std::string row = std::to_string(chosenRow_);
    if (DialogListSelection(dialog) != chosenRow_) return Act("select " + row);
    intended_ = rows[chosenRow_].substr(0, rows[chosenRow_].size() - 11);  // " constraint"
    chosenRow_ = -1;
    return Act(random_() % 2 ? "click 1" : "dblclick " + row);
  }

  // The line for the step the prompt names (the one chosen in dialog 2500, if it asked), typed
  // once into the empty line and sent with Enter.
  PlayAction EnterLine(Window dialog) {
    std::string prompt = DialogItemText(dialog, kPromptId);
    if (!DialogItemText(dialog, kEntryLineId).empty()) {
      return Fault("the entry line still holds \"" + DialogItemText(dialog, kEntryLineId) + "\"");
    }
    std::string intended = std::exchange(intended_, "");
    if (prompt == "Enter the Objective Function:") {
      return TypeAction(CorrectLine(-1, style_, random_), true);
    }
    if (!prompt.starts_with(kPromptStart) || !prompt.ends_with(kPromptEnd)) {
      return Fault("unexpected prompt \"" + prompt + "\"");
    }
    std::string named =
        prompt.substr(kPromptStart.size(), prompt.size() - kPromptStart.size() - kPromptEnd.size());
    if (!intended.empty() && named != intended) {
      return Fault("chose \"" + intended + "\" but the prompt asks for \"" + named + "\"");
    }
    for (int i = 0; i < formulation.constraintCount; ++i) {
      if (ConstraintName(i) != named) continue;
      if (problemProgress.constraintEntered[i]) return Fault("prompt for an entered constraint");
      return TypeAction(CorrectLine(i, style_, random_), true);
    }
    return Fault("the prompt names no constraint of the problem: \"" + prompt + "\"");
  }

  // The complete formulation viewed or declined, as the seed has it.
  PlayAction ProblemComplete(Window dialog) {
    std::string shown;
    for (Window control : UsableControls(dialog, ControlKind::kStatic)) {
      WindowView view{};
      if (ViewWindow(control, view)) shown += std::string(view.text);
    }
    if (shown.find("All constraints have been completed.") == std::string::npos) {
      return Fault("PROBCOMPLETE says \"" + shown + "\"");
    }
    SettleProblem();
    senseAsked_ = false;
    ReportNote("completed " + std::to_string(problemOrder[problemNumber]));
    bool view = random_() % 2 == 0;
    if (view) ReportNote("formulation asked for");
    return Act(view ? "click 6" : "click 7");
  }

  // Its heading, then the objective function and every constraint, each on the row under its own
  // heading, with its sense or relation and its variables.
  PlayAction ReadFormulation(Window dialog) {
    std::vector<std::string> rows = DialogListRows(dialog);
    auto rowUnder = [&rows](const std::string& heading) -> std::string {
      auto at = std::find(rows.begin(), rows.end(), heading);
      return at == rows.end() || at + 1 == rows.end() ? "" : *(at + 1);
    };
    if (rows.empty() || rows.front() != "This is the complete formulation of the problem:") {
      return Fault("dialog 8700 does not open with the complete formulation's heading");
    }
    std::string sense = formulation.objectiveSense == kSenseMaximize ? "Maximize" : "Minimize";
    if (rowUnder("Objective function:").find(sense) == std::string::npos) {
      return Fault("dialog 8700 lacks the objective function to " + sense);
    }
    for (int i = 0; i < formulation.constraintCount; ++i) {
      const FormulationRow& constraint = formulation.constraints[i];
      std::string row = rowUnder(ConstraintName(i) + " constraint:");
      char relation = static_cast<int>(constraint.relation) == kRelationAtLeast ? '\xC0' : '\xC1';
      bool whole = row.find(relation) != std::string::npos;
      for (int k = 0; k < formulation.variableCount; ++k) {
        if (constraint.coef[k] != 0.0) whole = whole && row.find(kLowerLetters[k]) != row.npos;
      }
      if (!whole) return Fault("dialog 8700 shows the " + ConstraintName(i) + " as: " + row);
    }
    ReportNote("formulation listed");
    return Act("click 1");
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

struct Case {
  const char* name;
  std::uint64_t seed;
  bool extended;
  Plan plan;
  int problemsCompleted;
  int certificatesPrinted;
};

void RunCase(const Case& c) {
  SCOPED_TRACE(c.name);
  auto student = std::make_shared<KnowingStudent>(c.plan, c.seed);
  Student driven;
  driven.next = [student](const StudentView& view, PlayAction& action) {
    return student->Next(view, action);
  };
  SessionSettings settings;
  settings.name = c.name;
  settings.seed = c.seed;
  settings.extended = c.extended;
  SessionReport report = RunStudentSession(settings, driven);
  ASSERT_TRUE(report.Clean()) << report.Describe();
  // The student quit at the end of its plan, and the lesson ended normally.
  EXPECT_TRUE(report.lessonEnded) << report.Describe();
  EXPECT_EQ(report.lessonExitCode, 0);
  EXPECT_EQ(report.NotesStartingWith("completed ").size(), std::size_t(c.problemsCompleted));
  EXPECT_EQ(report.NotesStartingWith("formulation listed").size(),
            report.NotesStartingWith("formulation asked for").size());
  std::vector<std::string> printed = report.NotesStartingWith("certificate printed: ");
  std::vector<std::string> recorded = report.NotesStartingWith("certificate recorded: ");
  EXPECT_EQ(printed.size(), std::size_t(c.certificatesPrinted));
  EXPECT_EQ(recorded.size(), std::size_t(c.certificatesPrinted));
  for (const std::string& page : printed) {
    EXPECT_TRUE(page.starts_with("Ann, lesson 29/230, series 1, passed ")) << page;
  }
  for (const std::string& record : recorded) {
    EXPECT_TRUE(record.starts_with("Ann, series 1, ")) << record;
  }
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
  for (std::uint64_t seed : {1, 2, 5, 9, 1234, 77777}) {
    std::string name = "practice-seed-" + std::to_string(seed);
    RunCase({name.c_str(), seed, false, {5, 0}, 5, 0});
  }
}

TEST(KnowingStudent, PassesCertificationAndIsCertified) {
  const Case cases[] = {
      {"certification-seed-5", 5, false, {0, 1}, 1, 1},
      {"certification-seed-31", 31, false, {1, 1}, 2, 1},
      // The extended setting: three problems in one run, one certificate.
      {"extended-seed-8", 8, true, {0, 1}, 3, 1},
  };
  for (const Case& c : cases) RunCase(c);
}

// The verdict that a session ran clean rests on the driver telling a session that crashes or
// hangs apart, with what the student did last.
TEST(StudentDriver, TellsASessionThatCrashesOrHangsWithItsLastAction) {
  struct Case {
    const char* name;
    void (*afterWelcome)();
    bool killedByAlarm;
  };
  const Case cases[] = {
      {"crash", [] { raise(SIGSEGV); }, false},
      {"hang", [] { pause(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Student student;
    student.next = [afterWelcome = c.afterWelcome](const StudentView& view, PlayAction& action) {
      if (view.actionsTaken == 1) afterWelcome();
      action = Act("click 1");
      return true;
    };
    SessionSettings settings;
    settings.name = c.name;
    settings.timeoutSeconds = 1;
    SessionReport report = RunStudentSession(settings, student);
    EXPECT_FALSE(report.Clean());
    EXPECT_EQ(!report.exited && report.signal == SIGALRM, c.killedByAlarm) << report.Describe();
    EXPECT_EQ(report.actions, 1);
    EXPECT_NE(report.transcriptTail.find("> click 1\nend WELCOME -> 0\n"), std::string::npos)
        << report.Describe();
  }
}

}  // namespace
