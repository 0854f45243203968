// The demo sites a benchmark of the application searches: every site with
// full pages up to `lastPage`, each answer `delayMs` late, on free ports.
// False, with the benchmark marked skipped, when they do not start.
#pragma once

#include "demo_server.h"

#include <benchmark/benchmark.h>

inline bool ServeFullPages(demo::DemoSites& sites, benchmark::State& state, int lastPage,
                           int delayMs = 0) {
    demo::ServeOptions options;
    options.lastPage = lastPage;
    options.delayMs = delayMs;
    if (sites.StartOnFreePorts(options)) return true;
    state.SkipWithError("demo sites did not start");
    return false;
}
