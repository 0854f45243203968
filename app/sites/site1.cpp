// Site 1: one table row per hit; the hash sits in a link to the site's own
// detail page, so its marker carries the site's URL.
#include "app/scraping/toolkit.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

namespace app {

PageHits ScrapeSite1(const rt::Text& page, const SiteTable& table) {
    constexpr int kLimit = 30;
    const rt::Text recordEnd = "\" target=\"_blank\">Detail</a></td> </tr>";
    const rt::Text hashStart =
        "<td class=\"action\"><a href=\"" + table.site1HashUrl + "/magnet/detail/hash/";

    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= kLimit; ++k) {
        Hit hit;
        hit.title = ExtractBetween(p, "\" class=\"btn\" title=\"", recordEnd);
        if (hit.title.empty()) {
            result.exhausted = true;
            break;
        }
        hit.size = ExtractBetween(p, " <td class=\"files-size\">", "</td> <td class=\"convert-date\">");
        hit.date = ExtractBetween(p, "<td class=\"convert-date\">", "</td> <td class=\"action\">");
        const rt::Text hash = ExtractBetween(p, hashStart, "\" class=\"btn\" title=\"");
        hit.link = "magnet:?xt=urn:btih:" + hash + "&dn=" + EncodeForUrl(hit.title);
        p = DropThrough(p, recordEnd);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
