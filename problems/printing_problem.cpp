#include "printing_problem.h"

#include <array>
#include <cstddef>

#include "formulation_model.h"
#include "generation.h"
#include "parameter_table.h"
#include "problem_statement.h"

PrintingProblem printingProblem{};

namespace {

constexpr auto kWhole = ParameterType::kWhole;
constexpr auto kDecimal = ParameterType::kDecimal;

// Ranges, scales and keep-apart lists, in draw order: the order is what makes a seed give the same
// problem every time, so the rows are not sorted by number.
// clang-format off
constexpr DrawRule kPrintingDraws[] = {
    // no. type      low  high  scale  drawn again while equal to
    {7,  kDecimal,  11,  15,   5.0,   {}},
    {8,  kDecimal,   7,  11,   5.0,   {Param(7)}},
    {9,  kDecimal,   4,   8,   5.0,   {Param(7), Param(8)}},
    {10, kWhole,   240, 320,   5,     {}},
    {11, kWhole,   130, 170,   5,     {}},
    {12, kWhole,    40,  80,   5,     {}},
    {3,  kDecimal,   2,   4,   0.01,  {}},
    {4,  kDecimal,   5,   8,   0.01,  {}},
    {5,  kDecimal,  16,  22,   0.01,  {}},
    {6,  kDecimal,  40,  50,   100.0, {}},
    {0,  kWhole,   750, 800,   1000,  {}},
    {1,  kWhole,   500, 600,   1000,  {}},
    {2,  kWhole,   100, 200,   1000,  {}},
};
// clang-format on
static_assert(std::size(kPrintingDraws) == kPrintingDrawnCount);

constexpr bool AllRulesValid() {
  for (const DrawRule& rule : kPrintingDraws) {
    if (!IsValidRule(rule) || rule.number >= kPrintingDrawnCount) return false;
  }
  return true;
}
static_assert(AllRulesValid());

constexpr const char* kPrintingDescriptions[kPrintingParameterCount] = {
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

constexpr ValueRef kZero{};  // the variable does not occur
constexpr ValueRef kOne = Constant(1.0);

// Minimums and maximums of each kind of page, then the press hours.
// clang-format off
constexpr ConstraintRule kPrintingConstraints[] = {
    // name                                    kind             p          q          r
    {"one-sided, one-color page minimum",    kKindProduction, {kOne,      kZero,     kZero},     kRelationAtLeast, Param(16)},
    {"double-sided, one-color page minimum", kKindProduction, {kZero,     kOne,      kZero},     kRelationAtLeast, Param(17)},
    {"one-sided, four-color page minimum",   kKindProduction, {kZero,     kZero,     kOne},      kRelationAtLeast, Param(18)},
    {"one-sided, one-color page maximum",    kKindProduction, {kOne,      kZero,     kZero},     kRelationAtMost,  Param(0)},
    {"double-sided, one-color page maximum", kKindProduction, {kZero,     kOne,      kZero},     kRelationAtMost,  Param(1)},
    {"one-sided, four-color page maximum",   kKindProduction, {kZero,     kZero,     kOne},      kRelationAtMost,  Param(2)},
    {"working hours",                        kKindResource,   {Param(13), Param(14), Param(15)}, kRelationAtMost,  Param(6)},
};
// clang-format on

constexpr int kPrintingVariableTexts[] = {3570, 3571, 3572};

constexpr FormulationPlan kPrintingPlan = {
    {Param(3), Param(4), Param(5)}, kPrintingConstraints, kPrintingVariableTexts, kSenseMinimize, 0,
};

// The record in its natural types, from the draws.
PrintingProblem RecordFromDraws(const DrawnValues& drawn) {
  auto whole = [&](int n) { return drawn[static_cast<std::size_t>(n)].whole; };
  auto decimal = [&](int n) { return drawn[static_cast<std::size_t>(n)].decimal; };
  return PrintingProblem{whole(0),   whole(1),   whole(2),   decimal(3), decimal(4),
                         decimal(5), decimal(6), decimal(7), decimal(8), decimal(9),
                         whole(10),  whole(11),  whole(12)};
}

// Every parameter as a double: the drawn ones converted, then the derived ones computed left to
// right as written (1.0 / per hour; 0.01 x percent x ordered), never rounded.
std::array<double, kPrintingParameterCount> ParameterValues(const PrintingProblem& r) {
  return {
      static_cast<double>(r.onesidedOrdered),
      static_cast<double>(r.doublesidedOrdered),
      static_cast<double>(r.fourcolorOrdered),
      r.onesidedCost,
      r.doublesidedCost,
      r.fourcolorCost,
      r.wageHours,
      r.onesidedPercent,
      r.doublesidedPercent,
      r.fourcolorPercent,
      static_cast<double>(r.onesidedPerHour),
      static_cast<double>(r.doublesidedPerHour),
      static_cast<double>(r.fourcolorPerHour),
      1.0 / r.onesidedPerHour,                             // 13
      1.0 / r.doublesidedPerHour,                          // 14
      1.0 / r.fourcolorPerHour,                            // 15
      0.01 * r.onesidedPercent * r.onesidedOrdered,        // 16
      0.01 * r.doublesidedPercent * r.doublesidedOrdered,  // 17
      0.01 * r.fourcolorPercent * r.fourcolorOrdered,      // 18
  };
}

// The statement: each fragment, then the parameter set after it.
// clang-format off
constexpr StatementStep kPrintingStatement[] = {
    // fragment, parameter, form, places, flag
    {3575, 0,  NumberForm::kLong,    0, 0},
    {3576, 1,  NumberForm::kLong,    0, 0},
    {3577, 2,  NumberForm::kLong,    0, 0},
    {3578, 3,  NumberForm::kDecimal, 2, 0},
    {3579, 4,  NumberForm::kDecimal, 2, 0},
    {3580, 5,  NumberForm::kDecimal, 2, 0},
    {3581, 6,  NumberForm::kDecimal, 0, 0},
    {3582, 10, NumberForm::kLong,    0, 0},
    {3583, 11, NumberForm::kLong,    0, 0},
    {3584, 12, NumberForm::kLong,    0, 0},
    {3585, 7,  NumberForm::kDecimal, 0, 0},
    {3586, 8,  NumberForm::kDecimal, 0, 0},
    {3587, 9,  NumberForm::kDecimal, 0, 0},
    {3588, 0,  NumberForm::kNone,    0, 0},
};
// clang-format on

}  // namespace

void GeneratePrintingProblem() {
  // Draw, keeping the listed numbers apart.
  DrawnValues drawn{};
  DrawParameters(kPrintingDraws, drawn);
  printingProblem = RecordFromDraws(drawn);
  // Derive, and fill the parameter table.
  std::array<double, kPrintingParameterCount> values = ParameterValues(printingProblem);
  FillParameterTable(parameterTable, values, kPrintingDescriptions);
  // The correct formulation, from the values just stored.
  WriteFormulation(kPrintingPlan, parameterTable.parameterValues, formulation);
}

void BuildPrintingStatement() {
  GeneratePrintingProblem();
  BuildStatementFromSteps(kPrintingStatement);
}
