#include "problem_statement.h"

#include "courselib.h"
#include "parameter_table.h"
#include "textservices.h"

std::array<char, kProblemTextSize> problemText{};

namespace {

// The number after a fragment. The parameter table holds every drawn value exactly (whole numbers
// convert to double and back without loss), so reading it is reading the problem's record.
void AppendParameter(const StatementStep& step) {
  if (step.form == NumberForm::kNone || step.parameter < 0 || step.parameter >= kMaxParameters) {
    return;
  }
  double value = parameterTable.parameterValues[static_cast<std::size_t>(step.parameter)];
  switch (step.form) {
    case NumberForm::kNone: break;
    case NumberForm::kWhole: AppendInt(problemText, static_cast<int>(value)); break;
    case NumberForm::kLong: AppendLong(problemText, static_cast<int>(value)); break;
    case NumberForm::kDecimal: AppendDecimal(problemText, value, step.places, step.flag); break;
  }
}

}  // namespace

void BuildStatementFromSteps(std::span<const StatementStep> steps) {
  problemText[0] = '\0';
  for (const StatementStep& step : steps) {
    AppendText(problemText, LoadText(step.fragmentId));
    AppendParameter(step);
  }
}
