// The printing problem: a print shop with orders for three kinds of page decides how many of each
// to print at least cost. Its statement builder calls the generator once per start of the problem.
#pragma once

#include <cstdint>

// The drawn parameters 0 to 12 live in the record; the derived 13 to 18 only in the parameter
// table.
inline constexpr int kPrintingParameterCount = 19;
inline constexpr int kPrintingDrawnCount = 13;

// The drawn parameters in their natural types, commented with their numbers.
struct PrintingProblem {
  std::int32_t onesidedOrdered;     // 0
  std::int32_t doublesidedOrdered;  // 1
  std::int32_t fourcolorOrdered;    // 2
  double onesidedCost;              // 3
  double doublesidedCost;           // 4
  double fourcolorCost;             // 5
  double wageHours;                 // 6
  double onesidedPercent;           // 7
  double doublesidedPercent;        // 8
  double fourcolorPercent;          // 9
  std::int32_t onesidedPerHour;     // 10
  std::int32_t doublesidedPerHour;  // 11
  std::int32_t fourcolorPerHour;    // 12
};

extern PrintingProblem printingProblem;

// Draws new numbers and writes printingProblem, the parameter table and the correct formulation.
void GeneratePrintingProblem();
