// seeker: the search program's entry.
#include "app/program_sites.h"
#include "app/window/main_window.h"

#include <cstdio>
#include <cstdlib>

int main() {
    app::MainWindow window(app::ProgramSiteTable());
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
}
