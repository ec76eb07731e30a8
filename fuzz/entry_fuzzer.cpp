// libFuzzer target for the entry line: every input is typed as a line of the entry panel, checked,
// parsed and matched against the printing problem, then explained against the objective and every
// constraint of all five problems, and every bound the records promise is checked afterwards. A
// broken bound stops the run with a trap, so the fuzzer keeps the input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include <array>
#include <span>

#include "courselib.h"
#include "error_list.h"
#include "formulation_model.h"
#include "matcher.h"
#include "parameter_table.h"
#include "parser.h"
#include "printing_problem.h"
#include "problem_statement.h"
#include "term_diagnosis.h"

namespace {

constexpr NoticeOwner kEntryPanel = 1603;
constexpr int kMaxRowMismatches = kVariableSlots + 2;

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

// ---- The notices ----

struct NoticeLog {
  int sections;
  int answers;
  unsigned kept;
};
NoticeLog noticeLog{};

bool IsLetterOrNone(char letter) {
  return letter == '\0' ||
         std::string_view(kVariableLetters).find(letter) != std::string_view::npos;
}

void OnSectionTooLong(NoticeOwner owner, char letter) {
  Require(owner == kEntryPanel);
  Require(IsLetterOrNone(letter));
  Require(noticeLog.answers == 0);  // the over-long terms come first
  ++noticeLog.sections;
}

void OnAnswerTooLong(NoticeOwner owner, unsigned kept) {
  Require(owner == kEntryPanel);
  ++noticeLog.answers;
  noticeLog.kept = kept;
}

// ---- The bounds of a parsed entry ----

std::size_t TextLength(const EntryTerm& term) {
  const void* end = std::memchr(term.text.data(), '\0', term.text.size());
  Require(end != nullptr);  // terminated inside its 21 bytes
  return static_cast<std::size_t>(static_cast<const char*>(end) - term.text.data());
}

bool IsKnownFlagByte(std::uint32_t flags) {
  constexpr std::uint32_t kOccurring[] = {0, 1, 2, 4, 6, 8, 16, 17, 24};
  for (const std::uint32_t known : kOccurring) {
    if (flags == known) return true;
  }
  return false;
}

bool IsZeroOrOne(std::int32_t value) {
  return value == 0 || value == 1;
}

void RequireReadTerm(const EntryTerm& term) {
  const std::uint32_t flags = TermFlags(term.status);
  Require((term.status & ~0xFF00u) == 0);
  Require(IsKnownFlagByte(flags));
  Require(TextLength(term) <= kMaxTermChars);
  Require(term.var >= -1 && term.var < kLetterSlots);
  Require(std::isfinite(term.coef));
  if (flags == 0 || flags == kFlagCoefficientAfter) Require(term.var >= 0);
  if (flags & (kFlagNoVariable | kFlagManyVariables)) Require(term.var == -1);
  if (IsTermError(flags)) Require(term.coef == 0);
}

void RequireUnusedTerm(const EntryTerm& term) {
  Require(TextLength(term) == 0 && term.status == 0 && term.coef == 0 && term.var == 0);
}

void RequireRightSideSlot(const ParsedEntry& entry) {
  const EntryTerm& slot = entry.terms[kRhsSlot];
  Require(slot.status == 0 || slot.status == kRhsRejected);
  Require((slot.status == kRhsRejected) == (TextLength(slot) > 0));
  Require(TextLength(slot) <= kMaxTermChars);
  Require(slot.coef == 0 && slot.var == 0);
  if (entry.rhsValid == 1) Require(slot.status == 0);
  Require(std::strlen(rightSideAsTyped.data()) <= kMaxLineChars);
}

void RequireRow(const ParsedEntry& entry) {
  const FormulationRow& row = entry.enteredRow;
  for (const double coef : row.coef) Require(std::isfinite(coef));
  Require(row.coef[kVariableSlots - 1] == 0);
  Require(row.relation >= 0 && row.relation <= static_cast<double>(kRelationThird) &&
          row.relation == std::floor(row.relation));
  Require(std::isfinite(row.rhs));
  Require(IsZeroOrOne(entry.rhsValid));
  if (row.relation == 0) Require(row.rhs == kEmptyRhs && entry.rhsValid == 0);
}

void RequireSums(const ParsedEntry& entry) {
  // The sums are the clean terms' coefficients added in typed order.
  std::array<double, kVariableSlots> sums{};
  std::array<std::int32_t, kVariableSlots> seen{};
  for (int i = 0; i < entry.termCount; ++i) {
    const EntryTerm& term = entry.terms[i];
    const std::uint32_t flags = TermFlags(term.status);
    if (flags != 0 && flags != kFlagCoefficientAfter) continue;
    sums[term.var] += term.coef;
    seen[term.var] = 1;
  }
  for (int k = 0; k < kVariableSlots; ++k) {
    Require(sums[k] == entry.enteredRow.coef[k]);
    Require(IsZeroOrOne(entry.variableSeen[k]));
    if (seen[k] == 1) Require(entry.variableSeen[k] == 1);
  }
  for (int k = 0; k < kRepeatedSlots; ++k) {
    Require(IsZeroOrOne(entry.variableRepeated[k]));
    if (k >= kLetterSlots) Require(entry.variableRepeated[k] == 0);
  }
}

void RequireEntryBounds(const ParsedEntry& entry, int result) {
  Require(entry.termCount >= 0 && entry.termCount <= kMaxTerms);
  Require(result >= -1 && result <= entry.termCount);
  int errors = 0;
  for (int i = 0; i < kMaxTerms; ++i) {
    if (i < entry.termCount) {
      RequireReadTerm(entry.terms[i]);
      if (IsTermError(TermFlags(entry.terms[i].status))) ++errors;
    } else {
      RequireUnusedTerm(entry.terms[i]);
    }
  }
  if (result >= 0) Require(result == errors);
  if (result == -1) Require(entry.termCount == 0 && entry.enteredRow.relation == 0);
  RequireUnusedTerm(entry.terms[kRelationSlot]);
  RequireRightSideSlot(entry);
  RequireRow(entry);
  RequireSums(entry);
  Require(IsZeroOrOne(entry.termNegative));
  Require(IsLetterOrNone(entry.overlongVariable));
}

void RequireNotices(const ParsedEntry& entry, std::size_t fieldLength) {
  Require(noticeLog.sections <= entry.termCount);
  Require(noticeLog.answers == (entry.termCount == kMaxTerms ? 1 : 0));
  if (noticeLog.answers == 1) Require(noticeLog.kept >= 1 && noticeLog.kept <= fieldLength);
}

bool SameTerm(const EntryTerm& a, const EntryTerm& b) {
  return a.text == b.text && a.status == b.status && a.coef == b.coef && a.var == b.var;
}

bool SameEntry(const ParsedEntry& a, const ParsedEntry& b) {
  for (int i = 0; i < kTermSlots; ++i) {
    if (!SameTerm(a.terms[i], b.terms[i])) return false;
  }
  return a.enteredRow.coef == b.enteredRow.coef && a.enteredRow.relation == b.enteredRow.relation &&
         a.enteredRow.rhs == b.enteredRow.rhs && a.termCount == b.termCount &&
         a.rhsValid == b.rhsValid && a.variableSeen == b.variableSeen &&
         a.variableRepeated == b.variableRepeated && a.termNegative == b.termNegative &&
         a.overlongVariable == b.overlongVariable;
}

// ---- Matching ----

const Formulation& PrintingFormulation() {
  static const Formulation printing = [] {
    SeedRandom(1);
    GeneratePrintingProblem();
    return formulation;
  }();
  return printing;
}

ProblemProgress ProgressAt(int entryStep, int constraintsEntered) {
  ProblemProgress progress{};
  progress.entryStep = entryStep;
  progress.chosenConstraint = entryStep == 1 ? -1 : 0;
  progress.matchedConstraint = kNothingToChoose;
  progress.lastMatchedConstraint = -1;
  for (int i = 0; i < constraintsEntered && i < kMaxConstraints; ++i) {
    progress.constraintEntered[i] = 1;
  }
  return progress;
}

void MatchEveryWay(const ParsedEntry& entry) {
  // The objective step, a first constraint step and a later one, in both modes.
  const Formulation& printing = PrintingFormulation();
  struct Step {
    int entryStep;
    int constraintsEntered;
  };
  constexpr Step kSteps[] = {{1, 0}, {2, 0}, {5, 3}};
  for (const Step& step : kSteps) {
    for (const int mode : {kModePractice, kModeCertification}) {
      ProblemProgress progress = ProgressAt(step.entryStep, step.constraintsEntered);
      const int result = MatchEntry(entry, printing, progress, mode);
      Require(result >= -1 && result <= kMaxRowMismatches);
      Require(progress.matchedConstraint >= -printing.constraintCount &&
              progress.matchedConstraint < printing.constraintCount);
      Require(progress.entryStep == step.entryStep || progress.entryStep == step.entryStep - 1);
      for (const std::int32_t entered : progress.constraintEntered) Require(IsZeroOrOne(entered));
    }
  }
}

// ---- Explaining ----

struct GeneratedProblem {
  Formulation formulation;
  ParameterTable parameters;
};
constexpr int kProblemCodes[] = {kProblemPrinting, kProblemFurniture, kProblemPorcelain,
                                 kProblemFeedMix, kProblemFarm};
using ProblemSet = std::array<GeneratedProblem, std::size(kProblemCodes)>;

const ProblemSet& AllProblems() {
  static const ProblemSet problems = [] {
    ProblemSet generated{};
    SeedRandom(2);
    for (std::size_t p = 0; p < generated.size(); ++p) {
      BuildStatement(kProblemCodes[p]);
      generated[p] = {formulation, parameterTable};
    }
    return generated;
  }();
  return problems;
}

bool IsTerminated(std::span<const char> text) {
  return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

void RequireExplanationBounds(const Diagnosis& diagnosis, const ErrorList& list) {
  Require(diagnosis.diagnosisCount >= 0 && diagnosis.diagnosisCount <= kMaxSentences);
  for (const auto& line : diagnosis.diagnosisLines) Require(IsTerminated(line));
  Require(list.itemCount >= 0 && list.itemCount <= kMaxListItems);
  for (int i = 0; i < list.itemCount; ++i) Require(IsTerminated(list.items[i].text));
}

// The explanation of the line against the objective and every constraint of every problem, while
// the objective is still to be entered and afterwards.
void ExplainEveryWay(const ParsedEntry& parsed) {
  static ParsedEntry entry;
  static Diagnosis explained;
  static ErrorList list;
  for (const GeneratedProblem& problem : AllProblems()) {
    for (int target = -1; target < problem.formulation.constraintCount; ++target) {
      for (const int entryStep : {1, 2}) {
        entry = parsed;  // the diagnosis writes its verdicts into the terms
        DiagnoseEntry(target, entry, problem.formulation, problem.parameters, entryStep, explained);
        list.itemCount = 0;
        BuildErrorList(entry, rightSideAsTyped.data(), explained, list);
        RequireExplanationBounds(explained, list);
      }
    }
  }
}

// ---- One line ----

int ParseChecked(std::string_view line, ParsedEntry& entry) {
  // Start from garbage: whatever the record held, the parse must rebuild all of it.
  std::memset(&entry, 0xA5, sizeof entry);
  noticeLog = {};
  const int result = ParseEntry(line, entry, kEntryPanel);
  RequireEntryBounds(entry, result);
  RequireNotices(entry, line.size() < kMaxLineChars ? line.size() : kMaxLineChars);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  parserNotices = {OnSectionTooLong, OnAnswerTooLong};
  PrintingFormulation();
  AllProblems();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The entry field holds 77 characters; the whole input must read the same, and be just as safe.
  const std::string_view whole(reinterpret_cast<const char*>(data), size);
  const std::string_view field = whole.substr(0, kMaxLineChars);

  const bool passes = CheckEntryFormat(field);
  Require(CheckEntryFormat(whole) == passes);

  static ParsedEntry fieldEntry;
  static ParsedEntry wholeEntry;
  const int fieldResult = ParseChecked(field, fieldEntry);
  const int wholeResult = ParseChecked(whole, wholeEntry);
  Require(fieldResult == wholeResult);
  Require(SameEntry(fieldEntry, wholeEntry));
  if (passes) Require(fieldResult != -1);

  MatchEveryWay(fieldEntry);
  ExplainEveryWay(fieldEntry);
  return 0;
}
