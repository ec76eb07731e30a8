// The lesson flow's decisions that need no window: the problem orders a draw gives, the way
// practice walks through an order and certification starts a fresh one, what follows an entry
// step, and how a problem that is over ends its run.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "courselib.h"
#include "formulation_model.h"
#include "lesson_flow.h"
#include "lesson_state.h"

namespace {

// The flow's state as start-up leaves it, in the standard certification setting.
void ResetFlowState() {
  mode = kPracticeMode;
  problemOrder = {};
  problemNumber = 0;
  orderPending = 1;
  strikes = 0;
  strikesAllowed = 3;
  seriesLength = 1;
  problemProgress = {};
  formulation = {};
}

TEST(ProblemOrderOfDraw, GivesTheOrderOfEachDrawAndTheCodesInTurnOtherwise) {
  struct Case {
    int draw;
    ProblemOrder order;
  };
  const Case cases[] = {
      {0, {3, 4, 5, 7, 6}}, {1, {7, 6, 5, 4, 3}}, {2, {4, 7, 6, 3, 5}},  {3, {5, 7, 3, 6, 4}},
      {4, {7, 5, 3, 4, 6}}, {5, {3, 4, 5, 6, 7}}, {-1, {3, 4, 5, 6, 7}}, {99, {3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.draw);
    EXPECT_EQ(ProblemOrderOfDraw(c.draw), c.order);
  }
}

TEST(ChooseProblemOrder, TakesTheOrderOfOneDrawFromZeroToFour) {
  std::set<int> draws;
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    SeedRandom(seed);
    int draw = RandomInRange(4, 0);
    draws.insert(draw);
    SeedRandom(seed);
    ChooseProblemOrder();
    EXPECT_EQ(problemOrder, ProblemOrderOfDraw(draw));
  }
  // Every order of the table is reachable.
  EXPECT_EQ(draws, (std::set<int>{0, 1, 2, 3, 4}));
}

// Practice's walk through one order, from its second code round to the start and on without a
// new draw, is the session flow_practice_order.
TEST(MoveToFirstCertificationProblem, StartsAFreshOrderAndTheNextPracticeDrawsAgain) {
  ResetFlowState();
  problemNumber = 3;
  orderPending = 0;
  SeedRandom(11);
  ProblemOrder runOrder = ProblemOrderOfDraw(RandomInRange(4, 0));
  ProblemOrder practiceOrder = ProblemOrderOfDraw(RandomInRange(4, 0));
  SeedRandom(11);

  MoveToFirstCertificationProblem();
  EXPECT_EQ(problemNumber, 0);
  EXPECT_EQ(problemOrder, runOrder);
  EXPECT_EQ(orderPending, 1);

  // A run of three problems leaves problemNumber at 3; the practice after it starts a new order
  // at its second code all the same.
  problemNumber = 3;
  MoveToNextPracticeProblem();
  EXPECT_EQ(problemOrder, practiceOrder);
  EXPECT_EQ(problemNumber, 4);
  EXPECT_EQ(orderPending, 0);
}

TEST(NextAfterStep, CompletesPastTheLastConstraintStopsOnUsedUpStrikesElsePrompts) {
  struct Case {
    const char* name;
    int mode;
    int entryStep;
    int constraintCount;
    int strikes;
    AfterStep next;
  };
  const Case cases[] = {
      {"variables chosen, nothing entered yet", kPracticeMode, 0, 5, 0, AfterStep::kNextEntry},
      {"the objective function entered", kPracticeMode, 1, 5, 0, AfterStep::kNextEntry},
      {"the last constraint is still to come", kPracticeMode, 5, 5, 0, AfterStep::kNextEntry},
      {"past the last constraint", kPracticeMode, 6, 5, 0, AfterStep::kProblemCompleted},
      {"practice ignores strikes", kPracticeMode, 2, 5, 3, AfterStep::kNextEntry},
      {"certification below the limit", kCertificationMode, 2, 5, 2, AfterStep::kNextEntry},
      {"certification at the limit", kCertificationMode, 2, 5, 3, AfterStep::kProblemStopped},
      {"the last step right at the limit still completes", kCertificationMode, 10, 9, 3,
       AfterStep::kProblemCompleted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetFlowState();
    mode = c.mode;
    problemProgress.entryStep = c.entryStep;
    formulation.constraintCount = c.constraintCount;
    strikes = c.strikes;
    EXPECT_EQ(NextAfterStep(), c.next);
  }
}

TEST(EndOfProblem, DecidesBetweenNextProblemPassFailureAndLeaving) {
  struct Case {
    const char* name;
    int mode;
    int problemNumber;  // after the move past the problem just over
    int seriesLength;
    int strikesAllowed;
    int strikes;
    int quitRequested;
    RunEnd end;
  };
  const Case cases[] = {
      {"practice", kPracticeMode, 2, 1, 3, 0, 0, RunEnd::kPracticeOver},
      {"practice left", kPracticeMode, 2, 1, 3, 0, 1, RunEnd::kPracticeOver},
      {"standard run passed", kCertificationMode, 1, 1, 3, 2, 0, RunEnd::kPassed},
      {"standard run failed", kCertificationMode, 1, 1, 3, 3, 0, RunEnd::kTooManyStrikes},
      {"standard run left", kCertificationMode, 1, 1, 3, 1, 1, RunEnd::kLeft},
      {"left at the limit still fails", kCertificationMode, 1, 1, 3, 3, 1, RunEnd::kTooManyStrikes},
      {"extended run after its first problem", kCertificationMode, 1, 3, 4, 3, 0,
       RunEnd::kNextProblem},
      {"extended run after its second problem", kCertificationMode, 2, 3, 4, 0, 0,
       RunEnd::kNextProblem},
      {"extended run passed after its third", kCertificationMode, 3, 3, 4, 3, 0, RunEnd::kPassed},
      {"extended run failed in its second", kCertificationMode, 2, 3, 4, 4, 0,
       RunEnd::kTooManyStrikes},
      {"extended run left in its first", kCertificationMode, 1, 3, 4, 0, 1, RunEnd::kLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetFlowState();
    mode = c.mode;
    problemNumber = c.problemNumber;
    seriesLength = c.seriesLength;
    strikesAllowed = c.strikesAllowed;
    strikes = c.strikes;
    problemProgress.quitRequested = c.quitRequested;
    EXPECT_EQ(EndOfProblem(), c.end);
  }
}

}  // namespace
