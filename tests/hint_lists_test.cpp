// The hint list around the hint and solution texts, and the lists of outstanding and entered
// parts of the formulation.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "constraint_lists.h"
#include "error_list.h"
#include "formulation_model.h"
#include "hint_text.h"
#include "hints_test_support.h"
#include "parameter_table.h"
#include "row_format.h"
#include "textservices.h"

namespace {

using namespace hints_test_support;

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

}  // namespace
