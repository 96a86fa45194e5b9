#pragma once
// The processor time of the calling thread, in nanoseconds: on a shared machine it holds still where
// the wall clock follows the other processes. Linux counts it finely; Windows (and Wine, which reads
// Linux's thread times) in steps of up to 10 ms, so a timing should run for 100 ms or more.

#include <cstdint>

namespace vivo::benchmarks {

[[nodiscard]] std::int64_t ThreadProcessorNanoseconds();

}  // namespace vivo::benchmarks
