// The feed mix and farm problems: draw order, ranges, scales and keep-apart rules, the fixed corn
// carbohydrate, the rounded costs per pound and the profits per acre, the correct formulations, and
// the statements built around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "courselib.h"
#include "farm_problem.h"
#include "feedmix_problem.h"
#include "formulation_model.h"
#include "parameter_table.h"
#include "problem_statement.h"
#include "string_table.h"
#include "text_patterns.h"
#include "textservices.h"

namespace {

using text_patterns::Each;
using text_patterns::Join;

constexpr int kSeeds = 2000;

double Value(int number) {
  return parameterTable.parameterValues[static_cast<std::size_t>(number)];
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A replay of the documented draws: RandomInRange(high, low) times the scale, converted to double,
// drawn again while equal to any listed value (exact comparison, also across scales).
double Draw(int low, int high, double scale, std::initializer_list<double> apart = {}) {
  for (;;) {
    double value = RandomInRange(high, low) * scale;
    if (std::find(apart.begin(), apart.end(), value) == apart.end()) return value;
  }
}

void ExpectDrawnAsReplayed(std::span<const double> replayed, int seed) {
  for (std::size_t k = 0; k < replayed.size(); ++k) {
    ASSERT_TRUE(SameBits(Value(static_cast<int>(k)), replayed[k]))
        << "seed " << seed << " parameter " << k << ": " << Value(static_cast<int>(k))
        << " instead of " << replayed[k];
  }
}

TEST(FeedMixGeneration, DrawsInOrderOnEachScaleKeepingListedValuesApartAndCornCarbohydrateFixed) {
  // Keeping the potassium requirement apart from the iron contents is a comparison across scales.
  ASSERT_EQ(30 * 0.001, 3 * 0.01);
  for (int seed = 1; seed <= kSeeds; ++seed) {
    SeedRandom(static_cast<std::uint64_t>(seed));
    std::array<double, kFeedMixStatedCount> e{};
    e[0] = Draw(32, 38, 0.01), e[1] = Draw(1, 4, 0.01), e[2] = Draw(1, 8, 0.001);
    e[3] = Draw(27, 33, 0.01, {e[0]}), e[4] = Draw(14, 21, 0.01);
    e[5] = Draw(1, 4, 0.01, {e[1]}), e[6] = Draw(1, 8, 0.001, {e[2]});
    e[7] = 0.22;  // takes no random number
    e[8] = Draw(17, 24, 0.01, {e[4], e[7]}), e[9] = Draw(1, 4, 0.01, {e[1], e[5]});
    e[10] = Draw(1, 8, 0.001, {e[2], e[6]}), e[11] = Draw(17, 24, 0.01, {e[4], e[7], e[8]});
    e[12] = Draw(16, 18, 0.1), e[13] = Draw(9, 16, 0.01, {e[4]});
    e[14] = Draw(27, 37, 0.001, {e[1], e[5], e[9]}), e[15] = Draw(20, 29, 0.1);
    e[16] = Draw(2214, 2231, 0.01), e[17] = Draw(936, 1180, 0.01);
    e[18] = Draw(1281, 1296, 0.01), e[19] = Draw(23, 27, 1.0);
    e[20] = Draw(20, 24, 1.0, {e[19]}), e[21] = Draw(16, 21, 1.0, {e[20]});
    e[22] = Draw(33, 39, 0.1, {e[18]}), e[23] = Draw(950, 1050, 1.0);

    SeedRandom(static_cast<std::uint64_t>(seed));
    GenerateFeedMixProblem();
    ExpectDrawnAsReplayed(e, seed);
  }
}

TEST(FarmGeneration, DrawsSandyLoamHoursFirstAndHourLimitsAndCornProfitFromEarlierDraws) {
  for (int seed = 1; seed <= kSeeds; ++seed) {
    SeedRandom(static_cast<std::uint64_t>(seed));
    std::array<double, kFarmStatedCount> e{};
    e[0] = Draw(27, 38, 1), e[1] = Draw(27, 38, 1, {e[0]});
    e[2] = Draw(7, 13, 1), e[3] = Draw(5, 13, 1, {e[2]});
    e[4] = Draw(27, 35, 1, {e[0], e[1]}), e[5] = Draw(27, 35, 1, {e[4], e[0], e[1]});
    e[6] = Draw(27, 35, 1, {e[4], e[5], e[0], e[1]});
    e[7] = Draw(18, 26, 1), e[8] = Draw(18, 26, 1, {e[7]}), e[9] = Draw(18, 26, 1, {e[8], e[7]});
    e[10] = Draw(18, 26, 1, {e[9], e[8], e[7]});
    e[11] = Draw(18, 26, 1, {e[9], e[10], e[8], e[7]});
    e[14] = Draw(6, 12, 1, {e[3], e[2]}), e[15] = Draw(6, 12, 1, {e[3], e[2], e[14]});
    e[16] = Draw(6, 14, 1, {e[3], e[2], e[14], e[15]});
    e[12] = Draw(10, 17, 1, {e[3], e[2], e[14], e[15], e[16]});
    e[13] = Draw(10, 17, 1, {e[3], e[2], e[14], e[15], e[16], e[12]});
    // Hours available: from L to L + 75, L the truncated mean hours times the acres.
    int redClayLow = static_cast<int>(std::trunc((e[12] + e[13]) / 2.0)) * static_cast<int>(e[0]);
    int sandyLoamLow =
        static_cast<int>(std::trunc((e[14] + e[15] + e[16]) / 3.0)) * static_cast<int>(e[1]);
    e[17] = Draw(redClayLow, redClayLow + 75, 1);
    e[18] = Draw(sandyLoamLow, sandyLoamLow + 75, 1, {e[17]});
    // Corn's profit starts five steps above wheat's draw.
    int wheatDraw = RandomInRange(60, 43);
    e[19] = wheatDraw * 0.05, e[20] = Draw(wheatDraw + 5, 80, 0.05);
    e[21] = Draw(60, 90, 0.05, {e[20], e[19]});

    SeedRandom(static_cast<std::uint64_t>(seed));
    GenerateFarmProblem();
    ExpectDrawnAsReplayed(e, seed);
  }
}

// Feed mix costs per pound (24 to 26) are cost / weight rounded to cents; farm profits per acre
// (22 to 26) are yield times profit per bushel, unrounded.
TEST(FeedMixFarmGeneration, DerivesCostsPerPoundRoundedAndProfitsPerAcreUnrounded) {
  for (int seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE(seed);
    SeedRandom(static_cast<std::uint64_t>(seed));
    GenerateFeedMixProblem();
    for (int k = 0; k < 3; ++k) {
      double quotient = Value(16 + k) / Value(19 + k);
      double stored = Value(24 + k);
      ASSERT_TRUE(SameBits(stored, RoundToPlaces(quotient, 2))) << k;
      ASSERT_LE(std::abs(stored - quotient), 0.005 + 1e-12);
    }
    GenerateFarmProblem();
    const int profit[] = {19, 20, 19, 20, 21};
    for (int j = 0; j < 5; ++j)
      ASSERT_TRUE(SameBits(Value(22 + j), Value(7 + j) * Value(profit[j])));
  }
}

// Expected coefficients: a parameter number, or one of these two constants.
constexpr int kZ = -1;  // 0.0
constexpr int kO = -2;  // 1.0

double Expected(int code) {
  return code == kZ ? 0.0 : code == kO ? 1.0 : Value(code);
}

struct RowCase {
  const char* name;
  int kind;
  std::array<int, 5> coef;
  int relation;
  int rhs;
};

struct ProblemCase {
  const char* what;
  void (*generate)();
  void (*build)();
  int sense;
  int paragraphBreaks;  // in the statement
  std::array<int, 5> objective;
  std::vector<RowCase> constraints;
  std::vector<std::string> variables;
  std::vector<std::string> descriptions;
};

// clang-format off
const ProblemCase& FeedMix() {
  const std::vector<std::string> feeds = {"soybean", "corn", "wheat"};
  const std::vector<std::string> nutrients = {"protein", "iron", "potassium", "carbohydrate"};
  static const ProblemCase c{
      "feed mix", GenerateFeedMixProblem, BuildFeedMixStatement, kSenseMinimize, 3,
      {24, 25, 26, kZ, kZ},
      {{"protein",      4, {0,  4,  8,  kZ, kZ}, 4, 12},
       {"iron",         4, {1,  5,  9,  kZ, kZ}, 4, 13},
       {"potassium",    4, {2,  6,  10, kZ, kZ}, 4, 14},
       {"carbohydrate", 4, {3,  7,  11, kZ, kZ}, 4, 15},
       {"minimum feed", 1, {kO, kO, kO, kZ, kZ}, 4, 22}},
      Each("the number of pounds of % per steer to buy", feeds),
      Join({Each("% content of soybean", nutrients), Each("% content of corn", nutrients),
            Each("% content of wheat", nutrients),
            Each("daily % requirement of a steer", nutrients),
            Each("cost of a bushel of %", feeds), Each("number of lbs. of % per bushel", feeds),
            {"minimum number of lbs. of feed a steer eats daily", "number of steers on the farm"},
            Each("cost of a pound of %", feeds)})};
  return c;
}

const ProblemCase& Farm() {
  const std::vector<std::string> two = {"wheat", "corn"};
  const std::vector<std::string> three = {"wheat", "corn", "cotton"};
  static const ProblemCase c{
      "farm", GenerateFarmProblem, BuildFarmStatement, kSenseMaximize, 4,
      {22, 23, 24, 25, 26},
      {{"red clay",               1, {kO, kO, kZ, kZ, kZ}, 5, 0},
       {"sandy loam",             1, {kZ, kZ, kO, kO, kO}, 5, 1},
       {"wheat maximum",          3, {kO, kZ, kO, kZ, kZ}, 5, 4},
       {"corn maximum",           3, {kZ, kO, kZ, kO, kZ}, 5, 5},
       {"cotton maximum",         3, {kZ, kZ, kZ, kZ, kO}, 5, 6},
       {"wheat minimum",          3, {kO, kZ, kO, kZ, kZ}, 4, 2},
       {"corn minimum",           3, {kZ, kO, kZ, kO, kZ}, 4, 3},
       {"red clay cultivation",   5, {12, 13, kZ, kZ, kZ}, 5, 17},
       {"sandy loam cultivation", 5, {kZ, kZ, 14, 15, 16}, 5, 18}},
      Join({Each("acres of red clay planted with %", two),
            Each("acres of sandy loam planted with %", three)}),
      Join({{"acres of red clay available in Field A", "acres of sandy loam available in Field B"},
            Each("minimum amount of % that must be planted", two),
            Each("maximum amount of % that can be planted", three),
            Each("number of bushels of % produced in an acre of red clay", two),
            Each("number of bushels of % produced in an acre of sandy loam", three),
            Each("number of hours needed to cultivate % in an acre of red clay", two),
            Each("number of hours needed to cultivate % in an acre of sandy loam", three),
            Each("maximum number of cultivation hours available in %", {"red clay", "sandy loam"}),
            Each("amount of profit from selling a bushel of %", three),
            Each("amount of profit from % grown in red clay", two),
            Each("amount of profit from % grown in sandy loam", three)})};
  return c;
}
// clang-format on

const ProblemCase* const kProblems[] = {&FeedMix(), &Farm()};

void ExpectRow(const FormulationRow& row, const std::array<int, 5>& coef, int relation, int rhs) {
  for (std::size_t j = 0; j < kVariableSlots; ++j) {
    EXPECT_TRUE(SameBits(row.coef[j], j < coef.size() ? Expected(coef[j]) : 0.0)) << "slot " << j;
  }
  EXPECT_EQ(row.relation, relation);
  EXPECT_TRUE(SameBits(row.rhs, Expected(rhs)));
}

bool AllZeroBytes(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

// Every coefficient is a stored parameter bit for bit, and leftovers of a larger problem do not
// survive beyond the counts.
TEST(FeedMixFarmFormulation, IsWrittenFromTheStoredParametersWithExactNamesAndTexts) {
  for (const ProblemCase* p : kProblems) {
    SCOPED_TRACE(p->what);
    for (int seed = 1; seed <= 100; ++seed) {
      std::memset(&formulation, 0xA5, sizeof formulation);
      SeedRandom(static_cast<std::uint64_t>(seed));
      p->generate();
      ASSERT_EQ(parameterTable.parameterCount, static_cast<int>(p->descriptions.size()));
      for (std::size_t k = 0; k < p->descriptions.size(); ++k) {
        ASSERT_EQ(parameterTable.parameterDescriptions[k], p->descriptions[k]);
      }
      ExpectRow(formulation.objective, p->objective, 0, kZ);
      const std::size_t rows = p->constraints.size();
      ASSERT_EQ(formulation.constraintCount, static_cast<int>(rows));
      for (std::size_t i = 0; i < rows; ++i) {
        const RowCase& row = p->constraints[i];
        SCOPED_TRACE(row.name);
        ExpectRow(formulation.constraints[i], row.coef, row.relation, row.rhs);
        EXPECT_EQ(TextIn(formulation.constraintNames[i]), row.name);
        EXPECT_EQ(formulation.constraintKinds[i], row.kind);
      }
      const std::size_t vars = p->variables.size();
      ASSERT_EQ(formulation.variableCount, static_cast<int>(vars));
      for (std::size_t j = 0; j < vars; ++j) {
        EXPECT_EQ(TextIn(formulation.variableDescriptions[j]), p->variables[j]);
      }
      EXPECT_EQ(formulation.objectiveSense, p->sense);
      EXPECT_EQ(formulation.objectiveHasSolution, 1);
      for (std::size_t i = rows; i < kMaxConstraints; ++i) {
        ASSERT_TRUE(AllZeroBytes(&formulation.constraints[i], sizeof(FormulationRow)));
        ASSERT_EQ(formulation.constraintKinds[i], 0);
      }
      for (std::size_t i = rows; i < kConstraintNameSlots; ++i) {
        ASSERT_TRUE(AllZeroBytes(formulation.constraintNames[i].data(), kConstraintNameSize));
      }
      for (std::size_t j = vars; j < kMaxVariables; ++j) {
        ASSERT_TRUE(
            AllZeroBytes(formulation.variableDescriptions[j].data(), kVariableDescriptionSize));
      }
    }
  }
}

TEST(FeedMixFarmRecords, HoldTheValuesOfTheParameterTableInTheirOwnTypes) {
  using F = FeedMixProblem;
  using A = FarmProblem;
  // clang-format off
  const std::vector<double F::*> feed = {
      &F::soybeanProtein, &F::soybeanIron, &F::soybeanPotassium, &F::soybeanCarbohydrate,
      &F::cornProtein, &F::cornIron, &F::cornPotassium, &F::cornCarbohydrate,
      &F::wheatProtein, &F::wheatIron, &F::wheatPotassium, &F::wheatCarbohydrate,
      &F::proteinRequirement, &F::ironRequirement, &F::potassiumRequirement,
      &F::carbohydrateRequirement, &F::soybeanBushelCost, &F::cornBushelCost, &F::wheatBushelCost,
      &F::soybeanBushelWeight, &F::cornBushelWeight, &F::wheatBushelWeight, &F::minimumFeed};
  const std::vector<std::int32_t A::*> farmWhole = {
      &A::redClayAcres, &A::sandyLoamAcres, &A::wheatMinimum, &A::cornMinimum, &A::wheatMaximum,
      &A::cornMaximum, &A::cottonMaximum, &A::wheatRedClayYield, &A::cornRedClayYield,
      &A::wheatSandyLoamYield, &A::cornSandyLoamYield, &A::cottonSandyLoamYield,
      &A::wheatRedClayHours, &A::cornRedClayHours, &A::wheatSandyLoamHours,
      &A::cornSandyLoamHours, &A::cottonSandyLoamHours, &A::redClayHoursAvailable,
      &A::sandyLoamHoursAvailable};
  const std::vector<double A::*> farmDecimal = {&A::wheatProfit, &A::cornProfit, &A::cottonProfit};
  // clang-format on
  for (int seed = 1; seed <= 50; ++seed) {
    SeedRandom(static_cast<std::uint64_t>(seed));
    GenerateFeedMixProblem();
    for (std::size_t k = 0; k < feed.size(); ++k) {
      ASSERT_TRUE(SameBits(feedMixProblem.*feed[k], Value(static_cast<int>(k))))
          << "feed mix " << k;
    }
    ASSERT_EQ(feedMixProblem.steerCount, Value(23));
    GenerateFarmProblem();
    for (std::size_t k = 0; k < farmWhole.size(); ++k) {
      ASSERT_EQ(farmProblem.*farmWhole[k], Value(static_cast<int>(k))) << "farm " << k;
    }
    for (std::size_t k = 0; k < farmDecimal.size(); ++k) {
      int number = static_cast<int>(farmWhole.size() + k);
      ASSERT_TRUE(SameBits(farmProblem.*farmDecimal[k], Value(number))) << "farm " << number;
    }
  }
}

// A number set into a statement: its parameter and form (places -1 for a whole number).
struct Stated {
  int parameter;
  int places;
  int flag;
};

std::string Formatted(const Stated& s) {
  std::array<char, 64> text{};
  double value = Value(s.parameter);
  if (s.places < 0) {
    AppendInt(text, static_cast<int>(value));
  } else {
    AppendDecimal(text, value, s.places, s.flag);
  }
  return std::string(TextIn(text));
}

// The numbers of a text in order: runs of digits and points that start with a digit, a sentence's
// full stop after them dropped.
std::vector<std::string> NumbersIn(std::string_view text) {
  std::vector<std::string> numbers;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.')) ++end;
    std::string number(text.substr(i, end - i));
    while (number.back() == '.') number.pop_back();
    numbers.push_back(number);
    i = end;
  }
  return numbers;
}

TEST(FeedMixFarmStatement, SetsEachDrawnParameterOnceInItsFormAndLaysOutParagraphs) {
  struct Case {
    const ProblemCase* problem;
    int statedCount;
    std::vector<Stated> numbers;  // in the order of the text
  };
  constexpr int W = -1;
  const Case cases[] = {
      {&FeedMix(), kFeedMixStatedCount, {{23, W, 0}, {22, 5, 1}, {12, 5, 1}, {13, 5, 1}, {14, 5, 1},
                                         {15, 5, 1}, {0, 5, 1},  {1, 5, 1},  {2, 5, 1},  {3, 5, 1},
                                         {4, 5, 1},  {5, 5, 1},  {6, 5, 1},  {7, 5, 1},  {8, 5, 1},
                                         {9, 5, 1},  {10, 5, 1}, {11, 5, 1}, {19, 5, 1}, {16, 2, 0},
                                         {20, 5, 1}, {17, 2, 0}, {21, 2, 1}, {18, 2, 0}}},
      {&Farm(), kFarmStatedCount, {{0, W, 0},  {1, W, 0},  {2, W, 0},  {3, W, 0},  {4, W, 0},
                                   {5, W, 0},  {6, W, 0},  {7, W, 0},  {9, W, 0},  {8, W, 0},
                                   {10, W, 0}, {11, W, 0}, {14, W, 0}, {12, W, 0}, {15, W, 0},
                                   {13, W, 0}, {16, W, 0}, {17, W, 0}, {18, W, 0}, {19, 2, 0},
                                   {20, 2, 0}, {21, 2, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem->what);
    std::vector<int> parameters;
    for (const Stated& s : c.numbers) parameters.push_back(s.parameter);
    std::sort(parameters.begin(), parameters.end());
    for (int k = 0; k < c.statedCount; ++k) ASSERT_EQ(parameters[static_cast<std::size_t>(k)], k);

    // Numbers in their forms and order; the text fits, opens with five blanks and opens every
    // paragraph with five.
    for (int seed = 1; seed <= 300; ++seed) {
      SCOPED_TRACE(seed);
      SeedRandom(static_cast<std::uint64_t>(seed));
      c.problem->build();
      std::vector<std::string> expected;
      for (const Stated& s : c.numbers) expected.push_back(Formatted(s));
      std::string_view text = TextIn(problemText);
      ASSERT_EQ(NumbersIn(text), expected);
      ASSERT_LT(text.size(), static_cast<std::size_t>(kProblemTextSize - 1));
      ASSERT_EQ(text.substr(0, 6).find_first_not_of(' '), 5u) << text;
      int breaks = 0;
      for (std::size_t i = text.find(kLineBreak); i != std::string_view::npos;
           i = text.find(kLineBreak, i + 1), ++breaks) {
        ASSERT_EQ(text.substr(i + 1, 6).find_first_not_of(' '), 5u) << text.substr(i);
      }
      ASSERT_EQ(breaks, c.problem->paragraphBreaks);
    }
  }
}

TEST(FeedMixFarmStrings, EveryFragmentAndDescriptionIsPresentAndFitsTheLoader) {
  const int ids[] = {3740, 3741, 3742, 3745, 3746, 3747, 3748, 3749, 3750, 3751, 3752, 3753,
                     3754, 3755, 3756, 3757, 3758, 3759, 3760, 3761, 3815, 3816, 3818, 3819,
                     3821, 3826, 3827, 3828, 3829, 3830, 3831, 3832, 3833, 3834, 3835, 3836,
                     3837, 3838, 3839, 3840, 3841, 3842, 3843, 4843, 5843, 3844, 3845, 3846};
  for (int id : ids) {
    SCOPED_TRACE(id);
    std::string_view text = FindString(id);
    ASSERT_NE(text.data(), nullptr);
    EXPECT_FALSE(text.empty());
    EXPECT_LE(text.size(), static_cast<std::size_t>(kMaxLoadedChars));
  }
}

}  // namespace
