#include "textservices.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "courselib.h"
#include "string_table.h"

namespace {

std::array<char, kTextBufferSize> textBuffer{};

constexpr char kBlank = ' ';
constexpr std::size_t kMaxLineChars = kWrapLineSize - 1;
static_assert(kMaxLineChars == 159);

// The status line's three labels in the string table.
constexpr int kProblemLabelId = 9001;
constexpr int kStrikesAllowedLabelId = 9002;
constexpr int kStrikesLabelId = 9003;

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

namespace {

// A full line ends at the blank nearest before the character that did not fit (the blank is not
// part of it). Stepping back stops at the line's start; a line that starts with a blank then ends
// there, empty. A word with no blank before it in the line is wider than the line: it is cut
// where the room ran out, with at least one character so that the text always advances.
std::size_t EndOfFullLine(std::string_view text, std::size_t start, std::size_t full) {
  std::size_t end = full;
  while (end > start && text[end] != kBlank) --end;
  if (text[end] == kBlank) return end;
  return std::max(full, start + 1);
}

// Add character widths from the line's start while the sum stays below the usable width. The
// line ends before a line-break byte, at the end of the text, or when it is full: the width
// reached or 159 characters taken.
std::size_t FindLineEnd(std::string_view text, std::size_t start, const CharWidths& widths,
                        int usableWidth) {
  std::int64_t width = 0;
  for (std::size_t at = start; at < text.size(); ++at) {
    char c = text[at];
    if (c == kLineBreak) return at;
    width += widths[static_cast<unsigned char>(c)];
    if (width >= usableWidth || at - start == kMaxLineChars) {
      return EndOfFullLine(text, start, at);
    }
  }
  return text.size();
}

// After a line, one line-break byte or one blank is skipped; the next line starts behind it.
std::size_t SkipOneSeparator(std::string_view text, std::size_t end) {
  if (end < text.size() && (text[end] == kLineBreak || text[end] == kBlank)) return end + 1;
  return end;
}

}  // namespace

std::size_t WrapNextLine(std::string_view text, std::size_t pos, const CharWidths& widths,
                         int usableWidth, std::span<char, kWrapLineSize> line) {
  line[0] = '\0';
  if (pos >= text.size()) return text.size();
  std::size_t end = FindLineEnd(text, pos, widths, usableWidth);
  SetText(line, text.substr(pos, end - pos));
  return SkipOneSeparator(text, end);
}

namespace {

// A position in double precision truncated toward zero; a result outside int's range is held at
// its edge, and one that is not a number leaves the dialog where it is.
int TruncatedPosition(double position, int current) {
  if (std::isnan(position)) return current;
  return static_cast<int>(
      std::clamp(std::trunc(position), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

// Owner's start plus the given fraction of the room the owner leaves beside the dialog (negative
// when the dialog is the larger).
int PlaceAlong(int ownerStart, int ownerSize, int dialogSize, double fraction, int current) {
  double room = static_cast<double>(ownerSize) - static_cast<double>(dialogSize);
  return TruncatedPosition(static_cast<double>(ownerStart) + room * fraction, current);
}

}  // namespace

ScreenPoint PlaceDialogPosition(const ScreenRect& owner, const ScreenRect& dialog, int centre,
                                double fx, double fy) {
  if (centre != 0) {
    return {PlaceAlong(owner.left, owner.width, dialog.width, 0.5, dialog.left),
            PlaceAlong(owner.top, owner.height, dialog.height, 0.5, dialog.top)};
  }
  // A fraction of 0 keeps the dialog's current left or top.
  int x =
      fx != 0 ? PlaceAlong(owner.left, owner.width, dialog.width, fx, dialog.left) : dialog.left;
  int y = fy != 0 ? PlaceAlong(owner.top, owner.height, dialog.height, fy, dialog.top) : dialog.top;
  return {x, y};
}

void BuildStatusText(std::span<char, kStatusTextSize> statusText, int problemNumber,
                     int strikesAllowed, int strikes) {
  // Each label is appended before the next load overwrites the shared text buffer.
  SetText(statusText, LoadText(kProblemLabelId));
  AppendInt(statusText, problemNumber + 1);
  AppendText(statusText, LoadText(kStrikesAllowedLabelId));
  AppendInt(statusText, strikesAllowed);
  AppendText(statusText, LoadText(kStrikesLabelId));
  AppendInt(statusText, strikes);
}
