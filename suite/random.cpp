// The course shell's random numbers: a PCG32 generator (XSH-RR output, 64-bit state) of our own, so
// that a seed gives the same problems with every compiler and on every platform. The standard
// library's distributions differ between implementations and are not used here.
#include <cstdint>

#include "courselib.h"

namespace {

// The LCG multiplier of PCG32 and the fixed stream every draw uses. Stream 54 is the one of the
// generator's published reference output, so our draws can be checked against it.
constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
constexpr std::uint64_t kStream = 54;
constexpr std::uint64_t kIncrement = (kStream << 1) | 1;

// The seed in force before anyone calls SeedRandom.
constexpr std::uint64_t kDefaultSeed = 0x853C49E6748FEA9BULL;

struct Pcg32 {
  std::uint64_t state;
};

// Advance the state by one step of the linear congruential sequence.
constexpr void Step(Pcg32& g) {
  g.state = g.state * kMultiplier + kIncrement;
}

// Seed: start from zero, step, add the seed, step (the generator's own seeding procedure).
constexpr Pcg32 Seeded(std::uint64_t seed) {
  Pcg32 g{0};
  Step(g);
  g.state += seed;
  Step(g);
  return g;
}

// One 32-bit draw: xor-shift the old state's high bits, then rotate by its top five bits.
constexpr std::uint32_t NextDraw(Pcg32& g) {
  std::uint64_t old = g.state;
  Step(g);
  auto xorShifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
  auto rotation = static_cast<std::uint32_t>(old >> 59);
  return (xorShifted >> rotation) | (xorShifted << ((32 - rotation) & 31));
}

// A draw from 0 to span, both included, without bias: draws below 2^32 mod (span + 1) are thrown
// away so that every remainder is equally likely.
std::uint32_t BoundedDraw(Pcg32& g, std::uint32_t span) {
  if (span == UINT32_MAX) return NextDraw(g);
  std::uint32_t count = span + 1;
  std::uint32_t threshold = (0U - count) % count;
  for (;;) {
    std::uint32_t draw = NextDraw(g);
    if (draw >= threshold) return draw % count;
  }
}

Pcg32 generator = Seeded(kDefaultSeed);

}  // namespace

void SeedRandom(std::uint64_t seed) {
  generator = Seeded(seed);
}

int RandomInRange(int high, int low) {
  // Bounds given the wrong way round still name the same range.
  if (high < low) {
    int swap = high;
    high = low;
    low = swap;
  }
  // Unsigned arithmetic keeps the span exact even from INT_MIN to INT_MAX.
  std::uint32_t span = static_cast<std::uint32_t>(high) - static_cast<std::uint32_t>(low);
  return static_cast<int>(static_cast<std::uint32_t>(low) + BoundedDraw(generator, span));
}
