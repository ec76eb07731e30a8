#include "row_format.h"

#include <array>
#include <climits>
#include <cmath>

#include "courselib.h"
#include "diagnosis_texts.h"
#include "textservices.h"

namespace {

// A kind word is a few letters; a fixed phrase is at most one loaded text.
constexpr int kKindWordSize = 32;
constexpr int kPhraseSize = kTextBufferSize;

// The kind word's text for kinds 0..5 (0: none). Kinds 1 and 5 share a word.
constexpr std::array<int, 6> kKindWordTexts = {0,
                                               kTextKindResource,
                                               kTextKindSales,
                                               kTextKindProduction,
                                               kTextKindNutrition,
                                               kTextKindResource};

std::array<std::array<char, kKindWordSize>, kKindWordTexts.size()> kindWords{};

// The three fixed phrases of DescribeValue, each in a buffer of its own.
std::array<char, kPhraseSize> zeroPhrase{};
std::array<char, kPhraseSize> onePhrase{};
std::array<char, kPhraseSize> unknownPhrase{};

std::string_view LoadInto(std::span<char> buffer, int id) {
  SetText(buffer, LoadText(id));
  return TextIn(buffer);
}

// A coefficient's printed number: nothing for exactly 1, a whole number without a point, any
// other value with five places at most.
void AppendCoefficient(std::span<char> buffer, double c) {
  if (c == 1.0) return;
  bool whole = std::floor(c) == c && c >= INT_MIN && c <= INT_MAX;
  if (whole) {
    AppendLong(buffer, static_cast<int>(c));
  } else {
    AppendDecimal(buffer, c, 5, 1);
  }
}

// The separator in front of a printed term: the row's prefix before the first, " + " after.
void AppendTermPrefix(std::span<char> buffer, const Formulation& formulation, bool first,
                      bool isObjective) {
  if (!first) {
    AppendText(buffer, " + ");
  } else if (!isObjective) {
    AppendText(buffer, "     ");
  } else {
    bool minimize = formulation.objectiveSense == kSenseMinimize;
    AppendText(buffer, LoadText(minimize ? kTextMinimize : kTextMaximize));
  }
}

}  // namespace

void FormatFormulationRow(const Formulation& formulation, int index, std::span<char> buffer,
                          bool isObjective) {
  SetText(buffer, "");
  if (!isObjective && (index < 0 || index >= kMaxConstraints)) return;
  const FormulationRow& row = isObjective ? formulation.objective : formulation.constraints[index];
  // Terms: every variable of the problem with a nonzero coefficient, in slot order.
  bool first = true;
  for (int slot = 0; slot < formulation.variableCount && slot < kLetterSlots; ++slot) {
    double c = row.coef[slot];
    if (c == 0.0) continue;
    AppendTermPrefix(buffer, formulation, first, isObjective);
    AppendCoefficient(buffer, c);
    AppendText(buffer, std::string_view(&kLowerLetters[slot], 1));
    first = false;
  }
  if (isObjective) return;
  // A constraint then gets its relation between blanks and its right-hand side.
  char symbol = RelationSymbol(static_cast<int>(row.relation));
  if (symbol != '\0') {
    const char relation[] = {' ', symbol, ' '};
    AppendText(buffer, std::string_view(relation, sizeof relation));
  }
  AppendDecimal(buffer, row.rhs, 4, 1);
}

std::string_view ConstraintKindWord(int kind) {
  if (kind <= 0 || kind >= static_cast<int>(kKindWordTexts.size())) return {};
  return LoadInto(kindWords[kind], kKindWordTexts[kind]);
}

std::string_view DescribeValue(const ParameterTable& parameters, double x) {
  if (x == 0.0) return LoadInto(zeroPhrase, kTextImpliedUnused);
  if (x == 1.0) return LoadInto(onePhrase, kTextImpliedSingleUnit);
  // The first parameter in table order with exactly this value.
  if (parameters.parameterDescriptions != nullptr) {
    for (int m = 0; m < parameters.parameterCount && m < kMaxParameters; ++m) {
      if (parameters.parameterValues[m] == x) return parameters.parameterDescriptions[m];
    }
  }
  return LoadInto(unknownPhrase, kTextNoParameterValue);
}

char RelationSymbol(int code) {
  switch (code) {
    case kRelationEqual:
      return '=';
    case kRelationGreater:
      return '>';
    case kRelationLess:
      return '<';
    case kRelationAtLeast:
      return kAtLeastByte;
    case kRelationAtMost:
      return kAtMostByte;
    case kRelationThird:
      return kThirdRelationByte;
    default:
      return '\0';
  }
}
