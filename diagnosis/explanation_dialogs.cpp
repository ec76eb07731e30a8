#include "explanation_dialogs.h"

#include <string_view>

#include "dialog_services.h"
#include "error_list.h"
#include "formulation_model.h"
#include "lesson_state.h"
#include "list_dialogs.h"
#include "parameter_table.h"
#include "parser.h"
#include "term_diagnosis.h"
#include "textservices.h"

int explanationChoice = kTryAgainButton;

namespace {

// ---- Dialog 2400 "Incorrect Answer" -----------------------------------------------------------

// Dialog 2400 sits in the middle across and three quarters down the room the main window leaves.
constexpr double kIncorrectAcross = 0.5;
constexpr double kIncorrectDown = 0.75;

// The two radio buttons behave as one choice: the chosen one on, the other off.
void Choose(Window dialog, int choice) {
  explanationChoice = choice;
  CheckButton(dialog, kTryAgainButton, choice == kTryAgainButton);
  CheckButton(dialog, kExplanationButton, choice == kExplanationButton);
}

// ---- Dialog 1700 "Explanation of Error" -------------------------------------------------------

constexpr int kExplanationList = 1710;
constexpr int kExplanationShown = 1;

// Dialog 1700 keeps its own position across and stands a tenth of the way down.
constexpr double kExplanationDown = 0.1;

// The explanation ends with two lines of one blank and the note on the right-hand side; they
// follow the list once it has been shown from its top.
constexpr int kClosingNoteItems = 3;

void FillExplanationList(Window dialog) {
  // Step 1: placed over the main window, the list in the lesson font that draws the relation
  // signs and the markers.
  PlaceDialog(mainWindow, dialog, 0, 0, kExplanationDown);
  const Window list = DialogItem(dialog, kExplanationList);
  SetWindowFont(list, lessonFont);
  // Steps 2 to 7: the engine marks the chosen constraint entered, names it, diagnoses the last
  // parsed line against it and builds the items, closing note included.
  BuildExplanation(parsedEntry, TextIn(rightSideAsTyped), formulation, parameterTable,
                   problemProgress, diagnosis, errorList);
  const int noteAt =
      errorList.itemCount > kClosingNoteItems ? errorList.itemCount - kClosingNoteItems : 0;
  // Wrapped items are measured in the lesson font the list shows; the redisplayed entry and its
  // marker lines go in as they stand, so the markers keep their columns.
  AddListItems(dialog, kExplanationList, errorList, lessonFont, 0, noteAt);
  RefreshListBox(list);
  AddListItems(dialog, kExplanationList, errorList, lessonFont, noteAt, errorList.itemCount);
  SetFocus(list);
}

}  // namespace

Result DoExplanCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      PlaceDialog(mainWindow, dialog, 0, kIncorrectAcross, kIncorrectDown);
      Choose(dialog, kTryAgainButton);
      return 1;
    case kMsgCommand:
      switch (CommandId(wParam)) {
        case kTryAgainButton:
        case kExplanationButton:
          Choose(dialog, CommandId(wParam));
          return 1;
        case kIdOk:
          EndDialog(dialog, explanationChoice);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

Result WrongCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      FillExplanationList(dialog);
      // The focus is on the list already; 0 keeps the window system from moving it.
      return 0;
    case kMsgCommand:
      return EndOnOk(dialog, wParam, kExplanationShown);
    default:
      return 0;
  }
}
