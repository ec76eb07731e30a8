#include "parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

ParserNotices parserNotices{nullptr, nullptr};
std::array<char, kLineBufferSize> rightSideAsTyped{};

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Character classes, looked up by the byte's unsigned value so that bytes 0x80-0xFF (the relation
// signs among them) index the tables like any other.
using CharClass = std::array<bool, 256>;

constexpr CharClass ClassOf(std::string_view members) {
  CharClass cls{};
  for (const char c : members) cls[static_cast<unsigned char>(c)] = true;
  return cls;
}

constexpr CharClass kDigitClass = ClassOf("0123456789");
// The letters the entry line's keyboard filter lets through; V and v are not among them.
constexpr CharClass kTypedLetterClass = ClassOf("PQRSTUpqrstu");
constexpr CharClass kVariableLetterClass = ClassOf(kVariableLetters);
constexpr CharClass kTermCharClass = ClassOf("0123456789-.PQRSTUVpqrstuv");
constexpr CharClass kNumberCharClass = ClassOf("0123456789-. ");

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
bool In(const CharClass& cls, char c) { return cls[static_cast<unsigned char>(c)]; }
bool IsDigit(char c) { return In(kDigitClass, c); }
bool IsTypedLetter(char c) { return In(kTypedLetterClass, c); }
bool IsVariableLetter(char c) { return In(kVariableLetterClass, c); }
bool IsRelationChar(char c) { return RelationCodeOf(c) != kRelationNone; }
bool IsSign(char c) { return c == '+' || c == '-'; }
int SlotOf(char c) { return kSlotOfChar[static_cast<unsigned char>(c)]; }
// A term character may follow these and still belong to the same number.
bool ContinuesNumber(char previous) { return IsDigit(previous) || previous == '.'; }
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

std::size_t FirstOf(std::string_view text, bool (*test)(char)) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (test(text[i])) return i;
  }
  return npos;
}

bool AnyOf(std::string_view text, bool (*test)(char)) {
  return FirstOf(text, test) != npos;
}

// ---- The format check ----

struct SqueezedLine {
  std::array<char, kMaxLineChars> chars;
  std::size_t length;
};

SqueezedLine WithoutBlanks(std::string_view field) {
  SqueezedLine squeezed{};
  for (const char c : field) {
    if (c != ' ') squeezed.chars[squeezed.length++] = c;
  }
  return squeezed;
}

bool EndsProperly(std::string_view s) {
  // The last character is not "+", "-" or a relation character.
  const char last = s.back();
  return !IsSign(last) && !IsRelationChar(last);
}

bool PairIsProper(std::string_view s, std::size_t i) {
  // A character and the one after it: letters do not meet letters, signs and points do not meet
  // their own kind or a relation, nothing but a digit, letter or sign stands before a relation.
  const char c = s[i];
  const char next = s[i + 1];
  if (IsDigit(c)) return true;
  if (IsTypedLetter(c)) return !IsTypedLetter(next);
  if (c == '+') return !(next == '+' && i + 2 < s.size() && s[i + 2] == '+');
  if (c == '-' || c == '.') return next != c && !IsRelationChar(next);
  return !IsRelationChar(next);
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
    if (IsSign(s[i]) || IsRelationChar(s[i])) return false;
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
  return run.substr(0, FirstOf(run, [](char c) { return !IsTermChar(c); }));
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
  if (read &&
      std::all_of(text.begin(), text.end(), [](char c) { return In(kNumberCharClass, c); })) {
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
  WorkingCopy work{};
  work.length = std::min(left.size(), std::size_t{kMaxLineChars});
  std::copy_n(left.data(), work.length, work.chars.data());
  work.origin = origin;
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
  const std::size_t found = FindFirstOf(Span(work, start, work.length), "+-");
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
  PutText(stored.text, negative ? "-" : "");
  const std::size_t at = negative ? 1 : 0;
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
  entry = ParsedEntry{};
  entry.enteredRow.rhs = kEmptyRhs;
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

std::size_t NumberPrefixLength(std::string_view text) {
  // The longest prefix of the form: an optional "-", digits, an optional ".", digits.
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

bool ConvertDecimal(std::string_view prefix, double& value) {
  // Locale-independent conversion. A number beyond the range of a double (no line of 77
  // characters holds one) fails rather than become infinite.
  double converted = 0;
  const char* const end = prefix.data() + prefix.size();
  const auto [ptr, ec] = std::from_chars(prefix.data(), end, converted, std::chars_format::fixed);
  if (ec != std::errc{} || ptr != end || !std::isfinite(converted)) return false;
  value = converted;
  return true;
}

}  // namespace

bool ReadNumber(std::string_view text, double& value) {
  const std::size_t length = NumberPrefixLength(text);
  // A second point right after the number («1.2.3») spoils it.
  if (length < text.size() && text[length] == '.') return false;
  // A prefix without a digit («-», «.», «-.») is no number.
  const std::string_view prefix = text.substr(0, length);
  if (!AnyOf(prefix, IsDigit)) return false;
  return ConvertDecimal(prefix, value);
}

bool IsTermChar(char c) {
  return In(kTermCharClass, c);
}

std::size_t FindFirstOf(std::string_view text, std::string_view set) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (set.find(text[i]) != npos) return i;
  }
  return npos;
}
