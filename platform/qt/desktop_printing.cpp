#include "desktop_printing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <string>

#include "main_shell.h"
#include "window_mirror.h"

namespace {

constexpr double kMarginMm = 20.0;
constexpr int kHeadingPoints = 26;
constexpr int kTextPoints = 14;
constexpr double kLineSpacing = 1.6;  // lines apart, in lines of their own height

std::string printFile;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The print dialog over the window that asked, or over the main shell.
bool AskForPrinter(QPrinter& printer, Window owner) {
  if (!printFile.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printFile));
    return true;
  }
  QWidget* parent = MirrorWidget(owner);
  if (!parent) parent = MirrorShell();
  // The window system is inside this call and takes no input until it returns, so the dialog
  // may run its own loop as a printing dialog of any program does.
  QPrintDialog dialog(&printer, parent ? parent->window() : nullptr);
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

void PrintDesktopDocument(Window owner, std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Utf8(lines[0]));
  printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                         QPageLayout::Millimeter);
  if (!AskForPrinter(printer, owner)) return;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QRect page = painter.viewport();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFrame(painter, page, printer.resolution());
  painter.setPen(Qt::black);
  DrawLines(painter, page, lines.subspan(1));
  painter.end();
}

void SetDesktopPrintFile(std::string_view path) {
  printFile = std::string(path);
}
