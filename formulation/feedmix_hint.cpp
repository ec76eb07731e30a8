// The feed mix problem's hints: for the objective function, the cost of a bushel, the pounds in a
// bushel and from them the cost of a pound of each ingredient; for a nutrient, what a steer needs
// daily and each ingredient's content; for the daily feed, what a steer eats at least.
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

inline constexpr int kIngredients = 3;

// The texts and numbers that belong to one ingredient (variables p, q, r in this order).
struct IngredientHint {
  int name;                // the ingredient's name as the hints write it
  int bushelCostQuestion;  // objective: what a bushel costs
  int poundsQuestion;      // objective: how many pounds a bushel holds
  int poundCostQuestion;   // objective: what a pound costs
  int totalCostText;       // objective: total cost = cost of a pound x pounds, "which becomes"
  int objectiveLetter;     // " p" ...; the last one carries the sum of the three costs
  int nutrientLetter;      // nutrient answer: " p" ...
  int bushelCostParameter;
  int poundsParameter;
};

// clang-format off
constexpr std::array<IngredientHint, kIngredients> kIngredientHints = {{
    // name  bushel  pounds  pound  total  letter  nutrient  cost  pounds
    {9400,  3765,   3766,   3768,  3772,  3773,   3799,     16,   19},
    {9401,  3774,   3775,   3776,  3777,  3778,   3800,     17,   20},
    {9402,  3779,   3780,   3781,  3782,  3783,   3801,     18,   21},
}};
// clang-format on

// Objective.
constexpr int kTextPoundsUnit = 3767;        // " lbs."
constexpr int kTextPoundCostFormula = 3769;  // cost of a bushel / lbs. per bushel
constexpr int kTextDividedBy = 3770;         // " / "
constexpr int kTextEquals = 3771;            // " = "

// A nutrient.
constexpr int kTextHowManyPoundsOf = 3787;
constexpr int kTextNeedDaily = 3788;
constexpr int kTextNeedUnit = 3789;  // " lbs."
constexpr int kTextQuestionGap = 3790;
constexpr int kTextWhatIsThe = 3791;
constexpr int kTextContentOfOnePound = 3792;
constexpr int kTextQuestionEnd = 3793;
constexpr int kTextTheTotal = 3794;
constexpr int kTextContributionFrom = 3795;
constexpr int kTextContributionFormula = 3796;
constexpr int kTextTimesPoundsOf = 3797;
constexpr int kTextWhichBecomes = 3798;
constexpr int kTextNutrientTherefore = 3802;
constexpr int kTextNutrientShouldBe = 3803;

// The daily feed.
constexpr int kTextWhatIsTheDaily = 3805;
constexpr int kTextRequirementOfASteer = 3806;
constexpr int kTextFeedAtLeast = 3807;
constexpr int kTextFeedTherefore = 3808;
constexpr int kTextFeedConstraintIs = 3809;

// The first question about an ingredient's content is number 2: number 1 asks for the need.
constexpr int kFirstContentQuestion = 2;

// Numbers are shown with up to two places; money in the answers to the cent.
constexpr int kPlaces = 2;

// Room for one ingredient's name.
constexpr int kIngredientNameSize = 16;

// Each ingredient's name in a buffer of its own, so that a name stays put while other texts load.
std::array<std::array<char, kIngredientNameSize>, kIngredients> ingredientNames{};

double Parameter(int number) {
  return parameterTable.parameterValues[number];
}

void AppendNumber(std::span<char> text, double value) {
  AppendDecimal(text, value, kPlaces, 1);
}

void AppendMoney(std::span<char> text, double value) {
  AppendDecimal(text, value, kPlaces, 0);
}

// Objective, questions about one ingredient: the cost of a bushel, then the pounds in a bushel,
// each answered at solution level.
void AppendBushelQuestions(std::span<char> text, const IngredientHint& ingredient, bool solution) {
  AppendString(text, ingredient.bushelCostQuestion);
  if (solution) {
    AppendString(text, kTextAnswerDollars);
    AppendMoney(text, Parameter(ingredient.bushelCostParameter));
  }
  AppendString(text, ingredient.poundsQuestion);
  if (solution) {
    AppendString(text, kTextAnswer);
    AppendNumber(text, Parameter(ingredient.poundsParameter));
    AppendString(text, kTextPoundsUnit);
  }
}

// Objective, the third question about an ingredient: the cost of a pound, which is the bushel's
// cost divided by its pounds; at solution level also the ingredient's total cost as a term.
void AppendPoundCostQuestion(std::span<char> text, const IngredientHint& ingredient, double cost,
                             bool solution) {
  AppendString(text, ingredient.poundCostQuestion);
  if (!solution) return;
  AppendString(text, kTextAnswerDollars);
  AppendMoney(text, cost);
  AppendString(text, kTextPoundCostFormula);
  AppendNumber(text, Parameter(ingredient.bushelCostParameter));
  AppendString(text, kTextDividedBy);
  AppendNumber(text, Parameter(ingredient.poundsParameter));
  AppendString(text, kTextEquals);
  AppendNumber(text, cost);
  AppendString(text, ingredient.totalCostText);
  AppendNumber(text, cost);
  AppendString(text, ingredient.objectiveLetter);
}

// Objective: three questions per ingredient; the solution ends with the objective written out.
void AppendObjectiveHint(std::span<char> text, bool solution) {
  for (int k = 0; k < kIngredients; ++k) {
    const IngredientHint& ingredient = kIngredientHints[k];
    AppendBushelQuestions(text, ingredient, solution);
    AppendPoundCostQuestion(text, ingredient, formulation.objective.coef[k], solution);
  }
  if (solution) AppendWrittenRow(text, kObjectiveTopic);
}

// Nutrient, question k + 2: the nutrient's content of one pound of ingredient k; at solution
// level the ingredient's contribution to the nutrient as a term.
void AppendContentQuestion(std::span<char> text, std::string_view nutrient, int k, double content,
                           bool solution) {
  const char* ingredient = FeedIngredientName(k);
  AppendString(text, kTextQuestionGap);
  AppendInt(text, k + kFirstContentQuestion);
  AppendString(text, kTextWhatIsThe);
  AppendText(text, nutrient);
  AppendString(text, kTextContentOfOnePound);
  AppendText(text, ingredient);
  AppendString(text, kTextQuestionEnd);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendNumber(text, content);
  AppendString(text, kTextTheTotal);
  AppendText(text, nutrient);
  AppendString(text, kTextContributionFrom);
  AppendText(text, ingredient);
  AppendString(text, kTextContributionFormula);
  AppendText(text, ingredient);
  AppendString(text, kTextTimesPoundsOf);
  AppendText(text, ingredient);
  AppendString(text, kTextWhichBecomes);
  AppendNumber(text, content);
  AppendString(text, kIngredientHints[k].nutrientLetter);
}

// Nutrient: the steer's daily need, then the content of each ingredient; the solution ends with
// the constraint written out.
void AppendNutrientHint(std::span<char> text, int topic, bool solution) {
  const FormulationRow& row = formulation.constraints[topic];
  std::string_view nutrient = TextIn(formulation.constraintNames[topic]);
  AppendString(text, kTextHowManyPoundsOf);
  AppendText(text, nutrient);
  AppendString(text, kTextNeedDaily);
  if (solution) {
    AppendString(text, kTextAnswer);
    AppendNumber(text, row.rhs);
    AppendString(text, kTextNeedUnit);
  }
  for (int k = 0; k < kIngredients; ++k) {
    AppendContentQuestion(text, nutrient, k, row.coef[k], solution);
  }
  if (!solution) return;
  AppendString(text, kTextNutrientTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextNutrientShouldBe);
  AppendWrittenRow(text, topic);
}

// Daily feed: one question without a number; the answer says the ingredients' weights add up to
// at least that much, and the solution ends with the constraint written out.
void AppendFeedHint(std::span<char> text, int topic, bool solution) {
  double required = formulation.constraints[topic].rhs;
  AppendString(text, kTextWhatIsTheDaily);
  AppendText(text, TextIn(formulation.constraintNames[topic]));
  AppendString(text, kTextRequirementOfASteer);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendNumber(text, required);
  AppendString(text, kTextFeedAtLeast);
  AppendNumber(text, required);
  AppendString(text, kTextFeedTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextFeedConstraintIs);
  AppendWrittenRow(text, topic);
}

}  // namespace

// The name is copied out of the shared load buffer into the ingredient's own buffer, which only
// this call refills with the same text: the pointer returned stays valid, and its text unchanged,
// for the whole run. Any other index gives the empty text.
const char* FeedIngredientName(int index) {
  if (index < 0 || index >= kIngredients) return "";
  std::array<char, kIngredientNameSize>& name = ingredientNames[index];
  SetText(name, LoadText(kIngredientHints[index].name));
  return name.data();
}

void BuildFeedMixHint(std::span<char> text, int topic, int level) {
  SetText(text, "");
  bool solution = level >= 2;
  if (topic == kObjectiveTopic) {
    AppendObjectiveHint(text, solution);
    return;
  }
  switch (TopicKind(topic)) {
    case kKindNutrition:
      AppendNutrientHint(text, topic, solution);
      return;
    case kKindResource:
      AppendFeedHint(text, topic, solution);
      return;
    default:
      AppendString(text, kTextNoInformation);
      return;
  }
}
