// Every rule on damaged and arbitrary pages: no crash, no read outside the
// page (checked by the sanitizer builds), and a consistent verdict.
#include "app/sites/site_rules.h"
#include "fixture_pages.h"

#include <gtest/gtest.h>

#include <random>

namespace app {
namespace {

// A page with fewer hits than the limit ends the site, a page with the limit
// does not; only site 7's eD2k item stops a page early without ending it.
void ExpectConsistent(SiteId site, const rt::Text& page) {
    const PageHits result = ScrapePage(site, page, test::FixtureSiteTable());
    const int limit = SiteRecordLimit(site);
    const int count = static_cast<int>(result.hits.size());
    ASSERT_LE(count, limit) << "site " << site;
    if (count == limit) {
        EXPECT_FALSE(result.exhausted) << "site " << site;
    } else if (site != 7) {
        EXPECT_TRUE(result.exhausted) << "site " << site;
    }
}

const char* const kFixtures[] = {
    "site1_short.html",    "site2_full.html",   "site2_misaligned.html", "site3_dates.html",
    "site4_short.html",    "site5_list_full.html", "site5_table_short.html",
    "site6_yesterday.html", "site7_ed2k_third.html", "site8_short.html"};

TEST(SiteRulesRobustness, EveryPrefixOfEveryPage) {
    for (const char* name : kFixtures) {
        const rt::Text page = test::FixturePage(name);
        const size_t stride = page.size() > 3000 ? 13 : 1;
        for (size_t n = 0; n <= page.size(); n += stride) {
            for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
                ExpectConsistent(site, page.substr(0, n));
            }
        }
    }
}

TEST(SiteRulesRobustness, LeadByteAtTheEnd) {
    for (const char* name : kFixtures) {
        const rt::Text page = test::FixturePage(name);
        for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
            ExpectConsistent(site, page + "\x81");
            ExpectConsistent(site, "\x81");
            ExpectConsistent(site, page.substr(0, page.size() / 2) + "\xB4");
        }
    }
}

TEST(SiteRulesRobustness, MarkersInOddOrders) {
    // Each site's markers, shuffled and glued: end markers before start
    // markers, starts without ends, fields of one record split over two.
    const std::vector<rt::Text> pieces = {
        "\" class=\"btn\" title=\"", "\" target=\"_blank\">Detail</a></td> </tr>",
        " <td class=\"files-size\">", "height=\"18\"", "磁力下载", "<B>", "</B>", "|文件数:",
        " | ", ">Detail</a><a href=\"", "</td><td class=\"date\">", "</td><td class=\"action\"",
        " </ul>", " Magnet</a>", "&amp;dn=", "%E4%", "<li hash=", "</span>", "<br/>",
        "<small>", "<tr class=\"row", ">ED2K", "|/\"", "<div class=\"r\">", "磁力链接",
        "<a href=\"/hash/", "\" target=\"", "class=\"prop_val\">", "<li class=\"tableli\">",
        "</li>", "html\" class=\"", "ED2K", "\"></a>", "<div class=\"search-item\">",
        "迅雷链接</a>", "<span>文件大小：", "</b>", "magnet:?", "\" class=", "\x81", "x"};
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        rt::Text page;
        const int parts = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < parts; ++i) page += pieces[random() % pieces.size()];
        for (SiteId site = kFirstSite; site <= kLastSite; ++site) ExpectConsistent(site, page);
    }
}

TEST(SiteRulesRobustness, BinaryGarbage) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        rt::Text page(random() % 4096, '\0');
        for (char& c : page) c = static_cast<char>(random() % 255 + 1);  // a Text has no zero byte
        for (SiteId site = kFirstSite; site <= kLastSite; ++site) ExpectConsistent(site, page);
    }
}

}  // namespace
}  // namespace app
