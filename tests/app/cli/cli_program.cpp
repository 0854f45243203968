// The command-line entry without a window.
#include "app/cli/seeker_main.h"

#include <cstdio>

int main(int argc, char** argv) {
    return app::cli::SeekerMain(argc, argv, [](const app::SiteTable&) {
        std::fputs("seeker: this build has no window\n", stderr);
        return 1;
    });
}
