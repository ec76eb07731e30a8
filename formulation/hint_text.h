// The hint and solution list: the heading lines, the current problem's builder text and the
// closing note, built into list items that the hint dialogs show. Also the pieces every builder
// appends (loaded texts, a constraint's name with its kind word, a row written out) and the scheme
// that the furniture and porcelain builders share. The hint dialogs and the builders use it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "error_list.h"
#include "formulation_model.h"

// The topic that stands for the objective function in topicList.
inline constexpr int kObjectiveTopic = -1;

// Texts every builder appends.
inline constexpr int kTextNoInformation = 3388;  // "No information available."
inline constexpr int kTextAnswerDollars = 3415;  // "å     Answer: $"
inline constexpr int kTextAnswer = 3557;         // "å     Answer: "
inline constexpr int kTextPluralS = 9224;        // "s" after a product's name

// The wrong-objective-sense explanation of a problem code.
inline constexpr int kObjectiveSenseTextBase = 3334;
constexpr int ObjectiveSenseExplanationId(int problemCode) {
  return kObjectiveSenseTextBase + problemCode;
}

// Fills the list with the hint (level 1) or the solution (level 2 and more) about topic (a
// constraint index, or -1 for the objective function) of the current problem, whose code is
// problemCode (3 to 7). At solution level the topic constraint counts as entered from now on.
// progress.explanationMode adds the lines that say which step the entry was taken for.
// Returns the number of items written.
int ShowHintText(ErrorList& list, ProblemProgress& progress, int problemCode, int level, int topic);

// Adds a text longer than a list item as wrapped items cut just before its line breaks, so that
// they show the same lines as the whole text would. A stretch without a break that is longer than
// an item is cut at a blank.
void AddWrappedItems(ErrorList& list, std::string_view text);

// Runs the builder of the problem code into the text; false (and an empty text) for other codes.
bool BuildHintText(int problemCode, std::span<char> text, int topic, int level);

// The name of constraint topic, or "objective function" for -1, in one shared buffer that each
// call overwrites. Empty for a topic that is neither.
const char* ConstraintDisplayName(int topic);

// ---- Pieces the builders append. They read the current problem's formulation. ----

// The kind of constraint topic; 0 for the objective function or a topic out of range.
int TopicKind(int topic);

// Appends string-table text id.
void AppendString(std::span<char> text, int id);

// Appends the name of constraint topic followed by its kind word ("cutting resource").
void AppendConstraintLabel(std::span<char> text, int topic);

// Appends the row of constraint topic, or of the objective for -1, written out.
void AppendWrittenRow(std::span<char> text, int topic);

// ---- The scheme of the furniture and porcelain builders ----

inline constexpr int kMaxHintProducts = 4;

// The texts that belong to one product (variable j). A text ID of 0 appends nothing.
struct ProductHintTexts {
  int priceQuestion;       // objective: what one unit sells for
  int revenueExplanation;  // objective: revenue = price x units, ending in "which becomes"
  int objectiveLetter;     // " p" ...; the last one carries the objective's closing line
  int hoursLetter;         // department answer: " p" ...
  int article;             // between the per-unit question and the name ("n ", " set of ")
  int forAllPrefix;        // between "needed for all" and the name (" sets of ")
  int afterName;           // after the name in the department question ("s")
};

// Everything that differs between the problems of the scheme: the product count, where the
// product names stand (the names of the minimum constraints, in variable order), the kinds of a
// department and of a minimum constraint, and every text ID.
struct ProductHintScheme {
  int productCount;
  int firstNameConstraint;
  int departmentKind;
  int minimumKind;
  std::array<ProductHintTexts, kMaxHintProducts> products;
  // Department constraint.
  int hoursOf;              // ".  How many hours of "
  int areAvailable;         // " time are available?"
  int hoursUnit;            // " hours"
  int perUnitQuestion;      // " time does it take to build a"
  int questionEnd;          // "?"
  int answerHoursOf;        // " hourså åThe hours of "
  int neededForAll;         // " time needed for all "
  int hoursFormula;         // "s is:", the formula, "which becomes"
  int questionGap;          // "å å"
  int departmentTherefore;  // "å åTherefore the formulation of the "
  int departmentShouldBe;   // " constraint should be:å"
  // Minimum constraint.
  int minimumQuestion;   // "1.  What is the minimum number of "
  int plural;            // "s"
  int mustBe;            // " that must be built?"
  int minimumBlank;      // " "
  int minimumTherefore;  // "så åTherefore the formulation of the "
  int minimumShouldBe;   // " constraint should be:å"
};

// Composes the hint of a problem of the scheme into the text.
void BuildProductHint(std::span<char> text, int topic, int level, const ProductHintScheme& scheme);
