// seeker: the search program's entry. The command line chooses between the
// window and a search without one.
#include "app/cli/seeker_main.h"
#include "app/window/main_window.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    return app::cli::SeekerMain(argc, argv, [](const app::SiteTable& sites) {
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
        window.RunMessageLoop();
        return 0;
    });
}
