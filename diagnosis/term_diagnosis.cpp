#include "term_diagnosis.h"

#include <cmath>
#include <span>
#include <string_view>

#include "courselib.h"
#include "diagnosis_texts.h"
#include "row_format.h"
#include "textservices.h"

Diagnosis diagnosis{};

namespace {

// A right-hand side beyond this is no quantity of any problem.
constexpr double kLargestRhs = 9e15;
constexpr double kTolerance = 0.001;

// Equal within the tolerance, bounds included.
bool Near(double a, double b) {
  return a + kTolerance >= b && a - kTolerance <= b;
}
bool NearInSize(double a, double b) {
  return Near(std::fabs(a), std::fabs(b));
}

bool IsLetterSlot(int slot) {
  return slot >= 0 && slot < kLetterSlots;
}

// The coefficient of a slot; a term without a usable slot is measured against 0.
double CoefAt(const FormulationRow& row, int slot) {
  return slot >= 0 && slot < kVariableSlots ? row.coef[slot] : 0.0;
}

bool IsConstraintIndex(int target) {
  return target >= 0 && target < kMaxConstraints;
}

const FormulationRow& TargetRow(const Formulation& formulation, int target) {
  return IsConstraintIndex(target) ? formulation.constraints[target] : formulation.objective;
}

int KindOf(const Formulation& formulation, int index) {
  return IsConstraintIndex(index) ? formulation.constraintKinds[index] : 0;
}

void SetVerdict(EntryTerm& term, std::uint32_t verdict) {
  term.status = (term.status & ~0xFFu) | (verdict & 0xFFu);
}

std::span<char> LineAt(Diagnosis& diagnosis, int line) {
  if (line < 0 || line >= kDiagnosisLineCount) return {};
  return diagnosis.diagnosisLines[line];
}

void AppendLoaded(std::span<char> line, int id) {
  AppendText(line, LoadText(id));
}

// N(x): five places, trailing zeros dropped.
void AppendNumber(std::span<char> line, double x) {
  AppendDecimal(line, x, 5, 1);
}

void AppendLetter(std::span<char> line, int slot, bool upper) {
  if (!IsLetterSlot(slot)) return;
  AppendText(line, std::string_view(&(upper ? kUpperLetters : kLowerLetters)[slot], 1));
}

// A constraint's name followed by its kind word: "working hours resource".
void AppendNameAndKind(std::span<char> line, const Formulation& formulation, int index) {
  if (!IsConstraintIndex(index)) return;
  AppendText(line, TextIn(formulation.constraintNames[index]));
  AppendText(line, ConstraintKindWord(formulation.constraintKinds[index]));
}

// T: "objective function", or "working hours resource constraint".
void AppendTargetText(std::span<char> line, const Formulation& formulation, int target) {
  if (!IsConstraintIndex(target)) {
    AppendLoaded(line, kTextObjectiveFunction);
    return;
  }
  AppendNameAndKind(line, formulation, target);
  AppendLoaded(line, kTextConstraintWord);
}

void AppendTermText(std::span<char> line, const EntryTerm& term) {
  AppendText(line, TextIn(term.text));
}

// ", which corresponds to the " + what the value stands for + ".".
void AppendMeaning(std::span<char> line, int lead, const ParameterTable& parameters, double c) {
  AppendLoaded(line, lead);
  AppendText(line, DescribeValue(parameters, c));
  AppendLoaded(line, kTextFullStop);
}

// Step 1: start afresh; verdicts of an earlier run on the same entry are cleared (a right-hand
// side that was not a number keeps its whole status).
void ResetDiagnosis(int target, ParsedEntry& entry, Diagnosis& diagnosis) {
  diagnosis.diagnosisTarget = target;
  diagnosis.diagnosisCount = 0;
  for (auto& line : diagnosis.diagnosisLines) line.fill('\0');
  diagnosis.omittedVariable.fill(0);
  diagnosis.entryRepeatsVariable = 0;
  for (int i = 0; i < kRhsSlot; ++i) SetVerdict(entry.terms[i], 0);
  if (entry.terms[kRhsSlot].status != kRhsRejected) SetVerdict(entry.terms[kRhsSlot], 0);
}

// Step 2: a variable is omitted when no error-free term named it and the target row needs it.
void MarkOmittedVariables(const ParsedEntry& entry, const FormulationRow& row,
                          Diagnosis& diagnosis) {
  for (int j = 0; j < kLetterSlots; ++j) {
    diagnosis.omittedVariable[j] = entry.variableSeen[j] == 0 && row.coef[j] != 0.0 ? 1 : 0;
  }
}

int TermCount(const ParsedEntry& entry) {
  return entry.termCount < 0 ? 0 : entry.termCount > kMaxTerms ? kMaxTerms : entry.termCount;
}

// Step 3: note a repeated variable; give every term the parser read cleanly its verdict.
void ClassifyTerms(ParsedEntry& entry, const FormulationRow& row, const ParameterTable& parameters,
                   Diagnosis& diagnosis) {
  for (int i = 0; i < TermCount(entry); ++i) {
    EntryTerm& term = entry.terms[i];
    if (term.var >= 0 && term.var < kRepeatedSlots && entry.variableRepeated[term.var] != 0) {
      diagnosis.entryRepeatsVariable = 1;
    }
    if (!IsTermError(TermFlags(term.status))) {
      SetVerdict(term, ClassifyTerm(term, entry, row, parameters));
    }
  }
}

// Step 5: the sentence of an omitted variable, letters in lower case.
int DescribeOmittedVariable(int slot, int line, int target, const Formulation& formulation,
                            const ParameterTable& parameters, Diagnosis& diagnosis) {
  std::span<char> text = LineAt(diagnosis, line);
  double c = TargetRow(formulation, target).coef[slot];
  AppendLoaded(text, kTextOmittingVariable);
  AppendLetter(text, slot, false);
  AppendLoaded(text, kTextImpliedZero);
  AppendTargetText(text, formulation, target);
  AppendLoaded(text, kTextRequiresVariable);
  AppendLetter(text, slot, false);
  AppendLoaded(text, kTextToHaveCoefficient);
  AppendNumber(text, c);
  AppendMeaning(text, kTextOmittedRefersTo, parameters, c);
  return line + 1;
}

// Step 8: the empty line, the heading, the empty line and the correct row.
void WriteClosingLines(int line, int target, const Formulation& formulation, Diagnosis& diagnosis) {
  bool objective = !IsConstraintIndex(target);
  AppendLoaded(LineAt(diagnosis, line + 1),
               objective ? kTextCorrectObjectiveHeading : kTextCorrectConstraintHeading);
  FormatFormulationRow(formulation, target, LineAt(diagnosis, line + 3), objective);
}

// The sentences of the parser's findings, most specific first: a term gets the first row whose
// flags it carries all of.
struct ParserErrorSentence {
  std::uint32_t flags;
  int opening;
  int closing;  // 0: a full stop
};
constexpr ParserErrorSentence kParserErrorSentences[] = {
    {kFlagBadNumber | kFlagNoVariable, kTextBadNumber, kTextAlsoNoVariable},
    {kFlagBadNumber | kFlagCoefficientAfter, kTextBadNumber, kTextAlsoConvention},
    {kFlagBadNumber, kTextBadNumber, 0},
    {kFlagManyVariables | kFlagManyCoefficients, kTextManyVariablesAndCoefficients, 0},
    {kFlagManyVariables, kTextManyVariables, 0},
    {kFlagManyCoefficients, kTextManyCoefficients, 0},
    {kFlagNoVariable, kTextNoVariable, 0},
};

void DescribeParserError(std::span<char> line, const EntryTerm& term, std::uint32_t flags) {
  for (const ParserErrorSentence& sentence : kParserErrorSentences) {
    if ((flags & sentence.flags) != sentence.flags) continue;
    AppendLoaded(line, sentence.opening);
    AppendTermText(line, term);
    AppendLoaded(line, sentence.closing != 0 ? sentence.closing : kTextFullStop);
    return;
  }
}

// The terms of a variable add up to 0 while the correct coefficient is not 0.
void DescribeZeroSum(std::span<char> line, int v, double c, const ParameterTable& parameters) {
  AppendLoaded(line, kTextWrongCoefficient);
  AppendLoaded(line, kTextCorrectCoefficientFor);
  AppendLetter(line, v, true);
  AppendLoaded(line, kTextIs);
  AppendNumber(line, c);
  AppendMeaning(line, kTextCorrectCorresponds, parameters, c);
}

// The value is another quantity of the problem (parameter m).
void DescribeOtherParameter(std::span<char> line, int m, int v, double c, int target,
                            const Formulation& formulation, const ParameterTable& parameters,
                            bool entryRepeatsVariable) {
  bool known = m < parameters.parameterCount && m < kMaxParameters &&
               parameters.parameterDescriptions != nullptr;
  if (entryRepeatsVariable) {
    AppendLoaded(line, kTextCoefficientInTerm);
  } else {
    AppendLoaded(line, kTextOtherValue);
    if (known) AppendNumber(line, parameters.parameterValues[m]);
  }
  AppendLoaded(line, kTextOtherRefersTo);
  if (known) AppendText(line, parameters.parameterDescriptions[m]);
  AppendLoaded(line, kTextOtherThe);
  AppendTargetText(line, formulation, target);
  AppendLoaded(line, kTextOtherRequires);
  AppendNumber(line, c);
  AppendLoaded(line, kTextOtherOnVariable);
  AppendLetter(line, v, false);
  AppendMeaning(line, kTextOtherWhichRefers, parameters, c);
}

// The value is the correct coefficient of variable k (in size, for the sign variant).
void DescribeWrongVariable(std::span<char> line, const EntryTerm& term, int k, int v, double c,
                           const Formulation& formulation, const ParameterTable& parameters) {
  AppendLoaded(line, kTextWrongVariable);
  AppendNumber(line, term.coef);
  AppendLoaded(line, kTextCoefficientForVariable);
  AppendLetter(line, k, true);
  AppendLoaded(line, kTextWrongCorresponds);
  if (IsLetterSlot(k)) AppendText(line, TextIn(formulation.variableDescriptions[k]));
  AppendLoaded(line, kTextCorrectCoefficientFor);
  AppendLetter(line, v, true);
  AppendLoaded(line, kTextIs);
  AppendNumber(line, c);
  AppendMeaning(line, kTextCorrectCorresponds, parameters, c);
}

void DescribeWrongSign(std::span<char> line, const EntryTerm& term, double e) {
  AppendLoaded(line, kTextSignValue);
  AppendNumber(line, e);
  AppendLoaded(line, kTextSignIn);
  AppendTermText(line, term);
  AppendLoaded(line, e < 0 ? kTextShouldBePositive : kTextShouldBeNegative);
}

void DescribeNotAParameter(std::span<char> line, const EntryTerm& term, int v, double c,
                           const ParameterTable& parameters) {
  AppendLoaded(line, kTextNotParameterValue);
  AppendNumber(line, term.coef);
  AppendLoaded(line, kTextNotParameterIn);
  AppendTermText(line, term);
  AppendLoaded(line, kTextNotParameterCorrect);
  AppendLetter(line, v, true);
  AppendLoaded(line, kTextNotParameterIs);
  AppendNumber(line, c);
  AppendMeaning(line, kTextNotParameterCorresponds, parameters, c);
}

bool InVerdictRange(std::uint32_t verdict, std::uint32_t base, int count) {
  return verdict >= base && verdict < base + static_cast<std::uint32_t>(count);
}

// Where the entered right-hand side came from, after "The value " and the number: another
// constraint's right-hand side, a quantity of the problem, or nothing of this problem.
void AppendRhsOrigin(std::span<char> line, double x, const Formulation& formulation,
                     const ParameterTable& parameters) {
  for (int j = 0; j < formulation.constraintCount && j < kMaxConstraints; ++j) {
    if (!Near(formulation.constraints[j].rhs, x)) continue;
    AppendLoaded(line, kTextRhsOfConstraint);
    AppendNameAndKind(line, formulation, j);
    AppendLoaded(line, kTextConstraintWord);
    AppendLoaded(line, kTextFullStop);
    return;
  }
  if (parameters.parameterDescriptions != nullptr) {
    for (int m = 0; m < parameters.parameterCount && m < kMaxParameters; ++m) {
      if (!NearInSize(parameters.parameterValues[m], x)) continue;
      AppendLoaded(line, kTextRhsCorresponds);
      AppendText(line, parameters.parameterDescriptions[m]);
      AppendLoaded(line, kTextRhsNotRhsValue);
      return;
    }
  }
  AppendLoaded(line, kTextRhsNotParameter);
}

// The right-hand side's sentence; false (and the verdict Correct) when it needs none.
bool WriteRhsSentence(std::span<char> line, ParsedEntry& entry, const FormulationRow& row,
                      const Formulation& formulation, const ParameterTable& parameters,
                      int entryStep) {
  EntryTerm& slot = entry.terms[kRhsSlot];
  double x = entry.enteredRow.rhs;
  if (slot.status == kRhsRejected) {
    AppendLoaded(line, kTextRhsNotNumber);
    return true;
  }
  // While the objective function is still to be entered, a missing right side is not held
  // against the entry.
  if (Near(x, row.rhs) || (x == kEmptyRhs && entryStep == 1)) {
    SetVerdict(slot, kVerdictCorrect);
    return false;
  }
  if (x == kEmptyRhs) {
    AppendLoaded(line, kTextNoRhs);
    return true;
  }
  if (x == 0.0 || x > kLargestRhs) {
    AppendLoaded(line, kTextRhsIncorrect);
    entry.rhsValid = 0;  // the error list then shows the right side as typed
    return true;
  }
  AppendLoaded(line, kTextRhsValue);
  AppendNumber(line, x);
  AppendRhsOrigin(line, x, formulation, parameters);
  return true;
}

// The clause after every relation or right-hand-side sentence: what the target row requires.
void AppendRequirementClause(std::span<char> line, int slot, int target,
                             const Formulation& formulation) {
  if (!IsConstraintIndex(target)) {
    AppendLoaded(line, kTextObjectiveHasNoRhs);
    AppendLoaded(line, slot == kRelationSlot ? kTextClosingRelation : kTextClosingRhs);
    return;
  }
  const FormulationRow& row = formulation.constraints[target];
  AppendLoaded(line, kTextConstraintClosingThe);
  AppendNameAndKind(line, formulation, target);
  AppendLoaded(line, kTextRequiresThat);
  if (KindOf(formulation, target) == kKindResource) AppendLoaded(line, kTextResourceThe);
  AppendNameAndKind(line, formulation, target);
  AppendLoaded(line, kTextBe);
  char symbol = RelationSymbol(static_cast<int>(row.relation));
  if (symbol != '\0') AppendText(line, std::string_view(&symbol, 1));
  AppendNumber(line, row.rhs);
  AppendLoaded(line, kTextFullStop);
}

}  // namespace

std::uint32_t ClassifyTerm(const EntryTerm& term, const ParsedEntry& entry,
                           const FormulationRow& row, const ParameterTable& parameters) {
  int v = term.var;
  double c = CoefAt(row, v);
  double e = CoefAt(entry.enteredRow, v);
  // 1-2: the term alone, or all terms of its variable together, give the correct coefficient.
  if (Near(term.coef, c) || Near(e, c)) return kVerdictCorrect;
  // 3-4: right size with the wrong sign; terms that cancel out.
  if (NearInSize(e, c)) return kVerdictWrongSign;
  if (e == 0.0 && c != 0.0) return kVerdictZeroSum;
  // 5-6: the correct coefficient of another variable that the entry does not have right already.
  for (int k = 0; k < kVariableSlots; ++k) {
    if (Near(row.coef[k], e) && !NearInSize(row.coef[k], entry.enteredRow.coef[k])) {
      return kVerdictWrongVariable + static_cast<std::uint32_t>(k);
    }
  }
  for (int k = 0; k < kVariableSlots; ++k) {
    if (NearInSize(row.coef[k], e) && !NearInSize(row.coef[k], entry.enteredRow.coef[k])) {
      return kVerdictWrongVariableAndSign + static_cast<std::uint32_t>(k);
    }
  }
  // 7-8: another quantity of the problem, or none.
  for (int m = 0; m < parameters.parameterCount && m < kMaxParameters; ++m) {
    if (NearInSize(parameters.parameterValues[m], e)) {
      return kVerdictOtherParameter + static_cast<std::uint32_t>(m);
    }
  }
  return kVerdictNotAParameter;
}

int DescribeTerm(const EntryTerm& term, int line, int target, const ParsedEntry& entry,
                 const Formulation& formulation, const ParameterTable& parameters,
                 Diagnosis& diagnosis) {
  std::uint32_t flags = TermFlags(term.status);
  std::uint32_t verdict = TermVerdict(term.status);
  if (flags == 0 && verdict == kVerdictCorrect) return line;
  std::span<char> text = LineAt(diagnosis, line);
  if (IsTermError(flags)) {
    DescribeParserError(text, term, flags);
    return line + 1;
  }
  if (verdict == kVerdictCorrect) {
    AppendTermText(text, term);
    AppendLoaded(text, kTextIsCorrect);
    AppendLoaded(text, kTextHoweverConvention);
    return line + 1;
  }
  const FormulationRow& row = TargetRow(formulation, target);
  int v = term.var;
  double c = CoefAt(row, v);
  if (verdict == kVerdictZeroSum) {
    DescribeZeroSum(text, v, c, parameters);
  } else if (InVerdictRange(verdict, kVerdictOtherParameter, kMaxParameters)) {
    DescribeOtherParameter(text, static_cast<int>(verdict - kVerdictOtherParameter), v, c, target,
                           formulation, parameters, diagnosis.entryRepeatsVariable != 0);
  } else if (InVerdictRange(verdict, kVerdictWrongVariable, kVariableSlots) ||
             InVerdictRange(verdict, kVerdictWrongVariableAndSign, kVariableSlots)) {
    DescribeWrongVariable(text, term, static_cast<int>(verdict & 0x0Fu), v, c, formulation,
                          parameters);
  } else if (verdict == kVerdictWrongSign) {
    DescribeWrongSign(text, term, CoefAt(entry.enteredRow, v));
  } else {
    DescribeNotAParameter(text, term, v, c, parameters);
  }
  if (flags == kFlagCoefficientAfter) AppendLoaded(text, kTextConvention);
  return line + 1;
}

int DiagnoseRelationOrRhs(int slot, int line, int target, ParsedEntry& entry,
                          const Formulation& formulation, const ParameterTable& parameters,
                          int entryStep, Diagnosis& diagnosis) {
  const FormulationRow& row = TargetRow(formulation, target);
  std::span<char> text = LineAt(diagnosis, line);
  if (slot == kRelationSlot) {
    if (entry.enteredRow.relation == row.relation) {
      SetVerdict(entry.terms[kRelationSlot], kVerdictCorrect);
      return line;
    }
    bool none = static_cast<int>(entry.enteredRow.relation) == kRelationNone;
    AppendLoaded(text, none ? kTextNoRelation : kTextRelationIncorrect);
  } else if (!WriteRhsSentence(text, entry, row, formulation, parameters, entryStep)) {
    return line;
  }
  AppendRequirementClause(text, slot, target, formulation);
  return line + 1;
}

void DiagnoseEntry(int target, ParsedEntry& entry, const Formulation& formulation,
                   const ParameterTable& parameters, int entryStep, Diagnosis& diagnosis) {
  const FormulationRow& row = TargetRow(formulation, target);
  ResetDiagnosis(target, entry, diagnosis);
  MarkOmittedVariables(entry, row, diagnosis);
  ClassifyTerms(entry, row, parameters, diagnosis);
  // Step 4: the terms' sentences in typed order.
  int line = 0;
  for (int i = 0; i < TermCount(entry); ++i) {
    line = DescribeTerm(entry.terms[i], line, target, entry, formulation, parameters, diagnosis);
  }
  // Step 5: the omitted variables after every term, in slot order.
  for (int j = 0; j < kLetterSlots; ++j) {
    if (diagnosis.omittedVariable[j] == 0) continue;
    line = DescribeOmittedVariable(j, line, target, formulation, parameters, diagnosis);
  }
  // Step 6: the relation, then the right-hand side.
  line = DiagnoseRelationOrRhs(kRelationSlot, line, target, entry, formulation, parameters,
                               entryStep, diagnosis);
  line = DiagnoseRelationOrRhs(kRhsSlot, line, target, entry, formulation, parameters, entryStep,
                               diagnosis);
  diagnosis.diagnosisCount = line;
  WriteClosingLines(line, target, formulation, diagnosis);
}
