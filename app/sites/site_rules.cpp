// The site list, and the site table's per-site values read from it.
#include "app/sites/site_rules.h"

#include "runtime/fatal.h"

namespace app {

const SiteDescriptor& Site(SiteId site) {
    static const SiteDescriptor* const kSites[kSiteCount] = {&kSite1, &kSite2, &kSite3, &kSite4,
                                                             &kSite5, &kSite6, &kSite7, &kSite8};
    // A site number outside 1..8 is a programming error.
    if (site < kFirstSite || site > kLastSite) rt::FatalError(rt::kErrorSelectorRange);
    return *kSites[site - 1];
}

PageHits ScrapePage(SiteId site, const rt::Text& page, const SiteTable& table) {
    return Site(site).rule(page, table);
}

rt::Text SiteLabel(SiteId site) { return Site(site).label; }

int SiteRecordLimit(SiteId site) { return Site(site).recordLimit; }

rt::Text SitePath(SiteId site, const rt::Text& encodedKeyword, int page) {
    return Site(site).path(encodedKeyword, page);
}

rt::Text SitePageUrl(const SiteTable& table, SiteId site, const rt::Text& encodedKeyword,
                     int page) {
    return table.BaseUrl(site) + SitePath(site, encodedKeyword, page);
}

}  // namespace app
