// Hint and solution texts of the printing, furniture and porcelain problems, whole for a pinned
// seed and by their structure over many seeds, and the objective-sense explanations.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "courselib.h"
#include "formulation_model.h"
#include "hint_text.h"
#include "hints.h"
#include "hints_test_support.h"
#include "parameter_table.h"
#include "row_format.h"
#include "textservices.h"

namespace {

using namespace hints_test_support;

constexpr int kSeeds = 150;

const Problem kOurProblems[] = {kPrinting, kFurniture, kPorcelain};

std::string Row(int topic) {
  std::array<char, kRowTextSize> row{};
  FormatFormulationRow(formulation, topic, row, topic == kObjectiveTopic);
  return std::string(TextIn(row));
}

std::string Number(double value, int places, int flag) {
  std::array<char, 64> text{};
  AppendDecimal(text, value, places, flag);
  return std::string(TextIn(text));
}

double Parameter(int number) {
  return parameterTable.parameterValues[static_cast<std::size_t>(number)];
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    std::size_t at = text.find(separator, start);
    pieces.emplace_back(text.substr(start, at - start));
    if (at == std::string_view::npos) return pieces;
    start = at + separator.size();
  }
}

// ---- Whole texts for the pinned seed ----

TEST(HintTexts, PinnedSeedGivesTheseWholeTexts) {
  struct Case {
    const Problem* problem;
    int topic;
    int level;
    const char* text;
  };
  const Case cases[] = {
      {&kPrinting, -1, 2,
       "1. What is the cost to print a one-sided, one-color page?|     Answer: $0.04"
       "| |The total cost of printing the one-sided, one-color pages is:"
       "|     cost to print one page   x   number of pages printed|which becomes|     0.04 p"
       "| |2. What is the cost to print a double-sided, one-color page?|     Answer: $0.06"
       "| |The total cost of printing the double-sided, one-color pages is:"
       "|     cost to print one page   x   number of pages printed|which becomes|     0.06 q"
       "| |3. What is the cost to print a one-sided, four-color page?|     Answer: $0.19"
       "| |The total cost of printing the one-sided, four-color pages is:"
       "|     cost to print one page   x   number of pages printed|which becomes|     0.19 r"
       "| |Therefore, the formulation of the objective function should be:"
       "|     Minimize: 0.04p + 0.06q + 0.19r"},
      {&kPrinting, 2, 2,
       "1. What is the minimum number of one-sided, four-color pages to print?"
       "|     Answer: 63350 pages"
       "|This is how the one-sided, four-color page minimum production constraint should be "
       "formulated:|     r >= 63350"},
      {&kPrinting, 6, 2,
       "1. How long does it take to print one one-sided, one-color page?"
       "|     Answer: 1/1480 = 0.00068 hours"
       "| |The time needed to print all pages of this kind is:"
       "|     time to print one page   x   number of pages printed|which becomes|     0.00068 p"
       "| |2. How long does it take to print one double-sided, one-color page?"
       "|     Answer: 1/815 = 0.00123 hours"
       "| |The time needed to print all pages of this kind is:"
       "|     time to print one page   x   number of pages printed|which becomes|     0.00123 q"
       "| |3. How long does it take to print one one-sided, four-color page?"
       "|     Answer: 1/300 = 0.00333 hours"
       "| |The time needed to print all pages of this kind is:"
       "|     time to print one page   x   number of pages printed|which becomes|     0.00333 r"
       "| |Therefore, the formulation of the working hours resource constraint should be:"
       "|     0.00068p + 0.00123q + 0.00333r <= 5000"},
      {&kFurniture, 4, 2,
       "1.  How many hours of finishing time are available?|     Answer: 3110 hours"
       "| |2.  How many hours of finishing time does it take to build an upholstered sofa?"
       "|     Answer: 0 hours| |The hours of finishing time needed for all upholstered sofas is:"
       "|     number of hours needed per unit   x   units built|which becomes|     0 p"
       "| |3.  How many hours of finishing time does it take to build an upholstered chair?"
       "|     Answer: 0 hours| |The hours of finishing time needed for all upholstered chairs is:"
       "|     number of hours needed per unit   x   units built|which becomes|     0 q"
       "| |4.  How many hours of finishing time does it take to build a set of kitchen chairs?"
       "|     Answer: 7.75 hours"
       "| |The hours of finishing time needed for all  sets of kitchen chairs is:"
       "|     number of hours needed per unit   x   units built|which becomes|     7.75 r"
       "| |5.  How many hours of finishing time does it take to build a kitchen table?"
       "|     Answer: 10.5 hours| |The hours of finishing time needed for all kitchen tables is:"
       "|     number of hours needed per unit   x   units built|which becomes|     10.5 s"
       "| |Therefore the formulation of the finishing resource constraint should be:"
       "|     7.75r + 10.5s <= 3110"},
      {&kFurniture, 7, 2,
       "1.  What is the minimum number of kitchen chairs that must be built?"
       "|     Answer: 16 kitchen chairs"
       "| |Therefore the formulation of the kitchen chair sales constraint should be:"
       "|     r >= 16"},
      {&kPorcelain, 3, 2,
       "1.  How many hours of mixing are available?|     Answer: 180 hours"
       "| |2.  How many hours of mixing does it take to make a porcelain dog?|     Answer: 3 hours"
       "|  |The hours of mixing needed for all porcelain dogs is:"
       "|     number of hours needed per unit   x   units made|which becomes|     3 p"
       "| |3.  How many hours of mixing does it take to make a porcelain pig?|     Answer: 5 hours"
       "|  |The hours of mixing needed for all porcelain pigs is:"
       "|     number of hours needed per unit   x   units made|which becomes|     5 q"
       "| |4.  How many hours of mixing does it take to make a porcelain elephant?"
       "|     Answer: 6 hours|  |The hours of mixing needed for all porcelain elephants is:"
       "|     number of hours needed per unit   x   units made|which becomes|     6 r"
       "| |Therefore the formulation of the mixing resource constraint should be:"
       "|     3p + 5q + 6r <= 180"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.problem->name) + " topic " + std::to_string(c.topic) + " level " +
                 std::to_string(c.level));
    Generate(*c.problem, kPinnedSeed);
    EXPECT_EQ(Build(*c.problem, c.topic, c.level), Lesson(c.text));
  }
}

// ---- Structure over many seeds ----

// What a topic's solution must say: the answer lines in order (the text after "Answer: " up to
// the line's end) and the terms written after each "which becomes".
struct Expected {
  std::vector<std::string> answers;
  std::vector<std::string> terms;
};

std::string Letter(int slot) {
  return std::string(" ") + kLowerLetters[slot];
}

// Read from the correct formulation: every number a solution quotes is one of its row's, but
// the printing hours, quoted as 1/pages per hour first.
Expected ExpectedFor(const Problem& problem, int topic) {
  const bool printing = problem.code == kProblemPrinting;
  const FormulationRow& row =
      topic == kObjectiveTopic ? formulation.objective : formulation.constraints[topic];
  auto number = [&](double value) { return Number(value, 2, printing ? 0 : 1); };
  Expected e;
  const int kind = topic == kObjectiveTopic ? 0 : formulation.constraintKinds[topic];
  if (topic == kObjectiveTopic || kind == kKindResource) {
    if (kind == kKindResource && !printing) e.answers.push_back(number(row.rhs) + " hours");
    for (int j = 0; j < formulation.variableCount; ++j) {
      std::string value = number(row.coef[j]);
      if (topic == kObjectiveTopic) {
        e.answers.push_back("$" + value);
      } else if (printing) {
        value = Number(row.coef[j], 5, 1);
        e.answers.push_back("1/" + Number(Parameter(10 + j), 2, 1) + " = " + value + " hours");
      } else {
        e.answers.push_back(value + " hours");
      }
      e.terms.push_back(value + Letter(j));
    }
  } else if (printing) {
    e.answers.push_back(Number(row.rhs, 5, 1) + " pages");
  } else {
    e.answers.push_back(number(row.rhs) + " " + Name(topic) + "s");
  }
  return e;
}

// The line that follows each occurrence of marker.
std::vector<std::string> LinesAfter(const std::string& text, const std::string& marker) {
  std::vector<std::string> lines;
  for (std::size_t at = text.find(marker); at != std::string::npos;
       at = text.find(marker, at + 1)) {
    std::size_t start = at + marker.size();
    lines.push_back(text.substr(start, text.find(kLineBreak, start) - start));
  }
  return lines;
}

// Level 1 holds only the numbered questions, one blank line between them.
void CheckQuestions(const std::string& hint, std::size_t expectedCount) {
  std::vector<std::string> questions = Split(hint, kBreak + " " + kBreak);
  ASSERT_EQ(questions.size(), expectedCount);
  for (std::size_t q = 0; q < questions.size(); ++q) {
    EXPECT_TRUE(questions[q].starts_with(std::to_string(q + 1) + ".")) << questions[q];
    EXPECT_EQ(questions[q].find(kLineBreak), std::string::npos) << questions[q];
    EXPECT_TRUE(questions[q].ends_with("?")) << questions[q];
  }
}

// Level 2 asks the same questions in the same order, answers each, explains every term and ends
// with the row written out on a line of its own.
void CheckSolution(const std::string& hint, const std::string& solution, const Expected& e,
                   int topic) {
  std::size_t from = 0;
  for (const std::string& question : Split(hint, kBreak + " " + kBreak)) {
    std::size_t at = solution.find(question + kBreak + "     Answer: ", from);
    ASSERT_NE(at, std::string::npos) << question;
    from = at + question.size();
  }
  EXPECT_EQ(LinesAfter(solution, "Answer: "), e.answers);
  EXPECT_EQ(LinesAfter(solution, "which becomes" + kBreak + "     "), e.terms);
  EXPECT_TRUE(solution.ends_with(":" + kBreak + Row(topic)));
  EXPECT_EQ(solution.find(kBreak + kBreak), std::string::npos);
  EXPECT_FALSE(solution.starts_with(kBreak));
}

TEST(HintTexts, HintsAskNumberedQuestionsAndSolutionsAnswerThemWithTheProblemsNumbers) {
  for (const Problem& problem : kOurProblems) {
    for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
      Generate(problem, seed);
      for (int topic = kObjectiveTopic; topic < formulation.constraintCount; ++topic) {
        SCOPED_TRACE(std::string(problem.name) + " seed " + std::to_string(seed) + " topic " +
                     std::to_string(topic));
        Expected e = ExpectedFor(problem, topic);
        std::string hint = Build(problem, topic, 1);
        std::string solution = Build(problem, topic, 2);
        CheckQuestions(hint, e.answers.size());
        CheckSolution(hint, solution, e, topic);
        EXPECT_EQ(Build(problem, topic, 3), solution);
      }
    }
  }
}

TEST(HintTexts, AKindTheBuilderDoesNotCoverHasNoInformation) {
  struct Case {
    const Problem* problem;
    int topic;
    int kind;  // 0 keeps the constraint's own kind
  };
  // clang-format off
  const Case cases[] = {
      {&kPrinting, 6, kKindNutrition},    {&kPrinting, 7, 0},
      {&kFurniture, 0, kKindProduction},  {&kFurniture, 6, 99},         {&kFurniture, 9, 0},
      {&kPorcelain, 4, kKindCultivation}, {&kPorcelain, 0, kKindSales}, {&kPorcelain, -2, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.problem->name) + " topic " + std::to_string(c.topic));
    Generate(*c.problem, kPinnedSeed);
    if (c.kind != 0) formulation.constraintKinds[static_cast<std::size_t>(c.topic)] = c.kind;
    for (int level : {1, 2}) {
      EXPECT_EQ(Build(*c.problem, c.topic, level), "No information available.");
    }
  }
}

TEST(HintTexts, EachBuildStartsTheTextAfresh) {
  Generate(kPorcelain, kPinnedSeed);
  auto text = std::make_unique<std::array<char, kHintTextSize>>();
  BuildPorcelainHint(*text, 3, 2);
  BuildPorcelainHint(*text, 0, 1);
  EXPECT_EQ(TextIn(*text), "1.  What is the minimum number of porcelain dogs that must be made?");
}

// ---- Objective sense ----

TEST(ObjectiveSense, ExplanationMatchesTheSenseEachProblemExpects) {
  const std::string kCost =
      "The problem is asking for the solution which will produce the smallest cost.  This "
      "signifies that you should minimize the objective function.";
  const std::string kRevenue =
      "The problem is asking for the solution which will generate the largest revenue.  This "
      "signifies that you should maximize the objective function.";
  std::string kProfit = kRevenue;
  kProfit.replace(kProfit.find("revenue"), 7, "profit");
  struct Case {
    int code;
    void (*generate)();
    int id;
    const std::string* text;
  };
  const Case cases[] = {
      {kProblemPrinting, GeneratePrintingProblem, 3337, &kCost},
      {kProblemFurniture, GenerateFurnitureProblem, 3338, &kRevenue},
      {kProblemPorcelain, GeneratePorcelainProblem, 3339, &kRevenue},
      {kProblemFeedMix, GenerateFeedMixProblem, 3340, &kCost},
      {kProblemFarm, GenerateFarmProblem, 3341, &kProfit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ObjectiveSenseExplanationId(c.code), c.id);
    EXPECT_EQ(LoadText(c.id), *c.text);
    SeedRandom(kPinnedSeed);
    c.generate();
    bool minimize = formulation.objectiveSense == kSenseMinimize;
    EXPECT_EQ(c.text == &kCost, minimize);
  }
  for (int code = 0; code < 3; ++code) {
    EXPECT_NE(std::string_view(LoadText(ObjectiveSenseExplanationId(code))), "") << code;
  }
}

}  // namespace
