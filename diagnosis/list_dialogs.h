// The list dialogs the entry panel and the lesson flow open modally: the choice of the next part to
// enter (2500), the parts still missing when the student finishes early (1900), the formulation
// entered so far (8700) and the notice that a constraint was already entered (1495). Also the step
// that puts a built list record into a list box, which the hint dialogs share.
#pragma once

#include "error_list.h"
#include "platform.h"

// Dialog 2500: ends with the constraint index chosen, -1 for the objective function, or
// kNothingToChoose when no part is left or the student has asked to leave the mode.
Result WhichConstCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Dialog 1900: sets problemFinished to 1 ("Quit Problem") or 0 ("Cancel"); ends with 1 either way.
Result FinishedCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Dialog 8700: the formulation entered so far, or the notice 2110 when nothing is entered yet.
Result ConstListCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Dialog 1495: names lastMatchedConstraint as already entered.
Result CorrectConstrCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Adds the items of the record to list box listId of the dialog, in order: a wrapped item as lines
// wrapped to the box's width measured in font, any other as one row as it stands.
void AddListItems(Window dialog, int listId, const ErrorList& items, Font font);
// The same for items first .. end - 1 only (clamped to the list's items).
void AddListItems(Window dialog, int listId, const ErrorList& items, Font font, int first, int end);
