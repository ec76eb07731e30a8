// Other programs' top-level windows on an X11 desktop: found by title in the window manager's list
// of clients (without a window manager, among the root window's children), brought to the top
// and asked to close. The outside world uses it for the calculator. On Wayland, on the offscreen
// platform and in a build without libxcb no window of another program is seen.
#pragma once

#include <cstdint>
#include <string_view>

using DesktopWindow = std::uint32_t;  // an X window; 0 is none
inline constexpr DesktopWindow kNoDesktopWindow = 0;

// Whether this desktop lets the program see other programs' windows (Qt runs on X11).
bool DesktopWindowsSeen();

// The topmost top-level window of another program with that title (case ignored), or
// kNoDesktopWindow when there is none or the desktop does not let us see.
DesktopWindow FindDesktopWindow(std::string_view title);

// Brings the window to the top and gives it the keyboard, as a taskbar would; the window manager
// does it where there is one that says it can.
void RaiseDesktopWindow(DesktopWindow window);

// Asks the window's program to close it, as its close button would.
void CloseDesktopWindow(DesktopWindow window);
