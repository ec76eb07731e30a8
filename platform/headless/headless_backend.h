// The headless back end: the window system without a display, driven by a play script. It reports
// a fixed screen and fixed character widths, stands in for the world outside (missing libraries,
// the lesson font, the calculator, the help, the printer, a second copy already running), and at
// every idle moment writes the transcript and performs the script's next action. main() installs
// it for `tavrin --play`; the headless tests use it directly.
#pragma once

#include <cstdio>
#include <iosfwd>
#include <string>
#include <string_view>

#include "backend.h"
#include "play_script.h"

// Makes the headless back end the window system's back end for this script, writing the transcript
// to out (which must outlive the session): the program passes stdout, the tests a string stream.
// With `already-running` it also creates the window of the other copy (class and title "Tavrin").
//
// How a session ends:
// - The script runs out of actions while the lesson waits for input: the transcript so far is
//   written and flushed and the process ends at once with std::exit(0), from inside the message
//   loop (the lesson's windows are not destroyed; nothing of the lesson's is left to save).
// - An action does not fit what is on screen, or an `expect` fails: the transcript so far is
//   flushed, the reason goes to standard error as "script line N: ACTION: reason", and the process
//   ends with std::exit(1).
// - The lesson ends by itself (its loop returned, or start-up stopped early): main() calls
//   FinishPlay with the lesson's exit code and returns what FinishPlay returns.
void InstallHeadlessBackend(const PlayScript& script, std::FILE* out);
void InstallHeadlessBackend(const PlayScript& script, std::ostream& out);

// Writes the last changes and `exit CODE`, then checks the actions left over: `expect` lines are
// still checked against the transcript; any other action cannot run on a lesson that has ended.
// Returns the process's exit status: 0, or 1 when a left-over action failed (reason on stderr).
int FinishPlay(int exitCode);

// ---- Pieces of the runner, for tests ----------------------------------------------------------

// Writes the changes since the last idle moment to the transcript, as an idle moment does.
void WriteIdleMoment();

// The fixed advance widths of the headless fonts: 8 px for every printable byte of the lesson
// face "custom" (it draws formulas, so it is monospaced like the desktop's), 7 px for every
// printable byte of any other face, 0 for control bytes; the same at every height.
void HeadlessCharWidths(std::string_view face, int height, CharWidths& widths);

inline constexpr int kHeadlessStartResult = 33;  // StartProgram's success value for the calculator
