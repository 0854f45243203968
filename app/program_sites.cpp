#include "app/program_sites.h"

#include "app/config/sites_config.h"

#include <cstdio>

namespace app {

SiteTable ProgramSiteTable() {
    return LoadSiteTable(BuildSiteTable(), DefaultSitesConfigPath(), false, stderr);
}

}  // namespace app
