// Matching a parsed line against the correct formulation: the objective function, an exact
// constraint, or the nearest one. The entry panel calls MatchEntry after ParseEntry and draws its
// verdict from the result; IsEntryCorrect states that verdict.
#pragma once

#include <array>

#include "formulation_model.h"

// Returns the number of mismatched items of the row settled on (0 = exact), or -1 (see
// progress.matchedConstraint for which). Marks an exact constraint as entered.
int MatchEntry(const ParsedEntry& entry, const Formulation& formulation, ProblemProgress& progress,
               int mode);

// The verdict of the entry panel: right when the line parsed cleanly and matched exactly, or
// repeated an entered constraint; in certification mode only when it is the chosen constraint.
bool IsEntryCorrect(int parseErrors, int matchResult, const ProblemProgress& progress, int mode);

// The number of constraints of the formulation marked in constraintEntered.
int CountEnteredConstraints(const Formulation& formulation, const ProblemProgress& progress);

// One constraint recorded as a candidate during the walk: its index and how many of its nine
// items (coefficients of slots 0..6, relation, right-hand side) the line got right and wrong.
struct MatchCandidate {
  int constraint;
  int good;
  int bad;
};
inline constexpr int kMaxCandidates = kMaxConstraints;
inline constexpr int kConstraintItems = kLetterSlots + 2;

struct CandidateList {
  std::array<MatchCandidate, kMaxCandidates> items;
  int count;
};

// The constraint the line comes nearest to among the candidates (a constraint index), or -1 when
// there is none.
int NearestConstraint(const CandidateList& candidates, const ParsedEntry& entry,
                      const Formulation& formulation, const ProblemProgress& progress, int mode);

// Decides between the candidates that share the best good count, goodCount. Returns a constraint
// index, or -1 when no candidate has that count.
int TieBreakNearest(const CandidateList& candidates, int goodCount, const ParsedEntry& entry,
                    const Formulation& formulation, int mode);

// How many of the ten values of the constraint's row (slots 0..7, relation, right-hand side) lie
// within 0.001 of the entered row's; with compareMagnitudes both sides are taken without sign.
int CountCloseValues(const FormulationRow& constraint, const FormulationRow& entered,
                     bool compareMagnitudes);

// Coefficient slots 0..6 whose entered coefficient is already close to the constraint's.
using SlotFlags = std::array<bool, kLetterSlots>;

// How many entered coefficients of unmatched slots sit close to the constraint's coefficient of
// another unmatched slot: coefficients typed on the wrong variable. Each slot takes one at most.
int CountSwappedCoefficients(const SlotFlags& matchedSlots, const FormulationRow& constraint,
                             const FormulationRow& entered);
