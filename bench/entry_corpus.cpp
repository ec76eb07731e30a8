#include "entry_corpus.h"

#include <array>
#include <charconv>
#include <random>
#include <string_view>

namespace {

std::string Number(double value) {
  std::array<char, 64> buf{};
  auto result =
      std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, 5);
  std::string text(buf.data(), result.ptr);
  while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
    bool point = text.back() == '.';
    text.pop_back();
    if (point) break;
  }
  return text;
}

std::string_view RelationText(int code) {
  switch (code) {
    case kRelationEqual:
      return "=";
    case kRelationAtLeast:
      return "\xC0";
    case kRelationAtMost:
      return "\xC1";
    default:
      return "";
  }
}

struct Style {
  bool spaced;
  bool upper;
  bool coefficientAfter;
};

// Writes a row as a student would type it, with the given coefficients and relation.
std::string WriteRow(const std::array<double, kVariableSlots>& coef, int variables, int relation,
                     double rhs, const Style& style) {
  std::string line;
  for (int k = 0; k < variables; ++k) {
    double c = coef[static_cast<std::size_t>(k)];
    if (c == 0.0) continue;
    if (!line.empty())
      line += c < 0 ? (style.spaced ? " - " : "-") : (style.spaced ? " + " : "+");
    else if (c < 0)
      line += "-";
    double size = c < 0 ? -c : c;
    char letter = (style.upper ? kUpperLetters : kLowerLetters)[k];
    std::string number = size == 1.0 ? "" : Number(size);
    line += style.coefficientAfter ? std::string(1, letter) + number : number + letter;
  }
  if (relation != 0) {
    line += style.spaced ? " " : "";
    line += RelationText(relation);
    line += style.spaced ? " " : "";
    line += Number(rhs);
  }
  return line;
}

}  // namespace

std::vector<CorpusLine> BuildEntryCorpus(const Formulation& formulation, const double* parameters,
                                         int parameterCount) {
  std::vector<CorpusLine> corpus;
  std::mt19937 mix(12345);
  const int variables = formulation.variableCount;
  const Style styles[] = {
      {true, false, false}, {false, false, false}, {true, true, false}, {true, false, true}};
  auto pick = [&](int n) { return static_cast<int>(mix() % static_cast<unsigned>(n)); };

  for (int row = -1; row < formulation.constraintCount; ++row) {
    const FormulationRow& r =
        row < 0 ? formulation.objective : formulation.constraints[static_cast<std::size_t>(row)];
    const int step = row < 0 ? 1 : 2;
    const int relation = static_cast<int>(r.relation);
    auto add = [&](std::string text) { corpus.push_back({std::move(text), step, row}); };

    for (const Style& style : styles) {
      add(WriteRow(r.coef, variables, relation, r.rhs, style));  // right
      auto wrong = r.coef;
      wrong[0] = wrong[0] * 2 + 1;  // wrong coefficient
      add(WriteRow(wrong, variables, relation, r.rhs, style));
      wrong = r.coef;
      std::swap(wrong[0], wrong[1]);  // coefficients on the wrong variables
      add(WriteRow(wrong, variables, relation, r.rhs, style));
      wrong = r.coef;
      wrong[static_cast<std::size_t>(variables - 1)] = 0;  // a variable left out
      add(WriteRow(wrong, variables, relation, r.rhs, style));
      wrong = r.coef;
      wrong[0] = -wrong[0];  // sign error
      add(WriteRow(wrong, variables, relation, r.rhs, style));
      if (row >= 0) {
        int other = relation == kRelationAtLeast ? kRelationAtMost : kRelationAtLeast;
        add(WriteRow(r.coef, variables, other, r.rhs, style));             // wrong relation
        add(WriteRow(r.coef, variables, kRelationEqual, r.rhs, style));    // equality
        add(WriteRow(r.coef, variables, relation, r.rhs * 10, style));     // wrong right side
        add(WriteRow(r.coef, variables, relation, parameters[0], style));  // another parameter
        add(WriteRow(r.coef, variables, 0, 0, style));                     // no relation at all
        add(Number(r.rhs) + " " + std::string(RelationText(relation)) + " " +
            WriteRow(r.coef, variables, 0, 0, style));                    // mirrored
        add(WriteRow(r.coef, variables, relation, r.rhs, style) + " 0");  // «12 0»
      } else {
        add(WriteRow(r.coef, variables, kRelationAtLeast, 100, style));  // objective with relation
      }
    }
    // Syntax errors the parser flags and lines the format check refuses.
    for (std::string_view bad :
         {"3 4p + 2q", "1.2.3p + q", "5 + p", "3pq + r", "p3q + 4r", "pq + 3r", "3p <= 5",
          "3p + 4q \xC0", "    ", "--5p + q", "3p + + + q", "3p \xC0 -120", "120 \xC1 3p + 4q"}) {
      add(std::string(bad));
    }
    // Random wrong answers: coefficients replaced by other numbers of the problem.
    for (int n = 0; n < 100; ++n) {
      auto wrong = r.coef;
      int slot = pick(variables);
      wrong[static_cast<std::size_t>(slot)] = parameters[pick(parameterCount)];
      double rhs = pick(3) == 0 ? parameters[pick(parameterCount)] : r.rhs;
      add(WriteRow(wrong, variables, relation, rhs, styles[pick(4)]));
    }
  }
  return corpus;
}
