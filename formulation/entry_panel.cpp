#include "entry_panel.h"

#include "formulation_model.h"
#include "lesson_state.h"

// A stand-in until the panel's prompts and checking arrive: every entry step counts as done the
// moment it is asked for, so the lesson runs through a problem's steps to its end. The full panel
// replaces this file.
namespace {

constexpr int kCmdNewQuestion = 2650;    // from the main window: the next entry step
constexpr int kCmdEntryStepOver = 2680;  // to the main window
// The panel ends its step once the main window has shown it, which happens after 2650 returns.
constexpr unsigned kMsgEndStep = kMsgFirstPrivate + 1;

// The step taken: the objective function first, then the constraints in their order.
void TakeEntryStep() {
  problemProgress.entryStep += 1;
  int constraint = problemProgress.entryStep - 2;
  if (constraint >= 0 && constraint < kMaxConstraints) {
    problemProgress.constraintEntered[constraint] = 1;
  }
}

void EndEntryStep(Window dialog) {
  PostMessageTo(mainWindow, kMsgCommand, MakeCommand(kCmdEntryStepOver, 0), 0);
  ShowWindow(dialog, kHide);
  SetActivePanel(kNoWindow);
}

}  // namespace

Result ProbCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return 1;
    case kMsgCommand:
      if (CommandId(wParam) != kCmdNewQuestion) return 0;
      TakeEntryStep();
      PostMessageTo(dialog, kMsgEndStep, 0, 0);
      return 1;
    case kMsgEndStep:
      EndEntryStep(dialog);
      return 1;
    default:
      return 0;
  }
}
