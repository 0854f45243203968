// The per-site report of a real search of the demo sites, where one site
// refuses connections, one answers 404 and one never answers until the user
// stops the search.
#include "app/report/page_report.h"
#include "app/report/site_report.h"
#include "app/search/search_driver.h"
#include "closed_port.h"
#include "demo_server.h"
#include "runtime/thread.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <mutex>

namespace {

class ReportingSink : public app::SearchSink {
public:
    explicit ReportingSink(app::SiteStatsCollector& stats) : stats_(stats) {}
    bool SiteSelected(app::SiteId site) override { return site <= 4; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(app::Tick) override {}
    void HitFound(app::SiteId, const app::Hit&) override {}
    void ProgressChanged(int) override {}
    void SearchFinished(int, int) override {}
    void PageDone(app::SiteId site, int page, int hits, bool exhausted,
                  const web::RequestOutcome& outcome) override {
        std::lock_guard lock(mutex_);
        stats_.PageDone(site, page, app::ReportedPage(hits, exhausted, outcome));
    }

    std::mutex mutex_;

private:
    app::SiteStatsCollector& stats_;
};

TEST(SiteReportOfASearch, RefusedNotFoundAndStoppedSites) {
    demo::DemoSites sites;
    demo::ServeOptions options;
    options.lastPage = 2;
    options.stallSite = 4;
    options.stallPage = 1;
    ASSERT_TRUE(sites.StartOnFreePorts(options));
    app::SiteTable table = app::DemoSiteTable(sites.basePort());
    table.baseUrls[1] = "http://127.0.0.1:" + std::to_string(ClosedPort());
    // The portal's server knows no result pages.
    table.baseUrls[2] = "http://127.0.0.1:" + std::to_string(sites.basePort());

    app::SiteStatsCollector stats;
    stats.Start();
    ReportingSink sink(stats);
    const app::SearchParams params{table, "abc", 3};
    rt::ThreadHandle worker;
    ASSERT_TRUE(rt::StartThread([&] { app::RunSearch(params, sink); }, &worker));
    bool stalled = false;
    for (int i = 0; i < 1000 && !stalled; ++i) {
        for (const std::string& r : sites.Requests()) stalled = stalled || r.starts_with("4 ");
        if (!stalled) usleep(10000);
    }
    ASSERT_TRUE(stalled);
    rt::StopThread(worker);
    worker.join();

    std::lock_guard lock(sink.mutex_);
    stats.End(true, 3, {true, true, true, true, false, false, false, false});
    const rt::Text first = app::SiteReportText(stats.Stats(1));
    EXPECT_EQ(first.rfind("上次搜索：读了1页，找到", 0), 0u) << first;
    EXPECT_TRUE(first.ends_with("个资源；第2页时被用户停止")) << first;
    EXPECT_EQ(app::SiteReportText(stats.Stats(2)), "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(app::SiteReportText(stats.Stats(3)), "上次搜索：第1页失败：HTTP状态码404");
    EXPECT_EQ(app::SiteReportText(stats.Stats(4)), "上次搜索：第1页时被用户停止");
    EXPECT_EQ(app::SiteReportText(stats.Stats(5)), "上次搜索：未勾选");
}

}  // namespace
