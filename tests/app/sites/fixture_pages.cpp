#include "fixture_pages.h"

#include "app/scraping/page_body.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace app::test {

std::string FixtureBytes(const std::string& name) {
    std::ifstream in(std::string(SEEKER_SITE_FIXTURES) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("missing fixture " + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

rt::Text FixturePage(const std::string& name) { return PageTextFromBody(FixtureBytes(name)); }

const SiteTable& FixtureSiteTable() {
    static const SiteTable kTable = DemoSiteTable(18080);
    return kTable;
}

std::string FixtureHash(int n) {
    // Same formula as make_fixtures.py: eight hex digits repeated five times.
    char eight[9];
    std::snprintf(eight, sizeof eight, "%08x",
                  static_cast<unsigned>(0x9e3779b9ull * static_cast<unsigned>(n + 1)));
    std::string hash;
    for (int i = 0; i < 5; ++i) hash += eight;
    return hash;
}

}  // namespace app::test
