// The build's tool that draws the suite's pictures marked prebuilt (suite_artwork.h) into one
// file of raw pixels, one picture after the other in table order, rows without padding, for the
// program to embed:
//
//   tavrin_draw_pictures OUTPUT
//
// It draws on images only, so it needs no display.
#include <cstdio>

#include "suite_artwork.h"

namespace {

constexpr int kUsageError = 2;

bool WritePicture(std::FILE* file, const PictureEntry& entry) {
  QImage image = DrawPicture(entry);
  auto rowBytes = static_cast<std::size_t>(entry.width) * kPictureBytesPerPixel;
  for (int y = 0; y < image.height(); ++y) {
    if (std::fwrite(image.constScanLine(y), 1, rowBytes, file) != rowBytes) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tavrin_draw_pictures OUTPUT\n", stderr);
    return kUsageError;
  }
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  bool written = true;
  for (const PictureEntry& entry : kSuitePictures) {
    if (entry.prebuilt && !WritePicture(file, entry)) written = false;
  }
  if (std::fclose(file) != 0) written = false;
  if (!written) {
    std::perror(argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
