// The term-by-term diagnosis of a wrong entry: a verdict for every term, the relation and the
// right-hand side, and the sentences that explain them, followed by the correct row. The
// explanation dialog runs it and lists the sentences; the error list reads the verdicts.
#pragma once

#include <array>
#include <cstdint>

#include "formulation_model.h"
#include "parameter_table.h"

// Verdicts, byte 0 of a term's status.
inline constexpr std::uint32_t kVerdictCorrect = 0xF0;
inline constexpr std::uint32_t kVerdictWrongSign = 0x10;
inline constexpr std::uint32_t kVerdictWrongVariable = 0x80;         // + the slot it belongs to
inline constexpr std::uint32_t kVerdictWrongVariableAndSign = 0x90;  // + the slot
inline constexpr std::uint32_t kVerdictOtherParameter = 0xC0;        // + the parameter's number
inline constexpr std::uint32_t kVerdictNotAParameter = 0x40;
inline constexpr std::uint32_t kVerdictZeroSum = 0xFF;
// Parameter numbers must stay clear of the two verdicts above the OtherParameter range.
static_assert(kVerdictOtherParameter + kMaxParameters <= kVerdictCorrect);

// One sentence for every left-side term, every omitted variable, the relation and the right-hand
// side at most; then the closing lines: empty, heading, empty, the correct row.
inline constexpr int kMaxSentences = kMaxTerms + kLetterSlots + 2;
inline constexpr int kClosingLines = 4;
// The table holds the largest diagnosis whole, so no sentence the student should read is dropped.
inline constexpr int kDiagnosisLineCount = kMaxSentences + kClosingLines;
inline constexpr int kDiagnosisLineSize = 500;  // 499 characters and the terminator
static_assert(kDiagnosisLineCount == 28);

struct Diagnosis {
  std::array<std::array<char, kDiagnosisLineSize>, kDiagnosisLineCount> diagnosisLines;
  std::int32_t diagnosisCount;   // sentences; the closing lines follow them
  std::int32_t diagnosisTarget;  // constraint index, or negative for the objective function
  std::array<std::int32_t, kLetterSlots> omittedVariable;
  std::int32_t entryRepeatsVariable;
};

// The diagnosis of the running lesson.
extern Diagnosis diagnosis;

// Diagnoses the entry against the objective function (target negative) or constraint number
// target: writes the verdicts into the entry's status words, may clear rhsValid (a right-hand side
// shown as typed), and fills the diagnosis's lines.
void DiagnoseEntry(int target, ParsedEntry& entry, const Formulation& formulation,
                   const ParameterTable& parameters, int entryStep, Diagnosis& diagnosis);

// The verdict on a term that the parser read without error, against the target row.
std::uint32_t ClassifyTerm(const EntryTerm& term, const ParsedEntry& entry,
                           const FormulationRow& row, const ParameterTable& parameters);

// Writes the term's sentence into line L and returns the next line (L itself when the term is
// right and needs none).
int DescribeTerm(const EntryTerm& term, int line, int target, const ParsedEntry& entry,
                 const Formulation& formulation, const ParameterTable& parameters,
                 Diagnosis& diagnosis);

// The relation slot (kRelationSlot) or the right-hand-side slot (kRhsSlot): sets its verdict when
// it is right, otherwise writes its sentence into line L. Returns the next line.
int DiagnoseRelationOrRhs(int slot, int line, int target, ParsedEntry& entry,
                          const Formulation& formulation, const ParameterTable& parameters,
                          int entryStep, Diagnosis& diagnosis);
