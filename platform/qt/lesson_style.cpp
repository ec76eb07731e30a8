// The lesson's style: every QMenuBar asks its style for the overflow button's icon when it is
// built, and the platform's style reads that from a PNG through QImageReader, which loads every
// image-format plugin there is (and their libraries) at start-up just to tell the format. The
// lesson's menu bar never overflows, but the button still gets a proper chevron, drawn here.
#include "lesson_style.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

namespace {

// The sizes of the platform style's own overflow chevron: width and height 8 by 5, doubled.
constexpr int kChevronWidths[] = {8, 16, 32};
constexpr int kChevronAspectWidth = 8;
constexpr int kChevronAspectHeight = 5;

class LessonStyle : public QProxyStyle {
 public:
  // Takes over the style Qt chose (it becomes the base and is owned by this proxy).
  explicit LessonStyle(QStyle* base) : QProxyStyle(base) {}

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (icon != SP_ToolBarHorizontalExtensionButton) {
      return QProxyStyle::standardIcon(icon, option, widget);
    }
    const QPalette palette = widget ? widget->palette() : QApplication::palette();
    return MenuOverflowIcon(palette,
                            option ? option->direction : QGuiApplication::layoutDirection());
  }
};

QPointer<QStyle> installed;

// Two chevrons side by side, centred, pointing to where the reading direction ends.
QPixmap DrawChevrons(int width, const QColor& colour, Qt::LayoutDirection direction) {
  const int height = width * kChevronAspectHeight / kChevronAspectWidth;
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal stroke = width / 11.0;
  painter.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  const qreal inset = stroke / 2;
  const qreal arm = height / 2.0 - inset;  // how far a chevron reaches across
  const qreal step = width / 2.0;          // from one chevron to the next
  const qreal first = (width - step - arm) / 2;
  QPainterPath path;
  for (qreal left : {first, first + step}) {
    path.moveTo(left, inset);
    path.lineTo(left + arm, height / 2.0);
    path.lineTo(left, height - inset);
  }
  if (direction == Qt::RightToLeft) {
    painter.translate(width, 0);
    painter.scale(-1, 1);
  }
  painter.drawPath(path);
  return pixmap;
}

}  // namespace

QIcon MenuOverflowIcon(const QPalette& palette, Qt::LayoutDirection direction) {
  QIcon icon;
  for (int width : kChevronWidths) {
    icon.addPixmap(DrawChevrons(width, palette.color(QPalette::ButtonText), direction));
  }
  return icon;
}

void InstallLessonStyle() {
  if (installed && QApplication::style() == installed) return;
  installed = new LessonStyle(QApplication::style());
  QApplication::setStyle(installed);
}
