#include "string_table.h"

#include <algorithm>

std::span<const StringEntry> AllStrings() {
  return {kStringTable, static_cast<std::size_t>(kStringCount)};
}

std::string_view FindString(int id) {
  auto all = AllStrings();
  auto it = std::lower_bound(all.begin(), all.end(), id,
                             [](const StringEntry& e, int key) { return e.id < key; });
  if (it == all.end() || it->id != id) return {};
  return {it->text, static_cast<std::size_t>(it->length)};
}
