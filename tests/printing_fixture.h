// The printing problem written out by hand (orders 750000, 500000, 100000; percentages 55, 35, 20;
// 300, 150, 60 pages an hour) and parsed entries built by the parser's rules, for the tests of the
// diagnosis and of the explanation list; its formulation and texts are also the oracle of the
// printing problem's generator.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formulation_model.h"
#include "parameter_table.h"

namespace printing_fixture {

inline const std::string kAtLeast = "\xC0";
inline const std::string kAtMost = "\xC1";

inline constexpr int kObjective = -1;
inline constexpr int kPageMinimum = 0;   // one-sided, one-color page minimum: p >= parameter 16
inline constexpr int kWorkingHours = 6;  // working hours: p/300 + q/150 + r/60 <= 4500

inline const char* const kPrintingDescriptions[] = {
    "number of one-sided, one-color pages ordered",
    "number of double-sided, one-color pages ordered",
    "number of one-sided, four-color pages ordered",
    "cost to print a one-sided, one-color page",
    "cost to print a double-sided, one-color page",
    "cost to print a one-sided, four-color page",
    "number of hours of wages allocated for the coming month",
    "percent of one-sided, one-color pages that must be printed",
    "percent of double-sided, one-color pages that must be printed",
    "percent of one-sided, four-color pages that must be printed",
    "number of one-sided, one-color pages printed in one hour",
    "number of double-sided, one-color pages printed in one hour",
    "number of one-sided, four-color pages printed in one hour",
    "number of hours to print a single one-sided, one-color page",
    "number of hours to print a single double-sided, one-color page",
    "number of hours to print a single one-sided, four-color page",
    "minimum number of one-sided, one-color pages to print",
    "minimum number of double-sided, one-color pages to print",
    "minimum number of one-sided, four-color pages to print",
};

// Orders 750000, 500000, 100000; percentages 55, 35, 20; 300, 150, 60 pages an hour.
inline ParameterTable PrintingParameters() {
  ParameterTable table{};
  // clang-format off
  const double values[] = {750000, 500000, 100000, 0.03, 0.06, 0.19, 4500, 55, 35, 20, 300, 150, 60,
                           1.0 / 300, 1.0 / 150, 1.0 / 60,
                           0.01 * 55.0 * 750000, 0.01 * 35.0 * 500000, 0.01 * 20.0 * 100000};
  // clang-format on
  table.parameterCount = 19;
  for (int m = 0; m < 19; ++m) table.parameterValues[m] = values[m];
  table.parameterDescriptions = kPrintingDescriptions;
  return table;
}

inline void SetText(std::span<char> buffer, const std::string& text) {
  std::fill(buffer.begin(), buffer.end(), '\0');
  std::copy(text.begin(), text.end(), buffer.begin());
}

inline void SetConstraint(Formulation& f, int i, const char* name, int kind, double p, double q,
                          double r, int relation, double rhs) {
  f.constraints[i].coef = {p, q, r, 0, 0, 0, 0, 0};
  f.constraints[i].relation = relation;
  f.constraints[i].rhs = rhs;
  SetText(f.constraintNames[i], name);
  f.constraintKinds[i] = kind;
}

// The correct formulation of the printing problem with the numbers of the table given.
inline Formulation PrintingFormulation(const ParameterTable& t = PrintingParameters()) {
  Formulation f{};
  const auto& v = t.parameterValues;
  f.objective.coef = {v[3], v[4], v[5], 0, 0, 0, 0, 0};
  SetConstraint(f, 0, "one-sided, one-color page minimum", 3, 1, 0, 0, 4, v[16]);
  SetConstraint(f, 1, "double-sided, one-color page minimum", 3, 0, 1, 0, 4, v[17]);
  SetConstraint(f, 2, "one-sided, four-color page minimum", 3, 0, 0, 1, 4, v[18]);
  SetConstraint(f, 3, "one-sided, one-color page maximum", 3, 1, 0, 0, 5, v[0]);
  SetConstraint(f, 4, "double-sided, one-color page maximum", 3, 0, 1, 0, 5, v[1]);
  SetConstraint(f, 5, "one-sided, four-color page maximum", 3, 0, 0, 1, 5, v[2]);
  SetConstraint(f, 6, "working hours", 1, v[13], v[14], v[15], 5, v[6]);
  SetText(f.variableDescriptions[0], "the number of one-sided, one-color pages to print");
  SetText(f.variableDescriptions[1], "the number of double-sided, one-color pages to print");
  SetText(f.variableDescriptions[2], "the number of one-sided, four-color pages to print");
  f.constraintCount = 7;
  f.objectiveSense = kSenseMinimize;
  f.variableCount = 3;
  return f;
}

// A term as the parser leaves it.
struct ParsedTerm {
  std::string text;
  double coef;
  int var;
  std::uint32_t flags;
};

// Builds the entry the parser would: sums, seen and repeated flags follow its rules.
inline ParsedEntry MakeEntry(const std::vector<ParsedTerm>& terms, int relation = 0,
                             double rhs = kEmptyRhs) {
  ParsedEntry entry{};
  entry.enteredRow.rhs = kEmptyRhs;
  for (const ParsedTerm& t : terms) {
    EntryTerm& term = entry.terms[entry.termCount++];
    SetText(term.text, t.text);
    term.status = t.flags << 8;
    term.coef = t.coef;
    term.var = t.var;
    bool scanClean =
        (t.flags & (kFlagNoVariable | kFlagManyVariables | kFlagManyCoefficients)) == 0;
    if (scanClean && t.var >= 0) entry.variableSeen[t.var] = 1;
    if (t.flags == 0 || t.flags == kFlagCoefficientAfter) {
      if (entry.enteredRow.coef[t.var] != 0) entry.variableRepeated[t.var] = 1;
      entry.enteredRow.coef[t.var] += t.coef;
    }
  }
  entry.enteredRow.relation = relation;
  if (rhs != kEmptyRhs) {
    entry.enteredRow.rhs = rhs;
    entry.rhsValid = 1;
  }
  return entry;
}

}  // namespace printing_fixture
