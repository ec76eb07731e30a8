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

int CountEnteredConstraints(const Formulation& formulation, const ProblemProgress& progress);

// One constraint recorded as a candidate during the walk.
struct MatchCandidate {
  int constraint;
  int good;
  int bad;
};
inline constexpr int kMaxCandidates = kMaxConstraints;

struct CandidateList {
  std::array<MatchCandidate, kMaxCandidates> items;
  int count;
};

int NearestConstraint(const CandidateList& candidates, const ParsedEntry& entry,
                      const Formulation& formulation, const ProblemProgress& progress, int mode);
