// The calling process's resident memory for the benchmarks' counters: its
// resident set (the working set on Windows) now and at its largest, in
// bytes; 0 where the system does not tell.
#pragma once

namespace bench {

double ResidentBytes();
double PeakResidentBytes();

}  // namespace bench
