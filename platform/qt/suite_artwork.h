// The suite's pictures and how each is drawn: the table of every picture the desktop knows, and
// the drawing itself. The pictures every start shows (the welcome screen's, for normal fonts) are
// drawn when the program is built (draw_pictures.cpp) and embedded in it; suite_pictures.cpp
// draws the others the first time they are asked for.
#pragma once

#include <QImage>
#include <cstddef>
#include <string_view>

enum class Artwork { kWelcome, kButton, kButtonPressed, kBackground };

struct PictureEntry {
  std::string_view library;
  std::string_view name;
  int width;
  int height;
  Artwork artwork;
  bool large;     // drawn for large fonts: heavier lines
  bool prebuilt;  // drawn when the program is built: shown at every start
};

inline constexpr std::string_view kWelcomeLibrary = "BRISKL.DLL";
inline constexpr std::string_view kBackgroundLibrary = "TRAMOR32.DLL";

// The welcome picture fills the welcome dialog and the button picture its button, so they are
// the sizes those templates give on the desktop. The background is stretched over the main
// window, at the base screen's size; it shows only once the welcome screen is gone. The pictures
// for large fonts are drawn at run time too: embedded beside the others, they would be paged in
// with them at every start, for the few that show them.
inline constexpr PictureEntry kSuitePictures[] = {
    {kWelcomeLibrary, "WEL_BMP", 480, 357, Artwork::kWelcome, false, true},
    {kWelcomeLibrary, "TV2BUT_BMP", 120, 65, Artwork::kButton, false, true},
    {kWelcomeLibrary, "TV2SBUT_BMP", 120, 65, Artwork::kButtonPressed, false, true},
    {kWelcomeLibrary, "WEL_BMP_LARGE", 480, 357, Artwork::kWelcome, true, false},
    {kWelcomeLibrary, "TV2BUT_BMP_LARGE", 120, 65, Artwork::kButton, true, false},
    {kWelcomeLibrary, "TV2SBUT_BMP_LARGE", 120, 65, Artwork::kButtonPressed, true, false},
    {kBackgroundLibrary, "profmodc.bmp", 640, 480, Artwork::kBackground, false, false},
};

// Every picture has 32 bits a pixel and rows without padding.
inline constexpr int kPictureBytesPerPixel = 4;

constexpr std::size_t PictureBytes(const PictureEntry& entry) {
  return static_cast<std::size_t>(entry.width) * static_cast<std::size_t>(entry.height) *
         kPictureBytesPerPixel;
}

// The prebuilt pictures lie one after the other in table order: where this one starts.
constexpr std::size_t PrebuiltOffset(const PictureEntry& entry) {
  std::size_t offset = 0;
  for (const PictureEntry& before : kSuitePictures) {
    if (&before == &entry) break;
    if (before.prebuilt) offset += PictureBytes(before);
  }
  return offset;
}

constexpr std::size_t PrebuiltBytes() {
  std::size_t total = 0;
  for (const PictureEntry& entry : kSuitePictures) {
    if (entry.prebuilt) total += PictureBytes(entry);
  }
  return total;
}

// Opaque pictures have no alpha channel, so that they become pixmaps as they are.
QImage::Format PictureFormat(const PictureEntry& entry);

QImage DrawPicture(const PictureEntry& entry);
