// The eight sites' hosts and addresses of this build; what each site is
// (label, record limit, paths, rule) is in app/sites/site_rules.h.
#pragma once

#include "runtime/text.h"

#include <array>

namespace app {

// 1-based number of a site, in the order of the site list.
using SiteId = int;
inline constexpr SiteId kFirstSite = 1;
inline constexpr SiteId kLastSite = 8;
inline constexpr int kSiteCount = 8;

// Hosts and addresses, fixed per build (see BuildSiteTable), and how they
// are read.
struct SiteTable {
    std::array<rt::Text, kSiteCount> baseUrls;  // scheme and host, no path
    rt::Text site1HashUrl;                      // prefix of the hash links on site 1's pages
    rt::Text site7Tag;                          // site 7's name in its links' display names
    rt::Text portalUrl;
    // Whether a search reads the ticked sites at once, each site's pages
    // still one after another (the sites file's "parallel = on"); off, it
    // reads one page at a time.
    bool parallel = false;

    const rt::Text& BaseUrl(SiteId site) const { return baseUrls.at(site - 1); }
};

// The table this build was configured with.
const SiteTable& BuildSiteTable();

// The demo sites' table for a base port: portal on it, site N on it + N.
SiteTable DemoSiteTable(int basePort);

}  // namespace app
