// The two dialogs of a wrong answer: 2400 "Incorrect Answer" asks whether to try again or to see
// the explanation, and 1700 "Explanation of Error" shows the last parsed line explained item by
// item. The entry panel opens both, modally and owned by itself.
#pragma once

#include "platform.h"

// Controls of dialog 2400.
inline constexpr int kTryAgainButton = 2410;
inline constexpr int kExplanationButton = 2420;

// The radio button chosen in dialog 2400; the dialog ends with it as its result. Every opening
// starts again from kTryAgainButton.
extern int explanationChoice;

// Procedure of dialog 2400 "Incorrect Answer".
Result DoExplanCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Procedure of dialog 1700 "Explanation of Error": explains the process-wide parsedEntry against
// problemProgress.chosenConstraint (the objective function when negative) and counts that
// constraint as entered. Ends with 1.
Result WrongCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
