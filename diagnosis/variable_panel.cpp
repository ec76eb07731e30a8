#include "variable_panel.h"

// The panel answers its initialisation; its list and picks come with the lesson flow.
Result VarSelectCmd(Window /*dialog*/, unsigned message, WParam /*wParam*/, LParam /*lParam*/) {
  return message == kMsgInitDialog ? 1 : 0;
}
