#include "parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "entry_chars.h"

using namespace entry_chars;

ParserNotices parserNotices{nullptr, nullptr};
std::array<char, kLineBufferSize> rightSideAsTyped{};

namespace {

// Copies text into buffer, cut at its end, always terminated.
void PutText(std::span<char> buffer, std::string_view text) {
  if (buffer.empty()) return;
  const std::size_t kept = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.data(), kept, buffer.data());
  buffer[kept] = '\0';
}

// ---- The right-hand side ----

// Where the relation stands, and whether a variable letter stands left of it.
struct RelationPlace {
  std::size_t at;  // the first relation character, npos without one
  bool letterBefore;
};

RelationPlace FindRelation(std::string_view line) {
  // One pass up to the first relation character, noting the variable letters on the way.
  RelationPlace place{npos, false};
  for (std::size_t i = 0; i < line.size(); ++i) {
    const CharKinds kinds = KindOf(line[i]);
    if (kinds & kRelationChar) {
      place.at = i;
      return place;
    }
    place.letterBefore |= (kinds & kVariableLetter) != 0;
  }
  return place;
}

bool IsMirroredForm(bool letterBefore, std::string_view after) {
  // Nothing but a number left of the relation and a variable right of it («120 ≥ 3p»).
  return !letterBefore && AnyOf(after, IsVariableLetter);
}

std::string_view MirroredRightSide(std::string_view before) {
  // The first run of term characters left of the relation.
  const std::size_t start = FirstOf(before, IsTermChar);
  if (start == npos) return {};
  const std::string_view run = before.substr(start);
  return run.substr(0, FirstOf(run, IsNotTermChar));
}

std::string_view NormalRightSide(std::string_view after) {
  // The rest of the line after the relation, less its leading non-term characters (a "+" or a
  // blank) and its trailing blanks.
  const std::size_t start = FirstOf(after, IsTermChar);
  if (start == npos) return {};
  const std::string_view text = after.substr(start);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

bool StartsSecondItem(std::string_view text, std::size_t i) {
  // A blank with something other than a blank right after it.
  return text[i] == ' ' && i + 1 < text.size() && text[i + 1] != ' ';
}

// What the right side holds besides its number.
enum class RightSideItems { kNumberOnly, kOtherCharacters, kStrayItems };

RightSideItems ItemsOf(std::string_view text) {
  // A second item after a blank («12 0»), a letter, or another relation is a stray item: no value
  // is read. Any other character that no number holds spoils the value read.
  RightSideItems items = RightSideItems::kNumberOnly;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (Is(text[i], kTypedLetter | kRelationChar) || StartsSecondItem(text, i)) {
      return RightSideItems::kStrayItems;
    }
    if (IsNotNumberChar(text[i])) items = RightSideItems::kOtherCharacters;
  }
  return items;
}

void RejectRightSide(std::string_view text, ParsedEntry& entry) {
  // The right-hand-side slot shows the text; its status marks it refused unless nothing was typed.
  if (text.empty()) return;
  EntryTerm& slot = entry.terms[kRhsSlot];
  slot.status = kRhsRejected;
  PutText(slot.text, text);
}

void ValidateRightSide(std::string_view text, bool numberOnly, ParsedEntry& entry) {
  // A number that ReadNumber reads and that holds nothing but number characters is the value;
  // a value read before a stray character was found stays as rhs, but is not valid.
  double value = 0;
  const bool read = ReadNumber(text, value);
  if (read) entry.enteredRow.rhs = value;
  if (read && numberOnly) {
    entry.rhsValid = 1;
    return;
  }
  RejectRightSide(text, entry);
}

// ---- Cutting the left text into terms ----

// Where one term lies in the text whose terms are read.
struct TermPlace {
  std::size_t start;  // its first character, after its sign
  std::size_t end;    // one past its last: the sign that ends it, or the end of the text
  std::size_t next;   // where the next term starts: after a "+", or at the "-" that is its sign
  bool negative;
};

std::size_t FindTermStart(std::string_view text, std::size_t from, bool& negative) {
  // Skip what is neither a term character nor a sign. A "+" or "-" met first is passed over and
  // the scan starts again after it, the "-" making the term negative (two do not cancel). A term
  // character met starts the term at the scan's starting point. The end: the term is empty.
  std::size_t scanStart = from;
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (IsSign(c)) {
      if (c == '-') negative = true;
      scanStart = i + 1;
    } else if (IsTermChar(c)) {
      return scanStart;
    }
  }
  return text.size();
}

TermPlace PlaceTerm(std::string_view text, std::size_t pos) {
  // A term runs from its sign (a "-" at pos makes it negative) to the first "+" or "-" after its
  // start, or to the end of the text.
  bool negative = text[pos] == '-';
  if (negative) ++pos;
  const std::size_t start = FindTermStart(text, pos, negative);
  const std::size_t found = FirstOf(text.substr(start), IsSign);
  if (found == npos) return {start, text.size(), text.size(), negative};
  const std::size_t end = start + found;
  return {start, end, text[end] == '+' ? end + 1 : end, negative};
}

// ---- One term ----

std::string_view StripBlanks(std::string_view term) {
  // Leading and trailing blanks go.
  const std::size_t first = term.find_first_not_of(' ');
  if (first == npos) return {};
  return term.substr(first, term.find_last_not_of(' ') - first + 1);
}

char FirstLetterInOrder(std::string_view term) {
  for (int k = 0; kVariableLetters[k] != '\0'; ++k) {
    if (term.find(kVariableLetters[k]) != npos) return kVariableLetters[k];
  }
  return '\0';
}

std::string_view CutOverlongTerm(std::string_view term, ParsedEntry& entry, NoticeOwner owner) {
  // A term of more than 20 characters is cut to 20; the student is told, with its first letter.
  if (term.size() <= kMaxTermChars) return term;
  entry.overlongVariable = FirstLetterInOrder(term);
  if (parserNotices.sectionTooLong != nullptr) {
    parserNotices.sectionTooLong(owner, entry.overlongVariable);
  }
  return term.substr(0, kMaxTermChars);
}

void StoreTermText(EntryTerm& stored, bool negative, std::string_view term) {
  // "-" for a negative term, then the term; 20 characters in all.
  std::size_t at = 0;
  if (negative) stored.text[at++] = '-';
  PutText(std::span<char>(stored.text).subspan(at), term);
}

// Where a term's variable letter and its coefficient stand, and what is wrong with them, as one
// pass over the term (without its sign) finds them.
struct TermShape {
  std::size_t letterAt;      // the first variable letter, npos without one
  std::size_t numberBefore;  // the first term character before that letter, npos without one
  std::size_t numberAfter;   // the first term character after that letter, npos without one
  std::uint32_t flags;       // kFlagManyVariables, kFlagManyCoefficients
};

void ShapeBeforeLetter(TermShape& shape, std::string_view term, std::size_t i) {
  // The first term character before the letter opens the coefficient; a later one that does not
  // continue a number («3 4p») is a second coefficient.
  if (shape.numberBefore == npos) {
    shape.numberBefore = i;
  } else if (!ContinuesNumber(term[i - 1])) {
    shape.flags |= kFlagManyCoefficients;
  }
}

void ShapeAfterLetter(TermShape& shape, std::string_view term, std::size_t i) {
  // A later variable letter that is another character (case counts) is a second variable. After
  // a coefficient before the letter nothing more may follow («3p4»); without one, the first term
  // character after the letter opens a trailing coefficient, which later ones must continue.
  if (IsVariableLetter(term[i]) && term[i] != term[shape.letterAt]) {
    shape.flags |= kFlagManyVariables;
  }
  if (shape.numberBefore != npos) {
    shape.flags |= kFlagManyCoefficients;
  } else if (shape.numberAfter == npos) {
    shape.numberAfter = i;
  } else if (!ContinuesNumber(term[i - 1])) {
    shape.flags |= kFlagManyCoefficients;
  }
}

TermShape ShapeOf(std::string_view term) {
  // Each term character in turn: the first variable letter, or one before or after it.
  TermShape shape{npos, npos, npos, 0};
  for (std::size_t i = 0; i < term.size(); ++i) {
    if (!IsTermChar(term[i])) continue;
    if (shape.letterAt != npos) {
      ShapeAfterLetter(shape, term, i);
    } else if (IsVariableLetter(term[i])) {
      shape.letterAt = i;
    } else {
      ShapeBeforeLetter(shape, term, i);
    }
  }
  return shape;
}

TermScan ScanVariables(std::string_view term, const TermShape& shape, ParsedEntry& entry) {
  // The first variable letter names the term's variable. Without one the term is a bare number,
  // or not even that.
  if (shape.letterAt == npos) {
    double unused = 0;
    return {ReadNumber(term, unused) ? kFlagNoVariable : kFlagNoVariable | kFlagBadNumber, -1};
  }
  TermScan scan{shape.flags, SlotOf(term[shape.letterAt])};
  if (scan.flags & kFlagManyVariables) scan.slot = -1;
  if (scan.flags == 0) entry.variableSeen[static_cast<std::size_t>(scan.slot)] = 1;
  return scan;
}

void AddCoefficient(ParsedEntry& entry, int slot, double value) {
  // A slot whose sum is already non-zero is named again.
  if (entry.enteredRow.coef[slot] != 0) entry.variableRepeated[slot] = 1;
  entry.enteredRow.coef[slot] += value;
}

std::uint32_t ReadCoefficient(std::string_view term, const TermShape& shape, bool negative,
                              int slot, ParsedEntry& entry, double& coef) {
  // A number before the letter is the coefficient; else one after it (a convention warning);
  // else 1. A negative term negates it.
  if (shape.letterAt == npos || slot < 0 || slot >= kLetterSlots) return kFlagNoVariable;
  double value = 1;
  std::uint32_t flags = 0;
  if (shape.numberBefore != npos) {
    if (!ReadNumber(term.substr(shape.numberBefore), value)) return kFlagBadNumber;
  } else if (shape.numberAfter != npos) {
    flags = kFlagCoefficientAfter;
    if (!ReadNumber(term.substr(shape.numberAfter), value)) return flags | kFlagBadNumber;
  }
  coef = negative ? -value : value;
  AddCoefficient(entry, slot, coef);
  return flags;
}

void ReadTerm(std::string_view text, bool negative, EntryTerm& stored, ParsedEntry& entry,
              NoticeOwner owner) {
  // A term's text, variable, flags and coefficient.
  entry.termNegative = negative ? 1 : 0;
  const std::string_view term = CutOverlongTerm(StripBlanks(text), entry, owner);
  StoreTermText(stored, negative, term);
  const TermShape shape = ShapeOf(term);
  const TermScan scan = ScanVariables(term, shape, entry);
  std::uint32_t flags = scan.flags;
  stored.var = scan.slot;
  if (flags == 0) flags = ReadCoefficient(term, shape, negative, scan.slot, entry, stored.coef);
  stored.status = flags << 8;
}

// ---- The whole line ----

struct TermsRead {
  int count;
  int errors;
  std::size_t lastSignAt;  // the sign that ended the last term read, npos at the text's end
};

TermsRead ReadTerms(const LeftText& left, ParsedEntry& entry, NoticeOwner owner) {
  // Terms while text remains, fifteen at most; each with flags other than 0 or 8 is an error.
  // left.origin tells a place in the text as a place in the line.
  TermsRead read{0, 0, npos};
  std::size_t pos = 0;
  while (pos < left.text.size() && read.count < kMaxTerms) {
    const TermPlace place = PlaceTerm(left.text, pos);
    EntryTerm& stored = entry.terms[static_cast<std::size_t>(read.count)];
    ReadTerm(left.text.substr(place.start, place.end - place.start), place.negative, stored, entry,
             owner);
    if (IsTermError(TermFlags(stored.status))) ++read.errors;
    read.lastSignAt = place.end < left.text.size() ? left.origin + place.end : npos;
    pos = place.next;
    ++read.count;
  }
  return read;
}

void ResetEntry(ParsedEntry& entry) {
  // Nothing of the previous line survives: every term, the sums, relation, flags and counts.
  // Each member is named (the binding does not compile if the record gains or loses one) and
  // set once.
  auto& [enteredRow, terms, termCount, rhsValid, variableSeen, variableRepeated, termNegative,
         overlongVariable] = entry;
  enteredRow = FormulationRow{{}, kRelationNone, kEmptyRhs};
  // The terms one record after the other, in plain stores (quicker here than one string
  // instruction over the whole kilobyte), without a loop counter between them.
#pragma GCC unroll kTermSlots
  for (EntryTerm& term : terms) term = EntryTerm{};
  termCount = 0;
  rhsValid = 0;
  variableSeen.fill(0);
  variableRepeated.fill(0);
  termNegative = 0;
  overlongVariable = '\0';
}

void ReportFullAnswer(NoticeOwner owner, std::size_t charactersKept) {
  // Fifteen terms were read: the student learns how much of the line was kept.
  if (parserNotices.answerTooLong != nullptr) {
    parserNotices.answerTooLong(owner, static_cast<unsigned>(charactersKept));
  }
}

}  // namespace

int ParseEntry(std::string_view line, ParsedEntry& entry, NoticeOwner owner) {
  // From nothing: reset, give up on a blank line, split off the relation and the right-hand side,
  // read the terms, tell the student when the fifteenth was read.
  ResetEntry(entry);
  PutText(rightSideAsTyped, "");
  const std::string_view field = FieldText(line);
  const std::size_t first = FirstOf(field, IsNotBlank);
  if (first == npos) return -1;
  const LeftText left = SplitRelation(field.substr(first), entry, rightSideAsTyped);
  const TermsRead read = ReadTerms({first + left.origin, left.text}, entry, owner);
  if (read.count == kMaxTerms) {
    ReportFullAnswer(owner, read.lastSignAt == npos ? field.size() : read.lastSignAt);
  }
  entry.termCount = read.count;
  return read.errors;
}

LeftText SplitRelation(std::string_view line, ParsedEntry& entry, std::span<char> asTyped) {
  PutText(asTyped, "");
  // Only the first relation character counts; without one the whole line holds the terms.
  const RelationPlace relation = FindRelation(line);
  const std::size_t at = relation.at;
  if (at == npos) return {0, line};
  const std::string_view before = line.substr(0, at);
  const std::string_view after = line.substr(at + 1);
  entry.enteredRow.relation = RelationCodeOf(line[at]);
  if (IsMirroredForm(relation.letterBefore, after)) {
    entry.enteredRow.relation = MirrorRelation(RelationCodeOf(line[at]));
    const std::string_view rightSide = MirroredRightSide(before);
    PutText(asTyped, rightSide);
    ValidateRightSide(rightSide, !AnyOf(rightSide, IsNotNumberChar), entry);
    return {at + 1, after};
  }
  const std::string_view rightSide = NormalRightSide(after);
  PutText(asTyped, rightSide);
  const RightSideItems items = ItemsOf(rightSide);
  if (items == RightSideItems::kStrayItems) {
    RejectRightSide(rightSide, entry);
  } else {
    ValidateRightSide(rightSide, items == RightSideItems::kNumberOnly, entry);
  }
  return {0, before};
}

TermScan ScanTermVariables(std::string_view term, ParsedEntry& entry) {
  return ScanVariables(term, ShapeOf(term), entry);
}

std::uint32_t ReadTermCoefficient(std::string_view term, bool negative, int slot,
                                  ParsedEntry& entry, double& coef) {
  return ReadCoefficient(term, ShapeOf(term), negative, slot, entry, coef);
}

namespace {

// Up to this many digits, the digits of a number read as one integer stay below 2^53, so a double
// holds that integer exactly, and the power of ten that scales it down as well.
constexpr std::size_t kMaxExactDigits = 15;
constexpr std::array<double, kMaxExactDigits + 1> kPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// A run of digits: where it ends, how many digits it holds, and the digits read so far (those
// before it, then its own) as one integer. Beyond kMaxExactDigits digits the integer is not
// exact (it may even wrap around) and is not used.
struct DigitRun {
  std::size_t end;
  std::size_t count;
  std::uint64_t value;
};

DigitRun ReadDigits(std::string_view text, std::size_t from, std::uint64_t value) {
  // The digits from `from` on, each appended to value as its next decimal place.
  std::size_t i = from;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  return {i, i - from, value};
}

// The longest prefix of the form: an optional "-", digits, an optional ".", digits: its length,
// its digits, how many of them follow the point, and all of them as one integer.
struct NumberPrefix {
  std::size_t length;
  std::size_t digits;
  std::size_t fractionDigits;
  std::uint64_t digitValue;
};

NumberPrefix ScanNumberPrefix(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const DigitRun whole = ReadDigits(text, i, 0);
  i = whole.end;
  if (i < text.size() && text[i] == '.') ++i;
  const DigitRun fraction = ReadDigits(text, i, whole.value);
  return {fraction.end, whole.count + fraction.count, fraction.count, fraction.value};
}

bool ConvertDecimal(std::string_view text, const NumberPrefix& prefix, double& value) {
  // Locale-independent conversion. A number of at most 15 digits is its digits as one integer
  // divided by ten to the number of its fraction digits: both operands are exact, so the
  // division, rounded once to nearest, gives the double nearest to the number, the very value
  // from_chars gives. A longer number is left to from_chars. A number beyond the range of a
  // double (no line of 77 characters holds one) fails rather than become infinite.
  if (prefix.digits <= kMaxExactDigits) {
    const double magnitude =
        static_cast<double>(prefix.digitValue) / kPowersOfTen[prefix.fractionDigits];
    value = text.front() == '-' ? -magnitude : magnitude;
    return true;
  }
  double converted = 0;
  const char* const end = text.data() + prefix.length;
  const auto [ptr, ec] = std::from_chars(text.data(), end, converted, std::chars_format::fixed);
  if (ec != std::errc{} || ptr != end || !std::isfinite(converted)) return false;
  value = converted;
  return true;
}

}  // namespace

bool ReadNumber(std::string_view text, double& value) {
  const NumberPrefix prefix = ScanNumberPrefix(text);
  // A second point right after the number («1.2.3») spoils it.
  if (prefix.length < text.size() && text[prefix.length] == '.') return false;
  // A prefix without a digit («-», «.», «-.») is no number.
  if (prefix.digits == 0) return false;
  return ConvertDecimal(text, prefix, value);
}

bool IsTermChar(char c) {
  return Is(c, kTermChar);
}

std::size_t FindFirstOf(std::string_view text, std::string_view set) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (set.find(text[i]) != npos) return i;
  }
  return npos;
}
