// Printing on the desktop: the print dialog of Qt, then the page drawn with the printer's
// resolution, by the page printer's module (page_printer.h), loaded at the first print. The
// window system's PrintDocument comes here.
#pragma once

#include <span>
#include <string_view>

#include "platform.h"

// The first line names the document; the page shows the rest, the first of them as its heading,
// each line centred, in a double frame. Nothing is printed when the student cancels the dialog.
void PrintDesktopDocument(Window owner, std::span<const std::string_view> lines);

// The printer's output file, for tests: set, the print dialog is skipped and the page is written
// to this PDF file. Empty: the dialog asks.
void SetDesktopPrintFile(std::string_view path);
