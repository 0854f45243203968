// Every rule on damaged and arbitrary pages: no crash, no read outside the
// page (checked by the sanitizer builds), and a consistent verdict.
#include "app/sites/site_rules.h"
#include "fixture_pages.h"
#include "rule_oracle.h"

#include <gtest/gtest.h>

#include <random>

namespace app {
namespace {

// A page with fewer hits than the limit ends the site, a page with the limit
// does not; only site 7's eD2k item stops a page early without ending it.
// The rows obey the rule oracle.
void ExpectConsistent(SiteId site, const rt::Text& page) {
    const PageHits result = ScrapePage(site, page, test::FixtureSiteTable());
    const int limit = SiteRecordLimit(site);
    const int count = static_cast<int>(result.hits.size());
    ASSERT_LE(count, limit) << "site " << site;
    EXPECT_TRUE(test::RowsAreSound(site, page, result)) << "site " << site << " page " << page;
    if (count == limit) {
        EXPECT_FALSE(result.exhausted) << "site " << site;
    } else if (site != 7) {
        EXPECT_TRUE(result.exhausted) << "site " << site;
    }
}

const char* const kFixtures[] = {"site1_short.html",       "site2_full.html",
                                 "site2_misaligned.html",  "site3_dates.html",
                                 "site4_short.html",       "site5_list_full.html",
                                 "site5_table_short.html", "site6_yesterday.html",
                                 "site7_ed2k_third.html",  "site8_short.html"};

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

// Each site's full page cut at every byte inside its second and third
// records: only the complete records before the cut give rows.
TEST(SiteRulesRobustness, PageCutInsideARecord) {
    struct Case {
        SiteId site;
        const char* fixture;
        struct {
            rt::Text start, end;  // where a record begins and where it is whole
        } record;
    };
    const Case cases[] = {
        {1, "site1_full.html", {"<tr> <td class=\"name\">", "Detail</a></td> </tr>"}},
        {2, "site2_full.html", {"<table><tr><td height=\"18\">", "磁力下载"}},
        {3, "site3_full.html", {"<tr><td class=\"name\">", "\" title=\""}},
        {4, "site4_full.html", {"<div class=\"x-item\">", " Magnet</a>"}},
        {5, "site5_list_full.html", {"<li hash=", "</span>"}},
        {5, "site5_table_short.html", {"<tr class=\"row", ">ED2K"}},
        {6, "site6_full.html", {"<div class=\"r\">", "磁力链接"}},
        {7, "site7_full.html", {"<li class=\"tableli\">", "</li>"}},
        {8, "site8_full.html", {"<div class=\"search-item\">", "迅雷链接</a>"}},
    };
    for (const Case& c : cases) {
        const rt::Text page = test::FixturePage(c.fixture);
        std::size_t begin = 0;
        for (int record = 1; record <= 3; ++record) {
            begin = page.find(c.record.start, record == 1 ? 0 : begin + 1);
            ASSERT_NE(begin, rt::Text::npos) << c.fixture;
            const std::size_t whole = page.find(c.record.end, begin) + c.record.end.size();
            for (std::size_t cut = begin; record >= 2 && cut < whole; ++cut) {
                const rt::Text part = page.substr(0, cut);
                const PageHits result = ScrapePage(c.site, part, test::FixtureSiteTable());
                EXPECT_LE(static_cast<int>(result.hits.size()), record - 1)
                    << c.fixture << " cut at " << cut;
                EXPECT_TRUE(result.exhausted) << c.fixture << " cut at " << cut;
                for (const Hit& hit : result.hits)
                    EXPECT_FALSE(test::LinkIsEmpty(c.site, hit.link));
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
    const std::vector<rt::Text> pieces = {"\" class=\"btn\" title=\"",
                                          "\" target=\"_blank\">Detail</a></td> </tr>",
                                          " <td class=\"files-size\">",
                                          "height=\"18\"",
                                          "磁力下载",
                                          "<B>",
                                          "</B>",
                                          "|文件数:",
                                          " | ",
                                          ">Detail</a><a href=\"",
                                          "</td><td class=\"date\">",
                                          "</td><td class=\"action\"",
                                          " </ul>",
                                          " Magnet</a>",
                                          "&amp;dn=",
                                          "%E4%",
                                          "<li hash=",
                                          "</span>",
                                          "<br/>",
                                          "<small>",
                                          "<tr class=\"row",
                                          ">ED2K",
                                          "|/\"",
                                          "<div class=\"r\">",
                                          "磁力链接",
                                          "<a href=\"/hash/",
                                          "\" target=\"",
                                          "class=\"prop_val\">",
                                          "<li class=\"tableli\">",
                                          "</li>",
                                          "html\" class=\"",
                                          "ED2K",
                                          "\"></a>",
                                          "<div class=\"search-item\">",
                                          "迅雷链接</a>",
                                          "<span>文件大小：",
                                          "</b>",
                                          "magnet:?",
                                          "\" class=",
                                          "\x81",
                                          "x"};
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
