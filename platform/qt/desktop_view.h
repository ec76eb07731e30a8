// What the desktop tests see of the desktop: the widget that shows a window, the main shell, the
// help window, and a screenshot of every window on screen at its place.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QWidget>

#include "platform.h"

QWidget* DesktopWidget(Window window);
QMainWindow* DesktopShell();
// The main shell's desk: the program's screen, with the main window's client area on it.
QWidget* DesktopDesk();
QWidget* DesktopHelpWindow();

// Every shown window of the desktop (the main shell, dialogs and boxes over it, the help window),
// each drawn at its place, the topmost last, on the union of their rectangles.
QImage DesktopScreenshot();

// Raise requests this copy received from later copies.
int DesktopRaiseRequests();
