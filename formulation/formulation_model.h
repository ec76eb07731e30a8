// The three records every part of the lesson works from while one problem is worked: the correct
// Formulation, the student's ProblemProgress and the last ParsedEntry. Plain data with fixed
// bounds; the generators fill the first, the entry panel, matcher and explanations advance the
// second, the parser rebuilds the third for every line.
#pragma once

#include <array>
#include <cstdint>

// Variable slots: slot k is the k-th letter of "PQRSTUV", either case. Slot 7 has no letter.
inline constexpr int kVariableSlots = 8;
inline constexpr int kLetterSlots = 7;
inline constexpr char kVariableLetters[] = "PQRSTUVpqrstuv";
inline constexpr char kUpperLetters[] = "PQRSTUV";
inline constexpr char kLowerLetters[] = "pqrstuv";

// Relation codes, stored as doubles in a row.
enum RelationCode : int {
  kRelationNone = 0,
  kRelationEqual = 1,
  kRelationGreater = 2,
  kRelationLess = 3,
  kRelationAtLeast = 4,
  kRelationAtMost = 5,
  kRelationThird = 6,
};

// The single bytes that the lesson font draws as relation signs.
inline constexpr char kAtLeastByte = static_cast<char>(0xC0);
inline constexpr char kAtMostByte = static_cast<char>(0xC1);
inline constexpr char kThirdRelationByte = static_cast<char>(0x82);

// The relation seen from the other side of the sign (variables typed on the right).
int MirrorRelation(int code);

// The relation code of every byte: the six relation characters have theirs, every other byte 0.
// The parser looks at each character of a line, so this is a table indexed by the byte's unsigned
// value (the lesson-font signs 0x82, 0xC0 and 0xC1 among them), not a call.
inline constexpr std::array<std::int8_t, 256> kRelationCodeOfByte = [] {
  std::array<std::int8_t, 256> codes{};
  codes['='] = kRelationEqual;
  codes['>'] = kRelationGreater;
  codes['<'] = kRelationLess;
  codes[static_cast<unsigned char>(kAtLeastByte)] = kRelationAtLeast;
  codes[static_cast<unsigned char>(kAtMostByte)] = kRelationAtMost;
  codes[static_cast<unsigned char>(kThirdRelationByte)] = kRelationThird;
  return codes;
}();

// The code of a relation character, 0 for any other character.
inline int RelationCodeOf(char c) {
  return kRelationCodeOfByte[static_cast<unsigned char>(c)];
}

struct FormulationRow {
  std::array<double, kVariableSlots> coef;
  double relation;
  double rhs;
};
static_assert(sizeof(FormulationRow) == 10 * sizeof(double), "a row is ten doubles");

inline constexpr int kMaxConstraints = 15;
inline constexpr int kConstraintNameSlots = 20;
inline constexpr int kConstraintNameSize = 50;  // 49 characters and the terminator
inline constexpr int kMaxVariables = 7;
inline constexpr int kVariableDescriptionSize = 200;  // 199 characters and the terminator

// Objective-sense answers, named by the buttons of the objective-sense panel.
inline constexpr int kSenseMinimize = 2210;
inline constexpr int kSenseMaximize = 2220;

// The empty right-hand side.
inline constexpr double kEmptyRhs = -999.999;

// Constraint kinds; the kind word shown after a constraint's name depends on it.
enum ConstraintKind : int {
  kKindResource = 1,
  kKindSales = 2,
  kKindProduction = 3,
  kKindNutrition = 4,
  kKindCultivation = 5,
};

struct Formulation {
  // Everything from objective through objectiveHasSolution is cleared before a generator fills it.
  FormulationRow objective;
  std::array<FormulationRow, kMaxConstraints> constraints;
  std::array<std::array<char, kConstraintNameSize>, kConstraintNameSlots> constraintNames;
  std::array<std::int32_t, kMaxConstraints> constraintKinds;
  std::array<std::array<char, kVariableDescriptionSize>, kMaxVariables> variableDescriptions;
  std::int32_t constraintCount;
  std::int32_t objectiveSense;
  std::int32_t objectiveHasSolution;
  // Outside the cleared block: the generator simply overwrites it.
  std::int32_t variableCount;
};

// Sets the cleared block of the formulation to zero bytes; variableCount keeps its value.
void ClearFormulation(Formulation& formulation);

inline constexpr int kTopicListSize = 11;
inline constexpr int kNothingToChoose = -20;  // chosenConstraint / matchedConstraint before a check

struct ProblemProgress {
  std::int32_t entryStep;
  std::array<std::int32_t, kMaxConstraints> constraintEntered;
  std::int32_t chosenConstraint;
  std::int32_t matchedConstraint;
  std::int32_t lastMatchedConstraint;
  std::array<std::int32_t, kTopicListSize> topicList;
  std::int32_t problemFinished;
  std::int32_t quitRequested;
  std::int32_t hintLevel;
  std::int32_t explanationMode;
  std::int32_t certificationEntry;
};

// Lesson modes, named by their menu commands.
inline constexpr int kModePractice = 110;
inline constexpr int kModeCertification = 115;

inline constexpr int kMaxTerms = 15;   // left-side terms read from one line
inline constexpr int kTermSlots = 17;  // the terms, then the relation and right-hand-side slots
inline constexpr int kRelationSlot = 15;
inline constexpr int kRhsSlot = 16;
inline constexpr int kMaxTermChars = 20;  // characters of one term, its "-" included
inline constexpr int kTermTextSize = kMaxTermChars + 1;
static_assert(kRelationSlot == kMaxTerms && kRhsSlot == kMaxTerms + 1 &&
              kTermSlots == kMaxTerms + 2);

// Syntax flags, byte 1 of a term's status.
enum TermFlag : std::uint32_t {
  kFlagNoVariable = 1,
  kFlagManyVariables = 2,
  kFlagManyCoefficients = 4,
  kFlagCoefficientAfter = 8,  // a convention warning, not an error
  kFlagBadNumber = 16,
};

// The right-hand-side slot's whole status when the right side is not a valid number.
inline constexpr std::uint32_t kRhsRejected = 32;

struct EntryTerm {
  std::array<char, kTermTextSize> text;
  std::uint32_t status;  // byte 0: the diagnosis's verdict; byte 1: the parser's syntax flags
  double coef;
  std::int32_t var;  // slot 0..6, or -1
};

// The parser's flag byte and the diagnosis's verdict byte of a status word.
inline std::uint32_t TermFlags(std::uint32_t status) {
  return (status >> 8) & 0xFFu;
}
inline std::uint32_t TermVerdict(std::uint32_t status) {
  return status & 0xFFu;
}
// A term is erroneous when its flag byte is neither 0 nor the convention warning alone.
inline bool IsTermError(std::uint32_t flags) {
  return flags != 0 && flags != kFlagCoefficientAfter;
}

inline constexpr int kRepeatedSlots = 10;

struct ParsedEntry {
  FormulationRow enteredRow;
  std::array<EntryTerm, kTermSlots> terms;
  std::int32_t termCount;
  std::int32_t rhsValid;
  std::array<std::int32_t, kVariableSlots> variableSeen;
  std::array<std::int32_t, kRepeatedSlots> variableRepeated;
  std::int32_t termNegative;
  char overlongVariable;
};

// The process-wide records of the running lesson. Engine functions take the records they work on
// as arguments; the lesson passes these.
extern Formulation formulation;
extern ProblemProgress problemProgress;
extern ParsedEntry parsedEntry;
