// The search without a window: the search driver with a sink that prints.
#pragma once

#include "app/cli/command_line.h"
#include "app/scraping/site_table.h"

#include <cstdio>

namespace app::cli {

// Runs the search of `line` on a worker thread. Hits go to `out` as they are
// found; a progress bar goes to `err` when it is a terminal, and the closing
// line ("search finished: 3 seconds, 87 hits") always. SIGINT or SIGTERM
// stops the search cleanly. Returns the exit status: 0 at the end of the
// search, 128 + the signal's number after a stop.
int RunCommandLineSearch(const CommandLine& line, const SiteTable& sites, std::FILE* out,
                         std::FILE* err);

}  // namespace app::cli
