// Hint and solution texts of the printing, furniture and porcelain problems, the hint list around
// them, the lists of outstanding and entered parts, and the objective-sense explanations.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "constraint_lists.h"
#include "courselib.h"
#include "error_list.h"
#include "farm_problem.h"
#include "feedmix_problem.h"
#include "formulation_model.h"
#include "furniture_problem.h"
#include "hint_text.h"
#include "hints.h"
#include "parameter_table.h"
#include "porcelain_problem.h"
#include "printing_problem.h"
#include "row_format.h"
#include "textservices.h"

namespace {

constexpr std::uint64_t kPinnedSeed = 7;
constexpr int kSeeds = 150;

// Test texts are written with '|' for the line-break byte and ">=" / "<=" for the lesson font's
// relation bytes.
std::string Lesson(std::string_view written) {
  std::string out;
  for (std::size_t i = 0; i < written.size(); ++i) {
    std::string_view rest = written.substr(i);
    if (rest.starts_with(">=")) {
      out += kAtLeastByte;
      ++i;
    } else if (rest.starts_with("<=")) {
      out += kAtMostByte;
      ++i;
    } else {
      out += written[i] == '|' ? kLineBreak : written[i];
    }
  }
  return out;
}

const std::string kBreak(1, kLineBreak);

using HintBuilder = void (*)(std::span<char>, int, int);

struct Problem {
  const char* name;
  int code;
  void (*generate)();
  HintBuilder build;
};

const Problem kPrinting = {"printing", 3, GeneratePrintingProblem, BuildPrintingHint};
const Problem kFurniture = {"furniture", 4, GenerateFurnitureProblem, BuildFurnitureHint};
const Problem kPorcelain = {"porcelain", 5, GeneratePorcelainProblem, BuildPorcelainHint};
const Problem kOurProblems[] = {kPrinting, kFurniture, kPorcelain};

void Generate(const Problem& problem, std::uint64_t seed) {
  SeedRandom(seed);
  problem.generate();
}

std::string Build(const Problem& problem, int topic, int level) {
  auto text = std::make_unique<std::array<char, kHintTextSize>>();
  problem.build(*text, topic, level);
  return std::string(TextIn(*text));
}

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

std::string Name(int constraint) {
  return std::string(TextIn(formulation.constraintNames[static_cast<std::size_t>(constraint)]));
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

// ---- The hint list ----

using Items = std::vector<std::pair<std::string, bool>>;

Items ItemsOf(const ErrorList& list) {
  Items items;
  for (int i = 0; i < list.itemCount; ++i) {
    const ListItem& item = list.items[static_cast<std::size_t>(i)];
    items.emplace_back(std::string(TextIn(item.text)), item.wrapped);
  }
  return items;
}

const std::string kNote = "NOTE : All Constraints must be on Right hand side";

// The list with the builder's wrapped items joined back into one entry "<builder>", and checks
// that they hold exactly the builder's text.
std::vector<std::string> Shape(const ErrorList& list, const std::string& builderText) {
  std::vector<std::string> shape;
  std::string joined;
  bool inBuilder = false;
  for (const auto& [text, wrapped] : ItemsOf(list)) {
    if (wrapped) {
      joined += (inBuilder ? kBreak : "") + text;
      if (!inBuilder) shape.push_back("<builder>");
      inBuilder = true;
    } else {
      shape.push_back(text);
    }
  }
  EXPECT_EQ(joined, builderText);
  return shape;
}

TEST(HintList, HeadingLinesFollowLevelAndExplanationMode) {
  const std::string kAskObjective = "the objective function.";
  const std::string kIfYouCan = "If you can answer the following question(s), you can formulate";
  struct Case {
    const char* what;
    int level;
    int explanationMode;
    int topic;
    std::vector<std::string> shape;
  };
  // clang-format off
  const Case cases[] = {
      {"hint on a constraint", 1, 0, 6,
       {"Hint 1:", "", kIfYouCan, "the constraint for the working hours resource.", "",
        "<builder>", " ", " ", kNote}},
      {"solution on a constraint", 2, 0, 6,
       {"Solution:", "", "<builder>", " ", " ", kNote}},
      {"hint after a wrong constraint", 1, 1, 6,
       {"Hint 1:", "", "It appears that you were entering the constraint for",
        "the working hours resource.", "", kIfYouCan,
        "the constraint for the working hours resource.", "", "<builder>", " ", " ", kNote}},
      {"solution after a wrong constraint", 3, 1, 0,
       {"Solution:", "", "It appears that you were entering the constraint for",
        "the one-sided, one-color page minimum production.", "", "<builder>", " ", " ", kNote}},
      {"hint on the objective", 1, 0, -1,
       {"Hint 1:", "", kIfYouCan, kAskObjective, "", "<builder>", " ", " ", kNote}},
      {"solution after a wrong objective", 3, 1, -1,
       {"Solution:", "", "Your formulation for the objective function is incorrect.", "",
        "<builder>", " ", " ", kNote}},
  };
  // clang-format on

  auto list = std::make_unique<ErrorList>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Generate(kPrinting, kPinnedSeed);
    ProblemProgress progress{};
    progress.explanationMode = c.explanationMode;
    int count = ShowHintText(*list, progress, kProblemPrinting, c.level, c.topic);
    EXPECT_EQ(count, list->itemCount);
    EXPECT_EQ(Shape(*list, Build(kPrinting, c.topic, c.level)), c.shape);
  }
}

TEST(HintList, OnlyASolutionMarksItsConstraintEntered) {
  struct Case {
    int level;
    int topic;
    int entered;  // the one constraint marked afterwards, or -1
  };
  const Case cases[] = {{1, 3, -1}, {2, 3, 3}, {3, 6, 6}, {2, -1, -1}};
  auto list = std::make_unique<ErrorList>();
  Generate(kPrinting, kPinnedSeed);
  for (const Case& c : cases) {
    SCOPED_TRACE("level " + std::to_string(c.level) + " topic " + std::to_string(c.topic));
    ProblemProgress progress{};
    ShowHintText(*list, progress, kProblemPrinting, c.level, c.topic);
    for (int i = 0; i < kMaxConstraints; ++i) {
      EXPECT_EQ(progress.constraintEntered[static_cast<std::size_t>(i)], i == c.entered ? 1 : 0)
          << "constraint " << i;
    }
  }
}

TEST(HintList, TheProblemCodeChoosesTheBuilder) {
  const Problem kFeedMix = {"feed mix", kProblemFeedMix, GenerateFeedMixProblem, BuildFeedMixHint};
  const Problem kFarm = {"farm", kProblemFarm, GenerateFarmProblem, BuildFarmHint};
  // Codes without a problem give no builder text at all.
  const Problem cases[] = {kPrinting,
                           kFurniture,
                           kPorcelain,
                           kFeedMix,
                           kFarm,
                           {"none", 2, GeneratePrintingProblem, nullptr},
                           {"none", 8, GeneratePrintingProblem, nullptr}};
  auto list = std::make_unique<ErrorList>();
  auto text = std::make_unique<std::array<char, kHintTextSize>>();
  for (const Problem& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.code));
    Generate(c, kPinnedSeed);
    const std::string expected = c.build != nullptr ? Build(c, 0, 2) : "";
    EXPECT_EQ(BuildHintText(c.code, *text, 0, 2), c.build != nullptr);
    EXPECT_EQ(TextIn(*text), expected);
    ProblemProgress progress{};
    ShowHintText(*list, progress, c.code, 2, 0);
    std::vector<std::string> shape = Shape(*list, expected);
    if (c.build == nullptr) {
      EXPECT_EQ(shape, (std::vector<std::string>{"Solution:", "", " ", " ", kNote}));
    }
  }
}

// Lines of wrapped items as a list box would show them.
std::vector<std::string> WrappedLines(const std::vector<std::string>& texts) {
  CharWidths widths{};
  widths.fill(7);
  std::vector<std::string> lines;
  for (const std::string& text : texts) {
    ForEachWrappedLine(text, widths, 420, [&](std::string_view line) { lines.emplace_back(line); });
  }
  return lines;
}

TEST(HintList, ALongTextSplitIntoItemsShowsTheSameLines) {
  Generate(kFurniture, kPinnedSeed);
  std::string words;
  while (words.size() < 1300) words += "hours of cutting time ";
  struct Case {
    const char* what;
    std::string text;
  };
  // clang-format off
  const Case cases[] = {
      {"a department's solution", Build(kFurniture, 0, 2)},
      {"a blank line at a cut",
       std::string(400, 'a') + kBreak + " " + kBreak + std::string(300, 'b')},
      {"an empty line at a cut", std::string(450, 'a') + kBreak + kBreak + std::string(300, 'b')},
      {"no line break at all", words},
  };
  // clang-format on
  auto list = std::make_unique<ErrorList>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list->itemCount = 0;
    AddWrappedItems(*list, c.text);
    std::vector<std::string> pieces;
    for (const auto& [text, wrapped] : ItemsOf(*list)) {
      EXPECT_TRUE(wrapped);
      EXPECT_LT(text.size(), static_cast<std::size_t>(kListItemSize));
      pieces.push_back(text);
    }
    EXPECT_GT(pieces.size(), 1u);
    if (c.text.find(kLineBreak) != std::string::npos) {
      EXPECT_EQ(WrappedLines(pieces), WrappedLines({c.text}));
    } else {
      std::string joined;
      for (const std::string& piece : pieces) joined += (joined.empty() ? "" : " ") + piece;
      EXPECT_EQ(joined, c.text);
    }
  }
}

TEST(HintList, ConstraintDisplayNameNamesTheTopic) {
  Generate(kFurniture, kPinnedSeed);
  struct Case {
    int topic;
    const char* name;
  };
  const Case cases[] = {
      {-1, "objective function"}, {0, "cutting"}, {8, "kitchen table"}, {9, ""}, {-5, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.topic);
    EXPECT_STREQ(ConstraintDisplayName(c.topic), c.name);
  }
}

// ---- Outstanding and entered parts ----

std::vector<std::string> Texts(const ErrorList& list) {
  std::vector<std::string> texts;
  for (const auto& [text, wrapped] : ItemsOf(list)) {
    EXPECT_FALSE(wrapped) << text;
    texts.push_back(text);
  }
  return texts;
}

TEST(ConstraintLists, OutstandingPartsStartWithTheObjectiveWhileItIsEntered) {
  struct Case {
    const char* what;
    int entryStep;
    std::vector<int> entered;
    std::vector<int> topics;
  };
  const Case cases[] = {
      {"nothing entered yet", 1, {}, {-1, 0, 1, 2, 3, 4, 5, 6}},
      {"objective done, two constraints entered", 3, {0, 6}, {1, 2, 3, 4, 5}},
      {"objective outstanding, one constraint shown by a solution", 1, {2}, {-1, 0, 1, 3, 4, 5, 6}},
      {"everything entered", 8, {0, 1, 2, 3, 4, 5, 6}, {}},
  };
  auto list = std::make_unique<ErrorList>();
  Generate(kPrinting, kPinnedSeed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProblemProgress progress{};
    progress.entryStep = c.entryStep;
    for (int i : c.entered) progress.constraintEntered[static_cast<std::size_t>(i)] = 1;
    list->itemCount = 0;
    int rows = ListOutstandingParts(*list, progress, formulation, progress.topicList);
    ASSERT_EQ(rows, static_cast<int>(c.topics.size()));
    std::vector<std::string> expected;
    for (int t : c.topics) {
      expected.push_back(t < 0
                             ? "Objective Function"
                             : Name(t) +
                                   std::string(ConstraintKindWord(
                                       formulation.constraintKinds[static_cast<std::size_t>(t)])) +
                                   " constraint");
    }
    EXPECT_EQ(Texts(*list), expected);
    EXPECT_EQ(std::vector<int>(progress.topicList.begin(), progress.topicList.begin() + rows),
              c.topics);
  }
}

TEST(ConstraintLists, OutstandingPartsStopAtElevenRows) {
  auto model = std::make_unique<Formulation>();
  model->constraintCount = kMaxConstraints;
  for (int i = 0; i < kMaxConstraints; ++i) {
    SetText(model->constraintNames[static_cast<std::size_t>(i)], "limit " + std::to_string(i));
  }
  ProblemProgress progress{};
  progress.entryStep = 1;
  std::array<std::int32_t, kTopicListSize + 1> topics{};
  topics.fill(77);
  auto list = std::make_unique<ErrorList>();
  int rows =
      ListOutstandingParts(*list, progress, *model,
                           std::span<std::int32_t, kTopicListSize>(topics.data(), kTopicListSize));
  EXPECT_EQ(rows, kTopicListSize);
  EXPECT_EQ(list->itemCount, kTopicListSize);
  EXPECT_EQ(topics[0], -1);
  EXPECT_EQ(topics[kTopicListSize - 1], kTopicListSize - 2);
  EXPECT_EQ(topics[kTopicListSize], 77);
  EXPECT_EQ(Texts(*list).back(), "limit 9 constraint");
}

TEST(ConstraintLists, EnteredFormulationListsEachPartUnderItsHeading) {
  const std::string kObjectiveRow = "  Minimize: 0.04p + 0.06q + 0.19r";
  struct Case {
    const char* what;
    int entryStep;
    std::vector<int> entered;
    std::vector<std::string> lines;
  };
  // clang-format off
  const Case cases[] = {
      {"nothing entered", 1, {}, {}},
      {"the objective only", 2, {}, {"Objective function:", kObjectiveRow}},
      {"objective and two constraints", 4, {0, 6}, {"Objective function:", kObjectiveRow, " ",
        "one-sided, one-color page minimum production constraint:", Lesson("     p >= 546000"), " ",
        "working hours resource constraint:",
        Lesson("     0.00068p + 0.00123q + 0.00333r <= 5000")}},
      {"a constraint before the objective", 1, {2},
       {"one-sided, four-color page minimum production constraint:", Lesson("     r >= 63350")}},
  };
  // clang-format on
  auto list = std::make_unique<ErrorList>();
  Generate(kPrinting, kPinnedSeed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProblemProgress progress{};
    progress.entryStep = c.entryStep;
    for (int i : c.entered) progress.constraintEntered[static_cast<std::size_t>(i)] = 1;
    list->itemCount = 0;
    int parts = ListEnteredFormulation(*list, progress, formulation);
    EXPECT_EQ(parts, static_cast<int>(c.entered.size()) + (c.entryStep >= 2 ? 1 : 0));
    EXPECT_EQ(Texts(*list), c.lines);
  }
}

TEST(ConstraintLists, HeadingSaysWhetherTheFormulationIsComplete) {
  struct Case {
    bool problemActive;
    const char* heading;
  };
  const Case cases[] = {{true, "This is your formulation of the problem so far:"},
                        {false, "This is the complete formulation of the problem:"}};
  auto list = std::make_unique<ErrorList>();
  Generate(kPorcelain, kPinnedSeed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heading);
    ProblemProgress progress{};
    progress.entryStep = 2;
    AddListItem(*list, "left over from before", false);
    EXPECT_EQ(ListFormulationWithHeading(*list, c.problemActive, progress, formulation), 1);
    EXPECT_EQ(Texts(*list), (std::vector<std::string>{c.heading, " ", "Objective function:",
                                                      "  Maximize: 250p + 350q + 500r"}));
  }
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
