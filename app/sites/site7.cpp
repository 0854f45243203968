// Site 7: one list item per hit; an eD2k item ends the page but not the
// site, and magnet links carry the site's display tag in their names.
#include "app/scraping/toolkit.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

namespace app {

PageHits ScrapeSite7(const rt::Text& page, const SiteTable& table) {
    constexpr int kLimit = 30;
    const rt::Text itemStart = "<li class=\"tableli\">";

    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= kLimit; ++k) {
        // No further item, or a truncated one: without its end it would not
        // be consumed and would yield empty rows up to the limit.
        const rt::Text record = ExtractItem(p, itemStart, "</li>");
        if (record.empty()) {
            result.exhausted = true;
            break;
        }
        const rt::Text kind = ExtractBetween(record, "html\" class=\"", "\"></a>");
        if (rt::CompareText(kind, "ED2K") == 0) break;
        Hit hit;
        hit.title = ReplaceMany(ExtractBetween(record, "html\">", "</a>"), "<font color=\"red\">",
                                "", "</font>", "");
        hit.link = kind;
        if (rt::CompareText(kind, "MAGNET") == 0) {
            const rt::Text hash = ExtractBetween(record, ">HASH值：", "</div>");
            hit.link = "magnet:?xt=urn:btih:" + hash + "&dn=[" + table.site7Tag + "]" +
                       EncodeForUrl(hit.title);
        }
        hit.size = ReplaceMany(ExtractBetween(record, "\"tsize\">", "</div>"), "<strong>", "",
                               "</strong>", "");
        hit.date = ExtractBetween(record, "\"ttime\">", "</div>");
        p = DropThrough(p, record);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
