// The current problem's parameters as doubles, each with the phrase that says what it is, in the
// problem's fixed order. Every generator overwrites it; the diagnosis and the hints read it.
#pragma once

#include <array>
#include <cstdint>

// Room for the largest problem, the furniture problem's 29 values.
inline constexpr int kMaxParameters = 29;

// Problem codes, as the lesson flow's problem order holds them.
enum ProblemCode : int {
  kProblemPrinting = 3,
  kProblemFurniture = 4,
  kProblemPorcelain = 5,
  kProblemFeedMix = 6,
  kProblemFarm = 7,
};

struct ParameterTable {
  std::int32_t parameterCount;
  std::array<double, kMaxParameters> parameterValues;
  // The problem's own constant list; entry k describes parameter k. Never copied.
  const char* const* parameterDescriptions;
};

extern ParameterTable parameterTable;
