// The program's entry: the command line decides between the window and a
// search without one.
#pragma once

#include "app/scraping/site_table.h"

#include <functional>
#include <string>
#include <vector>

namespace app::cli {

// Opens the window with these sites and returns the exit status.
// `sitesFileProblems` are the sites file's problems (UTF-8 lines), for the
// window to show.
using WindowEntry =
    std::function<int(const SiteTable& sites, const std::vector<std::string>& sitesFileProblems)>;

// Reads the command line and the sites configuration, then runs --help,
// --version, a command-line search or `window`. Returns the exit status:
// 2 for a command line that is not understood and for a sites file named
// with --config that cannot be read.
int SeekerMain(int argc, char** argv, const WindowEntry& window);

}  // namespace app::cli
