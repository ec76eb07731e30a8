// The desktop's style: the menu bar's overflow chevron is drawn in code, in both reading
// directions, and every other icon still comes from the platform's style.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "lesson_style.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "lesson_style_test";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

constexpr int kEdgeTolerance = 16;  // alpha levels of 255

// The first column holding a pixel that is not fully transparent, -1 for none.
int FirstInkedColumn(const QImage& image) {
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (qAlpha(image.pixel(x, y)) != 0) return x;
    }
  }
  return -1;
}

TEST(LessonStyle, InstallingTwiceKeepsOneStyle) {
  Application();
  InstallLessonStyle();
  QStyle* first = QApplication::style();
  InstallLessonStyle();
  EXPECT_EQ(QApplication::style(), first);
}

TEST(LessonStyle, OverflowChevronHasThePlatformSizesAndIsInked) {
  Application();
  InstallLessonStyle();
  const QIcon icon =
      QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
  struct Case {
    QSize size;
  };
  const Case cases[] = {{{8, 5}}, {{16, 10}}, {{32, 20}}};
  ASSERT_EQ(icon.availableSizes().size(), std::size(cases));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size.width());
    EXPECT_TRUE(icon.availableSizes().contains(c.size));
    const QImage image = icon.pixmap(c.size).toImage();
    ASSERT_EQ(image.size(), c.size);
    EXPECT_GE(FirstInkedColumn(image), 0) << "nothing drawn";
  }
}

TEST(LessonStyle, RightToLeftChevronIsTheMirrorImage) {
  Application();
  for (int width : {8, 16, 32}) {
    SCOPED_TRACE(width);
    const QSize size(width, width * 5 / 8);
    const QImage ltr =
        MenuOverflowIcon(QApplication::palette(), Qt::LeftToRight).pixmap(size).toImage();
    const QImage rtl =
        MenuOverflowIcon(QApplication::palette(), Qt::RightToLeft).pixmap(size).toImage();
    EXPECT_FALSE(ltr == rtl);
    // The rasteriser rounds edges a little differently either way; the shapes are the same.
    const QImage mirrored = ltr.mirrored(true, false).convertToFormat(rtl.format());
    int worst = 0;
    for (int y = 0; y < size.height(); ++y) {
      for (int x = 0; x < size.width(); ++x) {
        worst = std::max(worst, std::abs(qAlpha(mirrored.pixel(x, y)) - qAlpha(rtl.pixel(x, y))));
      }
    }
    EXPECT_LE(worst, kEdgeTolerance);
  }
}

TEST(LessonStyle, OtherIconsComeFromThePlatformStyle) {
  Application();
  InstallLessonStyle();
  std::unique_ptr<QStyle> platform(QStyleFactory::create(QStringLiteral("fusion")));
  for (QStyle::StandardPixmap icon :
       {QStyle::SP_MessageBoxWarning, QStyle::SP_DialogOkButton, QStyle::SP_ArrowDown}) {
    SCOPED_TRACE(static_cast<int>(icon));
    EXPECT_EQ(QApplication::style()->standardIcon(icon).availableSizes(),
              platform->standardIcon(icon).availableSizes());
  }
}

}  // namespace
