// The format check: one pass over the characters of the field, blanks left out, each judged
// against the one before it and against where it stands relative to the relation.
#include "entry_format.h"

#include "entry_chars.h"

using namespace entry_chars;

namespace {

// The pair rules as data: for each character, the kinds of character that may not follow it
// (blanks left out). After a typed letter no typed letter; after "-" or "." neither the same
// character nor a relation; after "+" no relation (no sign stands before the relation; three "+"
// in a row are refused apart); after a digit anything; after a relation no relation and no
// letter; after every other character (anything pasted) no relation. The line starts as if after
// a NUL, which no field holds: so a relation may not come first either.
constexpr KindTable BuildNotAfterTable() {
  KindTable notAfter{};
  notAfter.fill(kRelationChar);
  for (const char c : kDigits) notAfter[static_cast<unsigned char>(c)] = 0;
  for (const char c : kTypedLetters) notAfter[static_cast<unsigned char>(c)] = kTypedLetter;
  for (int byte = 0; byte < 256; ++byte) {
    if (kKindOf[byte] & kRelationChar) notAfter[byte] = kRelationChar | kTypedLetter;
  }
  notAfter['+'] = kRelationChar;
  notAfter['-'] = kMinus | kRelationChar;
  notAfter['.'] = kPoint | kRelationChar;
  return notAfter;
}
constexpr KindTable kNotAfter = BuildNotAfterTable();
static_assert(kNotAfter['\0'] == kRelationChar, "the start of the line refuses a relation");

// Two "+" in a row pass; a third right after them does not.
constexpr int kMaxPlusesInRow = 2;

// What the check has read of the line so far, blanks left out.
struct FormatScan {
  char previous;      // the last character read; NUL before the first
  int pluses;         // how many "+" in a row end what was read
  int sinceRelation;  // characters read after the relation; -1 while none was read
};

bool FollowsProperly(const FormatScan& scan, CharKinds kinds) {
  // Letters do not meet letters, signs and points do not meet their own kind or a relation,
  // nothing but a digit or a letter stands right before a relation and no letter right after it.
  return (kinds & kNotAfter[static_cast<unsigned char>(scan.previous)]) == 0;
}

bool StandsProperlyRightOfRelation(const FormatScan& scan, CharKinds kinds) {
  // From the second character after the relation on, no sign and no relation character: the
  // right side is a single item.
  return scan.sinceRelation < 1 || (kinds & (kSign | kRelationChar)) == 0;
}

void Advance(FormatScan& scan, char c, CharKinds kinds) {
  // The character becomes the previous one; the run of "+" and the count after the relation go on.
  scan.pluses = c == '+' ? scan.pluses + 1 : 0;
  if (scan.sinceRelation >= 0) {
    ++scan.sinceRelation;
  } else if (kinds & kRelationChar) {
    scan.sinceRelation = 0;
  }
  scan.previous = c;
}

bool TakeChar(FormatScan& scan, char c) {
  // A character other than a blank: proper after the one before it and where it stands, and no
  // third "+" in a row.
  const CharKinds kinds = KindOf(c);
  if (!FollowsProperly(scan, kinds) || !StandsProperlyRightOfRelation(scan, kinds)) return false;
  Advance(scan, c, kinds);
  return scan.pluses <= kMaxPlusesInRow;
}

bool EndsProperly(const FormatScan& scan) {
  // Something was read, and the last character is not "+", "-" or a relation character.
  return scan.previous != '\0' && !Is(scan.previous, kSign | kRelationChar);
}

}  // namespace

bool CheckEntryFormat(std::string_view line) {
  // Blanks do not count. Every other character in turn must stand properly, and the line must
  // end properly; an empty line does not.
  FormatScan scan{'\0', 0, -1};
  for (const char c : FieldText(line)) {
    if (c != ' ' && !TakeChar(scan, c)) return false;
  }
  return EndsProperly(scan);
}
