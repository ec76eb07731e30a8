// The back end in use, and the default one: it changes nothing on a screen and gives no input,
// so that the window system runs in tests without a display and its loops end rather than wait.
#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr ScreenMetrics kDefaultScreen{1024, 768, 96};
inline constexpr int kDefaultCharWidth = 8;
inline constexpr int kProgramNotFound = 2;

ScreenMetrics DefaultScreen() {
  return kDefaultScreen;
}
void DefaultCharWidths(std::string_view, int, CharWidths& widths) {
  widths.fill(kDefaultCharWidth);
}
bool NothingThere(std::string_view) {
  return false;
}
bool NoPicture(std::string_view, std::string_view, int& width, int& height) {
  width = 0;
  height = 0;
  return false;
}
int NoProgram(std::string_view) {
  return kProgramNotFound;
}
void Ignore(std::string_view) {}
void IgnoreWindow(Window) {}
void NoInput() {}
bool NoKeyDown(int) {
  return false;
}
void NoPrinter(Window, std::span<const std::string_view>) {}

constexpr Backend kDefaultBackend{
    DefaultScreen, DefaultCharWidths, NothingThere, NothingThere, NoPicture, NoProgram, Ignore,
    Ignore,        IgnoreWindow,      NoInput,      NoKeyDown,    NoPrinter,
};

Backend installed = kDefaultBackend;

template <typename Entry>
void Keep(Entry& entry, Entry fallback) {
  if (!entry) entry = fallback;
}

}  // namespace

const Backend& TheBackend() {
  return installed;
}

}  // namespace platform_detail

using namespace platform_detail;

void InstallBackend(const Backend& backend) {
  installed = backend;
  Keep(installed.screen, kDefaultBackend.screen);
  Keep(installed.charWidths, kDefaultBackend.charWidths);
  Keep(installed.fontInstalled, kDefaultBackend.fontInstalled);
  Keep(installed.libraryPresent, kDefaultBackend.libraryPresent);
  Keep(installed.pictureAvailable, kDefaultBackend.pictureAvailable);
  Keep(installed.startProgram, kDefaultBackend.startProgram);
  Keep(installed.openHelp, kDefaultBackend.openHelp);
  Keep(installed.reportEvent, kDefaultBackend.reportEvent);
  Keep(installed.windowChanged, kDefaultBackend.windowChanged);
  Keep(installed.waitForInput, kDefaultBackend.waitForInput);
  Keep(installed.keyDown, kDefaultBackend.keyDown);
  Keep(installed.printDocument, kDefaultBackend.printDocument);
}
