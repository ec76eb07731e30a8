// The entry panel, dialog 1603: the student types the objective function and each constraint on
// its entry line. Start-up creates it hidden; the lesson flow shows it for every entry step.
#pragma once

#include "platform.h"

Result ProbCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
