// The transcript of a scripted session: what the student would see, written as text at each idle
// moment as the changes since the previous one (windows hidden and ended, the main window's title,
// menu and status line, the problem box, windows shown and updated, message boxes). The play
// runner in headless_backend keeps one Transcript and feeds it the window system's notifications.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "backend.h"

// The face of the lesson font, whose bytes 0xC0 and up draw relation signs and marker glyphs.
inline constexpr std::string_view kLessonFace = "custom";

// A dialog or message box that has been on screen since the last idle moment, or is now.
struct TrackedWindow {
  Window window = kNoWindow;
  bool isBox = false;
  bool modal = false;
  std::string name;           // the template name: "MINMAX", "1603"
  Result result = 0;          // the end result of a modal dialog, once it has ended
  bool onScreen = false;      // shown, as of the latest notification
  bool writtenShown = false;  // shown at the last idle moment (a show or update line was written)
  std::string contents;       // the lines last written for it, for telling an update
  std::vector<std::uint32_t> serials;  // its own and its controls' serials when last looked at
};

// A dialog or message box appearing or going, in the order it happened.
struct ScreenChange {
  Window window;
  bool shown;       // false: hidden or destroyed
  bool wasWritten;  // a hide of a window the transcript had shown
  bool isBox;
  bool modal;
  std::string name;
  Result result;
};

struct Transcript {
  std::vector<TrackedWindow> windows;
  std::vector<ScreenChange> changes;
  // The main window and the problem box as last looked at; their serials tell whether to look
  // again.
  Window mainWindow = kNoWindow;
  std::uint32_t mainSerial = 0;
  std::uint32_t menuSerial = 0;
  Window problemBoxWindow = kNoWindow;
  std::uint32_t problemBoxSerial = 0;
  bool mainSeen = false;
  std::string title;
  std::string menuLine;
  std::string status = "separator";
  bool problemBoxShown = false;
  std::string problemBox;
};

// Records that a window was created, changed, shown, hidden or destroyed (Backend::windowChanged).
void NoteWindowChanged(Transcript& transcript, Window window);

// The transcript lines of what changed since the last idle moment, each ending in '\n', and makes
// the present state the one the next idle moment compares against.
std::string DescribeIdleMoment(Transcript& transcript);

// ---- Reading the screen (shared with the play runner) ------------------------------------------

// The main window: the first top-level window of a registered class that has a menu bar.
Window FindMainWindow();
// The problem box: the main window's list-box child.
Window FindProblemBox(Window mainWindow);

// Single-byte text as UTF-8: Latin-1, except that text in the lesson font shows the relation signs
// and marker glyphs. Control bytes become blanks so that every line stays one line.
std::string TextToUtf8(std::string_view bytes, bool lessonFont);
// A button, radio or menu label as the student reads it: no '&' ("&&" is one '&'), no blanks
// around it.
std::string LabelText(std::string_view label);
// How a control is written in a show or update line, "" for one that shows no text (a frame).
std::string DescribeControl(Window control);
// The lines of a dialog as now on screen, after its show or update line.
std::string DescribeDialogContents(Window dialog);
// The box line of a message box: box "CAPTION" ICON BUTTONS: TEXT (without the line end).
std::string DescribeMessageBox(Window box);
// The menu line (without the line end) and the status item's text ("separator" when it is one).
std::string DescribeMenuBar(Window mainWindow);
std::string DescribeStatusItem(Window mainWindow);
// The caption and message text of a message box as UTF-8.
void MessageBoxTexts(Window box, std::string& caption, std::string& text);
// The name a dialog goes by in the transcript: its template name.
std::string DialogName(Window dialog);

// Removes trailing blanks.
std::string_view TrimRight(std::string_view text);
