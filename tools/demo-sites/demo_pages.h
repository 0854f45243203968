// Result pages of the demo sites: each site's own layout around the markers
// its rule reads, with titles built around the keyword. Pure functions.
#pragma once

#include "app/scraping/site_table.h"
#include "runtime/text.h"

#include <cstddef>
#include <optional>
#include <string>

namespace demo {

// What one result page holds. A page before the site's last page has the
// site's full record count; the last page has fewer; later pages none.
struct PagePlan {
    int records = 0;
    int ed2kAt = -1;           // site 7: 0-based index of an eD2k record, or -1
    bool tableLayout = false;  // site 5: table rows instead of list items
};

// The site's last page with records for `keyword` (code page 936); it
// differs from site to site.
int LastPage(app::SiteId site, const rt::Text& keyword);
// `lastPage`, when given, replaces every site's own last page (0: no records).
PagePlan PlanPage(app::SiteId site, const rt::Text& keyword, int page,
                  std::optional<int> lastPage = std::nullopt);

// The hits the site's rule should take from a planned page, and whether the
// site ends with it.
int ExpectedHits(const PagePlan& plan);
bool ExpectedExhausted(app::SiteId site, const PagePlan& plan);

// Sites 1, 3, 4, 6 and 7 answer in UTF-8, the others in code page 936.
bool AnswersInUtf8(app::SiteId site);

struct PageOptions {
    rt::Text site1HashUrl;         // the URL in site 1's hash links
    std::size_t minimumBytes = 0;  // pad with page furniture up to this size
    std::optional<int> lastPage;   // see PlanPage
    // The first record of each page gets a title of at least this many bytes
    // (code page 936): a page that would freeze a careless window.
    std::size_t longTitleBytes = 0;
};

struct DemoPage {
    std::string body;  // in the site's own charset
    std::string contentType;
};

// The page `page` (from 1) of `site`'s results for `keyword` (code page 936).
DemoPage BuildPage(app::SiteId site, const rt::Text& keyword, int page, const PageOptions& options);

// The portal's front page.
DemoPage PortalPage();

}  // namespace demo
