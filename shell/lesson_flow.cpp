#include "lesson_flow.h"

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

// The problems, their panels and the strike counting are not part of the program yet: a lesson
// command leaves the lesson in the ready state it was in.
void LessonFlowCommand(int /*command*/, LParam /*value*/) {}
