// Windows reports the working set and its peak through psapi.
#include "bench/common/resident_memory.h"

#include <windows.h>

#include <psapi.h>

namespace bench {

namespace {

PROCESS_MEMORY_COUNTERS Counters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return PROCESS_MEMORY_COUNTERS{};
    return counters;
}

}  // namespace

double ResidentBytes() { return static_cast<double>(Counters().WorkingSetSize); }

double PeakResidentBytes() { return static_cast<double>(Counters().PeakWorkingSetSize); }

}  // namespace bench
