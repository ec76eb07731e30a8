// One generated problem as the benchmarks measure it: its correct formulation and parameter table,
// copied out of the lesson's records right after its statement was built, and a corpus of lines
// typed for it. The lesson's records are overwritten by every generation; a fixture keeps its own.
#pragma once

#include <vector>

#include "entry_corpus.h"
#include "formulation_model.h"
#include "parameter_table.h"

struct ProblemFixture {
  Formulation formulation;
  ParameterTable parameters;
  std::vector<CorpusLine> corpus;
};

// The seed of every generation the benchmarks make, so that every run measures the same numbers.
inline constexpr unsigned kBenchSeed = 2026;

// The problem of the code (3 to 7), generated once.
const ProblemFixture& FixtureFor(int problemCode);

// Puts the progress back to the start of the problem at the step, nothing entered yet, so that
// every line is matched afresh. The matcher reads the step and the entered constraints (and, in
// certification mode only, the chosen one) and writes the step, the entered and the matched
// constraints; setting the step and the entered flags is enough, and much cheaper than clearing
// the whole record for every line.
inline void StartAtStep(ProblemProgress& progress, int entryStep) {
  progress.entryStep = entryStep;
  progress.constraintEntered.fill(0);
}
