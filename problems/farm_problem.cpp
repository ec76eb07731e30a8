#include "farm_problem.h"

#include <array>
#include <cstddef>
#include <span>

#include "formulation_model.h"
#include "generation.h"
#include "parameter_table.h"
#include "problem_statement.h"

FarmProblem farmProblem{};

namespace {

constexpr ParameterType kDecimal = ParameterType::kDecimal;
constexpr ParameterType kWhole = ParameterType::kWhole;

// Acreages, yields and cultivation hours per acre (parameters 0 to 16), in draw order: the sandy
// loam hours come before the red clay hours, and every hour parameter is kept apart from the two
// minimum acreages and from the hours drawn before it.
// clang-format off
constexpr DrawRule kAcreageYieldHourRules[] = {
    // no. type   low high scale  drawn again while equal to
    {0,  kWhole, 27, 38, 1,     {}},
    {1,  kWhole, 27, 38, 1,     {Param(0)}},
    {2,  kWhole,  7, 13, 1,     {}},
    {3,  kWhole,  5, 13, 1,     {Param(2)}},
    {4,  kWhole, 27, 35, 1,     {Param(0), Param(1)}},
    {5,  kWhole, 27, 35, 1,     {Param(4), Param(0), Param(1)}},
    {6,  kWhole, 27, 35, 1,     {Param(4), Param(5), Param(0), Param(1)}},
    {7,  kWhole, 18, 26, 1,     {}},
    {8,  kWhole, 18, 26, 1,     {Param(7)}},
    {9,  kWhole, 18, 26, 1,     {Param(8), Param(7)}},
    {10, kWhole, 18, 26, 1,     {Param(9), Param(8), Param(7)}},
    {11, kWhole, 18, 26, 1,     {Param(9), Param(10), Param(8), Param(7)}},
    {14, kWhole,  6, 12, 1,     {Param(3), Param(2)}},
    {15, kWhole,  6, 12, 1,     {Param(3), Param(2), Param(14)}},
    {16, kWhole,  6, 14, 1,     {Param(3), Param(2), Param(14), Param(15)}},
    {12, kWhole, 10, 17, 1,     {Param(3), Param(2), Param(14), Param(15), Param(16)}},
    {13, kWhole, 10, 17, 1,     {Param(3), Param(2), Param(14), Param(15), Param(16), Param(12)}},
};
// clang-format on

// The cultivation hours available in a field lie between L and L + 75, where L is the mean of the
// field's hours per acre (the sum as a double divided by their count), truncated, times the field's
// acres.
struct HourLimitRule {
  int number;
  std::array<int, 3> hours;  // parameter numbers of the field's hours per acre
  int hourCount;
  int acres;
  ValueRef differFrom;
};

constexpr int kHourLimitSpread = 75;

constexpr HourLimitRule kHourLimitRules[] = {
    {17, {12, 13, 0}, 2, 0, {}},
    {18, {14, 15, 16}, 3, 1, Param(17)},
};

// Profit per bushel: wheat, then corn from five steps above wheat's draw, then cotton.
constexpr DrawRule kWheatProfitRule = {19, kDecimal, 43, 60, 0.05, {}};
constexpr int kCornProfit = 20;
constexpr int kCornProfitHigh = 80;
constexpr int kCornProfitStepsAboveWheat = 5;
constexpr double kProfitScale = 0.05;
constexpr DrawRule kCottonProfitRule = {21, kDecimal, 60, 90, 0.05, {Param(20), Param(19)}};

// A profit per acre: the yield of an acre converted to double, times the profit per bushel.
struct ProfitPerAcre {
  int number;
  int yield;
  int profitPerBushel;
};

constexpr ProfitPerAcre kProfitsPerAcre[] = {
    {22, 7, 19}, {23, 8, 20}, {24, 9, 19}, {25, 10, 20}, {26, 11, 21},
};

static_assert(kFarmStatedCount + std::size(kProfitsPerAcre) == kFarmParameterCount);

constexpr bool AllRulesValid() {
  for (const DrawRule& rule : kAcreageYieldHourRules) {
    if (!IsValidRule(rule) || rule.number >= kHourLimitRules[0].number) return false;
  }
  return IsValidRule(kWheatProfitRule) && IsValidRule(kCottonProfitRule);
}
static_assert(AllRulesValid());

constexpr const char* kDescriptions[kFarmParameterCount] = {
    "acres of red clay available in Field A",
    "acres of sandy loam available in Field B",
    "minimum amount of wheat that must be planted",
    "minimum amount of corn that must be planted",
    "maximum amount of wheat that can be planted",
    "maximum amount of corn that can be planted",
    "maximum amount of cotton that can be planted",
    "number of bushels of wheat produced in an acre of red clay",
    "number of bushels of corn produced in an acre of red clay",
    "number of bushels of wheat produced in an acre of sandy loam",
    "number of bushels of corn produced in an acre of sandy loam",
    "number of bushels of cotton produced in an acre of sandy loam",
    "number of hours needed to cultivate wheat in an acre of red clay",
    "number of hours needed to cultivate corn in an acre of red clay",
    "number of hours needed to cultivate wheat in an acre of sandy loam",
    "number of hours needed to cultivate corn in an acre of sandy loam",
    "number of hours needed to cultivate cotton in an acre of sandy loam",
    "maximum number of cultivation hours available in red clay",
    "maximum number of cultivation hours available in sandy loam",
    "amount of profit from selling a bushel of wheat",
    "amount of profit from selling a bushel of corn",
    "amount of profit from selling a bushel of cotton",
    "amount of profit from wheat grown in red clay",
    "amount of profit from corn grown in red clay",
    "amount of profit from wheat grown in sandy loam",
    "amount of profit from corn grown in sandy loam",
    "amount of profit from cotton grown in sandy loam",
};

// Where each whole parameter 0 to 18 lives in the record; 19 to 21 are the decimal profits.
constexpr std::int32_t FarmProblem::*kWholeFields[] = {
    &FarmProblem::redClayAcres,
    &FarmProblem::sandyLoamAcres,
    &FarmProblem::wheatMinimum,
    &FarmProblem::cornMinimum,
    &FarmProblem::wheatMaximum,
    &FarmProblem::cornMaximum,
    &FarmProblem::cottonMaximum,
    &FarmProblem::wheatRedClayYield,
    &FarmProblem::cornRedClayYield,
    &FarmProblem::wheatSandyLoamYield,
    &FarmProblem::cornSandyLoamYield,
    &FarmProblem::cottonSandyLoamYield,
    &FarmProblem::wheatRedClayHours,
    &FarmProblem::cornRedClayHours,
    &FarmProblem::wheatSandyLoamHours,
    &FarmProblem::cornSandyLoamHours,
    &FarmProblem::cottonSandyLoamHours,
    &FarmProblem::redClayHoursAvailable,
    &FarmProblem::sandyLoamHoursAvailable,
};
constexpr double FarmProblem::*kDecimalFields[] = {
    &FarmProblem::wheatProfit,
    &FarmProblem::cornProfit,
    &FarmProblem::cottonProfit,
};

static_assert(std::size(kWholeFields) + std::size(kDecimalFields) == kFarmStatedCount);

constexpr ValueRef kOne = Constant(1.0);
constexpr ValueRef kZero{};

// Variables p, q: red clay with wheat, corn; r, s, t: sandy loam with wheat, corn, cotton. Cotton
// has no red clay variable.
// clang-format off
constexpr ConstraintRule kConstraints[] = {
    // name                     kind              p          q          r          s          t
    {"red clay",               kKindResource,    {kOne,      kOne,      kZero,     kZero,     kZero},     kRelationAtMost,  Param(0)},
    {"sandy loam",             kKindResource,    {kZero,     kZero,     kOne,      kOne,      kOne},      kRelationAtMost,  Param(1)},
    {"wheat maximum",          kKindProduction,  {kOne,      kZero,     kOne,      kZero,     kZero},     kRelationAtMost,  Param(4)},
    {"corn maximum",           kKindProduction,  {kZero,     kOne,      kZero,     kOne,      kZero},     kRelationAtMost,  Param(5)},
    {"cotton maximum",         kKindProduction,  {kZero,     kZero,     kZero,     kZero,     kOne},      kRelationAtMost,  Param(6)},
    {"wheat minimum",          kKindProduction,  {kOne,      kZero,     kOne,      kZero,     kZero},     kRelationAtLeast, Param(2)},
    {"corn minimum",           kKindProduction,  {kZero,     kOne,      kZero,     kOne,      kZero},     kRelationAtLeast, Param(3)},
    {"red clay cultivation",   kKindCultivation, {Param(12), Param(13), kZero,     kZero,     kZero},     kRelationAtMost,  Param(17)},
    {"sandy loam cultivation", kKindCultivation, {kZero,     kZero,     Param(14), Param(15), Param(16)}, kRelationAtMost,  Param(18)},
};
// clang-format on

constexpr int kVariableDescriptionIds[] = {3815, 3816, 3818, 3819, 3821};

// The objective's coefficients are the derived profits per acre, so a wrong objective is answered
// with the worked solution that derives them.
constexpr FormulationPlan kPlan{{Param(22), Param(23), Param(24), Param(25), Param(26)},
                                kConstraints,
                                kVariableDescriptionIds,
                                kSenseMaximize,
                                1};

constexpr StatementStep Whole(int fragment, int parameter) {
  return {fragment, parameter, NumberForm::kWhole, 0, 0};
}
constexpr StatementStep Money(int fragment, int parameter) {
  return {fragment, parameter, NumberForm::kDecimal, 2, 0};
}
// The closing fragment: nothing is set after it (the parameter number is never read).
constexpr StatementStep Closing(int fragment) {
  return {fragment, 0, NumberForm::kNone, 0, 0};
}

// The text gives the yields wheat in red clay, wheat in sandy loam, corn in red clay, corn in
// sandy loam, cotton, and the hours of each crop sandy loam first.
constexpr StatementStep kStatementSteps[] = {
    Whole(3826, 0),  Whole(3827, 1),  Whole(3828, 2),  Whole(3829, 3),  Whole(3830, 4),
    Whole(3831, 5),  Whole(3832, 6),  Whole(3833, 7),  Whole(3834, 9),  Whole(3835, 8),
    Whole(3836, 10), Whole(3837, 11), Whole(3838, 14), Whole(3839, 12), Whole(3840, 15),
    Whole(3841, 13), Whole(3842, 16), Whole(3843, 17), Whole(4843, 18), Money(5843, 19),
    Money(3844, 20), Money(3845, 21), Closing(3846),
};

static_assert(std::size(kStatementSteps) == 23);

std::size_t At(int number) {
  return static_cast<std::size_t>(number);
}

// L for a field: the sum of its hours per acre as a double, divided, truncated toward zero, then
// times its acres in whole numbers.
std::int32_t HourLimitLow(const HourLimitRule& rule, const DrawnValues& drawn) {
  std::int32_t sum = 0;
  for (int h = 0; h < rule.hourCount; ++h) sum += drawn[At(rule.hours[At(h)])].whole;
  auto mean =
      static_cast<std::int32_t>(static_cast<double>(sum) / static_cast<double>(rule.hourCount));
  return mean * drawn[At(rule.acres)].whole;
}

// Parameters 17 and 18: the range follows from earlier draws and stays the same on a re-draw.
void DrawHourLimits(DrawnValues& drawn) {
  for (const HourLimitRule& limit : kHourLimitRules) {
    std::int32_t low = HourLimitLow(limit, drawn);
    DrawRule rule{limit.number, kWhole, low, low + kHourLimitSpread, 1.0, {limit.differFrom}};
    DrawParameter(rule, drawn);
  }
}

// Parameters 19 to 21: corn's lower bound is wheat's draw (before the scale) plus five.
void DrawProfitsPerBushel(DrawnValues& drawn) {
  DrawParameter(kWheatProfitRule, drawn);
  int cornLow = drawn[At(kWheatProfitRule.number)].draw + kCornProfitStepsAboveWheat;
  DrawParameter(DrawRule{kCornProfit, kDecimal, cornLow, kCornProfitHigh, kProfitScale, {}}, drawn);
  DrawParameter(kCottonProfitRule, drawn);
}

// Draw: 0 to 11, 14, 15, 16, 12, 13, then 17 to 21.
void DrawFarmParameters(DrawnValues& drawn) {
  DrawParameters(kAcreageYieldHourRules, drawn);
  DrawHourLimits(drawn);
  DrawProfitsPerBushel(drawn);
}

// Keep the drawn values in the problem's record, each in its own type.
void StoreRecord(const DrawnValues& drawn, FarmProblem& record) {
  std::size_t k = 0;
  for (std::int32_t FarmProblem::*field : kWholeFields) record.*field = drawn[k++].whole;
  for (double FarmProblem::*field : kDecimalFields) record.*field = drawn[k++].decimal;
}

// Derive: each profit per acre, the yield as a double times the profit per bushel.
void DeriveProfitsPerAcre(const DrawnValues& drawn,
                          std::array<double, kFarmParameterCount>& values) {
  for (const ProfitPerAcre& profit : kProfitsPerAcre) {
    values[At(profit.number)] = static_cast<double>(drawn[At(profit.yield)].whole) *
                                drawn[At(profit.profitPerBushel)].decimal;
  }
}

}  // namespace

void GenerateFarmProblem() {
  // Draw, keeping the listed numbers apart, and keep the record.
  DrawnValues drawn{};
  DrawFarmParameters(drawn);
  StoreRecord(drawn, farmProblem);

  // Derive, and fill the parameter table.
  std::array<double, kFarmParameterCount> values{};
  for (std::size_t k = 0; k < At(kFarmStatedCount); ++k) values[k] = AsDouble(drawn[k]);
  DeriveProfitsPerAcre(drawn, values);

  FillParameterTable(parameterTable, values, kDescriptions);
  // The correct formulation, from the values just stored.
  WriteFormulation(kPlan, std::span(parameterTable.parameterValues).first(values.size()),
                   formulation);
}

void BuildFarmStatement() {
  GenerateFarmProblem();
  BuildStatementFromSteps(kStatementSteps);
}
