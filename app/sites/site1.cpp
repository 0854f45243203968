// Site 1: one table row per hit; the hash sits in a link to the site's own
// detail page, so its marker carries the site's URL.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 30;

rt::Text Path(const rt::Text& k, int page) {
    return "/search/" + k + "/currentPage/" + std::to_string(page);
}

PageHits Scrape(const rt::Text& page, const SiteTable& table) {
    const rt::Text titleStart = "\" class=\"btn\" title=\"";
    const rt::Text hashStart =
        "<td class=\"action\"><a href=\"" + table.site1HashUrl + "/magnet/detail/hash/";

    // The record read is the title; the other fields are looked up in the page.
    return ReadRecords(page, kLimit, {titleStart, "\" target=\"_blank\">Detail</a></td> </tr>"},
                       [&](const rt::Text& title, const rt::Text& p) {
                           const rt::Text hash = ExtractItem(p, hashStart, titleStart);
                           if (hash.empty()) return RecordResult::Broken();
                           Hit hit;
                           hit.title = title;
                           hit.size = ExtractBetween(p, " <td class=\"files-size\">",
                                                     "</td> <td class=\"convert-date\">");
                           hit.date = ExtractBetween(p, "<td class=\"convert-date\">",
                                                     "</td> <td class=\"action\">");
                           hit.link =
                               "magnet:?xt=urn:btih:" + hash + "&dn=" + EncodeForUrl(hit.title);
                           return RecordResult::Row(std::move(hit));
                       });
}

}  // namespace

constinit const SiteDescriptor kSite1 = {"传播搜索", kLimit, Path, Scrape};

}  // namespace app
