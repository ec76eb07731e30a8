#include "hint_dialogs.h"

#include "constraint_lists.h"
#include "dialog_services.h"
#include "formulation_model.h"
#include "hint_text.h"
#include "lesson_state.h"
#include "list_dialogs.h"
#include "welcome.h"

namespace {

constexpr int kTopicListId = 2010;  // 2000: the parts a hint can be about
constexpr int kHintListId = 1710;   // 7700, 9700: the hint or solution

// Where the hint list stands over the main window: its current left, near the top.
constexpr double kHintFx = 0.0;
constexpr double kHintFy = 0.1;

// The notice that the topic has no constraint left to explain.
constexpr char kAllEnteredDialog[] = "2100";

// Results of the dialogs; the entry panel reads matchedConstraint, not these.
constexpr Result kClosedAtOnce = 0;

// The hint and solution list, rebuilt at each opening.
ErrorList hintList{};

// The code of the problem being worked; 0 (no builder) when the order has no such problem.
int CurrentProblemCode() {
  if (problemNumber < 0 || problemNumber >= kProblemCount) return 0;
  return problemOrder[problemNumber];
}

// A topic the entry panel can have chosen: the objective function or a constraint of the problem.
bool IsKnownTopic(int topic) {
  return topic == kObjectiveTopic || (topic >= 0 && topic < formulation.constraintCount);
}

// The topic settled without asking: row 0 of topicList, and that row chosen.
void ChooseTopicAtOnce(int topic) {
  problemProgress.topicList[0] = topic;
  problemProgress.matchedConstraint = 0;
}

// 2000, on opening. An ended dialog takes no focus, so the procedure reports 0 then.
Result OpenTopicChoice(Window dialog) {
  // On the objective step there is nothing to choose.
  if (problemProgress.entryStep == 1) {
    ChooseTopicAtOnce(kObjectiveTopic);
    EndDialog(dialog, kClosedAtOnce);
    return 0;
  }
  // Otherwise the outstanding parts, the first one offered. With none left the topic is the one
  // just past the constraints, which the hint list answers with its notice that every constraint
  // has been entered.
  hintList.itemCount = 0;
  int rows =
      ListOutstandingParts(hintList, problemProgress, formulation, problemProgress.topicList);
  if (rows == 0) {
    ChooseTopicAtOnce(formulation.constraintCount);
    EndDialog(dialog, kClosedAtOnce);
    return 0;
  }
  AddListItems(dialog, kTopicListId, hintList, kNoFont);
  Window list = DialogItem(dialog, kTopicListId);
  ListSelect(list, 0);
  SetFocus(list);
  return 1;
}

// 2000's "Ok": the selected row; no row selected counts as cancelled.
void TakeSelectedTopic(Window dialog) {
  Window list = DialogItem(dialog, kTopicListId);
  int row = ListSelection(list);
  bool valid = row >= 0 && row < ListRowCount(list) && row < kTopicListSize;
  problemProgress.matchedConstraint = valid ? row : kNothingToChoose;
}

// 7700 and 9700, on opening.
Result OpenHintList(Window dialog) {
  // Step 1: near the top of the main window, clear of the entry panel.
  PlaceDialog(mainWindow, dialog, 0, kHintFx, kHintFy);
  // Step 2: the topic choice was cancelled.
  int row = problemProgress.matchedConstraint;
  if (row < 0 || row >= kTopicListSize) {
    EndDialog(dialog, kClosedAtOnce);
    return 0;
  }
  // Step 3: a topic past the constraints has nothing left to explain.
  int topic = problemProgress.topicList[row];
  if (!IsKnownTopic(topic)) {
    RunModalDialog(kAllEnteredDialog, GetOwner(dialog), About, 0);
    EndDialog(dialog, kClosedAtOnce);
    return 0;
  }
  // Step 4: one level further; from level 2 on ShowHintText counts the constraint as entered,
  // since its solution is given away.
  Window list = DialogItem(dialog, kHintListId);
  SetWindowFont(list, lessonFont);
  problemProgress.hintLevel += 1;
  // Step 5: the text, shown from its top.
  ShowHintText(hintList, problemProgress, CurrentProblemCode(), problemProgress.hintLevel, topic);
  AddListItems(dialog, kHintListId, hintList, lessonFont);
  RefreshListBox(list);
  SetFocus(list);
  return 1;
}

}  // namespace

Result HintCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return OpenTopicChoice(dialog);
    case kMsgCommand:
      switch (CommandId(wParam)) {
        case kIdOk:
          TakeSelectedTopic(dialog);
          EndDialog(dialog, kIdOk);
          return 1;
        case kIdCancel:
          problemProgress.matchedConstraint = kNothingToChoose;
          EndDialog(dialog, kIdCancel);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

Result Hint2Cmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return OpenHintList(dialog);
    case kMsgCommand:
      return EndOnOk(dialog, wParam, kIdOk);
    default:
      return 0;
  }
}
