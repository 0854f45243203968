// Site 7: one list item per hit; an eD2k item ends the page but not the
// site, and magnet links carry the site's display tag in their names.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 30;

rt::Text Path(const rt::Text& k, int page) {
    return "/search/" + k + "-" + std::to_string(page) + ".html";
}

PageHits Scrape(const rt::Text& page, const SiteTable& table) {
    return ReadRecords(
        page, kLimit, {"<li class=\"tableli\">", "</li>"},
        [&](const rt::Text& record, const rt::Text&) {
            if (record.empty()) return RecordResult::End();
            const rt::Text kind = ExtractItem(record, "html\" class=\"", "\"></a>");
            if (rt::CompareText(kind, "ED2K") == 0) return RecordResult::LastOnPage();
            Hit hit;
            hit.title = ReplaceMany(ExtractItem(record, "html\">", "</a>"), "<font color=\"red\">",
                                    "", "</font>", "");
            hit.link = kind;
            if (rt::CompareText(kind, "MAGNET") == 0) {
                hit.link = "magnet:?xt=urn:btih:" + ExtractItem(record, ">HASH值：", "</div>") +
                           "&dn=[" + table.site7Tag + "]" + EncodeForUrl(hit.title);
            }
            hit.size = ReplaceMany(ExtractItem(record, "\"tsize\">", "</div>"), "<strong>", "",
                                   "</strong>", "");
            hit.date = ExtractItem(record, "\"ttime\">", "</div>");
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite7 = {"磁力搜索", kLimit, Path, Scrape};

}  // namespace app
