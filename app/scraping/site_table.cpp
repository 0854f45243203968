#include "app/scraping/site_table.h"

#include "app/scraping/site_table_config.h"
#include "runtime/kept.h"

#include <string>

namespace app {

namespace {

rt::Text LocalUrl(int port) { return "http://127.0.0.1:" + std::to_string(port); }

}  // namespace

// Kept for the life of the process: a search worker may still read it while
// the process exits.
const SiteTable& BuildSiteTable() {
    static rt::Kept<SiteTable> table([] {
        SiteTable t;
        for (int i = 0; i < kSiteCount; ++i) t.baseUrls[i] = build_config::kSiteUrls[i];
        t.site1HashUrl = build_config::kSite1HashUrl;
        t.site7Tag = build_config::kSite7Tag;
        t.portalUrl = build_config::kPortalUrl;
        return t;
    }());
    return table.get();
}

SiteTable DemoSiteTable(int basePort) {
    SiteTable t;
    for (int i = 0; i < kSiteCount; ++i) t.baseUrls[i] = LocalUrl(basePort + i + 1);
    t.site1HashUrl = t.baseUrls[0];
    t.site7Tag = build_config::kSite7Tag;
    t.portalUrl = LocalUrl(basePort) + "/?a20150120";
    return t;
}

}  // namespace app
