// The eight site rules: each turns one result page (code page 936) into its
// hits in page order and tells whether the site has no further page. Rules
// keep no state between pages and touch nothing but their arguments.
#pragma once

#include "app/scraping/hit.h"
#include "app/scraping/site_table.h"

namespace app {

PageHits ScrapeSite1(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite2(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite3(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite4(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite5(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite6(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite7(const rt::Text& page, const SiteTable& table);
PageHits ScrapeSite8(const rt::Text& page, const SiteTable& table);

// The rule of `site` (1..8).
PageHits ScrapePage(SiteId site, const rt::Text& page, const SiteTable& table);

}  // namespace app
