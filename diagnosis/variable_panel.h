// The decision-variable panel, dialog 2601: the student picks the decision variables from a list
// of descriptions. Start-up creates it hidden; the lesson flow shows it after the objective sense.
#pragma once

#include "platform.h"

Result VarSelectCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
