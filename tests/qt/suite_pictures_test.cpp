// The suite's pictures as the desktop hands them out: the ones embedded at build time are the
// pixels the artwork draws, and pictures are found by library and name in any case.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>

#include "suite_artwork.h"
#include "suite_pictures.h"

namespace {

QGuiApplication& Application() {
  static int argc = 1;
  static char name[] = "suite_pictures_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
  return application;
}

TEST(SuitePictures, EveryPictureShowsWhatItsArtworkDraws) {
  Application();
  for (const PictureEntry& entry : kSuitePictures) {
    SCOPED_TRACE(std::string(entry.name));
    QImage shown = SuitePicture(entry.library, entry.name).toImage();
    QImage drawn = DrawPicture(entry);
    ASSERT_EQ(shown.size(), QSize(entry.width, entry.height));
    EXPECT_TRUE(shown.convertToFormat(drawn.format()) == drawn);
  }
}

TEST(SuitePictures, OpaqueArtworkHasNoAlphaChannel) {
  Application();
  for (const PictureEntry& entry : kSuitePictures) {
    SCOPED_TRACE(std::string(entry.name));
    bool opaque = entry.artwork == Artwork::kWelcome || entry.artwork == Artwork::kBackground;
    EXPECT_EQ(SuitePicture(entry.library, entry.name).hasAlphaChannel(), !opaque);
  }
}

TEST(SuitePictures, FoundByLibraryAndNameInAnyCase) {
  struct Case {
    const char* library;
    const char* name;
    bool found;
    int width;
    int height;
  };
  const Case cases[] = {
      {"BRISKL.DLL", "WEL_BMP", true, 480, 357},
      {"briskl.dll", "wel_bmp_large", true, 480, 357},
      {"Briskl.Dll", "TV2SBUT_BMP", true, 120, 65},
      {"TRAMOR32.DLL", "PROFMODC.BMP", true, 640, 480},
      {"TRAMOR32.DLL", "WEL_BMP", false, 0, 0},  // another library's picture
      {"BRISKL.DLL", "WEL_BMP_", false, 0, 0},   // a name one longer
      {"OTHER.DLL", "TV2BUT_BMP", false, 0, 0},  // a library the suite does not have
  };
  Application();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.library) + " " + c.name);
    int width = -1;
    int height = -1;
    EXPECT_EQ(SuitePictureSize(c.library, c.name, width, height), c.found);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    EXPECT_EQ(SuitePicture(c.library, c.name).isNull(), !c.found);
  }
}

TEST(SuitePictures, OnlyTheSuitesLibrariesArePresent) {
  struct Case {
    const char* library;
    bool present;
  };
  const Case cases[] = {
      {"BRISKL.DLL", true}, {"tramor32.dll", true}, {"BRISKL", false}, {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.library);
    EXPECT_EQ(SuiteLibraryPresent(c.library), c.present);
  }
}

}  // namespace
