// The objective-sense panel "MINMAX", which asks whether the objective function is minimised or
// maximised, and the explanation shown in dialog 2000 after a wrong answer. Start-up creates the
// panel hidden; the main window sets it up with command 2650, shows it and judges the answer it
// posts back. The quit question of the panel's "Cancel" is here too, for the windows that ask
// the same question.
#pragma once

#include "platform.h"

// ---- Controls and commands ----------------------------------------------------------------------

// The panel hears command 2650 (kCmdNewQuestion), answers with 2200 (kCmdObjectiveSenseAnswered)
// or leaves the problem with 2660 (kCmdProblemOver); those numbers are the lesson flow's.

// The radio buttons; the answer is the ID of the one checked, as objectiveSense stores it.
inline constexpr int kMinimizeButton = 2210;
inline constexpr int kMaximizeButton = 2220;

// Requests for the problem box. With Ctrl held they scroll it; without, the line commands pick
// an answer (up and left: Minimize, down and right: Maximize) and the others do nothing.
inline constexpr int kCmdBoxTop = 2240;
inline constexpr int kCmdBoxBottom = 2241;
inline constexpr int kCmdBoxPageUp = 2242;
inline constexpr int kCmdBoxPageDown = 2243;
inline constexpr int kCmdBoxLineUp = 2244;
inline constexpr int kCmdBoxLineDown = 2245;
inline constexpr int kCmdBoxLineDownRight = 2246;
inline constexpr int kCmdBoxLineUpLeft = 2247;

// The problem-box request a key sends while the panel has the keyboard, 0 for none: Home, End,
// PageUp, PageDown, Up, Down, Right, Left in command order.
int ProblemBoxCommandOfKey(int key);

// ---- Texts --------------------------------------------------------------------------------------

// The question that ends a practice or certification run, with its caption.
inline constexpr int kTextEndPracticeQuestion = 9550;
inline constexpr int kTextEndPracticeCaption = 9551;
inline constexpr int kTextEndCertificationQuestion = 9552;
inline constexpr int kTextEndCertificationCaption = 9553;
// The title of dialog 2000 when it explains a wrong objective sense.
inline constexpr int kTextWrongSenseTitle = 9554;

// Asks, for the lesson's current mode, whether the student wants to leave it: Yes/No, question
// icon, system-modal. Returns the button's ID; only kIdYes means leave.
int AskToEndMode(Window owner);

// ---- Procedures ---------------------------------------------------------------------------------

// Dialog procedure of "MINMAX".
Result MinMaxCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Dialog procedure for dialog 2000 explaining why the current problem is minimised or maximised;
// ends with 1 for "Ok" and 0 for "Cancel".
Result MinMaxErrorCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
