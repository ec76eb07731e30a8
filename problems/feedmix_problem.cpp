#include "feedmix_problem.h"

#include <array>
#include <cstddef>
#include <span>

#include "courselib.h"
#include "formulation_model.h"
#include "generation.h"
#include "parameter_table.h"
#include "problem_statement.h"

FeedMixProblem feedMixProblem{};

namespace {

constexpr ParameterType kDecimal = ParameterType::kDecimal;
constexpr ParameterType kWhole = ParameterType::kWhole;

// Ranges, scales and keep-apart lists, in draw order: the order is what makes a seed give the same
// problem every time. Parameters 0 to 6 come before the carbohydrate content of corn is set.
// clang-format off
constexpr DrawRule kRulesBeforeCornCarbohydrate[] = {
    // no. type      low  high  scale   drawn again while equal to
    {0,  kDecimal,  32,   38,  0.01,   {}},
    {1,  kDecimal,   1,    4,  0.01,   {}},
    {2,  kDecimal,   1,    8,  0.001,  {}},
    {3,  kDecimal,  27,   33,  0.01,   {Param(0)}},
    {4,  kDecimal,  14,   21,  0.01,   {}},
    {5,  kDecimal,   1,    4,  0.01,   {Param(1)}},
    {6,  kDecimal,   1,    8,  0.001,  {Param(2)}},
};
// clang-format on

// The carbohydrate content of corn is the same in every problem and takes no random number. It
// lies outside the protein range of corn; wheat's protein and carbohydrate are kept apart from it.
constexpr int kCornCarbohydrate = 7;
constexpr double kCornCarbohydrateContent = 0.22;

// Parameters 8 to 23. The comparisons are exact, across scales too: a potassium requirement of
// 30 x 0.001 equals an iron content of 3 x 0.01 and is drawn again. The bushel weights are whole
// pounds held as doubles.
// clang-format off
constexpr DrawRule kRulesAfterCornCarbohydrate[] = {
    // no. type      low   high  scale   drawn again while equal to
    {8,  kDecimal,   17,    24,  0.01,   {Param(4), Param(7)}},
    {9,  kDecimal,    1,     4,  0.01,   {Param(1), Param(5)}},
    {10, kDecimal,    1,     8,  0.001,  {Param(2), Param(6)}},
    {11, kDecimal,   17,    24,  0.01,   {Param(4), Param(7), Param(8)}},
    {12, kDecimal,   16,    18,  0.1,    {}},
    {13, kDecimal,    9,    16,  0.01,   {Param(4)}},
    {14, kDecimal,   27,    37,  0.001,  {Param(1), Param(5), Param(9)}},
    {15, kDecimal,   20,    29,  0.1,    {}},
    {16, kDecimal, 2214,  2231,  0.01,   {}},
    {17, kDecimal,  936,  1180,  0.01,   {}},
    {18, kDecimal, 1281,  1296,  0.01,   {}},
    {19, kDecimal,   23,    27,  1.0,    {}},
    {20, kDecimal,   20,    24,  1.0,    {Param(19)}},
    {21, kDecimal,   16,    21,  1.0,    {Param(20)}},
    {22, kDecimal,   33,    39,  0.1,    {Param(18)}},
    {23, kWhole,    950,  1050,  1,      {}},
};
// clang-format on

static_assert(std::size(kRulesBeforeCornCarbohydrate) + 1 +
                  std::size(kRulesAfterCornCarbohydrate) ==
              kFeedMixStatedCount);

constexpr bool AllRulesValid() {
  for (const DrawRule& rule : kRulesBeforeCornCarbohydrate) {
    if (!IsValidRule(rule) || rule.number >= kCornCarbohydrate) return false;
  }
  for (const DrawRule& rule : kRulesAfterCornCarbohydrate) {
    if (!IsValidRule(rule) || rule.number <= kCornCarbohydrate) return false;
  }
  return true;
}
static_assert(AllRulesValid());

// A cost per pound: the cost of a bushel divided by its weight, rounded to cents.
struct CostPerPound {
  int number;
  int bushelCost;
  int bushelWeight;
};

constexpr CostPerPound kCostsPerPound[] = {{24, 16, 19}, {25, 17, 20}, {26, 18, 21}};
constexpr int kCentPlaces = 2;

static_assert(kFeedMixStatedCount + std::size(kCostsPerPound) == kFeedMixParameterCount);

constexpr const char* kDescriptions[kFeedMixParameterCount] = {
    "protein content of soybean",
    "iron content of soybean",
    "potassium content of soybean",
    "carbohydrate content of soybean",
    "protein content of corn",
    "iron content of corn",
    "potassium content of corn",
    "carbohydrate content of corn",
    "protein content of wheat",
    "iron content of wheat",
    "potassium content of wheat",
    "carbohydrate content of wheat",
    "daily protein requirement of a steer",
    "daily iron requirement of a steer",
    "daily potassium requirement of a steer",
    "daily carbohydrate requirement of a steer",
    "cost of a bushel of soybean",
    "cost of a bushel of corn",
    "cost of a bushel of wheat",
    "number of lbs. of soybean per bushel",
    "number of lbs. of corn per bushel",
    "number of lbs. of wheat per bushel",
    "minimum number of lbs. of feed a steer eats daily",
    "number of steers on the farm",
    "cost of a pound of soybean",
    "cost of a pound of corn",
    "cost of a pound of wheat",
};

// Where each decimal parameter 0 to 22 lives in the record; 23 is the whole number of steers.
constexpr double FeedMixProblem::*kDecimalFields[] = {
    &FeedMixProblem::soybeanProtein,       &FeedMixProblem::soybeanIron,
    &FeedMixProblem::soybeanPotassium,     &FeedMixProblem::soybeanCarbohydrate,
    &FeedMixProblem::cornProtein,          &FeedMixProblem::cornIron,
    &FeedMixProblem::cornPotassium,        &FeedMixProblem::cornCarbohydrate,
    &FeedMixProblem::wheatProtein,         &FeedMixProblem::wheatIron,
    &FeedMixProblem::wheatPotassium,       &FeedMixProblem::wheatCarbohydrate,
    &FeedMixProblem::proteinRequirement,   &FeedMixProblem::ironRequirement,
    &FeedMixProblem::potassiumRequirement, &FeedMixProblem::carbohydrateRequirement,
    &FeedMixProblem::soybeanBushelCost,    &FeedMixProblem::cornBushelCost,
    &FeedMixProblem::wheatBushelCost,      &FeedMixProblem::soybeanBushelWeight,
    &FeedMixProblem::cornBushelWeight,     &FeedMixProblem::wheatBushelWeight,
    &FeedMixProblem::minimumFeed,
};
constexpr int kSteerCount = 23;

static_assert(std::size(kDecimalFields) == kSteerCount);

constexpr ValueRef kOne = Constant(1.0);

// Four nutrient minimums (contents of soybean, corn, wheat) and the daily feed, all at least.
// clang-format off
constexpr ConstraintRule kConstraints[] = {
    // name           kind            p          q          r
    {"protein",      kKindNutrition, {Param(0), Param(4), Param(8)},  kRelationAtLeast, Param(12)},
    {"iron",         kKindNutrition, {Param(1), Param(5), Param(9)},  kRelationAtLeast, Param(13)},
    {"potassium",    kKindNutrition, {Param(2), Param(6), Param(10)}, kRelationAtLeast, Param(14)},
    {"carbohydrate", kKindNutrition, {Param(3), Param(7), Param(11)}, kRelationAtLeast, Param(15)},
    {"minimum feed", kKindResource,  {kOne,     kOne,     kOne},      kRelationAtLeast, Param(22)},
};
// clang-format on

// Pounds of soybean, corn and wheat per steer.
constexpr int kVariableDescriptionIds[] = {3740, 3741, 3742};

// The objective's coefficients are the derived costs per pound, so a wrong objective is answered
// with the worked solution that derives them.
constexpr FormulationPlan kPlan{
    {Param(24), Param(25), Param(26)}, kConstraints, kVariableDescriptionIds, kSenseMinimize, 1};

constexpr StatementStep Whole(int fragment, int parameter) {
  return {fragment, parameter, NumberForm::kWhole, 0, 0};
}
constexpr StatementStep Decimal(int fragment, int parameter, int places, int flag) {
  return {fragment, parameter, NumberForm::kDecimal, places, flag};
}
// The closing fragment: nothing is set after it (the parameter number is never read).
constexpr StatementStep Closing(int fragment) {
  return {fragment, 0, NumberForm::kNone, 0, 0};
}

// Amounts in pounds are written with up to five places, money with cents; the weight of a bushel
// of wheat is written with two places where the other weights have five.
constexpr StatementStep kStatementSteps[] = {
    Whole(3745, 23),         Decimal(3746, 22, 5, 1), Decimal(3747, 12, 5, 1),
    Decimal(3748, 13, 5, 1), Decimal(3749, 14, 5, 1), Decimal(3750, 15, 5, 1),
    Decimal(3751, 0, 5, 1),  Decimal(3752, 1, 5, 1),  Decimal(3753, 2, 5, 1),
    Decimal(3754, 3, 5, 1),  Decimal(3755, 4, 5, 1),  Decimal(3752, 5, 5, 1),
    Decimal(3753, 6, 5, 1),  Decimal(3754, 7, 5, 1),  Decimal(3756, 8, 5, 1),
    Decimal(3752, 9, 5, 1),  Decimal(3753, 10, 5, 1), Decimal(3754, 11, 5, 1),
    Decimal(3757, 19, 5, 1), Decimal(3758, 16, 2, 0), Decimal(3759, 20, 5, 1),
    Decimal(3758, 17, 2, 0), Decimal(3760, 21, 2, 1), Decimal(3758, 18, 2, 0),
    Closing(3761),
};

static_assert(std::size(kStatementSteps) == 25);

std::size_t At(int number) {
  return static_cast<std::size_t>(number);
}

// Draw: parameters 0 to 6, the fixed carbohydrate content of corn, then 8 to 23.
void DrawFeedMixParameters(DrawnValues& drawn) {
  DrawParameters(kRulesBeforeCornCarbohydrate, drawn);
  drawn[At(kCornCarbohydrate)] = DrawnValue{kDecimal, 0, 0, kCornCarbohydrateContent};
  DrawParameters(kRulesAfterCornCarbohydrate, drawn);
}

// Keep the drawn values in the problem's record, each in its own type.
void StoreRecord(const DrawnValues& drawn, FeedMixProblem& record) {
  for (std::size_t k = 0; k < std::size(kDecimalFields); ++k) {
    record.*kDecimalFields[k] = drawn[k].decimal;
  }
  record.steerCount = drawn[At(kSteerCount)].whole;
}

// Derive: each cost per pound in double arithmetic, then rounded to cents.
void DeriveCostsPerPound(std::array<double, kFeedMixParameterCount>& values) {
  for (const CostPerPound& cost : kCostsPerPound) {
    double quotient = values[At(cost.bushelCost)] / values[At(cost.bushelWeight)];
    values[At(cost.number)] = RoundToPlaces(quotient, kCentPlaces);
  }
}

}  // namespace

void GenerateFeedMixProblem() {
  // Draw, keeping the listed numbers apart, and keep the record.
  DrawnValues drawn{};
  DrawFeedMixParameters(drawn);
  StoreRecord(drawn, feedMixProblem);

  // Derive, and fill the parameter table.
  std::array<double, kFeedMixParameterCount> values{};
  for (std::size_t k = 0; k < At(kFeedMixStatedCount); ++k) values[k] = AsDouble(drawn[k]);
  DeriveCostsPerPound(values);

  FillParameterTable(parameterTable, values, kDescriptions);
  // The correct formulation, from the values just stored.
  WriteFormulation(kPlan, std::span(parameterTable.parameterValues).first(values.size()),
                   formulation);
}

void BuildFeedMixStatement() {
  GenerateFeedMixProblem();
  BuildStatementFromSteps(kStatementSteps);
}
