// The printing problem's statement: the fragments in their order with the fresh numbers set
// between them, each number in its form, the paragraph layout the problem box relies on, and
// agreement with the parameter table and the correct formulation built at the same time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

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
enum class Form { kWhole, kMoney, kPercent, kNone };

std::string Written(double value, Form form) {
  if (form == Form::kNone) return "";
  if (form != Form::kMoney) return std::to_string(std::llround(value));
  long long cents = std::llround(value * 100.0);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld.%02lld", cents / 100, cents % 100);
  return buf;
}

struct PrintingStep {
  int fragment;
  int parameter;
  Form form;
};

const PrintingStep kPrintingSteps[] = {
    {3575, 0, Form::kWhole},   {3576, 1, Form::kWhole},   {3577, 2, Form::kWhole},
    {3578, 3, Form::kMoney},   {3579, 4, Form::kMoney},   {3580, 5, Form::kMoney},
    {3581, 6, Form::kWhole},   {3582, 10, Form::kWhole},  {3583, 11, Form::kWhole},
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

// The fragments carry no number of their own, money follows "$", and "%" follows a percentage.
TEST(BuildPrintingStatement, FragmentsFrameEachNumberByItsForm) {
  for (std::size_t i = 0; i < std::size(kPrintingSteps); ++i) {
    const PrintingStep& step = kPrintingSteps[i];
    SCOPED_TRACE(step.fragment);
    std::string fragment = LoadText(step.fragment);
    ASSERT_FALSE(fragment.empty());
    EXPECT_EQ(fragment.find_first_of("0123456789"), std::string::npos);
    EXPECT_EQ(fragment.back() == '$', step.form == Form::kMoney);
    if (i + 1 < std::size(kPrintingSteps)) {
      EXPECT_EQ(LoadText(kPrintingSteps[i + 1].fragment)[0] == '%', step.form == Form::kPercent);
    }
  }
}

// Over many problems, whatever widths the numbers take: the text is the fragments with the
// drawn numbers between them, whole and inside the problem text, and each build draws anew.
TEST(BuildPrintingStatement, SetsTheThirteenDrawnNumbersAfterTheirFragmentsAndFits) {
  std::string previous;
  for (int seed = 1; seed <= 500; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    SeedRandom(static_cast<std::uint64_t>(seed));
    BuildPrintingStatement();
    std::string text = Statement();
    ASSERT_EQ(text, ExpectedPrintingStatement());
    ASSERT_LT(text.size(), static_cast<std::size_t>(kProblemTextSize) - 1);
    EXPECT_NE(text, previous);
    previous = text;
    // The same problem throughout: record, table and formulation.
    EXPECT_EQ(printingProblem.onesidedOrdered, Value(0));
    EXPECT_EQ(formulation.constraints[0].rhs, Value(16));
    EXPECT_EQ(formulation.constraints[6].rhs, Value(6));
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
  EXPECT_LT(text.rfind('$'), text.find(kBreak));
}

}  // namespace
