// Site 6: one block per hit; the hash names the title's anchor, and the
// record's first two property values are its date and its size.
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

PageHits ScrapeSite6(const rt::Text& page, const SiteTable&) {
    constexpr int kLimit = 20;
    const rt::Text valueStart = "class=\"prop_val\">";

    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= kLimit; ++k) {
        const rt::Text record = ExtractBetween(p, "<div class=\"r\">", "磁力链接");
        const rt::Text hash = ExtractBetween(record, "<a href=\"/hash/", "\" target=\"");
        if (hash.empty()) {
            result.exhausted = true;
            break;
        }
        Hit hit;
        hit.title = ReplaceMany(ExtractBetween(record, hash + "\">", "</h5>"),
                                "<span class='highlight'>", "", "</span>", "");
        hit.link = "magnet:?xt=urn:btih:" + hash;
        hit.date = ExtractBetween(record, valueStart, "</span>");
        const rt::Text rest = DropThrough(record, valueStart);
        hit.size = ExtractBetween(rest, valueStart, "</span>");
        // The shortened record begins one byte into the date; when that byte
        // splits a two-byte character the character-stepping search cannot
        // find it, and the page is consumed through the whole record instead
        // (otherwise the same record would be read again).
        p = rt::FindText(p, rest) != -1 ? DropThrough(p, rest) : DropThrough(p, record);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
