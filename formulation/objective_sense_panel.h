// The objective-sense panel "MINMAX": asks whether the objective function is minimised or
// maximised. Start-up creates it hidden; the lesson flow shows it at every problem start.
#pragma once

#include "platform.h"

Result MinMaxCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
