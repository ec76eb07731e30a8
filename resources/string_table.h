// The lesson's string table: single-byte texts by ID, generated at build time from the UTF-8
// sources in resources/strings/. LoadText reads it; tests walk it.
#pragma once

#include <span>
#include <string_view>

struct StringEntry {
  int id;
  const char* text;
  int length;
};

// Sorted by ID.
extern const StringEntry kStringTable[];
extern const int kStringCount;

// The text of an entry, or nullptr data when the table has none.
std::string_view FindString(int id);

std::span<const StringEntry> AllStrings();
