// The printing problem's hints: the cost of each kind of page for the objective function, the
// time to print one page of each kind for the working hours, and a question built from the name
// for a page minimum or maximum.
#include <array>
#include <span>
#include <string_view>

#include "courselib.h"
#include "formulation_model.h"
#include "hint_text.h"
#include "hints.h"
#include "parameter_table.h"
#include "textservices.h"

namespace {

inline constexpr int kPageKinds = 3;

// The texts and numbers that belong to one kind of page (variables p, q, r).
struct PageHintTexts {
  int costQuestion;      // objective: what one page costs to print
  int costExplanation;   // objective: total cost = cost of one page x pages printed
  int letter;            // " p", " q", " r"
  int timeQuestion;      // working hours: how long one page takes
  int perHourParameter;  // pages of this kind printed in one hour
};

constexpr std::array<PageHintTexts, kPageKinds> kPageTexts = {{
    {3591, 3592, 3593, 3605, 10},
    {3594, 3595, 3596, 3610, 11},
    {3597, 3598, 3609, 3611, 12},
}};

// The objective's closing line before the row written out.
constexpr int kTextObjectiveTherefore = 3599;

// A page minimum or maximum.
constexpr int kTextWhatIsThe = 3600;
constexpr int kTextNumberOf = 3601;
constexpr int kTextPagesToPrint = 3602;
constexpr int kTextPagesThisIsHow = 3603;
constexpr int kTextShouldBeFormulated = 3604;

// The working hours.
constexpr int kTextOneOver = 3606;
constexpr int kTextEquals = 3607;
constexpr int kTextHoursExplanation = 3608;
constexpr int kTextHoursTherefore = 3612;
constexpr int kTextHoursShouldBe = 3613;

// Money is shown to the cent; pages per hour and the coefficients drop trailing zeros.
constexpr int kMoneyPlaces = 2;
constexpr int kPerHourPlaces = 2;
constexpr int kRowPlaces = 5;

void AppendMoney(std::span<char> text, double value) {
  AppendDecimal(text, value, kMoneyPlaces, 0);
}

void AppendRowNumber(std::span<char> text, double value) {
  AppendDecimal(text, value, kRowPlaces, 1);
}

// Objective: the printing cost of each kind of page; at solution level its total cost and the
// objective written out.
void AppendObjectiveHint(std::span<char> text, bool solution) {
  for (int j = 0; j < kPageKinds; ++j) {
    const PageHintTexts& page = kPageTexts[j];
    AppendString(text, page.costQuestion);
    if (!solution) continue;
    double cost = formulation.objective.coef[j];
    AppendString(text, kTextAnswerDollars);
    AppendMoney(text, cost);
    AppendString(text, page.costExplanation);
    AppendMoney(text, cost);
    AppendString(text, page.letter);
  }
  if (!solution) return;
  AppendString(text, kTextObjectiveTherefore);
  AppendWrittenRow(text, kObjectiveTopic);
}

// Working hours: how long one page of each kind takes (1 / pages per hour); at solution level the
// time for all pages of the kind and the constraint written out.
void AppendWorkingHoursHint(std::span<char> text, int topic, bool solution) {
  const FormulationRow& row = formulation.constraints[topic];
  for (int j = 0; j < kPageKinds; ++j) {
    const PageHintTexts& page = kPageTexts[j];
    AppendString(text, page.timeQuestion);
    if (!solution) continue;
    AppendString(text, kTextAnswer);
    AppendString(text, kTextOneOver);
    AppendDecimal(text, parameterTable.parameterValues[page.perHourParameter], kPerHourPlaces, 1);
    AppendString(text, kTextEquals);
    AppendRowNumber(text, row.coef[j]);
    AppendString(text, kTextHoursExplanation);
    AppendRowNumber(text, row.coef[j]);
    AppendString(text, page.letter);
  }
  if (!solution) return;
  AppendString(text, kTextHoursTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextHoursShouldBe);
  AppendWrittenRow(text, topic);
}

// Page minimum or maximum: the name's last word says which; the words before it name the page.
// "one-sided, one-color page minimum" asks for the minimum number of one-sided, one-color pages.
void AppendPageLimitHint(std::span<char> text, int topic, bool solution) {
  std::string_view name = TextIn(formulation.constraintNames[topic]);
  std::size_t lastBlank = name.rfind(' ');
  std::string_view lastWord =
      lastBlank == std::string_view::npos ? name : name.substr(lastBlank + 1);
  std::string_view page =
      lastBlank == std::string_view::npos ? std::string_view{} : name.substr(0, lastBlank);
  AppendString(text, kTextWhatIsThe);
  AppendText(text, lastWord);
  AppendString(text, kTextNumberOf);
  AppendText(text, page);
  AppendString(text, kTextPagesToPrint);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendRowNumber(text, formulation.constraints[topic].rhs);
  AppendString(text, kTextPagesThisIsHow);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextShouldBeFormulated);
  AppendWrittenRow(text, topic);
}

}  // namespace

void BuildPrintingHint(std::span<char> text, int topic, int level) {
  SetText(text, "");
  bool solution = level >= 2;
  if (topic == kObjectiveTopic) {
    AppendObjectiveHint(text, solution);
    return;
  }
  switch (TopicKind(topic)) {
    case kKindResource:
      AppendWorkingHoursHint(text, topic, solution);
      return;
    case kKindProduction:
      AppendPageLimitHint(text, topic, solution);
      return;
    default:
      AppendString(text, kTextNoInformation);
      return;
  }
}
