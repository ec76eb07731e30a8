// The student driver: a back end that asks a student for input, the child process that runs one
// session on it, and the report the child hands back to the test process through a pipe.
#include "student_driver.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <new>
#include <string>

#include "course_shell.h"
#include "courselib.h"
#include "formulation_model.h"
#include "headless_backend.h"
#include "startup.h"
#include "transcript.h"
#include "ui_resources.h"

namespace {

namespace fs = std::filesystem;

// A session with this many faults has told enough; it stops there.
constexpr std::size_t kMaxFaults = 20;
constexpr int kCalculatorStarted = 33;
constexpr std::string_view kCalculatorProgram = "calc.exe";
constexpr std::string_view kCalculatorTitle = "Calculator";
constexpr int kProgramNotFound = 2;
constexpr ScreenMetrics kScreen{1024, 768, 96};

// The transcript's last bytes, kept where the test process can read them however the child ends:
// a session killed by a crash, a sanitizer or the alarm writes no report of its own.
constexpr std::size_t kTailBytes = 32768;
struct SharedTail {
  std::uint64_t written;  // bytes written in all; the last kTailBytes of them are in the ring
  int actions;
  std::array<char, kTailBytes> ring;
};

// ---- The session in the child -----------------------------------------------------------------

struct Session {
  SessionSettings settings;
  Student student;
  int reportFd = -1;
  SharedTail* tail = nullptr;
  Transcript transcript;
  std::string sinceAction;
  std::deque<std::string> recent;  // one piece of transcript per action, the newest last
  std::vector<std::string> faults;
  std::string transcriptAtFirstFault;
  std::vector<std::string> notes;
  int actions = 0;
  bool lessonEnded = false;
  int lessonExitCode = 0;
};

Session* session = nullptr;

void KeepInSharedTail(std::string_view text) {
  SharedTail& tail = *session->tail;
  for (char c : text) tail.ring[tail.written++ % kTailBytes] = c;
}

void AddToTranscript(std::string_view text) {
  if (text.empty()) return;
  session->sinceAction += text;
  if (session->recent.empty()) session->recent.emplace_back();
  session->recent.back() += text;
  KeepInSharedTail(text);
}

void StartTranscriptPiece(std::string_view source) {
  session->recent.push_back("> " + std::string(source) + "\n");
  KeepInSharedTail(session->recent.back());
  while (session->recent.size() > static_cast<std::size_t>(session->settings.transcriptActions)) {
    session->recent.pop_front();
  }
}

std::string RecentTranscript() {
  std::string text;
  for (const std::string& piece : session->recent) text += piece;
  return text;
}

// ---- The report: records of a kind letter, a length and the bytes -----------------------------

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void WriteRecord(char kind, std::string_view text) {
  std::string record(1, kind);
  record += std::to_string(text.size());
  record += ':';
  record += text;
  WriteAll(session->reportFd, record);
}

[[noreturn]] void FinishSession() {
  if (session->student.finish) session->student.finish();
  for (const std::string& fault : session->faults) WriteRecord('F', fault);
  for (const std::string& note : session->notes) WriteRecord('N', note);
  WriteRecord('A', std::to_string(session->actions));
  if (session->lessonEnded) WriteRecord('E', std::to_string(session->lessonExitCode));
  WriteRecord('T', session->faults.empty() ? RecentTranscript() : session->transcriptAtFirstFault);
  close(session->reportFd);
  _exit(0);
}

// ---- The world outside, as the lesson sees it --------------------------------------------------

void Event(std::string_view text) {
  AddToTranscript(std::string(text) + "\n");
}

int StartProgramForStudent(std::string_view path) {
  std::size_t slash = path.rfind('\\');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name != kCalculatorProgram) return kProgramNotFound;
  CreateForeignWindow(kCalculatorTitle, kCalculatorTitle);
  Event("calculator started");
  return kCalculatorStarted;
}

void WriteIdleMoment() {
  AddToTranscript(DescribeIdleMoment(session->transcript));
}

StudentView LookAtScreen() {
  StudentView view;
  view.on = WhatIsOnScreen();
  if (view.on.target == ScreenTarget::kMessageBox) {
    MessageBoxTexts(view.on.window, view.caption, view.text);
    WindowView box{};
    if (ViewWindow(view.on.window, box)) view.boxStyle = box.boxStyle;
  } else if (view.on.target == ScreenTarget::kModalDialog ||
             view.on.target == ScreenTarget::kPanel) {
    view.name = DialogName(view.on.window);
  }
  view.sinceAction = session->sinceAction;
  view.typing = HasPendingStrokes();
  view.actionsTaken = session->actions;
  return view;
}

// Keystrokes of a line go on one per idle moment, as the play runner types them. True when one
// was delivered.
bool GoOnTyping() {
  if (!HasPendingStrokes()) return false;
  std::string reason;
  if (DeliverPendingStroke(reason)) return true;
  if (session->settings.strictTyping) {
    ReportFault("typing stopped: " + reason);
    FinishSession();
  }
  return false;
}

// The lesson waits for input: the student looks, then types on or acts.
void WaitForStudent() {
  ReleaseModifiers();
  WriteIdleMoment();
  StudentView view = LookAtScreen();
  if (session->student.observe) session->student.observe(view);
  if (session->faults.size() >= kMaxFaults) FinishSession();
  if (GoOnTyping()) return;
  view.typing = false;
  for (;;) {
    if (session->actions >= session->settings.maxActions) FinishSession();
    PlayAction action;
    if (!session->student.next(view, action)) FinishSession();
    StartTranscriptPiece(action.source);
    if (action.kind != ActionKind::kExpect) session->sinceAction.clear();
    bool delivered = false;
    std::string reason;
    if (!PerformPlayAction(action, view.sinceAction, delivered, reason)) {
      ReportFault("`" + action.source + "` does not fit: " + reason);
      FinishSession();
    }
    session->tail->actions = ++session->actions;
    if (delivered) return;
  }
}

void InstallStudentBackend() {
  Backend backend{};
  backend.screen = [] { return kScreen; };
  backend.charWidths = HeadlessCharWidths;
  backend.fontInstalled = [](std::string_view) { return true; };
  backend.libraryPresent = [](std::string_view) { return true; };
  backend.pictureAvailable = [](std::string_view, std::string_view, int& width, int& height) {
    width = 640;
    height = 480;
    return true;
  };
  backend.startProgram = StartProgramForStudent;
  backend.openHelp = [](std::string_view file) { Event("help opened: " + std::string(file)); };
  backend.reportEvent = Event;
  backend.windowChanged = [](Window window) { NoteWindowChanged(session->transcript, window); };
  backend.waitForInput = WaitForStudent;
  backend.keyDown = IsModifierHeld;
  backend.printDocument = [](Window, std::span<const std::string_view> lines) {
    Event("certificate printed: " + std::string(lines.empty() ? "" : lines.front()));
  };
  InstallBackend(backend);
}

[[noreturn]] void RunSessionInChild(const SessionSettings& settings, const Student& student,
                                    const fs::path& dataDirectory, int reportFd, SharedTail* tail) {
  static Session child;
  session = &child;
  child.tail = tail;
  child.settings = settings;
  child.student = student;
  child.reportFd = reportFd;
  alarm(static_cast<unsigned>(settings.timeoutSeconds));

  CourseShellSettings shell;
  shell.studentName = settings.student;
  shell.dataDirectory = dataDirectory.string();
  shell.extendedCertification = settings.extended;
  std::string error;
  if (!ConfigureCourseShell(shell, error)) {
    ReportFault("the course shell refused the settings: " + error);
    FinishSession();
  }
  SeedRandom(settings.seed);
  ResetPlayActions();
  InstallStudentBackend();
  RegisterResources(LessonResources());
  child.lessonExitCode = LessonMain();
  child.lessonEnded = true;
  WriteIdleMoment();
  FinishSession();
}

// ---- Reading the report in the test process ---------------------------------------------------

void ReadReport(std::string_view bytes, SessionReport& report) {
  while (!bytes.empty()) {
    char kind = bytes.front();
    std::size_t colon = bytes.find(':');
    if (colon == std::string_view::npos) break;
    std::size_t length = 0;
    std::from_chars(bytes.data() + 1, bytes.data() + colon, length);
    std::string text(bytes.substr(colon + 1, length));
    bytes.remove_prefix(std::min(bytes.size(), colon + 1 + length));
    switch (kind) {
      case 'F':
        report.faults.push_back(text);
        break;
      case 'N':
        report.notes.push_back(text);
        break;
      case 'A':
        std::from_chars(text.data(), text.data() + text.size(), report.actions);
        break;
      case 'E':
        report.lessonEnded = true;
        std::from_chars(text.data(), text.data() + text.size(), report.lessonExitCode);
        break;
      case 'T':
        report.transcriptTail = text;
        break;
      default:
        break;
    }
  }
}

// The ring's bytes in the order written, from the first action echo in them.
std::string TailFromRing(const SharedTail& tail) {
  std::uint64_t kept = std::min<std::uint64_t>(tail.written, kTailBytes);
  std::string text;
  for (std::uint64_t i = tail.written - kept; i < tail.written; ++i) {
    text += tail.ring[i % kTailBytes];
  }
  std::size_t firstAction = text.find("\n> ");
  if (kept == kTailBytes && firstAction != std::string::npos) text.erase(0, firstAction + 1);
  return text;
}

bool IsButton(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultButton ||
         kind == ControlKind::kOwnerDrawButton;
}

Window FirstVisibleList(Window dialog) {
  for (Window control : UsableControls(dialog, ControlKind::kListBox)) return control;
  return kNoWindow;
}

struct KeyName {
  int key;
  const char* name;
};
// clang-format off
constexpr KeyName kKeyNames[] = {
    {kKeyEnter, "Enter"}, {kKeyEscape, "Escape"}, {kKeyTab, "Tab"}, {kKeySpace, "Space"},
    {kKeyBackspace, "Backspace"}, {kKeyDelete, "Delete"}, {kKeyHome, "Home"}, {kKeyEnd, "End"},
    {kKeyLeft, "Left"}, {kKeyRight, "Right"}, {kKeyUp, "Up"}, {kKeyDown, "Down"},
    {kKeyPageUp, "PageUp"}, {kKeyPageDown, "PageDown"},
};
// clang-format on

std::string NameOfKey(int key) {
  for (const KeyName& known : kKeyNames) {
    if (known.key == key) return known.name;
  }
  if (key >= kKeyF1 && key <= kKeyF12) return "F" + std::to_string(key - kKeyF1 + 1);
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  return "#" + std::to_string(key);
}

PlayAction PlainAction(ActionKind kind, std::string_view source) {
  PlayAction action;
  action.kind = kind;
  action.source = source;
  return action;
}

PlayAction NumberedAction(ActionKind kind, int number, std::string_view verb) {
  PlayAction action = PlainAction(kind, std::string(verb) + " " + std::to_string(number));
  action.number = number;
  return action;
}

PlayAction Typing(std::string_view bytes, bool withEnter, bool signsAsKeys) {
  PlayAction action;
  action.kind = ActionKind::kType;
  for (char c : bytes) {
    int key = 0;
    if (signsAsKeys && c == '\xC1') key = kKeyF1;
    if (signsAsKeys && c == '\xC0') key = kKeyF2;
    if (signsAsKeys && c == '\x82') key = kKeyF3;
    action.strokes.push_back(key != 0 ? Stroke{true, key, 0} : Stroke{false, 0, c});
  }
  if (withEnter) action.strokes.push_back({true, kKeyEnter, 0});
  action.text = TextToUtf8(bytes, true);
  action.source = "type " + action.text + (withEnter ? " [Enter]" : "");
  return action;
}

}  // namespace

// ---- Building actions -------------------------------------------------------------------------

PlayAction MenuAction(int command) {
  return NumberedAction(ActionKind::kMenu, command, "menu");
}
PlayAction ClickAction(int id) {
  return NumberedAction(ActionKind::kClick, id, "click");
}
PlayAction ChooseAction(int id) {
  return NumberedAction(ActionKind::kChoose, id, "choose");
}
PlayAction SelectAction(int row) {
  return NumberedAction(ActionKind::kSelect, row, "select");
}
PlayAction DoubleClickAction(int row) {
  return NumberedAction(ActionKind::kDoubleClick, row, "dblclick");
}

PlayAction AnswerAction(int button) {
  const char* name = button == kIdYes      ? "Yes"
                     : button == kIdNo     ? "No"
                     : button == kIdCancel ? "Cancel"
                                           : "OK";
  PlayAction action = PlainAction(ActionKind::kAnswer, std::string("answer ") + name);
  action.key = button;
  return action;
}

PlayAction KeyAction(int key, unsigned modifiers) {
  PlayAction action = PlainAction(ActionKind::kKey, "");
  action.key = key;
  action.modifiers = modifiers;
  std::string prefix;
  if (modifiers & kModCtrl) prefix += "Ctrl+";
  if (modifiers & kModAlt) prefix += "Alt+";
  if (modifiers & kModShift) prefix += "Shift+";
  action.source = "key " + prefix + NameOfKey(key);
  return action;
}

PlayAction ClearAction() {
  return PlainAction(ActionKind::kClear, "clear");
}
PlayAction ClickProblemBoxAction() {
  return PlainAction(ActionKind::kClickProblemBox, "click-problem-box");
}
PlayAction CloseAction() {
  return PlainAction(ActionKind::kClose, "close");
}

PlayAction TypeLineAction(std::string_view bytes, bool withEnter) {
  return Typing(bytes, withEnter, true);
}

PlayAction TypeBytesAction(std::string_view bytes, bool withEnter) {
  return Typing(bytes, withEnter, false);
}

// ---- Writing the right answer -----------------------------------------------------------------

namespace {

// Within the matcher's tolerances with room to spare: coefficients within a thousandth (the
// objective's would pass within 0.11, but the student writes them as exactly), right-hand sides
// within 0.0001.
constexpr double kCoefficientSlack = 0.0004;
constexpr double kRhsSlack = 0.00004;
constexpr int kMostDecimals = 6;

}  // namespace

std::string ShortestNumber(double value, double slack) {
  std::array<char, 64> text{};
  for (int places = 0;; ++places) {
    auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, places);
    std::string written(text.data(), end);
    double back = 0;
    std::from_chars(written.data(), written.data() + written.size(), back);
    if (std::fabs(back - value) <= slack || places == kMostDecimals) return written;
  }
}

namespace {

// How each relation code is typed, and the code seen from the other side of the sign.
constexpr std::string_view kRelationTyped[] = {"", "=", ">", "<", "\xC0", "\xC1", "\x82"};
constexpr int kMirroredRelation[] = {0, 1, 3, 2, 5, 4, 6};

std::string RelationBytes(int code, bool mirrored) {
  if (code < 0 || code >= static_cast<int>(std::size(kRelationTyped))) return "";
  return std::string(kRelationTyped[mirrored ? kMirroredRelation[code] : code]);
}

std::vector<int> SlotsUsed(const FormulationRow& row) {
  std::vector<int> slots;
  for (int k = 0; k < formulation.variableCount; ++k) {
    if (row.coef[k] != 0.0) slots.push_back(k);
  }
  return slots;
}

std::string WriteTerms(const FormulationRow& row, double slack, const LineStyle& style,
                       bool writeOnes, std::mt19937_64& random) {
  std::vector<int> slots = SlotsUsed(row);
  if (style.shuffled) std::shuffle(slots.begin(), slots.end(), random);
  std::string line;
  for (int k : slots) {
    double coef = row.coef[k];
    std::string magnitude = ShortestNumber(std::fabs(coef), slack);
    if (magnitude == "1" && !writeOnes) magnitude.clear();
    char letter = style.upperCase ? kUpperLetters[k] : kLowerLetters[k];
    if (line.empty()) {
      line += coef < 0 ? "-" : "";
    } else {
      line += style.blanks ? (coef < 0 ? " - " : " + ") : (coef < 0 ? "-" : "+");
    }
    line += magnitude + letter;
  }
  return line;
}

}  // namespace

std::string CorrectLine(int constraint, const LineStyle& style, std::mt19937_64& random) {
  if (constraint < 0 || constraint >= formulation.constraintCount) {
    return WriteTerms(formulation.objective, kCoefficientSlack, style, false, random);
  }
  const FormulationRow& row = formulation.constraints[constraint];
  std::vector<int> slots = SlotsUsed(row);
  bool mirrored = style.rhsFirst && slots.size() == 1 && row.coef[slots.front()] > 0;
  std::string terms = WriteTerms(row, kCoefficientSlack, style, mirrored, random);
  std::string rhs = ShortestNumber(row.rhs, kRhsSlack);
  int code = static_cast<int>(row.relation);
  std::string gap = style.blanks ? " " : "";
  if (mirrored) return rhs + gap + RelationBytes(code, true) + gap + terms;
  return terms + gap + RelationBytes(code, false) + gap + rhs;
}

// ---- Reading the screen -----------------------------------------------------------------------

std::vector<std::string> DialogListRows(Window dialog) {
  std::vector<std::string> rows;
  Window list = FirstVisibleList(dialog);
  std::array<char, kMaxControlText> row{};
  for (int i = 0; list != kNoWindow && i < ListRowCount(list); ++i) {
    int length = ListRowText(list, i, row);
    rows.emplace_back(row.data(), length < 0 ? 0 : static_cast<std::size_t>(length));
  }
  return rows;
}

int DialogListSelection(Window dialog) {
  Window list = FirstVisibleList(dialog);
  return list == kNoWindow ? -1 : ListSelection(list);
}

std::string DialogItemText(Window dialog, int id) {
  Window item = DialogItem(dialog, id);
  if (item == kNoWindow) return "";
  std::array<char, kMaxControlText> text{};
  int length = GetWindowText(item, text);
  return std::string(text.data(), length < 0 ? 0 : static_cast<std::size_t>(length));
}

std::vector<Window> UsableControls(Window dialog, ControlKind kind) {
  std::vector<Window> usable;
  std::array<Window, kMaxWindows> controls{};
  int count = ListControls(dialog, controls);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (!ViewWindow(controls[i], view) || !view.visible || !view.enabled) continue;
    bool fits = IsButton(kind) ? IsButton(view.controlKind) : view.controlKind == kind;
    if (fits) usable.push_back(controls[i]);
  }
  return usable;
}

Window FocusInside(Window window) {
  Window focus = GetFocus();
  for (Window w = focus; w != kNoWindow; w = GetParent(w)) {
    if (w == window) return focus;
  }
  return kNoWindow;
}

// ---- Inside a session -------------------------------------------------------------------------

void ReportFault(std::string_view what) {
  if (session == nullptr) return;
  std::string fault =
      "after " + std::to_string(session->actions) + " actions: " + std::string(what);
  if (session->faults.empty()) session->transcriptAtFirstFault = RecentTranscript();
  session->faults.push_back(fault);
}

void ReportNote(std::string_view note) {
  if (session != nullptr) session->notes.emplace_back(note);
}

// ---- Running a session ------------------------------------------------------------------------

std::string SessionReport::Describe() const {
  std::string text;
  if (!exited)
    text += "the session was killed by signal " + std::to_string(signal) +
            (signal == SIGALRM ? " (it hung)" : "") + "\n";
  if (exited && exitStatus != 0) {
    text += "the session ended with exit status " + std::to_string(exitStatus) +
            " (a sanitizer report or a crash; see its standard error)\n";
  }
  for (const std::string& fault : faults) text += "fault: " + fault + "\n";
  text += std::to_string(actions) + " actions; the last of them" +
          (faults.empty() ? "" : " up to the first fault") + ":\n" + transcriptTail;
  return text;
}

std::vector<std::string> SessionReport::NotesStartingWith(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const std::string& note : notes) {
    if (note.starts_with(prefix)) found.push_back(note.substr(prefix.size()));
  }
  return found;
}

SessionReport RunStudentSession(const SessionSettings& settings, const Student& student) {
  SessionReport report;
  fs::path dataDirectory =
      fs::temp_directory_path() / "tavrin-student-driver" /
      (settings.name + "-" + std::to_string(settings.seed) + "-" + std::to_string(getpid()));
  std::error_code ignored;
  fs::remove_all(dataDirectory, ignored);
  fs::create_directories(dataDirectory, ignored);

  void* shared =
      mmap(nullptr, sizeof(SharedTail), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  std::array<int, 2> channel{};
  if (shared == MAP_FAILED || pipe(channel.data()) != 0) {
    report.faults.push_back("no shared memory or pipe for the report");
    return report;
  }
  auto* tail = new (shared) SharedTail{};
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    RunSessionInChild(settings, student, dataDirectory, channel[1], tail);
  }
  close(channel[1]);
  std::string bytes;
  std::array<char, 65536> buffer{};
  for (ssize_t n; (n = read(channel[0], buffer.data(), buffer.size())) > 0;) {
    bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
  close(channel[0]);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    report.faults.push_back("the session could not be started");
  } else if (WIFEXITED(status)) {
    report.exited = true;
    report.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    report.signal = WTERMSIG(status);
  }
  ReadReport(bytes, report);
  // A child that died wrote no report: what it did last is in the shared tail.
  if (!report.exited || report.exitStatus != 0) {
    report.actions = tail->actions;
    report.transcriptTail = TailFromRing(*tail);
  }
  munmap(shared, sizeof(SharedTail));
  fs::remove_all(dataDirectory, ignored);
  return report;
}
