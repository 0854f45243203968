// Site 6: one block per hit; the hash names the title's anchor, and the
// record's first two property values are its date and its size.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 20;

rt::Text Path(const rt::Text& k, int page) {
    return "/search?keyword=" + k + "&p=" + std::to_string(page);
}

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    const rt::Text valueStart = "class=\"prop_val\">";

    // The page goes on after the record's own place, so a date that begins
    // with a double-byte character cannot make the record be read again.
    return ReadRecords(
        page, kLimit, {"<div class=\"r\">", "磁力链接"},
        [&](const rt::Text& record, const rt::Text&) {
            const rt::Text hash = ExtractItem(record, "<a href=\"/hash/", "\" target=\"");
            if (hash.empty()) return RecordResult::End();
            Hit hit;
            hit.title = ReplaceMany(ExtractItem(record, hash + "\">", "</h5>"),
                                    "<span class='highlight'>", "", "</span>", "");
            hit.link = "magnet:?xt=urn:btih:" + hash;
            hit.date = ExtractItem(record, valueStart, "</span>");
            hit.size = ExtractItem(DropThrough(record, valueStart), valueStart, "</span>");
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite6 = {"樱花搜索", kLimit, Path, Scrape};

}  // namespace app
