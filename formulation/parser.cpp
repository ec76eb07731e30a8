#include "parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

ParserNotices parserNotices{nullptr, nullptr};
std::array<char, kLineBufferSize> rightSideAsTyped{};

namespace {

constexpr std::size_t npos = std::string_view::npos;

// ---- Character classes ----

// What a byte is, one bit per class; a byte may be in several (a digit is also a term character
// and a number character). Looked up by the byte's unsigned value so that bytes 0x80-0xFF (the
// relation signs among them) index the table like any other. Each character of a line is looked
// at several times, so one table lookup answers every question about it.
using CharKinds = std::uint16_t;
enum CharKind : CharKinds {
  kDigit = 1 << 0,
  kTypedLetter = 1 << 1,  // the letters the entry line's keyboard filter lets through: not V, v
  kVariableLetter = 1 << 2,
  kTermChar = 1 << 3,    // a digit, "-", "." or a variable letter
  kNumberChar = 1 << 4,  // what a number on the right may hold: digits, "-", "." and the blank
  kSign = 1 << 5,
  kRelationChar = 1 << 6,
  kMinus = 1 << 7,
  kPoint = 1 << 8,
};

constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kTypedLetters = "PQRSTUpqrstu";

using KindTable = std::array<CharKinds, 256>;

constexpr void Mark(KindTable& table, std::string_view members, CharKinds kinds) {
  for (const char c : members) table[static_cast<unsigned char>(c)] |= kinds;
}

constexpr KindTable BuildKindTable() {
  KindTable kinds{};
  Mark(kinds, kDigits, kDigit | kTermChar | kNumberChar);
  Mark(kinds, kTypedLetters, kTypedLetter);
  Mark(kinds, kVariableLetters, kVariableLetter | kTermChar);
  Mark(kinds, "-", kTermChar | kNumberChar | kSign | kMinus);
  Mark(kinds, ".", kTermChar | kNumberChar | kPoint);
  Mark(kinds, " ", kNumberChar);
  Mark(kinds, "+", kSign);
  for (int byte = 0; byte < 256; ++byte) {
    if (kRelationCodeOfByte[byte] != kRelationNone) kinds[byte] |= kRelationChar;
  }
  return kinds;
}
constexpr KindTable kKindOf = BuildKindTable();

// The slot of each byte that names a variable, -1 for every other byte.
constexpr std::array<signed char, 256> SlotTable() {
  std::array<signed char, 256> slots{};
  slots.fill(-1);
  for (int k = 0; kVariableLetters[k] != '\0'; ++k) {
    slots[static_cast<unsigned char>(kVariableLetters[k])] =
        static_cast<signed char>(k % kLetterSlots);
  }
  return slots;
}
constexpr std::array<signed char, 256> kSlotOfChar = SlotTable();

// clang-format off
bool Is(char c, CharKinds kinds) { return (kKindOf[static_cast<unsigned char>(c)] & kinds) != 0; }
bool IsDigit(char c) { return Is(c, kDigit); }
bool IsTypedLetter(char c) { return Is(c, kTypedLetter); }
bool IsVariableLetter(char c) { return Is(c, kVariableLetter); }
bool IsRelationChar(char c) { return Is(c, kRelationChar); }
bool IsSign(char c) { return Is(c, kSign); }
bool IsNotNumberChar(char c) { return !Is(c, kNumberChar); }
bool IsNotTermChar(char c) { return !Is(c, kTermChar); }
int SlotOf(char c) { return kSlotOfChar[static_cast<unsigned char>(c)]; }
// A term character may follow these and still belong to the same number.
bool ContinuesNumber(char previous) { return Is(previous, kDigit | kPoint); }
// clang-format on

// Copies text into buffer, cut at its end, always terminated.
void PutText(std::span<char> buffer, std::string_view text) {
  if (buffer.empty()) return;
  const std::size_t kept = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.data(), kept, buffer.data());
  buffer[kept] = '\0';
}

// The text of the entry field: the line up to its first NUL byte, at most kMaxLineChars characters.
// Whatever else a caller hands in is never looked at.
std::string_view FieldText(std::string_view line) {
  return line.substr(0, std::min(line.find('\0'), std::size_t{kMaxLineChars}));
}

// The first character of the text that passes the test, or npos.
template <typename Test>
std::size_t FirstOf(std::string_view text, Test test) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (test(text[i])) return i;
  }
  return npos;
}

template <typename Test>
bool AnyOf(std::string_view text, Test test) {
  return FirstOf(text, test) != npos;
}

// ---- The format check ----

struct SqueezedLine {
  std::array<char, kMaxLineChars> chars;
  std::size_t length;
};

SqueezedLine WithoutBlanks(std::string_view field) {
  // Every character is written where the squeezed text ends; only a non-blank moves the end on.
  // The end never passes the character being read, so the copy stays inside the field's length.
  SqueezedLine squeezed{};
  std::size_t length = 0;
  for (const char c : field) {
    squeezed.chars[length] = c;
    length += c != ' ' ? 1 : 0;
  }
  squeezed.length = length;
  return squeezed;
}

bool EndsProperly(std::string_view s) {
  // The last character is not "+", "-" or a relation character.
  const char last = s.back();
  return !IsSign(last) && !IsRelationChar(last);
}

// The pair rules as data: for each character of the line without blanks, the kinds of character
// that may not follow it. After a typed letter no typed letter; after "-" or "." neither the same
// character nor a relation; after a digit or a "+" anything (three "+" in a row are refused
// apart); after every other character (a relation, or anything pasted) no relation.
constexpr KindTable BuildNotAfterTable() {
  KindTable notAfter{};
  notAfter.fill(kRelationChar);
  for (const char c : kDigits) notAfter[static_cast<unsigned char>(c)] = 0;
  for (const char c : kTypedLetters) notAfter[static_cast<unsigned char>(c)] = kTypedLetter;
  notAfter['+'] = 0;
  notAfter['-'] = kMinus | kRelationChar;
  notAfter['.'] = kPoint | kRelationChar;
  return notAfter;
}
constexpr KindTable kNotAfter = BuildNotAfterTable();

bool ThreePlusesAt(std::string_view s, std::size_t i) {
  // Two "+" in a row pass; a third right after them does not.
  return s[i] == '+' && s[i + 1] == '+' && i + 2 < s.size() && s[i + 2] == '+';
}

bool PairIsProper(std::string_view s, std::size_t i) {
  // A character and the one after it: letters do not meet letters, signs and points do not meet
  // their own kind or a relation, nothing but a digit, letter or sign stands before a relation.
  return !Is(s[i + 1], kNotAfter[static_cast<unsigned char>(s[i])]) && !ThreePlusesAt(s, i);
}

bool PairsAreProper(std::string_view s) {
  // Every character but the last, together with the character after it.
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (!PairIsProper(s, i)) return false;
  }
  return true;
}

bool RelationNeighboursAreProper(std::string_view s, std::size_t at) {
  // No sign before the relation, no letter right after it (EndsProperly keeps one after it).
  return !IsSign(s[at - 1]) && !IsTypedLetter(s[at + 1]);
}

bool RightSideIsSingleItem(std::string_view s, std::size_t at) {
  // From the second character after the relation on, no sign and no relation character.
  for (std::size_t i = at + 2; i < s.size(); ++i) {
    if (Is(s[i], kSign | kRelationChar)) return false;
  }
  return true;
}

bool RelationIsProper(std::string_view s) {
  // None: an objective function. More than one, or one in first place, is improper.
  const std::size_t at = FirstOf(s, IsRelationChar);
  if (at == npos) return true;
  if (at == 0 || AnyOf(s.substr(at + 1), IsRelationChar)) return false;
  return RelationNeighboursAreProper(s, at) && RightSideIsSingleItem(s, at);
}

// ---- The right-hand side ----

bool IsMirroredForm(std::string_view before, std::string_view after) {
  // Nothing but a number left of the relation and a variable right of it («120 ≥ 3p»).
  return !AnyOf(before, IsVariableLetter) && AnyOf(after, IsVariableLetter);
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

bool HasStrayItems(std::string_view text) {
  // A second item after a blank («12 0»), a letter, or another relation: no value is read.
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == ' ' && text[i + 1] != ' ') return true;
  }
  return AnyOf(text, IsTypedLetter) || AnyOf(text, IsRelationChar);
}

void RejectRightSide(std::string_view text, ParsedEntry& entry) {
  // The right-hand-side slot shows the text; its status marks it refused unless nothing was typed.
  if (text.empty()) return;
  EntryTerm& slot = entry.terms[kRhsSlot];
  slot.status = kRhsRejected;
  PutText(slot.text, text);
}

void ValidateRightSide(std::string_view text, ParsedEntry& entry) {
  // A number that ReadNumber reads and that holds nothing but number characters is the value;
  // a value read before a stray character was found stays as rhs, but is not valid.
  double value = 0;
  const bool read = ReadNumber(text, value);
  if (read) entry.enteredRow.rhs = value;
  if (read && !AnyOf(text, IsNotNumberChar)) {
    entry.rhsValid = 1;
    return;
  }
  RejectRightSide(text, entry);
}

// ---- The terms ----

// The left text being cut into terms. A term ends at an end marker (NUL); where a "-" starts the
// next term right after a character, the rest moves one place right to make room for the marker.
inline constexpr std::size_t kWorkingCopySize = kMaxLineChars + kMaxTerms + 1;

struct WorkingCopy {
  std::array<char, kWorkingCopySize> chars;
  std::size_t length;  // characters in use, end markers included
  std::size_t origin;  // where the left text starts in the line
  std::size_t shifts;  // places the text has moved right so far
};
// The left text is at most the line; each of at most kMaxTerms term ends moves it once; then the
// terminator.
static_assert(std::tuple_size_v<decltype(WorkingCopy::chars)> >= kMaxLineChars + kMaxTerms + 1);

WorkingCopy CopyLeftText(std::string_view left, std::size_t origin) {
  // Only the characters below length are ever read or moved, so the rest of the buffer is not
  // cleared first.
  WorkingCopy work;
  work.length = std::min(left.size(), std::size_t{kMaxLineChars});
  std::copy_n(left.data(), work.length, work.chars.data());
  work.origin = origin;
  work.shifts = 0;
  return work;
}

std::string_view Span(const WorkingCopy& work, std::size_t from, std::size_t to) {
  return std::string_view(work.chars.data() + from, to - from);
}

std::size_t FindTermStart(const WorkingCopy& work, std::size_t from, bool& negative) {
  // Skip what is neither a term character nor a sign. A "+" or "-" met first is passed over and
  // the scan starts again after it, the "-" making the term negative (two do not cancel). A term
  // character met starts the term at the scan's starting point. The end: the term is empty.
  std::size_t scanStart = from;
  for (std::size_t i = from; i < work.length; ++i) {
    const char c = work.chars[i];
    if (IsSign(c)) {
      if (c == '-') negative = true;
      scanStart = i + 1;
    } else if (IsTermChar(c)) {
      return scanStart;
    }
  }
  return work.length;
}

struct TermEnd {
  std::size_t end;     // one past the term's last character
  std::size_t next;    // where the next term starts
  std::size_t signAt;  // place in the line of the sign that ended the term, npos at the text's end
};

void MakeRoomAt(WorkingCopy& work, std::size_t at) {
  // Moves the text from at on one place right. The static_assert above keeps room for this.
  if (work.length + 1 >= work.chars.size()) return;
  std::copy_backward(work.chars.begin() + static_cast<std::ptrdiff_t>(at),
                     work.chars.begin() + static_cast<std::ptrdiff_t>(work.length),
                     work.chars.begin() + static_cast<std::ptrdiff_t>(work.length + 1));
  ++work.length;
  ++work.shifts;
}

TermEnd EndTerm(WorkingCopy& work, std::size_t start) {
  // The first "+" or "-" after the start ends the term. A "+" becomes the end marker. Before a
  // "-" the end marker takes a blank's place, or the text moves right to make room for it; the
  // "-" stays to start the next term.
  const std::size_t found = FirstOf(Span(work, start, work.length), IsSign);
  if (found == npos) return {work.length, work.length, npos};
  const std::size_t at = start + found;
  const std::size_t signAt = work.origin + at - work.shifts;
  if (work.chars[at] == '+') {
    work.chars[at] = '\0';
    return {at, at + 1, signAt};
  }
  if (work.chars[at - 1] == ' ') {
    work.chars[at - 1] = '\0';
    return {at - 1, at, signAt};
  }
  MakeRoomAt(work, at);
  work.chars[at] = '\0';
  return {at, at + 1, signAt};
}

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

std::uint32_t OtherLetterFlag(std::string_view term, std::size_t letterAt) {
  // A later variable letter that is another character (case counts) is a second variable.
  for (std::size_t i = letterAt + 1; i < term.size(); ++i) {
    if (IsVariableLetter(term[i]) && term[i] != term[letterAt]) return kFlagManyVariables;
  }
  return 0;
}

std::uint32_t CoefficientBeforeFlag(std::string_view term, std::size_t letterAt, bool& opened) {
  // The first term character before the letter opens the coefficient; a later one that does not
  // continue a number («3 4p») is a second coefficient.
  opened = false;
  for (std::size_t i = 0; i < letterAt; ++i) {
    if (!IsTermChar(term[i])) continue;
    if (opened && !ContinuesNumber(term[i - 1])) return kFlagManyCoefficients;
    opened = true;
  }
  return 0;
}

std::uint32_t CoefficientAfterFlag(std::string_view term, std::size_t letterAt, bool openedBefore) {
  // After a coefficient before the letter, nothing more may follow («3p4»). Without one, the
  // first term character after the letter opens a trailing coefficient, which later ones must
  // continue.
  bool opened = false;
  for (std::size_t i = letterAt + 1; i < term.size(); ++i) {
    if (!IsTermChar(term[i])) continue;
    if (openedBefore || (opened && !ContinuesNumber(term[i - 1]))) return kFlagManyCoefficients;
    opened = true;
  }
  return 0;
}

void AddCoefficient(ParsedEntry& entry, int slot, double value) {
  // A slot whose sum is already non-zero is named again.
  if (entry.enteredRow.coef[slot] != 0) entry.variableRepeated[slot] = 1;
  entry.enteredRow.coef[slot] += value;
}

struct TermsRead {
  int count;
  int errors;
  std::size_t lastSignAt;  // the sign that ended the last term read, npos at the text's end
};

TermEnd ReadOneTerm(WorkingCopy& work, std::size_t pos, EntryTerm& stored, ParsedEntry& entry,
                    NoticeOwner owner) {
  // A term from its sign to its end: text, variable, flags and coefficient.
  bool negative = work.chars[pos] == '-';
  if (negative) ++pos;
  const std::size_t start = FindTermStart(work, pos, negative);
  const TermEnd end = EndTerm(work, start);
  entry.termNegative = negative ? 1 : 0;
  const std::string_view term =
      CutOverlongTerm(StripBlanks(Span(work, start, end.end)), entry, owner);
  StoreTermText(stored, negative, term);
  const TermScan scan = ScanTermVariables(term, entry);
  std::uint32_t flags = scan.flags;
  stored.var = scan.slot;
  if (flags == 0) flags = ReadTermCoefficient(term, negative, scan.slot, entry, stored.coef);
  stored.status = flags << 8;
  return end;
}

TermsRead ReadTerms(WorkingCopy& work, ParsedEntry& entry, NoticeOwner owner) {
  // Terms while text remains, fifteen at most; each with flags other than 0 or 8 is an error.
  TermsRead read{0, 0, npos};
  std::size_t pos = 0;
  while (pos < work.length && read.count < kMaxTerms) {
    EntryTerm& stored = entry.terms[static_cast<std::size_t>(read.count)];
    const TermEnd end = ReadOneTerm(work, pos, stored, entry, owner);
    if (IsTermError(TermFlags(stored.status))) ++read.errors;
    read.lastSignAt = end.signAt;
    pos = end.next;
    ++read.count;
  }
  return read;
}

void ResetEntry(ParsedEntry& entry) {
  // Nothing of the previous line survives: every term, the sums, relation, flags and counts.
  // Each member is named (the binding does not compile if the record gains or loses one) and
  // set once, the terms one record after the other: plain stores, quicker here than clearing
  // the whole kilobyte in one string instruction.
  auto& [enteredRow, terms, termCount, rhsValid, variableSeen, variableRepeated, termNegative,
         overlongVariable] = entry;
  enteredRow = FormulationRow{{}, kRelationNone, kEmptyRhs};
  terms.fill(EntryTerm{});
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

bool CheckEntryFormat(std::string_view line) {
  // Blanks do not count. An empty line is improper.
  const SqueezedLine squeezed = WithoutBlanks(FieldText(line));
  const std::string_view s(squeezed.chars.data(), squeezed.length);
  return !s.empty() && EndsProperly(s) && PairsAreProper(s) && RelationIsProper(s);
}

int ParseEntry(std::string_view line, ParsedEntry& entry, NoticeOwner owner) {
  // From nothing: reset, give up on a blank line, split off the relation and the right-hand side,
  // read the terms, tell the student when the fifteenth was read.
  ResetEntry(entry);
  PutText(rightSideAsTyped, "");
  const std::string_view field = FieldText(line);
  const std::size_t first = field.find_first_not_of(' ');
  if (first == npos) return -1;
  const LeftText left = SplitRelation(field.substr(first), entry, rightSideAsTyped);
  WorkingCopy work = CopyLeftText(left.text, first + left.origin);
  const TermsRead read = ReadTerms(work, entry, owner);
  if (read.count == kMaxTerms) {
    ReportFullAnswer(owner, read.lastSignAt == npos ? field.size() : read.lastSignAt);
  }
  entry.termCount = read.count;
  return read.errors;
}

LeftText SplitRelation(std::string_view line, ParsedEntry& entry, std::span<char> asTyped) {
  PutText(asTyped, "");
  // Only the first relation character counts; without one the whole line holds the terms.
  const std::size_t at = FirstOf(line, IsRelationChar);
  if (at == npos) return {0, line};
  const std::string_view before = line.substr(0, at);
  const std::string_view after = line.substr(at + 1);
  entry.enteredRow.relation = RelationCodeOf(line[at]);
  if (IsMirroredForm(before, after)) {
    entry.enteredRow.relation = MirrorRelation(RelationCodeOf(line[at]));
    const std::string_view rightSide = MirroredRightSide(before);
    PutText(asTyped, rightSide);
    ValidateRightSide(rightSide, entry);
    return {at + 1, after};
  }
  const std::string_view rightSide = NormalRightSide(after);
  PutText(asTyped, rightSide);
  if (HasStrayItems(rightSide)) {
    RejectRightSide(rightSide, entry);
  } else {
    ValidateRightSide(rightSide, entry);
  }
  return {0, before};
}

TermScan ScanTermVariables(std::string_view term, ParsedEntry& entry) {
  // The first variable letter names the term's variable. Without one the term is a bare number,
  // or not even that.
  const std::size_t letterAt = FirstOf(term, IsVariableLetter);
  if (letterAt == npos) {
    double unused = 0;
    return {ReadNumber(term, unused) ? kFlagNoVariable : kFlagNoVariable | kFlagBadNumber, -1};
  }
  bool openedBefore = false;
  TermScan scan{0, SlotOf(term[letterAt])};
  scan.flags |= OtherLetterFlag(term, letterAt);
  scan.flags |= CoefficientBeforeFlag(term, letterAt, openedBefore);
  scan.flags |= CoefficientAfterFlag(term, letterAt, openedBefore);
  if (scan.flags & kFlagManyVariables) scan.slot = -1;
  if (scan.flags == 0) entry.variableSeen[static_cast<std::size_t>(scan.slot)] = 1;
  return scan;
}

std::uint32_t ReadTermCoefficient(std::string_view term, bool negative, int slot,
                                  ParsedEntry& entry, double& coef) {
  // A number before the letter is the coefficient; else one after it (a convention warning);
  // else 1. A negative term negates it.
  const std::size_t letterAt = FirstOf(term, IsVariableLetter);
  if (letterAt == npos || slot < 0 || slot >= kLetterSlots) return kFlagNoVariable;
  const std::size_t before = FirstOf(term.substr(0, letterAt), IsTermChar);
  const std::size_t after = FirstOf(term.substr(letterAt + 1), IsTermChar);
  double value = 1;
  std::uint32_t flags = 0;
  if (before != npos) {
    if (!ReadNumber(term.substr(before), value)) return kFlagBadNumber;
  } else if (after != npos) {
    flags = kFlagCoefficientAfter;
    if (!ReadNumber(term.substr(letterAt + 1 + after), value)) return flags | kFlagBadNumber;
  }
  coef = negative ? -value : value;
  AddCoefficient(entry, slot, coef);
  return flags;
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
