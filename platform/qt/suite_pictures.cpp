#include "suite_pictures.h"

#include <QHash>

#include "suite_artwork.h"

// The pictures every start shows, drawn when the program was built (see draw_pictures.cpp), lie
// in the program's read-only data: shown as they are, they cost neither drawing nor a copy at
// start-up.
extern "C" {
extern const unsigned char tavrinPrebuiltPictures[] __attribute__((visibility("hidden")));
extern const unsigned char tavrinPrebuiltPicturesEnd[] __attribute__((visibility("hidden")));
}
asm(".pushsection .rodata\n"
    ".balign 64\n"
    ".globl tavrinPrebuiltPictures\n"
    ".hidden tavrinPrebuiltPictures\n"
    "tavrinPrebuiltPictures:\n"
    ".incbin \"" TAVRIN_PREBUILT_PICTURES
    "\"\n"
    ".globl tavrinPrebuiltPicturesEnd\n"
    ".hidden tavrinPrebuiltPicturesEnd\n"
    "tavrinPrebuiltPicturesEnd:\n"
    ".popsection\n");

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

const PictureEntry* FindPicture(std::string_view library, std::string_view name) {
  for (const PictureEntry& entry : kSuitePictures) {
    if (SameIgnoringCase(entry.library, library) && SameIgnoringCase(entry.name, name)) {
      return &entry;
    }
  }
  return nullptr;
}

// The embedded pixels, or a null image when what was embedded is not what the table expects
// (the picture is then drawn here).
QImage Prebuilt(const PictureEntry& entry) {
  auto embedded = static_cast<std::size_t>(tavrinPrebuiltPicturesEnd - tavrinPrebuiltPictures);
  if (!entry.prebuilt || embedded != PrebuiltBytes()) return {};
  return QImage(tavrinPrebuiltPictures + PrebuiltOffset(entry), entry.width, entry.height,
                entry.width * kPictureBytesPerPixel, PictureFormat(entry));
}

}  // namespace

bool SuiteLibraryPresent(std::string_view library) {
  return SameIgnoringCase(library, kWelcomeLibrary) ||
         SameIgnoringCase(library, kBackgroundLibrary);
}

bool SuitePictureSize(std::string_view library, std::string_view name, int& width, int& height) {
  const PictureEntry* entry = FindPicture(library, name);
  width = entry ? entry->width : 0;
  height = entry ? entry->height : 0;
  return entry != nullptr;
}

QPixmap SuitePicture(std::string_view library, std::string_view name) {
  // Kept as images: they outlive the application object, pixmaps may not.
  static QHash<const PictureEntry*, QImage> drawn;
  const PictureEntry* entry = FindPicture(library, name);
  if (!entry) return {};
  auto found = drawn.find(entry);
  if (found == drawn.end()) {
    QImage image = Prebuilt(*entry);
    found = drawn.insert(entry, image.isNull() ? DrawPicture(*entry) : image);
  }
  return QPixmap::fromImage(*found);
}
