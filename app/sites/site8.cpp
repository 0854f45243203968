// Site 8: one search item per hit; size and date sit in styled pills after
// two bytes of layout that are cut off.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 10;

rt::Text Path(const rt::Text& k, int page) { return "/search/" + k + "/" + std::to_string(page); }

// The pill's text without tags and spaces, its first two bytes dropped.
rt::Text PillValue(const rt::Text& record, const rt::Text& label, const rt::Text& pillTag) {
    const rt::Text v =
        ReplaceMany(ExtractItem(record, label, "</b>"), pillTag, "", "<b>", "", " ", "");
    return rt::RightText(v, rt::TextLength(v) - 2);
}

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    return ReadRecords(
        page, kLimit, {"<div class=\"search-item\">", "迅雷链接</a>"},
        [&](const rt::Text& record, const rt::Text&) {
            if (record.empty()) return RecordResult::End();
            Hit hit;
            hit.title = ReplaceMany(ExtractItem(record, "\"_blank\">", "</a>"),
                                    "<font color=\"red\">", "", "</font>", "");
            hit.size = PillValue(record, "<span>文件大小：", "<b class=\"cpill yellow-pill\">");
            hit.date = PillValue(record, "<span>创建时间：", "<b class=\"cpill blue-pill\">");
            hit.link = "magnet:?" + ExtractItem(record, "magnet:?", "\" class=");
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite8 = {"book搜索", kLimit, Path, Scrape};

}  // namespace app
