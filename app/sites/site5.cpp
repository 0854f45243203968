// Site 5: eD2k links in one of two layouts, a list or a table, chosen anew
// for every record by whether a list item is left on the page.
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

Hit ListRecord(const rt::Text& record) {
    Hit hit;
    hit.link = "ed2k" + ExtractBetween(record, "href=\"ed2k", "\">ED2K</a>");
    const rt::Text t = ExtractBetween(record, "<br/>", "<small>");
    hit.title = rt::RightText(t, rt::TextLength(t) - 2);  // a line break precedes it
    hit.size = ExtractBetween(record, "大小:", "&nbsp");
    return hit;
}

Hit TableRecord(const rt::Text& record) {
    Hit hit;
    hit.title = ExtractBetween(record, "<td>", "    ");
    hit.size = rt::ReplaceSubtext(ExtractBetween(record, "<td width='70' align='right'>", "</td>"),
                                  " ", rt::Text(), std::nullopt, std::nullopt, true);
    hit.link = "ed2k" + ExtractBetween(record, "href=\"ed2k", "|/\"") + "|/";
    return hit;
}

}  // namespace

PageHits ScrapeSite5(const rt::Text& page, const SiteTable&) {
    constexpr int kLimit = 20;

    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= kLimit; ++k) {
        const bool listLayout = rt::FindText(p, "<li hash=") >= 0;
        const rt::Text record = listLayout ? ExtractBetween(p, "<li hash=", "</span>")
                                           : ExtractBetween(p, "<tr class=\"row", ">ED2K");
        if (record.empty()) {
            result.exhausted = true;
            break;
        }
        Hit hit = listLayout ? ListRecord(record) : TableRecord(record);
        hit.date = kUnknownField;
        p = DropThrough(p, record);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
