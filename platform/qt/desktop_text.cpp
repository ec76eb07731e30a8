#include "desktop_text.h"

#include <QFontMetrics>
#include <array>

#include "backend.h"

namespace {

// A font's height in the window system is the height of its character cell; the glyphs' em is
// about four fifths of it, the rest is the room between lines.
constexpr int kDefaultCellHeight = 16;  // the system font's, and any face's default
constexpr int kCellToEmNumerator = 4;
constexpr int kCellToEmDenominator = 5;
constexpr int kSmallestPixelSize = 8;
constexpr int kDialogCellHeight = 15;  // a 12-pixel em
constexpr int kDialogStretch = 90;     // percent of the face's own width

constexpr char kLessonFamily[] = "DejaVu Sans Mono";
constexpr char kSystemFamily[] = "DejaVu Sans";

struct Glyph {
  unsigned char byte;
  char16_t code;
};

// The bytes the lesson face draws as signs and markers.
constexpr Glyph kLessonGlyphs[] = {
    {0xC0, u'\u2265'},  // ≥ at least
    {0xC1, u'\u2264'},  // ≤ at most
    {0x82, u'\u2260'},  // ≠ the third relation sign
    {0xD6, u'\u2191'},  // ↑ marker under a faulty item
    {0xD7, u'\u2502'},  // │ stem of a label
    {0xD8, u'\u2514'},  // └ hook in front of a marker letter
    {0xD9, u'\u2500'},  // ─
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsLessonFace(std::string_view face) {
  return SameIgnoringCase(face, kLessonFaceName);
}

int CellHeight(int height) {
  return height > 0 ? height : kDefaultCellHeight;
}

// Bytes that draw nothing: the C0 and C1 control ranges and DEL.
bool IsControlByte(unsigned char byte) {
  return byte < 0x20 || (byte >= 0x7F && byte < 0xA0);
}

}  // namespace

char16_t LessonFaceGlyph(unsigned char byte) {
  for (const Glyph& glyph : kLessonGlyphs) {
    if (glyph.byte == byte) return glyph.code;
  }
  return byte;
}

QString DisplayText(std::string_view bytes, bool lessonFace) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    text.append(QChar(lessonFace ? LessonFaceGlyph(byte) : static_cast<char16_t>(byte)));
  }
  return text;
}

QString WithoutMnemonics(const QString& label) {
  QString plain;
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label[i] == u'&' && i + 1 < label.size()) ++i;
    plain.append(label[i]);
  }
  return plain;
}

QFont DesktopFont(std::string_view face, int height) {
  QFont font(IsLessonFace(face) ? kLessonFamily : kSystemFamily);
  if (IsLessonFace(face)) font.setStyleHint(QFont::Monospace);
  font.setPixelSize(
      std::max(kSmallestPixelSize, CellHeight(height) * kCellToEmNumerator / kCellToEmDenominator));
  // Whole-pixel advances: what is measured for wrapping is what is drawn.
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QFont SystemDesktopFont() {
  return DesktopFont("System", kDefaultCellHeight);
}

QFont DialogTextFont() {
  QFont font = DesktopFont("System", kDialogCellHeight);
  font.setStretch(kDialogStretch);
  return font;
}

QFont FontOfWindow(Font font) {
  FontDescription description{};
  if (!ViewFont(font, description)) return SystemDesktopFont();
  return DesktopFont(description.face, description.height);
}

bool IsLessonFont(Font font) {
  return IsLessonFaceFont(font, kLessonFaceName);
}

int LineHeight(Font font) {
  FontDescription description{};
  if (!ViewFont(font, description)) return kDefaultCellHeight;
  return CellHeight(description.height);
}

void DesktopCharWidths(std::string_view face, int height, CharWidths& widths) {
  QFontMetrics metrics(DesktopFont(face, height));
  bool lessonFace = IsLessonFace(face);
  for (int byte = 0; byte < 256; ++byte) {
    auto b = static_cast<unsigned char>(byte);
    char16_t glyph = lessonFace ? LessonFaceGlyph(b) : static_cast<char16_t>(b);
    bool drawn = glyph != b || !IsControlByte(b);
    widths[byte] = drawn ? metrics.horizontalAdvance(QChar(glyph)) : 0;
  }
}
