// The problems whose hints the hint tests (hint_texts_test, hint_lists_test) build, the pinned
// seed they are generated with, a builder's text read back as a string, and test texts written
// with '|' and ">=" / "<=" turned into the lesson's bytes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "courselib.h"
#include "farm_problem.h"
#include "feedmix_problem.h"
#include "formulation_model.h"
#include "furniture_problem.h"
#include "hints.h"
#include "porcelain_problem.h"
#include "printing_problem.h"
#include "textservices.h"

namespace hints_test_support {

inline constexpr std::uint64_t kPinnedSeed = 7;

// Test texts are written with '|' for the line-break byte and ">=" / "<=" for the lesson font's
// relation bytes.
inline std::string Lesson(std::string_view written) {
  std::string out;
  for (std::size_t i = 0; i < written.size(); ++i) {
    std::string_view rest = written.substr(i);
    if (rest.starts_with(">=")) {
      out += kAtLeastByte;
      ++i;
    } else if (rest.starts_with("<=")) {
      out += kAtMostByte;
      ++i;
    } else {
      out += written[i] == '|' ? kLineBreak : written[i];
    }
  }
  return out;
}

inline const std::string kBreak(1, kLineBreak);

using HintBuilder = void (*)(std::span<char>, int, int);

struct Problem {
  const char* name;
  int code;
  void (*generate)();
  HintBuilder build;
};

inline const Problem kPrinting = {"printing", 3, GeneratePrintingProblem, BuildPrintingHint};
inline const Problem kFurniture = {"furniture", 4, GenerateFurnitureProblem, BuildFurnitureHint};
inline const Problem kPorcelain = {"porcelain", 5, GeneratePorcelainProblem, BuildPorcelainHint};

inline void Generate(const Problem& problem, std::uint64_t seed) {
  SeedRandom(seed);
  problem.generate();
}

inline std::string Build(const Problem& problem, int topic, int level) {
  auto text = std::make_unique<std::array<char, kHintTextSize>>();
  problem.build(*text, topic, level);
  return std::string(TextIn(*text));
}

inline std::string Name(int constraint) {
  return std::string(TextIn(formulation.constraintNames[static_cast<std::size_t>(constraint)]));
}

}  // namespace hints_test_support
