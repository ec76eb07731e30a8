#include "objective_sense_panel.h"

// The panel answers its initialisation; its question and answers come with the lesson flow.
Result MinMaxCmd(Window /*dialog*/, unsigned message, WParam /*wParam*/, LParam /*lParam*/) {
  return message == kMsgInitDialog ? 1 : 0;
}
