// Small text services every part of the lesson uses: string-table texts, bounded appending to
// zero-terminated buffers, the line-breaking rule of wrapped list-box text, the arithmetic of
// dialog placement and the status-line text. The window-bound halves (filling a list box, moving a
// dialog, changing the menu) sit on top of these in the shell.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// Marks a line break inside string-table texts.
inline constexpr char kLineBreak = static_cast<char>(0xE5);

inline constexpr int kTextBufferSize = 512;
inline constexpr int kMaxLoadedChars = 510;

// Loads string-table entry id into the one shared 512-byte buffer and returns it. Each load
// overwrites the buffer: copy or append the text before the next load. A missing entry gives "".
const char* LoadText(int id);

// The zero-terminated text held in a buffer (the whole buffer when it holds no terminator).
std::string_view TextIn(std::span<const char> buffer);

// Appends to the zero-terminated text in the buffer, cut at the buffer's end; stays terminated.
void AppendText(std::span<char> buffer, std::string_view more);

// Replaces the buffer's text.
void SetText(std::span<char> buffer, std::string_view text);

// Advance widths in pixels of every byte value of a font.
using CharWidths = std::array<int, 256>;

// One wrapped line holds at most 159 characters.
inline constexpr int kWrapLineSize = 160;

// Builds the wrapped line that starts at text[pos] for a usable width in pixels. Writes the line
// (zero-terminated) and returns the position where the next line starts, beyond pos while text is
// left; a return of text.size() means the text is used up. See AddWrappedText in the shell for the
// list-box half.
//
// A line takes characters while the sum of their widths stays below the usable width, and ends
// before a line-break byte or at the end of the text. When a character does not fit, the line
// ends at the nearest blank before it. One line-break byte or one blank after a line is skipped,
// so a text ending in a line break gives no empty last line, and a blank between two line breaks
// gives a line of one blank. A line holds at most 159 characters: a longer one is ended as if the
// width were reached at its 160th character. A word wider than the whole line is cut where the room
// runs out, one character at least.
std::size_t WrapNextLine(std::string_view text, std::size_t pos, const CharWidths& widths,
                         int usableWidth, std::span<char, kWrapLineSize> line);

// Calls addLine for each wrapped line of the text, in order.
template <typename AddLine>
void ForEachWrappedLine(std::string_view text, const CharWidths& widths, int usableWidth,
                        AddLine&& addLine) {
  std::array<char, kWrapLineSize> line{};
  std::size_t pos = 0;
  while (pos < text.size()) {
    pos = WrapNextLine(text, pos, widths, usableWidth, line);
    addLine(TextIn(line));
  }
}

struct ScreenRect {
  int left;
  int top;
  int width;
  int height;
};

struct ScreenPoint {
  int x;
  int y;
};

// Where PlaceDialog moves a dialog of the given rectangle over its owner.
ScreenPoint PlaceDialogPosition(const ScreenRect& owner, const ScreenRect& dialog, int centre,
                                double fx, double fy);

inline constexpr int kStatusTextSize = 200;

// "Problem: N  Strikes Allowed: A  Strikes: S", with problemNumber counted from 0.
void BuildStatusText(std::span<char, kStatusTextSize> statusText, int problemNumber,
                     int strikesAllowed, int strikes);
