#include "lesson_flow.h"

#include <array>

#include "courselib.h"
#include "dialog_services.h"
#include "formulation_model.h"
#include "list_dialogs.h"
#include "main_window.h"
#include "objective_sense_panel.h"
#include "problem_statement.h"
#include "textservices.h"

namespace {

// ---- Texts ------------------------------------------------------------------------------------

constexpr int kPracticeTitleId = 9500;
constexpr int kCertificationTitleId = 9501;
constexpr int kReadyTitleId = 9502;
constexpr int kCorrectAnswerId = 9503;
constexpr int kLessonCaptionId = 9504;
constexpr int kTooManyStrikesId = 9505;

// ---- Problem orders ---------------------------------------------------------------------------

// The orders a draw of RandomInRange(4, 0) picks from, by draw.
constexpr int kOrderDraws = 5;
constexpr std::array<ProblemOrder, kOrderDraws> kProblemOrders = {{
    {3, 4, 5, 7, 6},
    {7, 6, 5, 4, 3},
    {4, 7, 6, 3, 5},
    {5, 7, 3, 6, 4},
    {7, 5, 3, 4, 6},
}};
// A draw outside the table.
constexpr ProblemOrder kCodesInTurn = {3, 4, 5, 6, 7};

// ---- Names ------------------------------------------------------------------------------------

constexpr char kObjectiveErrorDialog[] = "2000";
constexpr char kProblemCompleteDialog[] = "PROBCOMPLETE";
constexpr char kFormulationDialog[] = "8700";
constexpr int kStatusItemCommand = 0;  // the options menu's separator, which shows the status line
constexpr int kMinMaxErrorCancelled = 0;

// ---- Small steps ------------------------------------------------------------------------------

void SetMainTitle(int titleId) {
  SetWindowText(mainWindow, LoadText(titleId));
}

void PostToMainWindow(int command, LParam value) {
  PostMessageTo(mainWindow, kMsgCommand, MakeCommand(command, 0), value);
}

// A panel sets up its question, becomes the panel the keyboard goes to, and shows.
void ShowPanel(Window panel) {
  SendMessageTo(panel, kMsgCommand, MakeCommand(kCmdNewQuestion, 0), 0);
  SetActivePanel(panel);
  SetFocus(panel);
  ShowWindow(panel, kShowNormal);
}

bool InCertification() {
  return mode == kCertificationMode;
}

// The question the objective-sense panel asks before leaving the mode; true for Yes.
bool StudentLeavesMode() {
  return AskToEndMode(mainWindow) == kIdYes;
}

// ---- Starting a problem -----------------------------------------------------------------------

// Mode start: the problem's stages own the menu until it is over, and the picture goes.
void StartMode() {
  problemActive = 1;
  problemProgress.quitRequested = 0;
  strikes = 0;
  for (int position : {kMenuPractice, kMenuCertification, kMenuQuit}) {
    EnableMenuPosition(mainWindow, position, false);
  }
  seriesOver = 0;
  DrawMenuBar(mainWindow);
  InvalidateWindow(mainWindow, true);
}

// Step 2 of a problem start: nothing of the previous problem's progress carries over.
void ResetProblemProgress() {
  problemProgress.entryStep = 0;
  problemProgress.problemFinished = 0;
  problemProgress.hintLevel = 0;
  problemProgress.constraintEntered.fill(0);
}

// Step 3: the current problem is generated and stated.
void StartProblemStatement() {
  BuildStatement(problemOrder[problemNumber]);
}

// Step 4: the statement, wrapped for the system font the box shows it in, from its first line.
void FillProblemBox() {
  SendMessageTo(problemBox, kMsgSetRedraw, 0, 0);
  ListClear(problemBox);
  ShowWindow(problemBox, kShowNormal);
  AddWrappedText(problemBox, kListIsWindow, TextIn(problemText), SystemFont());
  RefreshListBox(problemBox);
  InvalidateWindow(mainWindow, true);
}

void StartProblem() {
  if (InCertification()) ShowStatusLine();  // step 1
  ResetProblemProgress();                   // step 2
  StartProblemStatement();                  // step 3
  FillProblemBox();                         // step 4
  ShowPanel(minMaxPanel);                   // step 5
}

// ---- The stages -------------------------------------------------------------------------------

// 2200: the answer to the objective-sense question, the ID of the radio button chosen.
void JudgeObjectiveSense(LParam answer) {
  // A right answer: on to the decision variables.
  if (answer == formulation.objectiveSense) {
    ShowTextBox(mainWindow, kCorrectAnswerId, kLessonCaptionId,
                kBoxOk | kBoxIconExclamation | kBoxSystemModal);
    ShowPanel(variablePanel);
    return;
  }
  // A wrong one costs a strike in certification, and the reason is shown.
  if (InCertification()) {
    strikes += 1;
    ShowStatusLine();
  }
  Result result = RunModalDialog(kObjectiveErrorDialog, mainWindow, MinMaxErrorCmd, 0);
  // Cancel there asks whether to leave the mode.
  if (result == kMinMaxErrorCancelled && StudentLeavesMode()) {
    problemProgress.quitRequested = 1;
    if (InCertification()) ShowStatusLine();
    showPicture = 1;
    PostToMainWindow(kCmdProblemOver, kProblemStopped);
    return;
  }
  // The sense is not asked again: the variables follow unless that was the last strike.
  if (StrikesUsedUp()) {
    PostToMainWindow(kCmdProblemOver, kProblemStopped);
  } else {
    ShowPanel(variablePanel);
  }
}

// 2670 and 2680: the variable selection or an entry step is over.
void StepOver() {
  switch (NextAfterStep()) {
    case AfterStep::kProblemCompleted:
      PostToMainWindow(kCmdProblemOver, kProblemCompleted);
      break;
    case AfterStep::kProblemStopped:
      PostToMainWindow(kCmdProblemOver, kProblemStopped);
      break;
    case AfterStep::kNextEntry:
      problemProgress.hintLevel = 0;
      ShowPanel(entryPanel);
      break;
  }
}

// ---- The end of a problem and of a run --------------------------------------------------------

// Step 2 of problem over: a completed problem offers its whole formulation.
void OfferCompleteFormulation() {
  Result answer = RunModalDialog(kProblemCompleteDialog, mainWindow, ProbCompleteCmd, 0);
  if (answer == kIdYes) RunModalDialog(kFormulationDialog, mainWindow, ConstListCmd, 0);
}

// Step 7: a passed run is certified at once, before the ready state comes back.
void CertifyRun() {
  certifiedThisRun = 1;
  SendMessageTo(mainWindow, kMsgCommand, MakeCommand(kCmdPrintCertificate, 0), 1);
}

// Step 8: a failed run says so and leaves the lesson in practice mode.
void RefuseCertification() {
  ShowTextBox(kNoWindow, kTooManyStrikesId, kLessonCaptionId,
              kBoxOk | kBoxIconInformation | kBoxSystemModal);
  mode = kPracticeMode;
}

// Steps 9 and 10: the ready state, with the whole menu and the picture.
void ReturnToReady() {
  for (int position = kMenuPractice; position < kMenuBarItems; ++position) {
    EnableMenuPosition(mainWindow, position, true);
  }
  seriesOver = 1;
  // A failed run has already gone back to practice mode, but its status line goes all the same.
  if (InCertification() || strikes >= strikesAllowed) {
    SetMenuCommandSeparator(mainWindow, kStatusItemCommand);
  }
  DrawMenuBar(mainWindow);
  SetMainTitle(kReadyTitleId);
  SetFocus(mainWindow);
  showPicture = 1;
  InvalidateWindow(mainWindow, false);
}

// 2660: the problem is over; value 1 when every constraint was entered.
void ProblemOver(LParam value) {
  // Steps 1 to 4: the problem is no longer running; a completed one offers its formulation, and a
  // run moves on in its order.
  problemActive = 0;
  // A certification problem that ends unfinished (the student chose Quit Problem under
  // "&Finished" with constraints still missing) leaves the run: a certificate is earned by
  // formulating the problems, never by skipping them. Strikes still decide the "Sorry!" box.
  if (InCertification() && value != kProblemCompleted) problemProgress.quitRequested = 1;
  if (value == kProblemCompleted) OfferCompleteFormulation();
  if (InCertification()) problemNumber = (problemNumber + 1) % kProblemCount;
  problemProgress.hintLevel = 0;
  RunEnd end = EndOfProblem();
  // Step 5: a run that goes on takes its next problem, its strikes carried over.
  if (end == RunEnd::kNextProblem) {
    PostToMainWindow(kCmdNextProblem, 0);
    return;
  }
  // Step 6: the run is over.
  ShowWindow(problemBox, kHide);
  InvalidateWindow(mainWindow, true);
  if (end == RunEnd::kPassed) CertifyRun();
  if (end == RunEnd::kTooManyStrikes) RefuseCertification();
  ReturnToReady();
}

}  // namespace

// ---- Decisions --------------------------------------------------------------------------------

ProblemOrder ProblemOrderOfDraw(int draw) {
  if (draw < 0 || draw >= kOrderDraws) return kCodesInTurn;
  return kProblemOrders[draw];
}

void ChooseProblemOrder() {
  problemOrder = ProblemOrderOfDraw(RandomInRange(kOrderDraws - 1, 0));
}

void MoveToNextPracticeProblem() {
  if (orderPending) ChooseProblemOrder();
  orderPending = 0;
  problemNumber = (problemNumber + 1) % kProblemCount;
}

void MoveToFirstCertificationProblem() {
  problemNumber = 0;
  ChooseProblemOrder();
  orderPending = 1;
}

bool StrikesUsedUp() {
  return mode == kCertificationMode && strikes >= strikesAllowed;
}

AfterStep NextAfterStep() {
  if (problemProgress.entryStep > formulation.constraintCount) return AfterStep::kProblemCompleted;
  if (StrikesUsedUp()) return AfterStep::kProblemStopped;
  return AfterStep::kNextEntry;
}

RunEnd EndOfProblem() {
  if (mode != kCertificationMode) return RunEnd::kPracticeOver;
  bool left = problemProgress.quitRequested != 0;
  if (StrikesUsedUp()) return RunEnd::kTooManyStrikes;
  if (left) return RunEnd::kLeft;
  if (problemNumber < seriesLength) return RunEnd::kNextProblem;
  return RunEnd::kPassed;
}

// ---- Commands ---------------------------------------------------------------------------------

namespace {

constexpr int kLessonFlowCommands[] = {
    kCmdPractice,    kCmdCertification,     kCmdNextProblem,   kCmdObjectiveSenseAnswered,
    kCmdProblemOver, kCmdVariablesSelected, kCmdEntryStepOver,
};

}  // namespace

bool IsLessonFlowCommand(int command) {
  for (int known : kLessonFlowCommands) {
    if (known == command) return true;
  }
  return false;
}

void LessonFlowCommand(int command, LParam value) {
  switch (command) {
    case kCmdPractice:
      SetMainTitle(kPracticeTitleId);
      mode = kPracticeMode;
      MoveToNextPracticeProblem();
      StartMode();
      StartProblem();
      break;
    case kCmdCertification:
      SetMainTitle(kCertificationTitleId);
      mode = kCertificationMode;
      MoveToFirstCertificationProblem();
      StartMode();
      StartProblem();
      break;
    case kCmdNextProblem:
      StartProblem();
      break;
    case kCmdObjectiveSenseAnswered:
      JudgeObjectiveSense(value);
      break;
    case kCmdVariablesSelected:
    case kCmdEntryStepOver:
      StepOver();
      break;
    case kCmdProblemOver:
      ProblemOver(value);
      break;
    default:
      break;
  }
}

Result ProbCompleteCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      return 1;
    case kMsgCommand:
      switch (CommandId(wParam)) {
        case kIdYes:
        case kIdNo:
          EndDialog(dialog, CommandId(wParam));
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}
