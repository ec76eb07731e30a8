// The porcelain problem: a factory that makes dogs, pigs and elephants in a mixing and a molding
// department decides how many of each figurine to make for the largest revenue, within both
// departments' hours and above a minimum of each. Its statement builder calls the generator once
// per start of the problem; the hints read the record.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kPorcelainParameterCount = 14;  // all drawn, none derived
inline constexpr int kPorcelainFigurines = 3;

// The figurines, in the order of the decision variables p, q, r.
enum PorcelainFigurine : int {
  kPorcelainDog = 0,
  kPorcelainPig = 1,
  kPorcelainElephant = 2,
};

// The parameters in their natural types, commented with their numbers. The hours per figurine are
// whole numbers of hours held as doubles.
struct PorcelainProblem {
  std::array<std::int32_t, kPorcelainFigurines> minimumMade;  // 0 to 2
  std::array<double, kPorcelainFigurines> revenue;            // 3 to 5
  std::array<double, kPorcelainFigurines> mixingHours;        // 6 to 8
  std::array<double, kPorcelainFigurines> moldingHours;       // 9 to 11
  std::int32_t mixingHoursAvailable;                          // 12
  std::int32_t moldingHoursAvailable;                         // 13
};

extern PorcelainProblem porcelainProblem;

// Draws new numbers and writes porcelainProblem, the parameter table and the correct formulation.
void GeneratePorcelainProblem();
