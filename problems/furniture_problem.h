// The furniture problem: a company whose four products pass through five departments decides how
// many of each to build for the largest revenue, within each department's hours and above the
// sales it expects. Its statement builder calls the generator once per start of the problem; the
// hints read the record.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int kFurnitureParameterCount = 29;  // all drawn, none derived
inline constexpr int kFurnitureDepartments = 5;
inline constexpr int kFurnitureProducts = 4;

// Rows of the hours matrix, in the order of the department constraints.
enum FurnitureDepartment : int {
  kFurnitureCutting = 0,
  kFurnitureDrilling = 1,
  kFurnitureAssembling = 2,
  kFurnitureUpholstering = 3,
  kFurnitureFinishing = 4,
};

// Columns of the hours matrix, in the order of the decision variables p, q, r, s.
enum FurnitureProduct : int {
  kUpholsteredSofa = 0,
  kUpholsteredChair = 1,
  kKitchenChair = 2,
  kKitchenTable = 3,
};

// The parameters in their natural types, commented with their numbers.
struct FurnitureProblem {
  // Hours a product needs in a department (0 to 15); 0.0 where the product does not pass through
  // it (upholstering for the kitchen products, finishing for the upholstered ones).
  std::array<std::array<double, kFurnitureProducts>, kFurnitureDepartments> hours;
  std::array<std::int32_t, kFurnitureProducts> minimumSales;       // 16 to 19
  std::array<std::int32_t, kFurnitureDepartments> hoursAvailable;  // 20 to 24
  std::array<double, kFurnitureProducts> revenue;                  // 25 to 28
};

extern FurnitureProblem furnitureProblem;

// Draws new numbers and writes furnitureProblem, the parameter table and the correct formulation.
void GenerateFurnitureProblem();
