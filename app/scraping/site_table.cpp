#include "app/scraping/site_table.h"

#include "app/scraping/site_table_config.h"

#include "runtime/fatal.h"

#include <string>

namespace app {

namespace {

struct SiteInfo {
    const char* label;
    int recordLimit;
};

constexpr SiteInfo kSites[kSiteCount] = {
    {"传播搜索", 30}, {"31bt搜索", 10}, {"洪流小猫", 20}, {"手撕包菜", 10},
    {"电驴视频", 20}, {"樱花搜索", 20}, {"磁力搜索", 30}, {"book搜索", 10},
};

const SiteInfo& Info(SiteId site) {
    // A site number outside 1..8 is a programming error.
    if (site < kFirstSite || site > kLastSite) rt::FatalError(rt::kErrorSelectorRange);
    return kSites[site - 1];
}

rt::Text LocalUrl(int port) { return "http://127.0.0.1:" + std::to_string(port); }

}  // namespace

const SiteTable& BuildSiteTable() {
    static const SiteTable table = [] {
        SiteTable t;
        for (int i = 0; i < kSiteCount; ++i) t.baseUrls[i] = build_config::kSiteUrls[i];
        t.site1HashUrl = build_config::kSite1HashUrl;
        t.site7Tag = build_config::kSite7Tag;
        t.portalUrl = build_config::kPortalUrl;
        return t;
    }();
    return table;
}

SiteTable DemoSiteTable(int basePort) {
    SiteTable t;
    for (int i = 0; i < kSiteCount; ++i) t.baseUrls[i] = LocalUrl(basePort + i + 1);
    t.site1HashUrl = t.baseUrls[0];
    t.site7Tag = build_config::kSite7Tag;
    t.portalUrl = LocalUrl(basePort) + "/?a20150120";
    return t;
}

rt::Text SiteLabel(SiteId site) { return Info(site).label; }

int SiteRecordLimit(SiteId site) { return Info(site).recordLimit; }

rt::Text SitePath(SiteId site, const rt::Text& k, int page) {
    const rt::Text p = std::to_string(page);
    switch (site) {
        case 1: return "/search/" + k + "/currentPage/" + p;
        case 2: return "/search/" + k + "/" + p + ".html";
        case 3: return "/search/" + k + "/" + p;
        case 4: return "/list/" + k + "/" + p;
        case 5: return "//search/" + k + "?page=" + p + "&mode=auto";
        case 6: return "/search?keyword=" + k + "&p=" + p;
        case 7: return "/search/" + k + "-" + p + ".html";
        case 8: return "/search/" + k + "/" + p;
        default: rt::FatalError(rt::kErrorSelectorRange);
    }
}

rt::Text SitePageUrl(const SiteTable& table, SiteId site, const rt::Text& encodedKeyword,
                     int page) {
    return table.BaseUrl(site) + SitePath(site, encodedKeyword, page);
}

}  // namespace app
