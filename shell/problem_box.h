// The problem box's focus filter: the procedure start-up puts in front of the problem box's own
// list-box procedure so that a click in the box never keeps the keyboard from the active panel.
#pragma once

#include "platform.h"

// Private message the box posts to itself after a click: the list box ignores it.
inline constexpr unsigned kMsgReturnFocus = 205;

// Passes every message on to the list box's own procedure; after a click has been handled there,
// gives the focus back to the active panel.
Result ProbListCmd(Window window, unsigned message, WParam wParam, LParam lParam);
