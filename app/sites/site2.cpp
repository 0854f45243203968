// Site 2: one block per hit from its row height to its magnet button; the
// date follows the file count, which the block holds.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 10;

rt::Text Path(const rt::Text& k, int page) {
    return "/search/" + k + "/" + std::to_string(page) + ".html";
}

// The ten bytes after the first file count and " | "; empty without a file
// count (rather than bytes from the start of the text).
rt::Text DateAfterFileCount(const rt::Text& text) {
    const rt::Text countMarker = "|文件数:";
    const int q = rt::FindText(text, countMarker);
    if (q == -1) return {};
    const rt::Text count = ExtractBetween(text, countMarker, " | ");
    return rt::MidText(text, q + rt::TextLength(count + " | " + countMarker), 10);
}

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    return ReadRecords(
        page, kLimit, {"height=\"18\"", "磁力下载"},
        [&](const rt::Text& block, const rt::Text& head) {
            Hit hit;
            hit.title = ReplaceMany(ExtractItem(block, "<B>", "</B>"), "<font color=\"red\">", "",
                                    "</font>", "");
            if (hit.title.empty()) return RecordResult::End();
            hit.link = "magnet:?xt=urn:btih:" + ExtractItem(block, "<a href=\"/torrent/", ".html") +
                       "&dn=" + EncodeForUrl(hit.title);
            // Read from the page before the block's end, not from the block,
            // as the site's own pages need; never from a later record.
            hit.date = DateAfterFileCount(head);
            hit.size = kUnknownField;
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite2 = {"31bt搜索", kLimit, Path, Scrape};

}  // namespace app
