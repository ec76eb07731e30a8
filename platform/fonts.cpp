// Fonts: the system font, fonts created from a face description, enumerating the installed fonts
// of a face and the advance widths of their bytes, the last two asked of the back end.
#include <array>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kMaxFonts = 16;  // fonts alive at once, the system font included
inline constexpr int kSystemSlot = 0;
inline constexpr std::string_view kSystemFace = "System";

struct FontRecord {
  Font handle;  // kNoFont while the slot is free
  std::uint32_t generation;
  FontDescription description;
};

std::array<FontRecord, kMaxFonts> fonts{};

Font FontHandleFor(int slot, std::uint32_t generation) {
  return generation * static_cast<std::uint32_t>(kMaxFonts) + static_cast<std::uint32_t>(slot) + 1u;
}

void CopyFace(FontDescription& description, std::string_view face) {
  CopyText(description.face, face);
}

const FontRecord& SystemFontRecord() {
  FontRecord& record = fonts[kSystemSlot];
  if (record.handle == kNoFont) {
    record.handle = FontHandleFor(kSystemSlot, 0);
    CopyFace(record.description, kSystemFace);
    record.description.height = kSystemFontHeight;
    record.description.width = 0;
  }
  return record;
}

FontRecord* FindFont(Font font) {
  if (font == kNoFont) return nullptr;
  SystemFontRecord();
  FontRecord& record = fonts[(font - 1) % kMaxFonts];
  return record.handle == font ? &record : nullptr;
}

}  // namespace

int FontHeight(Font font) {
  const FontRecord* record = FindFont(font);
  int height = record ? record->description.height : 0;
  return height > 0 ? height : kSystemFontHeight;
}

void ResetFonts() {
  for (int slot = 0; slot < kMaxFonts; ++slot) {
    if (slot == kSystemSlot || fonts[slot].handle == kNoFont) continue;
    fonts[slot].handle = kNoFont;
    ++fonts[slot].generation;
  }
}

}  // namespace platform_detail

using namespace platform_detail;

int EnumerateFonts(std::string_view face, FontEnumProc procedure, LParam value) {
  if (!procedure || !TheBackend().fontInstalled(face)) return 0;
  FontDescription description{};
  CopyFace(description, face);
  return procedure(description, value);
}

Font CreateFontFrom(const FontDescription& description) {
  for (int slot = 0; slot < kMaxFonts; ++slot) {
    if (slot == kSystemSlot || fonts[slot].handle != kNoFont) continue;
    FontRecord& record = fonts[slot];
    record.handle = FontHandleFor(slot, record.generation);
    record.description = description;
    record.description.face[sizeof record.description.face - 1] = '\0';
    return record.handle;
  }
  return kNoFont;
}

void DeleteFont(Font font) {
  FontRecord* record = FindFont(font);
  if (!record || font == SystemFont()) return;
  record->handle = kNoFont;
  ++record->generation;
}

Font SystemFont() {
  return SystemFontRecord().handle;
}

void SetWindowFont(Window window, Font font) {
  WindowRecord* record = Find(window);
  if (!record || record->font == font) return;
  record->font = font;
  record->needsPaint = true;
  Touch(*record);
}

Font GetWindowFont(Window window) {
  const WindowRecord* record = Find(window);
  return record ? record->font : kNoFont;
}

void GetCharWidths(Font font, CharWidths& widths) {
  const FontRecord* record = FindFont(font);
  if (!record) record = &SystemFontRecord();
  TheBackend().charWidths(TextOf(record->description.face), record->description.height, widths);
}

bool ViewFont(Font font, FontDescription& description) {
  const FontRecord* record = FindFont(font);
  if (!record) return false;
  description = record->description;
  return true;
}

bool IsLessonFaceFont(Font font, std::string_view face) {
  const FontRecord* record = FindFont(font);
  return record && SameIgnoringCase(TextOf(record->description.face), face);
}
