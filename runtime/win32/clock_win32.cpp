// The performance counter: GetTickCount64 moves in steps of about 16 ms,
// too coarse for the transfer bounds and a stop's latency.
#include <windows.h>

#include "runtime/clock.h"

namespace rt {

std::int64_t MonotonicMs() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<std::int64_t>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const std::int64_t ticks = now.QuadPart;
    return ticks / frequency * 1000 + ticks % frequency * 1000 / frequency;
}

}  // namespace rt
