// The mirror: every window of the window system shown as Qt widgets. The program's window with a
// menu bar is the main shell; its modeless dialogs are frames on the shell's desk; modal dialogs
// and message boxes are dialog windows over the shell; controls are widgets inside their dialog.
// The window system tells of changes as they happen; the mirror brings the widgets up to date at
// each idle moment, before the desktop waits for input. The main shell minimised or restored on
// the desktop is told the other way, to the window system at once.
#pragma once

#include <QList>
#include <QWidget>

#include "platform.h"

class MainShell;

struct MirrorOptions {
  // The shell's desk is exactly the screen's size, and the shell is not maximised.
  bool fixedScreen = false;
};
void SetMirrorOptions(const MirrorOptions& options);

// A window was created, changed or destroyed.
void NoteWindowChanged(Window window);

// Brings every widget in line with its window, places and stacks them, and moves the keyboard
// focus where the window system has it.
void SyncMirror();

// The widget that shows a window; nullptr when it has none (yet).
QWidget* MirrorWidget(Window window);
MainShell* MirrorShell();

// Brings the main shell and its topmost dialog to the front (another copy asked for it).
void RaiseMirror();

// The shown top-level widgets of the mirror, the bottom one first.
QList<QWidget*> MirrorTopLevels();

// Deletes every widget and forgets every window.
void ResetMirror();
