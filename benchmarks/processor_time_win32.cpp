#include "processor_time.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vivo::benchmarks {

std::int64_t ThreadProcessorNanoseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 100;  // FILETIME counts 100 ns
}

}  // namespace vivo::benchmarks
