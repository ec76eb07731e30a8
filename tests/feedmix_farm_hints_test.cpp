// The feed mix and farm hints: the questions of each topic at hint level, their answers with the
// problem's own numbers and the correct row at solution level, the farm's wording rules (can or
// must be grown, one question for the wheat minimum, cotton only in sandy loam) and the text for a
// topic without questions.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "courselib.h"
#include "farm_problem.h"
#include "feedmix_problem.h"
#include "formulation_model.h"
#include "hints.h"
#include "parameter_table.h"
#include "row_format.h"
#include "textservices.h"

namespace {

constexpr int kObjective = -1;
constexpr int kSeeds = 300;

// Texts are written here in UTF-8 for reading; the lesson's bytes replace å and the relation signs.
std::string Lesson(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    std::string_view rest = utf8.substr(i);
    if (rest.starts_with("\u00E5")) {
      out += '\xE5';
      i += 1;
    } else if (rest.starts_with("\u2265")) {
      out += '\xC0';
      i += 2;
    } else if (rest.starts_with("\u2264")) {
      out += '\xC1';
      i += 2;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

using Builder = void (*)(std::span<char>, int, int);

std::string Build(Builder builder, int topic, int level) {
  std::array<char, kHintTextSize> text{};
  builder(text, topic, level);
  return std::string(TextIn(text));
}

// A number as the hints write it: two places, trailing zeros dropped, or kept for money.
std::string Num(double value, int flag = 1) {
  std::array<char, 64> text{};
  AppendDecimal(text, value, 2, flag);
  return std::string(TextIn(text));
}

std::string Money(double value) {
  return Num(value, 0);
}

double Parameter(int number) {
  return parameterTable.parameterValues[static_cast<std::size_t>(number)];
}

double Coef(int topic, int slot) {
  const FormulationRow& row =
      topic == kObjective ? formulation.objective : formulation.constraints[topic];
  return row.coef[static_cast<std::size_t>(slot)];
}

std::string WrittenRow(int topic) {
  std::array<char, kRowTextSize> row{};
  FormatFormulationRow(formulation, topic < 0 ? 0 : topic, row, topic == kObjective);
  return std::string(TextIn(row));
}

int Count(std::string_view text, std::string_view piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string_view::npos;
       at = text.find(piece, at + piece.size())) {
    ++count;
  }
  return count;
}

// Every piece occurs in the text, each after the one before.
void ExpectInOrder(std::string_view text, const std::vector<std::string>& pieces) {
  std::size_t from = 0;
  for (const std::string& piece : pieces) {
    std::size_t at = text.find(piece, from);
    ASSERT_NE(at, std::string_view::npos) << "missing, or out of order: \"" << piece << "\"\n"
                                          << text;
    from = at + piece.size();
  }
}

void GenerateFeedMix(std::uint64_t seed) {
  SeedRandom(seed);
  GenerateFeedMixProblem();
}

void GenerateFarm(std::uint64_t seed) {
  SeedRandom(seed);
  GenerateFarmProblem();
}

const std::string kNoInformation = "No information available.";

// ---- Whole texts ----

// Seed 7 draws for the feed mix bushels of $22.20, $10.62 and $12.83 weighing 26, 20 and 19 lbs.
// (so $0.85, $0.53, $0.68 a pound), potassium contents 0.006, 0.007, 0.002 and a need of 0.033,
// and a daily feed of 3.9 lbs.; for the farm, profits of $2.35, $3.25, $3.15 a bushel, yields 25,
// 24, 18, 20, 19 bushels an acre, a wheat minimum of 10 acres and red clay hours of 16 and 17 an
// acre with 576 available.
constexpr std::uint64_t kPinnedSeed = 7;

struct WholeTextCase {
  const char* what;
  void (*generate)(std::uint64_t);
  Builder builder;
  int topic;
  int level;
  std::string expected;  // UTF-8
};

const WholeTextCase kWholeTexts[] = {
    {"feed mix objective solution", GenerateFeedMix, BuildFeedMixHint, kObjective, 2,
     "1.  How much does a bushel of soybeans cost?å     Answer: $22.20"
     "å å2.  How many pounds are in a bushel of soybeans?å     Answer: 26 lbs."
     "å å3.  How much does a pound of soybeans cost?å     Answer: $0.85"
     "å åThe cost of one pound is found with the formula:å     cost of a bushel / lbs. per bushel"
     "åFilling in the numbers, the formula becomes:å     22.2 / 26 = 0.85"
     "å åThe total cost of the soybeans in the feed of one steer is:"
     "å     cost of one pound  x  number of lbs. of soybeanåwhich becomeså     0.85 p"
     "å å4.  How much does a bushel of corn cost?å     Answer: $10.62"
     "å å5.  How many pounds are in a bushel of corn?å     Answer: 20 lbs."
     "å å6.  How much does a pound of corn cost?å     Answer: $0.53"
     "å åThe cost of one pound is found with the formula:å     cost of a bushel / lbs. per bushel"
     "åFilling in the numbers, the formula becomes:å     10.62 / 20 = 0.53"
     "å åThe total cost of the corn in the feed of one steer is:"
     "å     cost of one pound  x  number of lbs. of cornåwhich becomeså     0.53 q"
     "å å7.  How much does a bushel of wheat cost?å     Answer: $12.83"
     "å å8.  How many pounds are in a bushel of wheat?å     Answer: 19 lbs."
     "å å9.  How much does a pound of wheat cost?å     Answer: $0.68"
     "å åThe cost of one pound is found with the formula:å     cost of a bushel / lbs. per bushel"
     "åFilling in the numbers, the formula becomes:å     12.83 / 19 = 0.68"
     "å åThe total cost of the wheat in the feed of one steer is:"
     "å     cost of one pound  x  number of lbs. of wheatåwhich becomeså     0.68 r"
     "å åTherefore the total cost can be found using the formula:"
     "å     total cost of soybean  +  total cost of corn  +  total cost of wheat"
     "å     Minimize: 0.85p + 0.53q + 0.68r"},
    // Two places: a content of 0.002 is answered as 0; the row keeps five.
    {"feed mix nutrient solution", GenerateFeedMix, BuildFeedMixHint, 2, 2,
     "1.  How many pounds of potassium does a steer need daily?å     Answer: 0.03 lbs."
     "å å2.  What is the potassium content of one pound of soybean?å     Answer: 0.01"
     "åThe total potassium contribution from soybean is:"
     "å     contribution from one pound of soybean  x  number of lbs. of soybean"
     "åwhich becomeså     0.01 p"
     "å å3.  What is the potassium content of one pound of corn?å     Answer: 0.01"
     "åThe total potassium contribution from corn is:"
     "å     contribution from one pound of corn  x  number of lbs. of corn"
     "åwhich becomeså     0.01 q"
     "å å4.  What is the potassium content of one pound of wheat?å     Answer: 0"
     "åThe total potassium contribution from wheat is:"
     "å     contribution from one pound of wheat  x  number of lbs. of wheat"
     "åwhich becomeså     0 r"
     "åTherefore the formulation of the potassium nutrition constraint should be:"
     "å     0.006p + 0.007q + 0.002r ≥ 0.033"},
    {"feed mix daily feed solution", GenerateFeedMix, BuildFeedMixHint, 4, 2,
     "What is the daily minimum feed requirement of a steer?å     Answer: 3.9 lbs. of feed per day"
     "å åThe sum of the weights of the feed ingredients must be at least 3.9 lbs."
     "å åTherefore the formulation of the minimum feed resource constraint is:"
     "å     p + q + r ≥ 3.9"},
    {"farm objective solution", GenerateFarm, BuildFarmHint, kObjective, 2,
     "1.  How much profit is made from selling a bushel of wheat?å     Answer: $2.35"
     "å å2.  How many bushels of wheat does an acre of red clay produce?"
     "å     Answer: 25 bushels per acre"
     "å åThe profit from one acre of wheat grown in red clay is:"
     "å     profit from a bushel  x  bushels per acreåwhich becomes:å     $2.35  x  25  =  $58.75"
     "å åThe total profit from the wheat grown in red clay is:"
     "å     profit from one acre  x  acres of red clay planted with wheat"
     "åwhich becomeså     58.75 p"
     "å å3.  How much profit is made from selling a bushel of corn?å     Answer: $3.25"
     "å å4.  How many bushels of corn does an acre of red clay produce?"
     "å     Answer: 24 bushels per acre"
     "å åThe profit from one acre of corn grown in red clay is:"
     "å     profit from a bushel  x  bushels per acreåwhich becomes:å     $3.25  x  24  =  $78.00"
     "å åThe total profit from the corn grown in red clay is:"
     "å     profit from one acre  x  acres of red clay planted with corn"
     "åwhich becomeså     78 q"
     "å å5.  How many bushels of wheat does an acre of sandy loam produce?"
     "å     Answer: 18 bushels per acre"
     "å åAs shown in question 1, the profit from wheat is $2.35 per bushel.  "
     "The profit from one acre of wheat grown in sandy loam is:"
     "å     profit from a bushel  x  bushels per acreåwhich becomes:å     $2.35  x  18  =  $42.30"
     "å åThe total profit from the wheat grown in sandy loam is:"
     "å     profit from one acre  x  acres of sandy loam planted with wheat"
     "åwhich becomeså     42.3 r"
     "å å6.  How many bushels of corn does an acre of sandy loam produce?"
     "å     Answer: 20 bushels per acre"
     "å åAs shown in question 3, the profit from corn is $3.25 per bushel.  "
     "The profit from one acre of corn grown in sandy loam is:"
     "å     profit from a bushel  x  bushels per acreåwhich becomes:å     $3.25  x  20  =  $65.00"
     "å åThe total profit from the corn grown in sandy loam is:"
     "å     profit from one acre  x  acres of sandy loam planted with corn"
     "åwhich becomeså     65 s"
     "å å7.  How much profit is made from selling a bushel of cotton?å     Answer: $3.15"
     "å å8.  How many bushels of cotton does an acre of sandy loam produce?"
     "å     Answer: 19 bushels per acre"
     "å åThe profit from one acre of cotton grown in sandy loam is:"
     "å     profit from a bushel  x  bushels per acreåwhich becomes:å     $3.15  x  19  =  $59.85"
     "å åThe total profit from the cotton grown in sandy loam is:"
     "å     profit from one acre  x  acres of sandy loam planted with cotton"
     "åwhich becomeså     59.85 t"
     "å åTherefore the formulation of the objective function should be:"
     "å  Maximize: 58.75p + 78q + 42.3r + 65s + 59.85t"},
    {"farm wheat minimum solution", GenerateFarm, BuildFarmHint, 5, 2,
     "1.  What is the minimum number of acres of wheat that must be grown?å     Answer: 10 acres"
     "å åTherefore, the formulation of the wheat minimum production constraint should be:"
     "å          p + r ≥ 10"},
    {"farm red clay cultivation solution", GenerateFarm, BuildFarmHint, 7, 2,
     "1.  How many hours of red clay cultivation are available?å     Answer: 576 hrs."
     "å å2.  How many hours of red clay cultivation will be used to plant one acre of wheat?"
     "å     Answer: 16 hrs.å åThe hours of cultivation used by all the wheat planted are:"
     "å     hours used for one acre  x  acres of wheat plantedåwhich becomes:å     16 p"
     "å å3.  How many hours of red clay cultivation will be used to plant one acre of corn?"
     "å     Answer: 17 hrs.å åThe hours of cultivation used by all the corn planted are:"
     "å     hours used for one acre  x  acres of corn plantedåwhich becomes:å     17 q"
     "å åTherefore, the formulation of the red clay cultivation resource constraint should be:"
     "å          16p + 17q ≤ 576"},
};

TEST(FeedMixFarmHints, WritesWholeTextsForAPinnedProblem) {
  for (const WholeTextCase& c : kWholeTexts) {
    SCOPED_TRACE(c.what);
    c.generate(kPinnedSeed);
    EXPECT_EQ(Build(c.builder, c.topic, c.level), Lesson(c.expected));
  }
}

// A hint asks the solution's questions and nothing else: each question, in order, is answered in
// the solution on the next line, and the solution answers no other.
TEST(FeedMixFarmHints, HintsAskTheQuestionsTheSolutionAnswers) {
  struct Case {
    const char* problem;
    void (*generate)(std::uint64_t);
    Builder builder;
  };
  const Case cases[] = {{"feed mix", GenerateFeedMix, BuildFeedMixHint},
                        {"farm", GenerateFarm, BuildFarmHint}};
  const std::string kBetween = Lesson("å å");
  const std::string kAnswer = Lesson("å     Answer: ");
  for (const Case& c : cases) {
    for (std::uint64_t seed = 1; seed <= 50; ++seed) {
      c.generate(seed);
      for (int topic = kObjective; topic < formulation.constraintCount; ++topic) {
        SCOPED_TRACE(std::string(c.problem) + " seed " + std::to_string(seed) + " topic " +
                     std::to_string(topic));
        const std::string hint = Build(c.builder, topic, 1);
        const std::string solution = Build(c.builder, topic, 2);
        std::vector<std::string> questions;
        for (std::size_t from = 0;;) {
          std::size_t at = hint.find(kBetween, from);
          questions.push_back(hint.substr(from, at - from) + kAnswer);
          if (at == std::string::npos) break;
          from = at + kBetween.size();
        }
        ExpectInOrder(solution, questions);
        EXPECT_TRUE(solution.starts_with(questions[0]));
        EXPECT_EQ(Count(solution, "Answer: "), static_cast<int>(questions.size()));
        EXPECT_EQ(Count(hint, "Answer"), 0);
      }
    }
  }
}

// ---- Feed mix ----

TEST(FeedIngredientName, NamesTheIngredientsInVariableOrderAndKeepsEachName) {
  const char* soybean = FeedIngredientName(0);
  const char* corn = FeedIngredientName(1);
  const char* wheat = FeedIngredientName(2);
  LoadText(3765);  // another load must leave the names alone
  EXPECT_STREQ(soybean, "soybean");
  EXPECT_STREQ(corn, "corn");
  EXPECT_STREQ(wheat, "wheat");
  EXPECT_EQ(FeedIngredientName(0), soybean);
  EXPECT_STREQ(FeedIngredientName(-1), "");
  EXPECT_STREQ(FeedIngredientName(3), "");
}

// Over many problems, each objective coefficient as the solution derives it from the problem's
// own numbers: a feed's cost of a pound from its bushel's cost and weight, a crop's profit per
// acre from its profit per bushel (to the cent) and yield; then the term and the row written out,
// the farm's without the first three of its five leading blanks.
TEST(FeedMixFarmHints, ObjectiveSolutionsDeriveEachCoefficientFromTheProblemsNumbers) {
  const std::string kBecomes = Lesson("which becomeså     ");
  const std::string letters = "pqrst";
  const int farmProfit[] = {19, 20, 19, 20, 21};
  for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    GenerateFeedMix(seed);
    std::string text = Build(BuildFeedMixHint, kObjective, 2);
    std::vector<std::string> pieces;
    for (int k = 0; k < 3; ++k) {
      std::string perPound = Num(Coef(kObjective, k));
      pieces.push_back(Num(Parameter(16 + k)) + " / " + Num(Parameter(19 + k)) + " = " + perPound);
      pieces.push_back(kBecomes + perPound + " " + letters[k]);
    }
    ExpectInOrder(text, pieces);
    EXPECT_TRUE(text.ends_with(Lesson("å") + WrittenRow(kObjective))) << text;

    GenerateFarm(seed);
    text = Build(BuildFarmHint, kObjective, 2);
    pieces.clear();
    for (int j = 0; j < 5; ++j) {
      pieces.push_back(Lesson("å     $") + Money(Parameter(farmProfit[j])) + "  x  " +
                       Num(Parameter(7 + j)) + "  =  $" + Money(Coef(kObjective, j)));
      pieces.push_back(kBecomes + Num(Coef(kObjective, j)) + " " + letters[j]);
    }
    ExpectInOrder(text, pieces);
    std::string row = WrittenRow(kObjective);
    ASSERT_TRUE(row.starts_with("     Maximize: "));
    EXPECT_TRUE(text.ends_with(Lesson("should be:å") + row.substr(3))) << text;
  }
}

// Over many problems and every nutrient: the need, then each ingredient's content, question
// numbers 2 to 4, and the constraint written out with its kind word.
TEST(FeedMixHint, NutrientSolutionQuotesTheNeedAndEveryContent) {
  const char* ingredients[] = {"soybean", "corn", "wheat"};
  const char* letters[] = {" p", " q", " r"};
  for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
    GenerateFeedMix(seed);
    for (int topic = 0; topic < 4; ++topic) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " topic " + std::to_string(topic));
      std::string name(TextIn(formulation.constraintNames[static_cast<std::size_t>(topic)]));
      std::string text = Build(BuildFeedMixHint, topic, 2);
      std::vector<std::string> pieces = {
          "1.  How many pounds of " + name + " does a steer need daily?",
          Lesson("å     Answer: ") + Num(formulation.constraints[topic].rhs) + " lbs."};
      for (int k = 0; k < 3; ++k) {
        std::string ingredient = ingredients[k];
        std::string content = Num(Coef(topic, k));
        pieces.push_back(Lesson("å å") + std::to_string(k + 2) + ".  What is the " + name +
                         " content of one pound of " + ingredient + "?");
        pieces.push_back(Lesson("å     Answer: ") + content + Lesson("åThe total ") + name +
                         " contribution from " + ingredient + " is:");
        pieces.push_back("  x  number of lbs. of " + ingredient + Lesson("åwhich becomeså     ") +
                         content + letters[k]);
      }
      pieces.push_back(Lesson("åTherefore the formulation of the ") + name +
                       " nutrition constraint should be:" + Lesson("å") + WrittenRow(topic));
      ExpectInOrder(text, pieces);
      EXPECT_TRUE(text.ends_with(WrittenRow(topic)));
    }
  }
}

// ---- Farm ----

// The wording and the number of questions of each crop limit, at hint and at solution level.
TEST(FarmHint, CropLimitsAskWhatCanOrMustBeGrownAndTheAcresGrown) {
  struct Case {
    int topic;
    std::string crop;
    std::string limit;  // the name's last word
    std::string grown;  // the first question's ending
    int questions;
    std::string letters;  // the sum written at solution level; empty when not asked
  };
  const Case cases[] = {
      {2, "wheat", "maximum", " that can be grown?", 2, "p  +  r"},
      {3, "corn", "maximum", " that can be grown?", 2, "q  +  s"},
      {4, "cotton", "maximum", " that can be grown?", 2, "t"},
      {5, "wheat", "minimum", " that must be grown?", 1, ""},
      {6, "corn", "minimum", " that must be grown?", 2, "q  +  s"},
  };
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    GenerateFarm(seed);
    for (const Case& c : cases) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " topic " + std::to_string(c.topic));
      std::string first = "1.  What is the " + c.limit + " number of acres of " + c.crop + c.grown;
      std::string hint = Build(BuildFarmHint, c.topic, 1);
      std::string solution = Build(BuildFarmHint, c.topic, 2);
      EXPECT_EQ(Count(solution, "?"), c.questions);
      std::vector<std::string> pieces = {
          first, Lesson("å     Answer: ") + Num(formulation.constraints[c.topic].rhs) + " acres"};
      if (c.questions == 1) {
        EXPECT_EQ(hint, first);
      } else {
        std::string second = Lesson("å å2.  How many acres of ") + c.crop + " will be grown?";
        EXPECT_EQ(hint, first + second);
        pieces.push_back(second);
        pieces.push_back(Lesson("å     Answer:  the sum of the acres of all ") + c.crop +
                         Lesson(" plantedå"));
        pieces.push_back(Lesson("å     acres of ") + c.crop + " in red clay  +  acres of " +
                         c.crop + Lesson(" in sandy loamåwhich becomeså     ") + c.letters);
      }
      pieces.push_back(Lesson("å åTherefore, the formulation of the ") + c.crop + " " + c.limit +
                       " production constraint should be:" + Lesson("å     ") +
                       WrittenRow(c.topic));
      ExpectInOrder(solution, pieces);
      EXPECT_TRUE(solution.ends_with(WrittenRow(c.topic)));
    }
  }
}

// Each kind of land: acres available, acres used, the crops that grow there.
TEST(FarmHint, LandSolutionSumsTheCropsOfThatLand) {
  struct Case {
    int topic;
    std::string land;
    std::string formula;
    std::string letters;
  };
  const Case cases[] = {
      {0, "red clay", "acres of wheat in red clay  +  acres of corn in red clay", "p  +  q"},
      {1, "sandy loam",
       "acres of wheat in sandy loam  +  acres of corn in sandy loam  +  acres of cotton in sandy "
       "loam",
       "r  +  s  +  t"},
  };
  for (std::uint64_t seed = 1; seed <= 20; ++seed) {
    GenerateFarm(seed);
    for (const Case& c : cases) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " " + c.land);
      std::string hint = Build(BuildFarmHint, c.topic, 1);
      EXPECT_EQ(hint, Lesson("1.  What is the maximum number of acres of " + c.land +
                             " available for planting?å å2.  How many acres of " + c.land +
                             " will be used for planting?"));
      std::string solution = Build(BuildFarmHint, c.topic, 2);
      std::string rhs = Num(formulation.constraints[c.topic].rhs);
      ExpectInOrder(
          solution,
          {Lesson("available for planting?å     Answer: ") + rhs + " acres",
           Lesson("å     Answer:  the sum of the acres of all crops planted in ") + c.land,
           Lesson("using the formula:å     ") + c.formula + Lesson("åwhich becomes:å     ") +
               c.letters,
           Lesson("å åTherefore the formulation of the ") + c.land +
               " resource constraint should be:" + Lesson("å     ") + WrittenRow(c.topic)});
      EXPECT_TRUE(solution.ends_with(WrittenRow(c.topic)));
    }
  }
}

// The red clay asks about wheat and corn (p, q); the sandy loam also about cotton (r, s, t).
TEST(FarmHint, CultivationAsksAboutCottonOnlyInSandyLoam) {
  struct Case {
    int topic;
    std::vector<std::string> crops;
    std::vector<int> slots;
  };
  const Case cases[] = {
      {7, {"wheat", "corn"}, {0, 1}},
      {8, {"wheat", "corn", "cotton"}, {2, 3, 4}},
  };
  for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
    GenerateFarm(seed);
    for (const Case& c : cases) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " topic " + std::to_string(c.topic));
      std::string name(TextIn(formulation.constraintNames[static_cast<std::size_t>(c.topic)]));
      std::string hint = Build(BuildFarmHint, c.topic, 1);
      std::string solution = Build(BuildFarmHint, c.topic, 2);
      EXPECT_EQ(Count(hint, "?"), static_cast<int>(c.crops.size()) + 1);
      EXPECT_EQ(Count(solution, "cotton"), c.crops.size() == 3 ? 3 : 0);
      std::vector<std::string> pieces = {
          "1.  How many hours of " + name + " are available?",
          Lesson("å     Answer: ") + Num(formulation.constraints[c.topic].rhs) + " hrs."};
      for (std::size_t k = 0; k < c.crops.size(); ++k) {
        std::string hours = Num(Coef(c.topic, c.slots[k]));
        std::string letter(1, "pqrst"[c.slots[k]]);
        pieces.push_back(Lesson("å å") + std::to_string(k + 2) + ".  How many hours of " + name +
                         " will be used to plant one acre of " + c.crops[k] + "?");
        pieces.push_back(Lesson("å     Answer: ") + hours + " hrs.");
        pieces.push_back(Lesson("which becomes:å     ") + hours + " " + letter);
      }
      pieces.push_back(Lesson("å åTherefore, the formulation of the ") + name +
                       " resource constraint should be:" + Lesson("å     ") + WrittenRow(c.topic));
      ExpectInOrder(solution, pieces);
      EXPECT_TRUE(solution.ends_with(WrittenRow(c.topic)));
    }
  }
}

// ---- Both ----

// A topic whose kind has no questions, and a level beyond 2, in either problem.
TEST(FeedMixFarmHints, OtherKindsHaveNoInformationAndLevelsAboveTwoGiveTheSolution) {
  struct Case {
    const char* problem;
    void (*generate)(std::uint64_t);
    Builder builder;
    int topic;
  };
  const Case cases[] = {
      {"feed mix nutrient", GenerateFeedMix, BuildFeedMixHint, 0},
      {"feed mix daily feed", GenerateFeedMix, BuildFeedMixHint, 4},
      {"farm land", GenerateFarm, BuildFarmHint, 1},
      {"farm cultivation", GenerateFarm, BuildFarmHint, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    c.generate(11);
    EXPECT_EQ(Build(c.builder, c.topic, 3), Build(c.builder, c.topic, 2));
    EXPECT_EQ(Build(c.builder, kObjective, 5), Build(c.builder, kObjective, 2));
    EXPECT_EQ(Build(c.builder, formulation.constraintCount, 1), kNoInformation);
    std::int32_t kind = formulation.constraintKinds[static_cast<std::size_t>(c.topic)];
    formulation.constraintKinds[static_cast<std::size_t>(c.topic)] = kKindSales;
    EXPECT_EQ(Build(c.builder, c.topic, 1), kNoInformation);
    EXPECT_EQ(Build(c.builder, c.topic, 2), kNoInformation);
    formulation.constraintKinds[static_cast<std::size_t>(c.topic)] = kind;
  }
}

// A short buffer holds the beginning of the text, terminated, whatever the builder writes.
TEST(FeedMixFarmHints, ShortBufferHoldsTheBeginningOfTheText) {
  struct Case {
    const char* problem;
    void (*generate)(std::uint64_t);
    Builder builder;
    int topic;
  };
  const Case cases[] = {
      {"feed mix objective", GenerateFeedMix, BuildFeedMixHint, kObjective},
      {"feed mix nutrient", GenerateFeedMix, BuildFeedMixHint, 2},
      {"farm objective", GenerateFarm, BuildFarmHint, kObjective},
      {"farm corn maximum", GenerateFarm, BuildFarmHint, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.problem);
    c.generate(3);
    std::string whole = Build(c.builder, c.topic, 2);
    for (std::size_t size : {1u, 20u, 45u, 300u}) {
      std::vector<char> text(size, 'x');
      c.builder(text, c.topic, 2);
      std::string_view cut = TextIn(text);
      ASSERT_LT(cut.size(), size);
      EXPECT_TRUE(whole.starts_with(cut)) << cut;
    }
  }
}

}  // namespace
