// The furniture problem's hints: the selling price of each of the four products, the hours of a
// department available and needed per product, and the sales minimum of a product. The scheme is
// the one the porcelain problem shares; this file holds the furniture's texts.
#include <span>

#include "hint_text.h"
#include "hints.h"

namespace {

// Words around a product's name in the department questions: "build an upholstered sofa",
// "build a set of kitchen chairs", "build a kitchen table"; "for all  sets of kitchen chairs".
constexpr int kTextArticleN = 9220;
constexpr int kTextArticleSetOf = 9221;
constexpr int kTextArticleBlank = 9222;
constexpr int kTextAllSetsOf = 9223;

// clang-format off
constexpr ProductHintScheme kFurnitureScheme = {
    .productCount = 4,
    .firstNameConstraint = 5,  // the sales minimums, named for their products
    .departmentKind = kKindResource,
    .minimumKind = kKindSales,
    .products = {{
        // price  revenue  letter  hours letter  article            for all         after name
        {3645,   3646,    3647,   3668,         kTextArticleN,      0,              0},
        {3648,   3649,    3650,   3669,         kTextArticleN,      0,              0},
        {3651,   3652,    3653,   3670,         kTextArticleSetOf,  kTextAllSetsOf, kTextPluralS},
        {3654,   3655,    3656,   3671,         kTextArticleBlank,  0,              0},
    }},
    .hoursOf = 3660,
    .areAvailable = 3661,
    .hoursUnit = 3662,
    .perUnitQuestion = 3663,
    .questionEnd = 3664,
    .answerHoursOf = 3665,
    .neededForAll = 3666,
    .hoursFormula = 3667,
    .questionGap = 3672,
    .departmentTherefore = 3673,
    .departmentShouldBe = 3674,
    .minimumQuestion = 3675,
    .plural = kTextPluralS,
    .mustBe = 3676,
    .minimumBlank = 3677,
    .minimumTherefore = 3678,
    .minimumShouldBe = 3679,
};
// clang-format on
static_assert(kFurnitureScheme.productCount <= kMaxHintProducts);

}  // namespace

void BuildFurnitureHint(std::span<char> text, int topic, int level) {
  BuildProductHint(text, topic, level, kFurnitureScheme);
}
