// The eight rules on hand-made pages of each site's layout.
#include "app/sites/site_rules.h"
#include "app/scraping/url_text.h"
#include "fixture_pages.h"

#include <gtest/gtest.h>

#include <cctype>

namespace app {
namespace {

using test::FixtureHash;
using test::FixturePage;
using test::FixtureSiteTable;

PageHits ScrapeFixture(SiteId site, const std::string& fixture) {
    return ScrapePage(site, FixturePage(fixture), FixtureSiteTable());
}

std::string Magnet(int n) { return "magnet:?xt=urn:btih:" + FixtureHash(n); }

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(SiteRules, EmptyPageExhaustsEverySite) {
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        const PageHits result = ScrapePage(site, "", FixtureSiteTable());
        EXPECT_TRUE(result.hits.empty()) << "site " << site;
        EXPECT_TRUE(result.exhausted) << "site " << site;
    }
}

// A full page gives as many records as its site's limit and keeps the site
// active; its first record is read field by field.
TEST(SiteRules, FullPagesKeepSitesActiveAndGiveTheirFirstRecord) {
    const rt::Text title1 = "流浪地球 第1部 1080p", title2 = "第1集 西游记 高清",
                   title7 = "Linux 教程 1";
    const struct {
        const char* fixture;
        Hit first;
    } cases[] = {
        {"site1_full.html",
         {title1, Magnet(1) + "&dn=" + EncodeForUrl(title1), "2.1 GB", "2015-01-02"}},
        {"site2_full.html",
         {title2, Magnet(1) + "&dn=" + EncodeForUrl(title2), "未知", "2014-06-01"}},
        {"site3_full.html", {"Ubuntu 1.04 desktop iso", Magnet(1), "未知", "2001-2-1"}},
        {"site4_full.html",
         {"黑客帝国 1", Magnet(1) + "&amp;dn=%E9%BB%91%E5%AE%A2%E5%B8%9D%E5%9B%BD%20%31", "1.1 GB",
          "未知"}},
        {"site5_list_full.html",
         {"倚天屠龙记 第01集",
          "ed2k://|file|1.mkv|1234|" + Upper(FixtureHash(1).substr(0, 32)) + "|/", "10.5 MB",
          "未知"}},
        {"site6_full.html", {"三体 广播剧 1", Magnet(1), "1 MB", "2018-01-01"}},
        {"site7_full.html",
         {title7,
          "magnet:?xt=urn:btih:" + Upper(FixtureHash(1)) + "&dn=[" + FixtureSiteTable().site7Tag +
              "]" + EncodeForUrl(title7),
          "大小：1.0 GB", "2016-02-02"}},
        {"site8_full.html", {"Python 编程 第1版", Magnet(1), "1.2GB", "2017-03-04"}},
    };
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        const auto& c = cases[site - 1];
        const PageHits result = ScrapeFixture(site, c.fixture);
        ASSERT_EQ(static_cast<int>(result.hits.size()), SiteRecordLimit(site)) << c.fixture;
        EXPECT_FALSE(result.exhausted) << c.fixture;
        EXPECT_EQ(result.hits[0], c.first) << c.fixture;
    }
}

// A page with fewer records than its site's limit, or whose last item is cut
// off, ends the site.
TEST(SiteRules, ShortPagesEndTheSite) {
    const struct {
        SiteId site;
        const char* fixture;
        std::size_t count;
    } cases[] = {
        {1, "site1_short.html", 29},      {2, "site2_short.html", 3},
        {3, "site3_dates.html", 3},       {4, "site4_short.html", 3},
        {5, "site5_table_short.html", 4}, {6, "site6_nohash.html", 1},
        {7, "site7_truncated.html", 1},   {8, "site8_short.html", 2},
        {8, "site8_truncated.html", 1},
    };
    for (const auto& c : cases) {
        const PageHits result = ScrapeFixture(c.site, c.fixture);
        EXPECT_EQ(result.hits.size(), c.count) << c.fixture;
        EXPECT_TRUE(result.exhausted) << c.fixture;
    }
}

TEST(Site1, HashMarkerFollowsTheSiteTable) {
    SiteTable other = FixtureSiteTable();
    other.site1HashUrl = "http://elsewhere.invalid";
    // Without its hash marker every record still gives a row, with an empty hash.
    const PageHits result = ScrapePage(1, FixturePage("site1_full.html"), other);
    ASSERT_EQ(result.hits.size(), 30u);
    EXPECT_FALSE(result.exhausted);
    EXPECT_EQ(result.hits[0].link, "magnet:?xt=urn:btih:&dn=" + EncodeForUrl(result.hits[0].title));
    const PageHits own = ScrapePage(1, FixturePage("site1_full.html"), FixtureSiteTable());
    EXPECT_EQ(own.hits[0].link, Magnet(1) + "&dn=" + EncodeForUrl(own.hits[0].title));
}

TEST(Site1, RecordsInPageOrder) {
    const PageHits full = ScrapeFixture(1, "site1_full.html");
    ASSERT_EQ(full.hits.size(), 30u);
    EXPECT_EQ(full.hits[29].title, "流浪地球 第30部 1080p");
}

TEST(Site2, DatesFromThePage) {
    const PageHits full = ScrapeFixture(2, "site2_full.html");
    ASSERT_EQ(full.hits.size(), 10u);
    EXPECT_EQ(full.hits[9].date, "2014-06-10");  // a two-digit file count
}

TEST(Site2, MarkerOnSecondByteOfCharacterIsNotFound) {
    const PageHits result = ScrapeFixture(2, "site2_misaligned.html");
    ASSERT_EQ(result.hits.size(), 2u);
    EXPECT_EQ(result.hits[0].title, "真 一");
    EXPECT_EQ(result.hits[1].title, "真 二");
    EXPECT_TRUE(result.exhausted);
}

TEST(Site3, DatesAndMonths) {
    const PageHits full = ScrapeFixture(3, "site3_full.html");
    ASSERT_EQ(full.hits.size(), 20u);
    EXPECT_EQ(full.hits[10].date, "2011-12-11");

    const PageHits dates = ScrapeFixture(3, "site3_dates.html");
    ASSERT_EQ(dates.hits.size(), 3u);
    EXPECT_EQ(dates.hits[0].date, "2015-1-20");
    EXPECT_EQ(dates.hits[1].date, "2014-3-5");
    EXPECT_EQ(dates.hits[2].date, "2013-3-19");  // no month name: the previous one stays
}

TEST(Site4, TitleFromPercentEncodedName) {
    const PageHits shortPage = ScrapeFixture(4, "site4_short.html");
    ASSERT_EQ(shortPage.hits.size(), 3u);
    EXPECT_EQ(shortPage.hits[0].title, "中");
    EXPECT_EQ(shortPage.hits[0].link, Magnet(1) + "&amp;dn=%E4%B8%AD");  // &amp; unchanged
    EXPECT_EQ(shortPage.hits[1].title, "?+1+2");  // no code-page-936 form; "+" stays
    EXPECT_EQ(shortPage.hits[2].title, "plain");
}

TEST(Site5, TableLayout) {
    const PageHits table = ScrapeFixture(5, "site5_table_short.html");
    ASSERT_EQ(table.hits.size(), 4u);
    EXPECT_EQ(table.hits[0].title, "天龙八部 01");
    EXPECT_EQ(table.hits[0].size, "10.5MB");
    EXPECT_EQ(table.hits[3].link,
              "ed2k://|file|4.avi|5678|" + Upper(FixtureHash(4).substr(0, 32)) + "|/");
}

TEST(Site5, LayoutIsChosenPerRecord) {
    const rt::Text list =
        "<li hash=\"a\"><a href=\"ed2k://|file|L|/\">ED2K</a><br/>\r\nL<small>大小:1&nbsp;</small>"
        "<span>x</span></li>";
    const rt::Text table =
        "<tr class=\"row0\"><td>T    </td><td width='70' align='right'>2 B</td>"
        "<td><a href=\"ed2k://|file|T|/\">ED2K</a></td></tr>";
    const PageHits result = ScrapePage(5, list + table, FixtureSiteTable());
    ASSERT_EQ(result.hits.size(), 2u);
    EXPECT_EQ(result.hits[0], (Hit{"L", "ed2k://|file|L|/", "1", "未知"}));
    EXPECT_EQ(result.hits[1], (Hit{"T", "ed2k://|file|T|/", "2B", "未知"}));
}

TEST(Site6, DoubleByteDateDoesNotRepeatTheRecord) {
    const PageHits result = ScrapeFixture(6, "site6_yesterday.html");
    ASSERT_EQ(result.hits.size(), 3u);
    EXPECT_EQ(result.hits[0], (Hit{"三体 广播剧 1", Magnet(1), "1 MB", "昨天"}));
    EXPECT_EQ(result.hits[1], (Hit{"三体 广播剧 2", Magnet(2), "2 MB", "前天"}));
    EXPECT_EQ(result.hits[2].date, "2018-01-03");
    EXPECT_TRUE(result.exhausted);
}

TEST(Site7, MagnetLinksCarryTheTag) {
    SiteTable table = FixtureSiteTable();
    table.site7Tag = "tag.test";
    const PageHits full = ScrapePage(7, FixturePage("site7_full.html"), table);
    ASSERT_EQ(full.hits.size(), 30u);
    const std::string hash = Upper(FixtureHash(1));
    const rt::Text title = "Linux 教程 1";
    EXPECT_EQ(full.hits[0].link,
              "magnet:?xt=urn:btih:" + hash + "&dn=[tag.test]" + EncodeForUrl(title));
}

TEST(Site7, Ed2kRecordEndsThePageButNotTheSite) {
    const PageHits result = ScrapeFixture(7, "site7_ed2k_third.html");
    ASSERT_EQ(result.hits.size(), 2u);
    EXPECT_EQ(result.hits[1].title, "二");
    EXPECT_FALSE(result.exhausted);
}

TEST(Site7, TitleWithoutCodePage936FormBecomesQuestionMarks) {
    const PageHits result = ScrapeFixture(7, "site7_no_cp936.html");
    ASSERT_EQ(result.hits.size(), 1u);
    EXPECT_EQ(result.hits[0].title, "??? 泰语 ?");
}

TEST(Site8, PillsLoseTwoBytes) {
    const PageHits shortPage = ScrapeFixture(8, "site8_short.html");
    ASSERT_EQ(shortPage.hits.size(), 2u);
    EXPECT_EQ(shortPage.hits[1].size, "1.2GB");
    EXPECT_EQ(shortPage.hits[1].date, "2017-03-05");
}

// Hand-made pages of one record each.
TEST(SiteRules, OneRecordPages) {
    const struct {
        SiteId site;
        const char* what;
        rt::Text page;
        Hit hit;
        bool exhausted;
    } cases[] = {
        {2,
         "no file count means no date",
         "0123456789abc<td height=\"18\"><B>t</B><a href=\"/torrent/H.html\">磁力下载</a>",
         {"t", "magnet:?xt=urn:btih:H&dn=%74", "未知", ""},
         true},
        {3,
         "the month does not carry over to the next page",
         "<tr><td class=\"name\">n</td><td class=\"size\">1</td><td class=\"date\">xyz 19, 2013"
         "</td><td class=\"action\"><a>Detail</a><a href=\"m\" title=\"\"></tr>",
         {"n", "m", "未知", "2013--19"},
         true},
        {7,
         "another kind is the link",
         "<li class=\"tableli\"><a href=\"x.html\">t</a><a href=\"x.html\" class=\"BT\"></a></li>",
         {"t", "BT", "", ""},
         true},
    };
    for (const auto& c : cases) {
        const PageHits result = ScrapePage(c.site, c.page, FixtureSiteTable());
        ASSERT_EQ(result.hits.size(), 1u) << c.what;
        EXPECT_EQ(result.hits[0], c.hit) << c.what;
        EXPECT_EQ(result.exhausted, c.exhausted) << c.what;
    }
}

// `page` without the `n`-th occurrence of `marker`.
rt::Text Without(rt::Text page, const rt::Text& marker, int n) {
    std::size_t at = rt::Text::npos;
    for (int i = 0; i < n; ++i) at = page.find(marker, at + 1);
    EXPECT_NE(at, rt::Text::npos) << marker;
    return at == rt::Text::npos ? page : page.erase(at, marker.size());
}

// A full page whose first record lacks the markers of one field: that row
// has the field empty (the link keeps the parts the rule adds), and every
// record after it is read as on the whole page.
TEST(SiteRules, AFieldWithoutItsMarkersComesOutEmpty) {
    struct Case {
        SiteId site;
        const char* fixture;
        rt::Text marker;
        Hit (*expected)(Hit whole);
    };
    const Case cases[] = {
        {1, "site1_full.html", " <td class=\"files-size\">", [](Hit h) { return h.size = "", h; }},
        {1, "site1_full.html", "/magnet/detail/hash/",
         [](Hit h) { return h.link = "magnet:?xt=urn:btih:&dn=" + EncodeForUrl(h.title), h; }},
        {2, "site2_full.html", ".html",
         [](Hit h) { return h.link = "magnet:?xt=urn:btih:&dn=" + EncodeForUrl(h.title), h; }},
        {2, "site2_full.html", "|文件数:", [](Hit h) { return h.date = "", h; }},
        {3, "site3_full.html", "<tr><td class=\"name\">", [](Hit h) { return h.title = "", h; }},
        {4, "site4_full.html", "Size:", [](Hit h) { return h.size = "", h; }},
        {4, "site4_full.html", "&amp;dn=",
         [](Hit h) { return h.link.erase(h.link.find("&amp;dn="), 8), h.title = "", h; }},
        {5, "site5_list_full.html", "href=\"ed2k", [](Hit h) { return h.link = "ed2k", h; }},
        {5, "site5_list_full.html", "<br/>", [](Hit h) { return h.title = "", h; }},
        {6, "site6_full.html", "</h5>", [](Hit h) { return h.title = "", h; }},
        {7, "site7_full.html", ">HASH值：",
         [](Hit h) {
             return h.link = "magnet:?xt=urn:btih:&dn=[" + FixtureSiteTable().site7Tag + "]" +
                             EncodeForUrl(h.title),
                    h;
         }},
        {7, "site7_full.html", "\"tsize\">", [](Hit h) { return h.size = "", h; }},
        {8, "site8_full.html", "<span>文件大小：", [](Hit h) { return h.size = "", h; }},
        {8, "site8_full.html", "magnet:?", [](Hit h) { return h.link = "magnet:?", h; }},
    };
    for (const Case& c : cases) {
        const PageHits whole = ScrapeFixture(c.site, c.fixture);
        const rt::Text page = Without(FixturePage(c.fixture), c.marker, 1);
        const PageHits result = ScrapePage(c.site, page, FixtureSiteTable());
        ASSERT_EQ(result.hits.size(), whole.hits.size()) << c.fixture << " without " << c.marker;
        EXPECT_FALSE(result.exhausted) << c.fixture << " without " << c.marker;
        EXPECT_EQ(result.hits[0], c.expected(whole.hits[0]))
            << c.fixture << " without " << c.marker;
        for (std::size_t i = 1; i < whole.hits.size(); ++i)
            EXPECT_EQ(result.hits[i], whole.hits[i]) << c.fixture << " without " << c.marker;
    }
}

// The second record lacks what its site's end condition needs: one row,
// and the site ends.
TEST(SiteRules, EndConditionInTheSecondRecordEndsTheSite) {
    const struct {
        SiteId site;
        const char* fixture;
        rt::Text marker;
    } cases[] = {
        {1, "site1_full.html", "\" class=\"btn\" title=\""},
        {2, "site2_full.html", "<B>"},
        {3, "site3_full.html", "</td><td class=\"date\">"},
        {6, "site6_full.html", "<a href=\"/hash/"},
    };
    for (const auto& c : cases) {
        const rt::Text page = Without(FixturePage(c.fixture), c.marker, 2);
        const PageHits result = ScrapePage(c.site, page, FixtureSiteTable());
        EXPECT_EQ(result.hits.size(), 1u) << c.fixture;
        EXPECT_TRUE(result.exhausted) << c.fixture;
    }
}

}  // namespace
}  // namespace app
