// The lesson flow's side of the main window's commands: practice and certification, the next
// problem of a run, and the stages the panels report back (objective sense answered, variables
// selected, an entry step over, the problem over). The main window's command handler routes these
// commands here.
#pragma once

#include "platform.h"

// The lesson flow's commands.
inline constexpr int kCmdPractice = 110;
inline constexpr int kCmdCertification = 115;
inline constexpr int kCmdNextProblem = 120;
inline constexpr int kCmdObjectiveSenseAnswered = 2200;
inline constexpr int kCmdProblemOver = 2660;
inline constexpr int kCmdVariablesSelected = 2670;
inline constexpr int kCmdEntryStepOver = 2680;

// True for the commands above.
bool IsLessonFlowCommand(int command);

// Runs one lesson-flow command with its value.
void LessonFlowCommand(int command, LParam value);
