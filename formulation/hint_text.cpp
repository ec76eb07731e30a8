#include "hint_text.h"

#include <array>
#include <span>
#include <string_view>

#include "courselib.h"
#include "hints.h"
#include "row_format.h"
#include "textservices.h"

namespace {

// The fixed lines of the hint and solution lists.
constexpr int kTextHintHeading = 9200;
constexpr int kTextSolutionHeading = 9201;
constexpr int kTextEnteringConstraintFor = 9202;
constexpr int kTextThe = 9203;
constexpr int kTextFullStop = 3202;  // "."
constexpr int kTextObjectiveIncorrect = 9205;
constexpr int kTextIfYouCanAnswer = 9206;
constexpr int kTextConstraintForThe = 9207;
constexpr int kTextTheObjectiveFunction = 9208;
constexpr int kTextObjectiveFunctionName = 9209;
constexpr int kTextRightHandSideNote = 9210;

// A line that holds one blank, written twice before the closing note.
constexpr std::string_view kOneBlank = " ";

// Numbers of the product scheme: prices, hours and right-hand sides with at most two places.
constexpr int kProductPlaces = 2;

using HintBuilder = void (*)(std::span<char>, int, int);

// The builder of each problem code, from the first code on.
constexpr int kFirstProblemCode = 3;
constexpr std::array<HintBuilder, 5> kHintBuilders = {
    BuildPrintingHint, BuildFurnitureHint, BuildPorcelainHint, BuildFeedMixHint, BuildFarmHint,
};

// The one assembled builder text and the line being put together.
std::array<char, kHintTextSize> hintText{};
std::array<char, kListItemSize> hintLine{};

// ConstraintDisplayName's shared buffer.
std::array<char, kConstraintNameSize + kTextBufferSize> displayName{};

bool IsConstraintTopic(int topic) {
  return topic >= 0 && topic < formulation.constraintCount && topic < kMaxConstraints;
}

// Adds one unwrapped line.
void AddLine(ErrorList& list, std::string_view line) {
  AddListItem(list, line, false);
}

void AddLoadedLine(ErrorList& list, int id) {
  AddLine(list, LoadText(id));
}

// "the " / "the constraint for the " + name + kind word + ".", built into hintLine.
std::string_view ConstraintSentence(int openingId, int topic) {
  SetText(hintLine, LoadText(openingId));
  AppendText(hintLine, ConstraintDisplayName(topic));
  AppendText(hintLine, ConstraintKindWord(TopicKind(topic)));
  AppendText(hintLine, LoadText(kTextFullStop));
  return TextIn(hintLine);
}

// Step 1: the heading; the solution gives the constraint away, so it counts as entered.
void AddHeading(ErrorList& list, ProblemProgress& progress, int level, int topic) {
  if (level >= 2) {
    if (IsConstraintTopic(topic)) progress.constraintEntered[topic] = 1;
    AddLoadedLine(list, kTextSolutionHeading);
  } else {
    AddLoadedLine(list, kTextHintHeading);
  }
  AddLine(list, "");
}

// Step 2: after a wrong entry, which step the lesson took the entry for.
void AddExplanationLines(ErrorList& list, const ProblemProgress& progress, int topic) {
  if (progress.explanationMode != 1) return;
  if (IsConstraintTopic(topic)) {
    AddLoadedLine(list, kTextEnteringConstraintFor);
    AddLine(list, ConstraintSentence(kTextThe, topic));
    AddLine(list, "");
  } else if (topic == kObjectiveTopic) {
    AddLoadedLine(list, kTextObjectiveIncorrect);
    AddLine(list, "");
  }
}

// Step 3: a hint says what the questions lead to.
void AddHintIntroduction(ErrorList& list, int level, int topic) {
  if (level >= 2) return;
  AddLoadedLine(list, kTextIfYouCanAnswer);
  if (topic == kObjectiveTopic) {
    AddLoadedLine(list, kTextTheObjectiveFunction);
  } else {
    AddLine(list, ConstraintSentence(kTextConstraintForThe, topic));
  }
  AddLine(list, "");
}

// Step 5: two one-blank lines and the closing note.
void AddClosingNote(ErrorList& list) {
  AddLine(list, kOneBlank);
  AddLine(list, kOneBlank);
  AddLoadedLine(list, kTextRightHandSideNote);
}

// ---- The product scheme ----

void AppendProductNumber(std::span<char> text, double value) {
  AppendDecimal(text, value, kProductPlaces, 1);
}

std::string_view ProductName(const ProductHintScheme& scheme, int j) {
  return TextIn(formulation.constraintNames[scheme.firstNameConstraint + j]);
}

// Objective: each product's price; at solution level its revenue and the objective written out.
void AppendProductObjective(std::span<char> text, bool solution, const ProductHintScheme& scheme) {
  for (int j = 0; j < scheme.productCount; ++j) {
    const ProductHintTexts& product = scheme.products[j];
    AppendString(text, product.priceQuestion);
    if (!solution) continue;
    double price = formulation.objective.coef[j];
    AppendString(text, kTextAnswerDollars);
    AppendProductNumber(text, price);
    AppendString(text, product.revenueExplanation);
    AppendProductNumber(text, price);
    AppendString(text, product.objectiveLetter);
  }
  if (solution) AppendWrittenRow(text, kObjectiveTopic);
}

// Department, question 1: the hours available.
void AppendHoursAvailable(std::span<char> text, int topic, bool solution,
                          const ProductHintScheme& scheme) {
  std::string_view department = TextIn(formulation.constraintNames[topic]);
  AppendInt(text, 1);
  AppendString(text, scheme.hoursOf);
  AppendText(text, department);
  AppendString(text, scheme.areAvailable);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendProductNumber(text, formulation.constraints[topic].rhs);
  AppendString(text, scheme.hoursUnit);
}

// Department, questions 2 on: the hours one unit of product j needs there, asked for every
// product, also one that does not pass through the department (its answer is 0).
void AppendHoursPerUnit(std::span<char> text, int topic, int j, bool solution,
                        const ProductHintScheme& scheme) {
  const ProductHintTexts& product = scheme.products[j];
  std::string_view department = TextIn(formulation.constraintNames[topic]);
  std::string_view name = ProductName(scheme, j);
  AppendString(text, scheme.questionGap);
  AppendInt(text, j + 2);
  AppendString(text, scheme.hoursOf);
  AppendText(text, department);
  AppendString(text, scheme.perUnitQuestion);
  AppendString(text, product.article);
  AppendText(text, name);
  AppendString(text, product.afterName);
  AppendString(text, scheme.questionEnd);
  if (!solution) return;
  double hours = formulation.constraints[topic].coef[j];
  AppendString(text, kTextAnswer);
  AppendProductNumber(text, hours);
  AppendString(text, scheme.answerHoursOf);
  AppendText(text, department);
  AppendString(text, scheme.neededForAll);
  AppendString(text, product.forAllPrefix);
  AppendText(text, name);
  AppendString(text, scheme.hoursFormula);
  AppendProductNumber(text, hours);
  AppendString(text, product.hoursLetter);
}

void AppendProductDepartment(std::span<char> text, int topic, bool solution,
                             const ProductHintScheme& scheme) {
  AppendHoursAvailable(text, topic, solution, scheme);
  for (int j = 0; j < scheme.productCount; ++j) {
    AppendHoursPerUnit(text, topic, j, solution, scheme);
  }
  if (!solution) return;
  AppendString(text, scheme.departmentTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, scheme.departmentShouldBe);
  AppendWrittenRow(text, topic);
}

// Minimum of one product: how many must be built or made.
void AppendProductMinimum(std::span<char> text, int topic, bool solution,
                          const ProductHintScheme& scheme) {
  std::string_view name = TextIn(formulation.constraintNames[topic]);
  AppendString(text, scheme.minimumQuestion);
  AppendText(text, name);
  AppendString(text, scheme.plural);
  AppendString(text, scheme.mustBe);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendProductNumber(text, formulation.constraints[topic].rhs);
  AppendString(text, scheme.minimumBlank);
  AppendText(text, name);
  AppendString(text, scheme.minimumTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, scheme.minimumShouldBe);
  AppendWrittenRow(text, topic);
}

}  // namespace

// ---- Pieces ----

int TopicKind(int topic) {
  return IsConstraintTopic(topic) ? formulation.constraintKinds[topic] : 0;
}

void AppendString(std::span<char> text, int id) {
  if (id != 0) AppendText(text, LoadText(id));
}

void AppendConstraintLabel(std::span<char> text, int topic) {
  if (!IsConstraintTopic(topic)) return;
  AppendText(text, TextIn(formulation.constraintNames[topic]));
  AppendText(text, ConstraintKindWord(formulation.constraintKinds[topic]));
}

void AppendWrittenRow(std::span<char> text, int topic) {
  std::array<char, kRowTextSize> row{};
  bool objective = topic == kObjectiveTopic;
  if (!objective && !IsConstraintTopic(topic)) return;
  FormatFormulationRow(formulation, topic, row, objective);
  AppendText(text, TextIn(row));
}

const char* ConstraintDisplayName(int topic) {
  if (topic == kObjectiveTopic) {
    SetText(displayName, LoadText(kTextObjectiveFunctionName));
  } else if (IsConstraintTopic(topic)) {
    SetText(displayName, TextIn(formulation.constraintNames[topic]));
  } else {
    SetText(displayName, "");
  }
  return displayName.data();
}

// ---- The product scheme ----

void BuildProductHint(std::span<char> text, int topic, int level, const ProductHintScheme& scheme) {
  SetText(text, "");
  bool solution = level >= 2;
  int kind = TopicKind(topic);
  if (topic == kObjectiveTopic) {
    AppendProductObjective(text, solution, scheme);
  } else if (kind != 0 && kind == scheme.departmentKind) {
    AppendProductDepartment(text, topic, solution, scheme);
  } else if (kind != 0 && kind == scheme.minimumKind) {
    AppendProductMinimum(text, topic, solution, scheme);
  } else {
    AppendString(text, kTextNoInformation);
  }
}

// ---- The list ----

// A list item holds less than a builder's text, so the text goes in as several items, each cut
// just before a line break, which the cut then stands for.
void AddWrappedItems(ErrorList& list, std::string_view text) {
  constexpr std::size_t kRoom = kListItemSize - 1;
  while (!text.empty()) {
    if (text.size() <= kRoom) {
      AddListItem(list, text, true);
      return;
    }
    // The last break within the room, taken at the start of its run of breaks so that every
    // empty line the run stands for stays in the next piece; failing that the last blank (a line
    // would end near it anyway); failing that a hard cut.
    std::size_t cut = text.substr(0, kRoom + 1).find_last_of(kLineBreak);
    while (cut != std::string_view::npos && cut > 0 && text[cut - 1] == kLineBreak) --cut;
    if (cut == std::string_view::npos || cut == 0)
      cut = text.substr(0, kRoom + 1).find_last_of(' ');
    bool dropSeparator = cut != std::string_view::npos && cut != 0;
    if (!dropSeparator) cut = kRoom;
    AddListItem(list, text.substr(0, cut), true);
    text.remove_prefix(dropSeparator ? cut + 1 : cut);
  }
}

bool BuildHintText(int problemCode, std::span<char> text, int topic, int level) {
  SetText(text, "");
  int index = problemCode - kFirstProblemCode;
  if (index < 0 || index >= static_cast<int>(kHintBuilders.size())) return false;
  kHintBuilders[index](text, topic, level);
  return true;
}

int ShowHintText(ErrorList& list, ProblemProgress& progress, int problemCode, int level,
                 int topic) {
  list.itemCount = 0;
  AddHeading(list, progress, level, topic);
  AddExplanationLines(list, progress, topic);
  AddHintIntroduction(list, level, topic);
  // Step 4: the problem's questions, and at solution level the answers, as one wrapped item.
  if (BuildHintText(problemCode, hintText, topic, level)) {
    AddWrappedItems(list, TextIn(hintText));
  }
  AddClosingNote(list);
  return list.itemCount;
}
