// The window half of the text services every dialog uses: wrapped text into a list box, showing a
// filled list from its top, placing a dialog over its owner, the certification status line in the
// menu bar, and message boxes of string-table texts. The window-free halves are in textservices.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform.h"

// controlId for AddWrappedText: the window itself is the list box.
inline constexpr int kListIsWindow = -99;

// Adds the text to a list box as lines wrapped to the box's width, measured in the given font
// (kNoFont: the list box's own font). 0xE5 bytes in the text force a line break.
void AddWrappedText(Window window, int controlId, std::string_view text, Font font);

// Turns the list box's drawing on again and shows it from its first line.
void RefreshListBox(Window list);

// Moves the dialog over its owner: centred when centre is non-zero, else at the fractions fx and
// fy of the room left over (a fraction of 0 keeps that coordinate).
void PlaceDialog(Window owner, Window dialog, int centre, double fx, double fy);

// Writes "Problem: N  Strikes Allowed: A  Strikes: S" into the main window's menu bar, in place
// of the separator of the options menu.
void ShowStatusLine();

// captionId for ShowTextBox: a box without a caption.
inline constexpr int kNoCaptionText = 0;

// A message box of two string-table texts; returns the button's ID.
int ShowTextBox(Window owner, int textId, int captionId, std::uint32_t style);

// The procedure of the notice dialogs (2100, 2110, "NOVARSLEFT", the about box): "&Ok" (command
// 1) ends the dialog with 1; nothing else is handled, so Escape does not close it.
Result About(Window dialog, unsigned message, WParam wParam, LParam lParam);
