// The headless back end and the play runner: the world outside as the script sets it up, and the
// loop of idle moment, transcript, next action.
#include "headless_backend.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "play_actions.h"
#include "transcript.h"

namespace {

constexpr int kLessonFaceWidth = 8;
constexpr int kOtherFaceWidth = 7;
constexpr std::string_view kCalculatorProgram = "calc.exe";
constexpr std::string_view kCalculatorTitle = "Calculator";
constexpr int kProgramNotFound = 2;

struct PictureSize {
  std::string_view library;
  std::string_view name;
  int width;
  int height;
};

// The suite's pictures: the welcome screen and its button, and the main window's background.
constexpr PictureSize kPictures[] = {
    {"BRISKL.DLL", "WEL_BMP", 560, 400},        {"BRISKL.DLL", "WEL_BMP_LARGE", 700, 500},
    {"BRISKL.DLL", "TV2BUT_BMP", 160, 48},      {"BRISKL.DLL", "TV2BUT_BMP_LARGE", 200, 60},
    {"BRISKL.DLL", "TV2SBUT_BMP", 160, 48},     {"BRISKL.DLL", "TV2SBUT_BMP_LARGE", 200, 60},
    {"TRAMOR32.DLL", "profmodc.bmp", 640, 480},
};

// Where the transcript goes: a C stream (the program's standard output), or a C++ stream (the
// tests' string streams). The program itself stays clear of <iostream>: including it anywhere
// sets up the standard streams and their locale at every start, the desktop's too.
struct TranscriptOut {
  std::FILE* file = nullptr;
  std::ostream* stream = nullptr;
};

struct Runner {
  PlayScript script;
  TranscriptOut out;
  Transcript transcript;
  std::size_t nextAction = 0;
  std::size_t typingAction = 0;   // the `type` or `clear` whose strokes are pending
  std::string sinceAction;        // transcript lines written since the previous action's echo
  Window calculator = kNoWindow;  // the calculator's window while it is open
  std::uint32_t calculatorZOrder = 0;
};

Runner runner;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// ---- Writing ----------------------------------------------------------------------------------

void Put(std::string_view text) {
  if (runner.out.file) {
    std::fwrite(text.data(), 1, text.size(), runner.out.file);
  } else if (runner.out.stream) {
    runner.out.stream->write(text.data(), static_cast<std::streamsize>(text.size()));
  }
}

void FlushTranscript() {
  if (runner.out.file) std::fflush(runner.out.file);
  if (runner.out.stream) runner.out.stream->flush();
}

void Write(std::string_view text) {
  Put(text);
  runner.sinceAction += text;
}

void Echo(const PlayAction& action) {
  Put("> " + action.source + '\n');
  if (action.kind != ActionKind::kExpect) runner.sinceAction.clear();
}

// "script line N: ACTION: reason" on standard error, after the transcript so far.
void ReportFailure(const PlayAction& action, std::string_view reason) {
  FlushTranscript();
  const std::string message = "script line " + std::to_string(action.line) + ": " + action.source +
                              ": " + std::string(reason) + '\n';
  std::fputs(message.c_str(), stderr);
  std::fflush(stderr);
}

[[noreturn]] void Fail(const PlayAction& action, std::string_view reason) {
  ReportFailure(action, reason);
  std::exit(1);
}

bool ViewZOrder(Window window, std::uint32_t& zOrder) {
  WindowView view{};
  if (!ViewWindow(window, view)) return false;
  zOrder = view.zOrder;
  return true;
}

// ---- The world outside ------------------------------------------------------------------------

ScreenMetrics Screen() {
  return {runner.script.screen.width, runner.script.screen.height, runner.script.screen.dpi};
}

bool FontInstalled(std::string_view face) {
  return !(SameIgnoringCase(face, kLessonFace) && runner.script.noLessonFont);
}

bool LibraryPresent(std::string_view name) {
  for (const std::string& missing : runner.script.missingLibraries) {
    if (SameIgnoringCase(missing, name)) return false;
  }
  return true;
}

bool PictureAvailable(std::string_view library, std::string_view name, int& width, int& height) {
  if (!LibraryPresent(library)) return false;
  for (const PictureSize& picture : kPictures) {
    if (SameIgnoringCase(picture.library, library) && SameIgnoringCase(picture.name, name)) {
      width = picture.width;
      height = picture.height;
      return true;
    }
  }
  return false;
}

// Event texts come from the suite and the back end, not from the lesson's single-byte resources,
// and are written as given (UTF-8: a student's name arrives so from the script or command line).
void ReportEventLine(std::string_view text) {
  Write(text);
  Write("\n");
}

// The only program there is: the calculator, started by its file name.
int StartProgramHeadless(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (!SameIgnoringCase(name, kCalculatorProgram)) return kProgramNotFound;
  runner.calculator = CreateForeignWindow(kCalculatorTitle, kCalculatorTitle);
  ViewZOrder(runner.calculator, runner.calculatorZOrder);
  ReportEventLine("calculator started");
  return kHeadlessStartResult;
}

void OpenHelpHeadless(std::string_view file) {
  ReportEventLine("help opened: " + std::string(file));
}

// There is no printer: the student sees that a page went out, by the line that names it.
void PrintDocumentHeadless(Window, std::span<const std::string_view> lines) {
  ReportEventLine("certificate printed: " + std::string(lines.front()));
}

// The calculator coming to the top again is an event the student notices.
void NoteCalculatorRaised(Window window) {
  if (window == kNoWindow || window != runner.calculator) return;
  std::uint32_t zOrder = 0;
  if (!ViewZOrder(window, zOrder)) {
    runner.calculator = kNoWindow;
    return;
  }
  if (zOrder > runner.calculatorZOrder) ReportEventLine("calculator raised");
  runner.calculatorZOrder = zOrder;
}

void WindowChanged(Window window) {
  NoteWindowChanged(runner.transcript, window);
  NoteCalculatorRaised(window);
}

bool KeyDown(int key) {
  return IsModifierHeld(key);
}

// ---- The runner -------------------------------------------------------------------------------

// Takes actions until one delivers input to the lesson; at the end of the script the session ends.
void TakeNextAction() {
  for (;;) {
    if (runner.nextAction >= runner.script.actions.size()) {
      FlushTranscript();
      std::exit(0);
    }
    const PlayAction& action = runner.script.actions[runner.nextAction++];
    Echo(action);
    bool delivered = false;
    std::string reason;
    if (action.kind == ActionKind::kType || action.kind == ActionKind::kClear) {
      runner.typingAction = runner.nextAction - 1;
    }
    if (!PerformPlayAction(action, runner.sinceAction, delivered, reason)) Fail(action, reason);
    if (delivered) return;
  }
}

// The lesson is idle: go on typing, or write what changed and take the next action.
void WaitForInput() {
  ReleaseModifiers();
  if (HasPendingStrokes()) {
    std::string reason;
    if (DeliverPendingStroke(reason)) return;
    WriteIdleMoment();
    Fail(runner.script.actions[runner.typingAction], reason);
  }
  WriteIdleMoment();
  TakeNextAction();
}

// Starts a session: the script, a fresh transcript, and the back end's entries installed.
void InstallRunner(const PlayScript& script, TranscriptOut out) {
  runner.script = script;
  runner.out = out;
  runner.transcript = Transcript{};
  runner.nextAction = 0;
  runner.typingAction = 0;
  runner.sinceAction.clear();
  runner.calculator = kNoWindow;
  runner.calculatorZOrder = 0;
  ResetPlayActions();
  Backend backend{};
  backend.screen = Screen;
  backend.charWidths = HeadlessCharWidths;
  backend.fontInstalled = FontInstalled;
  backend.libraryPresent = LibraryPresent;
  backend.pictureAvailable = PictureAvailable;
  backend.startProgram = StartProgramHeadless;
  backend.openHelp = OpenHelpHeadless;
  backend.reportEvent = ReportEventLine;
  backend.windowChanged = WindowChanged;
  backend.waitForInput = WaitForInput;
  backend.keyDown = KeyDown;
  backend.printDocument = PrintDocumentHeadless;
  InstallBackend(backend);
  if (script.alreadyRunning) CreateForeignWindow("Tavrin", "Tavrin");
}

}  // namespace

void HeadlessCharWidths(std::string_view face, int, CharWidths& widths) {
  const int width = SameIgnoringCase(face, kLessonFace) ? kLessonFaceWidth : kOtherFaceWidth;
  for (int byte = 0; byte < 256; ++byte) widths[byte] = byte < 0x20 ? 0 : width;
}

void WriteIdleMoment() {
  Write(DescribeIdleMoment(runner.transcript));
  FlushTranscript();
}

void InstallHeadlessBackend(const PlayScript& script, std::FILE* out) {
  InstallRunner(script, {out, nullptr});
}

void InstallHeadlessBackend(const PlayScript& script, std::ostream& out) {
  InstallRunner(script, {nullptr, &out});
}

int FinishPlay(int exitCode) {
  WriteIdleMoment();
  ReportEventLine("exit " + std::to_string(exitCode));
  FlushTranscript();
  if (HasPendingStrokes()) {
    ResetPlayActions();
    ReportFailure(runner.script.actions[runner.typingAction], "the lesson ended while typing");
    return 1;
  }
  for (; runner.nextAction < runner.script.actions.size(); ++runner.nextAction) {
    const PlayAction& action = runner.script.actions[runner.nextAction];
    Echo(action);
    std::string reason = "the lesson has ended";
    bool delivered = false;
    if (action.kind == ActionKind::kExpect &&
        PerformPlayAction(action, runner.sinceAction, delivered, reason)) {
      continue;
    }
    ReportFailure(action, reason);
    return 1;
  }
  FlushTranscript();
  return 0;
}
