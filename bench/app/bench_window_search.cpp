// The real window under an X display searching 8 sites x 1000 full pages of
// the demo sites: the total time, how long the user-interface thread was
// busy with one message at most while the rows streamed in, and the same
// search without a window for comparison. Run it through
// window_search_xvfb.sh, which gives it an Xvfb of its own.
#include "app/search/search_driver.h"
#include "app/window/main_window.h"
#include "demo_server.h"
#include "runtime/thread.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

class CountingSink : public app::SearchSink {
public:
    bool SiteSelected(app::SiteId) override { return true; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(app::Tick) override {}
    void HitFound(app::SiteId, const app::Hit&) override { ++hits; }
    void ProgressChanged(int) override {}
    void SearchFinished(int, int) override {}
    int hits = 0;
};

// Handles messages for `ms` milliseconds.
void Pump(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    plat::MSG msg;
    while (Clock::now() < end) {
        while (plat::PeekMessage(&msg)) {
            plat::TranslateMessage(&msg);
            plat::DispatchMessage(&msg);
        }
        plat::Sleep(1);
    }
}

void BM_WindowSearchThousandPages(benchmark::State& state) {
    demo::DemoSites sites;
    demo::ServeOptions options;
    options.lastPage = 1001;
    if (!sites.StartOnFreePorts(options)) {
        state.SkipWithError("demo sites did not start");
        return;
    }
    const app::SiteTable table = app::DemoSiteTable(sites.basePort());
    app::MainWindow window(table);
    if (!window.Build()) {
        state.SkipWithError("no window (is DISPLAY set?)");
        return;
    }
    window.KeywordEdit().Text("abc");
    window.PageCountEdit().Text("1000");
    Pump(800);  // the entry animation

    double longestMs = 0, totalMs = 0;
    unsigned longestMessage = 0;
    long messages = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        window.StartSearch();
        plat::MSG msg;
        while (window.Searching() && plat::GetMessage(&msg) > 0) {
            const auto handled = Clock::now();
            plat::TranslateMessage(&msg);
            plat::DispatchMessage(&msg);
            const double took = Ms(Clock::now() - handled);
            if (took > longestMs) {
                longestMs = took;
                longestMessage = msg.message;
            }
            ++messages;
        }
        totalMs = Ms(Clock::now() - start);
    }
    state.counters["rows"] = window.Store().Count();
    state.counters["window_total_s"] = totalMs / 1e3;
    state.counters["longest_message_ms"] = longestMs;
    state.counters["messages"] = static_cast<double>(messages);
    state.counters["longest_message_id"] = longestMessage;

    // The same search without a window.
    CountingSink sink;
    const auto start = Clock::now();
    rt::ThreadHandle worker;
    rt::StartThread([&] { app::RunSearch({table, "abc", 1000}, sink); }, &worker);
    worker.join();
    state.counters["driver_only_total_s"] = Ms(Clock::now() - start) / 1e3;
    state.counters["driver_only_hits"] = sink.hits;
}
BENCHMARK(BM_WindowSearchThousandPages)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
