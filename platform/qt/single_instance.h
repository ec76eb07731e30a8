// One copy of the program per user and display session. The window system finds a running copy
// only among its own windows, which live in one process; across processes a local socket stands
// in. The first copy opens the channel and answers each newcomer with the class and title of its
// top-level windows; a later copy creates foreign windows of those classes and titles, so that
// the program finds "its" running copy as it would on one desktop, and when the program brings
// such a window to the top, the first copy is asked to raise its windows.
#pragma once

#include <string>

#include "platform.h"

// The channel's default name: per user and display session.
std::string DefaultInstanceChannel();

// Joins the channel of a copy already running (creating its stand-in windows), or opens the
// channel for copies started later. onRaise runs in the first copy when a later one asks.
void JoinInstanceChannel(const std::string& channel, void (*onRaise)());

// A stand-in window brought to the top sends the raise request.
void InstanceWindowChanged(Window window);

// Raise requests this copy received; for tests.
int RaiseRequestsReceived();

void CloseInstanceChannel();
