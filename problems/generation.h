// The generation scheme every problem generator follows: draw its parameters in their order from
// a table of ranges, scales and "keep apart" rules, fill the parameter table, and write the correct
// formulation from a table of constraint rows. The five generators call these helpers.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "formulation_model.h"
#include "parameter_table.h"

enum class ParameterType { kWhole, kDecimal };

// A value as it was drawn: a whole number is kept as an integer, a decimal as a double, so that
// comparisons between two whole numbers stay integer comparisons.
struct DrawnValue {
  ParameterType type;
  std::int32_t draw;   // what RandomInRange returned, before the scale
  std::int32_t whole;  // a whole parameter's value
  double decimal;      // a decimal parameter's value
};

using DrawnValues = std::array<DrawnValue, kMaxParameters>;

// Either an earlier parameter or a constant. A zero-initialised reference stands for nothing, so
// fixed-size lists of references end at their first unused entry.
struct ValueRef {
  enum Kind { kNone, kParameter, kConstant } kind;
  int parameter;
  double constant;
};

constexpr ValueRef Param(int number) {
  return {ValueRef::kParameter, number, 0.0};
}
constexpr ValueRef Constant(double value) {
  return {ValueRef::kConstant, 0, value};
}

// The most values one parameter must be kept apart from.
inline constexpr int kMaxDifferFrom = 6;

// How one parameter is drawn: RandomInRange(high, low) times the scale. A whole parameter's scale
// is a whole number and is multiplied as an integer; a decimal's result is converted to double and
// multiplied by the scale. The parameter is drawn again while it equals any value of differFrom.
struct DrawRule {
  int number;
  ParameterType type;
  int low;
  int high;
  double scale;
  std::array<ValueRef, kMaxDifferFrom> differFrom;
};

// Whether a rule can be drawn: its number has room, its range is not empty, a whole scale is whole.
constexpr bool IsValidRule(const DrawRule& rule) {
  bool wholeScale = rule.type == ParameterType::kDecimal ||
                    rule.scale == static_cast<double>(static_cast<std::int32_t>(rule.scale));
  return rule.number >= 0 && rule.number < kMaxParameters && rule.low <= rule.high && wholeScale;
}

// Exact equality: two whole numbers compare as integers, otherwise both compare as doubles.
bool SameValue(const DrawnValue& a, const DrawnValue& b);

// The value converted to double.
double AsDouble(const DrawnValue& value);

// Draws one parameter into values[rule.number], again and again until it differs from every value
// of its differFrom list (earlier parameters read from values).
void DrawParameter(const DrawRule& rule, DrawnValues& values);

// Draws the rules in table order, which is the problem's draw order. A problem that sets a value
// between two draws, or whose range depends on an earlier draw, calls DrawParameter row by row.
void DrawParameters(std::span<const DrawRule> rules, DrawnValues& values);

// Writes the values at their numbers, sets the count and points at the description list.
void FillParameterTable(ParameterTable& table, std::span<const double> values,
                        const char* const* descriptions);

// One constraint of a problem's formulation. Coefficients and right-hand side name parameters (or
// the constants 0 and 1), so every value written is a stored parameter value bit for bit.
struct ConstraintRule {
  const char* name;
  ConstraintKind kind;
  std::array<ValueRef, kMaxVariables> coef;  // unused slots are 0
  RelationCode relation;
  ValueRef rhs;
};

// The whole correct formulation of a problem, as data.
struct FormulationPlan {
  std::array<ValueRef, kMaxVariables> objective;
  std::span<const ConstraintRule> constraints;
  std::span<const int> variableDescriptionIds;  // string-table IDs, variable 1 first
  int objectiveSense;
  int objectiveHasSolution;
};

// Clears the formulation and writes it from the plan, reading parameters from the values given
// (the parameter table's values): objective, constraints with names and kinds, counts and flags,
// then the variable descriptions loaded from the string table.
void WriteFormulation(const FormulationPlan& plan, std::span<const double> parameterValues,
                      Formulation& target);
