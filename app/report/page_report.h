// A page of a search as the per-site report counts it, from what the site
// rule found and how the page request ended.
#pragma once

#include "app/report/site_report_types.h"
#include "web/outcome.h"

namespace app {

PageOutcome ReportedPage(int hits, bool exhausted, const web::RequestOutcome& outcome);

}  // namespace app
