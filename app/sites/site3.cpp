// Site 3: one table row per hit with an English date ("Jan 20, 2015") that
// becomes 2015-1-20; a date without a month name keeps the previous month.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 20;

rt::Text Path(const rt::Text& k, int page) { return "/search/" + k + "/" + std::to_string(page); }

// The number of the last month name found in `raw`; `month` when none is.
rt::Text MonthOf(const rt::Text& raw, rt::Text month) {
    static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        if (rt::FindText(raw, kNames[i]) != -1) month = std::to_string(i + 1);
    }
    return month;
}

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    rt::Text month;  // carried from record to record within this page only
    // A record is the link, taken whole from the page; the name, size and
    // date cells come before it.
    return ReadRecords(
        page, kLimit, {">Detail</a><a href=\"", "\" title=\""},
        [&](const rt::Text& link, const rt::Text& head) {
            const rt::Text raw =
                ExtractItem(head, "</td><td class=\"date\">", "</td><td class=\"action\"");
            if (raw.empty()) return RecordResult::End();
            Hit hit;
            hit.link = link;
            hit.title = ExtractItem(head, "<tr><td class=\"name\">", "</td><td class=\"size\">");
            month = MonthOf(raw, month);
            const rt::Text date =
                rt::MidText(raw, 8, 5) + "-" + month + "-" + rt::MidText(raw, 4, 3);
            hit.date = rt::ReplaceSubtext(date, " ", rt::Text(), std::nullopt, std::nullopt, true);
            hit.size = kUnknownField;
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite3 = {"洪流小猫", kLimit, Path, Scrape};

}  // namespace app
