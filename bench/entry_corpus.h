// A corpus of lines a student might type for the current problem: right answers, wrong answers of
// every kind the diagnosis explains, and lines that fail the format check. Built once, outside the
// measured loops.
#pragma once

#include <string>
#include <vector>

#include "formulation_model.h"

struct CorpusLine {
  std::string text;
  int entryStep;  // 1 for a line aimed at the objective function, 2 for a constraint
  int row;        // the row the line was written from: -1 the objective, else the constraint
};

std::vector<CorpusLine> BuildEntryCorpus(const Formulation& formulation, const double* parameters,
                                         int parameterCount);
