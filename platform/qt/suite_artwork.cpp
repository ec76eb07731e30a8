#include "suite_artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <span>

namespace {

// ---- A small linear program, drawn ------------------------------------------------------------

// The feasible region of u + v <= 7, 2u + v <= 10, u + 2v <= 12, u, v >= 0, its constraint lines
// and the objective 3u + 2v, whose best value lies at the corner (3, 4).
constexpr QPointF kRegion[] = {{0, 0}, {5, 0}, {3, 4}, {2, 5}, {0, 6}};
struct Segment {
  QPointF from;
  QPointF to;
};
constexpr Segment kConstraintLines[] = {
    {{0, 7}, {7, 0}},
    {{0, 10}, {5, 0}},
    {{0, 6}, {12, 0}},
};
constexpr QPointF kOptimum{3, 4};
constexpr Segment kObjectiveLines[] = {
    {{0, 8.5}, {17.0 / 3.0, 0}},
    {{0, 5.5}, {11.0 / 3.0, 0}},
    {{0, 2.5}, {5.0 / 3.0, 0}},
};

// Maps the program's (u, v) onto a rectangle of the picture: origin at its bottom left.
struct Plot {
  QRectF area;
  double uMax;
  double vMax;
  QPointF At(QPointF p) const {
    return {area.left() + p.x() / uMax * area.width(),
            area.bottom() - p.y() / vMax * area.height()};
  }
};

void DrawGrid(QPainter& painter, const Plot& plot, const QColor& colour) {
  painter.setPen(QPen(colour, 1));
  for (int u = 1; u <= static_cast<int>(plot.uMax); ++u) {
    painter.drawLine(plot.At({double(u), 0}), plot.At({double(u), plot.vMax}));
  }
  for (int v = 1; v <= static_cast<int>(plot.vMax); ++v) {
    painter.drawLine(plot.At({0, double(v)}), plot.At({plot.uMax, double(v)}));
  }
}

void DrawAxes(QPainter& painter, const Plot& plot, const QColor& colour, double width) {
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  QPointF origin = plot.At({0, 0});
  QPointF uEnd = plot.At({plot.uMax, 0});
  QPointF vEnd = plot.At({0, plot.vMax});
  painter.drawLine(origin, uEnd);
  painter.drawLine(origin, vEnd);
  painter.setBrush(colour);
  const double head = 4 * width;
  painter.drawPolygon(QPolygonF{uEnd + QPointF(head, 0), uEnd + QPointF(-head / 2, -head / 1.5),
                                uEnd + QPointF(-head / 2, head / 1.5)});
  painter.drawPolygon(QPolygonF{vEnd + QPointF(0, -head), vEnd + QPointF(-head / 1.5, head / 2),
                                vEnd + QPointF(head / 1.5, head / 2)});
}

void DrawRegion(QPainter& painter, const Plot& plot, const QColor& fill, const QColor& edge,
                double width) {
  QPolygonF polygon;
  for (QPointF corner : kRegion) polygon << plot.At(corner);
  painter.setPen(QPen(edge, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(fill);
  painter.drawPolygon(polygon);
}

void DrawSegments(QPainter& painter, const Plot& plot, std::span<const Segment> segments,
                  const QPen& pen) {
  painter.setPen(pen);
  for (const Segment& s : segments) painter.drawLine(plot.At(s.from), plot.At(s.to));
}

void DrawOptimum(QPainter& painter, const Plot& plot, const QColor& colour, double radius) {
  QPointF at = plot.At(kOptimum);
  QColor halo = colour;
  halo.setAlpha(70);
  painter.setPen(Qt::NoPen);
  painter.setBrush(halo);
  painter.drawEllipse(at, radius * 2.2, radius * 2.2);
  painter.setBrush(colour);
  painter.setPen(QPen(Qt::white, radius / 3));
  painter.drawEllipse(at, radius, radius);
}

// The direction in which the objective grows: an arrow from the region's middle.
void DrawGrowthArrow(QPainter& painter, const Plot& plot, const QColor& colour, double width) {
  QPointF from = plot.At({1.2, 1.4});
  QPointF to = plot.At({1.2 + 1.5, 1.4 + 1.0});
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(from, to);
  QLineF shaft(to, from);
  QLineF left = shaft;
  left.setLength(4 * width);
  left.setAngle(shaft.angle() + 28);
  QLineF right = shaft;
  right.setLength(4 * width);
  right.setAngle(shaft.angle() - 28);
  painter.setBrush(colour);
  painter.drawPolygon(QPolygonF{to, left.p2(), right.p2()});
}

// ---- The pictures -----------------------------------------------------------------------------

// The welcome screen: the program on a pale card, a grey band at the foot for the version line,
// and room in the middle of the foot for the picture button.
void PaintWelcome(QPainter& painter, QSize size, bool large) {
  const double weight = large ? 1.4 : 1.0;
  QLinearGradient card(0, 0, 0, size.height());
  card.setColorAt(0, QColor(247, 252, 252));
  card.setColorAt(1, QColor(214, 236, 236));
  painter.fillRect(QRect(QPoint(0, 0), size), card);
  painter.fillRect(QRect(0, 0, size.width(), 8), QColor(0, 128, 128));
  const int bandTop = size.height() - 34;
  painter.fillRect(QRect(0, bandTop, size.width(), size.height() - bandTop), QColor(192, 192, 192));
  painter.fillRect(QRect(0, bandTop, size.width(), 1), QColor(128, 128, 128));

  Plot plot{QRectF(70, 34, 340, 190), 10.0, 6.5};
  DrawGrid(painter, plot, QColor(0, 128, 128, 36));
  DrawRegion(painter, plot, QColor(42, 161, 152, 110), QColor(0, 96, 96), 2 * weight);
  painter.save();
  painter.setClipRect(plot.area.adjusted(0, -4, 0, 0));
  DrawSegments(painter, plot, kConstraintLines,
               QPen(QColor(40, 60, 70), 1.5 * weight, Qt::SolidLine, Qt::RoundCap));
  DrawSegments(painter, plot, kObjectiveLines,
               QPen(QColor(214, 120, 20), 1.5 * weight, Qt::DashLine, Qt::RoundCap));
  painter.restore();
  DrawAxes(painter, plot, QColor(30, 40, 50), 2 * weight);
  DrawGrowthArrow(painter, plot, QColor(214, 120, 20), 2.5 * weight);
  DrawOptimum(painter, plot, QColor(214, 80, 20), 5 * weight);
}

// The picture button: a rounded teal key with a start arrow; pressed, it sits lower and darker.
void PaintButton(QPainter& painter, QSize size, bool pressed, bool large) {
  const double offset = pressed ? 2.0 : 0.0;
  QRectF key = QRectF(2, 2, size.width() - 6, size.height() - 6).translated(offset, offset);
  if (!pressed) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(key.translated(3, 3), 12, 12);
  }
  QLinearGradient body(key.topLeft(), key.bottomLeft());
  body.setColorAt(0, pressed ? QColor(16, 104, 110) : QColor(52, 170, 168));
  body.setColorAt(1, pressed ? QColor(6, 66, 74) : QColor(10, 100, 110));
  painter.setPen(QPen(QColor(4, 50, 56), large ? 2 : 1.5));
  painter.setBrush(body);
  painter.drawRoundedRect(key, 12, 12);
  if (!pressed) {
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(key.adjusted(3, 3, -3, -3), 9, 9);
  }
  const double side = large ? 30 : 26;
  QPointF centre = key.center() + QPointF(side / 8, 0);
  QPolygonF arrow{centre + QPointF(-side / 2.4, -side / 2), centre + QPointF(side / 1.8, 0),
                  centre + QPointF(-side / 2.4, side / 2)};
  painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::white);
  painter.drawPolygon(arrow);
}

// The main window's background: the lesson's teal with a faint program drawn large across it.
void PaintBackground(QPainter& painter, QSize size) {
  QRadialGradient glow(size.width() * 0.45, size.height() * 0.4, size.width() * 0.75);
  glow.setColorAt(0, QColor(0, 150, 150));
  glow.setColorAt(1, QColor(0, 92, 100));
  painter.fillRect(QRect(QPoint(0, 0), size), glow);
  Plot plot{
      QRectF(size.width() * 0.12, size.height() * 0.12, size.width() * 0.76, size.height() * 0.74),
      10.0, 6.5};
  DrawGrid(painter, plot, QColor(255, 255, 255, 22));
  DrawRegion(painter, plot, QColor(255, 255, 255, 34), QColor(255, 255, 255, 90), 2.5);
  painter.save();
  painter.setClipRect(plot.area);
  DrawSegments(painter, plot, kConstraintLines,
               QPen(QColor(255, 255, 255, 70), 2, Qt::SolidLine, Qt::RoundCap));
  DrawSegments(painter, plot, kObjectiveLines,
               QPen(QColor(255, 214, 120, 110), 2, Qt::DashLine, Qt::RoundCap));
  painter.restore();
  DrawAxes(painter, plot, QColor(255, 255, 255, 120), 2.5);
  DrawOptimum(painter, plot, QColor(255, 200, 90, 200), 7);
}

}  // namespace

// The welcome card and the background cover their whole picture; the buttons have transparent
// corners.
QImage::Format PictureFormat(const PictureEntry& entry) {
  bool opaque = entry.artwork == Artwork::kWelcome || entry.artwork == Artwork::kBackground;
  return opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
}

QImage DrawPicture(const PictureEntry& entry) {
  QImage image(entry.width, entry.height, PictureFormat(entry));
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QSize size(entry.width, entry.height);
  switch (entry.artwork) {
    case Artwork::kWelcome:
      PaintWelcome(painter, size, entry.large);
      break;
    case Artwork::kButton:
      PaintButton(painter, size, false, entry.large);
      break;
    case Artwork::kButtonPressed:
      PaintButton(painter, size, true, entry.large);
      break;
    case Artwork::kBackground:
      PaintBackground(painter, size);
      break;
  }
  painter.end();
  return image;
}
