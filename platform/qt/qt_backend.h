// The desktop: the window system's back end on Qt 6 Widgets. The program's main() installs it when
// the lesson runs on a display; the desktop tests install it on Qt's offscreen platform. This
// header carries no Qt types, so that main() builds without Qt headers.
#pragma once

#include <string>

#include "platform.h"

struct DesktopOptions {
  // Set: the lesson sees this screen and the main window's client area is exactly its size (tests
  // and screenshots). Otherwise the screen is the room a maximised main window has on the primary
  // display, and the main window is shown maximised.
  bool fixedScreen = false;
  ScreenMetrics screen{};
  // The channel by which a second copy finds the first one; empty: one channel per user and
  // display session.
  std::string instanceChannel;
  // Set: the program ends (exit status 0) the first time the desktop would wait for the student,
  // once what is on screen has been painted. A developer's option for timing start-up.
  bool exitAtFirstIdle = false;
};

// Starts Qt and makes the desktop the window system's back end. False, with the reason, when Qt
// cannot open a display. argc and argv must outlive the desktop (Qt keeps them).
bool InstallQtBackend(int& argc, char** argv, const DesktopOptions& options, std::string& error);

// Closes every window of the desktop and the single-instance channel, and ends Qt.
void ShutDownQtBackend();

// ---- For the desktop tests --------------------------------------------------------------------

// Called at every idle moment, once the widgets show the lesson's state and every pending input
// has been delivered. A hook may act on the widgets as a student would (synthesised mouse and key
// events); the desktop then delivers that input. While a hook is set, idle moments come back at
// short intervals even when nothing happens, so that a hook can wait for something.
using DesktopIdleHook = void (*)();
void SetDesktopIdleHook(DesktopIdleHook hook);

// From now on the desktop delivers no input: every message loop of the lesson returns (-1), so
// that the lesson's LessonMain comes back to the test.
void EndDesktopInput();

// Forgets every widget of the desktop; after ResetWindowSystem, between sessions of one test.
void ResetDesktop();
