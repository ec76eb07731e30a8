// Problem statements: the fragments in their order with the fresh numbers set between them, each
// number in its form, the paragraph layout the problem box relies on, and agreement with the
// parameter table and the correct formulation built at the same time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "courselib.h"
#include "formulation_model.h"
#include "parameter_table.h"
#include "printing_problem.h"
#include "problem_statement.h"
#include "textservices.h"

namespace {

constexpr char kBreak = static_cast<char>(0xE5);

double Value(int number) {
  return parameterTable.parameterValues[static_cast<std::size_t>(number)];
}

std::string Statement() {
  return std::string(TextIn(problemText));
}

// How a number is expected to read in the text, worked out from the value on its own.
enum class Form { kWhole, kMoney, kHours, kPercent, kNone };

std::string Written(double value, Form form) {
  switch (form) {
    case Form::kWhole:
    case Form::kHours:
    case Form::kPercent:
      return std::to_string(std::llround(value));
    case Form::kMoney: {
      long long cents = std::llround(value * 100.0);
      char buf[32];
      std::snprintf(buf, sizeof buf, "%lld.%02lld", cents / 100, cents % 100);
      return buf;
    }
    case Form::kNone:
      break;
  }
  return "";
}

struct PrintingStep {
  int fragment;
  int parameter;
  Form form;
};

const PrintingStep kPrintingSteps[] = {
    {3575, 0, Form::kWhole},   {3576, 1, Form::kWhole},   {3577, 2, Form::kWhole},
    {3578, 3, Form::kMoney},   {3579, 4, Form::kMoney},   {3580, 5, Form::kMoney},
    {3581, 6, Form::kHours},   {3582, 10, Form::kWhole},  {3583, 11, Form::kWhole},
    {3584, 12, Form::kWhole},  {3585, 7, Form::kPercent}, {3586, 8, Form::kPercent},
    {3587, 9, Form::kPercent}, {3588, -1, Form::kNone},
};

// The statement the parameter table calls for: fragments with the table's numbers between them.
std::string ExpectedPrintingStatement() {
  std::string text;
  for (const PrintingStep& step : kPrintingSteps) {
    text += LoadText(step.fragment);
    if (step.form != Form::kNone) text += Written(Value(step.parameter), step.form);
  }
  return text;
}

struct Token {
  std::string text;
  std::size_t start;
  std::size_t end;
};

// Every number in the text: digits, with a fraction when a point is followed by digits.
std::vector<Token> Numbers(const std::string& text) {
  std::vector<Token> tokens;
  auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  for (std::size_t i = 0; i < text.size();) {
    if (!digit(i)) {
      ++i;
      continue;
    }
    std::size_t start = i;
    while (digit(i)) ++i;
    if (i < text.size() && text[i] == '.' && digit(i + 1)) {
      ++i;
      while (digit(i)) ++i;
    }
    tokens.push_back({text.substr(start, i - start), start, i});
  }
  return tokens;
}

TEST(BuildPrintingStatement, SetsTheThirteenDrawnNumbersOnceEachInTheirForms) {
  for (int seed = 1; seed <= 500; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    SeedRandom(static_cast<std::uint64_t>(seed));
    BuildPrintingStatement();
    std::string text = Statement();
    std::vector<Token> numbers = Numbers(text);
    ASSERT_EQ(numbers.size(), 13u) << text;
    for (const PrintingStep& step : kPrintingSteps) {
      if (step.form == Form::kNone) continue;
      std::string written = Written(Value(step.parameter), step.form);
      int found = 0;
      for (const Token& t : numbers) {
        if (t.text != written) continue;
        ++found;
        // Money follows "$"; "%" follows a percentage and nothing else.
        char before = t.start > 0 ? text[t.start - 1] : '\0';
        char after = t.end < text.size() ? text[t.end] : '\0';
        EXPECT_EQ(before == '$', step.form == Form::kMoney) << written;
        EXPECT_EQ(after == '%', step.form == Form::kPercent) << written;
      }
      EXPECT_EQ(found, 1) << "parameter " << step.parameter << " written " << written;
    }
  }
}

TEST(BuildPrintingStatement, PutsEachNumberAfterItsFragment) {
  for (std::uint64_t seed : {1u, 14u, 777u, 31337u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    SeedRandom(seed);
    BuildPrintingStatement();
    EXPECT_EQ(Statement(), ExpectedPrintingStatement());
  }
}

TEST(BuildPrintingStatement, LaysOutItsParagraphsForTheProblemBox) {
  SeedRandom(8);
  BuildPrintingStatement();
  std::string text = Statement();
  ASSERT_GE(text.size(), 4u);
  EXPECT_EQ(text.substr(0, 4).find_first_not_of(' '), 3u)
      << "three blanks open the first paragraph";
  int breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kBreak) continue;
    ++breaks;
    SCOPED_TRACE("line break at " + std::to_string(i));
    ASSERT_LT(i + 6, text.size());
    EXPECT_EQ(text.substr(i + 1, 5), "     ");
    EXPECT_NE(text[i + 6], ' ');
  }
  EXPECT_EQ(breaks, 1) << "the statement has two paragraphs";
  // The break ends the paragraph of costs and opens the one about the coming month.
  std::size_t lastCost = text.rfind('$');
  EXPECT_LT(lastCost, text.find(kBreak));
}

TEST(BuildPrintingStatement, FitsProblemTextWithItsLastFragmentWhole) {
  // Whatever widths the numbers take.
  for (int seed = 1; seed <= 200; ++seed) {
    SeedRandom(static_cast<std::uint64_t>(seed));
    BuildPrintingStatement();
    std::string text = Statement();
    ASSERT_LT(text.size(), static_cast<std::size_t>(kProblemTextSize) - 1);
    std::string last = LoadText(3588);
    ASSERT_GT(last.size(), 0u);
    ASSERT_EQ(text.substr(text.size() - last.size()), last) << "seed " << seed;
  }
}

TEST(BuildPrintingStatement, ABuildReplacesTheProblemAndAgreesWithTheFormulation) {
  struct Build {
    std::uint64_t seed;
    std::string text;
  };
  Build builds[] = {{21, ""}, {22, ""}};
  for (Build& b : builds) {
    SCOPED_TRACE("seed " + std::to_string(b.seed));
    SeedRandom(b.seed);
    BuildPrintingStatement();
    b.text = Statement();
    EXPECT_EQ(b.text, ExpectedPrintingStatement());
    // The same problem throughout: record, table and formulation.
    EXPECT_EQ(printingProblem.onesidedOrdered, Value(0));
    EXPECT_EQ(printingProblem.onesidedPercent, Value(7));
    EXPECT_EQ(formulation.constraints[3].rhs, Value(0));
    EXPECT_EQ(formulation.constraints[0].rhs, Value(16));
    EXPECT_EQ(formulation.constraints[6].rhs, Value(6));
    EXPECT_EQ(formulation.objective.coef[0], Value(3));
  }
  EXPECT_NE(builds[0].text, builds[1].text);
}

}  // namespace
