#include "objective_sense_panel.h"

#include <algorithm>
#include <array>

#include "dialog_services.h"
#include "formulation_model.h"
#include "hint_text.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "textservices.h"

namespace {

// Where the panel sits over the main window whenever it gets the focus: below the problem box.
constexpr double kPanelFractionX = 0.5;
constexpr double kPanelFractionY = 0.75;

// Dialog 2000's list box, which shows the explanation.
constexpr int kExplanationList = 2010;

// ---- Keys -------------------------------------------------------------------------------------

struct KeyCommand {
  int key;
  int command;
};

// The keys that send the problem-box requests while the panel has the keyboard. Ctrl with the
// arrow keys (and with Home, End, PageUp, PageDown) scrolls the problem box, as the lesson's help
// tells the student; the bare arrow keys move between the two answers, the way arrow keys move
// within a group of radio buttons.
constexpr KeyCommand kKeyCommands[] = {
    {kKeyHome, kCmdBoxTop},
    {kKeyEnd, kCmdBoxBottom},
    {kKeyPageUp, kCmdBoxPageUp},
    {kKeyPageDown, kCmdBoxPageDown},
    {kKeyUp, kCmdBoxLineUp},
    {kKeyDown, kCmdBoxLineDown},
    {kKeyRight, kCmdBoxLineDownRight},
    {kKeyLeft, kCmdBoxLineUpLeft},
};

// ---- Problem-box requests ---------------------------------------------------------------------

enum class Scroll { kTop, kBottom, kPageUp, kPageDown, kLineUp, kLineDown };

// What a request does: how it scrolls the problem box with Ctrl held, and which answer it picks
// without Ctrl (0: none).
struct BoxRequest {
  int command;
  Scroll scroll;
  int answer;
};

constexpr BoxRequest kBoxRequests[] = {
    {kCmdBoxTop, Scroll::kTop, 0},
    {kCmdBoxBottom, Scroll::kBottom, 0},
    {kCmdBoxPageUp, Scroll::kPageUp, 0},
    {kCmdBoxPageDown, Scroll::kPageDown, 0},
    {kCmdBoxLineUp, Scroll::kLineUp, kMinimizeButton},
    {kCmdBoxLineDown, Scroll::kLineDown, kMaximizeButton},
    {kCmdBoxLineDownRight, Scroll::kLineDown, kMaximizeButton},
    {kCmdBoxLineUpLeft, Scroll::kLineUp, kMinimizeButton},
};

const BoxRequest* FindBoxRequest(int command) {
  for (const BoxRequest& request : kBoxRequests) {
    if (request.command == command) return &request;
  }
  return nullptr;
}

// The problem box's top row after the scroll; the last page ends with the last row.
int ScrolledTopRow(Scroll scroll, int top, int visibleRows, int rowCount) {
  int lastTop = std::max(0, rowCount - visibleRows);
  int target = top;
  switch (scroll) {
    case Scroll::kTop:
      target = 0;
      break;
    case Scroll::kBottom:
      target = lastTop;
      break;
    case Scroll::kPageUp:
      target = top - visibleRows;
      break;
    case Scroll::kPageDown:
      target = top + visibleRows;
      break;
    case Scroll::kLineUp:
      target = top - 1;
      break;
    case Scroll::kLineDown:
      target = top + 1;
      break;
  }
  return std::clamp(target, 0, lastTop);
}

void ScrollProblemBox(Scroll scroll) {
  ListSetTopRow(problemBox, ScrolledTopRow(scroll, ListTopRow(problemBox),
                                           ListVisibleRows(problemBox), ListRowCount(problemBox)));
}

// ---- The answer -------------------------------------------------------------------------------

// The radio button checked: the answer "Ok" gives.
int selectedButton = kMinimizeButton;

void FocusSelectedButton(Window dialog) {
  SetFocus(DialogItem(dialog, selectedButton));
}

// Checks that button, clears the other one, remembers it and gives it the focus.
void SelectAnswer(Window dialog, int button) {
  CheckButton(dialog, kMinimizeButton, button == kMinimizeButton);
  CheckButton(dialog, kMaximizeButton, button == kMaximizeButton);
  selectedButton = button;
  FocusSelectedButton(dialog);
}

// Ctrl held: the request scrolls the problem box. Otherwise a line request picks its answer.
// Either way the selected button has the focus afterwards.
void RunBoxRequest(Window dialog, const BoxRequest& request) {
  if (IsKeyDown(kKeyControl)) {
    ScrollProblemBox(request.scroll);
  } else if (request.answer != 0) {
    SelectAnswer(dialog, request.answer);
  }
  FocusSelectedButton(dialog);
}

// The panel's part is over: the main window goes on, the panel leaves the screen.
void StepAside(Window dialog) {
  SetActivePanel(kNoWindow);
  ShowWindow(dialog, kHide);
}

// "Ok": the answer to the main window.
void SendAnswer(Window dialog) {
  PostMessageTo(mainWindow, kMsgCommand, MakeCommand(kCmdObjectiveSenseAnswered, 0),
                selectedButton);
  StepAside(dialog);
}

// "Cancel": the student may leave the problem, and with it the mode.
void OfferToLeave(Window dialog) {
  if (AskToEndMode(dialog) != kIdYes) return;
  problemProgress.quitRequested = 1;
  PostMessageTo(mainWindow, kMsgCommand, MakeCommand(kCmdProblemOver, 0), kProblemLeft);
  StepAside(dialog);
}

bool PanelCommand(Window dialog, int command) {
  switch (command) {
    case kCmdNewQuestion:
      SelectAnswer(dialog, kMinimizeButton);
      return true;
    case kMinimizeButton:
    case kMaximizeButton:
      SelectAnswer(dialog, command);
      return true;
    case kIdOk:
      SendAnswer(dialog);
      return true;
    case kIdCancel:
      OfferToLeave(dialog);
      return true;
    default:
      break;
  }
  const BoxRequest* request = FindBoxRequest(command);
  if (request == nullptr) return false;
  RunBoxRequest(dialog, *request);
  return true;
}

// ---- The panel's keyboard ---------------------------------------------------------------------

// The dialog keyboard handling passes arrow and paging keys on to the focused control, so the
// panel's buttons get a filter in front of their own procedure that turns those keys into the
// panel's problem-box requests.
constexpr std::array<int, 4> kFilteredControls = {kMinimizeButton, kMaximizeButton, kIdOk,
                                                  kIdCancel};

struct ChainedControl {
  Window control;
  WindowProc ownProc;
};
std::array<ChainedControl, kFilteredControls.size()> chainedControls{};

// Sends the panel the request of the key; false when the key sends none.
bool SendKeyRequest(Window dialog, int key) {
  int command = ProblemBoxCommandOfKey(key);
  if (command == 0) return false;
  SendMessageTo(dialog, kMsgCommand, MakeCommand(command, 0), 0);
  return true;
}

WindowProc OwnProcOf(Window control) {
  for (const ChainedControl& chained : chainedControls) {
    if (chained.control == control) return chained.ownProc;
  }
  return DefaultWindowProc;
}

Result PanelKeyFilter(Window control, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgKeyDown && SendKeyRequest(GetParent(control), static_cast<int>(wParam))) {
    return 0;
  }
  return CallWindowProc(OwnProcOf(control), control, message, wParam, lParam);
}

void FilterPanelKeys(Window dialog) {
  for (std::size_t i = 0; i < kFilteredControls.size(); ++i) {
    Window control = DialogItem(dialog, kFilteredControls[i]);
    chainedControls[i] = {control, control == kNoWindow
                                       ? DefaultWindowProc
                                       : ReplaceWindowProc(control, PanelKeyFilter)};
  }
}

// ---- The explanation of a wrong answer --------------------------------------------------------

// The list gets the current problem's explanation, wrapped; the dialog its title, a place in the
// middle of the main window and the focus on the list.
void ShowSenseExplanation(Window dialog) {
  if (problemNumber >= 0 && problemNumber < kProblemCount) {
    int problemCode = problemOrder[static_cast<std::size_t>(problemNumber)];
    AddWrappedText(dialog, kExplanationList, LoadText(ObjectiveSenseExplanationId(problemCode)),
                   kNoFont);
  }
  SetWindowText(dialog, LoadText(kTextWrongSenseTitle));
  Window list = DialogItem(dialog, kExplanationList);
  RefreshListBox(list);
  PlaceDialog(mainWindow, dialog, 1, 0.0, 0.0);
  SetFocus(list);
}

}  // namespace

int ProblemBoxCommandOfKey(int key) {
  for (const KeyCommand& entry : kKeyCommands) {
    if (entry.key == key) return entry.command;
  }
  return 0;
}

int AskToEndMode(Window owner) {
  bool certification = mode == kCertificationMode;
  return ShowTextBox(owner,
                     certification ? kTextEndCertificationQuestion : kTextEndPracticeQuestion,
                     certification ? kTextEndCertificationCaption : kTextEndPracticeCaption,
                     kBoxYesNo | kBoxIconQuestion | kBoxSystemModal);
}

Result MinMaxCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      FilterPanelKeys(dialog);
      return 1;
    case kMsgSetFocus:
      PlaceDialog(mainWindow, dialog, 0, kPanelFractionX, kPanelFractionY);
      FocusSelectedButton(dialog);
      return 1;
    case kMsgKeyDown:
      return SendKeyRequest(dialog, static_cast<int>(wParam)) ? 1 : 0;
    case kMsgCommand:
      return PanelCommand(dialog, CommandId(wParam)) ? 1 : 0;
    default:
      return 0;
  }
}

Result MinMaxErrorCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      ShowSenseExplanation(dialog);
      return 1;
    case kMsgCommand:
      switch (CommandId(wParam)) {
        case kIdOk:
          EndDialog(dialog, 1);
          return 1;
        case kIdCancel:
          EndDialog(dialog, 0);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}
