#include "parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace std::literals;

namespace {

// Shows the lesson-font bytes of a line as \xNN in failure messages.
std::string Readable(std::string_view line) {
  std::string out;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return "«" + out + "»";
}

std::string_view TextOf(const EntryTerm& term) {
  return std::string_view(term.text.data(), strnlen(term.text.data(), term.text.size()));
}

template <std::size_t N>
unsigned MaskOf(const std::array<std::int32_t, N>& flags) {
  unsigned mask = 0;
  for (std::size_t k = 0; k < N; ++k) mask |= (flags[k] != 0 ? 1u : 0u) << k;
  return mask;
}

// Every bound the records promise, whatever the line was.
void ExpectBoundsHold(const ParsedEntry& entry, int result) {
  ASSERT_GE(entry.termCount, 0);
  ASSERT_LE(entry.termCount, kMaxTerms);
  EXPECT_GE(result, -1);
  EXPECT_LE(result, entry.termCount);
  int errors = 0;
  for (int i = 0; i < kTermSlots; ++i) {
    const EntryTerm& term = entry.terms[i];
    EXPECT_LE(TextOf(term).size(), std::size_t{kMaxTermChars}) << "term " << i;
    EXPECT_GE(term.var, -1);
    EXPECT_LT(term.var, kLetterSlots);
    EXPECT_TRUE(std::isfinite(term.coef));
    if (i < entry.termCount) {
      const std::uint32_t flags = TermFlags(term.status);
      EXPECT_EQ(term.status & ~0xFF00u, 0u) << "term " << i;
      EXPECT_NE(std::string_view("\x00\x01\x02\x04\x06\x08\x10\x11\x18"sv).find(char(flags)),
                std::string_view::npos)
          << "flags " << flags;
      if (IsTermError(flags)) ++errors;
    } else if (i != kRhsSlot) {
      EXPECT_EQ(term.status, 0u) << "term " << i;
      EXPECT_TRUE(TextOf(term).empty()) << "term " << i;
    }
  }
  EXPECT_TRUE(entry.terms[kRhsSlot].status == 0 || entry.terms[kRhsSlot].status == kRhsRejected);
  if (result >= 0) {
    EXPECT_EQ(result, errors);
  }
  for (const double sum : entry.enteredRow.coef) EXPECT_TRUE(std::isfinite(sum));
  EXPECT_EQ(entry.enteredRow.coef[7], 0.0);
  EXPECT_GE(entry.enteredRow.relation, 0.0);
  EXPECT_LE(entry.enteredRow.relation, 6.0);
  EXPECT_TRUE(std::isfinite(entry.enteredRow.rhs));
  EXPECT_TRUE(entry.rhsValid == 0 || entry.rhsValid == 1);
  EXPECT_LE(std::strlen(rightSideAsTyped.data()), std::size_t{kMaxLineChars});
}

// Field by field: every value the parse writes.
void ExpectSameEntry(const ParsedEntry& actual, const ParsedEntry& expected) {
  EXPECT_EQ(actual.enteredRow.coef, expected.enteredRow.coef);
  EXPECT_EQ(actual.enteredRow.relation, expected.enteredRow.relation);
  EXPECT_EQ(actual.enteredRow.rhs, expected.enteredRow.rhs);
  for (int i = 0; i < kTermSlots; ++i) {
    SCOPED_TRACE("term " + std::to_string(i));
    EXPECT_EQ(actual.terms[i].text, expected.terms[i].text);
    EXPECT_EQ(actual.terms[i].status, expected.terms[i].status);
    EXPECT_EQ(actual.terms[i].coef, expected.terms[i].coef);
    EXPECT_EQ(actual.terms[i].var, expected.terms[i].var);
  }
  EXPECT_EQ(actual.termCount, expected.termCount);
  EXPECT_EQ(actual.rhsValid, expected.rhsValid);
  EXPECT_EQ(actual.variableSeen, expected.variableSeen);
  EXPECT_EQ(actual.variableRepeated, expected.variableRepeated);
  EXPECT_EQ(actual.termNegative, expected.termNegative);
  EXPECT_EQ(actual.overlongVariable, expected.overlongVariable);
}

// Records the two notices in the order they come.
struct Notice {
  char kind;  // 'S' section too long, 'A' answer too long
  unsigned value;
  NoticeOwner owner;
  bool operator==(const Notice&) const = default;
};
std::vector<Notice> notices;

void RecordSection(NoticeOwner owner, char letter) {
  notices.push_back({'S', static_cast<unsigned char>(letter), owner});
}
void RecordAnswer(NoticeOwner owner, unsigned kept) {
  notices.push_back({'A', kept, owner});
}

class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    notices.clear();
    parserNotices = {};
  }
  void TearDown() override { parserNotices = {}; }
  ParsedEntry entry{};
};

// ---- The format check ----

TEST_F(ParserTest, FormatCheckAcceptsAndRefusesLines) {
  struct Case {
    std::string_view line;
    bool passes;
  };
  // clang-format off
  const Case cases[] = {
      {"3p + 4q + 2r", true}, {"2p + 5q \xC0 120", true}, {"3p \xC0 -120", true},
      {"120 \xC0 3p", true}, {"120 \xC0 -3p", true}, {"3p-4q\xC1 12", true}, {"   3p   ", true},
      {"3p ++ 4q", true},      // two plus signs pass
      {"3p \xC0 12 0", true},  // blanks do not count: the parser refuses this right side
      {"2u \xC0 4", true},     // a typed letter may stand before the relation
      {"3p = 0", true}, {"3p \x82 7", true}, {"1.5p - .5q", true}, {"", false}, {"     ", false},
      {"3p <= 120", false}, {"3p >= 120", false}, {"3p == 120", false}, {"3p =< 120", false},
      {"3p + 4q \xC0", false},  // ends in a relation
      {"3p + 4q -", false},     // ends in a sign
      {"3p +", false}, {"pq", false}, {"3p + pP", false}, {"3p +++ 4q", false}, {"3p --4q", false},
      {"3p - \xC0 4", false},  // a minus before the relation
      {"3p + \xC0 4", false},  // a plus before the relation
      {"3p . \xC0 4", false}, {"1..5p", false},
      {"3p # \xC0 4", false},       // anything else before a relation
      {"2v \xC0 4", false},         // V is no typed letter: it counts as anything else
      {"3p \xC0 4 \xC1 5", false},  // two relations
      {"\xC0 3p", false},           // a relation in first place
      {"120 \xC0 p", false},        // a letter right after the relation
      {"120 \xC0 3p + 4q", false},  // the right side is one signed item
      {"3p \xC0 4-5", false}, {"3p \xC0 --5", false},
      {"3p \xC0 -p", true},  // a letter second after the relation: the parser refuses it
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(Readable(c.line));
    EXPECT_EQ(CheckEntryFormat(c.line), c.passes);
  }
}

TEST_F(ParserTest, FormatCheckReadsTheFieldOnly) {
  // The field ends at a NUL and after 77 characters; what lies beyond is never judged.
  EXPECT_TRUE(CheckEntryFormat("3p + 4q\0pq"sv));
  EXPECT_FALSE(CheckEntryFormat("\0003p"sv));
  EXPECT_TRUE(CheckEntryFormat("3p" + std::string(75, ' ') + "pq <="));
  EXPECT_FALSE(CheckEntryFormat("3p" + std::string(74, ' ') + "pq <="));
}

// ---- The parse ----

struct TermRow {
  std::string_view text;
  std::uint32_t flags;
  double coef;
  int var;
};

struct ParseCase {
  std::string_view line;
  int result;
  std::vector<TermRow> terms;
  int relation;
  double rhs;  // valid unless kEmptyRhs
};

// The row sums and the seen and repeated marks follow from the terms by the parser's rules: a
// term without errors adds its coefficient, one scanned without variable or coefficient trouble
// marks its variable seen, and a variable whose sum is not zero when another term adds to it is
// repeated.
void ExpectParse(const ParseCase& c, const ParsedEntry& entry, int result) {
  EXPECT_EQ(result, c.result);
  ASSERT_EQ(entry.termCount, static_cast<int>(c.terms.size()));
  std::array<double, kVariableSlots> sums{};
  unsigned seen = 0;
  unsigned repeated = 0;
  for (std::size_t i = 0; i < c.terms.size(); ++i) {
    SCOPED_TRACE("term " + std::to_string(i));
    const TermRow& row = c.terms[i];
    const EntryTerm& term = entry.terms[i];
    EXPECT_EQ(TextOf(term), row.text);
    EXPECT_EQ(TermFlags(term.status), row.flags);
    EXPECT_EQ(TermVerdict(term.status), 0u);
    EXPECT_EQ(term.coef, row.coef);
    EXPECT_EQ(term.var, row.var);
    const auto k = static_cast<std::size_t>(row.var);
    if (row.var >= 0 &&
        (row.flags & (kFlagNoVariable | kFlagManyVariables | kFlagManyCoefficients)) == 0) {
      seen |= 1u << k;
    }
    if (row.flags == 0 || row.flags == kFlagCoefficientAfter) {
      if (sums[k] != 0) repeated |= 1u << k;
      sums[k] += row.coef;
    }
  }
  EXPECT_EQ(entry.enteredRow.coef, sums);
  EXPECT_EQ(entry.enteredRow.relation, c.relation);
  EXPECT_EQ(entry.enteredRow.rhs, c.rhs);
  EXPECT_EQ(entry.rhsValid, c.rhs != kEmptyRhs ? 1 : 0);
  EXPECT_EQ(MaskOf(entry.variableSeen), seen);
  EXPECT_EQ(MaskOf(entry.variableRepeated), repeated);
  EXPECT_EQ(entry.terms[kRelationSlot].status, 0u);
}

TEST_F(ParserTest, ParsesTermsRelationAndRightSide) {
  constexpr double kNone = kEmptyRhs;
  // clang-format off
  const ParseCase cases[] = {
      {"3p + 4q + 2r", 0, {{"3p", 0, 3, 0}, {"4q", 0, 4, 1}, {"2r", 0, 2, 2}}, 0, kNone},
      {"3p - 4q \xC0 120", 0, {{"3p", 0, 3, 0}, {"-4q", 0, -4, 1}}, 4, 120},
      {"3p-4q \xC0 120", 0, {{"3p", 0, 3, 0}, {"-4q", 0, -4, 1}}, 4, 120},
      {"p + q", 0, {{"p", 0, 1, 0}, {"q", 0, 1, 1}}, 0, kNone},
      {"-p", 0, {{"-p", 0, -1, 0}}, 0, kNone},
      {"  -0.5t \xC1 -12.5", 0, {{"-0.5t", 0, -0.5, 4}}, 5, -12.5},
      // the coefficient after the variable is a warning, not an error
      {"p3 + q", 0, {{"p3", 8, 3, 0}, {"q", 0, 1, 1}}, 0, kNone},
      {"p .5 - q2", 0, {{"p .5", 8, 0.5, 0}, {"-q2", 8, -2, 1}}, 0, kNone},
      {"3 p", 0, {{"3 p", 0, 3, 0}}, 0, kNone},
      // the syntax flags
      {"3 4p", 1, {{"3 4p", 4, 0, 0}}, 0, kNone},
      {"1.2.3p", 1, {{"1.2.3p", 16, 0, 0}}, 0, kNone},
      {".p", 1, {{".p", 16, 0, 0}}, 0, kNone},
      {"p 1.2.3", 1, {{"p 1.2.3", 24, 0, 0}}, 0, kNone},
      {"5 + 2q", 1, {{"5", 1, 0, -1}, {"2q", 0, 2, 1}}, 0, kNone},
      {"3p + x", 1, {{"3p", 0, 3, 0}, {"", 17, 0, -1}}, 0, kNone},  // nothing but other characters
      {"p3q", 1, {{"p3q", 2, 0, -1}}, 0, kNone},
      {"pP", 1, {{"pP", 2, 0, -1}}, 0, kNone},
      {"3p4q", 1, {{"3p4q", 6, 0, -1}}, 0, kNone},
      {"3p4", 1, {{"3p4", 4, 0, 0}}, 0, kNone},
      {"p3 4", 1, {{"p3 4", 4, 0, 0}}, 0, kNone},
      {"3p + 4 q5 + 2r", 1, {{"3p", 0, 3, 0}, {"4 q5", 4, 0, 1}, {"2r", 0, 2, 2}}, 0, kNone},
      // a variable named twice, in either case, sums and is marked repeated
      {"2p + 3p", 0, {{"2p", 0, 2, 0}, {"3p", 0, 3, 0}}, 0, kNone},
      {"3P - 2p + v + V", 0,
       {{"3P", 0, 3, 0}, {"-2p", 0, -2, 0}, {"v", 0, 1, 6}, {"V", 0, 1, 6}}, 0, kNone},
      {"0p + 2p", 0, {{"0p", 0, 0, 0}, {"2p", 0, 2, 0}}, 0, kNone},  // a zero sum is not yet named
      // two minus signs do not cancel
      {"-3p - -4q", 0, {{"-3p", 0, -3, 0}, {"-4q", 0, -4, 1}}, 0, kNone},
      {"3p+-4q", 0, {{"3p", 0, 3, 0}, {"-4q", 0, -4, 1}}, 0, kNone},
      // characters that are neither term characters nor signs stay in the term's text
      {"3p + #4q", 0, {{"3p", 0, 3, 0}, {"#4q", 0, 4, 1}}, 0, kNone},
      // the mirrored form turns the relation round
      {"120 \xC0 3p", 0, {{"3p", 0, 3, 0}}, 5, 120},
      {"  -12 \xC1 p - 2q", 0, {{"p", 0, 1, 0}, {"-2q", 0, -2, 1}}, 4, -12},
      {"7 > 3p", 0, {{"3p", 0, 3, 0}}, 3, 7},
      {"7 = 3p", 0, {{"3p", 0, 3, 0}}, 1, 7},
      {"7 \x82 3p", 0, {{"3p", 0, 3, 0}}, 6, 7},
      // relations of the normal form; only the first relation counts
      {"3p = 0", 0, {{"3p", 0, 3, 0}}, 1, 0},
      {"3p < 9", 0, {{"3p", 0, 3, 0}}, 3, 9},
      {"3p \x82 +9", 0, {{"3p", 0, 3, 0}}, 6, 9},
      {"3p < = 4", 0, {{"3p", 0, 3, 0}}, 3, 4},
      {"\xC0 5", 0, {}, 4, 5},
      // the term text is cut to 20 characters, a minus included; the reading comes from the cut
      {"-1234567890123456789012p", 1, {{"-1234567890123456789", 1, 0, -1}}, 0, kNone},
      {"12345678901234567890p + q", 1,
       {{"12345678901234567890", 1, 0, -1}, {"q", 0, 1, 1}}, 0, kNone},
      {"p + 123456789012345678q", 0,
       {{"p", 0, 1, 0}, {"123456789012345678q", 0, 123456789012345678.0, 1}}, 0, kNone},
      // a NUL ends the line
      {"3p + 4q\0 + 5r \xC0 9"sv, 0, {{"3p", 0, 3, 0}, {"4q", 0, 4, 1}}, 0, kNone},
  };
  // clang-format on
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(Readable(c.line));
    const int result = ParseEntry(c.line, entry, 0);
    ExpectParse(c, entry, result);
    ExpectBoundsHold(entry, result);
  }
}

TEST_F(ParserTest, LineOfBlanksIsNotParsedButClearsTheEntry) {
  for (const std::string_view line : {""sv, "   "sv, "\0 3p"sv, "  \0003p"sv}) {
    SCOPED_TRACE(Readable(line));
    ParseEntry("3p + 4q \xC0 9", entry, 0);
    EXPECT_EQ(ParseEntry(line, entry, 0), -1);
    ParsedEntry expected{};
    expected.enteredRow.rhs = kEmptyRhs;
    ExpectSameEntry(entry, expected);
    EXPECT_EQ(rightSideAsTyped[0], '\0');
  }
}

TEST_F(ParserTest, RightSideIsReadOrRefusedAsTyped) {
  struct Case {
    std::string_view line;
    double rhs;
    int rhsValid;
    std::uint32_t status;
    std::string_view slotText;  // the right-hand-side slot's text
    std::string_view asTyped;
  };
  const Case cases[] = {
      {"3p \xC0 12 0", kEmptyRhs, 0, 32, "12 0", "12 0"},
      {"3p \xC0 12 0   ", kEmptyRhs, 0, 32, "12 0", "12 0"},
      {"3p \xC0 12p", kEmptyRhs, 0, 32, "12p", "12p"},
      {"3p \xC0 5 \xC1", kEmptyRhs, 0, 32, "5 \xC1", "5 \xC1"},
      {"3p \xC0 5\xC1", kEmptyRhs, 0, 32, "5\xC1", "5\xC1"},
      {"3p \xC0 -", kEmptyRhs, 0, 32, "-", "-"},
      {"3p \xC0 .", kEmptyRhs, 0, 32, ".", "."},
      {"3p \xC0 --5", kEmptyRhs, 0, 32, "--5", "--5"},
      {"3p \xC0 1.2.3", kEmptyRhs, 0, 32, "1.2.3", "1.2.3"},
      // a value read before a stray character stays, but is not valid
      {"3p \xC0 12a", 12, 0, 32, "12a", "12a"},
      {"3p \xC0 1e5", 1, 0, 32, "1e5", "1e5"},
      {"3p \xC0 1e400", 1, 0, 32, "1e400", "1e400"},
      {"3p \xC0 9999999999999999999999", 9999999999999999999999.0, 1, 0, "",
       "9999999999999999999999"},
      {"3p \xC0 1x1x1x1x1x1x1x1x1x1x1x1x", 1, 0, 32, "1x1x1x1x1x1x1x1x1x1x",
       "1x1x1x1x1x1x1x1x1x1x1x1x"},
      // nothing typed on the right: refused, but the slot is left alone
      {"3p \xC0", kEmptyRhs, 0, 0, "", ""},
      {"3p \xC0 + ", kEmptyRhs, 0, 0, "", ""},
      // valid numbers keep the slot empty; the text stays as typed
      {"3p \xC0 +7", 7, 1, 0, "", "7"},
      {"3p \xC0 7  ", 7, 1, 0, "", "7"},
      {"3p \xC0 0.0", 0, 1, 0, "", "0.0"},
      {"3p \xC0 5-", 5, 1, 0, "", "5-"},
      {"3p", kEmptyRhs, 0, 0, "", ""},
      // the mirrored form takes the run of term characters before the relation
      {"12 0 \xC0 3p", 12, 1, 0, "", "12"},
      {"1.2.3 \xC0 3p", kEmptyRhs, 0, 32, "1.2.3", "1.2.3"},
      {"--5 \xC0 3p", kEmptyRhs, 0, 32, "--5", "--5"},
      {"# \xC0 3p", kEmptyRhs, 0, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Readable(c.line));
    ParseEntry(c.line, entry, 0);
    EXPECT_EQ(entry.enteredRow.rhs, c.rhs);
    EXPECT_EQ(entry.rhsValid, c.rhsValid);
    EXPECT_EQ(entry.terms[kRhsSlot].status, c.status);
    EXPECT_EQ(TextOf(entry.terms[kRhsSlot]), c.slotText);
    EXPECT_EQ(std::string_view(rightSideAsTyped.data()), c.asTyped);
    EXPECT_EQ(entry.termCount, 1);  // nothing of the right side reaches the terms
  }
}

TEST_F(ParserTest, EveryParseStartsFromNothing) {
  // Sixteen terms, an over-long first term, a negative last term read, repeats, a refused right
  // side: all of it must be gone after the next line.
  const std::string busy = "1234567890123456789012p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p \xC0 1x";
  ASSERT_LE(busy.size(), std::size_t{kMaxLineChars});
  ParseEntry(busy, entry, 0);
  ASSERT_EQ(entry.termCount, kMaxTerms);
  ASSERT_EQ(entry.termNegative, 1);
  ASSERT_EQ(entry.overlongVariable, 'p');
  ASSERT_EQ(entry.terms[kRhsSlot].status, kRhsRejected);
  ASSERT_NE(MaskOf(entry.variableRepeated), 0u);
  entry.terms[kRelationSlot].status = 3;  // a verdict the diagnosis wrote
  entry.variableRepeated[9] = 1;

  EXPECT_EQ(ParseEntry("2p \xC0 5", entry, 0), 0);

  ParsedEntry expected{};
  expected.enteredRow.coef[0] = 2;
  expected.enteredRow.relation = kRelationAtLeast;
  expected.enteredRow.rhs = 5;
  std::strcpy(expected.terms[0].text.data(), "2p");
  expected.terms[0].coef = 2;
  expected.terms[0].var = 0;
  expected.termCount = 1;
  expected.rhsValid = 1;
  expected.variableSeen[0] = 1;
  ExpectSameEntry(entry, expected);
}

// ---- The two overflow notices ----

TEST_F(ParserTest, OverflowNoticesComeInTermOrder) {
  struct Case {
    std::string line;
    std::vector<Notice> expected;
    int termCount;
  };
  const NoticeOwner owner = 0x2350;
  const std::string fifteen = "p+q+r+s+t+p+q+r+s+t+p+q+r+s+t";  // 29 characters
  const std::string fifteenMinus = "p-q-r-s-t-p-q-r-s-t-p-q-r-s-t";
  const Case cases[] = {
      {"3p + 4q", {}, 2},
      {std::string(21, '1') + "q + 3p", {{'S', 'q', owner}}, 2},
      // the first letter of "PQRSTUVpqrstuv" that occurs, not the first in the term
      {"qqqqqqqqqqqqqqqqqqqqPqq + sssssssssssssssssssssss",
       {{'S', 'P', owner}, {'S', 's', owner}},
       2},
      {std::string(25, '7') + " + p", {{'S', 0, owner}}, 2},
      {"  " + std::string(19, '7') + "p  + p", {}, 2},  // twenty characters once stripped
      // exactly fifteen: the whole line is kept
      {fifteen, {{'A', 29, owner}}, 15},
      {fifteen + " \xC0 5", {{'A', 33, owner}}, 15},
      {fifteen + " \xC0 -5", {{'A', 34, owner}}, 15},
      // sixteen: kept up to the sign after the fifteenth, whatever moved the text in between
      {fifteen + "+p", {{'A', 29, owner}}, 15},
      {fifteenMinus + "-p", {{'A', 29, owner}}, 15},
      {"p - q - r - s - t - p - q - r - s - t - p - q - r - s - t - p", {{'A', 58, owner}}, 15},
      {"  " + fifteenMinus + "-p+q", {{'A', 31, owner}}, 15},
      {"5 \xC0 " + fifteenMinus + "-p", {{'A', 33, owner}}, 15},
      // over-long terms first, then the full answer
      {std::string(22, '1') + "t-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p",
       {{'S', 't', owner}, {'A', 51, owner}},
       15},
  };
  parserNotices = {RecordSection, RecordAnswer};
  for (const Case& c : cases) {
    SCOPED_TRACE(Readable(c.line));
    ASSERT_LE(c.line.size(), std::size_t{kMaxLineChars});
    notices.clear();
    ParseEntry(c.line, entry, owner);
    EXPECT_EQ(notices, c.expected);
    EXPECT_EQ(entry.termCount, c.termCount);
  }
}

TEST_F(ParserTest, SixteenthTermIsDropped) {
  EXPECT_EQ(ParseEntry("p+q+r+s+t+p+q+r+s+t+p+q+r+s+t-2u", entry, 0), 0);
  EXPECT_EQ(entry.termCount, kMaxTerms);
  EXPECT_EQ(entry.enteredRow.coef[5], 0);
  EXPECT_EQ(entry.enteredRow.coef[0], 3);
  EXPECT_EQ(TextOf(entry.terms[kMaxTerms]), "");
}

// ---- Numbers ----

TEST_F(ParserTest, ReadNumberTakesTheLeadingDecimal) {
  struct Case {
    std::string_view text;
    bool reads;
    double value;
  };
  const std::string manyNines(400, '9');
  const std::string tiny = "0." + std::string(400, '0') + "1";
  const Case cases[] = {
      {"3p", true, 3},       {"-12.25", true, -12.25},
      {".5", true, 0.5},     {"5.", true, 5},
      {"-.5q", true, -0.5},  {"12 0", true, 12},
      {"1e400", true, 1},    {"9999999999999999999999", true, 9999999999999999999999.0},
      {"", false, 0},        {"-", false, 0},
      {".", false, 0},       {"-.", false, 0},
      {"1.2.3", false, 0},   {"1..2", false, 0},
      {"--5", false, 0},     {"p3", false, 0},
      {" 3", false, 0},      {"+3", false, 0},
      {manyNines, false, 0}, {tiny, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Readable(c.text.substr(0, 30)));
    double value = -7;
    EXPECT_EQ(ReadNumber(c.text, value), c.reads);
    EXPECT_EQ(value, c.reads ? c.value : -7);  // untouched on failure
  }
}

TEST_F(ParserTest, TermCharactersAreDigitsMinusPointAndLetters) {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool term = (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                      std::string_view("PQRSTUVpqrstuv").find(c) != std::string_view::npos;
    EXPECT_EQ(IsTermChar(c), term) << byte;
  }
  EXPECT_EQ(FindFirstOf("3p + 4q", "+-"), 3u);
  EXPECT_EQ(FindFirstOf("3p", "+-"), std::string_view::npos);
  EXPECT_EQ(FindFirstOf("ab\xC0", "\xC1\xC0"), 2u);
}

// ---- Hostile input ----

TEST_F(ParserTest, HostileLinesKeepEveryBound) {
  std::vector<std::string> lines = {
      "3p \xC0 1e400",
      "9999999999999999999999 \xC0 p",
      "3p \xC0 9999999999999999999999",
      "99999999999999999999p + 99999999999999999999q",
      std::string(200, 'p'),
      std::string(200, '-'),
      std::string(200, '1'),
      std::string(200, ' ') + "p",
      std::string(200, '\xC0'),
  };
  std::string plusLine;
  for (int i = 0; i < 100; ++i) plusLine += "p-";
  lines.push_back(plusLine);
  std::string highBytes;
  for (int byte = 0x80; byte <= 0xFF; ++byte) highBytes += static_cast<char>(byte);
  lines.push_back(highBytes);
  for (int byte = 0; byte < 256; ++byte) {
    lines.push_back("3p + 4" + std::string(1, static_cast<char>(byte)) + "q \xC0 5");
    lines.push_back(std::string(1, static_cast<char>(byte)) + "5 \xC0 p");
  }
  parserNotices = {RecordSection, RecordAnswer};
  for (const std::string& line : lines) {
    SCOPED_TRACE(Readable(line.substr(0, 40)));
    CheckEntryFormat(line);
    const int result = ParseEntry(line, entry, 0);
    ExpectBoundsHold(entry, result);
  }
}

TEST_F(ParserTest, LongerInputReadsAsItsFirst77Characters) {
  const std::string lines[] = {
      "3p + 4q + 2r + 5s - 6t + 7p + 8q - 9r + 1s + 2t + 3p - 4q + 5r \xC0 120 + 6s + 7t",
      "p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p-q-r-s-t-p-q-r",
      std::string(76, ' ') + "p \xC0 5",
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(Readable(line));
    ASSERT_GT(line.size(), std::size_t{kMaxLineChars});
    ParsedEntry cut{};
    const int cutResult = ParseEntry(line.substr(0, kMaxLineChars), cut, 0);
    const std::string cutRightSide = rightSideAsTyped.data();
    const int wholeResult = ParseEntry(line, entry, 0);
    EXPECT_EQ(wholeResult, cutResult);
    ExpectSameEntry(entry, cut);
    EXPECT_EQ(rightSideAsTyped.data(), cutRightSide);
    EXPECT_EQ(CheckEntryFormat(line), CheckEntryFormat(line.substr(0, kMaxLineChars)));
  }
}

}  // namespace
