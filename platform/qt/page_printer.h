// The printed page, in a module of its own (tavrin_printing): the printing library comes with
// it, loaded the first time something is printed rather than at every start. desktop_printing.cpp
// loads the module and calls its one entry.
#pragma once

#include <span>
#include <string_view>

class QWidget;

// The first line names the document; the page shows the rest, the first of them as its heading,
// each line centred, in a double frame. With a file the page is written to that PDF file (tests);
// otherwise Qt's print dialog, over parent's window, asks for the printer, and nothing is printed
// when the student cancels it.
struct PageRequest {
  QWidget* parent = nullptr;
  std::string_view file;
  std::span<const std::string_view> lines;
};

using PrintPageEntry = void (*)(const PageRequest& request);
inline constexpr char kPrintPageEntryName[] = "TavrinPrintPage";

extern "C" void TavrinPrintPage(const PageRequest& request);
