// Performing a play script's actions: each is checked against what is on screen (the message box,
// else the topmost modal dialog, else the active panel, else the main window) and delivered
// through the window system's input functions, as a student's click or key would be. Used by the
// play runner (headless_backend) and its tests.
#pragma once

#include <string>
#include <string_view>

#include "backend.h"
#include "play_script.h"

enum class ScreenTarget : std::uint8_t { kMessageBox, kModalDialog, kPanel, kMainWindow, kNothing };

struct OnScreen {
  ScreenTarget target;
  Window window;
};

// What the next action acts on.
OnScreen WhatIsOnScreen();
// Names it for a reason: `message box "Tavrin"`, `dialog 1603`, `the main window`.
std::string DescribeOnScreen(const OnScreen& onScreen);

// Checks that the action fits what is on screen and performs it. A `type` or `clear` delivers its
// first key stroke here and the rest through DeliverPendingStroke. sinceAction is the transcript
// written since the previous action, for `expect`. False with the reason, naming what is on screen,
// when the action does not fit; nothing is performed then. delivered tells whether input went to
// the lesson (an `expect` or clearing an empty field delivers none).
bool PerformPlayAction(const PlayAction& action, std::string_view sinceAction, bool& delivered,
                       std::string& reason);

// True while key strokes of a `type` or `clear` are waiting.
bool HasPendingStrokes();
// Delivers the next waiting key stroke, provided the same window is still on screen and its focus
// has not moved. False with the reason when typing cannot go on.
bool DeliverPendingStroke(std::string& reason);
// Forgets waiting strokes and held modifiers (a new session).
void ResetPlayActions();

// Modifier keys (kKeyControl, kKeyAlt, kKeyShift) are held from a `key` action's delivery until
// the lesson is next idle.
bool IsModifierHeld(int key);
void ReleaseModifiers();
