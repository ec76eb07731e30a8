// The lesson flow's side of the main window's commands: practice and certification, the next
// problem of a run, and the stages the panels report back (objective sense answered, variables
// selected, an entry step over, the problem over). The main window's command handler routes these
// commands here; the flow owns the mode, the problem order and the strikes (lesson_state.h).
#pragma once

#include <array>

#include "lesson_state.h"
#include "platform.h"

// The lesson flow's commands.
inline constexpr int kCmdPractice = 110;
inline constexpr int kCmdCertification = 115;
inline constexpr int kCmdNextProblem = 120;
inline constexpr int kCmdObjectiveSenseAnswered = 2200;
inline constexpr int kCmdProblemOver = 2660;
inline constexpr int kCmdVariablesSelected = 2670;
inline constexpr int kCmdEntryStepOver = 2680;

// What the flow sends a panel to set up its question before showing it.
inline constexpr int kCmdNewQuestion = 2650;

// Values of kCmdProblemOver: every constraint entered, or the problem left or stopped.
inline constexpr LParam kProblemCompleted = 1;
inline constexpr LParam kProblemStopped = 0;
inline constexpr LParam kProblemLeft = -1;

// True for the commands above.
bool IsLessonFlowCommand(int command);

// Runs one lesson-flow command with its value.
void LessonFlowCommand(int command, LParam value);

// ---- The decisions of the flow, without windows ---------------------------------------------

using ProblemOrder = std::array<int, kProblemCount>;

// The problem codes in the order of a draw of 0 to 4; any other draw gives the codes in turn.
ProblemOrder ProblemOrderOfDraw(int draw);

// Draws this run's order into problemOrder.
void ChooseProblemOrder();

// The practice command's move to its problem: a new order when one is pending, then the next code
// of the order (after the fifth, the first again).
void MoveToNextPracticeProblem();

// The certification command's start of a run: the first code of a freshly drawn order, and a new
// order for the practice problem after the run.
void MoveToFirstCertificationProblem();

// True when a certification run has used up its strikes.
bool StrikesUsedUp();

// What follows an entry step (and the variable selection).
enum class AfterStep {
  kProblemCompleted,  // every step was taken
  kProblemStopped,    // the run has used up its strikes
  kNextEntry,         // prompt for the next entry
};
AfterStep NextAfterStep();

// How a problem that is over ends, read once problemNumber has moved on in certification mode.
enum class RunEnd {
  kNextProblem,     // the certification run goes on with its next problem
  kPracticeOver,    // a practice problem is over
  kPassed,          // the run is passed: the certificate
  kTooManyStrikes,  // the run failed
  kLeft,            // the student left the run
};
RunEnd EndOfProblem();

// Dialog "PROBCOMPLETE": asks whether to show the complete formulation; either button ends it
// with its ID (kIdYes, kIdNo).
Result ProbCompleteCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
