// The farm problem's hints: for the objective function, the profit from a bushel of each crop and
// the bushels an acre yields, which give the profit from an acre; for a kind of land, the acres
// available and planted; for a crop maximum or minimum, the acres that can or must be grown; for
// the cultivation hours of a kind of land, the hours available and the hours one acre of each crop
// takes.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "courselib.h"
#include "formulation_model.h"
#include "hint_text.h"
#include "hints.h"
#include "parameter_table.h"
#include "row_format.h"
#include "textservices.h"

namespace {

// ---- Objective function ----

// One crop grown in one kind of land: variable slot in order p, q, r, s, t.
struct CropFieldHint {
  int profitQuestion;   // the profit from a bushel of the crop; 0 when asked for an earlier slot
  int yieldQuestion;    // the bushels an acre of the land yields
  int yieldAnswer;      // " bushels per acre" and the profit-per-acre formula, ending in "$";
                        // when the profit was asked before, the sentence that restates it
  int restatedFormula;  // after the restated profit: the formula, ending in "$"; 0 when none
  int totalText;        // total profit = profit per acre x acres, "which becomes"
  int letter;           // " p" ...; the last one carries the objective's closing line
  int profitParameter;  // profit from a bushel of the crop
  int yieldParameter;   // bushels of the crop an acre of the land yields
};

constexpr int kCropFields = 5;

// clang-format off
constexpr std::array<CropFieldHint, kCropFields> kCropFieldHints = {{
    // profit  yield  answer  restated  total  letter  profit par.  yield par.
    {3860,    3861,  3862,   0,        3865,  3866,   19,          7},   // wheat, red clay
    {3867,    3868,  3869,   0,        3870,  3871,   20,          8},   // corn, red clay
    {0,       3877,  3878,   3879,     3880,  3876,   19,          9},   // wheat, sandy loam
    {0,       3882,  3883,   3884,     3885,  3881,   20,          10},  // corn, sandy loam
    {3892,    3893,  3894,   0,        3895,  3896,   21,          11},  // cotton, sandy loam
}};
// clang-format on

constexpr int kTextTimes = 3863;         // "  x  "
constexpr int kTextEqualsDollar = 3864;  // "  =  $"

// The closing line of the objective ends in a line break; the row follows without the first three
// of its five leading blanks.
constexpr int kObjectiveRowSkip = 3;

// ---- A kind of land ----

constexpr int kTextMaximumAcresOf = 3900;
constexpr int kTextAvailableForPlanting = 3901;
constexpr int kTextLandAcres = 3902;
constexpr int kTextHowManyAcresOfLand = 3903;
constexpr int kTextUsedForPlanting = 3904;
constexpr int kTextSumOfAllCropsIn = 3905;
constexpr int kTextLandFormulaIntro = 3906;
constexpr int kTextRedClayCrops = 3907;
constexpr int kTextSandyLoamCrops = 3908;
constexpr int kTextLandWhichBecomes = 3909;
constexpr int kTextLandPlus = 3910;
constexpr int kTextLandTherefore = 3911;
constexpr int kTextLandShouldBe = 3912;

// The red clay is the first constraint; the other kind of land is the sandy loam.
constexpr int kRedClayConstraint = 0;

// ---- Cultivation hours ----

constexpr int kTextHoursOf = 3915;
constexpr int kTextHoursAvailable = 3916;
constexpr int kTextHoursUnit = 3917;
constexpr int kTextCultivationTherefore = 3930;
constexpr int kTextCultivationShouldBe = 3931;

// The questions about one crop's hours per acre (wheat, corn, cotton).
struct CultivatedCropHint {
  int question;     // "å å2.  How many hours of "
  int questionEnd;  // " will be used to plant one acre of wheat?"
  int answer;       // " hrs.", the formula, "which becomes:"
};

constexpr int kCrops = 3;

constexpr std::array<CultivatedCropHint, kCrops> kCultivatedCropHints = {{
    {3918, 3919, 3920},  // wheat
    {3921, 3922, 3923},  // corn
    {3927, 3928, 3929},  // cotton
}};

// The cultivation constraints and the slots of the crops they count, wheat first: cotton does not
// grow in red clay, so only the sandy loam asks about it.
struct CultivationField {
  int constraint;
  int cropCount;
  std::array<int, kCrops> slots;
};

constexpr std::array<CultivationField, 2> kCultivationFields = {{
    {7, 2, {0, 1, -1}},  // red clay cultivation: p, q
    {8, 3, {2, 3, 4}},   // sandy loam cultivation: r, s, t
}};

// Between a crop's hours per acre and its letter.
constexpr std::string_view kBlank = " ";

// ---- A crop maximum or minimum ----

constexpr int kTextWhatIsThe = 3935;
constexpr int kTextNumberOfAcresOf = 3936;
constexpr int kTextCanBeGrown = 3937;
constexpr int kTextMustBeGrown = 9403;
constexpr int kTextLimitAcres = 3938;
constexpr int kTextHowManyAcresOfCrop = 3939;
constexpr int kTextWillBeGrown = 3940;
constexpr int kTextSumOfAll = 3941;
constexpr int kTextPlantedFormula = 3942;
constexpr int kTextInRedClayPlus = 3943;
constexpr int kTextInSandyLoam = 3944;
constexpr int kTextLimitPlus = 3945;
constexpr int kTextLimitTherefore = 3946;
constexpr int kTextLimitShouldBe = 3947;

// The limits that say how much of a crop can be grown; the others say how much must be.
constexpr std::array<std::string_view, 3> kCanBeGrownLimits = {"wheat maximum", "corn maximum",
                                                               "cotton maximum"};

// The wheat minimum, the sixth constraint, asks only for the minimum itself.
constexpr int kWheatMinimumConstraint = 5;

// Numbers are shown with up to two places; money in the answers to the cent.
constexpr int kPlaces = 2;

double Parameter(int number) {
  return parameterTable.parameterValues[number];
}

void AppendNumber(std::span<char> text, double value) {
  AppendDecimal(text, value, kPlaces, 1);
}

void AppendMoney(std::span<char> text, double value) {
  AppendDecimal(text, value, kPlaces, 0);
}

std::string_view ConstraintName(int topic) {
  return TextIn(formulation.constraintNames[topic]);
}

// The letters of the row's variables that have a coefficient, in slot order, joined by the
// separator text: "p  +  q".
void AppendNonzeroLetters(std::span<char> text, const FormulationRow& row, int separator) {
  bool first = true;
  for (int slot = 0; slot < formulation.variableCount && slot < kLetterSlots; ++slot) {
    if (row.coef[slot] == 0.0) continue;
    if (!first) AppendString(text, separator);
    AppendText(text, std::string_view(&kLowerLetters[slot], 1));
    first = false;
  }
}

// Objective, the profit from an acre of one crop in one land: the yield question, and at solution
// level the profit per bushel times the yield, then the total profit as a term.
void AppendCropFieldYield(std::span<char> text, const CropFieldHint& hint, double profitPerAcre,
                          bool solution) {
  AppendString(text, hint.yieldQuestion);
  if (!solution) return;
  double profit = Parameter(hint.profitParameter);
  double yield = Parameter(hint.yieldParameter);
  AppendString(text, kTextAnswer);
  AppendNumber(text, yield);
  AppendString(text, hint.yieldAnswer);
  if (hint.restatedFormula != 0) {
    AppendMoney(text, profit);
    AppendString(text, hint.restatedFormula);
  }
  AppendMoney(text, profit);
  AppendString(text, kTextTimes);
  AppendNumber(text, yield);
  AppendString(text, kTextEqualsDollar);
  AppendMoney(text, profitPerAcre);
  AppendString(text, hint.totalText);
  AppendNumber(text, profitPerAcre);
  AppendString(text, hint.letter);
}

// Objective: for each crop and land, the profit from a bushel when not asked before and the yield
// of an acre; the solution ends with the objective written out.
void AppendObjectiveHint(std::span<char> text, bool solution) {
  for (int slot = 0; slot < kCropFields; ++slot) {
    const CropFieldHint& hint = kCropFieldHints[slot];
    if (hint.profitQuestion != 0) {
      AppendString(text, hint.profitQuestion);
      if (solution) {
        AppendString(text, kTextAnswerDollars);
        AppendMoney(text, Parameter(hint.profitParameter));
      }
    }
    AppendCropFieldYield(text, hint, formulation.objective.coef[slot], solution);
  }
  if (!solution) return;
  std::array<char, kRowTextSize> row{};
  FormatFormulationRow(formulation, 0, row, true);
  std::string_view written = TextIn(row);
  AppendText(text, written.substr(written.size() < kObjectiveRowSkip ? written.size()
                                                                     : kObjectiveRowSkip));
}

// Land: the acres available, then the acres planted in it, the sum over its crops.
void AppendLandHint(std::span<char> text, int topic, bool solution) {
  const FormulationRow& row = formulation.constraints[topic];
  std::string_view land = ConstraintName(topic);
  AppendString(text, kTextMaximumAcresOf);
  AppendText(text, land);
  AppendString(text, kTextAvailableForPlanting);
  if (solution) {
    AppendString(text, kTextAnswer);
    AppendNumber(text, row.rhs);
    AppendString(text, kTextLandAcres);
  }
  AppendString(text, kTextHowManyAcresOfLand);
  AppendText(text, land);
  AppendString(text, kTextUsedForPlanting);
  if (!solution) return;
  AppendString(text, kTextSumOfAllCropsIn);
  AppendText(text, land);
  AppendString(text, kTextLandFormulaIntro);
  AppendString(text, topic == kRedClayConstraint ? kTextRedClayCrops : kTextSandyLoamCrops);
  AppendString(text, kTextLandWhichBecomes);
  AppendNonzeroLetters(text, row, kTextLandPlus);
  AppendString(text, kTextLandTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextLandShouldBe);
  AppendWrittenRow(text, topic);
}

// A crop limit's name is the crop and then "maximum" or "minimum".
struct CropLimitName {
  std::string_view crop;
  std::string_view limit;
};

CropLimitName SplitLimitName(int topic) {
  std::string_view name = ConstraintName(topic);
  std::size_t lastBlank = name.rfind(' ');
  if (lastBlank == std::string_view::npos) return {name, name};
  return {name.substr(0, lastBlank), name.substr(lastBlank + 1)};
}

// Crop limit, question 1: "What is the maximum number of acres of " + the crop, that is the name
// up to its last blank, + whether that much can or must be grown. Only the crop is appended
// (rather than the whole name, then cut back at the text's last blank) so that a text cut at the
// buffer's end still reads as the beginning of the whole one.
void AppendLimitQuestion(std::span<char> text, int topic, bool solution) {
  std::string_view name = ConstraintName(topic);
  CropLimitName parts = SplitLimitName(topic);
  bool canBeGrown = false;
  for (std::string_view limit : kCanBeGrownLimits) canBeGrown = canBeGrown || name == limit;
  AppendString(text, kTextWhatIsThe);
  AppendText(text, parts.limit);
  AppendString(text, kTextNumberOfAcresOf);
  AppendText(text, parts.crop);
  AppendString(text, canBeGrown ? kTextCanBeGrown : kTextMustBeGrown);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendNumber(text, formulation.constraints[topic].rhs);
  AppendString(text, kTextLimitAcres);
}

// Crop limit, question 2: the acres of the crop grown, the sum over both kinds of land.
void AppendAcresGrownQuestion(std::span<char> text, int topic, bool solution) {
  std::string_view crop = SplitLimitName(topic).crop;
  AppendString(text, kTextHowManyAcresOfCrop);
  AppendText(text, crop);
  AppendString(text, kTextWillBeGrown);
  if (!solution) return;
  AppendString(text, kTextSumOfAll);
  AppendText(text, crop);
  AppendString(text, kTextPlantedFormula);
  AppendText(text, crop);
  AppendString(text, kTextInRedClayPlus);
  AppendText(text, crop);
  AppendString(text, kTextInSandyLoam);
  AppendNonzeroLetters(text, formulation.constraints[topic], kTextLimitPlus);
}

// Crop limit: the limit itself and, except for the wheat minimum, the acres grown; the solution
// ends with the constraint written out.
void AppendCropLimitHint(std::span<char> text, int topic, bool solution) {
  AppendLimitQuestion(text, topic, solution);
  if (topic != kWheatMinimumConstraint) AppendAcresGrownQuestion(text, topic, solution);
  if (!solution) return;
  AppendString(text, kTextLimitTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextLimitShouldBe);
  AppendWrittenRow(text, topic);
}

// Cultivation, one crop: the hours an acre of it takes; at solution level as a term.
void AppendCropHours(std::span<char> text, std::string_view hoursName,
                     const CultivatedCropHint& hint, double hours, int slot, bool solution) {
  AppendString(text, hint.question);
  AppendText(text, hoursName);
  AppendString(text, hint.questionEnd);
  if (!solution) return;
  AppendString(text, kTextAnswer);
  AppendNumber(text, hours);
  AppendString(text, hint.answer);
  AppendNumber(text, hours);
  AppendText(text, kBlank);
  AppendText(text, std::string_view(&kLowerLetters[slot], 1));
}

// Cultivation: the hours available, then the hours of each crop the land grows; the solution ends
// with the constraint written out. A cultivation constraint of no known land has no questions.
void AppendCultivationHint(std::span<char> text, int topic, bool solution) {
  const CultivationField* field = nullptr;
  for (const CultivationField& candidate : kCultivationFields) {
    if (candidate.constraint == topic) field = &candidate;
  }
  if (field == nullptr) {
    AppendString(text, kTextNoInformation);
    return;
  }
  const FormulationRow& row = formulation.constraints[topic];
  std::string_view hoursName = ConstraintName(topic);
  AppendString(text, kTextHoursOf);
  AppendText(text, hoursName);
  AppendString(text, kTextHoursAvailable);
  if (solution) {
    AppendString(text, kTextAnswer);
    AppendNumber(text, row.rhs);
    AppendString(text, kTextHoursUnit);
  }
  for (int crop = 0; crop < field->cropCount; ++crop) {
    int slot = field->slots[crop];
    AppendCropHours(text, hoursName, kCultivatedCropHints[crop], row.coef[slot], slot, solution);
  }
  if (!solution) return;
  AppendString(text, kTextCultivationTherefore);
  AppendConstraintLabel(text, topic);
  AppendString(text, kTextCultivationShouldBe);
  AppendWrittenRow(text, topic);
}

}  // namespace

void BuildFarmHint(std::span<char> text, int topic, int level) {
  SetText(text, "");
  bool solution = level >= 2;
  if (topic == kObjectiveTopic) {
    AppendObjectiveHint(text, solution);
    return;
  }
  switch (TopicKind(topic)) {
    case kKindResource:
      AppendLandHint(text, topic, solution);
      return;
    case kKindProduction:
      AppendCropLimitHint(text, topic, solution);
      return;
    case kKindCultivation:
      AppendCultivationHint(text, topic, solution);
      return;
    default:
      AppendString(text, kTextNoInformation);
      return;
  }
}
