// seeker: the search program's entry. The command line chooses between the
// window and a search without one.
#include "app/cli/seeker_main.h"
#include "app/config/sites_config.h"
#include "app/window/main_window.h"
#include "platform/platform.h"
#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A hostile page can give a title of megabytes; once it is gone, so is its memory.
    rt::ReturnLargeBlocksToTheSystem();
    return app::cli::SeekerMain(
        argc, argv,
        [](const app::SiteTable& sites, const std::vector<std::string>& sitesFileProblems) {
            // The desktop entry's StartupWMClass names this class.
            plat::SetApplicationIdentity("seeker", "Seeker");
            app::MainWindow window(sites);
            if (!window.Build()) {
                const char* display = std::getenv("DISPLAY");
                std::fprintf(stderr,
                             "seeker: cannot open the main window: no X display at DISPLAY=\"%s\"; "
                             "DISPLAY must name a running X display\n",
                             display != nullptr ? display : "");
                return 1;
            }
            // Started from a desktop menu, nobody sees standard error.
            if (!sitesFileProblems.empty())
                window.ShowNotice(app::SitesFileNotice(sitesFileProblems));
            window.RunMessageLoop();
            return 0;
        });
}
