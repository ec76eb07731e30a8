// How fast a problem is generated with its statement: BuildStatement draws the numbers, fills the
// parameter table and the correct formulation, and writes the word problem.
#include <benchmark/benchmark.h>

#include "courselib.h"
#include "parameter_table.h"
#include "per_item.h"
#include "problem_fixture.h"
#include "problem_statement.h"

namespace {

void BM_BuildStatement(benchmark::State& state) {
  const int problemCode = static_cast<int>(state.range(0));
  SeedRandom(kBenchSeed);
  RunPerOperation(state, [problemCode] {
    const bool built = BuildStatement(problemCode);
    benchmark::DoNotOptimize(built);
    benchmark::DoNotOptimize(problemText.data());
  });
}
BENCHMARK(BM_BuildStatement)->DenseRange(kProblemPrinting, kProblemFarm)->ArgName("problem");

}  // namespace
