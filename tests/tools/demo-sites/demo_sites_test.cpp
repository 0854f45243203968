// The demo sites answer every site's result path with pages that the site's
// rule reads back into the planned hits, and each site runs out on its own page.
#include "app/scraping/page_body.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"
#include "demo_pages.h"
#include "demo_server.h"
#include "http_fetch.h"

#include <gtest/gtest.h>

#include <set>

namespace app {
namespace {

class DemoSitesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sites = new demo::DemoSites;
        ASSERT_TRUE(sites->StartOnFreePorts());
    }
    static void TearDownTestSuite() {
        delete sites;
        sites = nullptr;
    }

    struct Answer {
        test::Fetched fetched;
        PageHits hits;
    };

    static Answer Search(SiteId site, const rt::Text& keyword, int page) {
        const SiteTable table = DemoSiteTable(sites->BasePort());
        Answer answer;
        answer.fetched =
            test::FetchLocal(sites->BasePort() + site, SitePath(site, EncodeForUrl(keyword), page));
        answer.hits = ScrapePage(site, PageTextFromBody(answer.fetched.body), table);
        return answer;
    }

    static demo::DemoSites* sites;
};

demo::DemoSites* DemoSitesTest::sites = nullptr;

TEST_F(DemoSitesTest, EverySitePageScrapesIntoItsPlannedHits) {
    const rt::Text keywords[] = {"流浪地球", "abc", "a<b\"c&d", ""};
    for (const rt::Text& keyword : keywords) {
        for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
            const int last = demo::LastPage(site, keyword);
            for (int page = 1; page <= last + 1; ++page) {
                SCOPED_TRACE("site " + std::to_string(site) + " page " + std::to_string(page));
                const Answer answer = Search(site, keyword, page);
                ASSERT_EQ(answer.fetched.status, 200);
                const demo::PagePlan plan = demo::PlanPage(site, keyword, page);
                EXPECT_EQ(static_cast<int>(answer.hits.hits.size()), demo::ExpectedHits(plan));
                EXPECT_EQ(answer.hits.exhausted, demo::ExpectedExhausted(site, plan));
                EXPECT_EQ(answer.hits.exhausted, page >= last);
            }
        }
    }
}

TEST_F(DemoSitesTest, TitlesCarryTheKeywordAndFieldsAreFilled) {
    const rt::Text keyword = "流浪地球";
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        const Answer answer = Search(site, keyword, 1);
        ASSERT_FALSE(answer.hits.hits.empty()) << "site " << site;
        std::set<rt::Text> links;
        for (const Hit& hit : answer.hits.hits) {
            EXPECT_NE(hit.title.find(keyword), rt::Text::npos) << "site " << site;
            EXPECT_FALSE(hit.size.empty()) << "site " << site;
            EXPECT_FALSE(hit.date.empty()) << "site " << site;
            const bool ed2k = hit.link.rfind("ed2k://|file|", 0) == 0;
            EXPECT_TRUE(hit.link.rfind("magnet:?xt=urn:btih:", 0) == 0 || (site == 5 && ed2k))
                << hit.link;
            links.insert(hit.link);
        }
        EXPECT_EQ(links.size(), answer.hits.hits.size()) << "site " << site;
    }
}

TEST_F(DemoSitesTest, CharsetFollowsTheSite) {
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        const Answer answer = Search(site, "abc", 1);
        const bool utf8 = demo::AnswersInUtf8(site);
        EXPECT_EQ(BodyDeclaresUtf8(answer.fetched.body), utf8) << "site " << site;
        EXPECT_EQ(answer.fetched.contentType.find("utf-8") != std::string::npos, utf8);
    }
}

TEST_F(DemoSitesTest, SitesRunOutOnDifferentPages) {
    std::set<int> lastPages;
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        lastPages.insert(demo::LastPage(site, "abc"));
    }
    EXPECT_EQ(lastPages.size(), static_cast<size_t>(kSiteCount));
    EXPECT_NE(demo::LastPage(1, "abc"), demo::LastPage(1, "abd"));
}

TEST_F(DemoSitesTest, Site5AlternatesLayoutsAndSite7HasEd2kItems) {
    EXPECT_NE(demo::PlanPage(5, "abc", 1).tableLayout, demo::PlanPage(5, "abc", 2).tableLayout);
    bool sawEd2k = false;
    for (int k = 0; k < 20 && !sawEd2k; ++k) {
        const rt::Text keyword = "k" + std::to_string(k);
        for (int page = 1; page < demo::LastPage(7, keyword); ++page) {
            if (demo::PlanPage(7, keyword, page).ed2kAt < 0) continue;
            sawEd2k = true;
            const Answer answer = Search(7, keyword, page);
            EXPECT_FALSE(answer.hits.exhausted);
            EXPECT_LT(answer.hits.hits.size(), 30u);
        }
    }
    EXPECT_TRUE(sawEd2k);
}

TEST_F(DemoSitesTest, PortalAndUnknownPaths) {
    EXPECT_EQ(test::FetchLocal(sites->BasePort(), "/?a20150120").status, 200);
    EXPECT_EQ(test::FetchLocal(sites->BasePort() + 3, "/nothing/here").status, 404);
}

TEST(DemoSitesStart, TakenPortsAreRefusedAndReleased) {
    demo::DemoSites first;
    ASSERT_TRUE(first.StartOnFreePorts());
    demo::DemoSites second;
    EXPECT_FALSE(second.Start(first.BasePort() + 4));
    const int port = first.BasePort();
    first.Stop();
    EXPECT_TRUE(second.Start(port));
}

}  // namespace
}  // namespace app
