// The window-free text services: the line-breaking rule of wrapped list-box text, the arithmetic
// of dialog placement, the status-line text and string-table loading.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "string_table.h"
#include "textservices.h"

namespace {

const std::string kBr = "\xE5";

CharWidths UniformWidths(int width) {
  CharWidths widths{};
  widths.fill(width);
  return widths;
}

std::vector<std::string> Wrap(std::string_view text, int usableWidth, const CharWidths& widths) {
  std::vector<std::string> lines;
  ForEachWrappedLine(text, widths, usableWidth,
                     [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

using Lines = std::vector<std::string>;

// Every character 10 pixels wide but two, and mostly a usable width of 60: five characters fit,
// since the sixth brings the sum to the usable width itself.
TEST(WrapNextLine, BreaksLinesByTheWrappingRule) {
  CharWidths widths = UniformWidths(10);
  widths[0xC0] = 30;  // a byte above 127 is measured as itself
  widths['W'] = 100;  // wider than the whole line
  const std::string a159(159, 'a');
  constexpr int kWide = 1000000;
  struct Case {
    const char* name;
    std::string text;
    Lines expected;
    int usableWidth = 60;
  };
  // clang-format off
  const Case cases[] = {
      {"fits on one line", "abc", {"abc"}},
      {"exactly the room", "abcde", {"abcde"}},
      {"overflow inside a word", "ab cdef", {"ab", "cdef"}},
      {"overflow on a blank", "abcde fg", {"abcde", "fg"}},
      {"two blanks after the wrap point", "abcde  fg", {"abcde", " fg"}},
      {"words over several lines", "ab cd ef gh", {"ab cd", "ef gh"}},
      {"forced break", "ab" + kBr + "cd", {"ab", "cd"}},
      {"two forced breaks", "ab" + kBr + kBr + "cd", {"ab", "", "cd"}},
      {"trailing forced break", "ab" + kBr, {"ab"}},
      {"only a forced break", kBr, {""}},
      {"blank between forced breaks", "ab" + kBr + " " + kBr + "cd", {"ab", " ", "cd"}},
      {"blank after a forced break stays", "ab" + kBr + " cd", {"ab", " cd"}},
      {"forced break at the width", "abcde" + kBr + "f", {"abcde", "f"}},
      {"overlong word", "abcdefghijk", {"abcde", "fghij", "k"}},
      {"overlong word after a short one", "ab abcdefghij", {"ab", "abcde", "fghij"}},
      {"blank-led line whose word overflows", "abcde  xxxxxx", {"abcde", "", "xxxxx", "x"}},
      {"empty text", "", {}},
      {"wide high byte", "a\xC0 \xC0\xC0", {"a\xC0", "\xC0\xC0"}, 70},
      {"character wider than the line", "WW a", {"W", "W", "a"}},
      {"no room at all", "ab c", {"a", "b", "c"}, 0},
      {"no room, blank first", " ab", {"", "a", "b"}, -5},
      // a line ends at 159 characters, however wide the room
      {"exactly 159", a159, {a159}, kWide},
      {"159 then a blank", a159 + " b", {a159, "b"}, kWide},
      {"one long word", std::string(200, 'a'), {a159, std::string(41, 'a')}, kWide},
      {"at the last blank", std::string(100, 'a') + " " + std::string(100, 'b'),
       {std::string(100, 'a'), std::string(100, 'b')}, kWide},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Wrap(c.text, c.usableWidth, widths), c.expected);
  }
}

TEST(WrapNextLine, GivesAnEmptyLineAtOrPastTheEnd) {
  std::array<char, kWrapLineSize> line{};
  line[0] = 'x';
  const CharWidths widths = UniformWidths(10);
  EXPECT_EQ(WrapNextLine("abc", 3, widths, 60, line), 3U);
  EXPECT_STREQ(line.data(), "");
  EXPECT_EQ(WrapNextLine("abc", 7, widths, 60, line), 3U);
  EXPECT_EQ(WrapNextLine("abcdefgh", 5, widths, 60, line), 8U);
  EXPECT_STREQ(line.data(), "fgh");
}

// Random texts of blanks, breaks and letters under random widths: every call moves on, no line
// is longer than 159 characters, and the lines with the separators dropped between them give back
// the text (nothing lost or invented).
TEST(WrapNextLine, AlwaysAdvancesAndKeepsEveryCharacter) {
  std::mt19937 random(12345);
  const char alphabet[] = {'a', 'b', ' ', ' ', static_cast<char>(0xE5), 'W'};
  for (int round = 0; round < 2000; ++round) {
    CharWidths widths{};
    for (int& w : widths) w = static_cast<int>(random() % 12);
    int usableWidth = static_cast<int>(random() % 80) - 5;
    std::string text(random() % 400, ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    SCOPED_TRACE(round);

    std::array<char, kWrapLineSize> line{};
    std::string rebuilt;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t next = WrapNextLine(text, pos, widths, usableWidth, line);
      ASSERT_GT(next, pos);
      ASSERT_LE(next, text.size());
      std::string_view got = TextIn(line);
      ASSERT_LE(got.size(), 159U);
      ASSERT_EQ(text.substr(pos, got.size()), got);
      // Only the one separator after the line may be dropped.
      ASSERT_LE(next - pos - got.size(), 1U);
      rebuilt += got;
      if (next - pos > got.size()) rebuilt += text[pos + got.size()];
      pos = next;
    }
    EXPECT_EQ(rebuilt, text);
  }
}

TEST(PlaceDialogPosition, PlacesByCentreOrFractions) {
  struct Case {
    const char* name;
    ScreenRect owner;
    ScreenRect dialog;
    int centre;
    double fx;
    double fy;
    ScreenPoint expected;
  };
  // clang-format off
  const Case cases[] = {
      {"fractions", {0, 0, 640, 480}, {10, 20, 300, 100}, 0, 0.5, 0.85, {170, 323}},
      {"centred", {0, 0, 640, 480}, {10, 20, 300, 100}, 1, 0.0, 0.0, {170, 190}},
      {"centre ignores the fractions", {0, 0, 640, 480}, {10, 20, 300, 100}, -1, 0.1, 0.9,
       {170, 190}},
      {"zero fractions keep the place", {0, 0, 640, 480}, {10, 20, 300, 100}, 0, 0.0, 0.0,
       {10, 20}},
      {"zero fy keeps the top", {0, 0, 640, 480}, {10, 20, 300, 100}, 0, 0.5, 0.0, {170, 20}},
      {"owner away from the corner", {100, 50, 640, 480}, {0, 0, 300, 100}, 1, 0.0, 0.0,
       {270, 240}},
      {"dialog larger than the owner", {0, 0, 200, 100}, {0, 0, 301, 151}, 1, 0.0, 0.0, {-50, -25}},
      {"larger dialog over a moved owner", {100, 100, 200, 100}, {0, 0, 301, 151}, 1, 0.0, 0.0,
       {49, 74}},
      {"truncated toward zero left of the screen", {-300, 0, 101, 100}, {0, 0, 50, 50}, 0, 0.5, 0.0,
       {-274, 0}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenPoint p = PlaceDialogPosition(c.owner, c.dialog, c.centre, c.fx, c.fy);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
  }
}

TEST(BuildStatusText, WritesTheLabelsAndNumbers) {
  struct Case {
    int problemNumber;
    int strikesAllowed;
    int strikes;
    const char* expected;
  };
  const Case cases[] = {
      {2, 3, 1, "Problem: 3  Strikes Allowed: 3  Strikes: 1"},
      {0, 10, 0, "Problem: 1  Strikes Allowed: 10  Strikes: 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::array<char, kStatusTextSize> statusText{};
    SetText(statusText, "old text that is replaced");
    BuildStatusText(statusText, c.problemNumber, c.strikesAllowed, c.strikes);
    EXPECT_EQ(TextIn(statusText), c.expected);
  }
}

TEST(LoadText, GivesAnEmptyTextForAMissingEntry) {
  LoadText(9001);
  EXPECT_STREQ(LoadText(8999), "");
  EXPECT_STREQ(LoadText(-1), "");
}

TEST(LoadText, CutsALongTextAt510Characters) {
  const StringEntry* longest = nullptr;
  for (const StringEntry& entry : AllStrings()) {
    if (longest == nullptr || entry.length > longest->length) longest = &entry;
  }
  if (longest == nullptr || longest->length <= kMaxLoadedChars) {
    GTEST_SKIP() << "no string-table text is longer than " << kMaxLoadedChars << " characters";
  }
  std::string_view loaded = LoadText(longest->id);
  EXPECT_EQ(loaded.size(), static_cast<std::size_t>(kMaxLoadedChars));
  EXPECT_EQ(loaded, std::string_view(longest->text, kMaxLoadedChars));
}

TEST(StringTable, EveryEntryLoadsAndHoldsNoControlBytes) {
  ASSERT_FALSE(AllStrings().empty());
  int previousId = INT_MIN;
  for (const StringEntry& entry : AllStrings()) {
    SCOPED_TRACE(entry.id);
    EXPECT_GT(entry.id, previousId);
    previousId = entry.id;
    std::string_view text(entry.text, static_cast<std::size_t>(entry.length));
    for (char c : text) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "control byte in text";
    EXPECT_EQ(std::string_view(LoadText(entry.id)), text.substr(0, kMaxLoadedChars));
  }
}

}  // namespace
