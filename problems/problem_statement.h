// Problem statements: each builder generates its problem and writes the word problem into
// problemText from string-table fragments with the fresh numbers set between them. The lesson flow
// calls the builders; the problem box shows problemText.
#pragma once

#include <array>
#include <span>

inline constexpr int kProblemTextSize = 2000;  // terminator included

extern std::array<char, kProblemTextSize> problemText;

// How the number that follows a fragment is written.
enum class NumberForm {
  kNone,     // the last fragment: nothing follows
  kWhole,    // AppendInt
  kLong,     // AppendLong (the printing statement)
  kDecimal,  // AppendDecimal with places and flag
};

// One row of a statement table: a fragment, then the parameter set after it.
struct StatementStep {
  int fragmentId;
  int parameter;  // number in the parameter table
  NumberForm form;
  int places;
  int flag;
};

// Writes problemText from the steps, reading the numbers from the parameter table in their form.
void BuildStatementFromSteps(std::span<const StatementStep> steps);

void BuildPrintingStatement();
void BuildFurnitureStatement();
void BuildPorcelainStatement();
void BuildFeedMixStatement();
void BuildFarmStatement();

// The builder of a problem code (3 to 7); other codes build nothing and return false.
bool BuildStatement(int problemCode);
