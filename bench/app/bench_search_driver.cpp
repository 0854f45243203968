// The search driver against the demo sites, 8 sites x 10 full pages: what
// the driver itself adds to each request beyond fetching it, and the time
// from the last page's hits to the end of the search.
#include "app/search/search_driver.h"
#include "demo_server.h"
#include "runtime/thread.h"
#include "web/request.h"

#include <benchmark/benchmark.h>

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
    demo::ServeOptions options;
    options.lastPage = 11;  // every page read is a full one
    if (!sites.StartOnFreePorts(options)) {
        state.SkipWithError("demo sites did not start");
        return;
    }
    const app::SearchParams params{app::DemoSiteTable(sites.basePort()), "abc", 10};

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
                "http://127.0.0.1:" + std::to_string(sites.basePort() + server) +
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

}  // namespace

BENCHMARK_MAIN();
