#include "entry_panel.h"

// The panel answers its initialisation; its prompts and checking come with the lesson flow.
Result ProbCmd(Window /*dialog*/, unsigned message, WParam /*wParam*/, LParam /*lParam*/) {
  return message == kMsgInitDialog ? 1 : 0;
}
