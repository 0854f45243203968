// The site table the program searches.
#pragma once

#include "app/scraping/site_table.h"

namespace app {

// The build's table with what the user's sites configuration file sets;
// problems with the file go to standard error.
SiteTable ProgramSiteTable();

}  // namespace app
