#include "textservices.h"

#include <algorithm>
#include <cstring>

#include "courselib.h"
#include "string_table.h"

namespace {
std::array<char, kTextBufferSize> textBuffer{};
}  // namespace

const char* LoadText(int id) {
  std::string_view text = FindString(id);
  std::size_t length = std::min<std::size_t>(text.size(), kMaxLoadedChars);
  std::copy_n(text.data(), length, textBuffer.data());
  textBuffer[length] = '\0';
  return textBuffer.data();
}

std::string_view TextIn(std::span<const char> buffer) {
  const void* end = std::memchr(buffer.data(), '\0', buffer.size());
  std::size_t length = end ? static_cast<const char*>(end) - buffer.data() : buffer.size();
  return {buffer.data(), length};
}

void AppendText(std::span<char> buffer, std::string_view more) {
  if (buffer.empty()) return;
  std::size_t used = TextIn(buffer).size();
  if (used >= buffer.size()) used = buffer.size() - 1;  // unterminated: cut it to make room
  std::size_t room = buffer.size() - 1 - used;
  std::size_t count = std::min(room, more.size());
  std::copy_n(more.data(), count, buffer.data() + used);
  buffer[used + count] = '\0';
}

void SetText(std::span<char> buffer, std::string_view text) {
  if (buffer.empty()) return;
  buffer[0] = '\0';
  AppendText(buffer, text);
}
