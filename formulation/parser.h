// The equation parser: the parse of a typed line into a ParsedEntry (terms, per-slot sums,
// relation, right-hand side). The entry panel calls it after the format check (entry_format.h,
// included here); the matcher and the diagnosis read what the parse left, the error list the right
// side as typed.
//
// A line is the text of the entry field: at most kMaxLineChars characters, ending at its first NUL
// byte as the field's zero-terminated text does. ParseEntry works on that much of whatever it is
// given, so a longer or NUL-holding view is safe and reads as its first kMaxLineChars characters
// up to the NUL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "entry_format.h"
#include "formulation_model.h"

// The parser reports two overflows to the student; the entry panel fills these in so that the
// notices open as dialogs owned by it. Either may be left empty (null), and both are by default.
using NoticeOwner = std::uintptr_t;
struct ParserNotices {
  // Once per term longer than kMaxTermChars, in term order, before answerTooLong. letter is the
  // first of "PQRSTUVpqrstuv" (in that order) that occurs in the term, 0 when the term has none.
  void (*sectionTooLong)(NoticeOwner owner, char letter);
  // When the fifteenth term was read: how many characters of the line were kept.
  void (*answerTooLong)(NoticeOwner owner, unsigned charactersKept);
};
extern ParserNotices parserNotices;

// The right-hand side as the student typed it: the right side's text after its leading non-term
// characters, trailing blanks dropped; empty when the line has no relation. Every parse rewrites
// it, whether or not the value was valid, so that a value refused later (a right-hand side of 0)
// can still be shown as typed.
extern std::array<char, kLineBufferSize> rightSideAsTyped;

// Rebuilds the entry from the line. Returns the number of erroneous terms, or -1 when the line
// holds nothing but blanks. Never rejects a line: what it cannot read becomes a flag. Reports
// over-long terms and a full set of terms through parserNotices, with owner passed on.
int ParseEntry(std::string_view line, ParsedEntry& entry, NoticeOwner owner);

// The text whose terms are read, as SplitRelation leaves it: where it starts in the line and the
// text itself (a view into the line).
struct LeftText {
  std::size_t origin;
  std::string_view text;
};

// Finds the relation, reads the right-hand side into entry (relation, rhs, rhsValid, and the
// right-hand-side slot when the value is refused), writes the right side as typed into asTyped,
// and returns the left text. The terms are typed left of the relation, or right of it when
// nothing but a number stands on the left («120 ≥ 3p»: the relation is then mirrored).
LeftText SplitRelation(std::string_view line, ParsedEntry& entry, std::span<char> asTyped);

// What ScanTermVariables found: the syntax flags, and the slot of the term's variable (-1 when it
// has no variable letter or more than one).
struct TermScan {
  std::uint32_t flags;
  int slot;
};

// Looks at the variable letters and coefficient characters of a term (without its sign). Marks
// the slot as seen in entry when nothing was wrong.
TermScan ScanTermVariables(std::string_view term, ParsedEntry& entry);

// Reads the coefficient of a cleanly scanned term with variable slot 0..6 into coef and adds it
// to the slot's sum in entry. Returns the flags: 0, or 8 for a coefficient after the variable,
// with 16 added when the coefficient is not a number (coef and the sums then untouched). A term
// without a variable letter, or a slot outside 0..6, gives 1 and changes nothing.
std::uint32_t ReadTermCoefficient(std::string_view term, bool negative, int slot,
                                  ParsedEntry& entry, double& coef);

// Reads a number at the start of the text: an optional "-", digits, an optional ".", digits.
// Characters after it are ignored. False for «-», «.», «1.2.3» and for a number beyond the range
// of a double (either way: 400 digits, or 400 zeros after the point); value is only written on
// success. The point is always ".", whatever the locale.
bool ReadNumber(std::string_view text, double& value);

// A digit, "-", "." or one of the variable letters "PQRSTUVpqrstuv".
bool IsTermChar(char c);

// Position of the first character of the text that occurs in the set, or npos.
std::size_t FindFirstOf(std::string_view text, std::string_view set);
