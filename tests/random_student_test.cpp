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
#include <signal.h>
#include <unistd.h>

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

constexpr int kDefaultActions = 10000;
constexpr int kDefaultSeeds = 20;

constexpr std::string_view kQuitLessonCaption = "Quit Module";
constexpr int kEntryLineId = 1610;
constexpr int kPromptId = 1650;
constexpr int kFinishedId = 1660;
constexpr std::string_view kUnpickedVariablesPrompt = "These variables were not selected:";

// Dialogs after which "&Quit" is grey again during a problem: the hint, solution and explanation
// texts grey it while they are shown and give back only "&Options" and "&Help".
constexpr std::string_view kHelpDialogs[] = {"1700", "7700", "9700", "2100"};

std::string PanelName(Window panel) {
  return panel == kNoWindow ? "none" : DialogName(panel);
}

int EnvironmentNumber(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  int value = std::atoi(text);
  return value > 0 ? value : fallback;
}

// ---- Lines a random student types -------------------------------------------------------------

constexpr std::string_view kLetters = "pqrstuPQRSTUvV";
constexpr std::string_view kRelations[] = {"\xC0", "\xC1", "\x82", "=", "<", ">", "<=", ""};
// Numbers no double holds, no number at all, or at the edge; the entry line's keyboard drops the
// letters ("1e400" arrives as "1400").
// clang-format off
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
    if (seriesOver == 1) quitMayBeEnabled_ = false;
    if (view.on.target == ScreenTarget::kMessageBox && view.caption == kQuitLessonCaption) {
      quitMayBeEnabled_ = false;
    }
    for (std::string_view help : kHelpDialogs) {
      if (view.name == help) quitMayBeEnabled_ = false;
    }
    CountWhatIsSeen(view);
    CheckFlow(view);
    CheckProgress(view);
    CheckPanels();
    CheckMenuBar();
  }

  // ---- The actions ----

  bool Next(const StudentView& view, PlayAction& action) {
    CountEvents(view);
    switch (view.on.target) {
      case ScreenTarget::kMessageBox:
        action = AnswerBox(view);
        return true;
      case ScreenTarget::kModalDialog:
      case ScreenTarget::kPanel:
        return ActInDialog(view, action);
      case ScreenTarget::kMainWindow:
        return ActInMainWindow(action);
      case ScreenTarget::kNothing:
        break;
    }
    ReportFault("nothing is on screen");
    return false;
  }

  void Finish() {
    for (const auto& [name, count] : counts_) {
      ReportNote("count " + name + " " + std::to_string(count));
    }
  }

 private:
  bool Chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n)); }

  void Fault(const std::string& what) {
    // One report per kind of fault is enough to find it; the session goes on.
    if (faultsSeen_[what]++ == 0) ReportFault(what);
  }

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

  // Events the student noticed since its last action; Next sees each action's transcript once.
  void CountEvents(const StudentView& view) {
    for (std::string_view event :
         {"certificate printed", "certificate recorded", "calculator started", "help opened"}) {
      if (view.sinceAction.find(event) != std::string::npos) ++counts_[std::string(event)];
    }
  }

  void CheckFlow(const StudentView& view) {
    if (mode != kPracticeMode && mode != kCertificationMode) Fault("mode " + std::to_string(mode));
    if (mode == kCertificationMode) CheckStrikes(view);
    lastStrikes_ = strikes;
    if (mode == kPracticeMode && seriesOver == 0 && strikes != 0) {
      Fault("a practice problem counts strikes");
    }
    if (problemNumber < 0 || problemNumber >= kProblemCount) {
      Fault("problem number " + std::to_string(problemNumber));
    }
  }

  // A certification run never shows more strikes than it allows: no adder counts one once the
  // allowance is used up, the variable panel's "Finished" included.
  void CheckStrikes(const StudentView& /*view*/) {
    if (strikes > strikesAllowed) {
      Fault("strikes " + std::to_string(strikes) + " above the allowance " +
            std::to_string(strikesAllowed) + " (from " + std::to_string(lastStrikes_) + ")");
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
      Fault("the active panel is " + PanelName(activePanel) + ", the one shown " +
            PanelName(visible));
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
      bool allowed = enabled == expected[position] ||
                     (position == kMenuQuit && seriesOver == 0 && quitMayBeEnabled_);
      if (!allowed) {
        Fault("menu position " + std::to_string(position) + (enabled ? " enabled" : " grey") +
              (seriesOver ? " when ready" : " during a problem"));
      }
    }
  }

  PlayAction AnswerBox(const StudentView& view) {
    switch (view.boxStyle & kBoxButtonsMask) {
      case kBoxOkCancel:
        // Leaving the lesson ends the session, so it is chosen seldom.
        return AnswerAction(Chance(view.caption == kQuitLessonCaption ? 4 : 50) ? kIdOk
                                                                                : kIdCancel);
      case kBoxYesNo:
        return AnswerAction(Chance(25) ? kIdYes : kIdNo);
      default:
        return AnswerAction(kIdOk);
    }
  }

  // ---- The main window and its menu ----

  // The menu commands a click would reach now, with a weight each.
  std::vector<std::pair<int, int>> EnabledCommands() {
    std::vector<std::pair<int, int>> commands;
    if (!IsWindowEnabled(mainWindow)) return commands;
    std::array<MenuItemView, 16> bar{};
    int count = ViewMenuBar(mainWindow, bar);
    for (int position = 0; position < count; ++position) {
      if (!IsMenuPositionEnabled(mainWindow, position) || !bar[position].enabled) continue;
      std::array<MenuItemView, 16> popup{};
      int items = ViewMenuPopup(mainWindow, position, popup);
      if (items == 0 && bar[position].command != 0) commands.push_back(Weighted(bar[position]));
      for (int i = 0; i < items; ++i) {
        if (popup[i].enabled && !popup[i].separator && !popup[i].rightText &&
            popup[i].command != 0) {
          commands.push_back(Weighted(popup[i]));
        }
      }
    }
    return commands;
  }

  static std::pair<int, int> Weighted(const MenuItemView& item) {
    switch (item.command) {
      case 110:
        return {item.command, 30};
      case 115:
        return {item.command, 20};
      default:
        return {item.command, 3};
    }
  }

  PlayAction MenuChoice(const std::vector<std::pair<int, int>>& commands) {
    int total = 0;
    for (const auto& command : commands) total += command.second;
    int pick = Below(total);
    for (const auto& [command, weight] : commands) {
      if (pick < weight) {
        if (seriesOver == 0 &&
            (command == kCmdPrintCertificate || command == kCmdCertificationSeries)) {
          quitMayBeEnabled_ = true;
        }
        return MenuAction(command);
      }
      pick -= weight;
    }
    return MenuAction(commands.front().first);
  }

  bool ProblemBoxClickable() {
    return problemBox != kNoWindow && IsWindowVisible(problemBox) && ListRowCount(problemBox) > 0 &&
           IsWindowEnabled(mainWindow);
  }

  bool ActInMainWindow(PlayAction& action) {
    std::vector<std::pair<int, int>> commands = EnabledCommands();
    int roll = Below(100);
    if (!commands.empty() && roll < 75) {
      action = MenuChoice(commands);
    } else if (roll < 80 && ProblemBoxClickable()) {
      action = ClickProblemBoxAction();
    } else if (roll < 81 && IsWindowEnabled(mainWindow)) {
      action = CloseAction();
    } else {
      action = RandomKey();
    }
    return true;
  }

  // ---- Keys ----

  PlayAction RandomKey() {
    static constexpr int kKeys[] = {kKeyEnter,  kKeyEscape, kKeyTab,    kKeySpace,    kKeyBackspace,
                                    kKeyDelete, kKeyHome,   kKeyEnd,    kKeyLeft,     kKeyRight,
                                    kKeyUp,     kKeyDown,   kKeyPageUp, kKeyPageDown, kKeyF1,
                                    kKeyF2,     kKeyF3,     kKeyF5,     'P',          'Q',
                                    'O',        'K',        'F',        'S',          '5'};
    int key = kKeys[Below(static_cast<int>(std::size(kKeys)))];
    int roll = Below(100);
    if (roll < 10) return KeyAction(key, kModCtrl);
    if (roll < 20) {
      static constexpr char kMnemonics[] = "PCOHQXSFTEVUKY";
      return KeyAction(kMnemonics[Below(static_cast<int>(sizeof(kMnemonics) - 1))], kModAlt);
    }
    if (roll < 25) return KeyAction(kKeyTab, kModShift);
    return KeyAction(key);
  }

  // ---- Dialogs and panels: now and then the student knows what to do ----

  // The step's right move, so that sessions get deep into problems and runs; false when the
  // student has no idea here.
  bool PurposefulAction(const StudentView& view, PlayAction& action) {
    Window dialog = view.on.window;
    if (view.name == "MINMAX") {
      int sense = formulation.objectiveSense;
      action = IsButtonChecked(dialog, sense) ? ClickAction(kIdOk) : ChooseAction(sense);
    } else if (view.name == "2601") {
      action = PickVariable(dialog);
    } else if (view.name == "1603") {
      Window focus = FocusInside(dialog);
      if (focus == kNoWindow || GetControlId(focus) != kEntryLineId) return false;
      if (!DialogItemText(dialog, kEntryLineId).empty()) {
        action = ClearAction();
      } else {
        action = TypeLineAction(CorrectLine(StepConstraint(), style_, random_), true);
      }
    } else if (view.name == "PROBCOMPLETE") {
      action = ClickAction(Chance(50) ? kIdYes : kIdNo);
    } else if (view.name == "2000" || view.name == "2500" || view.name == "1700" ||
               view.name == "1800" || view.name == "7700" || view.name == "8700" ||
               view.name == "9700" || view.name == "2620") {
      action = ClickAction(kIdOk);
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
        return DialogListSelection(dialog) == row ? ClickAction(kIdOk) : SelectAction(row);
      }
    }
    return ClickAction(DialogItemText(dialog, kPromptId) == kUnpickedVariablesPrompt ? kIdOk
                                                                                     : kFinishedId);
  }

  bool ActInDialog(const StudentView& view, PlayAction& action) {
    Window dialog = view.on.window;
    if (!IsWindowEnabled(dialog)) {
      Fault("dialog " + view.name + " is on screen but takes no input");
      return false;
    }
    if (Chance(purpose_) && PurposefulAction(view, action)) return true;
    std::vector<Window> buttons = UsableControls(dialog, ControlKind::kPushButton);
    std::vector<Window> radios = UsableControls(dialog, ControlKind::kRadioButton);
    std::vector<Window> lists = UsableControls(dialog, ControlKind::kListBox);
    int rows = lists.empty() ? 0 : ListRowCount(lists.front());
    Window focus = FocusInside(dialog);
    bool editFocused = focus != kNoWindow && GetControlId(focus) == kEntryLineId;
    std::vector<std::pair<int, int>> commands;
    if (view.on.target == ScreenTarget::kPanel) commands = EnabledCommands();

    for (;;) {
      int roll = Below(100);
      if (roll < 30 && !buttons.empty()) {
        action = ClickAction(GetControlId(buttons[Below(static_cast<int>(buttons.size()))]));
      } else if (roll < 36 && !radios.empty()) {
        action = ChooseAction(GetControlId(radios[Below(static_cast<int>(radios.size()))]));
      } else if (roll < 46 && rows > 0) {
        action = SelectAction(Below(rows));
      } else if (roll < 52 && rows > 0) {
        action = DoubleClickAction(Below(rows));
      } else if (roll < 64) {
        action = RandomKey();
      } else if (roll < 88 && editFocused) {
        action = TypeSomething();
      } else if (roll < 90 && focus != kNoWindow && IsWindowEnabled(focus)) {
        action = TypeBytesAction(RandomBytes(1, 4), false);
      } else if (roll < 92 && editFocused) {
        action = ClearAction();
      } else if (roll < 97 && !commands.empty()) {
        action = MenuChoice(commands);
      } else if (roll < 100 && view.on.target == ScreenTarget::kPanel && ProblemBoxClickable()) {
        action = ClickProblemBoxAction();
      } else {
        continue;
      }
      return true;
    }
  }

  std::string RandomBytes(int shortest, int longest) {
    std::string bytes;
    int length = shortest + Below(longest - shortest + 1);
    for (int i = 0; i < length; ++i) bytes += static_cast<char>(1 + Below(255));
    return bytes;
  }

  std::string RandomNumber() {
    switch (Below(4)) {
      case 0:
        return std::to_string(Below(1000));
      case 1:
        return std::to_string(Below(100)) + "." + std::to_string(Below(1000));
      case 2:
        return std::string(kHostileNumbers[Below(static_cast<int>(std::size(kHostileNumbers)))]);
      default:
        return std::to_string(Below(100000));
    }
  }

  // Terms, a relation and a right-hand side of random numbers and letters.
  std::string ValidLookingLine() {
    std::string line;
    int terms = 1 + Below(5);
    for (int t = 0; t < terms; ++t) {
      if (t > 0) line += Chance(80) ? " + " : " - ";
      if (Chance(70)) line += RandomNumber();
      line += kLetters[Below(static_cast<int>(kLetters.size()))];
    }
    std::string_view relation = kRelations[Below(static_cast<int>(std::size(kRelations)))];
    if (!relation.empty()) line += " " + std::string(relation) + " " + RandomNumber();
    return line;
  }

  int StepConstraint() {
    return problemProgress.entryStep <= 1 ? -1 : problemProgress.chosenConstraint;
  }

  // The right line with one thing wrong in it.
  std::string NearMiss() {
    std::string line = CorrectLine(StepConstraint(), style_, random_);
    if (line.empty()) return line;
    std::size_t at = static_cast<std::size_t>(Below(static_cast<int>(line.size())));
    switch (Below(4)) {
      case 0:  // a digit changed
        for (std::size_t i = at; i < line.size(); ++i) {
          if (line[i] >= '0' && line[i] <= '9') {
            line[i] = static_cast<char>('0' + (line[i] - '0' + 1 + Below(9)) % 10);
            break;
          }
        }
        return line;
      case 1:  // a relation turned round
        for (char& c : line) {
          if (c == '\xC0' || c == '\xC1') c = c == '\xC0' ? '\xC1' : '\xC0';
        }
        return line;
      case 2:  // a piece cut out
        return line.erase(at, 1 + static_cast<std::size_t>(Below(4)));
      default:  // a term added
        return line.insert(at, " + 7t ");
    }
  }

  std::string OverlongLine() {
    std::string line;
    if (Chance(50)) {
      while (line.size() < 120) line += std::to_string(Below(10)) + "p + ";
    } else {
      line = std::string(static_cast<std::size_t>(21 + Below(60)), '9') + "q";
    }
    return line;
  }

  PlayAction TypeSomething() {
    bool enter = Chance(70);
    int roll = Below(100);
    if (roll < 30) return TypeLineAction(CorrectLine(StepConstraint(), style_, random_), enter);
    if (roll < 45) return TypeLineAction(NearMiss(), enter);
    if (roll < 65) return TypeLineAction(ValidLookingLine(), enter);
    if (roll < 77) return TypeBytesAction(RandomBytes(1, 40), enter);
    if (roll < 87) return TypeLineAction(OverlongLine(), enter);
    if (roll < 94) {
      std::string number(kHostileNumbers[Below(static_cast<int>(std::size(kHostileNumbers)))]);
      return TypeLineAction(number + "p + " + number + "q \xC0 " + number, enter);
    }
    return TypeLineAction(std::string(static_cast<std::size_t>(Below(5)), ' '), true);
  }

  std::mt19937_64 random_;
  LineStyle style_{};
  int purpose_ = 0;  // percent of the actions in dialogs that are the step's right move
  bool quitMayBeEnabled_ = false;
  int lastStrikes_ = 0;
  Window lastBox_ = kNoWindow;
  Window lastDialog_ = kNoWindow;
  std::map<std::string, int> faultsSeen_;
  std::map<std::string, int> counts_;
};

Student MakeRandomStudent(std::uint64_t seed) {
  auto student = std::make_shared<RandomStudent>(seed);
  Student driven;
  driven.observe = [student](const StudentView& view) { student->Observe(view); };
  driven.next = [student](const StudentView& view, PlayAction& action) {
    return student->Next(view, action);
  };
  driven.finish = [student] { student->Finish(); };
  return driven;
}

// What the sessions of all seeds went through, summed, for the test's record.
struct Totals {
  int actions = 0;
  int sessions = 0;
  int lessonsQuit = 0;
  std::map<std::string, int> counts;
};

void AddCounts(const SessionReport& report, Totals& totals) {
  for (const std::string& note : report.NotesStartingWith("count ")) {
    std::size_t blank = note.rfind(' ');
    int count = 0;
    std::from_chars(note.data() + blank + 1, note.data() + note.size(), count);
    totals.counts[note.substr(0, blank)] += count;
  }
}

// One seed's budget of actions: a session, and a fresh one (its own seed) whenever the student
// quit the lesson before the budget was spent.
void RunSeed(std::uint64_t seed, int actions, Totals& totals) {
  int left = actions;
  for (std::uint64_t round = 0; left > 0; ++round) {
    SessionSettings settings;
    settings.name = "random";
    settings.seed = seed * 1000 + round;
    settings.extended = seed % 4 == 0;
    settings.maxActions = left;
    settings.strictTyping = false;
    settings.timeoutSeconds = 60 + left / 20;
    SessionReport report = RunStudentSession(settings, MakeRandomStudent(settings.seed));
    ASSERT_TRUE(report.Clean()) << "seed " << settings.seed << "\n" << report.Describe();
    ASSERT_GT(report.actions, 0) << report.Describe();
    left -= report.actions;
    totals.actions += report.actions;
    ++totals.sessions;
    if (report.lessonEnded) ++totals.lessonsQuit;
    AddCounts(report, totals);
  }
}

// The random student's verdict that the lesson never crashes or hangs rests on the driver telling
// such a session apart, with what the student did last.
TEST(RandomStudent, LearnsOfASessionThatCrashesOrHangs) {
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
    auto afterWelcome = c.afterWelcome;
    student.next = [afterWelcome](const StudentView& view, PlayAction& action) {
      if (view.actionsTaken == 1) afterWelcome();
      action = ClickAction(kIdOk);
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

TEST(RandomStudent, KeepsTheLessonsInvariantsWhateverTheStudentDoes) {
  int seeds = EnvironmentNumber("TAVRIN_RANDOM_STUDENT_SEEDS", kDefaultSeeds);
  int actions = EnvironmentNumber("TAVRIN_RANDOM_STUDENT_ACTIONS", kDefaultActions);
  Totals totals;
  for (int seed = 1; seed <= seeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RunSeed(static_cast<std::uint64_t>(seed), (actions + seeds - 1) / seeds, totals);
  }
  std::string summary = std::to_string(totals.actions) + " actions in " +
                        std::to_string(totals.sessions) + " sessions, " +
                        std::to_string(totals.lessonsQuit) + " ended by quitting the lesson";
  for (const auto& [name, count] : totals.counts)
    summary += "; " + name + ": " + std::to_string(count);
  RecordProperty("summary", summary);
  std::printf("%s\n", summary.c_str());
  // The student got deep into the lesson: through whole problems and passed runs, not only the
  // menu and the first questions.
  EXPECT_GT(totals.counts["dialog PROBCOMPLETE"], 0) << summary;
  EXPECT_GT(totals.counts["certificate recorded"], 0) << summary;
  EXPECT_GE(totals.actions, actions) << summary;
}

}  // namespace
