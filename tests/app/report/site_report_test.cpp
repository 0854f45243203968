// The words of a site's tooltip for each way its part of a search can end,
// and how the pages of a search make them.
#include <gtest/gtest.h>

#include "app/report/site_report.h"
#include "app/report/site_stats.h"

namespace {

using app::PageFailure;
using app::SiteEnd;

TEST(SiteReport, EveryEndingInPlainWords) {
    struct Case {
        app::SiteSearchStats stats;
        const char* text;
    };
    const Case cases[] = {
        {{SiteEnd::NotSearched}, "上次搜索：未勾选"},
        {{SiteEnd::NoMoreResults, 3, 87, 4}, "上次搜索：读了3页，找到87个资源；第4页没有结果"},
        {{SiteEnd::NoMoreResults, 0, 0, 1}, "上次搜索：第1页没有结果"},
        {{SiteEnd::SitesLastPage, 2, 45, 2}, "上次搜索：读了2页，找到45个资源；第2页已是最后一页"},
        {{SiteEnd::LastPageRead, 0, 0, 0}, "上次搜索：读了0页，找到0个资源"},
        {{SiteEnd::Stopped, 2, 40, 3}, "上次搜索：读了2页，找到40个资源；第3页时被用户停止"},
        {{SiteEnd::Unticked, 1, 30, 2}, "上次搜索：读了1页，找到30个资源；第2页起未勾选"},
        {{SiteEnd::Failed, 1, 30, 2, PageFailure::TimedOut, 0, 15},
         "上次搜索：读了1页，找到30个资源；第2页失败：连接超时（15秒）"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::TimedOut}, "上次搜索：第1页失败：连接超时"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::HttpStatus, 404},
         "上次搜索：第1页失败：HTTP状态码404"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::ConnectionRefused},
         "上次搜索：第1页失败：连接被拒绝"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::HostNotFound}, "上次搜索：第1页失败：找不到主机"},
        {{SiteEnd::Failed, 4, 80, 5, PageFailure::CutShort},
         "上次搜索：读了4页，找到80个资源；第5页失败：页面没有传完"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::TooLarge}, "上次搜索：第1页失败：页面太大"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::TooManyRedirects},
         "上次搜索：第1页失败：重定向太多"},
        {{SiteEnd::Failed, 0, 0, 1, PageFailure::Other}, "上次搜索：第1页失败：网络错误"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::SiteReportText(c.stats), c.text);
}

}  // namespace

namespace {

using app::PageOutcome;

PageOutcome Page(int hits, bool exhausted = false) {
    PageOutcome outcome;
    outcome.hits = hits;
    outcome.exhausted = exhausted;
    return outcome;
}

// Three pages; site 1 reads them all, site 2 runs out on page 2, site 3 is
// refused, site 4 is never ticked, site 5 is unticked after page 1, site 6
// gets a page cut short after some hits.
std::array<app::SiteSearchStats, app::kSiteCount> Search(bool stop) {
    app::SiteStatsCollector collector;
    collector.Start();
    PageOutcome refused = Page(0, true);
    refused.failure = PageFailure::ConnectionRefused;
    PageOutcome cut = Page(4, true);
    cut.failure = PageFailure::CutShort;
    for (int page = 1; page <= (stop ? 2 : 3); ++page) {
        collector.PageDone(1, page, Page(10));
        if (page <= 2) collector.PageDone(2, page, Page(page == 1 ? 7 : 0, page == 2));
        if (page == 1) collector.PageDone(3, page, refused);
        if (page == 1) collector.PageDone(5, page, Page(5));
        if (page == 1) collector.PageDone(6, page, Page(20));
        if (page == 2) collector.PageDone(6, page, cut);
    }
    collector.End(stop, 3, {true, true, true, false, false, true, true, true});
    std::array<app::SiteSearchStats, app::kSiteCount> stats;
    for (app::SiteId site = 1; site <= app::kLastSite; ++site)
        stats[site - 1] = collector.Stats(site);
    return stats;
}

TEST(SiteStats, EachSitesPartOfAFinishedAndAStoppedSearch) {
    const auto done = Search(false);
    EXPECT_EQ(app::SiteReportText(done[0]), "上次搜索：读了3页，找到30个资源");
    EXPECT_EQ(app::SiteReportText(done[1]), "上次搜索：读了1页，找到7个资源；第2页没有结果");
    EXPECT_EQ(app::SiteReportText(done[2]), "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(app::SiteReportText(done[3]), "上次搜索：未勾选");
    EXPECT_EQ(app::SiteReportText(done[4]), "上次搜索：读了1页，找到5个资源；第2页起未勾选");
    EXPECT_EQ(app::SiteReportText(done[5]),
              "上次搜索：读了2页，找到24个资源；第2页失败：页面没有传完");
    // Ticked only after the search had passed it.
    EXPECT_EQ(app::SiteReportText(done[6]), "上次搜索：第1页起未勾选");

    const auto stopped = Search(true);
    EXPECT_EQ(app::SiteReportText(stopped[0]),
              "上次搜索：读了2页，找到20个资源；第3页时被用户停止");
    EXPECT_EQ(app::SiteReportText(stopped[1]), "上次搜索：读了1页，找到7个资源；第2页没有结果");
    EXPECT_EQ(app::SiteReportText(stopped[6]), "上次搜索：第1页时被用户停止");
}

}  // namespace
