// The world outside the program on the desktop: the calculator, a program of the desktop started
// for "calc.exe" and known to the window system as a foreign window titled "Calculator" while it
// runs (on X11 also one opened elsewhere, raised and closed on the desktop with its foreign
// window); and the help window, our own viewer of the help files embedded in the program, known as
// a foreign window with the help's title while it is open.
#pragma once

#include <QWidget>
#include <string_view>

#include "platform.h"

// Starts the program a path names; returns a value of 32 or more on success, an error code
// below that (2: no such program).
int StartDesktopProgram(std::string_view path);

// Opens the help file at its contents page in the help window.
void OpenDesktopHelp(std::string_view file);

// A window changed or went: the programs and windows it stood for follow (a calculator brought to
// the top comes up, one asked to close ends, a closed help window closes).
void WorldWindowChanged(Window window);

// The help window while it is open; nullptr otherwise.
QWidget* HelpWindow();

// Closes the help window and lets the calculator run on by itself.
void ResetWorldWindows();
