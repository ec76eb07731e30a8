// A student who does anything at all that the screen allows: menu items, buttons, radio buttons,
// list picks and double clicks, keys, lines typed into whatever has the focus (right answers,
// near misses, valid-looking nonsense, random bytes, over-long input, numbers no double holds),
// hints, and quit questions answered both ways. After every action, and between the keystrokes of
// every line, the lesson's invariants must hold: the strikes within the allowance, the problem
// number and the entry step in range, the progress flags and indexes valid, at most one panel
// shown and it the active one, and the menu bar in the state of the lesson flow. The lesson must
// never crash, hang or trip a sanitizer.
//
// The budget: TAVRIN_RANDOM_STUDENT_ACTIONS actions in all (10000 unless set), spread over
// TAVRIN_RANDOM_STUDENT_SEEDS seeds (20 unless set).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "formulation_model.h"
#include "lesson_state.h"
#include "main_window.h"
#include "student_driver.h"
#include "transcript.h"

namespace {

constexpr std::string_view kQuitLessonCaption = "Quit Module";
constexpr int kEntryLineId = 1610;
constexpr int kPromptId = 1650;

// Dialogs after which "&Quit" is grey again during a problem: the hint, solution and explanation
// texts grey it while they are shown and give back only "&Options" and "&Help".
constexpr std::string_view kHelpDialogs[] = {"1700", "7700", "9700", "2100"};
// Dialogs whose right move is "Ok".
constexpr std::string_view kOkDialogs[] = {"2000", "2500", "1700", "1800",
                                           "7700", "8700", "9700", "2620"};

// clang-format off
constexpr std::string_view kKeys[] = {
    "Enter", "Escape", "Tab", "Space", "Backspace", "Delete", "Home", "End", "Left", "Right", "Up",
    "Down", "PageUp", "PageDown", "F1", "F2", "F3", "F5", "P", "Q", "O", "K", "F", "S", "5"};
constexpr std::string_view kMnemonics = "PCOHQXSFTEVUKY";
constexpr std::string_view kLetters = "pqrstuPQRSTUvV";
constexpr std::string_view kRelations[] = {"\xC0", "\xC1", "\x82", "=", "<", ">", "<=", ""};
// Numbers no double holds, no number at all, or at the edge; the entry line's keyboard drops the
// letters ("1e400" arrives as "1400").
constexpr std::string_view kHostileNumbers[] = {
    "1e400", "9999999999999999999999", "99999999999999999999999999999999999999", "-0",
    "0.0000000000000000000001", ".", "-.", "1.2.3", "--5", "0", "00000000000000000001",
    "179769313486231570000000000000000000000000000000000000000000000000000000000",
    "4.9e-324", "-1", "1.", ".5", "123456789012345678901234567890.5"};
// clang-format on

class RandomStudent {
 public:
  explicit RandomStudent(std::uint64_t seed) : random_(seed) {
    style_ = {Chance(50), Chance(50), Chance(50), Chance(75)};
    purpose_ = 20 + Below(70);
  }

  // ---- The invariants, at every idle moment ----

  void Observe(const StudentView& view) {
    if (seriesOver == 1 ||
        (view.on.target == ScreenTarget::kMessageBox && view.caption == kQuitLessonCaption)) {
      quitMayBeEnabled_ = false;
    }
    for (std::string_view help : kHelpDialogs) {
      if (view.name == help) quitMayBeEnabled_ = false;
    }
    CountWhatIsSeen(view);
    CheckFlow();
    CheckProgress(view);
    CheckPanels();
    CheckMenuBar();
  }

  bool Next(const StudentView& view, PlayAction& action) {
    for (std::string_view event :
         {"certificate printed", "certificate recorded", "calculator started", "help opened"}) {
      if (view.sinceAction.find(event) != std::string::npos) ++counts_[std::string(event)];
    }
    if (view.on.target == ScreenTarget::kNothing) Fault("nothing is on screen");
    if (view.on.target == ScreenTarget::kMessageBox) {
      action = AnswerBox(view);
    } else if (view.on.target == ScreenTarget::kMainWindow) {
      action = MainWindowAction();
    } else {
      action = ActInDialog(view);
    }
    return true;
  }

  void Finish() {
    for (const auto& [name, count] : counts_) {
      ReportNote("count " + name + " " + std::to_string(count));
    }
  }

 private:
  bool Chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
  int Below(std::size_t n) { return n == 0 ? 0 : static_cast<int>(random_() % n); }
  template <typename T, std::size_t N>
  T Any(const T (&items)[N]) {
    return items[Below(N)];
  }

  [[noreturn]] static void Fault(const std::string& what) { ReportFault(what); }

  void CountWhatIsSeen(const StudentView& view) {
    if (view.typing) return;
    if (view.on.target == ScreenTarget::kMessageBox) {
      if (view.on.window != lastBox_) ++counts_["box " + view.text.substr(0, 40)];
      lastBox_ = view.on.window;
    } else if (!view.name.empty() && view.on.window != lastDialog_) {
      ++counts_["dialog " + view.name];
      lastDialog_ = view.on.window;
    }
  }

  // A certification run never shows more strikes than it allows: no adder counts one once the
  // allowance is used up, the variable panel's "Finished" included.
  void CheckFlow() {
    if (mode != kPracticeMode && mode != kCertificationMode) Fault("mode " + std::to_string(mode));
    if (mode == kCertificationMode && strikes > strikesAllowed) {
      Fault("strikes " + std::to_string(strikes) + " above the allowance " +
            std::to_string(strikesAllowed) + " (from " + std::to_string(lastStrikes_) + ")");
    }
    lastStrikes_ = strikes;
    if (mode == kPracticeMode && seriesOver == 0 && strikes != 0) {
      Fault("a practice problem counts strikes");
    }
    if (problemNumber < 0 || problemNumber >= kProblemCount) {
      Fault("problem number " + std::to_string(problemNumber));
    }
  }

  void CheckProgress(const StudentView& view) {
    const ProblemProgress& p = problemProgress;
    int count = formulation.constraintCount;
    if (p.entryStep < 0 || p.entryStep > count + 1) {
      Fault("entry step " + std::to_string(p.entryStep) + " of " + std::to_string(count));
    }
    for (int flag : p.constraintEntered) {
      if (flag != 0 && flag != 1) Fault("constraintEntered flag " + std::to_string(flag));
    }
    // The chosen constraint is set by the entry panel's first prompt of each problem, once the
    // variable list it opens first is closed; until then it may still be the last problem's.
    bool chosenValid = p.chosenConstraint == kNothingToChoose || p.chosenConstraint == -1 ||
                       (p.chosenConstraint >= 0 && p.chosenConstraint < count);
    bool chosenSet = p.entryStep >= 2 || (p.entryStep == 1 && view.name != "1800");
    if (chosenSet && !chosenValid) {
      Fault("chosen constraint " + std::to_string(p.chosenConstraint) + " of " +
            std::to_string(count));
    }
    // Rows of topicList not written for this problem may hold the last problem's constraints, so
    // every entry must be a valid index into the constraint arrays or the objective function.
    for (int topic : p.topicList) {
      if (topic < -1 || topic >= kMaxConstraints) Fault("topic " + std::to_string(topic));
    }
  }

  void CheckPanels() {
    int shown = 0;
    Window visible = kNoWindow;
    for (Window panel : {minMaxPanel, variablePanel, entryPanel}) {
      if (panel != kNoWindow && IsWindow(panel) && IsWindowVisible(panel)) {
        ++shown;
        visible = panel;
      }
    }
    if (shown > 1) Fault(std::to_string(shown) + " panels shown at once");
    if (shown <= 1 && activePanel != visible) {
      auto name = [](Window panel) { return panel == kNoWindow ? "none" : DialogName(panel); };
      Fault("the active panel is " + name(activePanel) + ", the one shown " + name(visible));
    }
  }

  // Ready: the whole menu bar. A problem running: "&Practice" and "&Certification" grey,
  // "&Options" and "&Help" enabled, "&Quit" grey unless Print Certificate or Certification Series
  // gave it back. Boxes and dialogs change it while they are up.
  void CheckMenuBar() {
    if (TopModal() != kNoWindow || mainWindow == kNoWindow || !IsWindow(mainWindow)) return;
    std::array<bool, kMenuBarItems> expected{true, true, true, true, true};
    if (seriesOver == 0) expected = {false, false, true, true, false};
    for (int position = 0; position < kMenuBarItems; ++position) {
      bool enabled = IsMenuPositionEnabled(mainWindow, position);
      if (enabled != expected[position] &&
          !(position == kMenuQuit && seriesOver == 0 && quitMayBeEnabled_)) {
        Fault("menu position " + std::to_string(position) + (enabled ? " enabled" : " grey") +
              (seriesOver ? " when ready" : " during a problem"));
      }
    }
  }

  // Leaving the lesson ends the session, so it is chosen seldom.
  PlayAction AnswerBox(const StudentView& view) {
    std::uint32_t buttons = view.boxStyle & kBoxButtonsMask;
    if (buttons == kBoxYesNo) return Act(Chance(25) ? "answer Yes" : "answer No");
    if (buttons != kBoxOkCancel) return Act("answer OK");
    return Act(Chance(view.caption == kQuitLessonCaption ? 4 : 50) ? "answer OK" : "answer Cancel");
  }

  // ---- The main window and its menu ----

  // The menu commands a click would reach now, with a weight each.
  std::vector<std::pair<int, int>> EnabledCommands() {
    std::vector<std::pair<int, int>> commands;
    if (!IsWindowEnabled(mainWindow)) return commands;
    auto add = [&commands](const MenuItemView& item) {
      commands.push_back({item.command, item.command == 110 ? 30 : item.command == 115 ? 20 : 3});
    };
    std::array<MenuItemView, 16> bar{};
    int count = ViewMenuBar(mainWindow, bar);
    for (int position = 0; position < count; ++position) {
      if (!IsMenuPositionEnabled(mainWindow, position) || !bar[position].enabled) continue;
      std::array<MenuItemView, 16> popup{};
      int items = ViewMenuPopup(mainWindow, position, popup);
      if (items == 0 && bar[position].command != 0) add(bar[position]);
      for (int i = 0; i < items; ++i) {
        if (popup[i].enabled && !popup[i].separator && !popup[i].rightText && popup[i].command) {
          add(popup[i]);
        }
      }
    }
    return commands;
  }

  PlayAction MenuChoice(const std::vector<std::pair<int, int>>& commands) {
    int total = 0;
    for (const auto& command : commands) total += command.second;
    int pick = Below(static_cast<std::size_t>(total));
    int chosen = commands.front().first;
    for (const auto& [command, weight] : commands) {
      if (pick < weight) {
        chosen = command;
        break;
      }
      pick -= weight;
    }
    if (seriesOver == 0 && (chosen == kCmdPrintCertificate || chosen == kCmdCertificationSeries)) {
      quitMayBeEnabled_ = true;
    }
    return Act("menu " + std::to_string(chosen));
  }

  bool ProblemBoxClickable() {
    return problemBox != kNoWindow && IsWindowVisible(problemBox) && ListRowCount(problemBox) > 0 &&
           IsWindowEnabled(mainWindow);
  }

  PlayAction MainWindowAction() {
    std::vector<std::pair<int, int>> commands = EnabledCommands();
    int roll = Below(100);
    if (!commands.empty() && roll < 75) return MenuChoice(commands);
    if (roll < 80 && ProblemBoxClickable()) return Act("click-problem-box");
    if (roll < 81 && IsWindowEnabled(mainWindow)) return Act("close");
    return RandomKey();
  }

  PlayAction RandomKey() {
    std::string key(Any(kKeys));
    int roll = Below(100);
    if (roll < 10) return Act("key Ctrl+" + key);
    if (roll < 20) return Act("key Alt+" + std::string(1, kMnemonics[Below(kMnemonics.size())]));
    if (roll < 25) return Act("key Shift+Tab");
    return Act("key " + key);
  }

  // ---- Dialogs and panels: now and then the student knows what to do ----

  // The step's right move, so that sessions get deep into problems and runs; false when the
  // student has no idea here.
  bool PurposefulAction(const StudentView& view, PlayAction& action) {
    Window dialog = view.on.window;
    if (view.name == "MINMAX") {
      int sense = formulation.objectiveSense;
      action = Act(IsButtonChecked(dialog, sense) ? "click 1" : "choose " + std::to_string(sense));
    } else if (view.name == "2601") {
      action = PickVariable(dialog);
    } else if (view.name == "1603") {
      Window focus = FocusInside(dialog);
      if (focus == kNoWindow || GetControlId(focus) != kEntryLineId) return false;
      action = DialogItemText(dialog, kEntryLineId).empty()
                   ? TypeAction(CorrectLine(StepConstraint(), style_, random_), true)
                   : Act("clear");
    } else if (view.name == "PROBCOMPLETE") {
      action = Act(Chance(50) ? "click 6" : "click 7");
    } else if (std::find(std::begin(kOkDialogs), std::end(kOkDialogs), view.name) !=
               std::end(kOkDialogs)) {
      action = Act("click 1");
    } else {
      return false;
    }
    return true;
  }

  PlayAction PickVariable(Window dialog) {
    std::vector<std::string> rows = DialogListRows(dialog);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
      for (int k = 0; k < formulation.variableCount; ++k) {
        std::string description = formulation.variableDescriptions[k].data();
        if (rows[row] != description && rows[row] != "the " + description) continue;
        return Act(DialogListSelection(dialog) == row ? "click 1"
                                                      : "select " + std::to_string(row));
      }
    }
    bool listingUnpicked =
        DialogItemText(dialog, kPromptId) == "These variables were not selected:";
    return Act(listingUnpicked ? "click 1" : "click 1660");
  }

  PlayAction ActInDialog(const StudentView& view) {
    Window dialog = view.on.window;
    if (!IsWindowEnabled(dialog)) Fault("dialog " + view.name + " is on screen but takes no input");
    PlayAction action;
    if (Chance(purpose_) && PurposefulAction(view, action)) return action;
    std::vector<Window> buttons = UsableControls(dialog, ControlKind::kPushButton);
    std::vector<Window> radios = UsableControls(dialog, ControlKind::kRadioButton);
    std::vector<Window> lists = UsableControls(dialog, ControlKind::kListBox);
    std::size_t rows = lists.empty() ? 0 : static_cast<std::size_t>(ListRowCount(lists.front()));
    Window focus = FocusInside(dialog);
    bool editFocused = focus != kNoWindow && GetControlId(focus) == kEntryLineId;
    std::vector<std::pair<int, int>> commands;
    if (view.on.target == ScreenTarget::kPanel) commands = EnabledCommands();
    auto id = [this](const std::vector<Window>& controls) {
      return std::to_string(GetControlId(controls[Below(controls.size())]));
    };
    for (;;) {
      int roll = Below(100);
      if (roll < 30 && !buttons.empty()) return Act("click " + id(buttons));
      if (roll < 36 && !radios.empty()) return Act("choose " + id(radios));
      if (roll < 46 && rows > 0) return Act("select " + std::to_string(Below(rows)));
      if (roll < 52 && rows > 0) return Act("dblclick " + std::to_string(Below(rows)));
      if (roll < 64) return RandomKey();
      if (roll < 88 && editFocused) return TypeSomething();
      if (roll < 90 && focus != kNoWindow && IsWindowEnabled(focus)) {
        return TypeAction(RandomBytes(1, 4), false, false);
      }
      if (roll < 92 && editFocused) return Act("clear");
      if (roll < 97 && !commands.empty()) return MenuChoice(commands);
      if (view.on.target == ScreenTarget::kPanel && ProblemBoxClickable()) {
        return Act("click-problem-box");
      }
    }
  }

  // ---- Lines to type ----

  std::string RandomBytes(int shortest, int longest) {
    std::string bytes(static_cast<std::size_t>(shortest + Below(longest - shortest + 1)), ' ');
    for (char& c : bytes) c = static_cast<char>(1 + Below(255));
    return bytes;
  }

  std::string RandomNumber() {
    int kind = Below(4);
    if (kind == 0) return std::to_string(Below(1000));
    if (kind == 1) return std::to_string(Below(100)) + "." + std::to_string(Below(1000));
    if (kind == 2) return std::string(Any(kHostileNumbers));
    return std::to_string(Below(100000));
  }

  // Terms, a relation and a right-hand side of random numbers and letters.
  std::string ValidLookingLine() {
    std::string line;
    for (int t = 0, terms = 1 + Below(5); t < terms; ++t) {
      if (t > 0) line += Chance(80) ? " + " : " - ";
      if (Chance(70)) line += RandomNumber();
      line += kLetters[Below(kLetters.size())];
    }
    std::string_view relation = Any(kRelations);
    if (!relation.empty()) line += " " + std::string(relation) + " " + RandomNumber();
    return line;
  }

  int StepConstraint() {
    return problemProgress.entryStep <= 1 ? -1 : problemProgress.chosenConstraint;
  }

  // The right line with one thing wrong in it: a digit changed, the relation turned round, a
  // piece cut out or a term added.
  std::string NearMiss() {
    std::string line = CorrectLine(StepConstraint(), style_, random_);
    if (line.empty()) return line;
    std::size_t at = static_cast<std::size_t>(Below(line.size()));
    int kind = Below(4);
    if (kind == 2) return line.erase(at, 1 + static_cast<std::size_t>(Below(4)));
    if (kind == 3) return line.insert(at, " + 7t ");
    for (std::size_t i = kind == 0 ? at : 0; i < line.size(); ++i) {
      if (kind == 0 && line[i] >= '0' && line[i] <= '9') {
        line[i] = static_cast<char>('0' + (line[i] - '0' + 1 + Below(9)) % 10);
        break;
      }
      if (kind == 1 && (line[i] == '\xC0' || line[i] == '\xC1')) {
        line[i] = line[i] == '\xC0' ? '\xC1' : '\xC0';
      }
    }
    return line;
  }

  std::string OverlongLine() {
    if (Chance(50)) return std::string(static_cast<std::size_t>(21 + Below(60)), '9') + "q";
    std::string line;
    while (line.size() < 120) line += std::to_string(Below(10)) + "p + ";
    return line;
  }

  PlayAction TypeSomething() {
    bool enter = Chance(70);
    int roll = Below(100);
    if (roll < 30) return TypeAction(CorrectLine(StepConstraint(), style_, random_), enter);
    if (roll < 45) return TypeAction(NearMiss(), enter);
    if (roll < 65) return TypeAction(ValidLookingLine(), enter);
    if (roll < 77) return TypeAction(RandomBytes(1, 40), enter, false);
    if (roll < 87) return TypeAction(OverlongLine(), enter);
    if (roll < 94) {
      std::string number(Any(kHostileNumbers));
      return TypeAction(number + "p + " + number + "q \xC0 " + number, enter);
    }
    return TypeAction(std::string(static_cast<std::size_t>(Below(5)), ' '), true);
  }

  std::mt19937_64 random_;
  LineStyle style_{};
  int purpose_ = 0;  // percent of the actions in dialogs that are the step's right move
  bool quitMayBeEnabled_ = false;
  int lastStrikes_ = 0;
  Window lastBox_ = kNoWindow;
  Window lastDialog_ = kNoWindow;
  std::map<std::string, int> counts_;
};

// What the sessions of all seeds went through, summed, for the test's record.
using Totals = std::map<std::string, int>;

// One seed's budget of actions: a session, and a fresh one (its own seed) whenever the student
// quit the lesson before the budget was spent.
void RunSeed(std::uint64_t seed, int actions, Totals& totals) {
  for (std::uint64_t round = 0; actions > 0; ++round) {
    SessionSettings settings;
    settings.name = "random";
    settings.seed = seed * 1000 + round;
    settings.extended = seed % 4 == 0;
    settings.maxActions = actions;
    settings.strictTyping = false;
    settings.timeoutSeconds = 60 + actions / 20;
    auto student = std::make_shared<RandomStudent>(settings.seed);
    Student driven;
    driven.observe = [student](const StudentView& view) { student->Observe(view); };
    driven.next = [student](const StudentView& view, PlayAction& action) {
      return student->Next(view, action);
    };
    driven.finish = [student] { student->Finish(); };
    SessionReport report = RunStudentSession(settings, driven);
    ASSERT_TRUE(report.Clean()) << "seed " << settings.seed << "\n" << report.Describe();
    ASSERT_GT(report.actions, 0) << report.Describe();
    actions -= report.actions;
    totals["actions"] += report.actions;
    ++totals["sessions"];
    if (report.lessonEnded) ++totals["sessions ended by quitting the lesson"];
    for (const std::string& note : report.NotesStartingWith("count ")) {
      std::size_t blank = note.rfind(' ');
      int count = 0;
      std::from_chars(note.data() + blank + 1, note.data() + note.size(), count);
      totals[note.substr(0, blank)] += count;
    }
  }
}

int EnvironmentNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  int value = text == nullptr ? 0 : std::atoi(text);
  return value > 0 ? value : fallback;
}

TEST(RandomStudent, KeepsTheLessonsInvariantsWhateverTheStudentDoes) {
  int seeds = EnvironmentNumber("TAVRIN_RANDOM_STUDENT_SEEDS", 20);
  int actions = EnvironmentNumber("TAVRIN_RANDOM_STUDENT_ACTIONS", 10000);
  Totals totals;
  for (int seed = 1; seed <= seeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RunSeed(static_cast<std::uint64_t>(seed), (actions + seeds - 1) / seeds, totals);
  }
  std::string summary;
  for (const auto& [name, count] : totals) summary += name + ": " + std::to_string(count) + "; ";
  RecordProperty("summary", summary);
  std::printf("%s\n", summary.c_str());
  // The student got deep into the lesson: through whole problems and passed runs.
  EXPECT_GT(totals["dialog PROBCOMPLETE"], 0) << summary;
  EXPECT_GT(totals["certificate recorded"], 0) << summary;
  EXPECT_GE(totals["actions"], actions) << summary;
}

}  // namespace
