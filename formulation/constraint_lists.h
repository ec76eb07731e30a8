// The lists of a problem's progress: what is still outstanding (for the constraint choice, the
// hint topics and the "Problem Not Finished" list) and what has been entered with its correct
// rows (the "Constraints" list). Built into list items that those dialogs add to their list boxes.
#pragma once

#include <cstdint>
#include <span>

#include "error_list.h"
#include "formulation_model.h"

// Adds one row per outstanding part to the list: "Objective Function" while the objective is
// being entered, then every constraint not yet entered, and writes the part of each row into
// topicList (-1 for the objective function). At most kTopicListSize rows. Returns the row count.
int ListOutstandingParts(ErrorList& list, const ProblemProgress& progress,
                         const Formulation& formulation,
                         std::span<std::int32_t, kTopicListSize> topicList);

// Adds the entered parts with their correct rows to the list: the objective function once it is
// done, then every entered constraint, one blank line between parts. Returns the parts listed.
int ListEnteredFormulation(ErrorList& list, const ProblemProgress& progress,
                           const Formulation& formulation);

// The "Constraints" list: its heading (the formulation so far while a problem is active, else
// the complete formulation), a one-blank line, then the entered parts. Returns the parts listed;
// with none, the dialog shows its notice instead of the list.
int ListFormulationWithHeading(ErrorList& list, bool problemActive, const ProblemProgress& progress,
                               const Formulation& formulation);
