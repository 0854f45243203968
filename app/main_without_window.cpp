// seeker for a system whose window backend this build does not have yet:
// the command line and its search work; asking for the window says why it
// does not open.
#include "app/cli/seeker_main.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    return app::cli::SeekerMain(argc, argv,
                                [](const app::SiteTable&, const std::vector<std::string>&) {
                                    std::fputs(
                                        "seeker: this build has no window yet; "
                                        "search with --search KEYWORD (see --help)\n",
                                        stderr);
                                    return 1;
                                });
}
