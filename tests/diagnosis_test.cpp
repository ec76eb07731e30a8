// The term-by-term diagnosis and the printed rows, on the printing problem written out by hand:
// every verdict with its exact sentence, the parser's findings, omitted variables, the relation
// and the right-hand side against the objective and against constraints. The sentences of the
// largest entry are checked whole through its explanation list (error_list_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "printing_fixture.h"
#include "row_format.h"
#include "term_diagnosis.h"

namespace {

using namespace printing_fixture;

using Lines = std::vector<std::string>;

ParsedEntry WithRejectedRhs(ParsedEntry entry, const char* typed) {
  entry.terms[kRhsSlot].status = kRhsRejected;
  SetText(entry.terms[kRhsSlot].text, typed);
  return entry;
}

Lines Sentences(const Diagnosis& d) {
  Lines lines;
  for (int k = 0; k < d.diagnosisCount; ++k) lines.emplace_back(d.diagnosisLines[k].data());
  return lines;
}

// The objective's three terms, right.
const ParsedTerm kP{"0.03p", 0.03, 0, 0};
const ParsedTerm kQ{"0.06q", 0.06, 1, 0};
const ParsedTerm kR{"0.19r", 0.19, 2, 0};
// The working-hours terms, right within the tolerance.
const ParsedTerm kHoursP{"0.00333p", 0.00333, 0, 0};
const ParsedTerm kHoursQ{"0.00667q", 0.00667, 1, 0};
const ParsedTerm kHoursR{"0.01667r", 0.01667, 2, 0};

// What the explanations say a coefficient stands for.
const std::string kCostP = "cost to print a one-sided, one-color page";
const std::string kWrongVariable = "The coefficient is on the wrong variable.  ";

void NoAdjust(Formulation&, ParameterTable&) {}

// One diagnosis of an entry on the printing problem.
struct Session {
  Formulation formulation = PrintingFormulation();
  ParameterTable parameters = PrintingParameters();
  Diagnosis diagnosis{};
  ParsedEntry entry{};
  void Diagnose(int target, ParsedEntry e, int entryStep = 1) {
    entry = e;
    DiagnoseEntry(target, entry, formulation, parameters, entryStep, diagnosis);
  }
  std::uint32_t Verdict(int slot) const { return TermVerdict(entry.terms[slot].status); }
};

TEST(DiagnoseEntry, GivesEachTermTheVerdictOfTheFirstTestThatHolds) {
  struct Case {
    const char* name;
    std::vector<ParsedTerm> terms;
    std::vector<std::uint32_t> verdicts;
    void (*adjust)(Formulation&, ParameterTable&) = NoAdjust;
  };
  // clang-format off
  const Case cases[] = {
      {"all right", {kP, kQ, kR}, {0xF0, 0xF0, 0xF0}},
      {"within 0.001", {kP, kQ, {"0.1909r", 0.1909, 2, 0}}, {0xF0, 0xF0, 0xF0}},
      {"0.001 off, bound included", {kP, {"0.061q", 0.061, 1, 0}, kR}, {0xF0, 0xF0, 0xF0}},
      {"off by 0.0011", {kP, kQ, {"0.1911r", 0.1911, 2, 0}}, {0xF0, 0xF0, 0x40}},
      {"terms adding up to the coefficient", {{"0.01p", 0.01, 0, 0}, {"0.02p", 0.02, 0, 0}, kQ, kR},
       {0xF0, 0xF0, 0xF0, 0xF0}},
      {"wrong sign", {{"-0.03p", -0.03, 0, 0}, kQ, kR}, {0x10, 0xF0, 0xF0}},
      {"terms cancelling out", {{"2p", 2, 0, 0}, {"-2p", -2, 0, 0}, kQ, kR},
       {0xFF, 0xFF, 0xF0, 0xF0}},
      {"coefficients swapped", {{"0.06p", 0.06, 0, 0}, {"0.03q", 0.03, 1, 0}, kR},
       {0x81, 0x80, 0xF0}},
      {"swapped with a sign", {{"-0.06p", -0.06, 0, 0}, {"0.03q", 0.03, 1, 0}, kR},
       {0x91, 0x80, 0xF0}},
      {"a variable already right is never blamed", {{"0.06p", 0.06, 0, 0}, kQ, kR},
       {0xC4, 0xF0, 0xF0}},
      {"another parameter", {{"4500p", 4500, 0, 0}, kQ, kR}, {0xC6, 0xF0, 0xF0}},
      {"another parameter in size", {{"-4500p", -4500, 0, 0}, kQ, kR}, {0xC6, 0xF0, 0xF0}},
      {"first of two equal parameters", {{"7p", 7, 0, 0}, kQ, kR}, {0xCA, 0xF0, 0xF0},
       [](Formulation&, ParameterTable& t) { t.parameterValues[10] = t.parameterValues[12] = 7; }},
      {"no parameter", {{"7p", 7, 0, 0}, kQ, kR}, {0x40, 0xF0, 0xF0}},
      {"coefficient after the variable", {{"p7", 7, 0, 8}, kQ, kR}, {0x40, 0xF0, 0xF0}},
      {"parser errors get no verdict", {{"3pq", 0, -1, 2}, {"5", 0, -1, 1}, kR}, {0, 0, 0xF0}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session run;
    c.adjust(run.formulation, run.parameters);
    run.Diagnose(kObjective, MakeEntry(c.terms));
    ASSERT_EQ(run.entry.termCount, static_cast<int>(c.verdicts.size()));
    for (int i = 0; i < run.entry.termCount; ++i) {
      EXPECT_EQ(run.Verdict(i), c.verdicts[i]) << "term " << i;
      EXPECT_EQ(TermFlags(run.entry.terms[i].status), c.terms[i].flags) << "term " << i;
    }
  }
}

TEST(DiagnoseEntry, ExplainsEachVerdictInItsSentence) {
  const std::string kWrongCoefficientP =
      "You have entered a wrong coefficient.  The correct coefficient for the variable P is 0.03, "
      "which corresponds to the " +
      kCostP + ".";
  const Lines kSwapped = {
      kWrongVariable +
          "0.06 is the coefficient for the variable Q, which corresponds to the the number of "
          "double-sided, one-color pages to print.  The correct coefficient for the variable P is "
          "0.03, which corresponds to the " +
          kCostP + ".",
      kWrongVariable +
          "0.03 is the coefficient for the variable P, which corresponds to the the number of "
          "one-sided, one-color pages to print.  The correct coefficient for the variable Q is "
          "0.06, which corresponds to the cost to print a double-sided, one-color page."};
  const std::string kRequiresP =
      "  The objective function requires the  coefficient 0.03 on the variable p, which refers to "
      "the " +
      kCostP + ".";
  const std::string kNoParameter7 =
      "The value 7 in 7p is not a parameter of this problem.  The correct coefficient for the "
      "variable P is 0.03, which corresponds to the " +
      kCostP + ".";
  struct Case {
    const char* name;
    int target;
    std::vector<ParsedTerm> terms;
    Lines sentences;
    void (*adjust)(Formulation&, ParameterTable&) = NoAdjust;
  };
  // clang-format off
  const Case cases[] = {
      {"right terms need no sentence", kObjective, {kP, kQ, kR}, {}},
      {"right but coefficient after the variable", kObjective, {{"p0.03", 0.03, 0, 8}, kQ, kR},
       {"p0.03 is correct.  However, the convention is to place the coefficient before the "
        "variable."}},
      {"should be positive", kObjective, {{"-0.03p", -0.03, 0, 0}, kQ, kR},
       {"The value -0.03 in -0.03p should be positive."}},
      {"should be negative", kObjective, {kP, kQ, kR},
       {"The value 0.06 in 0.06q should be negative."},
       [](Formulation& f, ParameterTable&) { f.objective.coef[1] = -0.06; }},
      {"the sign judged on the sum", kObjective,
       {{"-0.01p", -0.01, 0, 0}, {"-0.02p", -0.02, 0, 0}, kQ, kR},
       {"The value -0.03 in -0.01p should be positive.",
        "The value -0.03 in -0.02p should be positive."}},
      {"terms cancelling out", kObjective, {{"2p", 2, 0, 0}, {"-2p", -2, 0, 0}, kQ, kR},
       {kWrongCoefficientP, kWrongCoefficientP}},
      {"coefficients swapped", kObjective, {{"0.06p", 0.06, 0, 0}, {"0.03q", 0.03, 1, 0}, kR},
       kSwapped},
      {"wrong variable and sign", kObjective, {{"-0.06p", -0.06, 0, 0}, {"0.03q", 0.03, 1, 0}, kR},
       {kWrongVariable + "-" + kSwapped[0].substr(kWrongVariable.size()), kSwapped[1]}},
      {"a variable already right is not blamed; the parameter is named", kObjective,
       {{"-0.06p", -0.06, 0, 0}, kQ, kR},
       {"The value 0.06 refers to the cost to print a double-sided, one-color page." + kRequiresP}},
      {"another parameter in size", kObjective, {{"-4500p", -4500, 0, 0}, kQ, kR},
       {"The value 4500 refers to the number of hours of wages allocated for the coming month." +
        kRequiresP}},
      {"another parameter in a repeating entry", kObjective,
       {{"4500p", 4500, 0, 0}, {"0.03q", 0.03, 1, 0}, {"0.03q", 0.03, 1, 0}, kR},
       {"The coefficient in the term refers to the number of hours of wages allocated for the "
        "coming month." + kRequiresP}},
      {"another parameter against a constraint", kWorkingHours,
       {{"300p", 300, 0, 0}, kHoursQ, kHoursR},
       {"The value 300 refers to the number of one-sided, one-color pages printed in one hour.  "
        "The working hours resource constraint requires the  coefficient 0.00333 on the "
        "variable p, which refers to the number of hours to print a single one-sided, "
        "one-color page."}},
      {"no parameter", kObjective, {{"7p", 7, 0, 0}, kQ, kR}, {kNoParameter7}},
      {"no parameter, coefficient after the variable", kObjective, {{"p7", 7, 0, 8}, kQ, kR},
       {"The value 7 in p7" + kNoParameter7.substr(kNoParameter7.find(" is not")) +
        "  The convention is to place the coefficient before the variable."}},
      {"the coefficients 0 and 1 of a constraint", kPageMinimum, {{"q", 1, 1, 0}},
       {kWrongVariable +
            "1 is the coefficient for the variable P, which corresponds to the the "
            "number of one-sided, one-color pages to print.  The correct coefficient for the "
            "variable Q is 0, which corresponds to the implied value assigned to each variable not "
            "used in the constraint.",
        "By omitting the variable p from your formulation, you have implied that it has a "
        "coefficient of 0.  The one-sided, one-color page minimum production constraint "
        "requires the variable p to have the coefficient 1, which refers to the implied value "
        "assigned to each variable of which only a single unit is needed in the constraint."}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session run;
    c.adjust(run.formulation, run.parameters);
    const FormulationRow& row =
        c.target < 0 ? run.formulation.objective : run.formulation.constraints[c.target];
    // Relation and right-hand side right, so that only the terms speak.
    run.Diagnose(c.target, MakeEntry(c.terms, static_cast<int>(row.relation), row.rhs));
    EXPECT_EQ(Sentences(run.diagnosis), c.sentences);
  }
}

TEST(DiagnoseEntry, ExplainsWhatTheParserFoundAndTheVariablesLeftOut) {
  struct Case {
    const char* name;
    std::vector<ParsedTerm> terms;
    Lines sentences;
  };
  const std::string kOmittingQ =
      "By omitting the variable q from your formulation, you have implied that it has a "
      "coefficient of 0.  The objective function requires the variable q to have the "
      "coefficient 0.06, which refers to the cost to print a double-sided, one-color page.";
  const std::string kOmittingP =
      "By omitting the variable p from your formulation, you have implied that it has a "
      "coefficient of 0.  The objective function requires the variable p to have the "
      "coefficient 0.03, which refers to the " +
      kCostP + ".";
  const std::string kOmittingR =
      "By omitting the variable r from your formulation, you have implied that it has a "
      "coefficient of 0.  The objective function requires the variable r to have the "
      "coefficient 0.19, which refers to the cost to print a one-sided, four-color page.";
  // clang-format off
  const Case cases[] = {
      {"no variable", {{"5", 5, -1, 1}, kP, kQ, kR}, {"No variable was found in the term 5."}},
      {"two variables", {{"p3r", 0, -1, 2}, kP, kQ, kR},
       {"More than one variable was found in the term p3r."}},
      {"two coefficients", {{"3 4p", 0, 0, 4}, kP, kQ, kR},
       {"More than one coefficient was found in the term 3 4p."}},
      {"two of both", {{"3p4q", 0, -1, 6}, kP, kQ, kR},
       {"More than one variable and more than one coefficient were found in the term 3p4q."}},
      {"bad number", {{"1.2.3p", 0, 0, 16}, kQ, kR},
       {"The coefficient was not a valid number in the term 1.2.3p."}},
      {"bad number, no variable", {{"1.2.3", 0, -1, 17}, kP, kQ, kR},
       {"The coefficient was not a valid number in the term 1.2.3.  Also, no variable was found "
        "in the term."}},
      {"bad number after the variable", {{"p1.2.3", 0, 0, 24}, kQ, kR},
       {"The coefficient was not a valid number in the term p1.2.3.  Also, the convention is to "
        "place the coefficient before the variable."}},
      {"a term of two variables leaves both out", {{"3pq", 0, -1, 2}, kR},
       {"More than one variable was found in the term 3pq.", kOmittingP, kOmittingQ}},
      {"omitted variables follow every term sentence, in slot order",
       {{"7r", 7, 2, 0}, {"5", 5, -1, 1}},
       {"The value 7 in 7r is not a parameter of this problem.  The correct coefficient for the "
        "variable R is 0.19, which corresponds to the cost to print a one-sided, four-color page.",
        "No variable was found in the term 5.", kOmittingP, kOmittingQ}},
      {"no term at all", {}, {kOmittingP, kOmittingQ, kOmittingR}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session run;
    run.Diagnose(kObjective, MakeEntry(c.terms));
    EXPECT_EQ(Sentences(run.diagnosis), c.sentences);
  }
}

TEST(DiagnoseEntry, JudgesTheRelationAndTheRightHandSide) {
  const std::string kHoursClause =
      "  The working hours resource constraint requires that  the working hours resource be " +
      kAtMost + "4500.";
  const std::string kMinimumClause =
      "  The one-sided, one-color page minimum production constraint requires that one-sided, "
      "one-color page minimum production be " +
      kAtLeast + "412500.";
  const std::string kNoRelation =
      "  The objective function does not have a right hand side so the correct formulation "
      "contains no relation.";
  const std::string kNoRhs =
      "  The objective function does not have a right hand side so the correct formulation "
      "contains no right hand side value.";
  struct Case {
    const char* name;
    int target;
    int relation;
    double rhs;
    const char* rejected;  // the right side's text when it was no number
    int entryStep;
    Lines sentences;
    int rhsValid;
  };
  const std::string kNoParameter = " is not a parameter of this problem.";
  // clang-format off
  const Case cases[] = {
      {"both right", kWorkingHours, 5, 4500, nullptr, 3, {}, 1},
      {"0.001 off, bound included", kWorkingHours, 5, 4500.001, nullptr, 3, {}, 1},
      {"neither typed", kWorkingHours, 0, kEmptyRhs, nullptr, 3,
       {"You have not entered the relation." + kHoursClause,
        "You have not entered the RHS value." + kHoursClause}, 0},
      {"no right side while the objective is due", kWorkingHours, 5, kEmptyRhs, nullptr, 1, {}, 0},
      {"at least for at most", kWorkingHours, 4, 4500, nullptr, 3,
       {"The relation is incorrect." + kHoursClause}, 1},
      {"greater than for at most", kWorkingHours, 2, 4500, nullptr, 3,
       {"The relation is incorrect." + kHoursClause}, 1},
      {"off by 0.0011", kWorkingHours, 5, 4500.0011, nullptr, 3,
       {"The value 4500.0011" + kNoParameter + kHoursClause}, 1},
      {"another constraint's right side", kWorkingHours, 5, 175000, nullptr, 3,
       {"The value 175000 is the right hand side of the double-sided, one-color page minimum "
        "production constraint." + kHoursClause}, 1},
      {"a constraint is named before a parameter", kWorkingHours, 5, 750000, nullptr, 3,
       {"The value 750000 is the right hand side of the one-sided, one-color page maximum "
        "production constraint." + kHoursClause}, 1},
      {"a parameter in size", kWorkingHours, 5, -55, nullptr, 3,
       {"The value -55 corresponds to the percent of one-sided, one-color pages that must be "
        "printed and is not a right hand side value in this problem." + kHoursClause}, 1},
      {"no parameter", kWorkingHours, 5, 12, nullptr, 3,
       {"The value 12" + kNoParameter + kHoursClause}, 1},
      {"zero", kWorkingHours, 5, 0, nullptr, 3, {"The RHS value is incorrect." + kHoursClause}, 0},
      {"beyond 9e15", kWorkingHours, 5, 1e16, nullptr, 3,
       {"The RHS value is incorrect." + kHoursClause}, 0},
      {"no number", kWorkingHours, 5, kEmptyRhs, "12 0", 3,
       {"The right hand side of your formulation did not contain a valid number." + kHoursClause},
       0},
      {"a production constraint has no extra article", kPageMinimum, 5, 412500, nullptr, 3,
       {"The relation is incorrect." + kMinimumClause}, 1},
      {"objective with a relation and a right side", kObjective, 1, 5, nullptr, 1,
       {"The relation is incorrect." + kNoRelation, "The value 5" + kNoParameter + kNoRhs}, 1},
      {"objective with a relation only", kObjective, 4, kEmptyRhs, nullptr, 1,
       {"The relation is incorrect." + kNoRelation}, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session run;
    std::vector<ParsedTerm> terms =
        c.target == kWorkingHours  ? std::vector{kHoursP, kHoursQ, kHoursR}
        : c.target == kPageMinimum ? std::vector{ParsedTerm{"p", 1, 0, 0}}
                                   : std::vector{kP, kQ, kR};
    ParsedEntry entry = MakeEntry(terms, c.relation, c.rhs);
    if (c.rejected != nullptr) entry = WithRejectedRhs(entry, c.rejected);
    run.Diagnose(c.target, entry, c.entryStep);
    EXPECT_EQ(Sentences(run.diagnosis), c.sentences);
    EXPECT_EQ(run.entry.rhsValid, c.rhsValid);
  }
}

TEST(DiagnoseEntry, EndsWithTheHeadingAndTheCorrectRow) {
  struct Case {
    const char* name;
    int target;
    ParsedEntry entry;
    int count;
    Lines closing;
  };
  // clang-format off
  const Case cases[] = {
      {"objective", kObjective, MakeEntry({kP, kQ, {"7r", 7, 2, 0}}), 1,
       {"", "The correct objective function is as follows:", "",
        "     Minimize: 0.03p + 0.06q + 0.19r"}},
      {"constraint", kWorkingHours, MakeEntry({kHoursP, kHoursQ, kHoursR}, 5, 4000), 1,
       {"", "The correct constraint is as follows:", "",
        "     0.00333p + 0.00667q + 0.01667r " + kAtMost + " 4500"}},
      {"right entry", kPageMinimum, MakeEntry({{"p", 1, 0, 0}}, 4, 412500), 0,
       {"", "The correct constraint is as follows:", "", "     p " + kAtLeast + " 412500"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session run;
    run.Diagnose(c.target, c.entry, c.target < 0 ? 1 : 3);
    ASSERT_EQ(run.diagnosis.diagnosisCount, c.count);
    EXPECT_EQ(run.diagnosis.diagnosisTarget, c.target);
    Lines closing;
    for (int k = c.count; k < c.count + 4; ++k) {
      closing.emplace_back(run.diagnosis.diagnosisLines[k].data());
    }
    EXPECT_EQ(closing, c.closing);
  }
}

TEST(DiagnoseEntry, DiagnosingAgainstAnotherTargetLeavesNoEarlierVerdict) {
  Session run;
  run.Diagnose(kPageMinimum, MakeEntry({{"p", 1, 0, 0}}, 4, 412500), 3);
  ASSERT_EQ(run.Verdict(kRelationSlot), kVerdictCorrect);
  ASSERT_EQ(run.Verdict(kRhsSlot), kVerdictCorrect);
  DiagnoseEntry(kWorkingHours, run.entry, run.formulation, run.parameters, 3, run.diagnosis);
  EXPECT_EQ(run.Verdict(kRelationSlot), 0u);
  EXPECT_EQ(run.Verdict(kRhsSlot), 0u);
  EXPECT_EQ(run.Verdict(0), kVerdictNotAParameter);
}

TEST(FormatFormulationRow, PrintsTermsRelationAndRightHandSide) {
  struct Case {
    const char* name;
    std::array<double, 8> coef;
    int relation;
    double rhs;
    bool isObjective;
    int sense;
    std::string expected;
  };
  // clang-format off
  const Case cases[] = {
      {"minimise", {0.03, 0.06, 0.19}, 0, 0, true, kSenseMinimize,
       "     Minimize: 0.03p + 0.06q + 0.19r"},
      {"maximise", {12, 0, 7.5}, 0, 0, true, kSenseMaximize, "     Maximize: 12p + 7.5r"},
      {"bare letter for 1", {1, 0, 0}, 4, 412500.00000000006, false, 0, "     p \xC0 412500"},
      {"minus one and negatives", {-1, -2.5, 1}, 1, 3.25, false, 0, "     -1p + -2.5q + r = 3.25"},
      {"five places", {1.0 / 300, 1.0 / 150, 1.0 / 60}, 5, 4500, false, 0,
       "     0.00333p + 0.00667q + 0.01667r \xC1 4500"},
      {"greater than, four places", {0, 2, 0}, 2, 1.0 / 3, false, 0, "     2q > 0.3333"},
      {"less than", {0, 0, 3}, 3, -7, false, 0, "     3r < -7"},
      {"third sign", {2, 2, 0}, 6, 10.5, false, 0, "     2p + 2q \x82 10.5"},
      {"slots beyond the variables are not printed", {1, 0, 0, 9}, 1, 1, false, 0, "     p = 1"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Formulation f{};
    f.variableCount = 3;
    f.objectiveSense = c.sense;
    FormulationRow& row = c.isObjective ? f.objective : f.constraints[2];
    row.coef = c.coef;
    row.relation = c.relation;
    row.rhs = c.rhs;
    std::array<char, kRowTextSize> buffer{};
    std::fill(buffer.begin(), buffer.end(), 'x');
    FormatFormulationRow(f, 2, buffer, c.isObjective);
    EXPECT_EQ(std::string(buffer.data()), c.expected);
  }
}

TEST(FormatFormulationRow, CutsAtTheBufferEnd) {
  Formulation f = PrintingFormulation();
  std::array<char, 12> buffer{};
  FormatFormulationRow(f, -1, buffer, true);
  EXPECT_STREQ(buffer.data(), "     Minimi");
}

TEST(ConstraintKindWord, NamesEachKindAndNothingElseAndTheWordsStayValid) {
  const std::pair<int, const char*> cases[] = {
      {1, " resource"}, {2, " sales"}, {3, " production"}, {4, " nutrition"}, {5, " resource"},
      {0, ""},          {6, ""},       {-1, ""},
  };
  std::vector<std::string_view> words;
  for (const auto& [kind, word] : cases) words.push_back(ConstraintKindWord(kind));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    EXPECT_EQ(words[i], cases[i].second);  // read after every later call
  }
}

TEST(DescribeValue, NamesZeroOneAndTheFirstExactParameter) {
  ParameterTable table = PrintingParameters();
  table.parameterValues[11] = 60;  // a second 60, ahead of parameter 12
  const std::pair<double, std::string> cases[] = {
      {0, "implied value assigned to each variable not used in the constraint"},
      {1,
       "implied value assigned to each variable of which only a single unit is needed in "
       "the constraint"},
      {0.03, kCostP},
      {1.0 / 60, "number of hours to print a single one-sided, four-color page"},
      {60, "number of double-sided, one-color pages printed in one hour"},
      {0.0300001, "number the correct formulation requires"},
      {-0.03, "number the correct formulation requires"},
  };
  for (const auto& [value, phrase] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(DescribeValue(table, value), phrase);
  }
}

TEST(RelationSymbol, GivesOneCharacterPerCode) {
  const std::pair<int, char> cases[] = {
      {1, '='}, {2, '>'}, {3, '<'}, {4, '\xC0'}, {5, '\xC1'}, {6, '\x82'}, {0, '\0'}, {7, '\0'},
  };
  for (const auto& [code, symbol] : cases) {
    SCOPED_TRACE(code);
    EXPECT_EQ(RelationSymbol(code), symbol);
  }
}

}  // namespace
