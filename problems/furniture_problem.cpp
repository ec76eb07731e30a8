#include "furniture_problem.h"

#include <array>
#include <cstddef>

#include "formulation_model.h"
#include "generation.h"
#include "parameter_table.h"
#include "problem_statement.h"

FurnitureProblem furnitureProblem{};

namespace {

constexpr auto kWhole = ParameterType::kWhole;
constexpr auto kDecimal = ParameterType::kDecimal;

// Hours are quarter hours.
constexpr double kQuarterHour = 0.25;

// Ranges, scales and keep-apart lists, in draw order: revenues, department hours available, hours
// per product, then the sales minimums, which are kept apart from the last finishing hours.
constexpr DrawRule kFurnitureDraws[] = {
    {25, kDecimal, 90, 120, 5.0, {}},
    {26, kDecimal, 35, 60, 5.0, {}},
    {27, kDecimal, 12, 25, 5.0, {}},
    {28, kDecimal, 30, 55, 5.0, {Param(26)}},
    {20, kWhole, 575, 650, 5, {}},
    {21, kWhole, 575, 650, 5, {Param(20)}},
    {22, kWhole, 575, 650, 5, {Param(20), Param(21)}},
    {23, kWhole, 575, 650, 5, {Param(20), Param(21), Param(22)}},
    {24, kWhole, 575, 650, 5, {Param(20), Param(21), Param(22), Param(23)}},
    {0, kDecimal, 21, 26, kQuarterHour, {}},
    {1, kDecimal, 16, 20, kQuarterHour, {}},
    {2, kDecimal, 16, 20, kQuarterHour, {Param(1)}},
    {3, kDecimal, 25, 30, kQuarterHour, {Param(0)}},
    {4, kDecimal, 5, 8, kQuarterHour, {}},
    {5, kDecimal, 1, 3, kQuarterHour, {}},
    // 1.0 has a diagnosis text of its own, so no hour coefficient may be 1.0.
    {6, kDecimal, 2, 5, kQuarterHour, {Param(5), Constant(1.0)}},
    {7, kDecimal, 5, 8, kQuarterHour, {Param(4), Param(6)}},
    {8, kDecimal, 13, 17, kQuarterHour, {}},
    {9, kDecimal, 9, 12, kQuarterHour, {}},
    {10, kDecimal, 9, 12, kQuarterHour, {Param(9)}},
    {11, kDecimal, 13, 17, kQuarterHour, {Param(8)}},
    {12, kDecimal, 26, 32, kQuarterHour, {Param(0), Param(3)}},
    {13, kDecimal, 28, 36, kQuarterHour, {Param(12), Param(3)}},
    {14, kDecimal, 28, 36, kQuarterHour, {Param(12), Param(13), Param(3)}},
    {15, kDecimal, 37, 44, kQuarterHour, {}},
    {16, kWhole, 10, 15, 1, {Param(15)}},
    {17, kWhole, 10, 15, 1, {Param(16), Param(15)}},
    {18, kWhole, 16, 20, 1, {}},
    {19, kWhole, 16, 20, 1, {Param(18)}},
};
static_assert(std::size(kFurnitureDraws) == kFurnitureParameterCount);

constexpr bool AllRulesValid() {
  for (const DrawRule& rule : kFurnitureDraws) {
    if (!IsValidRule(rule) || rule.number >= kFurnitureParameterCount) return false;
  }
  return true;
}
static_assert(AllRulesValid());

constexpr const char* kFurnitureDescriptions[kFurnitureParameterCount] = {
    "number of hours of cutting time required for an upholstered sofa",
    "number of hours of cutting time required for an upholstered chair",
    "number of hours of cutting time required for a kitchen chair",
    "number of hours of cutting time required for a kitchen table",
    "number of hours of drilling time required for an upholstered sofa",
    "number of hours of drilling time required for an upholstered chair",
    "number of hours of drilling time required for a kitchen chair",
    "number of hours of drilling time required for a kitchen table",
    "number of hours of assembling time required for an upholstered sofa",
    "number of hours of assembling time required for an upholstered chair",
    "number of hours of assembling time required for a kitchen chair",
    "number of hours of assembling time required for a kitchen table",
    "number of hours of upholstering time required for an upholstered sofa",
    "number of hours of upholstering time required for an upholstered chair",
    "number of hours of finishing time required for a kitchen chair",
    "number of hours of finishing time required for a kitchen table",
    "minimum number of upholstered sofas the company must produce",
    "minimum number of upholstered chairs the company must produce",
    "minimum number of kitchen chairs the company must produce",
    "minimum number of kitchen tables the company must produce",
    "maximum number of hours of cutting time available",
    "maximum number of hours of drilling time available",
    "maximum number of hours of assembling time available",
    "maximum number of hours of upholstering time available",
    "maximum number of hours of finishing time available",
    "amount of revenue from an upholstered sofa",
    "amount of revenue from an upholstered chair",
    "amount of revenue from a kitchen chair",
    "amount of revenue from a kitchen table",
};

// Where each hour parameter sits in the hours matrix; the four cells not listed stay 0.0.
struct HourCell {
  FurnitureDepartment department;
  FurnitureProduct product;
};

inline constexpr int kHourParameterCount = 16;  // parameters 0 to 15
inline constexpr int kFirstMinimumSales = 16;
inline constexpr int kFirstHoursAvailable = 20;
inline constexpr int kFirstRevenue = 25;
static_assert(kFirstRevenue + kFurnitureProducts == kFurnitureParameterCount);

constexpr HourCell kHourCells[kHourParameterCount] = {
    {kFurnitureCutting, kUpholsteredSofa},      {kFurnitureCutting, kUpholsteredChair},
    {kFurnitureCutting, kKitchenChair},         {kFurnitureCutting, kKitchenTable},
    {kFurnitureDrilling, kUpholsteredSofa},     {kFurnitureDrilling, kUpholsteredChair},
    {kFurnitureDrilling, kKitchenChair},        {kFurnitureDrilling, kKitchenTable},
    {kFurnitureAssembling, kUpholsteredSofa},   {kFurnitureAssembling, kUpholsteredChair},
    {kFurnitureAssembling, kKitchenChair},      {kFurnitureAssembling, kKitchenTable},
    {kFurnitureUpholstering, kUpholsteredSofa}, {kFurnitureUpholstering, kUpholsteredChair},
    {kFurnitureFinishing, kKitchenChair},       {kFurnitureFinishing, kKitchenTable},
};

constexpr ValueRef kZero{};  // the variable does not occur
constexpr ValueRef kOne = Constant(1.0);

// The five departments' hours, then the sales minimum of each product.
constexpr ConstraintRule kFurnitureConstraints[] = {
    {"cutting",
     kKindResource,
     {Param(0), Param(1), Param(2), Param(3)},
     kRelationAtMost,
     Param(20)},
    {"drilling",
     kKindResource,
     {Param(4), Param(5), Param(6), Param(7)},
     kRelationAtMost,
     Param(21)},
    {"assembling",
     kKindResource,
     {Param(8), Param(9), Param(10), Param(11)},
     kRelationAtMost,
     Param(22)},
    {"upholstering", kKindResource, {Param(12), Param(13)}, kRelationAtMost, Param(23)},
    {"finishing", kKindResource, {kZero, kZero, Param(14), Param(15)}, kRelationAtMost, Param(24)},
    {"upholstered sofa", kKindSales, {kOne}, kRelationAtLeast, Param(16)},
    {"upholstered chair", kKindSales, {kZero, kOne}, kRelationAtLeast, Param(17)},
    {"kitchen chair", kKindSales, {kZero, kZero, kOne}, kRelationAtLeast, Param(18)},
    {"kitchen table", kKindSales, {kZero, kZero, kZero, kOne}, kRelationAtLeast, Param(19)},
};

constexpr int kFurnitureVariableTexts[] = {3615, 3616, 3617, 3618};

constexpr FormulationPlan kFurniturePlan = {
    {Param(25), Param(26), Param(27), Param(28)},
    kFurnitureConstraints,
    kFurnitureVariableTexts,
    kSenseMaximize,
    0,
};

std::size_t Index(int number) {
  return static_cast<std::size_t>(number);
}

// The record in its natural types, from the draws.
FurnitureProblem RecordFromDraws(const DrawnValues& drawn) {
  FurnitureProblem record{};
  for (int k = 0; k < kHourParameterCount; ++k) {
    const HourCell& cell = kHourCells[k];
    record.hours[Index(cell.department)][Index(cell.product)] = drawn[Index(k)].decimal;
  }
  for (int j = 0; j < kFurnitureProducts; ++j) {
    record.minimumSales[Index(j)] = drawn[Index(kFirstMinimumSales + j)].whole;
    record.revenue[Index(j)] = drawn[Index(kFirstRevenue + j)].decimal;
  }
  for (int d = 0; d < kFurnitureDepartments; ++d) {
    record.hoursAvailable[Index(d)] = drawn[Index(kFirstHoursAvailable + d)].whole;
  }
  return record;
}

// Every parameter as a double, at its number. Nothing is derived.
std::array<double, kFurnitureParameterCount> ParameterValues(const FurnitureProblem& r) {
  std::array<double, kFurnitureParameterCount> values{};
  for (int k = 0; k < kHourParameterCount; ++k) {
    const HourCell& cell = kHourCells[k];
    values[Index(k)] = r.hours[Index(cell.department)][Index(cell.product)];
  }
  for (int j = 0; j < kFurnitureProducts; ++j) {
    values[Index(kFirstMinimumSales + j)] = static_cast<double>(r.minimumSales[Index(j)]);
    values[Index(kFirstRevenue + j)] = r.revenue[Index(j)];
  }
  for (int d = 0; d < kFurnitureDepartments; ++d) {
    values[Index(kFirstHoursAvailable + d)] = static_cast<double>(r.hoursAvailable[Index(d)]);
  }
  return values;
}

// Hours and prices: up to two places, without trailing zeros.
constexpr StatementStep Decimal(int fragmentId, int parameter) {
  return {fragmentId, parameter, NumberForm::kDecimal, 2, 1};
}
constexpr StatementStep Whole(int fragmentId, int parameter) {
  return {fragmentId, parameter, NumberForm::kWhole, 0, 0};
}

// The statement: each fragment, then the parameter set after it. A product's hours go cutting,
// drilling, assembling, then upholstering or finishing; its zero cells are never written.
constexpr StatementStep kFurnitureStatement[] = {
    {3620, 0, NumberForm::kNone, 0, 0},
    Decimal(3621, 0),
    Decimal(3622, 4),
    Decimal(3623, 8),
    Decimal(3624, 12),
    Decimal(3625, 1),
    Decimal(3622, 5),
    Decimal(3623, 9),
    Decimal(3624, 13),
    Decimal(3626, 2),
    Decimal(3622, 6),
    Decimal(3623, 10),
    Decimal(3624, 14),
    Decimal(3627, 3),
    Decimal(3622, 7),
    Decimal(3623, 11),
    Decimal(3624, 15),
    Whole(3628, 20),
    Whole(3629, 21),
    Whole(3630, 22),
    Whole(3631, 23),
    Whole(3632, 24),
    Whole(3633, 16),
    Whole(3634, 17),
    Whole(3635, 18),
    Whole(3636, 19),
    Decimal(3637, 25),
    Decimal(3638, 26),
    Decimal(3639, 27),
    Decimal(3640, 28),
    {3641, 0, NumberForm::kNone, 0, 0},
};
static_assert(std::size(kFurnitureStatement) == 31);

}  // namespace

void GenerateFurnitureProblem() {
  // Draw, keeping the listed numbers apart.
  DrawnValues drawn{};
  DrawParameters(kFurnitureDraws, drawn);
  furnitureProblem = RecordFromDraws(drawn);
  // Fill the parameter table; nothing to derive.
  std::array<double, kFurnitureParameterCount> values = ParameterValues(furnitureProblem);
  FillParameterTable(parameterTable, values, kFurnitureDescriptions);
  // The correct formulation, from the values just stored.
  WriteFormulation(kFurniturePlan, parameterTable.parameterValues, formulation);
}

void BuildFurnitureStatement() {
  GenerateFurnitureProblem();
  BuildStatementFromSteps(kFurnitureStatement);
}
