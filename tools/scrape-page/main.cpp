// scrape-page [--utf8] [--demo-port BASE] SITE_ID FILE
//
// Runs one site's rule on a result page saved as received and prints one line
// per hit (number, title, size, date, link; tab-separated, UTF-8), then
// whether the site would be asked for another page. The page is converted
// from UTF-8 when it says "utf-8" within its first 499 bytes, or with --utf8.
// --demo-port takes the site table of demo-sites started on BASE instead of
// the build's table (it matters for site 1's hash links and site 7's tag).
#include "app/scraping/page_body.h"
#include "app/sites/site_rules.h"
#include "runtime/codepage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: scrape-page [--utf8] [--demo-port BASE] SITE_ID FILE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool forceUtf8 = false;
    int demoPort = 0;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        if (std::strcmp(argv[i], "--utf8") == 0) {
            forceUtf8 = true;
        } else if (std::strcmp(argv[i], "--demo-port") == 0 && i + 1 < argc) {
            demoPort = std::atoi(argv[++i]);
            if (demoPort <= 0) return Usage();
        } else {
            return Usage();
        }
    }
    if (argc - i != 2) return Usage();
    const int site = std::atoi(argv[i]);
    if (site < app::kFirstSite || site > app::kLastSite) return Usage();

    std::ifstream in(argv[i + 1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "scrape-page: cannot read %s\n", argv[i + 1]);
        return 1;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    const app::SiteTable table = demoPort ? app::DemoSiteTable(demoPort) : app::BuildSiteTable();
    const app::PageHits result =
        app::ScrapePage(site, app::PageTextFromBody(bytes, forceUtf8), table);

    int number = 0;
    for (const app::Hit& hit : result.hits) {
        const std::string line = std::to_string(++number) + "\t" + hit.title + "\t" + hit.size +
                                 "\t" + hit.date + "\t" + hit.link;
        std::printf("%s\n", rt::Cp936ToUtf8(line).c_str());
    }
    std::printf("%s\n", result.exhausted ? "site exhausted: yes" : "site exhausted: no");
    return 0;
}
