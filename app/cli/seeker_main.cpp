#include "app/cli/seeker_main.h"

#include "app/cli/cli_search.h"
#include "app/cli/command_line.h"
#include "app/cli/console.h"
#include "app/config/sites_config.h"

#include <cstdio>
#include <string>
#include <vector>

namespace app::cli {

int SeekerMain(int argc, char** argv, const WindowEntry& window) {
    const CommandLine line = ParseCommandLine(CommandLineArguments(argc, argv));
    switch (line.mode) {
    case Mode::Help: WriteText(stdout, HelpText()); return 0;
    case Mode::Version: std::puts("seeker " SEEKER_VERSION); return 0;
    case Mode::UsageError:
        WriteText(stderr, "seeker: " + line.error + " (see seeker --help)\n");
        return 2;
    case Mode::Window:
    case Mode::Search: break;
    }
    const bool named = !line.configPath.empty();
    const SitesFile sites =
        LoadSitesFile(BuildSiteTable(), named ? line.configPath : DefaultSitesConfigPath(), named);
    for (const std::string& problem : sites.problems) WriteText(stderr, problem + "\n");
    // A file the user named is the file meant; the built-in sites would
    // search somewhere else.
    if (named && sites.unreadable) return 2;
    if (line.mode == Mode::Search) {
        SiteTable table = sites.table;
        table.parallel = table.parallel || line.parallel;
        return RunCommandLineSearch(line, table, stdout, stderr);
    }
    ReleaseOwnConsole();
    return window(sites.table, sites.problems);
}

}  // namespace app::cli
