// The scaffolding of the tests that run the lesson's windows on the window system (the panels,
// the explanation, list and hint dialogs, the shell and the certificate commands): the commands
// the main window received, the student's steps taken one at each idle moment, the windows that
// came on screen, the main window and problem box, and readers of what dialogs and lists show.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "backend.h"
#include "courselib.h"
#include "formulation_model.h"
#include "lesson_state.h"
#include "parameter_table.h"
#include "printing_problem.h"
#include "textservices.h"
#include "transcript.h"
#include "ui_resources.h"

namespace panel_fixture {

// ---- The main window's commands -----------------------------------------------------------------

struct Posted {
  int command;
  LParam value;
  bool operator==(const Posted&) const = default;
};

inline void PrintTo(const Posted& posted, std::ostream* out) {
  *out << "command " << posted.command << " value " << posted.value;
}

inline std::vector<Posted> posted;  // commands the main window received, in order

// A main window that only records the commands it is sent or posted.
inline Result RecordingMainProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgCommand) {
    posted.push_back({CommandId(wParam), lParam});
    return 0;
  }
  return DefaultWindowProc(window, message, wParam, lParam);
}

// A panel that answers its initialisation and records the commands it receives.
inline std::vector<int> panelCommands;
inline Result RecordingPanelProc(Window, unsigned message, WParam wParam, LParam) {
  if (message == kMsgCommand) panelCommands.push_back(CommandId(wParam));
  return message == kMsgInitDialog ? 1 : 0;
}

// ---- The student's steps ------------------------------------------------------------------------

using Step = std::function<void()>;

// What the student does each time the lesson waits for input, in order. When the steps are used
// up the input ends: the loop that waits returns, and a modal dialog still running ends with -1.
inline std::vector<Step> stepsToPlay;
inline std::size_t nextStep = 0;

inline void Play(std::vector<Step> script) {
  stepsToPlay = std::move(script);
  nextStep = 0;
}
inline void PlayNextStep() {
  if (nextStep < stepsToPlay.size()) stepsToPlay[nextStep++]();
}
inline std::size_t StepsLeft() {
  return stepsToPlay.size() - nextStep;
}

// Input on the modal window on top, now or as a step.
inline void ClickOnTop(int id) {
  ClickButton(DialogItem(TopModal(), id));
}
inline Step Click(int id) {
  return [id] { ClickOnTop(id); };
}
inline Step PressKey(int key) {
  return [key] { KeyPress(GetFocus(), key); };
}
inline Step PickRow(int listId, int row, bool doubleClick) {
  return [=] { ListClickRow(DialogItem(TopModal(), listId), row, doubleClick); };
}

// Ctrl is down while this is set.
inline bool ctrlHeld = false;
inline bool CtrlKeyDown(int key) {
  return key == kKeyControl && ctrlHeld;
}

// ---- What came on screen ------------------------------------------------------------------------

// The dialogs and message boxes that came on screen, each once, in order: a box as the transcript
// writes it, a dialog by its template's name.
struct OnScreen {
  std::vector<Window> windows;
  std::vector<std::string> modals;  // modal dialogs and boxes
  std::vector<std::string> dialogs;
  std::vector<std::string> boxes;
  std::vector<std::uint32_t> boxStyles;
};
inline OnScreen onScreen;

inline void NoteShownWindow(Window window) {
  WindowView view{};
  if (!ViewWindow(window, view) || !view.visible) return;
  if (view.kind != WindowKind::kDialog && view.kind != WindowKind::kMessageBox) return;
  if (std::find(onScreen.windows.begin(), onScreen.windows.end(), window) != onScreen.windows.end())
    return;
  onScreen.windows.push_back(window);
  bool box = view.kind == WindowKind::kMessageBox;
  std::string name = box ? DescribeMessageBox(window) : std::string(view.templateName);
  if (view.modal) onScreen.modals.push_back(name);
  if (box) {
    onScreen.boxes.push_back(name);
    onScreen.boxStyles.push_back(view.boxStyle);
  } else {
    onScreen.dialogs.push_back(name);
  }
}

// The boxes of a right answer and of the question before leaving certification.
inline const std::string kCorrectBox = "box \"Tavrin\" exclamation OK: Correct Answer!";
inline const std::string kEndCertificationBox =
    "box \"End Certification\" question Yes/No: Are you sure you want to exit Certification "
    "Mode?";

// ---- The world outside --------------------------------------------------------------------------

// Every byte of the lesson face kLesson pixels wide, of any other face kSystem.
template <int kLesson, int kSystem>
void FixedCharWidths(std::string_view face, int /*height*/, CharWidths& widths) {
  widths.fill(face == "custom" ? kLesson : kSystem);
}
inline bool AnyFontInstalled(std::string_view) {
  return true;
}

// ---- The lesson's windows -----------------------------------------------------------------------

// A fresh window system on the back end, with the lesson's dialogs and menu, and nothing recorded.
// A back end without its own notes the windows coming on screen and plays the student's steps.
inline void StartWindowSystem(Backend backend) {
  ResetWindowSystem();
  posted.clear();
  panelCommands.clear();
  onScreen = OnScreen{};
  Play({});
  ctrlHeld = false;
  if (!backend.windowChanged) backend.windowChanged = NoteShownWindow;
  if (!backend.waitForInput) backend.waitForInput = PlayNextStep;
  InstallBackend(backend);
  RegisterResources(LessonResources());
}

// The lesson's main window, "Tavrin", captioned and shown where asked, with its class's procedure
// and menu (nullptr: none).
inline Window CreateMainWindow(WindowProc procedure, const char* menu, WindowRect at) {
  static constexpr char kClass[] = "PanelTestMain";
  RegisterWindowClass({kClass, procedure, {0, 128, 128}, menu});
  mainWindow = CreateWindowOf(kClass, "Tavrin", kStyleCaption | kStyleVisible, at.left, at.top,
                              at.width, at.height, kNoWindow, 0, 0);
  return mainWindow;
}

// The problem box where a 640 x 480 main window has it, with that many rows of text.
inline Window CreateProblemBox(int rows = 0) {
  problemBox = CreateWindowOf("listbox", "", kStyleChild | kStyleVisible | kStyleVScroll, 16, 10,
                              608, 168, mainWindow, 0, 0);
  for (int row = 0; row < rows; ++row) ListAddRow(problemBox, "line " + std::to_string(row));
  return problemBox;
}

inline void EndWindowSystem() {
  SetActivePanel(kNoWindow);
  ResetWindowSystem();
  mainWindow = problemBox = kNoWindow;
  lessonFont = kNoFont;
}

// The printing problem of seed 7 as the first problem of the lesson's order, nothing done on it.
inline void StartPrintingProblem() {
  SeedRandom(7);
  GeneratePrintingProblem();
  problemOrder = {kProblemPrinting, kProblemFurniture, kProblemPorcelain, kProblemFeedMix,
                  kProblemFarm};
  problemNumber = 0;
  problemProgress = ProblemProgress{};
  problemActive = 1;
}

// ---- Reading what is shown ----------------------------------------------------------------------

inline std::string TextOf(Window window) {
  std::array<char, kMaxControlText> text{};
  GetWindowText(window, text);
  return std::string(TextIn(text));
}
inline std::string ItemText(Window dialog, int id) {
  return TextOf(DialogItem(dialog, id));
}
inline std::vector<std::string> RowsOf(Window list) {
  std::vector<std::string> rows;
  std::array<char, kMaxControlText> row{};
  for (int i = 0; i < ListRowCount(list); ++i) {
    ListRowText(list, i, row);
    rows.emplace_back(TextIn(row));
  }
  return rows;
}

// What the modal dialog on top showed: its name, title and place, and its list box, if any.
struct DialogSeen {
  std::string name;
  std::string title;
  WindowRect rect{};
  std::vector<std::string> rows;
  int selection = -1;
  int topRow = -1;
  bool listHasFocus = false;
  Font listFont = kNoFont;
  int listWidth = 0;
};

inline DialogSeen LookAtTop(int listId) {
  DialogSeen seen;
  Window dialog = TopModal();
  seen.name = std::string(DialogTemplateName(dialog));
  seen.title = TextOf(dialog);
  seen.rect = GetWindowRect(dialog);
  Window list = DialogItem(dialog, listId);
  if (list == kNoWindow) return seen;
  seen.rows = RowsOf(list);
  seen.selection = ListSelection(list);
  seen.topRow = ListTopRow(list);
  seen.listHasFocus = GetFocus() == list;
  seen.listFont = GetWindowFont(list);
  seen.listWidth = GetClientRect(list).width;
  return seen;
}

// Looks at the dialog on top, then takes the step.
inline Step LookThen(DialogSeen& seen, int listId, Step step) {
  return [&seen, listId, step] {
    seen = LookAtTop(listId);
    step();
  };
}

// Where a dialog stands before its procedure moves it.
inline WindowRect TemplatePlace(const char* name, Window owner) {
  static WindowRect rect;
  RunModalDialog(
      name, owner,
      [](Window dialog, unsigned message, WParam, LParam) -> Result {
        if (message != kMsgInitDialog) return 0;
        rect = GetWindowRect(dialog);
        EndDialog(dialog, 0);
        return 1;
      },
      0);
  return rect;
}

}  // namespace panel_fixture
