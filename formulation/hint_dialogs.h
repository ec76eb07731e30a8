// The hint dialogs the entry panel opens modally: the choice of a hint topic (2000) and the hint or
// solution list (7700 "Hints", 9700 "Solution") about the topic chosen.
#pragma once

#include "platform.h"

// Dialog 2000. On the objective step the topic is the objective function and the dialog closes at
// once; otherwise the student picks one of the outstanding parts. Leaves the row chosen in
// matchedConstraint (topicList gives its part), or kNothingToChoose when the choice was cancelled.
Result HintCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Dialogs 7700 and 9700: the hint (hintLevel 1) or the solution (2 and more) about the topic
// topicList[matchedConstraint]; each opening raises hintLevel by one.
Result Hint2Cmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
