// The farm crops problem: a farmer with a field of red clay and a field of sandy loam decides how
// many acres of wheat, corn and cotton to plant in each for the largest profit. Its statement
// builder calls the generator once per start of the problem; the hints read the record.
#pragma once

#include <cstdint>

// Parameters 0 to 21 are drawn and stated; 22 to 26, the profits per acre, are derived and held in
// the parameter table only.
inline constexpr int kFarmParameterCount = 27;
inline constexpr int kFarmStatedCount = 22;

struct FarmProblem {
  std::int32_t redClayAcres;             // 0, Field A
  std::int32_t sandyLoamAcres;           // 1, Field B
  std::int32_t wheatMinimum;             // 2, acres
  std::int32_t cornMinimum;              // 3
  std::int32_t wheatMaximum;             // 4
  std::int32_t cornMaximum;              // 5
  std::int32_t cottonMaximum;            // 6
  std::int32_t wheatRedClayYield;        // 7, bushels per acre
  std::int32_t cornRedClayYield;         // 8
  std::int32_t wheatSandyLoamYield;      // 9
  std::int32_t cornSandyLoamYield;       // 10
  std::int32_t cottonSandyLoamYield;     // 11
  std::int32_t wheatRedClayHours;        // 12, cultivation hours per acre
  std::int32_t cornRedClayHours;         // 13
  std::int32_t wheatSandyLoamHours;      // 14
  std::int32_t cornSandyLoamHours;       // 15
  std::int32_t cottonSandyLoamHours;     // 16
  std::int32_t redClayHoursAvailable;    // 17
  std::int32_t sandyLoamHoursAvailable;  // 18
  double wheatProfit;                    // 19, dollars per bushel
  double cornProfit;                     // 20
  double cottonProfit;                   // 21
};

extern FarmProblem farmProblem;

// Draws new numbers and writes farmProblem, the parameter table and the correct formulation.
void GenerateFarmProblem();
