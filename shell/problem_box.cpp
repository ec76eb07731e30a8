#include "problem_box.h"

#include "lesson_state.h"

Result ProbListCmd(Window window, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgLButtonUp) {
    // Step 1: hand the focus back only once the list box has finished with the click, so that
    // the click still selects a line and the scroll bar still scrolls.
    PostMessageTo(window, kMsgReturnFocus, 0, 0);
  } else if (message == kMsgReturnFocus) {
    // Step 2: typing goes to the panel, or nowhere between stages.
    SetFocus(activePanel);
  }
  // Step 3: the list box does the rest.
  return CallWindowProc(problemBoxOwnProc, window, message, wParam, lParam);
}
