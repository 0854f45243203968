// Site 3: one table row per hit with an English date ("Jan 20, 2015") that
// becomes 2015-1-20; a date without a month name keeps the previous month.
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

// The number of the last month name found in `raw`; `month` when none is.
rt::Text MonthOf(const rt::Text& raw, rt::Text month) {
    static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        if (rt::FindText(raw, kNames[i]) != -1) month = std::to_string(i + 1);
    }
    return month;
}

}  // namespace

PageHits ScrapeSite3(const rt::Text& page, const SiteTable&) {
    constexpr int kLimit = 20;
    const rt::Text linkStart = ">Detail</a><a href=\"";

    PageHits result;
    rt::Text p = page;
    rt::Text month;  // carried from record to record within this page only
    for (int k = 1; k <= kLimit; ++k) {
        Hit hit;
        hit.link = ExtractBetween(p, linkStart, "\" title=\"");
        hit.title = ExtractBetween(p, "<tr><td class=\"name\">", "</td><td class=\"size\">");
        const rt::Text raw = ExtractBetween(p, "</td><td class=\"date\">", "</td><td class=\"action\"");
        if (raw.empty()) {
            result.exhausted = true;
            break;
        }
        month = MonthOf(raw, month);
        const rt::Text date =
            rt::MidText(raw, 8, 5) + "-" + month + "-" + rt::MidText(raw, 4, 3);
        hit.date = rt::ReplaceSubtext(date, " ", rt::Text(), std::nullopt, std::nullopt, true);
        hit.size = kUnknownField;
        p = DropThrough(p, linkStart);
        result.hits.push_back(std::move(hit));
    }
    return result;
}

}  // namespace app
