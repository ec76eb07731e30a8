// Matching a line: the tolerance of each comparison, the walk over the constraints, the bookkeeping
// of an exact match and the tie-break that names the nearest constraint when none matches.
#include "matcher.h"

#include <algorithm>
#include <cmath>

namespace {

// Objective coefficients are typed as costs and often rounded, so they match within 0.11, strictly.
constexpr double kObjectiveTolerance = 0.11;
// Constraint coefficients match when they agree in thousandths, one thousandth either way.
constexpr double kCoefficientScale = 1000.0;
constexpr double kScaledCoefficientTolerance = 1.0;
constexpr double kRhsTolerance = 0.0001;
// Two values count as close when the nearest constraint is sought.
constexpr double kNearTolerance = 0.001;

constexpr int kObjectiveStep = 1;
constexpr int kRowValues = kVariableSlots + 2;  // the coefficients, the relation, the right side

bool IsPractice(int mode) {
  return mode == kModePractice;
}
bool IsCertification(int mode) {
  return mode == kModeCertification;
}

// The number of constraint rows to look at, never beyond the rows the record holds.
int ConstraintLimit(const Formulation& formulation) {
  return std::clamp<int>(formulation.constraintCount, 0, kMaxConstraints);
}

int CandidateLimit(const CandidateList& candidates) {
  return std::clamp(candidates.count, 0, kMaxCandidates);
}

bool IsConstraintIndex(int index) {
  return index >= 0 && index < kMaxConstraints;
}

// ---- Tolerances ----

bool ObjectiveValueMatches(double entered, double correct) {
  // Objective coefficient or relation: entered - 0.11 < correct < entered + 0.11.
  return entered - kObjectiveTolerance < correct && correct < entered + kObjectiveTolerance;
}

// Constraint coefficient: entered x 1000 - 1 <= correct x 1000 <= entered x 1000 + 1. The
// entered side is the same against every constraint, so each line works its windows out once.
struct CoefficientWindows {
  std::array<double, kLetterSlots> low;
  std::array<double, kLetterSlots> high;
};

CoefficientWindows WindowsOf(const FormulationRow& entered) {
  // For slots 0..6: entered x 1000 - 1 and entered x 1000 + 1.
  CoefficientWindows windows;
  for (int k = 0; k < kLetterSlots; ++k) {
    const double enteredScaled = entered.coef[k] * kCoefficientScale;
    windows.low[k] = enteredScaled - kScaledCoefficientTolerance;
    windows.high[k] = enteredScaled + kScaledCoefficientTolerance;
  }
  return windows;
}

bool CoefficientMatches(const CoefficientWindows& windows, int slot, double correct) {
  // The correct coefficient, scaled, lies inside the slot's window.
  const double correctScaled = correct * kCoefficientScale;
  return windows.low[slot] <= correctScaled && correctScaled <= windows.high[slot];
}

bool RelationMatches(double entered, double correct) {
  // Constraint relation: the codes are equal.
  return entered == correct;
}

bool RhsMatches(double entered, double correct) {
  // Constraint right-hand side: correct - 0.0001 <= entered <= correct + 0.0001.
  return correct - kRhsTolerance <= entered && entered <= correct + kRhsTolerance;
}

bool IsClose(double entered, double correct) {
  // Nearest-constraint scores: |correct - entered| <= 0.001, as entered + 0.001 >= correct and
  // entered - 0.001 <= correct.
  return entered + kNearTolerance >= correct && entered - kNearTolerance <= correct;
}

// ---- The objective step ----

int CountObjectiveMismatches(const FormulationRow& entered, const FormulationRow& objective) {
  // Compare coefficient slots 0..7 and the relation; the right-hand side is not compared.
  int mismatches = 0;
  for (int k = 0; k < kVariableSlots; ++k) {
    if (!ObjectiveValueMatches(entered.coef[k], objective.coef[k])) ++mismatches;
  }
  if (!ObjectiveValueMatches(entered.relation, objective.relation)) ++mismatches;
  return mismatches;
}

int MatchObjective(const ParsedEntry& entry, const Formulation& formulation,
                   ProblemProgress& progress) {
  // Objective step: one candidate; matchedConstraint -1, result the number of mismatches.
  progress.matchedConstraint = -1;
  return CountObjectiveMismatches(entry.enteredRow, formulation.objective);
}

// ---- The walk over the constraints ----

int CountGoodItems(const CoefficientWindows& windows, const FormulationRow& entered,
                   const FormulationRow& constraint) {
  // Nine items: coefficient slots 0..6, the relation and the right-hand side; each one that
  // matches counts one. The seven comparisons are most of the walk's time: no loop counter
  // between them.
  int good = 0;
#pragma GCC unroll kLetterSlots
  for (int k = 0; k < kLetterSlots; ++k) good += CoefficientMatches(windows, k, constraint.coef[k]);
  good += RelationMatches(entered.relation, constraint.relation);
  good += RhsMatches(entered.rhs, constraint.rhs);
  return good;
}

bool IsCandidate(int constraint, const ProblemProgress& progress, int mode) {
  // An entered constraint is skipped, except in practice mode where it stays a candidate.
  return IsPractice(mode) || progress.constraintEntered[constraint] == 0;
}

int WalkConstraints(const ParsedEntry& entry, const Formulation& formulation,
                    const ProblemProgress& progress, int mode, CandidateList& candidates) {
  // Record every candidate in order and stop at the first with no bad item; returns its index,
  // or -1 when the walk found no exact match. The count stays in a register during the walk and
  // is stored once at its end.
  const CoefficientWindows windows = WindowsOf(entry.enteredRow);
  const int limit = ConstraintLimit(formulation);
  int count = 0;
  int exact = -1;
  for (int i = 0; i < limit && count < kMaxCandidates; ++i) {
    if (!IsCandidate(i, progress, mode)) continue;
    const int good = CountGoodItems(windows, entry.enteredRow, formulation.constraints[i]);
    candidates.items[count] = {i, good, kConstraintItems - good};
    ++count;
    if (good == kConstraintItems) {
      exact = i;
      break;
    }
  }
  candidates.count = count;
  return exact;
}

bool ExactMatchCounts(int constraint, const ProblemProgress& progress, int mode) {
  // In certification mode only the chosen constraint may be matched exactly.
  return !IsCertification(mode) || constraint == progress.chosenConstraint;
}

int RecordExactMatch(int constraint, ProblemProgress& progress) {
  // A repeat of an entered constraint makes no progress: the next prompt adds the step back.
  int result = 0;
  if (progress.constraintEntered[constraint] != 0) {
    progress.matchedConstraint = -(constraint + 1);
    progress.entryStep -= 1;
    result = -1;
  } else {
    progress.matchedConstraint = constraint;
  }
  progress.lastMatchedConstraint = constraint;
  progress.constraintEntered[constraint] = 1;
  return result;
}

int BadCountOf(const CandidateList& candidates, int constraint) {
  // The bad count recorded for the constraint during the walk.
  const int limit = CandidateLimit(candidates);
  for (int c = 0; c < limit; ++c) {
    if (candidates.items[c].constraint == constraint) return candidates.items[c].bad;
  }
  return kConstraintItems;
}

int MatchNearest(const CandidateList& candidates, const ParsedEntry& entry,
                 const Formulation& formulation, ProblemProgress& progress, int mode) {
  // No exact match: settle on the nearest constraint and report its bad count, or -1.
  progress.matchedConstraint = NearestConstraint(candidates, entry, formulation, progress, mode);
  if (progress.matchedConstraint < 0) return -1;
  return BadCountOf(candidates, progress.matchedConstraint);
}

// ---- The nearest constraint ----

// The candidates sharing the best good count, as constraint indices in candidate order.
struct TiedSet {
  std::array<int, kMaxCandidates> constraints;
  int count;
};

void AddTied(TiedSet& tied, const MatchCandidate& candidate) {
  // A candidate joins the set unless its row lies outside the record.
  if (!IsConstraintIndex(candidate.constraint)) return;
  tied.constraints[tied.count] = candidate.constraint;
  ++tied.count;
}

TiedSet CollectTied(const CandidateList& candidates, int goodCount) {
  // Every candidate with the good count, in candidate order.
  TiedSet tied{};
  const int limit = CandidateLimit(candidates);
  for (int c = 0; c < limit; ++c) {
    if (candidates.items[c].good == goodCount) AddTied(tied, candidates.items[c]);
  }
  return tied;
}

TiedSet CollectBest(const CandidateList& candidates) {
  // The candidates with the largest good count over all candidates, in one pass: a larger count
  // than any before starts the set afresh.
  TiedSet tied{};
  int best = -1;
  const int limit = CandidateLimit(candidates);
  for (int c = 0; c < limit; ++c) {
    const MatchCandidate& candidate = candidates.items[c];
    if (candidate.good < best) continue;
    if (candidate.good > best) tied.count = 0;
    best = candidate.good;
    AddTied(tied, candidate);
  }
  return tied;
}

using TiedScores = std::array<int, kMaxCandidates>;

int UniqueBest(const TiedSet& tied, const TiedScores& scores) {
  // The constraint with the highest score when no other reaches it; -1 otherwise.
  int best = 0;
  for (int t = 1; t < tied.count; ++t) {
    if (scores[t] > scores[best]) best = t;
  }
  for (int t = 0; t < tied.count; ++t) {
    if (t != best && scores[t] == scores[best]) return -1;
  }
  return tied.count > 0 ? tied.constraints[best] : -1;
}

int FirstWithEnteredRhs(const TiedSet& tied, const ParsedEntry& entry,
                        const Formulation& formulation) {
  // Stage 1: the first tied constraint whose right-hand side equals the entered one exactly.
  for (int t = 0; t < tied.count; ++t) {
    const int constraint = tied.constraints[t];
    if (formulation.constraints[constraint].rhs == entry.enteredRow.rhs) return constraint;
  }
  return -1;
}

int BestByCloseValues(const TiedSet& tied, const ParsedEntry& entry, const Formulation& formulation,
                      bool compareMagnitudes) {
  // Stages 2 and 3: most row values close to the entered ones, by value or by magnitude.
  TiedScores scores{};
  for (int t = 0; t < tied.count; ++t) {
    scores[t] = CountCloseValues(formulation.constraints[tied.constraints[t]], entry.enteredRow,
                                 compareMagnitudes);
  }
  return UniqueBest(tied, scores);
}

SlotFlags MarkMatchedSlots(const FormulationRow& constraint, const FormulationRow& entered) {
  // Stage 4, first half: the coefficient slots 0..6 already close to the correct coefficient.
  SlotFlags matched{};
  for (int k = 0; k < kLetterSlots; ++k) matched[k] = IsClose(entered.coef[k], constraint.coef[k]);
  return matched;
}

int BestBySwappedCoefficients(const TiedSet& tied, const ParsedEntry& entry,
                              const Formulation& formulation) {
  // Stage 4: most coefficients put on the wrong variable.
  TiedScores scores{};
  for (int t = 0; t < tied.count; ++t) {
    const FormulationRow& constraint = formulation.constraints[tied.constraints[t]];
    scores[t] = CountSwappedCoefficients(MarkMatchedSlots(constraint, entry.enteredRow), constraint,
                                         entry.enteredRow);
  }
  return UniqueBest(tied, scores);
}

int PickByMode(const TiedSet& tied, int mode) {
  // Stage 5: practice takes the first tied constraint, certification the second. A set of one
  // (only when a caller hands in a single tied candidate) gives its one constraint in both modes.
  if (tied.count == 0) return -1;
  if (IsCertification(mode) && tied.count >= 2) return tied.constraints[1];
  return tied.constraints[0];
}

std::array<double, kRowValues> RowValues(const FormulationRow& row, bool magnitudes) {
  // The ten values of a row: coefficient slots 0..7, the relation, the right-hand side.
  std::array<double, kRowValues> values{};
  for (int k = 0; k < kVariableSlots; ++k) values[k] = row.coef[k];
  values[kVariableSlots] = row.relation;
  values[kVariableSlots + 1] = row.rhs;
  if (magnitudes) {
    for (double& value : values) value = std::fabs(value);
  }
  return values;
}

int TieBreakAmong(const TiedSet& tied, const ParsedEntry& entry, const Formulation& formulation,
                  int mode) {
  // Each stage scores the whole tied set afresh; the first stage with a unique best decides.
  if (tied.count == 0) return -1;
  int winner = FirstWithEnteredRhs(tied, entry, formulation);
  if (winner < 0) winner = BestByCloseValues(tied, entry, formulation, false);
  if (winner < 0) winner = BestByCloseValues(tied, entry, formulation, true);
  if (winner < 0) winner = BestBySwappedCoefficients(tied, entry, formulation);
  if (winner < 0) winner = PickByMode(tied, mode);
  return winner;
}

}  // namespace

int MatchEntry(const ParsedEntry& entry, const Formulation& formulation, ProblemProgress& progress,
               int mode) {
  // The objective step has one candidate; a constraint step walks the constraints.
  if (progress.entryStep == kObjectiveStep) return MatchObjective(entry, formulation, progress);
  // The walk writes the count and every item below it, and nothing reads beyond the count, so
  // the list is not cleared first.
  CandidateList candidates;
  const int exact = WalkConstraints(entry, formulation, progress, mode, candidates);
  if (exact >= 0 && ExactMatchCounts(exact, progress, mode)) {
    return RecordExactMatch(exact, progress);
  }
  return MatchNearest(candidates, entry, formulation, progress, mode);
}

bool IsEntryCorrect(int parseErrors, int matchResult, const ProblemProgress& progress, int mode) {
  // Right when the line parsed cleanly and matched exactly, or repeated an entered constraint;
  // certification also insists on the constraint chosen for the step.
  const bool right = (parseErrors == 0 && matchResult == 0) || matchResult < 0;
  if (IsCertification(mode) && progress.matchedConstraint != progress.chosenConstraint) {
    return false;
  }
  return right;
}

int CountEnteredConstraints(const Formulation& formulation, const ProblemProgress& progress) {
  // Count the constraints below constraintCount whose flag is set.
  int entered = 0;
  const int limit = ConstraintLimit(formulation);
  for (int i = 0; i < limit; ++i) {
    if (progress.constraintEntered[i] != 0) ++entered;
  }
  return entered;
}

int NearestConstraint(const CandidateList& candidates, const ParsedEntry& entry,
                      const Formulation& formulation,
                      [[maybe_unused]] const ProblemProgress& progress, int mode) {
  // Step 1: a formulation with fewer constraints than are entered has no nearest one. Only the
  // flags below the constraint count are counted (CountEnteredConstraints), never more than the
  // count, so that happens exactly when the count is below zero, a broken record: the flags need
  // not be counted for every line.
  if (formulation.constraintCount < 0) return -1;
  // Step 2: the one candidate with the largest good count, or the tie-break between several.
  const TiedSet tied = CollectBest(candidates);
  if (tied.count == 1) return tied.constraints[0];
  return TieBreakAmong(tied, entry, formulation, mode);
}

int TieBreakNearest(const CandidateList& candidates, int goodCount, const ParsedEntry& entry,
                    const Formulation& formulation, int mode) {
  // The tie-break between the candidates with the good count.
  return TieBreakAmong(CollectTied(candidates, goodCount), entry, formulation, mode);
}

int CountCloseValues(const FormulationRow& constraint, const FormulationRow& entered,
                     bool compareMagnitudes) {
  // Count the ten row values within 0.001 of the entered row's, signs dropped for magnitudes.
  const auto correctValues = RowValues(constraint, compareMagnitudes);
  const auto enteredValues = RowValues(entered, compareMagnitudes);
  int close = 0;
  for (int k = 0; k < kRowValues; ++k) {
    if (IsClose(enteredValues[k], correctValues[k])) ++close;
  }
  return close;
}

int CountSwappedCoefficients(const SlotFlags& matchedSlots, const FormulationRow& constraint,
                             const FormulationRow& entered) {
  // For each unmatched slot s, the first unmatched, unused slot t whose correct coefficient is
  // close to the entered coefficient of s takes it: one coefficient on the wrong variable.
  SlotFlags used{};
  int swapped = 0;
  for (int s = 0; s < kLetterSlots; ++s) {
    if (matchedSlots[s]) continue;
    for (int t = 0; t < kLetterSlots; ++t) {
      if (matchedSlots[t] || used[t] || !IsClose(entered.coef[s], constraint.coef[t])) continue;
      used[t] = true;
      ++swapped;
      break;
    }
  }
  return swapped;
}
