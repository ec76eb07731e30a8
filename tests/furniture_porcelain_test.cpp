// The furniture and porcelain problems: what a generator draws for a seed, the parameter table and
// the correct formulation it writes, the problem record, and the statement built around the same
// numbers. One table per problem, transcribed independently of the generators, drives every check.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "courselib.h"
#include "formulation_model.h"
#include "furniture_problem.h"
#include "parameter_table.h"
#include "porcelain_problem.h"
#include "problem_statement.h"
#include "text_patterns.h"
#include "textservices.h"

namespace {

using text_patterns::Each;
using text_patterns::Join;

constexpr int kSeeds = 400;

// How one parameter is drawn; a problem lists them in draw order.
struct Draw {
  int number;
  bool whole;
  int low;
  int high;
  double scale;
  std::vector<double> constants;  // constant values the parameter must differ from
  std::vector<int> apartFrom;     // earlier parameters it must differ from
};

// Coefficient codes of a row: a parameter number, or one of these.
constexpr int kAbsent = -1;  // 0.0
constexpr int kUnit = -2;    // 1.0

struct Row {
  std::string name;
  int kind;
  std::vector<int> coef;
  int relation;
  int rhs;
};

// A fragment of the statement and the parameter set after it (places -1: whole; parameter -1:
// nothing follows).
struct Step {
  int fragment;
  int parameter;
  int places;
  int flag;
};

struct ProblemCase {
  std::string name;
  void (*build)();
  std::vector<Draw> draws;
  std::vector<std::string> descriptions;
  std::vector<int> objective;
  std::vector<Row> constraints;
  std::vector<std::string> variables;
  std::vector<Step> statement;
};

// clang-format off
const ProblemCase& Furniture() {
  const std::vector<std::string> a = {"an upholstered sofa", "an upholstered chair",
                                      "a kitchen chair", "a kitchen table"};
  auto hours = [](const std::string& department, const std::vector<std::string>& products) {
    return Each("number of hours of " + department + " time required for %", products);
  };
  static const ProblemCase c{
      "furniture", BuildFurnitureStatement,
      {{25, false, 90, 120, 5.0, {}, {}},   {26, false, 35, 60, 5.0, {}, {}},
       {27, false, 12, 25, 5.0, {}, {}},    {28, false, 30, 55, 5.0, {}, {26}},
       {20, true, 575, 650, 5, {}, {}},     {21, true, 575, 650, 5, {}, {20}},
       {22, true, 575, 650, 5, {}, {20, 21}}, {23, true, 575, 650, 5, {}, {20, 21, 22}},
       {24, true, 575, 650, 5, {}, {20, 21, 22, 23}},
       {0, false, 21, 26, 0.25, {}, {}},    {1, false, 16, 20, 0.25, {}, {}},
       {2, false, 16, 20, 0.25, {}, {1}},   {3, false, 25, 30, 0.25, {}, {0}},
       {4, false, 5, 8, 0.25, {}, {}},      {5, false, 1, 3, 0.25, {}, {}},
       {6, false, 2, 5, 0.25, {1.0}, {5}},  {7, false, 5, 8, 0.25, {}, {4, 6}},
       {8, false, 13, 17, 0.25, {}, {}},    {9, false, 9, 12, 0.25, {}, {}},
       {10, false, 9, 12, 0.25, {}, {9}},   {11, false, 13, 17, 0.25, {}, {8}},
       {12, false, 26, 32, 0.25, {}, {0, 3}}, {13, false, 28, 36, 0.25, {}, {12, 3}},
       {14, false, 28, 36, 0.25, {}, {12, 13, 3}}, {15, false, 37, 44, 0.25, {}, {}},
       {16, true, 10, 15, 1, {}, {15}},     {17, true, 10, 15, 1, {}, {16, 15}},
       {18, true, 16, 20, 1, {}, {}},       {19, true, 16, 20, 1, {}, {18}}},
      Join({hours("cutting", a), hours("drilling", a), hours("assembling", a),
            hours("upholstering", {a[0], a[1]}), hours("finishing", {a[2], a[3]}),
            Each("minimum number of %s the company must produce",
                 {"upholstered sofa", "upholstered chair", "kitchen chair", "kitchen table"}),
            Each("maximum number of hours of % time available",
                 {"cutting", "drilling", "assembling", "upholstering", "finishing"}),
            Each("amount of revenue from %", a)}),
      {25, 26, 27, 28},
      {{"cutting", 1, {0, 1, 2, 3}, 5, 20},
       {"drilling", 1, {4, 5, 6, 7}, 5, 21},
       {"assembling", 1, {8, 9, 10, 11}, 5, 22},
       {"upholstering", 1, {12, 13, kAbsent, kAbsent}, 5, 23},
       {"finishing", 1, {kAbsent, kAbsent, 14, 15}, 5, 24},
       {"upholstered sofa", 2, {kUnit, kAbsent, kAbsent, kAbsent}, 4, 16},
       {"upholstered chair", 2, {kAbsent, kUnit, kAbsent, kAbsent}, 4, 17},
       {"kitchen chair", 2, {kAbsent, kAbsent, kUnit, kAbsent}, 4, 18},
       {"kitchen table", 2, {kAbsent, kAbsent, kAbsent, kUnit}, 4, 19}},
      Each("the number of %s to build",
           {"upholstered sofa", "upholstered chair", "kitchen chair", "kitchen table"}),
      {{3620, -1, 0, 0},  {3621, 0, 2, 1},   {3622, 4, 2, 1},   {3623, 8, 2, 1},
       {3624, 12, 2, 1},  {3625, 1, 2, 1},   {3622, 5, 2, 1},   {3623, 9, 2, 1},
       {3624, 13, 2, 1},  {3626, 2, 2, 1},   {3622, 6, 2, 1},   {3623, 10, 2, 1},
       {3624, 14, 2, 1},  {3627, 3, 2, 1},   {3622, 7, 2, 1},   {3623, 11, 2, 1},
       {3624, 15, 2, 1},  {3628, 20, -1, 0}, {3629, 21, -1, 0}, {3630, 22, -1, 0},
       {3631, 23, -1, 0}, {3632, 24, -1, 0}, {3633, 16, -1, 0}, {3634, 17, -1, 0},
       {3635, 18, -1, 0}, {3636, 19, -1, 0}, {3637, 25, 2, 1},  {3638, 26, 2, 1},
       {3639, 27, 2, 1},  {3640, 28, 2, 1},  {3641, -1, 0, 0}}};
  return c;
}

const ProblemCase& Porcelain() {
  const std::vector<std::string> animals = {"dog", "pig", "elephant"};
  static const ProblemCase c{
      "porcelain", BuildPorcelainStatement,
      {{0, true, 13, 18, 1, {}, {}},        {1, true, 13, 18, 1, {}, {0}},
       {2, true, 7, 12, 1, {}, {}},         {3, false, 10, 14, 25.0, {}, {}},
       {4, false, 10, 14, 25.0, {}, {3}},   {5, false, 18, 23, 25.0, {}, {}},
       {6, false, 2, 5, 1.0, {}, {}},       {7, false, 2, 5, 1.0, {}, {6}},
       {8, false, 6, 8, 1.0, {}, {2}},      {9, false, 6, 9, 1.0, {}, {2, 8}},
       {10, false, 6, 9, 1.0, {}, {9, 2, 8}}, {11, false, 10, 14, 1.0, {}, {0, 1, 2}},
       {12, true, 25, 49, 5, {}, {}},       {13, true, 55, 80, 5, {}, {3, 4}}},
      Join({Each("minimum number of porcelain %s the factory must produce", animals),
            Each("amount of revenue from a porcelain %", animals),
            Each("number of mixing hours required to make a porcelain %", animals),
            Each("number of molding hours required to make a porcelain %", animals),
            Each("total number of % hours available", {"mixing", "molding"})}),
      {3, 4, 5},
      {{"porcelain dog", 3, {kUnit, kAbsent, kAbsent}, 4, 0},
       {"porcelain pig", 3, {kAbsent, kUnit, kAbsent}, 4, 1},
       {"porcelain elephant", 3, {kAbsent, kAbsent, kUnit}, 4, 2},
       {"mixing", 1, {6, 7, 8}, 5, 12},
       {"molding", 1, {9, 10, 11}, 5, 13}},
      Each("the number of porcelain %s the factory should make", animals),
      {{3690, -1, 0, 0}, {3691, 12, -1, 0}, {3692, 13, -1, 0}, {3693, 6, 2, 1},
       {3694, 9, 2, 1},  {3695, 7, 2, 1},   {3694, 10, 2, 1},  {3696, 8, 2, 1},
       {3694, 11, 2, 1}, {3697, 3, 2, 1},   {3698, 4, 2, 1},   {3699, 5, 2, 1},
       {3700, 0, -1, 0}, {3701, 1, -1, 0},  {3702, 2, -1, 0},  {3703, -1, 0, 0}}};
  return c;
}
// clang-format on

const ProblemCase* const kProblems[] = {&Furniture(), &Porcelain()};

double Value(int k) {
  return parameterTable.parameterValues[static_cast<std::size_t>(k)];
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

double Coefficient(int code) {
  return code == kAbsent ? 0.0 : code == kUnit ? 1.0 : Value(code);
}

// One value of a draw: the drawn whole number times the scale, multiplied as an integer for a
// whole parameter, as doubles for a decimal.
double Scaled(const Draw& d, int drawn) {
  if (d.whole) return static_cast<double>(drawn * static_cast<int>(d.scale));
  return static_cast<double>(drawn) * d.scale;
}

bool EqualsListed(double value, const Draw& d, const std::vector<double>& values) {
  return std::find(d.constants.begin(), d.constants.end(), value) != d.constants.end() ||
         std::any_of(d.apartFrom.begin(), d.apartFrom.end(),
                     [&](int k) { return value == values[static_cast<std::size_t>(k)]; });
}

// The parameter values a seed must give, drawn here from the same random source in draw order.
std::vector<double> ExpectedValues(const ProblemCase& c, std::uint64_t seed) {
  SeedRandom(seed);
  std::vector<double> values(c.draws.size(), std::nan(""));
  for (const Draw& d : c.draws) {
    double value = Scaled(d, RandomInRange(d.high, d.low));
    while (EqualsListed(value, d, values)) value = Scaled(d, RandomInRange(d.high, d.low));
    values[static_cast<std::size_t>(d.number)] = value;
  }
  return values;
}

// Every value of the row bit for bit: a leftover -0.0 or stray byte shows.
void ExpectRow(const FormulationRow& row, const Row& want) {
  for (std::size_t j = 0; j < kVariableSlots; ++j) {
    double expected = j < want.coef.size() ? Coefficient(want.coef[j]) : 0.0;
    EXPECT_TRUE(SameBits(row.coef[j], expected)) << "slot " << j << ": " << row.coef[j];
  }
  EXPECT_TRUE(SameBits(row.relation, want.relation));
  EXPECT_TRUE(SameBits(row.rhs, Coefficient(want.rhs)));
}

bool IsEmpty(std::span<const char> text) {
  return std::all_of(text.begin(), text.end(), [](char ch) { return ch == 0; });
}

// Replaying the draws also proves each range, scale and keep-apart rule: a wrong one changes
// some seed's problem.
TEST(FurniturePorcelainGeneration, DrawsFollowDrawOrderRangesScalesAndKeepApartRules) {
  for (const ProblemCase* c : kProblems) {
    SCOPED_TRACE(c->name);
    for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
      std::vector<double> expected = ExpectedValues(*c, seed);
      SeedRandom(seed);
      c->build();
      ASSERT_EQ(parameterTable.parameterCount, static_cast<int>(c->draws.size()));
      for (std::size_t k = 0; k < expected.size(); ++k) {
        ASSERT_TRUE(SameBits(parameterTable.parameterValues[k], expected[k]))
            << "seed " << seed << " parameter " << k << ": " << parameterTable.parameterValues[k]
            << " instead of " << expected[k];
      }
    }
  }
}

TEST(FurniturePorcelainGeneration, WritesTheFormulationAndTextsFromTheStoredParameters) {
  for (const ProblemCase* c : kProblems) {
    SCOPED_TRACE(c->name);
    SeedRandom(5);
    for (int run = 0; run < 50; ++run) {
      std::memset(&formulation, 0x5A, sizeof formulation);  // an earlier problem's leftovers
      c->build();
      ASSERT_EQ(parameterTable.parameterCount, static_cast<int>(c->descriptions.size()));
      for (std::size_t k = 0; k < c->descriptions.size(); ++k) {
        EXPECT_EQ(parameterTable.parameterDescriptions[k], c->descriptions[k]) << k;
      }
      const std::size_t variables = c->objective.size();
      const std::size_t rows = c->constraints.size();
      ASSERT_EQ(formulation.variableCount, static_cast<int>(variables));
      ASSERT_EQ(formulation.constraintCount, static_cast<int>(rows));
      EXPECT_EQ(formulation.objectiveSense, kSenseMaximize);
      EXPECT_EQ(formulation.objectiveHasSolution, 0);
      ExpectRow(formulation.objective, {"", 0, c->objective, 0, kAbsent});
      for (std::size_t i = 0; i < kConstraintNameSlots; ++i) {
        SCOPED_TRACE(i);
        const Row want = i < rows ? c->constraints[i] : Row{"", 0, {}, 0, kAbsent};
        if (i < kMaxConstraints) {
          ExpectRow(formulation.constraints[i], want);
          EXPECT_EQ(formulation.constraintKinds[i], want.kind);
        }
        EXPECT_TRUE(i < rows ? TextIn(formulation.constraintNames[i]) == want.name
                             : IsEmpty(formulation.constraintNames[i]));
      }
      for (std::size_t j = 0; j < kMaxVariables; ++j) {
        if (j < variables) {
          EXPECT_EQ(TextIn(formulation.variableDescriptions[j]), c->variables[j]);
        } else {
          EXPECT_TRUE(IsEmpty(formulation.variableDescriptions[j])) << j;
        }
      }
    }
  }
}

// The records hold the table's values in their natural types, read here through the constraint
// rows: departments are furniture rows 0 to 4, sales minimums rows 5 to 8; figurine minimums are
// porcelain rows 0 to 2, mixing and molding rows 3 and 4.
TEST(FurniturePorcelainGeneration, RecordHoldsTheTableValuesInTheirNaturalTypes) {
  const std::vector<Row>& furniture = Furniture().constraints;
  const std::vector<Row>& porcelain = Porcelain().constraints;
  SeedRandom(11);
  for (int run = 0; run < 50; ++run) {
    BuildFurnitureStatement();
    const FurnitureProblem& f = furnitureProblem;
    for (std::size_t j = 0; j < kFurnitureProducts; ++j) {
      SCOPED_TRACE(j);
      for (std::size_t d = 0; d < kFurnitureDepartments; ++d) {
        EXPECT_TRUE(SameBits(f.hours[d][j], Coefficient(furniture[d].coef[j]))) << d;
        EXPECT_EQ(f.hoursAvailable[d], static_cast<int>(Value(furniture[d].rhs)));
      }
      EXPECT_EQ(f.minimumSales[j], static_cast<int>(Value(furniture[5 + j].rhs)));
      EXPECT_TRUE(SameBits(f.revenue[j], Value(Furniture().objective[j])));
    }

    BuildPorcelainStatement();
    const PorcelainProblem& p = porcelainProblem;
    for (std::size_t j = 0; j < kPorcelainFigurines; ++j) {
      SCOPED_TRACE(j);
      EXPECT_EQ(p.minimumMade[j], static_cast<int>(Value(porcelain[j].rhs)));
      EXPECT_TRUE(SameBits(p.revenue[j], Value(Porcelain().objective[j])));
      EXPECT_TRUE(SameBits(p.mixingHours[j], Value(porcelain[3].coef[j])));
      EXPECT_TRUE(SameBits(p.moldingHours[j], Value(porcelain[4].coef[j])));
    }
    EXPECT_EQ(p.mixingHoursAvailable, static_cast<int>(Value(porcelain[3].rhs)));
    EXPECT_EQ(p.moldingHoursAvailable, static_cast<int>(Value(porcelain[4].rhs)));
  }
}

// The number written after a fragment, in its form.
std::string Written(const Step& step) {
  std::array<char, 64> text{};
  if (step.places < 0) {
    AppendInt(text, static_cast<int>(Value(step.parameter)));
  } else {
    AppendDecimal(text, Value(step.parameter), step.places, step.flag);
  }
  return std::string(TextIn(text));
}

// Each drawn number is set once after its fragment, in its form; the statement fits, opens with
// five blanks and breaks lines only before paragraphs indented by five blanks.
TEST(FurniturePorcelainStatement, SetsEachDrawnNumberAfterItsFragmentAndLaysOutParagraphs) {
  for (const ProblemCase* c : kProblems) {
    SCOPED_TRACE(c->name);
    std::vector<int> set;
    for (const Step& step : c->statement) {
      if (step.parameter >= 0) set.push_back(step.parameter);
      const char* fragment = LoadText(step.fragment);
      EXPECT_GT(std::strlen(fragment), 0u) << step.fragment;
      // The only numbers of a statement are its parameters.
      EXPECT_EQ(std::strpbrk(fragment, "0123456789"), nullptr) << step.fragment;
    }
    std::sort(set.begin(), set.end());
    ASSERT_EQ(set.size(), c->draws.size());
    for (std::size_t k = 0; k < set.size(); ++k) ASSERT_EQ(set[k], static_cast<int>(k));

    SeedRandom(23);
    std::string previous;
    for (int run = 0; run < 200; ++run) {
      c->build();
      std::string expected;
      for (const Step& step : c->statement) {
        expected += LoadText(step.fragment);
        if (step.parameter >= 0) expected += Written(step);
      }
      const std::string text(TextIn(problemText));
      ASSERT_EQ(text, expected);
      ASSERT_LT(text.size(), static_cast<std::size_t>(kProblemTextSize - 1));
      EXPECT_NE(text, previous);  // building again draws new numbers
      previous = text;
      EXPECT_EQ(text.find_first_not_of(' '), 5u);
      for (std::size_t at = text.find(kLineBreak); at != std::string::npos;
           at = text.find(kLineBreak, at + 1)) {
        EXPECT_EQ(text.substr(at + 1, 5), "     ");
        EXPECT_NE(text[at + 6], ' ');
      }
    }
  }
}

}  // namespace
