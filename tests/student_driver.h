// Whole lesson runs driven by a student written in C++: the lesson's own LessonMain on a back end
// of the tests' own, whose every idle moment asks the student for its next action on what is on
// screen (the message box, else the topmost modal dialog, else the active panel, else the main
// window). The actions are the play scripts', delivered exactly as `tavrin --play` delivers them.
// Each session runs in a child process of its own, so that every run starts from the lesson's
// start-up state and a crash, a sanitizer report or a hang ends that session only. Used by
// complete_run_test and random_student_test.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "backend.h"
#include "play_actions.h"
#include "play_script.h"

struct StudentView {
  OnScreen on;
  std::string name;     // dialogs and panels: the template name ("MINMAX", "1603", "2500")
  std::string caption;  // message boxes: caption and text, UTF-8
  std::string text;
  std::uint32_t boxStyle = 0;
  std::string sinceAction;  // the transcript, as `tavrin --play` writes it, since the last action
  bool typing = false;      // keystrokes of a `type` are still being delivered
  int actionsTaken = 0;
};

// observe sees every idle moment, those between keystrokes included; next is asked for an action
// whenever no keystrokes are waiting and returns false to end the session; finish runs once as
// the session ends (unless it dies), to report what the student counted.
struct Student {
  std::function<void(const StudentView&)> observe;
  std::function<bool(const StudentView&, PlayAction&)> next;
  std::function<void()> finish;
};

// One action as a play script line writes it: "click 1", "key Ctrl+Up", "answer Yes".
PlayAction Act(std::string_view scriptLine);
// Types single-byte text into the focused control. signsAsKeys: the relation bytes 0xC1, 0xC0 and
// 0x82 with their keys F1, F2 and F3, as a student types them; otherwise every byte a character.
PlayAction TypeAction(std::string_view bytes, bool withEnter, bool signsAsKeys = true);

// How a student who knows the answer writes its lines; sessions write the same answer differently
// and the lesson must read them all alike.
struct LineStyle {
  bool upperCase = false;  // "3P" rather than "3p"
  bool shuffled = false;   // the terms in an order of the student's own
  bool rhsFirst = false;  // «120 ≥ 3p», where the entry format allows it (one written-out term)
  bool blanks = true;     // blanks around the signs
};

// The right line for constraint i of the current problem (the process-wide `formulation`), or
// for the objective function when i is -1, every coefficient within the matcher's tolerances.
std::string CorrectLine(int constraint, const LineStyle& style, std::mt19937_64& random);

// Reading a dialog: its first visible list box's rows, the selected row (-1 for none), a
// control's text (empty when there is no such control), as single-byte text.
std::vector<std::string> DialogListRows(Window dialog);
int DialogListSelection(Window dialog);
std::string DialogItemText(Window dialog, int id);
// The visible and enabled controls of that kind (any push button kind for buttons).
std::vector<Window> UsableControls(Window dialog, ControlKind kind);
// The focused control when it lies inside the window, else kNoWindow.
Window FocusInside(Window window);

// Inside a session: a fault ends the session and fails the test; a note tells the test what
// happened.
[[noreturn]] void ReportFault(std::string_view what);
void ReportNote(std::string_view note);

struct SessionSettings {
  std::string name;  // names the data directory
  std::uint64_t seed = 1;
  std::string student = "Ann";
  bool extended = false;  // 4 strikes allowed, 3 problems a certification run
  int maxActions = 2000;
  // Keystrokes that cannot go on (a box came up, the focus moved) are a fault; otherwise the rest
  // of the line is dropped, as a student's typing ahead is.
  bool strictTyping = true;
  int timeoutSeconds = 120;  // a session that runs longer is killed and reported as hung
};

struct SessionReport {
  bool exited = false;  // the child ended by itself (not by a signal)
  int exitStatus = -1;
  int signal = 0;
  bool lessonEnded = false;  // LessonMain returned
  int lessonExitCode = 0;
  int actions = 0;
  std::vector<std::string> faults;
  std::vector<std::string> notes;
  std::string transcriptTail;  // the last actions, with what the lesson wrote after each

  // No crash, no sanitizer report, no hang, no fault.
  bool Clean() const { return exited && exitStatus == 0 && faults.empty(); }
  std::string Describe() const;  // everything wrong, with the transcript tail
  std::vector<std::string> NotesStartingWith(std::string_view prefix) const;  // without prefix
};

// Runs one whole lesson in a child process: the course shell set up for the settings on a fresh
// data directory, the random source seeded, the student asked at every idle moment until it
// stops, the actions run out or the lesson ends.
SessionReport RunStudentSession(const SessionSettings& settings, const Student& student);
