// Site 2: one block per hit from its row height to its magnet button; the
// date is read from the page after the first file count.
#include "app/scraping/toolkit.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

namespace app {

PageHits ScrapeSite2(const rt::Text& page, const SiteTable&) {
    constexpr int kLimit = 10;
    const rt::Text countMarker = "|文件数:";

    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= kLimit; ++k) {
        const rt::Text block = ExtractBetween(p, "height=\"18\"", "磁力下载");
        Hit hit;
        hit.title = ReplaceMany(ExtractBetween(block, "<B>", "</B>"), "<font color=\"red\">", "",
                                "</font>", "");
        if (hit.title.empty()) {
            result.exhausted = true;
            break;
        }
        const rt::Text hash = ExtractBetween(block, "<a href=\"/torrent/", ".html");
        hit.link = "magnet:?xt=urn:btih:" + hash + "&dn=" + EncodeForUrl(hit.title);
        // The date is the ten bytes after the file count and " | ". A page
        // without a file count has no date (rather than bytes from its start).
        const int q = rt::FindText(p, countMarker);
        if (q != -1) {
            const rt::Text count = ExtractBetween(p, countMarker, " | ");
            const int n = rt::TextLength(count + " | " + countMarker);
            hit.date = rt::MidText(p, q + n, 10);
        }
        hit.size = kUnknownField;
        p = DropThrough(p, block);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
