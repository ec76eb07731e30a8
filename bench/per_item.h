// The measuring loops the benchmarks share: time and heap allocations per item (a line, an
// operation), reported beside Google Benchmark's own figures.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "alloc_counter.h"

// Sets the counters ns_per_<unit> and allocs_per_<unit> (and <unit>s, the items of one
// iteration) from the items handled and the allocations made over all iterations.
inline void ReportPerItem(benchmark::State& state, std::size_t itemsPerIteration,
                          std::size_t allocations, const std::string& unit) {
  const double count =
      static_cast<double>(state.iterations()) * static_cast<double>(itemsPerIteration);
  state.SetItemsProcessed(static_cast<std::int64_t>(count));
  state.counters[unit + "s"] = static_cast<double>(itemsPerIteration);
  state.counters["ns_per_" + unit] =
      benchmark::Counter(count, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["allocs_per_" + unit] = count > 0 ? static_cast<double>(allocations) / count : 0;
}

// Calls perItem once for every item of items in every iteration.
template <typename Items, typename PerItem>
void RunPerItem(benchmark::State& state, const Items& items, const std::string& unit,
                PerItem&& perItem) {
  const std::size_t before = alloc_counter::Count();
  for (auto _ : state) {
    for (const auto& item : items) perItem(item);
  }
  ReportPerItem(state, items.size(), alloc_counter::Count() - before, unit);
}

// Calls operation once in every iteration.
template <typename Operation>
void RunPerOperation(benchmark::State& state, Operation&& operation) {
  const std::size_t before = alloc_counter::Count();
  for (auto _ : state) operation();
  ReportPerItem(state, 1, alloc_counter::Count() - before, "op");
}
