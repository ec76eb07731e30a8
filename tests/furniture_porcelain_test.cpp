// The furniture and porcelain problems: what a generator draws for a seed, the parameter table and
// the correct formulation it writes, and the statement built around the same numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "courselib.h"
#include "formulation_model.h"
#include "furniture_problem.h"
#include "parameter_table.h"
#include "porcelain_problem.h"
#include "problem_statement.h"
#include "textservices.h"

namespace {

constexpr int kSeeds = 400;

// How one parameter is drawn, transcribed from the problem's table. The draws vector of a problem
// lists them in draw order.
struct Draw {
  int number;
  bool whole;
  int low;
  int high;
  double scale;
  std::vector<double> constants;  // constant values the parameter must differ from
  std::vector<int> apartFrom;     // earlier parameters it must differ from
};

// Coefficient codes of a constraint row: a parameter number, or one of these.
constexpr int kAbsent = -1;  // 0.0
constexpr int kUnit = -2;    // 1.0

struct Row {
  std::string name;
  int kind;
  std::vector<int> coef;
  int relation;
  int rhs;
};

// A number set into the statement after a fragment: parameter and form (places -1: whole).
struct Step {
  int fragment;
  int parameter;  // -1: nothing follows
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

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int k = first; k <= last; ++k) v.push_back(k);
  return v;
}

const ProblemCase& Furniture() {
  static const ProblemCase c{
      "furniture",
      BuildFurnitureStatement,
      {
          {25, false, 90, 120, 5.0, {}, {}},
          {26, false, 35, 60, 5.0, {}, {}},
          {27, false, 12, 25, 5.0, {}, {}},
          {28, false, 30, 55, 5.0, {}, {26}},
          {20, true, 575, 650, 5, {}, {}},
          {21, true, 575, 650, 5, {}, {20}},
          {22, true, 575, 650, 5, {}, {20, 21}},
          {23, true, 575, 650, 5, {}, {20, 21, 22}},
          {24, true, 575, 650, 5, {}, {20, 21, 22, 23}},
          {0, false, 21, 26, 0.25, {}, {}},
          {1, false, 16, 20, 0.25, {}, {}},
          {2, false, 16, 20, 0.25, {}, {1}},
          {3, false, 25, 30, 0.25, {}, {0}},
          {4, false, 5, 8, 0.25, {}, {}},
          {5, false, 1, 3, 0.25, {}, {}},
          {6, false, 2, 5, 0.25, {1.0}, {5}},
          {7, false, 5, 8, 0.25, {}, {4, 6}},
          {8, false, 13, 17, 0.25, {}, {}},
          {9, false, 9, 12, 0.25, {}, {}},
          {10, false, 9, 12, 0.25, {}, {9}},
          {11, false, 13, 17, 0.25, {}, {8}},
          {12, false, 26, 32, 0.25, {}, {0, 3}},
          {13, false, 28, 36, 0.25, {}, {12, 3}},
          {14, false, 28, 36, 0.25, {}, {12, 13, 3}},
          {15, false, 37, 44, 0.25, {}, {}},
          {16, true, 10, 15, 1, {}, {15}},
          {17, true, 10, 15, 1, {}, {16, 15}},
          {18, true, 16, 20, 1, {}, {}},
          {19, true, 16, 20, 1, {}, {18}},
      },
      {
          "number of hours of cutting time required for an upholstered sofa",
          "number of hours of cutting time required for an upholstered chair",
          "number of hours of cutting time required for a kitchen chair",
          "number of hours of cutting time required for a kitchen table",
          "number of hours of drilling time required for an upholstered sofa",
          "number of hours of drilling time required for an upholstered chair",
          "number of hours of drilling time required for a kitchen chair",
          "number of hours of drilling time required for a kitchen table",
          "number of hours of assembling time required for an upholstered sofa",
          "number of hours of assembling time required for an upholstered chair",
          "number of hours of assembling time required for a kitchen chair",
          "number of hours of assembling time required for a kitchen table",
          "number of hours of upholstering time required for an upholstered sofa",
          "number of hours of upholstering time required for an upholstered chair",
          "number of hours of finishing time required for a kitchen chair",
          "number of hours of finishing time required for a kitchen table",
          "minimum number of upholstered sofas the company must produce",
          "minimum number of upholstered chairs the company must produce",
          "minimum number of kitchen chairs the company must produce",
          "minimum number of kitchen tables the company must produce",
          "maximum number of hours of cutting time available",
          "maximum number of hours of drilling time available",
          "maximum number of hours of assembling time available",
          "maximum number of hours of upholstering time available",
          "maximum number of hours of finishing time available",
          "amount of revenue from an upholstered sofa",
          "amount of revenue from an upholstered chair",
          "amount of revenue from a kitchen chair",
          "amount of revenue from a kitchen table",
      },
      {25, 26, 27, 28},
      {
          {"cutting", 1, {0, 1, 2, 3}, 5, 20},
          {"drilling", 1, {4, 5, 6, 7}, 5, 21},
          {"assembling", 1, {8, 9, 10, 11}, 5, 22},
          {"upholstering", 1, {12, 13, kAbsent, kAbsent}, 5, 23},
          {"finishing", 1, {kAbsent, kAbsent, 14, 15}, 5, 24},
          {"upholstered sofa", 2, {kUnit, kAbsent, kAbsent, kAbsent}, 4, 16},
          {"upholstered chair", 2, {kAbsent, kUnit, kAbsent, kAbsent}, 4, 17},
          {"kitchen chair", 2, {kAbsent, kAbsent, kUnit, kAbsent}, 4, 18},
          {"kitchen table", 2, {kAbsent, kAbsent, kAbsent, kUnit}, 4, 19},
      },
      {
          "the number of upholstered sofas to build",
          "the number of upholstered chairs to build",
          "the number of kitchen chairs to build",
          "the number of kitchen tables to build",
      },
      {
          {3620, -1, 0, 0},  {3621, 0, 2, 1},   {3622, 4, 2, 1},   {3623, 8, 2, 1},
          {3624, 12, 2, 1},  {3625, 1, 2, 1},   {3622, 5, 2, 1},   {3623, 9, 2, 1},
          {3624, 13, 2, 1},  {3626, 2, 2, 1},   {3622, 6, 2, 1},   {3623, 10, 2, 1},
          {3624, 14, 2, 1},  {3627, 3, 2, 1},   {3622, 7, 2, 1},   {3623, 11, 2, 1},
          {3624, 15, 2, 1},  {3628, 20, -1, 0}, {3629, 21, -1, 0}, {3630, 22, -1, 0},
          {3631, 23, -1, 0}, {3632, 24, -1, 0}, {3633, 16, -1, 0}, {3634, 17, -1, 0},
          {3635, 18, -1, 0}, {3636, 19, -1, 0}, {3637, 25, 2, 1},  {3638, 26, 2, 1},
          {3639, 27, 2, 1},  {3640, 28, 2, 1},  {3641, -1, 0, 0},
      },
  };
  return c;
}

const ProblemCase& Porcelain() {
  static const ProblemCase c{
      "porcelain",
      BuildPorcelainStatement,
      {
          {0, true, 13, 18, 1, {}, {}},
          {1, true, 13, 18, 1, {}, {0}},
          {2, true, 7, 12, 1, {}, {}},
          {3, false, 10, 14, 25.0, {}, {}},
          {4, false, 10, 14, 25.0, {}, {3}},
          {5, false, 18, 23, 25.0, {}, {}},
          {6, false, 2, 5, 1.0, {}, {}},
          {7, false, 2, 5, 1.0, {}, {6}},
          {8, false, 6, 8, 1.0, {}, {2}},
          {9, false, 6, 9, 1.0, {}, {2, 8}},
          {10, false, 6, 9, 1.0, {}, {9, 2, 8}},
          {11, false, 10, 14, 1.0, {}, {0, 1, 2}},
          {12, true, 25, 49, 5, {}, {}},
          {13, true, 55, 80, 5, {}, {3, 4}},
      },
      {
          "minimum number of porcelain dogs the factory must produce",
          "minimum number of porcelain pigs the factory must produce",
          "minimum number of porcelain elephants the factory must produce",
          "amount of revenue from a porcelain dog",
          "amount of revenue from a porcelain pig",
          "amount of revenue from a porcelain elephant",
          "number of mixing hours required to make a porcelain dog",
          "number of mixing hours required to make a porcelain pig",
          "number of mixing hours required to make a porcelain elephant",
          "number of molding hours required to make a porcelain dog",
          "number of molding hours required to make a porcelain pig",
          "number of molding hours required to make a porcelain elephant",
          "total number of mixing hours available",
          "total number of molding hours available",
      },
      {3, 4, 5},
      {
          {"porcelain dog", 3, {kUnit, kAbsent, kAbsent}, 4, 0},
          {"porcelain pig", 3, {kAbsent, kUnit, kAbsent}, 4, 1},
          {"porcelain elephant", 3, {kAbsent, kAbsent, kUnit}, 4, 2},
          {"mixing", 1, {6, 7, 8}, 5, 12},
          {"molding", 1, {9, 10, 11}, 5, 13},
      },
      {
          "the number of porcelain dogs the factory should make",
          "the number of porcelain pigs the factory should make",
          "the number of porcelain elephants the factory should make",
      },
      {
          {3690, -1, 0, 0},
          {3691, 12, -1, 0},
          {3692, 13, -1, 0},
          {3693, 6, 2, 1},
          {3694, 9, 2, 1},
          {3695, 7, 2, 1},
          {3694, 10, 2, 1},
          {3696, 8, 2, 1},
          {3694, 11, 2, 1},
          {3697, 3, 2, 1},
          {3698, 4, 2, 1},
          {3699, 5, 2, 1},
          {3700, 0, -1, 0},
          {3701, 1, -1, 0},
          {3702, 2, -1, 0},
          {3703, -1, 0, 0},
      },
  };
  return c;
}

std::vector<const ProblemCase*> AllProblems() {
  return {&Furniture(), &Porcelain()};
}

double Value(int k) {
  return parameterTable.parameterValues[static_cast<std::size_t>(k)];
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// One value of a draw: the drawn whole number times the scale, multiplied as an integer for a
// whole parameter, as doubles for a decimal.
double Scaled(const Draw& d, int drawn) {
  if (d.whole) return static_cast<double>(drawn * static_cast<int>(d.scale));
  return static_cast<double>(drawn) * d.scale;
}

bool EqualsListed(double value, const Draw& d, const std::vector<double>& values) {
  for (double c : d.constants) {
    if (value == c) return true;
  }
  for (int k : d.apartFrom) {
    if (value == values[static_cast<std::size_t>(k)]) return true;
  }
  return false;
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

std::string Statement() {
  return std::string(TextIn(problemText));
}

TEST(FurniturePorcelainGeneration, DrawsFollowDrawOrderRangesScalesAndKeepApartRules) {
  for (const ProblemCase* c : AllProblems()) {
    SCOPED_TRACE(c->name);
    for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
      SCOPED_TRACE(seed);
      std::vector<double> expected = ExpectedValues(*c, seed);
      SeedRandom(seed);
      c->build();
      ASSERT_EQ(parameterTable.parameterCount, static_cast<int>(c->draws.size()));
      for (std::size_t k = 0; k < expected.size(); ++k) {
        ASSERT_TRUE(SameBits(parameterTable.parameterValues[k], expected[k]))
            << "parameter " << k << ": " << parameterTable.parameterValues[k] << " instead of "
            << expected[k];
      }
    }
  }
}

TEST(FurniturePorcelainGeneration, KeptApartValuesNeverMeetOverManyProblems) {
  for (const ProblemCase* c : AllProblems()) {
    SCOPED_TRACE(c->name);
    SeedRandom(77);
    for (int run = 0; run < kSeeds; ++run) {
      c->build();
      for (const Draw& d : c->draws) {
        for (int k : d.apartFrom) EXPECT_NE(Value(d.number), Value(k)) << d.number << " vs " << k;
        for (double constant : d.constants) EXPECT_NE(Value(d.number), constant) << d.number;
      }
    }
  }
}

TEST(FurniturePorcelainGeneration, ParameterDescriptionsAreTheExactTexts) {
  for (const ProblemCase* c : AllProblems()) {
    SCOPED_TRACE(c->name);
    c->build();
    ASSERT_NE(parameterTable.parameterDescriptions, nullptr);
    ASSERT_EQ(parameterTable.parameterCount, static_cast<int>(c->descriptions.size()));
    for (std::size_t k = 0; k < c->descriptions.size(); ++k) {
      EXPECT_EQ(parameterTable.parameterDescriptions[k], c->descriptions[k]) << k;
    }
  }
}

double Coefficient(int code) {
  if (code == kAbsent) return 0.0;
  if (code == kUnit) return 1.0;
  return Value(code);
}

// Every coefficient and right-hand side other than 0 and 1 is some parameter, bit for bit.
void ExpectIsParameterBitForBit(double value) {
  if (value == 0.0 || value == 1.0) return;
  bool found = false;
  for (int k = 0; k < parameterTable.parameterCount; ++k)
    found = found || SameBits(value, Value(k));
  EXPECT_TRUE(found) << value << " is no parameter";
}

void ExpectRowIsZero(const FormulationRow& row) {
  for (double c : row.coef) EXPECT_TRUE(SameBits(c, 0.0));
  EXPECT_TRUE(SameBits(row.relation, 0.0));
  EXPECT_TRUE(SameBits(row.rhs, 0.0));
}

void ExpectTextIsEmpty(std::span<const char> text) {
  EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char ch) { return ch == 0; }));
}

TEST(FurniturePorcelainGeneration, FormulationIsWrittenFromTheStoredParameters) {
  for (const ProblemCase* c : AllProblems()) {
    SCOPED_TRACE(c->name);
    SeedRandom(5);
    for (int run = 0; run < 50; ++run) {
      // Whatever an earlier problem left must be gone.
      std::memset(&formulation, 0x5A, sizeof formulation);
      c->build();
      const int variables = static_cast<int>(c->objective.size());
      ASSERT_EQ(formulation.variableCount, variables);
      ASSERT_EQ(formulation.constraintCount, static_cast<int>(c->constraints.size()));
      EXPECT_EQ(formulation.objectiveSense, kSenseMaximize);
      EXPECT_EQ(formulation.objectiveHasSolution, 0);

      for (int j = 0; j < kVariableSlots; ++j) {
        double expected = j < variables ? Value(c->objective[static_cast<std::size_t>(j)]) : 0.0;
        EXPECT_TRUE(SameBits(formulation.objective.coef[static_cast<std::size_t>(j)], expected));
      }
      EXPECT_TRUE(SameBits(formulation.objective.relation, 0.0));
      EXPECT_TRUE(SameBits(formulation.objective.rhs, 0.0));

      for (std::size_t i = 0; i < c->constraints.size(); ++i) {
        SCOPED_TRACE(c->constraints[i].name);
        const Row& want = c->constraints[i];
        const FormulationRow& row = formulation.constraints[i];
        for (std::size_t j = 0; j < kVariableSlots; ++j) {
          double expected = j < want.coef.size() ? Coefficient(want.coef[j]) : 0.0;
          EXPECT_TRUE(SameBits(row.coef[j], expected)) << "slot " << j << ": " << row.coef[j];
          ExpectIsParameterBitForBit(row.coef[j]);
        }
        EXPECT_EQ(row.relation, static_cast<double>(want.relation));
        EXPECT_TRUE(SameBits(row.rhs, Value(want.rhs)));
        ExpectIsParameterBitForBit(row.rhs);
        EXPECT_EQ(std::string(TextIn(formulation.constraintNames[i])), want.name);
        EXPECT_EQ(formulation.constraintKinds[i], want.kind);
      }
      for (std::size_t i = c->constraints.size(); i < kMaxConstraints; ++i) {
        ExpectRowIsZero(formulation.constraints[i]);
        EXPECT_EQ(formulation.constraintKinds[i], 0);
      }
      for (std::size_t i = c->constraints.size(); i < kConstraintNameSlots; ++i) {
        ExpectTextIsEmpty(formulation.constraintNames[i]);
      }
      for (std::size_t j = 0; j < kMaxVariables; ++j) {
        if (j < c->variables.size()) {
          EXPECT_EQ(std::string(TextIn(formulation.variableDescriptions[j])), c->variables[j]);
        } else {
          ExpectTextIsEmpty(formulation.variableDescriptions[j]);
        }
      }
    }
  }
}

TEST(FurniturePorcelainGeneration, RecordHoldsTheTableValuesInTheirNaturalTypes) {
  SeedRandom(11);
  for (int run = 0; run < 50; ++run) {
    BuildFurnitureStatement();
    const FurnitureProblem& f = furnitureProblem;
    struct Cell {
      int parameter;  // -1: the product does not pass through the department
      int department;
      int product;
    };
    const Cell cells[] = {
        {0, kFurnitureCutting, kUpholsteredSofa},
        {1, kFurnitureCutting, kUpholsteredChair},
        {2, kFurnitureCutting, kKitchenChair},
        {3, kFurnitureCutting, kKitchenTable},
        {4, kFurnitureDrilling, kUpholsteredSofa},
        {5, kFurnitureDrilling, kUpholsteredChair},
        {6, kFurnitureDrilling, kKitchenChair},
        {7, kFurnitureDrilling, kKitchenTable},
        {8, kFurnitureAssembling, kUpholsteredSofa},
        {9, kFurnitureAssembling, kUpholsteredChair},
        {10, kFurnitureAssembling, kKitchenChair},
        {11, kFurnitureAssembling, kKitchenTable},
        {12, kFurnitureUpholstering, kUpholsteredSofa},
        {13, kFurnitureUpholstering, kUpholsteredChair},
        {-1, kFurnitureUpholstering, kKitchenChair},
        {-1, kFurnitureUpholstering, kKitchenTable},
        {-1, kFurnitureFinishing, kUpholsteredSofa},
        {-1, kFurnitureFinishing, kUpholsteredChair},
        {14, kFurnitureFinishing, kKitchenChair},
        {15, kFurnitureFinishing, kKitchenTable},
    };
    for (const Cell& cell : cells) {
      SCOPED_TRACE(cell.parameter);
      double held = f.hours[static_cast<std::size_t>(cell.department)]
                           [static_cast<std::size_t>(cell.product)];
      EXPECT_TRUE(SameBits(held, cell.parameter < 0 ? 0.0 : Value(cell.parameter)));
    }
    for (std::size_t j = 0; j < kFurnitureProducts; ++j) {
      EXPECT_EQ(f.minimumSales[j], static_cast<int>(Value(16 + static_cast<int>(j))));
      EXPECT_TRUE(SameBits(f.revenue[j], Value(25 + static_cast<int>(j))));
    }
    for (std::size_t d = 0; d < kFurnitureDepartments; ++d) {
      EXPECT_EQ(f.hoursAvailable[d], static_cast<int>(Value(20 + static_cast<int>(d))));
    }

    BuildPorcelainStatement();
    const PorcelainProblem& p = porcelainProblem;
    for (std::size_t j = 0; j < kPorcelainFigurines; ++j) {
      const int k = static_cast<int>(j);
      EXPECT_EQ(p.minimumMade[j], static_cast<int>(Value(k)));
      EXPECT_TRUE(SameBits(p.revenue[j], Value(3 + k)));
      EXPECT_TRUE(SameBits(p.mixingHours[j], Value(6 + k)));
      EXPECT_TRUE(SameBits(p.moldingHours[j], Value(9 + k)));
    }
    EXPECT_EQ(p.mixingHoursAvailable, static_cast<int>(Value(12)));
    EXPECT_EQ(p.moldingHoursAvailable, static_cast<int>(Value(13)));
  }
}

TEST(FurniturePorcelainStatement, FragmentsCarryEachDrawnNumberOnceInItsForm) {
  for (const ProblemCase* c : AllProblems()) {
    SCOPED_TRACE(c->name);
    // Every parameter is set into the statement exactly once.
    std::vector<int> set;
    for (const Step& step : c->statement) {
      if (step.parameter >= 0) set.push_back(step.parameter);
    }
    std::sort(set.begin(), set.end());
    ASSERT_EQ(set, Range(0, static_cast<int>(c->draws.size()) - 1));

    SeedRandom(23);
    std::string previous;
    for (int run = 0; run < 100; ++run) {
      c->build();
      std::string expected;
      for (const Step& step : c->statement) {
        expected += LoadText(step.fragment);
        if (step.parameter >= 0) expected += Written(step);
      }
      ASSERT_EQ(Statement(), expected);
      // Building again draws new numbers.
      EXPECT_NE(Statement(), previous);
      previous = Statement();
    }
  }
}

TEST(FurniturePorcelainStatement, FitsAndBreaksLinesOnlyBeforeIndentedParagraphs) {
  for (const ProblemCase* c : AllProblems()) {
    SCOPED_TRACE(c->name);
    for (const Step& step : c->statement) {
      std::size_t length = std::strlen(LoadText(step.fragment));
      EXPECT_GT(length, 0u) << step.fragment;
      EXPECT_LE(length, static_cast<std::size_t>(kMaxLoadedChars)) << step.fragment;
      // The only numbers of a statement are its parameters.
      EXPECT_EQ(std::strpbrk(LoadText(step.fragment), "0123456789"), nullptr) << step.fragment;
    }
    const std::string last = LoadText(c->statement.back().fragment);
    SeedRandom(41);
    for (int run = 0; run < 200; ++run) {
      c->build();
      const std::string text = Statement();
      ASSERT_LT(text.size(), static_cast<std::size_t>(kProblemTextSize - 1));
      EXPECT_TRUE(text.ends_with(last));
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
