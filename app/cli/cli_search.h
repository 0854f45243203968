// The search without a window: the search driver with a sink that prints.
#pragma once

#include "app/cli/command_line.h"
#include "app/scraping/site_table.h"

#include <cstdio>

namespace app::cli {

// The exit status of a search in which every site searched ended on a page
// it could not fetch.
inline constexpr int kAllSitesFailedStatus = 3;

// Runs the search of `line` on a worker thread. Hits go to `out` as they are
// found; to `err` go warnings about the keyword, a progress bar when it is a
// terminal, each site that failed with why, and the closing line ("search
// finished: 3 seconds, 87 hits"). A stop request (Ctrl+C) stops the search
// cleanly, or ends the process half a second later when the search is stuck
// writing to `out`. Returns the exit status: 0 at the end of the search,
// kAllSitesFailedStatus, 128 + the signal's number after a stop (130 for
// Ctrl+C), 1 when the hits could not be written (with a message naming the
// error; 141 and no message for a reader that went away).
int RunCommandLineSearch(const CommandLine& line, const SiteTable& sites, std::FILE* out,
                         std::FILE* err);

}  // namespace app::cli
