// Site 2: one block per hit from its row height to its magnet button; the
// date is read from the page after the first file count.
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

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    const rt::Text countMarker = "|文件数:";

    return ReadRecords(
        page, kLimit, {"height=\"18\"", "磁力下载"}, [&](const rt::Text& block, const rt::Text& p) {
            Hit hit;
            hit.title = ReplaceMany(ExtractBetween(block, "<B>", "</B>"), "<font color=\"red\">",
                                    "", "</font>", "");
            const rt::Text hash = ExtractItem(block, "<a href=\"/torrent/", ".html");
            if (hit.title.empty() || hash.empty()) return RecordResult::Broken();
            hit.link = "magnet:?xt=urn:btih:" + hash + "&dn=" + EncodeForUrl(hit.title);
            // The date is the ten bytes after the file count and " | ". A page
            // without a file count has no date (rather than bytes from its start).
            const int q = rt::FindText(p, countMarker);
            if (q != -1) {
                const rt::Text count = ExtractBetween(p, countMarker, " | ");
                const int n = rt::TextLength(count + " | " + countMarker);
                hit.date = rt::MidText(p, q + n, 10);
            }
            hit.size = kUnknownField;
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite2 = {"31bt搜索", kLimit, Path, Scrape};

}  // namespace app
