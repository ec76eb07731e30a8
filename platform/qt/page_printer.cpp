#include "page_printer.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr double kMarginMm = 20.0;
constexpr int kHeadingPoints = 26;
constexpr int kTextPoints = 14;
constexpr double kLineSpacing = 1.6;  // lines apart, in lines of their own height

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool AskForPrinter(QPrinter& printer, const PageRequest& request) {
  if (!request.file.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Utf8(request.file));
    return true;
  }
  // The window system is inside this call and takes no input until it returns, so the dialog
  // may run its own loop as a printing dialog of any program does.
  QPrintDialog dialog(&printer, request.parent ? request.parent->window() : nullptr);
  return dialog.exec() == QDialog::Accepted;
}

void DrawFrame(QPainter& painter, const QRect& page, int resolution) {
  int gap = resolution / 20;
  painter.setPen(QPen(QColor(0, 96, 96), resolution / 30));
  painter.drawRect(page);
  painter.setPen(QPen(QColor(0, 96, 96), resolution / 100));
  painter.drawRect(page.adjusted(gap, gap, -gap, -gap));
}

void DrawLines(QPainter& painter, const QRect& page, std::span<const std::string_view> text) {
  QFont heading(QStringLiteral("DejaVu Serif"), kHeadingPoints, QFont::Bold);
  QFont body(QStringLiteral("DejaVu Serif"), kTextPoints);
  // The lines' total height, to centre them on the page.
  double total = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    total += QFontMetricsF(i == 0 ? heading : body, painter.device()).height() * kLineSpacing;
  }
  double y = page.top() + (page.height() - total) / 2;
  for (std::size_t i = 0; i < text.size(); ++i) {
    painter.setFont(i == 0 ? heading : body);
    double height = QFontMetricsF(painter.font(), painter.device()).height() * kLineSpacing;
    painter.drawText(QRectF(page.left(), y, page.width(), height), Qt::AlignCenter, Utf8(text[i]));
    y += height;
  }
}

}  // namespace

void TavrinPrintPage(const PageRequest& request) {
  std::span<const std::string_view> lines = request.lines;
  if (lines.empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Utf8(lines[0]));
  printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                         QPageLayout::Millimeter);
  if (!AskForPrinter(printer, request)) return;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QRect page = painter.viewport();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFrame(painter, page, printer.resolution());
  painter.setPen(Qt::black);
  DrawLines(painter, page, lines.subspan(1));
  painter.end();
}
