// search_plan PORT KEYWORD PAGES SITES [LAST_PAGE]: what a search of the demo
// sites on PORT must send and find, worked out from the demo pages and the
// site rules alone: "request N TARGET" lines in the order they must arrive
// (as the demo sites log them), then "hit NUMBER<TAB>TITLE<TAB>LINK" lines
// (UTF-8) in row order. SITES is a comma-separated list of site numbers.
#include "app/scraping/page_body.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"
#include "demo_pages.h"
#include "runtime/codepage.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: search_plan PORT KEYWORD PAGES SITES [LAST_PAGE]\n");
        return 2;
    }
    const app::SiteTable table = app::DemoSiteTable(std::atoi(argv[1]));
    const rt::Text keyword = rt::Utf8ToCp936(argv[2]);
    const int pages = std::atoi(argv[3]);
    std::set<app::SiteId> sites;
    std::stringstream list(argv[4]);
    for (std::string item; std::getline(list, item, ',');) sites.insert(std::atoi(item.c_str()));
    demo::PageOptions options;
    options.site1HashUrl = table.site1HashUrl;
    if (argc == 6) options.lastPage = std::atoi(argv[5]);

    std::printf("request 0 %s\n", table.portalUrl.substr(table.portalUrl.find('/', 7)).c_str());
    std::set<app::SiteId> exhausted;
    int number = 0;
    std::string hits;
    for (int page = 1; page <= std::min(pages, 1000); ++page) {
        for (const app::SiteId site : sites) {
            if (exhausted.count(site) != 0) continue;
            std::printf("request %d %s\n", site,
                        app::SitePath(site, app::EncodeForUrl(keyword), page).c_str());
            const demo::DemoPage served = demo::BuildPage(site, keyword, page, options);
            const app::PageHits found =
                app::ScrapePage(site, app::PageTextFromBody(served.body), table);
            for (const app::Hit& hit : found.hits) {
                hits += "hit " + std::to_string(++number) + "\t" + rt::Cp936ToUtf8(hit.title) +
                        "\t" + rt::Cp936ToUtf8(hit.link) + "\n";
            }
            if (found.exhausted) exhausted.insert(site);
        }
    }
    std::fputs(hits.c_str(), stdout);
    return 0;
}
