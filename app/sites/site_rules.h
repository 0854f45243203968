// The eight sites, each described in one place (its siteN.cpp): label, most
// records per page, result-page path and rule. A rule turns one result page
// (code page 936) into its hits in page order and tells whether the site has
// no further page; rules keep no state between pages and touch nothing but
// their arguments.
#pragma once

#include "app/scraping/hit.h"
#include "app/scraping/site_table.h"

namespace app {

struct SiteDescriptor {
    const char* label;  // in the site list
    int recordLimit;    // most records read from one page
    // Path and query of result page `page` (from 1) after the base URL.
    rt::Text (*path)(const rt::Text& encodedKeyword, int page);
    PageHits (*rule)(const rt::Text& page, const SiteTable& table);
};

extern const SiteDescriptor kSite1, kSite2, kSite3, kSite4, kSite5, kSite6, kSite7, kSite8;

// The descriptor of `site` (1..8), in the order of the site list.
const SiteDescriptor& Site(SiteId site);

// The rule of `site` (1..8).
PageHits ScrapePage(SiteId site, const rt::Text& page, const SiteTable& table);

// The site's label in the site list and its most records per page.
rt::Text SiteLabel(SiteId site);
int SiteRecordLimit(SiteId site);

// Path and query of a result page after the base URL; `encodedKeyword` is
// EncodeForUrl of the keyword, `page` counts from 1.
rt::Text SitePath(SiteId site, const rt::Text& encodedKeyword, int page);

// Base URL + SitePath.
rt::Text SitePageUrl(const SiteTable& table, SiteId site, const rt::Text& encodedKeyword, int page);

}  // namespace app
