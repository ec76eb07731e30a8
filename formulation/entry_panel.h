// The entry panel, dialog 1603: the student types the objective function and then one constraint
// per step on its entry line, and the panel judges each line, explains a wrong one and offers
// hints, the lists of variables and constraints, "Finished" and "Quit". Start-up creates it hidden;
// the lesson flow sets up each step with command 2650 and shows it, and the panel posts 2680 (step
// over) or 2660 (problem over) back to the main window and hides itself.
#pragma once

#include "platform.h"

// ---- Controls -----------------------------------------------------------------------------------

inline constexpr int kEntryPrompt = 1650;
inline constexpr int kEntryField = 1610;  // the entry line, in the lesson font, TsbChildProc
inline constexpr int kEntryHintButton = 1420;
inline constexpr int kEntryFinishedButton = 1660;
inline constexpr int kEntryConstraintsButton = 1620;
inline constexpr int kEntryVariablesButton = 1630;
// The statics that show the relation sign each function key types.
inline constexpr int kAtMostSignText = 2700;
inline constexpr int kAtLeastSignText = 2710;
inline constexpr int kThirdSignText = 2720;

// ---- Commands -----------------------------------------------------------------------------------

// Besides its buttons (Submit is kIdOk, Quit kIdCancel) and the flow's 2650 the panel hears:
// 2230, the choice of the next constraint (dialog 2500) with the prompt for it; 1425, the hint,
// solution or explanation, after a wrong answer when its notification is kAfterWrongAnswer; and
// 1660 with notification kFinishAtOnce, which ends the problem without asking.
inline constexpr int kCmdChooseConstraint = 2230;
inline constexpr int kCmdShowHelp = 1425;
inline constexpr int kAfterWrongAnswer = 1;
inline constexpr int kFinishAtOnce = 1;

// ---- Procedures ---------------------------------------------------------------------------------

// Dialog procedure of 1603.
Result ProbCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Procedure of the entry line: lets through only the characters a formulation is made of, types
// the lesson font's relation signs for F1 (at most), F2 (at least) and F3 (the third sign), and
// submits the line on Enter. Everything else goes on to the field's own procedure.
Result TsbChildProc(Window field, unsigned message, WParam wParam, LParam lParam);
