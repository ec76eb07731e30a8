// The world outside the program's windows, all through the back end: the screen, the suite's
// libraries and their pictures, starting programs, the help viewer, events the student notices,
// printing, the scroll-bar colour, and the windows of other programs.
#include <array>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kMaxLibraries = 8;
inline constexpr int kMaxPictures = 16;
inline constexpr int kScrollBarWidth = 16;
inline constexpr std::uint32_t kFirstLibraryHandle = 32;  // a loaded library's handle is >= 32
inline constexpr Colour kDefaultScrollBarColour{192, 192, 192};

struct LibraryRecord {
  Library handle;  // 0 while the slot is free
  std::uint32_t generation;
};

struct PictureRecord {
  Picture handle;  // kNoPicture while the slot is free
  std::uint32_t generation;
  std::array<char, kMaxPictureName> library;
  std::array<char, kMaxPictureName> name;
  int width;
  int height;
};

std::array<LibraryRecord, kMaxLibraries> libraries{};
std::array<PictureRecord, kMaxPictures> pictures{};
Colour scrollBarColour = kDefaultScrollBarColour;

LibraryRecord* FindLibrary(Library library) {
  if (library < kFirstLibraryHandle) return nullptr;
  LibraryRecord& record = libraries[(library - kFirstLibraryHandle) % kMaxLibraries];
  return record.handle == library ? &record : nullptr;
}

PictureRecord* FindPicture(Picture picture) {
  if (picture == kNoPicture) return nullptr;
  PictureRecord& record = pictures[(picture - 1) % kMaxPictures];
  return record.handle == picture ? &record : nullptr;
}

}  // namespace

void ResetWorld() {
  for (LibraryRecord& record : libraries) {
    if (record.handle != 0) ++record.generation;
    record.handle = 0;
  }
  for (PictureRecord& record : pictures) {
    if (record.handle != kNoPicture) ++record.generation;
    record.handle = kNoPicture;
  }
  scrollBarColour = kDefaultScrollBarColour;
}

}  // namespace platform_detail

using namespace platform_detail;

ScreenMetrics GetScreenMetrics() {
  return TheBackend().screen();
}

int ScrollBarWidth() {
  return kScrollBarWidth;
}

// ---- Libraries and pictures -------------------------------------------------------------------

Library LoadLibraryByName(std::string_view name) {
  if (!TheBackend().libraryPresent(name)) return 0;
  for (std::uint32_t slot = 0; slot < kMaxLibraries; ++slot) {
    LibraryRecord& record = libraries[slot];
    if (record.handle != 0) continue;
    record.handle = kFirstLibraryHandle + record.generation * kMaxLibraries + slot;
    return record.handle;
  }
  return 0;
}

void FreeLibrary(Library library) {
  LibraryRecord* record = FindLibrary(library);
  if (!record) return;
  record->handle = 0;
  ++record->generation;
}

Picture LoadPicture(std::string_view library, std::string_view name) {
  int width = 0;
  int height = 0;
  if (!TheBackend().pictureAvailable(library, name, width, height)) return kNoPicture;
  for (std::uint32_t slot = 0; slot < kMaxPictures; ++slot) {
    PictureRecord& record = pictures[slot];
    if (record.handle != kNoPicture) continue;
    record.handle = record.generation * kMaxPictures + slot + 1;
    CopyText(record.library, library);
    CopyText(record.name, name);
    record.width = width;
    record.height = height;
    return record.handle;
  }
  return kNoPicture;
}

void FreePicture(Picture picture) {
  PictureRecord* record = FindPicture(picture);
  if (!record) return;
  record->handle = kNoPicture;
  ++record->generation;
}

void PictureSize(Picture picture, int& width, int& height) {
  const PictureRecord* record = FindPicture(picture);
  width = record ? record->width : 0;
  height = record ? record->height : 0;
}

void SetWindowPicture(Window window, Picture picture, bool stretched) {
  WindowRecord* record = Find(window);
  if (!record) return;
  const PictureRecord* source = FindPicture(picture);
  std::string_view library = source ? TextOf(source->library) : std::string_view{};
  std::string_view name = source ? TextOf(source->name) : std::string_view{};
  bool changed = CopyText(record->pictureLibrary, library);
  changed = CopyText(record->pictureName, name) || changed;
  bool stretch = source && stretched;
  changed = changed || record->pictureStretched != stretch;
  record->pictureStretched = stretch;
  if (changed) Touch(*record);
}

void SetScrollBarColour(Colour colour) {
  scrollBarColour = colour;
}
Colour GetScrollBarColour() {
  return scrollBarColour;
}

// ---- Programs, help, events -------------------------------------------------------------------

int StartProgram(std::string_view path) {
  return TheBackend().startProgram(path);
}

std::string_view WindowsDirectory() {
  return "C:\\WINDOWS";
}
std::string_view SystemDirectory() {
  return "C:\\WINDOWS\\SYSTEM";
}

void OpenHelp(Window /*owner: the help window is the back end's own*/, std::string_view file) {
  TheBackend().openHelp(file);
}

void ReportEvent(std::string_view text) {
  TheBackend().reportEvent(text);
}

void PrintDocument(Window owner, std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  TheBackend().printDocument(owner, lines);
}

// ---- Windows of other programs ----------------------------------------------------------------

// Shown, top-level, with the default procedure: a close request destroys it.
Window CreateForeignWindow(std::string_view className, std::string_view title) {
  WindowRecord* record = NewRecord(WindowKind::kForeign, className);
  if (!record) return kNoWindow;
  record->procedure = DefaultWindowProc;
  CopyText(record->text, title);
  record->style = kStyleVisible | kStyleCaption;
  RaiseToTop(*record);
  Touch(*record);
  return record->handle;
}
