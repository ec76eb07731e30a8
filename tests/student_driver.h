// Whole lesson runs driven by a student written in C++: the lesson's own LessonMain on a back end
// of the tests' own, whose every idle moment asks the student for its next action on what is on
// screen (the message box if one is up, else the topmost modal dialog, else the active panel,
// else the main window). The actions are the play scripts' (PlayAction), checked against the
// screen and delivered exactly as `tavrin --play` delivers them. Each session runs in a child
// process of its own, so that every run starts from the lesson's start-up state and a crash, a
// sanitizer report or a hang ends that session only; the test process reads what the child found.
// Used by complete_run_test and random_student_test.
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

// ---- What the student sees --------------------------------------------------------------------

struct StudentView {
  OnScreen on;
  std::string name;     // dialogs and panels: the template name ("MINMAX", "1603", "2500")
  std::string caption;  // message boxes: caption and text, UTF-8
  std::string text;
  std::uint32_t boxStyle = 0;
  // The transcript (as `tavrin --play` writes it) since the student's previous action.
  std::string sinceAction;
  bool typing = false;  // keystrokes of a `type` are still being delivered
  int actionsTaken = 0;
};

// The student. observe sees every idle moment, the ones between keystrokes included; next is asked
// for an action whenever no keystrokes are waiting, and returns false to end the session there;
// finish runs once as the session ends (unless it dies of a crash or a hang), to report what the
// student counted.
struct Student {
  std::function<void(const StudentView&)> observe;
  std::function<bool(const StudentView&, PlayAction&)> next;
  std::function<void()> finish;
};

// ---- Building actions -------------------------------------------------------------------------

PlayAction MenuAction(int command);
PlayAction ClickAction(int id);
PlayAction ChooseAction(int id);
PlayAction SelectAction(int row);
PlayAction DoubleClickAction(int row);
PlayAction AnswerAction(int button);  // kIdOk, kIdCancel, kIdYes, kIdNo
PlayAction KeyAction(int key, unsigned modifiers = 0);
PlayAction ClearAction();
PlayAction ClickProblemBoxAction();
PlayAction CloseAction();
// Types single-byte text into the focused control: the relation bytes 0xC1, 0xC0 and 0x82 with
// their keys F1, F2 and F3 as a student types them, every other byte as a character. withEnter
// adds the Enter key at the end.
PlayAction TypeLineAction(std::string_view bytes, bool withEnter);
// Every byte as a typed character, the relation bytes included.
PlayAction TypeBytesAction(std::string_view bytes, bool withEnter);

// ---- Writing the right answer -----------------------------------------------------------------

// How a student who knows the answer writes its lines; students pick one by their seed, so that
// sessions write the same answer differently and the lesson must read them all alike.
struct LineStyle {
  bool upperCase = false;  // "3P" rather than "3p"
  bool shuffled = false;   // the terms in an order of the student's own
  // «120 ≥ 3p»: the number on the left and the relation mirrored. The entry format allows that
  // only for one term with its coefficient written out, so only such constraints are written so.
  bool rhsFirst = false;
  bool blanks = true;  // blanks around the signs
};

// The number with the fewest decimals (at most 6) that lies within slack of the value.
std::string ShortestNumber(double value, double slack);

// The right line for constraint i of the current problem (the process-wide `formulation`), or
// for the objective function when i is -1: every coefficient within the matcher's tolerances, the
// relations as their single bytes.
std::string CorrectLine(int constraint, const LineStyle& style, std::mt19937_64& random);

// ---- Reading the screen -----------------------------------------------------------------------

// The rows of the dialog's first visible list box, as single-byte text.
std::vector<std::string> DialogListRows(Window dialog);
int DialogListSelection(Window dialog);
// A control's text as single-byte text; empty when the dialog has no such control.
std::string DialogItemText(Window dialog, int id);
// The visible and enabled controls of the dialog of that kind, in template order.
std::vector<Window> UsableControls(Window dialog, ControlKind kind);
// The focused control when it lies inside the window, else kNoWindow.
Window FocusInside(Window window);

// ---- Inside a session (the child) -------------------------------------------------------------

// A fault the student found: it goes into the session's report and fails the test.
void ReportFault(std::string_view what);
// Something the session wants the test to know (a count, a problem code, an event).
void ReportNote(std::string_view note);

// ---- Running a session (the test process) -----------------------------------------------------

struct SessionSettings {
  std::string name;  // names the data directory and the report
  std::uint64_t seed = 1;
  std::string student = "Ann";  // empty: nobody signed in
  bool extended = false;        // 4 strikes allowed, 3 problems a certification run
  int maxActions = 2000;        // the session ends after this many actions
  // Keystrokes that cannot go on (a box came up, the focus moved) are a fault; otherwise the
  // rest of the line is dropped, as a student's typing ahead is.
  bool strictTyping = true;
  int timeoutSeconds = 120;    // a session that runs longer is killed and reported as hung
  int transcriptActions = 30;  // actions of transcript kept for the report
};

struct SessionReport {
  bool exited = false;  // the child ended by itself (not by a signal)
  int exitStatus = -1;
  int signal = 0;
  bool lessonEnded = false;  // LessonMain returned (the student quit the lesson)
  int lessonExitCode = 0;
  int actions = 0;
  std::vector<std::string> faults;
  std::vector<std::string> notes;
  // The last actions with what the lesson wrote after each, up to the first fault if any; of a
  // session that died, the transcript's last bytes before it did.
  std::string transcriptTail;

  // The session ran to its end with no fault: no crash, no sanitizer report, no hang.
  bool Clean() const { return exited && exitStatus == 0 && faults.empty(); }
  // Everything wrong with it, with the transcript tail, for a test's failure message.
  std::string Describe() const;
  // The notes that start with prefix, without it.
  std::vector<std::string> NotesStartingWith(std::string_view prefix) const;
};

// Runs one whole lesson session in a child process: the course shell set up for the settings (a
// fresh data directory under the system's temporary directory), the random source seeded, the
// lesson started, and the student asked at every idle moment until it stops, the actions run out
// or the lesson ends.
SessionReport RunStudentSession(const SessionSettings& settings, const Student& student);
