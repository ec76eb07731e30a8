#include "desktop_printing.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <string>

#include "main_shell.h"
#include "page_printer.h"
#include "window_mirror.h"

namespace {

std::string printFile;

// The page printer's module: where the program is installed, else where the build put it. Looked
// for once; null when it is in neither place.
PrintPageEntry PagePrinter() {
  static PrintPageEntry entry = nullptr;
  static bool lookedFor = false;
  if (lookedFor) return entry;
  lookedFor = true;
  QString installed = QDir(QCoreApplication::applicationDirPath())
                          .filePath(QStringLiteral("../" TAVRIN_PRINTING_INSTALLED));
  for (const QString& path : {installed, QStringLiteral(TAVRIN_PRINTING_BUILT)}) {
    QLibrary module(path);
    entry = reinterpret_cast<PrintPageEntry>(module.resolve(kPrintPageEntryName));
    if (entry) break;
  }
  return entry;
}

}  // namespace

void PrintDesktopDocument(Window owner, std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  PrintPageEntry print = PagePrinter();
  if (!print) return;
  // The dialog goes over the window that asked, or over the main shell.
  QWidget* parent = MirrorWidget(owner);
  if (!parent) parent = MirrorShell();
  print({parent, printFile, lines});
}

void SetDesktopPrintFile(std::string_view path) {
  printFile = std::string(path);
}
