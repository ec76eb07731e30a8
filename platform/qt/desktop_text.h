// Text and fonts on the desktop: the single-byte texts of the window system as Qt strings (the
// lesson face draws relation signs and marker glyphs at a few bytes, everything else is Latin-1),
// the Qt font of a window system font, and the advance widths the window system wraps text with.
// The mirror draws with these fonts and measures with them, so that wrapped lines fit their boxes.
#pragma once

#include <QFont>
#include <QString>
#include <string_view>

#include "platform.h"

// The face the lesson asks for its symbol font; drawn with a monospace face so that error markers
// line up under the items they point at.
inline constexpr std::string_view kLessonFaceName = "custom";

// The byte as the lesson face draws it: ≥ ≤ ≠ ↑ │ └ ─ at their bytes, Latin-1 otherwise.
char16_t LessonFaceGlyph(unsigned char byte);

// A window system text as shown: through the lesson face's glyphs or as Latin-1.
QString DisplayText(std::string_view bytes, bool lessonFace);

// A label with its '&' mnemonic markers removed ("&&" stays one '&'), for statics.
QString WithoutMnemonics(const QString& label);

// The Qt font of a face and height of the window system: the lesson face in DejaVu Sans Mono,
// any other in DejaVu Sans; a height of 0 is the face's default.
QFont DesktopFont(std::string_view face, int height);

// The Qt font a window draws with: its font, or the system font when it has none.
QFont FontOfWindow(Font font);

// The font of a dialog's texts, labels and buttons that were given no font of their own: the
// system font a little narrower, as the dialog templates are laid out for six pixels a character
// on average. List boxes keep the system font itself, since wrapped lines are measured in it.
QFont DialogTextFont();
bool IsLessonFont(Font font);

// The pixel height of one line of the font, as the window system counts rows of a list box.
int LineHeight(Font font);

// Advance widths of every byte in that face and height; control bytes are 0 wide.
void DesktopCharWidths(std::string_view face, int height, CharWidths& widths);

// The font every widget of the desktop uses unless a window asks for another: the system font.
QFont SystemDesktopFont();
