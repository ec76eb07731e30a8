#include "porcelain_problem.h"

#include <array>
#include <cstddef>

#include "formulation_model.h"
#include "generation.h"
#include "parameter_table.h"
#include "problem_statement.h"

PorcelainProblem porcelainProblem{};

namespace {

constexpr auto kWhole = ParameterType::kWhole;
constexpr auto kDecimal = ParameterType::kDecimal;

// Hours per figurine are whole hours held as doubles: a plain conversion.
constexpr double kWholeHours = 1.0;

// Ranges, scales and keep-apart lists, in draw order (which is parameter order). The hours per
// figurine and the molding hours available are kept apart from the whole minimums and the
// revenues whose ranges they share, compared as doubles.
constexpr DrawRule kPorcelainDraws[] = {
    {0, kWhole, 13, 18, 1, {}},
    {1, kWhole, 13, 18, 1, {Param(0)}},
    {2, kWhole, 7, 12, 1, {}},
    {3, kDecimal, 10, 14, 25.0, {}},
    {4, kDecimal, 10, 14, 25.0, {Param(3)}},
    {5, kDecimal, 18, 23, 25.0, {}},
    {6, kDecimal, 2, 5, kWholeHours, {}},
    {7, kDecimal, 2, 5, kWholeHours, {Param(6)}},
    {8, kDecimal, 6, 8, kWholeHours, {Param(2)}},
    {9, kDecimal, 6, 9, kWholeHours, {Param(2), Param(8)}},
    {10, kDecimal, 6, 9, kWholeHours, {Param(9), Param(2), Param(8)}},
    {11, kDecimal, 10, 14, kWholeHours, {Param(0), Param(1), Param(2)}},
    {12, kWhole, 25, 49, 5, {}},
    {13, kWhole, 55, 80, 5, {Param(3), Param(4)}},
};
static_assert(std::size(kPorcelainDraws) == kPorcelainParameterCount);

constexpr bool AllRulesValid() {
  for (const DrawRule& rule : kPorcelainDraws) {
    if (!IsValidRule(rule) || rule.number >= kPorcelainParameterCount) return false;
  }
  return true;
}
static_assert(AllRulesValid());

constexpr const char* kPorcelainDescriptions[kPorcelainParameterCount] = {
    "minimum number of porcelain dogs the factory must produce",
    "minimum number of porcelain pigs the factory must produce",
    "minimum number of porcelain elephants the factory must produce",
    "amount of revenue from a porcelain dog",
    "amount of revenue from a porcelain pig",
    "amount of revenue from a porcelain elephant",
    "number of mixing hours required to make a porcelain dog",
    "number of mixing hours required to make a porcelain pig",
    "number of mixing hours required to make a porcelain elephant",
    "number of molding hours required to make a porcelain dog",
    "number of molding hours required to make a porcelain pig",
    "number of molding hours required to make a porcelain elephant",
    "total number of mixing hours available",
    "total number of molding hours available",
};

// First parameter number of each group of three, one per figurine.
inline constexpr int kFirstMinimum = 0;
inline constexpr int kFirstRevenue = 3;
inline constexpr int kFirstMixingHours = 6;
inline constexpr int kFirstMoldingHours = 9;
inline constexpr int kMixingAvailable = 12;
inline constexpr int kMoldingAvailable = 13;
static_assert(kMoldingAvailable + 1 == kPorcelainParameterCount);

constexpr ValueRef kZero{};  // the variable does not occur
constexpr ValueRef kOne = Constant(1.0);

// The minimum of each figurine, then the hours of both departments.
constexpr ConstraintRule kPorcelainConstraints[] = {
    {"porcelain dog", kKindProduction, {kOne}, kRelationAtLeast, Param(0)},
    {"porcelain pig", kKindProduction, {kZero, kOne}, kRelationAtLeast, Param(1)},
    {"porcelain elephant", kKindProduction, {kZero, kZero, kOne}, kRelationAtLeast, Param(2)},
    {"mixing", kKindResource, {Param(6), Param(7), Param(8)}, kRelationAtMost, Param(12)},
    {"molding", kKindResource, {Param(9), Param(10), Param(11)}, kRelationAtMost, Param(13)},
};

constexpr int kPorcelainVariableTexts[] = {3685, 3686, 3687};

constexpr FormulationPlan kPorcelainPlan = {
    {Param(3), Param(4), Param(5)},
    kPorcelainConstraints,
    kPorcelainVariableTexts,
    kSenseMaximize,
    0,
};

std::size_t Index(int number) {
  return static_cast<std::size_t>(number);
}

// The record in its natural types, from the draws.
PorcelainProblem RecordFromDraws(const DrawnValues& drawn) {
  PorcelainProblem record{};
  for (int f = 0; f < kPorcelainFigurines; ++f) {
    record.minimumMade[Index(f)] = drawn[Index(kFirstMinimum + f)].whole;
    record.revenue[Index(f)] = drawn[Index(kFirstRevenue + f)].decimal;
    record.mixingHours[Index(f)] = drawn[Index(kFirstMixingHours + f)].decimal;
    record.moldingHours[Index(f)] = drawn[Index(kFirstMoldingHours + f)].decimal;
  }
  record.mixingHoursAvailable = drawn[Index(kMixingAvailable)].whole;
  record.moldingHoursAvailable = drawn[Index(kMoldingAvailable)].whole;
  return record;
}

// Every parameter as a double, at its number. Nothing is derived.
std::array<double, kPorcelainParameterCount> ParameterValues(const PorcelainProblem& r) {
  std::array<double, kPorcelainParameterCount> values{};
  for (int f = 0; f < kPorcelainFigurines; ++f) {
    values[Index(kFirstMinimum + f)] = static_cast<double>(r.minimumMade[Index(f)]);
    values[Index(kFirstRevenue + f)] = r.revenue[Index(f)];
    values[Index(kFirstMixingHours + f)] = r.mixingHours[Index(f)];
    values[Index(kFirstMoldingHours + f)] = r.moldingHours[Index(f)];
  }
  values[Index(kMixingAvailable)] = static_cast<double>(r.mixingHoursAvailable);
  values[Index(kMoldingAvailable)] = static_cast<double>(r.moldingHoursAvailable);
  return values;
}

constexpr StatementStep Decimal(int fragmentId, int parameter) {
  return {fragmentId, parameter, NumberForm::kDecimal, 2, 1};
}
constexpr StatementStep Whole(int fragmentId, int parameter) {
  return {fragmentId, parameter, NumberForm::kWhole, 0, 0};
}

// The statement: each fragment, then the parameter set after it. Hours and prices are written
// with up to two places, without trailing zeros.
constexpr StatementStep kPorcelainStatement[] = {
    {3690, 0, NumberForm::kNone, 0, 0},
    Whole(3691, 12),
    Whole(3692, 13),
    Decimal(3693, 6),
    Decimal(3694, 9),
    Decimal(3695, 7),
    Decimal(3694, 10),
    Decimal(3696, 8),
    Decimal(3694, 11),
    Decimal(3697, 3),
    Decimal(3698, 4),
    Decimal(3699, 5),
    Whole(3700, 0),
    Whole(3701, 1),
    Whole(3702, 2),
    {3703, 0, NumberForm::kNone, 0, 0},
};
static_assert(std::size(kPorcelainStatement) == 16);

}  // namespace

void GeneratePorcelainProblem() {
  // Draw, keeping the listed numbers apart.
  DrawnValues drawn{};
  DrawParameters(kPorcelainDraws, drawn);
  porcelainProblem = RecordFromDraws(drawn);
  // Fill the parameter table; nothing to derive.
  std::array<double, kPorcelainParameterCount> values = ParameterValues(porcelainProblem);
  FillParameterTable(parameterTable, values, kPorcelainDescriptions);
  // The correct formulation, from the values just stored.
  WriteFormulation(kPorcelainPlan, parameterTable.parameterValues, formulation);
}

void BuildPorcelainStatement() {
  GeneratePorcelainProblem();
  BuildStatementFromSteps(kPorcelainStatement);
}
