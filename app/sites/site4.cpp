// Site 4: one record per hit between a tag list's end and its magnet button;
// the title is the link's percent-encoded UTF-8 display name.
#include "app/scraping/record_loop.h"
#include "app/scraping/toolkit.h"
#include "app/sites/site_rules.h"

namespace app {

namespace {

constexpr int kLimit = 10;

rt::Text Path(const rt::Text& k, int page) { return "/list/" + k + "/" + std::to_string(page); }

PageHits Scrape(const rt::Text& page, const SiteTable&) {
    // Appended to the link so that the name's end marker always exists.
    const rt::Text sentinel = "墨川";

    return ReadRecords(
        DropThrough(page, " </ul>"),  // the navigation list
        kLimit, {" </ul>", " Magnet</a>"}, [&](const rt::Text& record, const rt::Text&) {
            if (record.empty()) return RecordResult::End();
            Hit hit;
            hit.link = ExtractItem(record, "href=\"", "\">");
            const rt::Text name = ExtractItem(hit.link + sentinel, "&amp;dn=", sentinel);
            hit.title = Utf8TextToAnsi(PercentDecode(name));
            hit.size = ExtractItem(record, "Size:", "  Requests");
            hit.date = kUnknownField;
            return RecordResult::Row(std::move(hit));
        });
}

}  // namespace

constinit const SiteDescriptor kSite4 = {"手撕包菜", kLimit, Path, Scrape};

}  // namespace app
