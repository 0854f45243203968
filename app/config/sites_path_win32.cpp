// Where the sites file lives on Windows: the user's roaming application
// data, %APPDATA%\seeker\sites.conf.
#include <cstdlib>

#include "app/config/sites_config.h"

namespace app {

const char* const kDefaultSitesConfigPlace = "%APPDATA%\\seeker\\sites.conf";

std::string DefaultSitesConfigPath() {
    // In the system's code page, as the file functions take narrow paths.
    const char* appData = std::getenv("APPDATA");
    if (appData && appData[0] != '\0') return std::string(appData) + "\\seeker\\sites.conf";
    return {};
}

}  // namespace app
