// Site 4: one record per hit between a tag list's end and its magnet button;
// the title is the link's percent-encoded UTF-8 display name.
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

PageHits ScrapeSite4(const rt::Text& page, const SiteTable&) {
    constexpr int kLimit = 10;
    // Appended to the link so that the name's end marker always exists.
    const rt::Text sentinel = "墨川";

    PageHits result;
    rt::Text p = DropThrough(page, " </ul>");  // the navigation list
    for (int k = 1; k <= kLimit; ++k) {
        const rt::Text record = ExtractBetween(p, " </ul>", " Magnet</a>");
        if (record.empty()) {
            result.exhausted = true;
            break;
        }
        Hit hit;
        hit.link = ExtractBetween(record, "href=\"", "\">");
        const rt::Text name = ExtractBetween(hit.link + sentinel, "&amp;dn=", sentinel);
        hit.title = Utf8TextToAnsi(PercentDecode(name));
        hit.size = ExtractBetween(record, "Size:", "  Requests");
        hit.date = kUnknownField;
        p = DropThrough(p, record);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
