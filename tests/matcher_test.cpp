// Matching entered rows against hand-built formulations: the tolerances, the bookkeeping of exact
// matches and repeats, the nearest constraint and its tie-break, and the entry panel's verdict.
#include "matcher.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kPractice = kModePractice;
constexpr int kCertification = kModeCertification;
constexpr int kGe = kRelationAtLeast;
constexpr int kLe = kRelationAtMost;

// A row from its leading coefficients (p, q, r, ...), relation and right-hand side.
FormulationRow Row(std::initializer_list<double> coefs, double relation, double rhs) {
  FormulationRow row{};
  int k = 0;
  for (double c : coefs) row.coef[k++] = c;
  row.relation = relation;
  row.rhs = rhs;
  return row;
}

Formulation WithConstraints(const std::vector<FormulationRow>& rows) {
  Formulation f{};
  for (std::size_t i = 0; i < rows.size(); ++i) f.constraints[i] = rows[i];
  f.constraintCount = static_cast<int>(rows.size());
  f.variableCount = 3;
  return f;
}

// The printing problem with percentages 55, 35, 20, orders 750000, 500000, 100000, 300, 150 and
// 60 pages an hour and 4500 hours of wages.
Formulation Printing() {
  Formulation f = WithConstraints({
      Row({1}, kGe, 0.01 * 55.0 * 750000.0),  // 412500.00000000006
      Row({0, 1}, kGe, 0.01 * 35.0 * 500000.0),
      Row({0, 0, 1}, kGe, 0.01 * 20.0 * 100000.0),
      Row({1}, kLe, 750000),
      Row({0, 1}, kLe, 500000),
      Row({0, 0, 1}, kLe, 100000),
      Row({1.0 / 300, 1.0 / 150, 1.0 / 60}, kLe, 4500),
  });
  f.objective = Row({0.03, 0.06, 0.19}, 0, 0);
  return f;
}

ParsedEntry Entered(const FormulationRow& row) {
  ParsedEntry entry{};
  entry.enteredRow = row;
  entry.rhsValid = 1;
  return entry;
}

ProblemProgress ConstraintStep(int chosen, std::initializer_list<int> entered = {}) {
  ProblemProgress progress{};
  progress.entryStep = 3;
  progress.chosenConstraint = chosen;
  progress.matchedConstraint = kNothingToChoose;
  progress.lastMatchedConstraint = kNothingToChoose;
  for (int i : entered) progress.constraintEntered[i] = 1;
  return progress;
}

TEST(ObjectiveStep, CountsValuesOutsideTheStrictObjectiveTolerance) {
  Formulation f{};
  f.objective = Row({3, 4}, 0, 0);  // 3p + 4q
  struct Case {
    const char* name;
    FormulationRow entered;
    int mismatches;
  };
  const Case cases[] = {
      {"exact", Row({3, 4}, 0, kEmptyRhs), 0},
      {"3.05p is within 0.11", Row({3.05, 4}, 0, kEmptyRhs), 0},
      {"3.2p is one mismatch", Row({3.2, 4}, 0, kEmptyRhs), 1},
      {"3.11p sits on the bound, which is excluded", Row({3.11, 4}, 0, kEmptyRhs), 1},
      {"2.89p sits on the lower bound", Row({2.89, 4}, 0, kEmptyRhs), 1},
      {"0.11r where there is no r", Row({3, 4, 0.11}, 0, kEmptyRhs), 1},
      {"swapped coefficients", Row({4, 3}, 0, kEmptyRhs), 2},
      {"a relation typed", Row({3, 4}, kRelationEqual, kEmptyRhs), 1},
      {"a right-hand side is not compared", Row({3, 4}, 0, 500), 0},
      {"slot 7 is compared", Row({3, 4, 0, 0, 0, 0, 0, 1}, 0, kEmptyRhs), 1},
      {"every value NaN", Row({kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN}, kNaN, kNaN), 9},
      {"huge and infinite values", Row({1e308, -kInf, kInf}, 0, kEmptyRhs), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemProgress progress{};
    progress.entryStep = 1;
    progress.chosenConstraint = -1;
    progress.matchedConstraint = kNothingToChoose;
    EXPECT_EQ(MatchEntry(Entered(c.entered), f, progress, kCertification), c.mismatches);
    EXPECT_EQ(progress.matchedConstraint, -1);
    EXPECT_EQ(progress.entryStep, 1);
  }
}

TEST(ConstraintStep, CoefficientsAgreeToAThousandthAndTheRightSideToATenThousandth) {
  const Formulation f = WithConstraints({Row({2, 3}, kGe, 120), Row({1, 1}, kLe, 50)});
  struct Case {
    const char* name;
    FormulationRow entered;
    int result;  // matchedConstraint is 0 in every case
  };
  const Case cases[] = {
      {"exact", Row({2, 3}, kGe, 120), 0},
      {"3.0005q", Row({2, 3.0005}, kGe, 120), 0},
      {"3.001q on the bound, included", Row({2, 3.001}, kGe, 120), 0},
      {"2.999q on the lower bound", Row({2, 2.999}, kGe, 120), 0},
      {"3.002q", Row({2, 3.002}, kGe, 120), 1},
      {"a stray 0.001r", Row({2, 3, 0.001}, kGe, 120), 0},
      {"a stray 0.002r", Row({2, 3, 0.002}, kGe, 120), 1},
      {"slot 7 is not compared", Row({2, 3, 0, 0, 0, 0, 0, 5}, kGe, 120), 0},
      {"120.00005", Row({2, 3}, kGe, 120.00005), 0},
      {"120.0001 on the bound", Row({2, 3}, kGe, 120.0001), 0},
      {"119.9999 on the lower bound", Row({2, 3}, kGe, 119.9999), 0},
      {"120.001", Row({2, 3}, kGe, 120.001), 1},
      {"'>' never matches at least", Row({2, 3}, kRelationGreater, 120), 1},
      {"at most", Row({2, 3}, kLe, 120), 1},
      {"no right-hand side", Row({2, 3}, kGe, kEmptyRhs), 1},
      {"huge p", Row({1e308, 3}, kGe, 120), 1},
      {"NaN q", Row({2, kNaN}, kGe, 120), 1},
      {"infinite right side", Row({2, 3}, kGe, kInf), 1},
      {"NaN relation", Row({2, 3}, kNaN, 120), 1},
      {"huge relation", Row({2, 3}, 1e308, -kInf), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemProgress progress = ConstraintStep(0);
    EXPECT_EQ(MatchEntry(Entered(c.entered), f, progress, kPractice), c.result);
    EXPECT_EQ(progress.matchedConstraint, 0);
    EXPECT_EQ(progress.constraintEntered[0], c.result == 0 ? 1 : 0);
  }
}

TEST(ExactMatch, MarksTheConstraintEnteredAndRemembersIt) {
  const Formulation f = Printing();
  struct Case {
    FormulationRow entered;
    int constraint;
  };
  const Case cases[] = {
      {Row({1}, kGe, 412500.00000000006), 0},
      {Row({0, 1}, kGe, 175000), 1},
      {Row({0, 0, 1}, kGe, 20000), 2},
      {Row({1}, kLe, 750000), 3},
      {Row({0, 1}, kLe, 500000), 4},
      {Row({0, 0, 1}, kLe, 100000), 5},
      {Row({0.00333, 0.00667, 0.01667}, kLe, 4500), 6},
  };
  for (const int mode : {kPractice, kCertification}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << ", constraint " << c.constraint);
      ProblemProgress progress = ConstraintStep(c.constraint);
      EXPECT_EQ(MatchEntry(Entered(c.entered), f, progress, mode), 0);
      EXPECT_EQ(progress.matchedConstraint, c.constraint);
      EXPECT_EQ(progress.lastMatchedConstraint, c.constraint);
      EXPECT_EQ(progress.entryStep, 3);
      EXPECT_EQ(CountEnteredConstraints(f, progress), 1);
      EXPECT_EQ(progress.constraintEntered[c.constraint], 1);
      EXPECT_TRUE(IsEntryCorrect(0, 0, progress, mode));
    }
  }
}

// What a constraint line does to the progress in each mode; kAny marks what a case leaves open.
TEST(MatchEntry, ModesDecideWhatAnotherOrAnEnteredConstraintCounts) {
  constexpr int kAny = 99;
  const int kNone = kNothingToChoose;
  struct Case {
    const char* name;
    int mode;
    int chosen;
    std::initializer_list<int> entered;
    FormulationRow line;
    int result;
    int matched;
    int lastMatched;
    int entryStep;
    int count;  // constraints entered afterwards
    bool right;
  };
  // clang-format off
  const Case cases[] = {
      // A repeat is right without progress; even with a syntax error (see IsEntryCorrect).
      {"practice repeat of an entered constraint", kPractice, 6, {2, 4},
       Row({0, 0, 1}, kGe, 20000), -1, -3, 2, 2, 2, true},
      {"practice takes a constraint other than the chosen one", kPractice, 6, {},
       Row({1}, kLe, 750000), 0, 3, kAny, kAny, 1, true},
      {"certification: another constraint typed exactly is its own nearest, no bad item",
       kCertification, 6, {}, Row({1}, kLe, 750000), 0, 3, kNone, kAny, 0, false},
      // Typed as the entered constraint 0; of the rest p <= 750000 is nearest (relation and right
      // side wrong).
      {"certification: entered constraints are no candidates", kCertification, 3, {0},
       Row({1}, kGe, 412500.00000000006), 2, 3, kAny, 3, 1, false},
      {"certification: nothing left to match", kCertification, kNone, {0, 1, 2, 3, 4, 5, 6},
       Row({1}, kLe, 750000), -1, -1, kAny, kAny, 7, false},
  };
  // clang-format on
  const Formulation f = Printing();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemProgress progress = ConstraintStep(c.chosen, c.entered);
    const int result = MatchEntry(Entered(c.line), f, progress, c.mode);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(progress.matchedConstraint, c.matched);
    EXPECT_EQ(c.lastMatched == kAny ? kAny : progress.lastMatchedConstraint, c.lastMatched);
    EXPECT_EQ(c.entryStep == kAny ? kAny : progress.entryStep, c.entryStep);
    EXPECT_EQ(CountEnteredConstraints(f, progress), c.count);
    EXPECT_EQ(IsEntryCorrect(0, result, progress, c.mode), c.right);
  }
}

TEST(NearestConstraint, HostileValuesStillNameAConstraint) {
  const Formulation f = Printing();
  struct Case {
    const char* name;
    FormulationRow entered;
    int mode;
    int nearest;
    int bad;
  };
  const Case cases[] = {
      {"huge p", Row({1e308}, kGe, 412500.00000000006), kPractice, 0, 1},
      {"infinite right side", Row({1}, kGe, kInf), kPractice, 0, 1},
      {"NaN relation", Row({1}, kNaN, 750000), kPractice, 3, 1},
      // Nothing is good or close anywhere: every stage ties, and the mode decides.
      {"all NaN, practice", Row({kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN}, kNaN, kNaN),
       kPractice, 0, 9},
      {"all NaN, certification", Row({kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN}, kNaN, kNaN),
       kCertification, 1, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemProgress progress = ConstraintStep(6);
    EXPECT_EQ(MatchEntry(Entered(c.entered), f, progress, c.mode), c.bad);
    EXPECT_EQ(progress.matchedConstraint, c.nearest);
    EXPECT_EQ(CountEnteredConstraints(f, progress), 0);
  }
}

TEST(TieBreak, EachStageDecidesWhatTheEarlierStagesLeaveTied) {
  // Every case ties on the good count. The constraint the stage should pick comes later in
  // candidate order than the one the final stage would take in practice mode.
  const FormulationRow far = Row({9, 9, 9}, kRelationEqual, 1);
  struct Case {
    const char* name;
    std::vector<FormulationRow> constraints;
    std::initializer_list<int> entered;
    FormulationRow line;
    int mode;
    int nearest;
    int bad;
  };
  // clang-format off
  const Case cases[] = {
      {"stage 1: the right-hand side typed equals the later one's",
       {Row({1}, kGe, 412500.00000000006), Row({1}, kLe, 750000)}, {},
       Row({1}, kGe, 750000), kPractice, 1, 1},
      {"stage 1 outranks stage 2, which prefers the first",
       {Row({1, 1}, kGe, 100.0005), Row({1, 1}, kLe, 100)}, {},
       Row({1, 1}, kGe, 100), kPractice, 1, 1},
      {"stage 2: a right side off by 0.0005 is close though not good; magnitudes tie",
       {Row({-1, 1}, kGe, 60), Row({3, 1}, kGe, 50.0005)}, {},
       Row({1, 1}, kGe, 50), kPractice, 1, 2},
      {"stage 3: a sign error is close in magnitude",
       {Row({3, 1}, kGe, 20), Row({-2, 1}, kGe, 10)}, {},
       Row({2, 1}, kGe, 50), kPractice, 1, 2},
      {"stage 3 scores the whole tied set, not only the leaders of stage 2",
       {Row({3, 1}, kGe, 50.0005), Row({1, 3}, kGe, 50.0005), Row({-1, 1}, kGe, -50)}, {},
       Row({1, 1}, kGe, 50), kPractice, 2, 2},
      {"stage 4: coefficients typed on each other's variable",
       {Row({5, 7}, kGe, 40), Row({3, 2}, kGe, 40)}, {},
       Row({2, 3}, kGe, 50), kPractice, 1, 3},
      {"stage 5: practice takes the first tied",
       {far, Row({2, 1}, kGe, 40), Row({1, 2}, kGe, 40)}, {0},
       Row({1, 1}, kGe, 50), kPractice, 1, 2},
      {"stage 5: certification takes the second, as a constraint index",
       {far, Row({2, 1}, kGe, 40), Row({1, 2}, kGe, 40)}, {0},
       Row({1, 1}, kGe, 50), kCertification, 2, 2},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Formulation f = WithConstraints(c.constraints);
    ProblemProgress progress = ConstraintStep(0, c.entered);
    EXPECT_EQ(MatchEntry(Entered(c.line), f, progress, c.mode), c.bad);
    EXPECT_EQ(progress.matchedConstraint, c.nearest);
  }
}

TEST(NearestConstraint, NoneWithoutCandidatesOrWithFewerConstraintsThanEntered) {
  const ParsedEntry entry = Entered(Row({1}, kLe, 750000));
  const ProblemProgress progress = ConstraintStep(0);
  const CandidateList none{};
  EXPECT_EQ(NearestConstraint(none, entry, Printing(), progress, kPractice), -1);
  EXPECT_EQ(NearestConstraint(none, entry, Printing(), progress, kCertification), -1);

  Formulation broken = Printing();
  broken.constraintCount = -1;
  CandidateList one{};
  one.items[0] = {3, 9, 0};
  one.count = 1;
  EXPECT_EQ(NearestConstraint(one, entry, broken, progress, kPractice), -1);
  EXPECT_EQ(NearestConstraint(one, entry, Printing(), progress, kPractice), 3);
}

TEST(TieBreakNearest, ASingleTiedCandidateWinsInBothModes) {
  const ParsedEntry entry = Entered(Row({1, 1}, kGe, 50));
  CandidateList candidates{};
  candidates.items[0] = {4, 6, 3};
  candidates.items[1] = {5, 7, 2};
  candidates.count = 2;
  EXPECT_EQ(TieBreakNearest(candidates, 7, entry, Printing(), kPractice), 5);
  EXPECT_EQ(TieBreakNearest(candidates, 7, entry, Printing(), kCertification), 5);
  EXPECT_EQ(TieBreakNearest(candidates, 8, entry, Printing(), kCertification), -1);
}

TEST(CountCloseValues, CountsTheTenRowValuesWithinAThousandth) {
  const FormulationRow correct = Row({2, -3, 0, 0, 0, 0, 0, 0}, kGe, 120);
  struct Case {
    const char* name;
    FormulationRow entered;
    int byValue;
    int byMagnitude;
  };
  const Case cases[] = {
      {"the same row", Row({2, -3}, kGe, 120), 10, 10},
      {"0.001 off is close", Row({2.001, -3}, kGe, 120.001), 10, 10},
      {"0.0011 off on a zero slot is not", Row({2, -3, 0.0011}, kGe, 120), 9, 9},
      {"signs turned", Row({-2, 3}, kGe, -120), 7, 10},
      {"the relation counts", Row({2, -3}, kLe, 120), 9, 9},
      {"slot 7 counts", Row({2, -3, 0, 0, 0, 0, 0, 1}, kGe, 120), 9, 9},
      {"NaN everywhere", Row({kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN}, kNaN, kNaN), 0, 0},
      {"infinities", Row({kInf, -kInf}, kGe, 1e308), 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CountCloseValues(correct, c.entered, false), c.byValue);
    EXPECT_EQ(CountCloseValues(correct, c.entered, true), c.byMagnitude);
  }
}

TEST(CountSwappedCoefficients, EachUnmatchedSlotTakesOneCoefficientAtMost) {
  struct Case {
    const char* name;
    FormulationRow correct;
    FormulationRow entered;
    SlotFlags matched;
    int swapped;
  };
  // Slots without a variable in the row are marked: their zero was typed as zero.
  const SlotFlags pqOpen{false, false, true, true, true, true, true};
  const SlotFlags pqrOpen{false, false, false, true, true, true, true};
  const SlotFlags qOpen{true, false, true, true, true, true, true};
  const Case cases[] = {
      {"p and q exchanged", Row({3, 2}, kGe, 1), Row({2, 3}, kGe, 1), pqOpen, 2},
      {"two entered values fit one slot once", Row({3, 4, 5}, kGe, 1), Row({5, 5, 3}, kGe, 1),
       pqrOpen, 2},
      {"a matched slot takes nothing", Row({2, 7}, kGe, 1), Row({2, 2}, kGe, 1), qOpen, 0},
      {"a matched slot gives nothing", Row({2, 7}, kGe, 1), Row({7, 2}, kGe, 1), qOpen, 0},
      {"nothing fits", Row({3, 2}, kGe, 1), Row({5, 6}, kGe, 1), pqOpen, 0},
      {"NaN fits nothing", Row({3, 2}, kGe, 1), Row({kNaN, kNaN}, kGe, 1), pqOpen, 0},
      {"an unmarked zero slot fits another zero", Row({3}, kGe, 1), Row({0}, kGe, 1), SlotFlags{},
       6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CountSwappedCoefficients(c.matched, c.correct, c.entered), c.swapped);
  }
}

TEST(CountEnteredConstraints, CountsOnlyFlagsBelowTheConstraintCount) {
  Formulation f = Printing();
  ProblemProgress progress = ConstraintStep(0, {0, 6, 7, 14});
  EXPECT_EQ(CountEnteredConstraints(f, progress), 2);
  f.constraintCount = 100;
  EXPECT_EQ(CountEnteredConstraints(f, progress), 4);
  f.constraintCount = -5;
  EXPECT_EQ(CountEnteredConstraints(f, progress), 0);
}

TEST(IsEntryCorrect, RightOnlyForACleanExactMatchOrARepeatAndTheChosenOneInCertification) {
  struct Case {
    const char* name;
    int parseErrors;
    int matchResult;
    int mode;
    int matched;
    int chosen;
    bool right;
  };
  const Case cases[] = {
      {"clean exact match", 0, 0, kPractice, 3, 6, true},
      {"exact sums but a syntax error", 1, 0, kPractice, 3, 3, false},
      {"one item wrong", 0, 1, kPractice, 3, 3, false},
      {"repeat of an entered constraint", 0, -1, kPractice, -4, 6, true},
      {"repeat with a syntax error", 3, -1, kPractice, -4, 6, true},
      {"certification, the chosen constraint", 0, 0, kCertification, 4, 4, true},
      {"certification, the objective function", 0, 0, kCertification, -1, -1, true},
      {"certification, another constraint exactly", 0, 0, kCertification, 3, 4, false},
      {"certification, a syntax error", 2, 0, kCertification, 4, 4, false},
      {"certification, one item wrong", 0, 1, kCertification, 4, 4, false},
      {"certification, nothing left", 0, -1, kCertification, -1, kNothingToChoose, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProblemProgress progress{};
    progress.matchedConstraint = c.matched;
    progress.chosenConstraint = c.chosen;
    EXPECT_EQ(IsEntryCorrect(c.parseErrors, c.matchResult, progress, c.mode), c.right);
  }
}

}  // namespace
