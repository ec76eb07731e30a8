// The decision-variable panel, dialog 2601: the student picks the decision variables from a
// shuffled list of phrases of the problem, the variables mixed with the quantities that are not
// variables. Start-up creates it hidden; the lesson flow starts it with command 2650 after the
// objective sense. Here too: the wrong-pick dialog 2620, the variable list 1800 the entry panel
// opens, and the window-free building of the candidate rows that the panel and its tests use.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "formulation_model.h"
#include "parameter_table.h"
#include "platform.h"

// ---- The candidate rows -----------------------------------------------------------------------

// The selection list holds at most 20 rows. The largest problem, the farm problem, needs 19: its 9
// constraints' right-hand sides, and for each of its 5 variables the description and the
// objective coefficient.
inline constexpr int kMaxVariableCandidates = 20;
inline constexpr int kLargestProblemCandidates = 9 + 2 * 5;
static_assert(kLargestProblemCandidates <= kMaxVariableCandidates, "the largest problem fits the list");

// "the " and the longest phrase of a problem, with room to spare; longer text is cut.
inline constexpr int kCandidateTextSize = 256;

// Codes of the rows. A positive code is a decision variable (its slot + 1); a code below 1 is a
// distractor: -(j + 1) for the right-hand side of constraint j, -(k + 2000) for the objective
// coefficient of variable slot k.
inline constexpr int kObjectiveCodeBase = 2000;
constexpr int RhsCandidateCode(int constraint) {
  return -(constraint + 1);
}
constexpr int VariableCandidateCode(int slot) {
  return slot + 1;
}
constexpr int ObjectiveCandidateCode(int slot) {
  return -(slot + kObjectiveCodeBase);
}

// One row of the selection list: its text as the list shows it and its code.
struct VariableCandidate {
  std::array<char, kCandidateTextSize> text;
  std::int32_t code;
};

struct CandidateTable {
  std::array<VariableCandidate, kMaxVariableCandidates> rows;
  std::int32_t count;
};

// The random draw the shuffle takes: a whole number from low to high, both included, upper bound
// first (RandomInRange).
using RangeDraw = int (*)(int high, int low);

// Builds the rows of the current problem in their fixed order (each constraint's right-hand side,
// each variable's description, each objective coefficient), puts "the " in front of every text
// that does not start with it, and shuffles the rows with three passes of draws. Returns the count.
int BuildVariableCandidates(const Formulation& formulation, const ParameterTable& parameters,
                            CandidateTable& table, RangeDraw draw);

// ---- The selection state ----------------------------------------------------------------------

struct VariableSelection {
  // The codes of the list's rows in list order, kept in step with the list as rows go.
  std::array<std::int32_t, kMaxVariableCandidates> candidateCodes;
  std::int32_t candidateCount;
  std::int32_t selectedCandidate;      // the row picked last; dialog 2620 reads it
  std::int32_t variableSelectionDone;  // the next "O&k" closes the selection
  std::int32_t noVariablesLeftShown;   // "O&k" on an empty list: no closing "Correct Answer!"
};

extern VariableSelection variableSelection;

// ---- Window procedures ------------------------------------------------------------------------

// Commands of the panel: 2650 starts a selection; 2240 to 2245 are the scroll commands the arrow
// keys send (with Ctrl they scroll the problem box, without it Up and Down move the selection).
inline constexpr int kCmdStartVariableSelection = 2650;
inline constexpr int kCmdScrollTop = 2240;
inline constexpr int kCmdScrollBottom = 2241;
inline constexpr int kCmdScrollPageUp = 2242;
inline constexpr int kCmdScrollPageDown = 2243;
inline constexpr int kCmdScrollLineUp = 2244;
inline constexpr int kCmdScrollLineDown = 2245;

// The panel's own message that puts the keyboard focus on its list.
inline constexpr unsigned kMsgFocusVariableList = 1015;

// The problem box's top row after one of the commands 2240 to 2245: the last page stays full, the
// first row stays first. Any other command keeps the top row.
int ScrolledTopRow(int command, int topRow, int rowCount, int visibleRows);

// Adds the shuffled candidate rows of the current problem to list box listId of the dialog,
// writes their codes in list order and returns how many there are.
int FillVariableCandidates(Window dialog, int listId,
                           std::span<std::int32_t, kMaxVariableCandidates> codes);

// Dialog 2601 "Select a Decision Variable".
Result VarSelectCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
// Dialog 2620 "Your answer is incorrect.": what the wrongly picked row stands for. Opened with the
// selection list as its creation value.
Result BadVarCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
// Dialog 1800 "Decision Variables": the letter of each decision variable.
Result VarListCmd(Window dialog, unsigned message, WParam wParam, LParam lParam);
