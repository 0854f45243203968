// Linux reports both sizes in /proc/self/status (VmRSS, VmHWM), in kB.
#include "bench/common/resident_memory.h"

#include <fstream>
#include <string>

namespace bench {

namespace {

double StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) * 1024;
    return 0;
}

}  // namespace

double ResidentBytes() { return StatusBytes("VmRSS"); }

double PeakResidentBytes() { return StatusBytes("VmHWM"); }

}  // namespace bench
