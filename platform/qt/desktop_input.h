// The student's input on the desktop: Qt's mouse, key and close events on the mirrored widgets
// become the window system's input (clicks, key presses, typed characters, list clicks, close
// requests, menu choices). Qt's own handling of those events never runs on the mirrored widgets:
// the window system decides what a key or click does. Input waits in a queue of its own and is
// delivered one piece at each idle moment, so that each key is translated with the modifiers it
// was pressed with.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

#include "platform.h"

// Tags a widget with the window it mirrors; key events in it go to that window, or to the
// window with the keyboard focus when that lies in the same Qt window.
void TagWidget(QWidget* widget, Window window);
Window TaggedWindow(const QObject* object);

// Starts routing Qt's key events in tagged windows to the window system.
void InstallKeyRouting();

// Mouse input of lists and edit fields goes through these filters.
void WatchListClicks(QListWidget* list, Window window);
void WatchEditClicks(QLineEdit* edit, Window window);

void QueueClick(Window control);
void QueueClose(Window window);
void QueueMenuCommand(Window window, int command);

// Delivers the oldest queued input that the window system takes now; input for a window that is
// gone, hidden or disabled is dropped. False when nothing was delivered.
bool DeliverQueuedInput();
// Forgets queued input and every tagged widget (between sessions).
void ResetInput();

// Whether the key (kKeyShift, kKeyControl, kKeyAlt) was held for the input delivered last.
bool HeldForLastInput(int key);

// The window and everything it sits in are shown and enabled (the window system drops input
// for any other).
bool TakesInput(Window window);
