// The porcelain problem's hints: the selling price of each figurine, the hours of a department
// available and needed per figurine, and the production minimum of a figurine. The scheme is the
// one the furniture problem shares; this file holds the porcelain texts.
#include <span>

#include "hint_text.h"
#include "hints.h"

namespace {

// clang-format off
constexpr ProductHintScheme kPorcelainScheme = {
    .productCount = 3,
    .firstNameConstraint = 0,  // the production minimums, named for their figurines
    .departmentKind = kKindResource,
    .minimumKind = kKindProduction,
    .products = {{
        // price  revenue  letter  hours letter  article  for all  after name
        {3705,   3706,    3707,   3726,         0,       0,       0},
        {3708,   3709,    3710,   3727,         0,       0,       0},
        {3711,   3712,    3713,   3728,         0,       0,       0},
    }},
    .hoursOf = 3718,
    .areAvailable = 3719,
    .hoursUnit = 3720,
    .perUnitQuestion = 3721,
    .questionEnd = 3722,
    .answerHoursOf = 3723,
    .neededForAll = 3724,
    .hoursFormula = 3725,
    .questionGap = 3729,
    .departmentTherefore = 3730,
    .departmentShouldBe = 3731,
    .minimumQuestion = 3733,
    .plural = kTextPluralS,
    .mustBe = 3734,
    .minimumBlank = 3735,
    .minimumTherefore = 3736,
    .minimumShouldBe = 3737,
};
// clang-format on
static_assert(kPorcelainScheme.productCount <= kMaxHintProducts);

}  // namespace

void BuildPorcelainHint(std::span<char> text, int topic, int level) {
  BuildProductHint(text, topic, level, kPorcelainScheme);
}
