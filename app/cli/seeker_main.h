// The program's entry: the command line decides between the window and a
// search without one.
#pragma once

#include "app/scraping/site_table.h"

#include <functional>

namespace app::cli {

// Opens the window with these sites and returns the exit status.
using WindowEntry = std::function<int(const SiteTable& sites)>;

// Reads the command line and the sites configuration, then runs --help,
// --version, a command-line search or `window`. Returns the exit status
// (2 for a command line that is not understood).
int SeekerMain(int argc, char** argv, const WindowEntry& window);

}  // namespace app::cli
