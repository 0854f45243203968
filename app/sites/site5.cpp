// Site 5: eD2k links in one of two layouts, a list or a table, chosen anew
// for every record by whether a list item is left on the page.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 20;

rt::Text Path(const rt::Text& k, int page) {
    return "//search/" + k + "?page=" + std::to_string(page) + "&mode=auto";
}

Hit ListRecord(const rt::Text& record) {
    Hit hit;
    hit.link = "ed2k" + ExtractItem(record, "href=\"ed2k", "\">ED2K</a>");
    const rt::Text t = ExtractItem(record, "<br/>", "<small>");
    hit.title = rt::RightText(t, rt::TextLength(t) - 2);  // a line break precedes it
    hit.size = ExtractItem(record, "大小:", "&nbsp");
    return hit;
}

Hit TableRecord(const rt::Text& record) {
    Hit hit;
    hit.title = ExtractItem(record, "<td>", "    ");
    hit.size = rt::ReplaceSubtext(ExtractItem(record, "<td width='70' align='right'>", "</td>"),
                                  " ", rt::Text(), std::nullopt, std::nullopt, true);
    hit.link = "ed2k" + ExtractItem(record, "href=\"ed2k", "|/\"") + "|/";
    return hit;
}

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    bool listLayout = false;
    return ReadRecords(
        page, kLimit,
        [&](const rt::Text& p) {
            listLayout = rt::FindText(p, "<li hash=") >= 0;
            return listLayout ? RecordMarkers{"<li hash=", "</span>"}
                              : RecordMarkers{"<tr class=\"row", ">ED2K"};
        },
        [&](const rt::Text& record, const rt::Text&) {
            if (record.empty()) return RecordResult::End();
            Hit hit = listLayout ? ListRecord(record) : TableRecord(record);
            hit.date = kUnknownField;
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite5 = {"电驴视频", kLimit, Path, Scrape};

}  // namespace app
