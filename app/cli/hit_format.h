// One hit as a line of the command-line search's output, in UTF-8.
#pragma once

#include "app/cli/command_line.h"
#include "app/scraping/hit.h"
#include "app/scraping/site_table.h"

#include <string>

namespace app::cli {

// tsv: number, title, size, date, site label and link separated by tabs (a
// control character inside a field, tabs and line breaks among them, becomes
// a space); json: one object with the keys number, title, size, date, site,
// site_id and link, control characters escaped. Ends with "\n".
std::string FormatHit(Format format, int number, SiteId site, const Hit& hit);

}  // namespace app::cli
