// The monotonic clock in seconds, for tests that check how soon a call returns.
#pragma once

#include <time.h>

namespace webtest {

inline double Seconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

}  // namespace webtest
