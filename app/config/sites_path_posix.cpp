// Where the sites file lives on Linux: the XDG configuration directory.
#include <cstdlib>

#include "app/config/sites_config.h"

namespace app {

const char* const kDefaultSitesConfigPlace = "$XDG_CONFIG_HOME/seeker/sites.conf";

std::string DefaultSitesConfigPath() {
    // Relative values of XDG_CONFIG_HOME are invalid and ignored, as the base
    // directory rules ask.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/seeker/sites.conf";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::string(home) + "/.config/seeker/sites.conf";
    return {};
}

std::filesystem::path SystemPath(const std::string& path) { return path; }

std::FILE* OpenForReading(const std::filesystem::path& path) {
    return std::fopen(path.c_str(), "rb");
}

}  // namespace app
