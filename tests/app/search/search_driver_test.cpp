// The search driver against the demo sites: the requests it sends, in
// order, and what it reports through its sink.
#include "app/search/search_driver.h"
#include "app/scraping/url_text.h"
#include "app/search/search_texts.h"
#include "app/sites/site_rules.h"
#include "demo_pages.h"
#include "demo_server.h"
#include "runtime/thread.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace app {
namespace {

// Records everything the driver reports; the ticked sites can change while
// the search runs.
class RecordingSink : public SearchSink {
public:
    struct Event {
        enum Kind { kStatus, kClock, kHit, kProgress, kFinished } kind;
        SiteId site = 0;
        int value = 0;
        rt::Text text;
    };

    std::array<std::atomic<bool>, kSiteCount> ticked{};
    // Called with each hit before it is recorded.
    std::function<void(SiteId, const Hit&)> onHit;

    RecordingSink() {
        for (auto& t : ticked) t = true;
    }

    void TickOnly(std::initializer_list<SiteId> sites) {
        for (auto& t : ticked) t = false;
        for (const SiteId s : sites) ticked[s - 1] = true;
    }

    bool SiteSelected(SiteId site) override { return ticked[site - 1]; }
    void StatusChanged(const rt::Text& text) override { Add(Event::kStatus, 0, 0, text); }
    void ClockStarted(app::Tick) override { Add(Event::kClock); }
    void HitFound(SiteId site, const Hit& hit) override {
        if (onHit) onHit(site, hit);
        Add(Event::kHit, site, 0, hit.title);
    }
    void ProgressChanged(int position) override { Add(Event::kProgress, 0, position); }
    void SearchFinished(int seconds, int hits) override {
        Add(Event::kFinished, 0, hits, rt::ToText(seconds));
    }
    // The seconds the search reported at its end.
    int FinishedSeconds() const { return std::stoi(Of(Event::kFinished).back().text); }

    std::vector<Event> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    std::vector<Event> Of(Event::Kind kind) const {
        std::vector<Event> out;
        for (const Event& e : Events())
            if (e.kind == kind) out.push_back(e);
        return out;
    }

private:
    void Add(Event::Kind kind, SiteId site = 0, int value = 0, const rt::Text& text = {}) {
        std::lock_guard lock(mutex_);
        events_.push_back(Event{kind, site, value, text});
    }
    mutable std::mutex mutex_;
    std::vector<Event> events_;
};

class SearchDriverTest : public ::testing::Test {
protected:
    void Serve(const demo::ServeOptions& options = {}) {
        ASSERT_TRUE(sites_.StartOnFreePorts(options));
    }

    SearchParams Params(const rt::Text& keyword, int pages) const {
        return {DemoSiteTable(sites_.BasePort()), keyword, pages};
    }

    // Runs a search on a stoppable worker, as the window does, and waits.
    // The seconds a search reports are checked against the time Run took,
    // which a loaded machine may stretch past a second.
    bool Run(const SearchParams& params, RecordingSink& sink) {
        bool finished = false;
        rt::ThreadHandle worker;
        const Tick start = TickNow();
        EXPECT_TRUE(rt::StartThread([&] { finished = RunSearch(params, sink); }, &worker));
        worker.join();
        if (finished) {
            EXPECT_LE(sink.FinishedSeconds(), ElapsedSeconds(start));
        }
        return finished;
    }

    // The requests the driver must send, computed from the demo sites' plans.
    std::vector<std::string> ExpectedRequests(const rt::Text& keyword, int pages,
                                              std::initializer_list<SiteId> sites) const {
        std::vector<std::string> out{"0 /?a20150120"};
        std::array<bool, kSiteCount> active{};
        active.fill(true);
        for (int page = 1; page <= pages; ++page) {
            for (const SiteId s : sites) {
                if (!active[s - 1]) continue;
                out.push_back(std::to_string(s) + " " + SitePath(s, EncodeForUrl(keyword), page));
                if (demo::ExpectedExhausted(s, demo::PlanPage(s, keyword, page)))
                    active[s - 1] = false;
            }
        }
        return out;
    }

    demo::DemoSites sites_;
};

// A keyword for which `longSite` has at least `pages` pages and `shortSite` fewer.
rt::Text KeywordWhere(SiteId longSite, SiteId shortSite, int pages, SiteId alsoLong = 0) {
    for (int i = 0;; ++i) {
        const rt::Text keyword = "关键字" + std::to_string(i);
        if (demo::LastPage(longSite, keyword) >= pages &&
            demo::LastPage(shortSite, keyword) < pages &&
            (alsoLong == 0 || demo::LastPage(alsoLong, keyword) >= pages)) {
            return keyword;
        }
    }
}

TEST_F(SearchDriverTest, VisitsTickedSitesPageByPageUntilEachIsExhausted) {
    Serve();
    const rt::Text keyword = KeywordWhere(1, 4, 3);
    RecordingSink sink;
    sink.TickOnly({1, 4});
    ASSERT_TRUE(Run(Params(keyword, 3), sink));

    EXPECT_EQ(sites_.Requests(), ExpectedRequests(keyword, 3, {1, 4}));

    // Status, clock, then hits; the finished status and the end come last.
    const auto events = sink.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[0].kind, RecordingSink::Event::kStatus);
    EXPECT_EQ(events[0].text, kSearchingStatus);
    EXPECT_EQ(events[1].kind, RecordingSink::Event::kClock);
    const int hits = static_cast<int>(sink.Of(RecordingSink::Event::kHit).size());
    EXPECT_GT(hits, 0);
    EXPECT_EQ(events[events.size() - 2].text, FinishedStatus(sink.FinishedSeconds(), hits));
    EXPECT_EQ(events.back().kind, RecordingSink::Event::kFinished);
    EXPECT_EQ(events.back().value, hits);
}

TEST_F(SearchDriverTest, ProgressAdvancesAnEighthOfTheStepPerVisitAndEndsEachPassAtItsTarget) {
    EXPECT_EQ(ProgressStep(3), 3333);
    EXPECT_EQ(ProgressStep(7), 1428);
    EXPECT_EQ(ProgressStep(1000), 10);
    EXPECT_EQ(ProgressStep(0), 0);

    Serve();
    RecordingSink sink;
    ASSERT_TRUE(Run(Params("abc", 3), sink));

    // Rebuild each pass's visits from the request log.
    std::array<int, 4> visits{};
    for (const std::string& request : sites_.Requests()) {
        if (request[0] == '0') continue;
        const SiteId site = request[0] - '0';
        for (int p = 1; p <= 3; ++p)
            visits[p] += request.substr(2) == SitePath(site, "%61%62%63", p);
    }
    std::vector<int> expected;
    for (int p = 1; p <= 3; ++p) {
        for (int v = 1; v <= visits[p]; ++v) expected.push_back((p - 1) * 3333 + v * 416);
        if (expected.back() != p * 3333) expected.push_back(p * 3333);
    }
    std::vector<int> seen;
    for (const auto& e : sink.Of(RecordingSink::Event::kProgress)) seen.push_back(e.value);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(seen.back(), 9999);
}

TEST_F(SearchDriverTest, ReadsTheTickedSitesAtEveryVisit) {
    Serve();
    const rt::Text keyword = KeywordWhere(2, 4, 3, 1);
    RecordingSink sink;
    sink.TickOnly({1, 2});
    // Site 2 is unticked when site 1's second page brings hits.
    bool site2Seen = false;
    sink.onHit = [&](SiteId site, const Hit&) {
        if (site == 2) site2Seen = true;
        if (site == 1 && site2Seen) sink.ticked[1] = false;
    };
    ASSERT_TRUE(Run(Params(keyword, 3), sink));
    int site2Requests = 0;
    for (const std::string& r : sites_.Requests()) site2Requests += r[0] == '2';
    EXPECT_EQ(site2Requests, 1);
}

TEST_F(SearchDriverTest, ReadsAtMostAThousandPages) {
    demo::ServeOptions options;
    options.lastPage = 1200;
    Serve(options);
    RecordingSink sink;
    sink.TickOnly({8});
    ASSERT_TRUE(Run(Params("abc", 1500), sink));
    const auto requests = sites_.Requests();
    ASSERT_EQ(requests.size(), 1001u);
    EXPECT_EQ(requests.back(), "8 " + SitePath(8, EncodeForUrl("abc"), 1000));
    EXPECT_EQ(sink.Of(RecordingSink::Event::kProgress).back().value, 10000);

    EXPECT_EQ(ClampPageCountText("1500"), "1000");
    EXPECT_EQ(ClampPageCountText("1000"), "1000");
    EXPECT_EQ(ClampPageCountText("abc"), "abc");
    EXPECT_EQ(ClampPageCountText("-3"), "-3");
}

TEST_F(SearchDriverTest, NothingFoundOrNoPagesStillVisitsThePortalAndReportsZero) {
    demo::ServeOptions options;
    options.lastPage = 0;
    Serve(options);
    for (const int pages : {2, 0}) {
        RecordingSink sink;
        ASSERT_TRUE(Run(Params("abc", pages), sink));
        EXPECT_TRUE(sink.Of(RecordingSink::Event::kHit).empty());
        EXPECT_EQ(sink.Of(RecordingSink::Event::kStatus).back().text,
                  FinishedStatus(sink.FinishedSeconds(), 0));
        EXPECT_EQ(sink.Of(RecordingSink::Event::kFinished).size(), 1u);
    }
    // Page count 2: every site once, then each is exhausted.
    EXPECT_EQ(sites_.Requests().size(), 1u + 8u + 1u);
    EXPECT_EQ(sites_.Requests().back(), "0 /?a20150120");
}

TEST_F(SearchDriverTest, StopAbortsAStalledRequestAndReportsNothingAfterIt) {
    demo::ServeOptions options;
    options.stallSite = 3;
    options.stallPage = 2;
    Serve(options);
    RecordingSink sink;
    bool finished = true;
    rt::ThreadHandle worker;
    const SearchParams params = Params(KeywordWhere(3, 4, 3), 5);
    ASSERT_TRUE(rt::StartThread([&] { finished = RunSearch(params, sink); }, &worker));

    const std::string stalled = "3 " + SitePath(3, EncodeForUrl(params.keyword), 2);
    auto hasStalled = [&] {
        for (const std::string& r : sites_.Requests())
            if (r == stalled) return true;
        return false;
    };
    while (!hasStalled()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const size_t before = sink.Events().size();
    EXPECT_TRUE(rt::StopThread(worker));
    worker.join();

    EXPECT_FALSE(finished);
    EXPECT_EQ(sink.Events().size(), before);
    EXPECT_EQ(sites_.Requests().back(), stalled);
}

// Every ticked site read at once: the same rows, page counts and progress in
// the same order as one page at a time, whatever each site's answers take;
// never two requests to one site at a time.
TEST_F(SearchDriverTest, ParallelSearchGivesTheSameRowsInTheSameOrder) {
    demo::ServeOptions options;
    std::random_device seed;
    const unsigned seedValue = seed();
    std::minstd_rand random(seedValue);
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        options.extraDelayMs[static_cast<std::size_t>(site)] = static_cast<int>(random() % 25);
    Serve(options);
    const rt::Text keyword = KeywordWhere(2, 4, 4, 7);
    // Hits, progress and the end's count; status texts tell the way and the seconds.
    auto sequence = [](const RecordingSink& sink) {
        std::vector<std::string> out;
        for (const auto& e : sink.Events()) {
            if (e.kind == RecordingSink::Event::kStatus || e.kind == RecordingSink::Event::kClock)
                continue;
            out.push_back(std::to_string(e.kind) + " " + std::to_string(e.site) + " " +
                          std::to_string(e.value) +
                          (e.kind == RecordingSink::Event::kHit ? " " + e.text : ""));
        }
        return out;
    };
    RecordingSink oneAtATime;
    ASSERT_TRUE(Run(Params(keyword, 4), oneAtATime));
    SearchParams params = Params(keyword, 4);
    params.sites.parallel = true;
    RecordingSink atOnce;
    ASSERT_TRUE(Run(params, atOnce));

    EXPECT_EQ(sequence(atOnce), sequence(oneAtATime)) << "delays seeded with " << seedValue;
    EXPECT_GT(atOnce.Of(RecordingSink::Event::kHit).size(), 100u);
    EXPECT_EQ(oneAtATime.Events()[0].text, kSearchingStatus);
    EXPECT_EQ(atOnce.Events()[0].text, kParallelSearchingStatus);
    for (SiteId site = kFirstSite; site <= kLastSite; ++site)
        EXPECT_EQ(sites_.MostAtOnce(site), 1) << "site " << site;
}

// A stop while site 1's first page hangs, and the other sites' chains read
// ahead meanwhile, ends every chain: nothing is reported and nothing is
// requested after it.
TEST_F(SearchDriverTest, ParallelSearchStopEndsEveryChain) {
    demo::ServeOptions options;
    options.stallSite = 1;
    options.stallPage = 1;
    options.delayMs = 20;
    Serve(options);
    SearchParams params = Params("abc", 20);
    params.sites.parallel = true;
    RecordingSink sink;
    bool finished = true;
    rt::ThreadHandle worker;
    ASSERT_TRUE(rt::StartThread([&] { finished = RunSearch(params, sink); }, &worker));
    const std::string stalled = "1 " + SitePath(1, EncodeForUrl(params.keyword), 1);
    auto readAhead = [&] {
        const auto requests = sites_.Requests();
        return std::find(requests.begin(), requests.end(), stalled) != requests.end() &&
               requests.size() > 1 + 7 * 2;
    };
    while (!readAhead()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The visits wait for site 1's first page: only the searching status
    // and the clock are out.
    EXPECT_EQ(sink.Events().size(), 2u);
    const std::size_t atStop = sites_.Requests().size();
    EXPECT_TRUE(rt::StopThread(worker));
    worker.join();
    EXPECT_FALSE(finished);
    EXPECT_EQ(sink.Events().size(), 2u);
    // A request a chain sent just before the stop may reach the log late;
    // none is sent after it: at most one a chain, and then no more.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::size_t settled = sites_.Requests().size();
    EXPECT_LE(settled, atStop + 7);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(sites_.Requests().size(), settled) << "a chain still reads";
}

}  // namespace
}  // namespace app
