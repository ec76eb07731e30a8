#include "constraint_lists.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "row_format.h"
#include "textservices.h"

namespace {

constexpr int kTextObjectiveRow = 9300;         // "Objective Function"
constexpr int kTextConstraintWord = 9301;       // " constraint"
constexpr int kTextObjectiveHeading = 9302;     // "Objective function:"
constexpr int kTextConstraintHeading = 9303;    // " constraint:"
constexpr int kTextFormulationSoFar = 9304;     // while the problem is being worked
constexpr int kTextFormulationComplete = 9305;  // once it is over

// The printed objective row loses its first three blanks, so that it stands two blanks in under
// its heading while the constraints' rows stand five.
constexpr std::size_t kObjectiveIndentCut = 3;

constexpr std::string_view kOneBlank = " ";

// A constraint's name and kind word followed by the text loaded from id, as one item.
void AddConstraintItem(ErrorList& list, const Formulation& formulation, int i, int id) {
  std::array<char, kListItemSize> line{};
  SetText(line, TextIn(formulation.constraintNames[i]));
  AppendText(line, ConstraintKindWord(formulation.constraintKinds[i]));
  AppendText(line, LoadText(id));
  AddListItem(list, TextIn(line), false);
}

void AddRowItem(ErrorList& list, const Formulation& formulation, int index, bool isObjective) {
  std::array<char, kRowTextSize> row{};
  FormatFormulationRow(formulation, index, row, isObjective);
  std::string_view text = TextIn(row);
  if (isObjective) text.remove_prefix(std::min(kObjectiveIndentCut, text.size()));
  AddListItem(list, text, false);
}

int ConstraintsOf(const Formulation& formulation) {
  return std::min(static_cast<int>(formulation.constraintCount), kMaxConstraints);
}

}  // namespace

int ListOutstandingParts(ErrorList& list, const ProblemProgress& progress,
                         const Formulation& formulation,
                         std::span<std::int32_t, kTopicListSize> topicList) {
  int rows = 0;
  // The objective function first, while it is being entered.
  if (progress.entryStep == 1) {
    AddListItem(list, LoadText(kTextObjectiveRow), false);
    topicList[rows++] = -1;
  }
  // Then every constraint not yet entered, in order, as long as topicList has room.
  for (int i = 0; i < ConstraintsOf(formulation) && rows < kTopicListSize; ++i) {
    if (progress.constraintEntered[i] != 0) continue;
    AddConstraintItem(list, formulation, i, kTextConstraintWord);
    topicList[rows++] = i;
  }
  return rows;
}

int ListEnteredFormulation(ErrorList& list, const ProblemProgress& progress,
                           const Formulation& formulation) {
  int parts = 0;
  // The objective function, once the constraints are being entered.
  if (progress.entryStep >= 2) {
    AddListItem(list, LoadText(kTextObjectiveHeading), false);
    AddRowItem(list, formulation, 0, true);
    ++parts;
  }
  // Every entered constraint, a one-blank line before each part but the first.
  for (int i = 0; i < ConstraintsOf(formulation); ++i) {
    if (progress.constraintEntered[i] != 1) continue;
    if (parts > 0) AddListItem(list, kOneBlank, false);
    AddConstraintItem(list, formulation, i, kTextConstraintHeading);
    AddRowItem(list, formulation, i, false);
    ++parts;
  }
  return parts;
}

int ListFormulationWithHeading(ErrorList& list, bool problemActive, const ProblemProgress& progress,
                               const Formulation& formulation) {
  list.itemCount = 0;
  AddListItem(list, LoadText(problemActive ? kTextFormulationSoFar : kTextFormulationComplete),
              false);
  AddListItem(list, kOneBlank, false);
  return ListEnteredFormulation(list, progress, formulation);
}
