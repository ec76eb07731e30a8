// The character classes of a typed line and the walks over its text that the format check and
// the parser share (entry_format.cpp, parser.cpp). Nothing outside those two reads them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "entry_format.h"
#include "formulation_model.h"

namespace entry_chars {

inline constexpr std::size_t npos = std::string_view::npos;

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

inline constexpr std::string_view kDigits = "0123456789";
inline constexpr std::string_view kTypedLetters = "PQRSTUpqrstu";

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
inline constexpr KindTable kKindOf = BuildKindTable();

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
inline constexpr std::array<signed char, 256> kSlotOfChar = SlotTable();

// clang-format off
inline CharKinds KindOf(char c) { return kKindOf[static_cast<unsigned char>(c)]; }
inline bool Is(char c, CharKinds kinds) { return (KindOf(c) & kinds) != 0; }
inline bool IsDigit(char c) { return Is(c, kDigit); }
inline bool IsTypedLetter(char c) { return Is(c, kTypedLetter); }
inline bool IsVariableLetter(char c) { return Is(c, kVariableLetter); }
inline bool IsRelationChar(char c) { return Is(c, kRelationChar); }
inline bool IsSign(char c) { return Is(c, kSign); }
inline bool IsNotNumberChar(char c) { return !Is(c, kNumberChar); }
inline bool IsNotTermChar(char c) { return !Is(c, kTermChar); }
inline bool IsNotBlank(char c) { return c != ' '; }
inline int SlotOf(char c) { return kSlotOfChar[static_cast<unsigned char>(c)]; }
// A term character may follow these and still belong to the same number.
inline bool ContinuesNumber(char previous) { return Is(previous, kDigit | kPoint); }
// clang-format on

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

// The text of the entry field: the line up to its first NUL byte, at most kMaxLineChars characters.
// Whatever else a caller hands in is never looked at, not even in search of the NUL.
inline std::string_view FieldText(std::string_view line) {
  const std::string_view field = line.substr(0, kMaxLineChars);
  return field.substr(0, field.find('\0'));
}

}  // namespace entry_chars
