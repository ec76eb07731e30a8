// The parser's two notices that a line was cut: dialog 2350 "Section Too Long" for a term of more
// than 20 characters and dialog 2300 "Answer Too Long" when fifteen terms were read. The entry
// panel installs them as the parser's notices once; the parser then opens them while it reads a
// line, modally and owned by the window it was given.
#pragma once

#include "platform.h"

// The static of dialog 2350 that names the term's variable letter.
inline constexpr int kTooLongLetterText = 1650;
// The static of dialog 2300 that shows how many characters were kept.
inline constexpr int kTooManyCountText = 2310;

// Procedure of dialog 2350; the creation value is the letter's byte, 0 when the term has none.
// Any command closes it.
Result TooLongCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Procedure of dialog 2300; the creation value is the number of characters kept. Any command
// closes it.
Result TooManyCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);

// Points the parser's notices at dialogs 2350 and 2300. They are owned by the window passed to
// ParseEntry, or by entryPanel when the parse was given none.
void InstallParserNotices(Window entryPanel);
