// The entry line's length and its character-level format check: whether a typed line may be
// parsed at all. The entry panel calls CheckEntryFormat before ParseEntry (parser.h includes this).
//
// A line is the text of the entry field: at most kMaxLineChars characters, ending at its first NUL
// byte as the field's zero-terminated text does. The check works on that much of whatever it is
// given, so a longer or NUL-holding view is safe and reads as its first kMaxLineChars characters
// up to the NUL.
#pragma once

#include <string_view>

// The entry field holds at most this many characters; its buffer one more for the terminator.
inline constexpr int kMaxLineChars = 77;
inline constexpr int kLineBufferSize = kMaxLineChars + 1;

// True when the line may be parsed. The line is not changed.
bool CheckEntryFormat(std::string_view line);
