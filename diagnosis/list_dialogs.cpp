#include "list_dialogs.h"

#include <algorithm>
#include <array>

#include "constraint_lists.h"
#include "dialog_services.h"
#include "formulation_model.h"
#include "lesson_state.h"
#include "row_format.h"
#include "textservices.h"
#include "welcome.h"

namespace {

// Controls of the dialogs.
constexpr int kPartsListId = 2010;        // 2500: the parts the student can enter next
constexpr int kMissingListId = 1910;      // 1900: the parts not entered
constexpr int kFormulationListId = 1710;  // 8700: the formulation so far
constexpr int kRepeatedNameId = 1490;     // 1495: the constraint entered twice

// 1900's buttons.
constexpr int kQuitProblemId = kIdOk;
constexpr int kCancelId = kIdCancel;

// The entry panel's Quit, posted to it when the student has already asked to leave the mode.
constexpr int kEntryQuitCommand = kIdCancel;

// Where the constraint choice stands over the main window.
constexpr double kChoiceFx = 0.5;
constexpr double kChoiceFy = 0.75;

// The notice of 8700 when nothing has been entered yet.
constexpr char kNothingEnteredDialog[] = "2110";
// 8700's result when it closed without showing its list.
constexpr Result kClosedUnshown = 0;

constexpr int kTextThe = 9730;       // "the "
constexpr int kTextFullStop = 9731;  // "."

// The list of every dialog here, rebuilt at each opening; one dialog of them is open at a time.
ErrorList partsList{};

bool IsConstraintIndex(int index) {
  return index >= 0 && index < formulation.constraintCount && index < kMaxConstraints;
}

// The outstanding parts into the dialog's list box, topicList filled row by row. Returns the rows.
int ShowOutstandingParts(Window dialog, int listId) {
  partsList.itemCount = 0;
  int rows =
      ListOutstandingParts(partsList, problemProgress, formulation, problemProgress.topicList);
  AddListItems(dialog, listId, partsList, kNoFont);
  return rows;
}

// The part of the selected row of 2500; false when no row that stands for a part is selected.
bool SelectedPart(Window dialog, int& part) {
  Window list = DialogItem(dialog, kPartsListId);
  int row = ListSelection(list);
  int rows = std::min(ListRowCount(list), kTopicListSize);
  if (row < 0 || row >= rows) return false;
  part = problemProgress.topicList[row];
  return true;
}

// 2500, on opening. An ended dialog takes no focus, so the procedure reports 0 then.
Result OpenConstraintChoice(Window dialog) {
  // Step 1: the student has asked to leave the mode; the entry panel's Quit carries that out.
  if (problemProgress.quitRequested != 0) {
    PostMessageTo(GetOwner(dialog), kMsgCommand, MakeCommand(kEntryQuitCommand, kNotifyClicked), 0);
    EndDialog(dialog, kNothingToChoose);
    return 0;
  }
  // Step 2: what is still to be entered.
  int rows = ShowOutstandingParts(dialog, kPartsListId);
  // Step 3: nothing left, the problem is over.
  if (rows == 0) {
    problemProgress.problemFinished = 1;
    EndDialog(dialog, kNothingToChoose);
    return 0;
  }
  // Step 4: one part left is the only choice; the student is not asked.
  if (rows == 1) {
    EndDialog(dialog, problemProgress.topicList[0]);
    return 0;
  }
  // Step 5: the first row offered, the dialog below the problem box.
  Window list = DialogItem(dialog, kPartsListId);
  ListSelect(list, 0);
  PlaceDialog(mainWindow, dialog, 0, kChoiceFx, kChoiceFy);
  SetFocus(list);
  return 1;
}

// 1900, on opening.
Result OpenMissingParts(Window dialog) {
  ShowOutstandingParts(dialog, kMissingListId);
  Window list = DialogItem(dialog, kMissingListId);
  RefreshListBox(list);
  SetFocus(list);
  return 1;
}

// 8700, on opening.
Result OpenFormulationList(Window dialog) {
  PlaceDialog(mainWindow, dialog, 1, 0.0, 0.0);
  Window list = DialogItem(dialog, kFormulationListId);
  SetWindowFont(list, lessonFont);
  int parts =
      ListFormulationWithHeading(partsList, problemActive != 0, problemProgress, formulation);
  // Nothing entered yet: the notice instead of a list of headings only.
  if (parts == 0) {
    RunModalDialog(kNothingEnteredDialog, mainWindow, About, 0);
    EndDialog(dialog, kClosedUnshown);
    return 0;
  }
  AddListItems(dialog, kFormulationListId, partsList, lessonFont);
  RefreshListBox(list);
  SetFocus(list);
  return 1;
}

// 1495, on opening: "the " + name + kind word + ".".
Result OpenRepeatNotice(Window dialog) {
  std::array<char, kMaxControlText> line{};
  int repeated = problemProgress.lastMatchedConstraint;
  SetText(line, LoadText(kTextThe));
  if (IsConstraintIndex(repeated)) {
    AppendText(line, TextIn(formulation.constraintNames[repeated]));
    AppendText(line, ConstraintKindWord(formulation.constraintKinds[repeated]));
  }
  AppendText(line, LoadText(kTextFullStop));
  SetDialogItemText(dialog, kRepeatedNameId, TextIn(line));
  return 1;
}

}  // namespace

void AddListItems(Window dialog, int listId, const ErrorList& items, Font font) {
  AddListItems(dialog, listId, items, font, 0, items.itemCount);
}

void AddListItems(Window dialog, int listId, const ErrorList& items, Font font, int first,
                  int end) {
  Window list = DialogItem(dialog, listId);
  const int count = std::clamp(items.itemCount, 0, kMaxListItems);
  for (int i = std::max(first, 0); i < std::min(end, count); ++i) {
    const ListItem& item = items.items[i];
    if (item.wrapped) {
      AddWrappedText(dialog, listId, TextIn(item.text), font);
    } else {
      ListAddRow(list, TextIn(item.text));
    }
  }
}

Result WhichConstCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return OpenConstraintChoice(dialog);
    case kMsgCommand: {
      // "Ok" or a double click on a row chooses that row's part. Escape (command 2) is left
      // alone: a part must be chosen.
      int id = CommandId(wParam);
      bool chosen = id == kIdOk ||
                    (id == kPartsListId && CommandNotification(wParam) == kNotifyListDoubleClick);
      if (!chosen) return 0;
      int part = 0;
      if (SelectedPart(dialog, part)) EndDialog(dialog, part);
      return 1;
    }
    default:
      return 0;
  }
}

Result FinishedCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return OpenMissingParts(dialog);
    case kMsgCommand:
      switch (CommandId(wParam)) {
        case kQuitProblemId:
          problemProgress.problemFinished = 1;
          EndDialog(dialog, 1);
          return 1;
        case kCancelId:
          problemProgress.problemFinished = 0;
          EndDialog(dialog, 1);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

Result ConstListCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return OpenFormulationList(dialog);
    case kMsgCommand:
      return EndOnOk(dialog, wParam, kIdOk);
    default:
      return 0;
  }
}

Result CorrectConstrCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return OpenRepeatNotice(dialog);
    case kMsgCommand:
      return EndOnOk(dialog, wParam, kIdOk);
    default:
      return 0;
  }
}
