// The generation scheme's helpers and the printing problem's generator: ranges, scales, draw order,
// re-draw rules, derived values, and the correct formulation that the checker and diagnosis read.
// The draw table below and the hand-written problem of printing_fixture.h are the oracle.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "courselib.h"
#include "formulation_model.h"
#include "generation.h"
#include "parameter_table.h"
#include "printing_fixture.h"
#include "printing_problem.h"

namespace {

constexpr int kSeeds = 3000;

double Value(int number) {
  return parameterTable.parameterValues[static_cast<std::size_t>(number)];
}

template <typename T>
bool SameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

DrawnValue Whole(std::int32_t v) {
  return {ParameterType::kWhole, v, v, 0.0};
}
DrawnValue Decimal(double v) {
  return {ParameterType::kDecimal, 0, 0, v};
}

// ---- The shared draw helper ----

TEST(SameValue, ComparesWholeNumbersAsIntegersAndAnythingWithADecimalAsDoubles) {
  struct Case {
    const char* what;
    DrawnValue a;
    DrawnValue b;
    bool same;
  };
  const Case cases[] = {
      {"two equal whole numbers", Whole(55), Whole(55), true},
      {"two different whole numbers", Whole(55), Whole(50), false},
      {"a whole number and its double", Whole(10), Decimal(10.0), true},
      {"a double and the whole number", Decimal(11.0), Whole(11), true},
      {"a whole number and a near double", Whole(10), Decimal(10.25), false},
      {"the same double from two scales", Decimal(3 * 0.01), Decimal(30 * 0.001), true},
      {"doubles that differ in the last bit", Decimal(0.1 * 3), Decimal(0.3), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SameValue(c.a, c.b), c.same);
  }
}

// Ranges of two values where one of them is forbidden: every draw must end on the other one.
TEST(DrawParameter, DrawsAgainUntilTheValueDiffersFromEveryListedValue) {
  struct Case {
    const char* what;
    DrawRule rule;
    double expected;
  };
  const Case cases[] = {
      {"a decimal apart from the constant 1.0",
       {5, ParameterType::kDecimal, 1, 2, 1.0, {Constant(1.0)}},
       2.0},
      {"a whole number apart from a decimal parameter",
       {5, ParameterType::kWhole, 10, 11, 1, {Param(1)}},
       11.0},
      {"a scaled decimal apart from a whole parameter",
       {5, ParameterType::kDecimal, 2, 3, 5.0, {Param(0)}},
       15.0},
      {"apart from two parameters, the second matching",
       {5, ParameterType::kWhole, 2, 3, 5, {Param(2), Param(0)}},
       15.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
      SeedRandom(seed);
      DrawnValues values{};
      values[0] = Whole(10);
      values[1] = Decimal(10.0);
      values[2] = Whole(7);
      DrawParameter(c.rule, values);
      ASSERT_EQ(AsDouble(values[5]), c.expected) << "seed " << seed;
    }
  }
}

TEST(DrawParameter, MultipliesWholeNumbersAsIntegersAndKeepsTheRawDraw) {
  SeedRandom(7);
  DrawnValues values{};
  DrawParameter({3, ParameterType::kWhole, 750, 800, 1000, {}}, values);
  const DrawnValue& v = values[3];
  EXPECT_EQ(v.type, ParameterType::kWhole);
  EXPECT_GE(v.draw, 750);
  EXPECT_LE(v.draw, 800);
  EXPECT_EQ(v.whole, v.draw * 1000);
}

// ---- The printing problem ----

// How one parameter is drawn, in draw order.
struct Draw {
  int number;
  bool whole;
  int low;
  int high;
  double scale;
  std::vector<int> apartFrom;  // earlier parameters it must differ from
};

// clang-format off
const Draw kDraws[] = {
    {7, false, 11, 15, 5.0, {}},     {8, false, 7, 11, 5.0, {7}},   {9, false, 4, 8, 5.0, {7, 8}},
    {10, true, 240, 320, 5, {}},     {11, true, 130, 170, 5, {}},   {12, true, 40, 80, 5, {}},
    {3, false, 2, 4, 0.01, {}},      {4, false, 5, 8, 0.01, {}},    {5, false, 16, 22, 0.01, {}},
    {6, false, 40, 50, 100.0, {}},   {0, true, 750, 800, 1000, {}}, {1, true, 500, 600, 1000, {}},
    {2, true, 100, 200, 1000, {}},
};
// clang-format on

// The values a seed must give: the draws made here in order, each scaled as its type scales it
// and drawn again while it equals a listed one; then the derived hours per page and minimums.
std::vector<double> ExpectedValues(std::uint64_t seed) {
  SeedRandom(seed);
  std::vector<double> v(19);
  for (const Draw& d : kDraws) {
    auto scaled = [&](int k) {
      return d.whole ? static_cast<double>(k * static_cast<int>(d.scale)) : k * d.scale;
    };
    double value = scaled(RandomInRange(d.high, d.low));
    auto listed = [&](double x) {
      for (int k : d.apartFrom) {
        if (x == v[static_cast<std::size_t>(k)]) return true;
      }
      return false;
    };
    while (listed(value)) value = scaled(RandomInRange(d.high, d.low));
    v[static_cast<std::size_t>(d.number)] = value;
  }
  for (std::size_t k = 0; k < 3; ++k) {
    v[13 + k] = 1.0 / v[10 + k];
    v[16 + k] = (0.01 * v[7 + k]) * v[k];
  }
  return v;
}

// The record's fields by parameter number, as doubles.
std::vector<double> RecordValues() {
  const PrintingProblem& p = printingProblem;
  return {static_cast<double>(p.onesidedOrdered),
          static_cast<double>(p.doublesidedOrdered),
          static_cast<double>(p.fourcolorOrdered),
          p.onesidedCost,
          p.doublesidedCost,
          p.fourcolorCost,
          p.wageHours,
          p.onesidedPercent,
          p.doublesidedPercent,
          p.fourcolorPercent,
          static_cast<double>(p.onesidedPerHour),
          static_cast<double>(p.doublesidedPerHour),
          static_cast<double>(p.fourcolorPerHour)};
}

// Replaying the draws proves each range, scale, the draw order and the re-draws of the
// percentages: a wrong one changes some seed's problem.
TEST(GeneratePrintingProblem, DrawsInOrderAndDerivesExactlyAsWritten) {
  for (int seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::vector<double> expected = ExpectedValues(static_cast<std::uint64_t>(seed));
    SeedRandom(static_cast<std::uint64_t>(seed));
    GeneratePrintingProblem();
    ASSERT_EQ(parameterTable.parameterCount, 19);
    for (int k = 0; k < 19; ++k) {
      ASSERT_TRUE(SameBytes(Value(k), expected[static_cast<std::size_t>(k)]))
          << "parameter " << k << ": " << Value(k) << " instead of " << expected[k];
    }
    std::vector<double> record = RecordValues();
    for (int k = 0; k < 13; ++k) ASSERT_TRUE(SameBytes(record[k], Value(k))) << "record " << k;
  }
}

// Compared with the hand-written problem filled with the drawn numbers: every value bit for bit,
// every text byte for byte, and nothing left beyond the counts of an earlier formulation.
TEST(GeneratePrintingProblem, WritesTheCorrectFormulationAndTexts) {
  for (int seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::memset(&formulation, 0x5A, sizeof formulation);
    SeedRandom(static_cast<std::uint64_t>(seed));
    GeneratePrintingProblem();
    const Formulation expected = printing_fixture::PrintingFormulation(parameterTable);
    EXPECT_TRUE(SameBytes(formulation.objective, expected.objective));
    for (std::size_t i = 0; i < kMaxConstraints; ++i) {
      EXPECT_TRUE(SameBytes(formulation.constraints[i], expected.constraints[i])) << "row " << i;
    }
    EXPECT_EQ(formulation.constraintNames, expected.constraintNames);
    EXPECT_EQ(formulation.constraintKinds, expected.constraintKinds);
    EXPECT_EQ(formulation.variableDescriptions, expected.variableDescriptions);
    EXPECT_EQ(formulation.constraintCount, 7);
    EXPECT_EQ(formulation.variableCount, 3);
    EXPECT_EQ(formulation.objectiveSense, kSenseMinimize);
    EXPECT_EQ(formulation.objectiveHasSolution, 0);
    ASSERT_NE(parameterTable.parameterDescriptions, nullptr);
    for (int k = 0; k < 19; ++k) {
      EXPECT_STREQ(parameterTable.parameterDescriptions[k],
                   printing_fixture::kPrintingDescriptions[k])
          << "parameter " << k;
    }
  }
}

}  // namespace
