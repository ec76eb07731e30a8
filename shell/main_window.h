// The main window: its procedure, which paints the background picture while no problem runs,
// keeps the large-screen background in step, filters Alt keys, confirms quitting, and turns every
// command into an action (the menu's own commands here, the lesson flow's in lesson_flow.h).
// Start-up registers TsbWndProc with the window class; the panels post their commands to it.
#pragma once

#include "platform.h"

// The menu's commands handled here.
inline constexpr int kCmdCalculator = 116;
inline constexpr int kCmdPrintCertificate = 135;
inline constexpr int kCmdCertificationSeries = 101;
inline constexpr int kCmdHelp = 9;
inline constexpr int kCmdQuit = 140;

// The positions of the menu bar: "&Practice", "&Certification", "&Options", "&Help", "&Quit".
inline constexpr int kMenuPractice = 0;
inline constexpr int kMenuCertification = 1;
inline constexpr int kMenuOptions = 2;
inline constexpr int kMenuHelp = 3;
inline constexpr int kMenuQuit = 4;
inline constexpr int kMenuBarItems = 5;

Result TsbWndProc(Window window, unsigned message, WParam wParam, LParam lParam);

// Runs one command of the menu or of the lesson flow with its value; other commands are ignored.
void MainWindowCommand(Window window, int command, LParam value);

// True for the Alt combinations the menu bar takes: a blank and its mnemonics C, H, O, P, Q in
// either case.
bool IsMenuMnemonic(unsigned character);
