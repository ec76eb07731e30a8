// The equation parser: the character-level format check of a typed line and the parse of the line
// into a ParsedEntry (terms, per-slot sums, relation, right-hand side). The entry panel calls both;
// the matcher and the diagnosis read what the parse left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formulation_model.h"

// The entry field holds at most this many characters; its buffer one more for the terminator.
inline constexpr int kMaxLineChars = 77;
inline constexpr int kLineBufferSize = kMaxLineChars + 1;

// The parser reports two overflows to the student; the entry panel fills these in so that the
// notices open as dialogs owned by it. Either may be left empty.
using NoticeOwner = std::uintptr_t;
struct ParserNotices {
  void (*sectionTooLong)(NoticeOwner owner, char letter);  // letter 0 when the term has none
  void (*answerTooLong)(NoticeOwner owner, unsigned charactersKept);
};
extern ParserNotices parserNotices;

// True when the line may be parsed. The line is not changed.
bool CheckEntryFormat(std::string_view line);

// Rebuilds the entry from the line. Returns the number of erroneous terms, or -1 when the line
// holds nothing but blanks. Never rejects a line: what it cannot read becomes a flag.
int ParseEntry(std::string_view line, ParsedEntry& entry, NoticeOwner owner);

// Reads a number at the start of the text: an optional "-", digits, an optional ".", digits.
// Characters after it are ignored. False for «-», «.», «1.2.3».
bool ReadNumber(std::string_view text, double& value);

bool IsTermChar(char c);

// Position of the first character of the text that occurs in the set, or npos.
std::size_t FindFirstOf(std::string_view text, std::string_view set);
