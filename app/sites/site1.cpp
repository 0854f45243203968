// Site 1: one table row per hit, ending with the title in the detail
// button; the hash sits in a link to the site's own detail page, so its
// marker carries the site's URL. The size, date and hash come before the
// title in the row, so a record is the page up to the title's end.
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

    return ReadRecords(
        page, kLimit, {"", "\" target=\"_blank\">Detail</a></td> </tr>"},
        [&](const rt::Text& record, const rt::Text&) {
            const int t = rt::FindText(record, titleStart);
            Hit hit;
            if (t != -1)
                hit.title = record.substr(static_cast<std::size_t>(t - 1) + titleStart.size());
            if (hit.title.empty()) return RecordResult::End();
            hit.size = ExtractItem(record, " <td class=\"files-size\">",
                                   "</td> <td class=\"convert-date\">");
            hit.date =
                ExtractItem(record, "<td class=\"convert-date\">", "</td> <td class=\"action\">");
            hit.link = "magnet:?xt=urn:btih:" + ExtractItem(record, hashStart, titleStart) +
                       "&dn=" + EncodeForUrl(hit.title);
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite1 = {"传播搜索", kLimit, Path, Scrape};

}  // namespace app
