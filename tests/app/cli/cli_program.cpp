// The command-line entry without a window.
#include "app/cli/seeker_main.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    return app::cli::SeekerMain(argc, argv,
                                [](const app::SiteTable&, const std::vector<std::string>&) {
                                    std::fputs("seeker: this build has no window\n", stderr);
                                    return 1;
                                });
}
