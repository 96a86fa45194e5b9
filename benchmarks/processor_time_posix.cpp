#include "processor_time.h"

#include <time.h>

namespace vivo::benchmarks {

std::int64_t ThreadProcessorNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace vivo::benchmarks
