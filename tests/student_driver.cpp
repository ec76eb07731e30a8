// The student driver: a back end that asks a student for input, the child process that runs one
// session on it, and the report the child leaves in memory shared with the test process.
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
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "course_shell.h"
#include "courselib.h"
#include "formulation_model.h"
#include "headless_backend.h"
#include "startup.h"
#include "transcript.h"
#include "ui_resources.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCalculatorStarted = 33;
constexpr int kProgramNotFound = 2;

// What the child leaves for the test process: the transcript's last bytes, kept however the child
// ends (a crash, a sanitizer or the alarm write no report), and the report of a session that
// finished: records of a kind letter and text, each ended by a NUL.
constexpr std::size_t kTailBytes = 32768;
constexpr std::size_t kReportBytes = 1 << 20;
struct Shared {
  std::uint64_t written;  // transcript bytes in all; the last kTailBytes of them are in the ring
  int actions;
  std::array<char, kTailBytes> ring;
  std::size_t reportSize;
  std::array<char, kReportBytes> report;
};

// ---- The session in the child -----------------------------------------------------------------

struct Session {
  SessionSettings settings;
  Student student;
  Shared* shared = nullptr;
  Transcript transcript;
  std::string sinceAction;
  std::string fault;  // the first fault ends the session
  std::vector<std::string> notes;
  int actions = 0;
  bool lessonEnded = false;
  int lessonExitCode = 0;
};

Session* session = nullptr;

void KeepInRing(std::string_view text) {
  Shared& shared = *session->shared;
  for (char c : text) shared.ring[shared.written++ % kTailBytes] = c;
}

void AddToTranscript(std::string_view text) {
  session->sinceAction += text;
  KeepInRing(text);
}

[[noreturn]] void FinishSession() {
  if (session->student.finish) session->student.finish();
  std::string report;
  auto add = [&report](char kind, std::string_view text) {
    report += kind;
    report += text;
    report += '\0';
  };
  if (!session->fault.empty()) add('F', session->fault);
  for (const std::string& note : session->notes) add('N', note);
  if (session->lessonEnded) add('E', std::to_string(session->lessonExitCode));
  Shared& shared = *session->shared;
  shared.reportSize = std::min(report.size(), kReportBytes);
  std::memcpy(shared.report.data(), report.data(), shared.reportSize);
  _exit(0);
}

void Event(std::string_view text) {
  AddToTranscript(std::string(text) + "\n");
}

int StartProgramForStudent(std::string_view path) {
  if (path.substr(path.rfind('\\') + 1) != "calc.exe") return kProgramNotFound;
  CreateForeignWindow("Calculator", "Calculator");
  Event("calculator started");
  return kCalculatorStarted;
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

// The lesson waits for input: the student looks, then a waiting keystroke goes on (one per idle
// moment, as the play runner types) or the student acts.
void WaitForStudent() {
  ReleaseModifiers();
  AddToTranscript(DescribeIdleMoment(session->transcript));
  StudentView view = LookAtScreen();
  if (session->student.observe) session->student.observe(view);
  std::string reason;
  if (HasPendingStrokes()) {
    if (DeliverPendingStroke(reason)) return;
    if (session->settings.strictTyping) ReportFault("typing stopped: " + reason);
  }
  view.typing = false;
  for (;;) {
    if (session->actions >= session->settings.maxActions) FinishSession();
    PlayAction action;
    if (!session->student.next(view, action)) FinishSession();
    KeepInRing("> " + action.source + "\n");
    if (action.kind != ActionKind::kExpect) session->sinceAction.clear();
    bool delivered = false;
    if (!PerformPlayAction(action, view.sinceAction, delivered, reason)) {
      ReportFault("`" + action.source + "` does not fit: " + reason);
    }
    session->shared->actions = ++session->actions;
    if (delivered) return;
  }
}

void InstallStudentBackend() {
  Backend backend{};
  backend.screen = [] { return ScreenMetrics{1024, 768, 96}; };
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
                                    const fs::path& dataDirectory, Shared* shared) {
  static Session child;
  session = &child;
  child.shared = shared;
  child.settings = settings;
  child.student = student;
  alarm(static_cast<unsigned>(settings.timeoutSeconds));
  CourseShellSettings shell;
  shell.studentName = settings.student;
  shell.dataDirectory = dataDirectory.string();
  shell.extendedCertification = settings.extended;
  std::string error;
  if (!ConfigureCourseShell(shell, error)) ReportFault("the course shell refused: " + error);
  SeedRandom(settings.seed);
  ResetPlayActions();
  InstallStudentBackend();
  RegisterResources(LessonResources());
  child.lessonExitCode = LessonMain();
  child.lessonEnded = true;
  AddToTranscript(DescribeIdleMoment(child.transcript));
  FinishSession();
}

// ---- Reading what the child left ----------------------------------------------------------------

void ReadReport(std::string_view bytes, SessionReport& report) {
  for (std::size_t end; (end = bytes.find('\0')) != std::string_view::npos;
       bytes.remove_prefix(end + 1)) {
    std::string text(bytes.substr(1, end - 1));
    switch (bytes.front()) {
      case 'F':
        report.faults.push_back(text);
        break;
      case 'N':
        report.notes.push_back(text);
        break;
      default:
        report.lessonEnded = true;
        std::from_chars(text.data(), text.data() + text.size(), report.lessonExitCode);
    }
  }
}

// The ring's bytes in the order written, from the first action echo in them.
std::string TailFromRing(const Shared& shared) {
  std::uint64_t kept = std::min<std::uint64_t>(shared.written, kTailBytes);
  std::string text;
  for (std::uint64_t i = shared.written - kept; i < shared.written; ++i) {
    text += shared.ring[i % kTailBytes];
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
  std::vector<Window> lists = UsableControls(dialog, ControlKind::kListBox);
  return lists.empty() ? kNoWindow : lists.front();
}

}  // namespace

// ---- Building actions -------------------------------------------------------------------------

PlayAction Act(std::string_view scriptLine) {
  PlayScript script;
  std::string error;
  if (!ParsePlayScript(scriptLine, script, error) || script.actions.size() != 1) {
    std::fprintf(stderr, "student driver: no action \"%.*s\": %s\n",
                 static_cast<int>(scriptLine.size()), scriptLine.data(), error.c_str());
    std::abort();
  }
  return script.actions.front();
}

PlayAction TypeAction(std::string_view bytes, bool withEnter, bool signsAsKeys) {
  constexpr std::pair<char, int> kSignKeys[] = {
      {'\xC1', kKeyF1}, {'\xC0', kKeyF2}, {'\x82', kKeyF3}};
  PlayAction action;
  action.kind = ActionKind::kType;
  for (char c : bytes) {
    Stroke stroke{false, 0, c};
    for (auto [sign, key] : kSignKeys) {
      if (signsAsKeys && c == sign) stroke = {true, key, 0};
    }
    action.strokes.push_back(stroke);
  }
  if (withEnter) action.strokes.push_back({true, kKeyEnter, 0});
  action.text = TextToUtf8(bytes, true);
  action.source = "type " + action.text + (withEnter ? " [Enter]" : "");
  return action;
}

// ---- Writing the right answer -----------------------------------------------------------------

namespace {

// Within the matcher's tolerances with room to spare: coefficients within a thousandth (the
// objective's would pass within 0.11), right-hand sides within 0.0001.
constexpr double kCoefficientSlack = 0.0004;
constexpr double kRhsSlack = 0.00004;
constexpr int kMostDecimals = 6;

// The number with the fewest decimals (at most 6) that lies within slack of the value.
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

// How each relation code is typed, and the code seen from the other side of the sign.
constexpr std::string_view kRelationTyped[] = {"", "=", ">", "<", "\xC0", "\xC1", "\x82"};
constexpr int kMirroredRelation[] = {0, 1, 3, 2, 5, 4, 6};

std::vector<int> SlotsUsed(const FormulationRow& row) {
  std::vector<int> slots;
  for (int k = 0; k < formulation.variableCount; ++k) {
    if (row.coef[k] != 0.0) slots.push_back(k);
  }
  return slots;
}

std::string WriteTerms(const FormulationRow& row, const LineStyle& style, bool writeOnes,
                       std::mt19937_64& random) {
  std::vector<int> slots = SlotsUsed(row);
  if (style.shuffled) std::shuffle(slots.begin(), slots.end(), random);
  std::string line;
  for (int k : slots) {
    double coef = row.coef[k];
    std::string magnitude = ShortestNumber(std::fabs(coef), kCoefficientSlack);
    if (magnitude == "1" && !writeOnes) magnitude.clear();
    if (line.empty()) {
      line += coef < 0 ? "-" : "";
    } else {
      line += style.blanks ? (coef < 0 ? " - " : " + ") : (coef < 0 ? "-" : "+");
    }
    line += magnitude + (style.upperCase ? kUpperLetters[k] : kLowerLetters[k]);
  }
  return line;
}

}  // namespace

std::string CorrectLine(int constraint, const LineStyle& style, std::mt19937_64& random) {
  if (constraint < 0 || constraint >= formulation.constraintCount) {
    return WriteTerms(formulation.objective, style, false, random);
  }
  const FormulationRow& row = formulation.constraints[constraint];
  std::vector<int> slots = SlotsUsed(row);
  bool mirrored = style.rhsFirst && slots.size() == 1 && row.coef[slots.front()] > 0;
  std::string terms = WriteTerms(row, style, mirrored, random);
  std::string rhs = ShortestNumber(row.rhs, kRhsSlack);
  int code = std::clamp(static_cast<int>(row.relation), 0, 6);
  std::string gap = style.blanks ? " " : "";
  if (mirrored)
    return rhs + gap + std::string(kRelationTyped[kMirroredRelation[code]]) + gap + terms;
  return terms + gap + std::string(kRelationTyped[code]) + gap + rhs;
}

// ---- Reading the screen -----------------------------------------------------------------------

std::vector<std::string> DialogListRows(Window dialog) {
  std::vector<std::string> rows;
  Window list = FirstVisibleList(dialog);
  std::array<char, kMaxControlText> row{};
  for (int i = 0; list != kNoWindow && i < ListRowCount(list); ++i) {
    int length = ListRowText(list, i, row);
    rows.emplace_back(row.data(), static_cast<std::size_t>(std::max(length, 0)));
  }
  return rows;
}

int DialogListSelection(Window dialog) {
  Window list = FirstVisibleList(dialog);
  return list == kNoWindow ? -1 : ListSelection(list);
}

std::string DialogItemText(Window dialog, int id) {
  Window item = DialogItem(dialog, id);
  std::array<char, kMaxControlText> text{};
  int length = item == kNoWindow ? 0 : GetWindowText(item, text);
  return std::string(text.data(), static_cast<std::size_t>(std::max(length, 0)));
}

std::vector<Window> UsableControls(Window dialog, ControlKind kind) {
  std::vector<Window> usable;
  std::array<Window, kMaxWindows> controls{};
  int count = ListControls(dialog, controls);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (!ViewWindow(controls[i], view) || !view.visible || !view.enabled) continue;
    if (IsButton(kind) ? IsButton(view.controlKind) : view.controlKind == kind) {
      usable.push_back(controls[i]);
    }
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
  if (session == nullptr) std::abort();
  session->fault = "after " + std::to_string(session->actions) + " actions: " + std::string(what);
  FinishSession();
}

void ReportNote(std::string_view note) {
  if (session != nullptr) session->notes.emplace_back(note);
}

// ---- Running a session ------------------------------------------------------------------------

std::string SessionReport::Describe() const {
  std::string text;
  if (!exited) {
    text += "the session was killed by signal " + std::to_string(signal) +
            (signal == SIGALRM ? " (it hung)" : "") + "\n";
  } else if (exitStatus != 0) {
    text += "the session ended with exit status " + std::to_string(exitStatus) +
            " (a sanitizer report or a crash; see its standard error)\n";
  }
  for (const std::string& fault : faults) text += "fault: " + fault + "\n";
  return text + std::to_string(actions) + " actions; the last of them:\n" + transcriptTail;
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
  void* memory =
      mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    report.faults.push_back("no shared memory for the report");
    return report;
  }
  auto* shared = new (memory) Shared{};
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t child = fork();
  if (child == 0) RunSessionInChild(settings, student, dataDirectory, shared);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    report.faults.push_back("the session could not be started");
  } else if (WIFEXITED(status)) {
    report.exited = true;
    report.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    report.signal = WTERMSIG(status);
  }
  if (report.exited && report.exitStatus == 0) {
    ReadReport(std::string_view(shared->report.data(), shared->reportSize), report);
  }
  report.actions = shared->actions;
  report.transcriptTail = TailFromRing(*shared);
  munmap(memory, sizeof(Shared));
  fs::remove_all(dataDirectory, ignored);
  return report;
}
