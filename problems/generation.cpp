#include "generation.h"

#include <cstddef>

#include "courselib.h"
#include "textservices.h"

namespace {

std::size_t Index(int number) {
  return static_cast<std::size_t>(number);
}

// One draw of the rule's range times its scale, in the parameter's own type.
DrawnValue DrawOnce(const DrawRule& rule) {
  DrawnValue value{rule.type, RandomInRange(rule.high, rule.low), 0, 0.0};
  if (rule.type == ParameterType::kWhole) {
    value.whole = value.draw * static_cast<std::int32_t>(rule.scale);
  } else {
    value.decimal = static_cast<double>(value.draw) * rule.scale;
  }
  return value;
}

// The value a reference of a re-draw list stands for: an earlier parameter as it was drawn, or a
// constant, which is a decimal.
DrawnValue Referenced(const ValueRef& ref, const DrawnValues& values) {
  if (ref.kind == ValueRef::kParameter) return values[Index(ref.parameter)];
  return DrawnValue{ParameterType::kDecimal, 0, 0, ref.constant};
}

// Keep numbers apart: does the fresh value equal any value the rule lists?
bool EqualsListedValue(const DrawnValue& value, const DrawRule& rule, const DrawnValues& values) {
  for (const ValueRef& ref : rule.differFrom) {
    if (ref.kind == ValueRef::kNone) break;
    if (SameValue(value, Referenced(ref, values))) return true;
  }
  return false;
}

// A coefficient or right-hand side: a stored parameter value, a constant, or 0 for nothing.
double Resolve(const ValueRef& ref, std::span<const double> parameterValues) {
  switch (ref.kind) {
    case ValueRef::kParameter:
      return parameterValues[Index(ref.parameter)];
    case ValueRef::kConstant:
      return ref.constant;
    case ValueRef::kNone:
      break;
  }
  return 0.0;
}

void WriteCoefficients(const std::array<ValueRef, kMaxVariables>& refs,
                       std::span<const double> parameterValues, FormulationRow& row) {
  for (std::size_t slot = 0; slot < refs.size(); ++slot) {
    row.coef[slot] = Resolve(refs[slot], parameterValues);
  }
}

// Constraint i: coefficients, relation, right-hand side, name and kind.
void WriteConstraint(const ConstraintRule& rule, std::size_t i,
                     std::span<const double> parameterValues, Formulation& target) {
  FormulationRow& row = target.constraints[i];
  WriteCoefficients(rule.coef, parameterValues, row);
  row.relation = static_cast<double>(rule.relation);
  row.rhs = Resolve(rule.rhs, parameterValues);
  SetText(target.constraintNames[i], rule.name);
  target.constraintKinds[i] = rule.kind;
}

// Variable descriptions from the string table, variable 1 first.
void LoadVariableDescriptions(std::span<const int> ids, Formulation& target) {
  for (std::size_t j = 0; j < ids.size() && j < target.variableDescriptions.size(); ++j) {
    SetText(target.variableDescriptions[j], LoadText(ids[j]));
  }
}

}  // namespace

double AsDouble(const DrawnValue& value) {
  return value.type == ParameterType::kWhole ? static_cast<double>(value.whole) : value.decimal;
}

bool SameValue(const DrawnValue& a, const DrawnValue& b) {
  if (a.type == ParameterType::kWhole && b.type == ParameterType::kWhole) {
    return a.whole == b.whole;
  }
  return AsDouble(a) == AsDouble(b);
}

void DrawParameter(const DrawRule& rule, DrawnValues& values) {
  // Draw, then keep numbers apart: only this parameter is drawn again.
  DrawnValue value = DrawOnce(rule);
  while (EqualsListedValue(value, rule, values)) value = DrawOnce(rule);
  values[Index(rule.number)] = value;
}

void DrawParameters(std::span<const DrawRule> rules, DrawnValues& values) {
  for (const DrawRule& rule : rules) DrawParameter(rule, values);
}

void FillParameterTable(ParameterTable& table, std::span<const double> values,
                        const char* const* descriptions) {
  // Entries beyond the count keep what an earlier problem left there; nobody reads them.
  std::size_t count =
      values.size() < table.parameterValues.size() ? values.size() : table.parameterValues.size();
  for (std::size_t k = 0; k < count; ++k) table.parameterValues[k] = values[k];
  table.parameterCount = static_cast<std::int32_t>(count);
  table.parameterDescriptions = descriptions;
}

void WriteFormulation(const FormulationPlan& plan, std::span<const double> parameterValues,
                      Formulation& target) {
  // Clear, then objective, then constraints 1 to n.
  ClearFormulation(target);
  WriteCoefficients(plan.objective, parameterValues, target.objective);
  std::size_t count = plan.constraints.size() < target.constraints.size()
                          ? plan.constraints.size()
                          : target.constraints.size();
  for (std::size_t i = 0; i < count; ++i) {
    WriteConstraint(plan.constraints[i], i, parameterValues, target);
  }
  // Counts and flags.
  target.constraintCount = static_cast<std::int32_t>(count);
  target.variableCount = static_cast<std::int32_t>(plan.variableDescriptionIds.size());
  target.objectiveSense = plan.objectiveSense;
  target.objectiveHasSolution = plan.objectiveHasSolution;
  // Variable descriptions last.
  LoadVariableDescriptions(plan.variableDescriptionIds, target);
}
