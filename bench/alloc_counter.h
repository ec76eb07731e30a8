// Counts heap allocations made by the code under measurement: the benchmarks replace the global
// operator new and report allocations per operation beside the time.
#pragma once

#include <cstddef>

namespace alloc_counter {
// Allocations since the program started.
std::size_t Count();
}  // namespace alloc_counter
