// The search driver against the demo sites, 8 sites x 10 full pages: what
// the driver itself adds to each request beyond fetching it, and the time
// from the last page's hits to the end of the search; and, with every answer
// 200 ms late as a real site's, the sites read at once against one page at a
// time and against the slowest site's chain of pages alone.
#include "app/search/search_driver.h"
#include "bench_sites.h"
#include "runtime/thread.h"
#include "web/request.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class TimingSink : public app::SearchSink {
public:
    bool SiteSelected(app::SiteId) override { return true; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(app::Tick) override {}
    void HitFound(app::SiteId, const app::Hit&) override {
        ++hits;
        lastHit = Clock::now();
    }
    void ProgressChanged(int) override {}
    void SearchFinished(int, int) override { finished = Clock::now(); }

    int hits = 0;
    Clock::time_point lastHit, finished;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_SearchEightSitesTenPages(benchmark::State& state) {
    demo::DemoSites sites;
    if (!ServeFullPages(sites, state, 11)) return;
    const app::SearchParams params{app::DemoSiteTable(sites.BasePort()), "abc", 10};

    double searchSeconds = 0, fetchSeconds = 0, finishSeconds = 0;
    std::size_t requests = 0;
    int hits = 0;
    for (auto _ : state) {
        // The same requests without the driver: the serving and transfer time.
        state.PauseTiming();
        const std::size_t logged = sites.Requests().size();
        state.ResumeTiming();

        TimingSink sink;
        const auto start = Clock::now();
        rt::ThreadHandle worker;
        rt::StartThread([&] { app::RunSearch(params, sink); }, &worker);
        worker.join();
        searchSeconds += Seconds(Clock::now() - start);
        finishSeconds += Seconds(sink.finished - sink.lastHit);
        hits = sink.hits;

        state.PauseTiming();
        const std::vector<std::string> log = sites.Requests();
        const auto fetchStart = Clock::now();
        for (std::size_t i = logged; i < log.size(); ++i) {
            const int server = std::stoi(log[i]);
            const std::string url =
                "http://127.0.0.1:" + std::to_string(sites.BasePort() + server) +
                log[i].substr(log[i].find(' ') + 1);
            benchmark::DoNotOptimize(web::WebRequestText(url));
        }
        fetchSeconds += Seconds(Clock::now() - fetchStart);
        requests += log.size() - logged;
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    const double perSearch = static_cast<double>(requests) / n;
    state.counters["requests"] = perSearch;
    state.counters["hits"] = hits;
    state.counters["fetch_ms_per_request"] = fetchSeconds / n / perSearch * 1e3;
    state.counters["driver_ms_per_request"] = (searchSeconds - fetchSeconds) / n / perSearch * 1e3;
    state.counters["last_hit_to_finish_us"] = finishSeconds / n * 1e6;
}
BENCHMARK(BM_SearchEightSitesTenPages)->Unit(benchmark::kMillisecond)->UseRealTime();

// Seconds of one search of `params` with only the sites in `ticked`.
double SearchSeconds(const app::SearchParams& params, std::initializer_list<app::SiteId> ticked,
                     int* hits = nullptr) {
    class Sink : public TimingSink {
    public:
        std::array<bool, app::kSiteCount> on{};
        bool SiteSelected(app::SiteId site) override { return on[site - 1]; }
    } sink;
    for (const app::SiteId site : ticked) sink.on[site - 1] = true;
    const auto start = Clock::now();
    rt::ThreadHandle worker;
    rt::StartThread([&] { app::RunSearch(params, sink); }, &worker);
    worker.join();
    if (hits != nullptr) *hits = sink.hits;
    return Seconds(Clock::now() - start);
}

void BM_SlowSitesReadAtOnce(benchmark::State& state) {
    demo::DemoSites sites;
    if (!ServeFullPages(sites, state, 11, 200)) return;
    app::SearchParams params{app::DemoSiteTable(sites.BasePort()), "abc", 10};
    const auto all = {1, 2, 3, 4, 5, 6, 7, 8};
    int hitsAtOnce = 0, hitsOneAtATime = 0;
    double atOnce = 0;
    for (auto _ : state) {
        params.sites.parallel = true;
        atOnce = SearchSeconds(params, all, &hitsAtOnce);
    }
    params.sites.parallel = false;
    double slowestAlone = 0;
    for (const app::SiteId site : all)
        slowestAlone = std::max(slowestAlone, SearchSeconds(params, {site}));
    state.counters["at_once_s"] = atOnce;
    state.counters["slowest_site_alone_s"] = slowestAlone;
    state.counters["at_once_over_slowest_alone"] = atOnce / slowestAlone;
    state.counters["one_at_a_time_s"] = SearchSeconds(params, all, &hitsOneAtATime);
    state.counters["hits_at_once"] = hitsAtOnce;
    state.counters["hits_one_at_a_time"] = hitsOneAtATime;
}
BENCHMARK(BM_SlowSitesReadAtOnce)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
