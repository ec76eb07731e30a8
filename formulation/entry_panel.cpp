#include "entry_panel.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "dialog_services.h"
#include "explanation_dialogs.h"
#include "formulation_model.h"
#include "hint_dialogs.h"
#include "hint_text.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "list_dialogs.h"
#include "main_window.h"
#include "matcher.h"
#include "objective_sense_panel.h"
#include "overflow_dialogs.h"
#include "parser.h"
#include "row_format.h"
#include "textservices.h"
#include "variable_panel.h"

namespace {

// ---- Texts and names --------------------------------------------------------------------------

constexpr int kTextObjectivePrompt = 9660;
constexpr int kTextConstraintPromptStart = 9661;  // "Enter the "
constexpr int kTextConstraintPromptEnd = 9662;    // " constraint:"
constexpr int kTextBlankAnswer = 9663;
constexpr int kTextImproperFormat = 9664;
constexpr int kTextCorrectAnswer = 9503;
constexpr int kTextLessonCaption = 9504;

constexpr std::uint32_t kRefusalBoxStyle = kBoxOk | kBoxIconInformation | kBoxSystemModal;
constexpr std::uint32_t kVerdictBoxStyle = kBoxOk | kBoxIconExclamation | kBoxSystemModal;

constexpr char kConstraintChoiceDialog[] = "2500";
constexpr char kIncorrectAnswerDialog[] = "2400";
constexpr char kExplanationDialog[] = "1700";
constexpr char kHintTopicDialog[] = "2000";
constexpr char kHintsDialog[] = "7700";
constexpr char kSolutionDialog[] = "9700";
constexpr char kNotFinishedDialog[] = "1900";
constexpr char kVariableListDialog[] = "1800";
constexpr char kFormulationDialog[] = "8700";
constexpr char kAlreadyEnteredDialog[] = "1495";

// Where the panel stands over the main window: in the middle across, low down, below the problem
// box.
constexpr double kPanelFractionX = 0.5;
constexpr double kPanelFractionY = 0.85;

// The menu-bar items a hint, solution or explanation greys while it is shown.
constexpr int kItemsGreyedForHelp[] = {kMenuOptions, kMenuHelp, kMenuQuit};
// The ones it gives back: Quit stays grey while the problem runs.
constexpr int kItemsBackAfterHelp[] = {kMenuOptions, kMenuHelp};

// ---- The entry line's keyboard ----------------------------------------------------------------

// The characters a formulation is made of: digits, the blank, signs, the point, the relation
// characters, the variable letters P to U in either case and the lesson font's three relation
// signs; Backspace passes so that the line can be edited. Every other character is swallowed.
constexpr std::string_view kPassingCharacters = "0123456789 +-.<=>PQRSTUpqrstu\x82\xC0\xC1\b";

constexpr std::array<bool, 256> kCharacterPasses = [] {
  std::array<bool, 256> passes{};
  for (char c : kPassingCharacters) passes[static_cast<unsigned char>(c)] = true;
  return passes;
}();

// The function keys that type the relation signs the field's labels show.
struct SignKey {
  int key;
  char sign;
};
constexpr SignKey kSignKeys[] = {
    {kKeyF1, kAtMostByte},
    {kKeyF2, kAtLeastByte},
    {kKeyF3, kThirdRelationByte},
};

// The sign a key types, 0 for any other key.
char SignOfKey(int key) {
  for (const SignKey& entry : kSignKeys) {
    if (entry.key == key) return entry.sign;
  }
  return 0;
}

// The field's own procedure, kept when TsbChildProc takes its place.
WindowProc entryFieldOwnProc = DefaultWindowProc;

// ---- Small steps ------------------------------------------------------------------------------

// The panel ends a step that its set-up found to be over (a student who has left the mode,
// nothing left to enter) only once the lesson flow has shown it: the flow shows the panel after
// command 2650 returns.
constexpr unsigned kMsgEndAfterPrompt = kMsgFirstPrivate + 1;
enum EndAfterPrompt : WParam { kLeaveProblem = 1, kFinishProblem = 2 };

bool InCertification() {
  return mode == kCertificationMode;
}

bool StrikesReachedAllowance() {
  return InCertification() && strikes >= strikesAllowed;
}

bool EveryConstraintMarked() {
  return CountEnteredConstraints(formulation, problemProgress) >= formulation.constraintCount;
}

bool IsConstraintIndex(int index) {
  return index >= 0 && index < formulation.constraintCount && index < kMaxConstraints;
}

bool IsObjectiveStep() {
  return problemProgress.entryStep == 1;
}

Window Field(Window dialog) {
  return DialogItem(dialog, kEntryField);
}

void FocusField(Window dialog) {
  SetFocus(Field(dialog));
}

// Every command the panel posts to the main window ends its part: it hides and the main loop no
// longer offers it the keys.
void PostAndStepAside(Window dialog, int command, LParam value) {
  PostMessageTo(mainWindow, kMsgCommand, MakeCommand(command, 0), value);
  ShowWindow(dialog, kHide);
  SetActivePanel(kNoWindow);
}

void ShowBox(Window dialog, int textId, std::uint32_t style) {
  ShowTextBox(dialog, textId, kTextLessonCaption, style);
}

void EnableMenuItems(std::span<const int> positions, bool enabled) {
  for (int position : positions) EnableMenuPosition(mainWindow, position, enabled);
  DrawMenuBar(mainWindow);
}

// ---- Prompts ----------------------------------------------------------------------------------

// "Enter the Objective Function:" for the objective function, "Enter the " + name + kind word +
// " constraint:" for a constraint, nothing for a part that is none of the problem's.
void SetPrompt(Window dialog, int part) {
  std::array<char, kMaxControlText> prompt{};
  if (part == kObjectiveTopic) {
    SetText(prompt, LoadText(kTextObjectivePrompt));
  } else if (IsConstraintIndex(part)) {
    SetText(prompt, LoadText(kTextConstraintPromptStart));
    AppendText(prompt, TextIn(formulation.constraintNames[part]));
    AppendText(prompt, ConstraintKindWord(formulation.constraintKinds[part]));
    AppendText(prompt, LoadText(kTextConstraintPromptEnd));
  }
  SetDialogItemText(dialog, kEntryPrompt, TextIn(prompt));
}

// 1630 and 1620: the lists, then back to the line.
void ShowVariableList(Window dialog) {
  RunModalDialog(kVariableListDialog, dialog, VarListCmd, 0);
  FocusField(dialog);
}

void ShowFormulationList(Window dialog) {
  RunModalDialog(kFormulationDialog, dialog, ConstListCmd, 0);
  FocusField(dialog);
}

// 2230: the student picks the constraint to enter next.
void ChooseConstraint(Window dialog) {
  problemProgress.chosenConstraint =
      static_cast<int>(RunModalDialog(kConstraintChoiceDialog, dialog, WhichConstCmd, 0));
  SetPrompt(dialog, problemProgress.chosenConstraint);
}

// 2650: the next step's prompt.
void NextPrompt(Window dialog) {
  // Step 1: a new step.
  problemProgress.problemFinished = 0;
  problemProgress.entryStep += 1;
  problemProgress.explanationMode = 0;
  problemProgress.certificationEntry = InCertification() ? 1 : 0;
  // Step 2: hints only in practice, and an empty line.
  EnableWindow(DialogItem(dialog, kEntryHintButton), !InCertification());
  SetDialogItemText(dialog, kEntryField, "");
  // Step 3: the objective function comes first, with the variables' letters in view.
  if (IsObjectiveStep()) {
    ShowVariableList(dialog);
    problemProgress.chosenConstraint = kObjectiveTopic;
    SetPrompt(dialog, kObjectiveTopic);
  } else {
    // Step 4: then the constraints, in the order the student picks.
    ChooseConstraint(dialog);
  }
  // Step 5: the student has asked to leave the mode.
  if (problemProgress.quitRequested != 0) {
    PostMessageTo(dialog, kMsgEndAfterPrompt, kLeaveProblem, 0);
    return;
  }
  // Step 6: nothing is left to choose, because hints, solutions and explanations have marked the
  // remaining constraints done without steps of their own. Practice finishes the problem. So does
  // certification: those constraints count as done there too, no wrong answer is involved, and a
  // prompt that names no constraint would only invite a strike; the run is still judged by its
  // strikes when the flow sees the steps used up.
  if (problemProgress.chosenConstraint < kObjectiveTopic) {
    PostMessageTo(dialog, kMsgEndAfterPrompt, kFinishProblem, 0);
  }
}

// ---- Help: hints, solutions, explanations -----------------------------------------------------

// 1425: the hint or solution the student asked for, or, after a wrong answer, the explanation of
// the error (the worked solution for a wrong objective function of a problem that has one). The
// menu stays grey while it is shown.
void ShowHelp(Window dialog, bool afterWrongAnswer) {
  // Step 1.
  EnableMenuItems(kItemsGreyedForHelp, false);
  if (afterWrongAnswer) {
    // Step 2.
    problemProgress.explanationMode = 1;
    if (problemProgress.entryStep > 1 || formulation.objectiveHasSolution == 0) {
      RunModalDialog(kExplanationDialog, dialog, WrongCmd, 0);
    } else {
      problemProgress.hintLevel = 2;
      RunModalDialog(kSolutionDialog, dialog, Hint2Cmd, 0);
    }
  } else {
    // Step 3.
    problemProgress.explanationMode = 0;
    RunModalDialog(kHintsDialog, dialog, Hint2Cmd, 0);
  }
  // Step 4.
  EnableMenuItems(kItemsBackAfterHelp, true);
  FocusField(dialog);
  problemProgress.explanationMode = 0;
}

// 1420: a constraint step in practice is about the constraint the prompt names; otherwise the
// topic comes from dialog 2000 (on the objective step it settles on the objective at once).
void ShowHint(Window dialog, int notification) {
  if (!InCertification() && !IsObjectiveStep()) {
    problemProgress.matchedConstraint = 0;
    problemProgress.topicList[0] = problemProgress.chosenConstraint;
  } else {
    RunModalDialog(kHintTopicDialog, dialog, HintCmd, 0);
  }
  ShowHelp(dialog, notification == kAfterWrongAnswer);
}

// ---- Leaving ----------------------------------------------------------------------------------

// Command 2: Quit. A run whose strikes are used up ends without a question; so does a panel told
// to quit after the student already confirmed leaving (the constraint choice passes that on).
void Quit(Window dialog) {
  bool decided = StrikesReachedAllowance() || problemProgress.quitRequested != 0;
  if (!decided && AskToEndMode(dialog) != kIdYes) {
    FocusField(dialog);
    return;
  }
  problemProgress.quitRequested = 1;
  PostAndStepAside(dialog, kCmdProblemOver, kProblemStopped);
  SetFocus(mainWindow);
}

// 1660: Finished.
void Finish(Window dialog, int notification) {
  // Step 1: the panel's own finish, when nothing is left to enter.
  if (notification == kFinishAtOnce) {
    problemProgress.problemFinished = 1;
    PostAndStepAside(dialog, kCmdEntryStepOver, 1);
    return;
  }
  // Step 2: everything is entered.
  if (EveryConstraintMarked()) {
    ShowBox(dialog, kTextCorrectAnswer, kVerdictBoxStyle);
    problemProgress.problemFinished = 1;
    PostAndStepAside(dialog, kCmdProblemOver, kProblemCompleted);
    return;
  }
  // Step 3: the parts still missing; the student leaves the problem or goes back to it.
  RunModalDialog(kNotFinishedDialog, mainWindow, FinishedCmd, 0);
  if (problemProgress.problemFinished == 1) {
    PostAndStepAside(dialog, kCmdProblemOver, kProblemStopped);
    SetFocus(mainWindow);
  } else {
    FocusField(dialog);
  }
}

// A step that 2650 found to be over ends once the panel is on screen; a panel that has gone
// meanwhile (its Quit ran first) has nothing left to end.
void EndAfterPrompt(Window dialog, WParam what) {
  if (!IsWindowVisible(dialog) || activePanel != dialog) return;
  if (what == kLeaveProblem) {
    PostAndStepAside(dialog, kCmdProblemOver, kProblemStopped);
  } else if (what == kFinishProblem) {
    Finish(dialog, kFinishAtOnce);
  }
}

// ---- The verdict ------------------------------------------------------------------------------

// In practice the problem counts as finished once every constraint is marked.
void NoteFinishedProblem() {
  if (!InCertification() && EveryConstraintMarked()) problemProgress.problemFinished = 1;
}

// A right line. A line that repeats a constraint already entered gets its step back from the
// matcher; the student is told it was entered before ("Caution!", dialog 1495), which says why
// the next prompt asks for another part, rather than a "Correct Answer!" that looks like progress.
void AcceptLine(Window dialog, bool repeated) {
  problemProgress.quitRequested = 0;
  if (repeated) {
    RunModalDialog(kAlreadyEnteredDialog, dialog, CorrectConstrCmd, 0);
  } else {
    ShowBox(dialog, kTextCorrectAnswer, kVerdictBoxStyle);
  }
  PostAndStepAside(dialog, kCmdEntryStepOver, 0);
  NoteFinishedProblem();
}

// Step 7.3: the topic a following solution text is about: the objective function, or the
// constraint matched or nearest.
void ChooseSolutionTopic() {
  ProblemProgress& p = problemProgress;
  if (IsObjectiveStep()) {
    p.matchedConstraint = 0;
    p.topicList[0] = kObjectiveTopic;
  } else if (p.matchedConstraint >= 0 && p.matchedConstraint < kTopicListSize) {
    p.topicList[p.matchedConstraint] = p.matchedConstraint;
  }
}

// A wrong line. Practice lets the student try again at no cost; otherwise the answer is counted
// (a strike in certification), explained, and the step is over.
void RejectLine(Window dialog) {
  // Step 1.
  if (problemProgress.certificationEntry == 0) {
    Result choice = RunModalDialog(kIncorrectAnswerDialog, dialog, DoExplanCmd, 0);
    if (choice == kTryAgainButton && !InCertification()) {
      FocusField(dialog);
      return;
    }
  }
  // Step 2.
  if (InCertification()) {
    strikes += 1;
    ShowStatusLine();
  }
  // Steps 3 and 4.
  ChooseSolutionTopic();
  ShowHelp(dialog, true);
  // Step 5: the last strike ends the run.
  if (StrikesReachedAllowance()) {
    Quit(dialog);
    return;
  }
  // Step 6.
  PostAndStepAside(dialog, kCmdEntryStepOver, 0);
  NoteFinishedProblem();
}

// A refused line changes nothing; the student goes back to it.
void RefuseLine(Window dialog, int textId) {
  ShowBox(dialog, textId, kRefusalBoxStyle);
  FocusField(dialog);
}

// Command 1: Submit.
void Submit(Window dialog) {
  // Step 1.
  problemProgress.matchedConstraint = kNothingToChoose;
  std::array<char, kLineBufferSize> line{};
  GetWindowText(Field(dialog), line);
  // Steps 2 and 3: a blank line and one the parser cannot take are refused.
  if (TextIn(line).empty()) {
    RefuseLine(dialog, kTextBlankAnswer);
    return;
  }
  if (!CheckEntryFormat(TextIn(line))) {
    RefuseLine(dialog, kTextImproperFormat);
    return;
  }
  // Step 4: the parser reads its own copy; its notices of a cut line are owned by the panel.
  std::array<char, kLineBufferSize> copy{};
  SetText(copy, TextIn(line));
  int stepBefore = problemProgress.entryStep;
  int errors = ParseEntry(TextIn(copy), parsedEntry, static_cast<NoticeOwner>(dialog));
  int result = MatchEntry(parsedEntry, formulation, problemProgress, mode);
  // Step 5: the matcher gives a repeated constraint's step back.
  bool repeated = problemProgress.entryStep < stepBefore;
  if (IsEntryCorrect(errors, result, problemProgress, mode)) {
    AcceptLine(dialog, repeated);
  } else {
    RejectLine(dialog);
  }
}

// ---- The panel --------------------------------------------------------------------------------

void InitialisePanel(Window dialog) {
  Window field = Field(dialog);
  if (field != kNoWindow) entryFieldOwnProc = ReplaceWindowProc(field, TsbChildProc);
  for (int id : {kEntryField, kAtMostSignText, kAtLeastSignText, kThirdSignText}) {
    SetWindowFont(DialogItem(dialog, id), lessonFont);
  }
  InstallParserNotices(dialog);
}

bool PanelCommand(Window dialog, int command, int notification) {
  switch (command) {
    case kCmdNewQuestion:
      NextPrompt(dialog);
      return true;
    case kCmdChooseConstraint:
      ChooseConstraint(dialog);
      return true;
    case kIdOk:
      Submit(dialog);
      return true;
    case kEntryHintButton:
      ShowHint(dialog, notification);
      return true;
    case kCmdShowHelp:
      ShowHelp(dialog, notification == kAfterWrongAnswer);
      return true;
    case kEntryFinishedButton:
      Finish(dialog, notification);
      return true;
    case kIdCancel:
      Quit(dialog);
      return true;
    case kEntryVariablesButton:
      ShowVariableList(dialog);
      return true;
    case kEntryConstraintsButton:
      ShowFormulationList(dialog);
      return true;
    default:
      return false;
  }
}

}  // namespace

Result ProbCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      InitialisePanel(dialog);
      return 1;
    case kMsgSetFocus:
      PlaceDialog(mainWindow, dialog, 0, kPanelFractionX, kPanelFractionY);
      FocusField(dialog);
      return 1;
    case kMsgCommand:
      return PanelCommand(dialog, CommandId(wParam), CommandNotification(wParam)) ? 1 : 0;
    case kMsgEndAfterPrompt:
      EndAfterPrompt(dialog, wParam);
      return 1;
    default:
      return 0;
  }
}

Result TsbChildProc(Window field, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgKeyDown: {
      int key = static_cast<int>(wParam);
      // Enter submits the line; the field keeps the focus while the panel is still up.
      if (key == kKeyEnter) {
        Window dialog = GetParent(field);
        SendMessageTo(dialog, kMsgCommand, MakeCommand(kIdOk, kNotifyClicked), 0);
        if (IsWindowVisible(dialog)) SetFocus(field);
        return 0;
      }
      // F1, F2, F3 type their relation signs, as if typed.
      if (char sign = SignOfKey(key); sign != 0) {
        SendMessageTo(field, kMsgChar, static_cast<unsigned char>(sign), 0);
        return 0;
      }
      break;
    }
    case kMsgChar:
      if (wParam >= kCharacterPasses.size() || !kCharacterPasses[wParam]) return 0;
      break;
    default:
      break;
  }
  return CallWindowProc(entryFieldOwnProc, field, message, wParam, lParam);
}
