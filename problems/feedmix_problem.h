// The steer feed mix problem: a cattle farm mixes soybean, corn and wheat into feed that meets a
// steer's daily needs at least cost. Its statement builder calls the generator once per start of
// the problem; the hints read the record.
#pragma once

#include <cstdint>

// Parameters 0 to 23 are drawn (7 is fixed) and stated; 24 to 26, the costs per pound, are derived
// and held in the parameter table only.
inline constexpr int kFeedMixParameterCount = 27;
inline constexpr int kFeedMixStatedCount = 24;

struct FeedMixProblem {
  double soybeanProtein;           // 0, pounds per pound of the ingredient
  double soybeanIron;              // 1
  double soybeanPotassium;         // 2
  double soybeanCarbohydrate;      // 3
  double cornProtein;              // 4
  double cornIron;                 // 5
  double cornPotassium;            // 6
  double cornCarbohydrate;         // 7, always 0.22
  double wheatProtein;             // 8
  double wheatIron;                // 9
  double wheatPotassium;           // 10
  double wheatCarbohydrate;        // 11
  double proteinRequirement;       // 12, pounds per steer and day
  double ironRequirement;          // 13
  double potassiumRequirement;     // 14
  double carbohydrateRequirement;  // 15
  double soybeanBushelCost;        // 16, dollars
  double cornBushelCost;           // 17
  double wheatBushelCost;          // 18
  double soybeanBushelWeight;      // 19, whole pounds held as a double
  double cornBushelWeight;         // 20
  double wheatBushelWeight;        // 21
  double minimumFeed;              // 22, pounds per steer and day
  std::int32_t steerCount;         // 23, stated only
};

extern FeedMixProblem feedMixProblem;

// Draws new numbers and writes feedMixProblem, the parameter table and the correct formulation.
void GenerateFeedMixProblem();
