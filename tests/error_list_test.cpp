// The explanation list of a wrong entry on the printing problem written out by hand: the entry
// redisplayed spaced or compact, the marker lines with labels on alternating lines, the lettered
// sentences and closing lines, compared whole; the explanation's own lines; the largest entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "error_list.h"
#include "parser.h"
#include "printing_fixture.h"

namespace {

using namespace printing_fixture;

const std::string kArrow = "\xD6";
const std::string kStem = "\xD7";
std::string Label(char letter) {
  return std::string("\xD8\xD9") + letter;
}

struct Item {
  std::string text;
  bool wrapped;
  bool operator==(const Item&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Item& item) {
  return out << (item.wrapped ? "wrapped \"" : "as is \"") << item.text << "\"";
}
using Items = std::vector<Item>;

Items ItemsOf(const ErrorList& list) {
  Items items;
  for (int i = 0; i < list.itemCount; ++i) {
    items.push_back({list.items[i].text.data(), list.items[i].wrapped});
  }
  return items;
}

// A marker line: each text at its column, blanks before it.
std::string At(const std::vector<std::pair<int, std::string>>& marks) {
  std::string line;
  for (const auto& [column, text] : marks) {
    line.resize(column, ' ');
    line += text;
  }
  return line;
}

Items Concat(std::vector<Items> parts) {
  Items all;
  for (const Items& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::string kHoursClause =
    "  The working hours resource constraint requires that  the working hours resource be " +
    kAtMost + "4500.";
const std::string kMinimumClause =
    "  The one-sided, one-color page minimum production constraint requires that one-sided, "
    "one-color page minimum production be " +
    kAtLeast + "412500.";
const std::string kMinimumRow = "     p " + kAtLeast + " 412500";

// The list's layout: the entry redisplayed, three marker lines and a blank one, each lettered
// sentence wrapped and followed by a blank line, then the heading and the correct row.
Items Explained(const std::string& redisplay, const std::array<std::string, 3>& markers,
                const std::vector<std::string>& sentences, const std::string& row,
                const std::string& heading = "The correct constraint is as follows:") {
  Items items = {{redisplay, false}};
  for (const std::string& marker : markers) items.push_back({marker, false});
  items.push_back({"", false});
  for (const std::string& sentence : sentences) {
    items.push_back({sentence, true});
    items.push_back({"", false});
  }
  return Concat({items, {{"", true}, {heading, true}, {"", true}, {row, true}}});
}

// «0.0033p + 0.0067q + 60r ≤ 4000» for the working hours: a parameter in the wrong place and a
// right side that is none. Spaced; the markers sit under "0" of 60r and the second "0" of 4000.
ParsedEntry HoursEntry() {
  return MakeEntry({{"0.0033p", 0.0033, 0, 0}, {"0.0067q", 0.0067, 1, 0}, {"60r", 60, 2, 0}}, 5,
                   4000);
}
Items HoursItems() {
  return Explained(
      "0.0033p + 0.0067q + 60r  " + kAtMost + "   4000",
      {At({{21, kArrow}, {30, kArrow}}), At({{21, Label('A')}, {30, kStem}}),
       At({{30, Label('B')}})},
      {"A. The value 60 refers to the number of one-sided, four-color pages printed in one hour.  "
       "The working hours resource constraint requires the  coefficient 0.01667 on the variable "
       "r, which refers to the number of hours to print a single one-sided, four-color page.",
       "B. The value 4000 is not a parameter of this problem." + kHoursClause},
      "     0.00333p + 0.00667q + 0.01667r " + kAtMost + " 4500");
}

// An objective entry of 76 estimated characters: compact, r left out, neighbouring markers with
// their labels on alternating lines.
const std::string kLongP = "0.0300000000000000p";   // 19 characters
const std::string kLongQ = "-0.0600000000000000q";  // 20 with its minus
const std::string kNumber = "12345678901234567890";
ParsedEntry LongObjectiveEntry(const std::string& last) {
  return MakeEntry(
      {{kLongP, 0.03, 0, 0}, {kLongQ, -0.06, 1, 0}, {kNumber, 0, -1, 1}, {last, 0, -1, 1}});
}
Items LongObjectiveItems() {
  return Explained(
      kLongP + "-" + kLongQ.substr(1) + "+" + kNumber + "-987+?",
      {At({{29, kArrow}, {49, kArrow}, {62, kArrow}, {65, kArrow}}),
       At({{29, Label('A')}, {49, kStem}, {62, Label('C')}, {65, kStem}}),
       At({{49, Label('B')}, {65, Label('D')}})},
      {"A. The value -0.06 in " + kLongQ + " should be positive.",
       "B. No variable was found in the term " + kNumber + ".",
       "C. No variable was found in the term -987.",
       "D. By omitting the variable r from your formulation, you have implied that it has a "
       "coefficient of 0.  The objective function requires the variable r to have the "
       "coefficient 0.19, which refers to the cost to print a one-sided, four-color page."},
      "     Minimize: 0.03p + 0.06q + 0.19r", "The correct objective function is as follows:");
}

// «p ≥ 12 0» for the page minimum: a right side that is no number, shown as typed, its marker
// under the middle of the text.
ParsedEntry RejectedEntry() {
  ParsedEntry entry = MakeEntry({{"p", 1, 0, 0}}, 4);
  entry.terms[kRhsSlot].status = kRhsRejected;
  SetText(entry.terms[kRhsSlot].text, "12 0");
  return entry;
}
Items RejectedItems() {
  return Explained("p  " + kAtLeast + "   12 0",
                   {At({{8, kArrow}}), At({{8, Label('A')}}), "        "},
                   {"A. The right hand side of your formulation did not contain a valid number." +
                    kMinimumClause},
                   kMinimumRow);
}

// «p ≥ 0.0»: the right side is refused by the diagnosis and shown as typed.
Items ZeroItems() {
  Items items = RejectedItems();
  items[0].text = "p  " + kAtLeast + "   0.0";
  items[5].text = "A. The RHS value is incorrect." + kMinimumClause;
  return items;
}

// Diagnoses the entry and builds its error list alone.
Items ErrorListOf(int target, ParsedEntry entry, std::string_view typed, int entryStep) {
  const Formulation f = PrintingFormulation();
  const ParameterTable parameters = PrintingParameters();
  static Diagnosis diagnosis;
  static ErrorList list;
  list.itemCount = 0;
  DiagnoseEntry(target, entry, f, parameters, entryStep, diagnosis);
  BuildErrorList(entry, typed, diagnosis, list);
  return ItemsOf(list);
}

TEST(BuildErrorList, RedisplaysMarksAndLettersTheFaultsOfAnEntry) {
  struct Case {
    const char* name;
    int target;
    ParsedEntry entry;
    std::string typed;  // the right side as typed
    int entryStep;
    Items items;
  };
  // clang-format off
  const Case cases[] = {
      {"spaced, a term and the right side", kWorkingHours, HoursEntry(), "4000", 3, HoursItems()},
      {"compact, labels alternating", kObjective, LongObjectiveEntry("-987"), "", 1,
       LongObjectiveItems()},
      {"constraint without relation and right side", kPageMinimum, MakeEntry({{"p", 1, 0, 0}}), "",
       2, Explained("p  ?    ?", {At({{3, kArrow}, {8, kArrow}}), At({{3, Label('A')}, {8, kStem}}),
                  At({{8, Label('B')}})}, {"A. You have not entered the relation." + kMinimumClause,
                  "B. You have not entered the RHS value." + kMinimumClause}, kMinimumRow)},
      {"a right side of 0 shown as typed", kPageMinimum, MakeEntry({{"p", 1, 0, 0}}, 4, 0), "0.0",
       2, ZeroItems()},
      {"a right side that is no number", kPageMinimum, RejectedEntry(), "12 0", 2, RejectedItems()},
      {"without the typed text, the refused text", kPageMinimum, RejectedEntry(), "", 2,
       RejectedItems()},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorListOf(c.target, c.entry, c.typed, c.entryStep), c.items);
  }
}

// The same lists from lines the parser reads.
TEST(BuildErrorList, ExplainsParsedLines) {
  struct Case {
    const char* name;
    int target;
    std::string line;
    int entryStep;
    Items items;
  };
  const Case cases[] = {
      {"working hours", kWorkingHours, "0.0033p + 0.0067q + 60r " + kAtMost + " 4000", 3,
       HoursItems()},
      {"a right side of 0", kPageMinimum, "p " + kAtLeast + " 0.0", 2, ZeroItems()},
      {"a right side that is no number", kPageMinimum, "p " + kAtLeast + " 12 0", 2,
       RejectedItems()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParsedEntry entry{};
    ASSERT_EQ(ParseEntry(c.line, entry, 0), 0);
    EXPECT_EQ(ErrorListOf(c.target, entry, rightSideAsTyped.data(), c.entryStep), c.items);
  }
}

TEST(BuildErrorList, DropsTheBlanksAroundSeparatorsBeyondSeventyFiveCharacters) {
  struct Case {
    const char* name;
    std::string last;
    std::string redisplay;
  };
  const Case cases[] = {
      {"75: spaced", "-98", kLongP + " - " + kLongQ.substr(1) + " + " + kNumber + " - 98 + ?     "},
      {"76: compact", "-987", kLongP + "-" + kLongQ.substr(1) + "+" + kNumber + "-987+?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Items items = ErrorListOf(kObjective, LongObjectiveEntry(c.last), "", 1);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0], (Item{c.redisplay, false}));
  }
}

TEST(PlaceMarker, PutsLabelsOnAlternatingLinesAndNeverShortensALine) {
  struct Mark {
    int p;
    int h;
    int n;
  };
  struct Case {
    const char* name;
    std::vector<Mark> marks;
    std::string lines[3];
  };
  // clang-format off
  const Case cases[] = {
      {"even: label on the second line", {{3, 2, 0}},
       {"    " + kArrow, "    " + Label('A'), "    "}},
      {"odd: stem, label on the third line", {{0, 1, 0}, {5, 1, 1}},
       {kArrow + "    " + kArrow, Label('A') + "  " + kStem, "     " + Label('B')}},
      {"a label wider than the gap pushes the next mark along", {{0, 1, 0}, {1, 1, 1}, {2, 1, 2}},
       {kArrow + kArrow + kArrow, Label('A') + kStem + Label('C'), " " + Label('B')}},
      {"the relation slot falls one column before p", {{10, 0, 0}},
       {std::string(9, ' ') + kArrow, std::string(9, ' ') + Label('A'), std::string(9, ' ')}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MarkerLines lines{};
    for (const Mark& m : c.marks) PlaceMarker(lines, m.p, m.h, m.n);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(std::string(lines[k].data()), c.lines[k]) << k;
  }
}

TEST(BuildExplanation, NamesTheConstraintAndClosesWithTheNote) {
  const Items kNote = {
      {" ", false}, {" ", false}, {"NOTE : All Constraints must be on Right hand side", false}};
  struct Case {
    const char* name;
    int chosen;
    ParsedEntry entry;
    std::string typed;
    int entryStep;
    Items items;
  };
  const Items kHeading = {
      {"", false},
      {"It appears that you were entering the constraint for the working hours resource.", true},
      {"", false}};
  const Case cases[] = {
      {"a constraint", kWorkingHours, HoursEntry(), "4000", 3,
       Concat({kHeading, HoursItems(), kNote})},
      {"the objective function", kObjective, LongObjectiveEntry("-987"), "", 1,
       Concat({{{"", false}, {"", false}}, LongObjectiveItems(), kNote})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Formulation f = PrintingFormulation();
    const ParameterTable parameters = PrintingParameters();
    ProblemProgress progress{};
    progress.chosenConstraint = c.chosen;
    progress.entryStep = c.entryStep;
    ParsedEntry entry = c.entry;
    static Diagnosis diagnosis;
    static ErrorList list;
    list.itemCount = 5;  // whatever an earlier explanation left
    BuildExplanation(entry, c.typed, f, parameters, progress, diagnosis, list);
    EXPECT_EQ(ItemsOf(list), c.items);
    for (int i = 0; i < kMaxConstraints; ++i) {
      EXPECT_EQ(progress.constraintEntered[i], i == c.chosen ? 1 : 0) << i;
    }
  }
}

// Fifteen faulty terms of 20 characters, seven variables left out, a wrong relation and a right
// side that is no number: the diagnosis keeps all 24 sentences, each whole, and every item of the
// list is built with nothing cut.
TEST(BuildExplanation, BuildsTheLargestEntryWhole) {
  Formulation f = PrintingFormulation();
  f.variableCount = 7;
  f.constraints[0].coef = {1, 2, 3, 4, 5, 6, 7, 0};
  f.constraints[0].relation = 5;
  f.constraints[0].rhs = 100;
  const std::string kRhs = "12 34567890123456789";
  ParsedEntry entry = MakeEntry(std::vector<ParsedTerm>(kMaxTerms, {kNumber, 0, -1, 1}), 4);
  entry.terms[kRhsSlot].status = kRhsRejected;
  SetText(entry.terms[kRhsSlot].text, kRhs);
  ProblemProgress progress{};
  progress.chosenConstraint = 0;
  progress.entryStep = 3;
  static Diagnosis diagnosis;
  static ErrorList list;
  BuildExplanation(entry, kRhs, f, PrintingParameters(), progress, diagnosis, list);

  ASSERT_EQ(list.itemCount, kMaxListItems);
  Items items = ItemsOf(list);
  std::string redisplay = kNumber;
  for (int i = 1; i < kMaxTerms; ++i) redisplay += "+" + kNumber;
  for (int j = 0; j < kLetterSlots; ++j) redisplay += "+?";
  EXPECT_EQ(items[3], (Item{redisplay + kAtLeast + kRhs, false}));

  // Arrows under the middle of every term, each "?", the relation and the right side.
  std::vector<std::pair<int, std::string>> arrows;
  for (int i = 0; i < kMaxTerms; ++i) arrows.push_back({21 * i + 9, kArrow});
  for (int j = 0; j < kLetterSlots; ++j) arrows.push_back({315 + 2 * j, kArrow});
  arrows.push_back({328, kArrow});
  arrows.push_back({339, kArrow});
  EXPECT_EQ(items[4].text, At(arrows));
  // Every letter A to X labels one marker on the second or third line, the last one at 339.
  for (int n = 0; n < kMaxSentences; ++n) {
    SCOPED_TRACE(n);
    const std::string& line = items[n % 2 == 0 ? 5 : 6].text;
    EXPECT_NE(line.find(Label(static_cast<char>('A' + n))), std::string::npos);
  }
  EXPECT_EQ(items[6].text.substr(339), Label('X'));

  // Each sentence whole behind its letter, then the closing lines and the note.
  const std::string kClause =
      "  The one-sided, one-color page minimum production constraint requires that one-sided, "
      "one-color page minimum production be " +
      kAtMost + "100.";
  std::vector<std::string> sentences(kMaxTerms,
                                     "No variable was found in the term " + kNumber + ".");
  for (int j = 0; j < kLetterSlots; ++j) {
    const std::string letter(1, "pqrstuv"[j]);
    sentences.push_back(
        "By omitting the variable " + letter +
        " from your formulation, you have implied that it has a coefficient of 0.  The "
        "one-sided, one-color page minimum production constraint requires the variable " +
        letter + " to have the coefficient " + std::to_string(j + 1) + ", which refers to the " +
        (j == 0 ? "implied value assigned to each variable of which only a single unit is needed "
                  "in the constraint"
                : "number the correct formulation requires") +
        ".");
  }
  sentences.push_back("The relation is incorrect." + kClause);
  sentences.push_back("The right hand side of your formulation did not contain a valid number." +
                      kClause);
  ASSERT_EQ(sentences.size(), static_cast<std::size_t>(kMaxSentences));
  for (int k = 0; k < kMaxSentences; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(items[8 + 2 * k], (Item{std::string(1, static_cast<char>('A' + k)) + ". " +
                                          sentences[static_cast<std::size_t>(k)],
                                      true}));
    EXPECT_EQ(items[9 + 2 * k], (Item{"", false}));
  }
  EXPECT_EQ(items[8 + 2 * kMaxSentences + 1],
            (Item{"The correct constraint is as follows:", true}));
  EXPECT_EQ(items[8 + 2 * kMaxSentences + 3],
            (Item{"     p + 2q + 3r + 4s + 5t + 6u + 7v " + kAtMost + " 100", true}));
  EXPECT_EQ(items.back(), (Item{"NOTE : All Constraints must be on Right hand side", false}));
}

}  // namespace
