// The real window under an X display searching 8 sites x 1000 full pages of
// the demo sites, against the same search without a window:
// - wall and CPU time of both (the demo sites serve from this process in
//   both runs, so their share cancels out);
// - how long the user-interface thread spent on one message, on its own CPU
//   clock (a loaded machine does not lengthen it): the longest, the 99th
//   percentile and the median;
// - the X server's CPU time for the window search, when
//   SEEKER_BENCH_XSERVER_PID names the server (window_search_xvfb.sh does);
// - how much the process grew while holding the result (after a short first
//   search), against the bytes of hit text (titles, links, sizes, dates) the
//   search found.
// Run it through window_search_xvfb.sh, which gives it an Xvfb of its own.
#include "app/search/search_driver.h"
#include "app/window/main_window.h"
#include "bench/common/resident_memory.h"
#include "bench_sites.h"
#include "runtime/thread.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// User and system CPU seconds of another process; -1 when unknown.
double ProcessCpuSeconds(const char* pidText) {
    if (pidText == nullptr) return -1;
    std::ifstream stat(std::string("/proc/") + pidText + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // Fields after the command's closing parenthesis; utime and stime are
    // the 14th and 15th of the whole line.
    std::size_t at = line.rfind(')');
    if (at == std::string::npos) return -1;
    std::vector<std::string> fields;
    std::size_t pos = at + 2;
    while (pos < line.size()) {
        std::size_t end = line.find(' ', pos);
        if (end == std::string::npos) end = line.size();
        fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    if (fields.size() < 13) return -1;
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (std::stod(fields[11]) + std::stod(fields[12])) / ticks;
}

class CountingSink : public app::SearchSink {
public:
    bool SiteSelected(app::SiteId) override { return true; }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(app::Tick) override {}
    void HitFound(app::SiteId, const app::Hit& hit) override {
        ++hits;
        textBytes += hit.title.size() + hit.link.size() + hit.size.size() + hit.date.size();
        linkBytes += hit.link.size();
    }
    void ProgressChanged(int) override {}
    void SearchFinished(int, int) override {}
    int hits = 0;
    std::size_t textBytes = 0;
    std::size_t linkBytes = 0;
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

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at),
                     values.end());
    return values[at];
}

void BM_WindowSearchThousandPages(benchmark::State& state) {
    demo::DemoSites sites;
    if (!ServeFullPages(sites, state, 1001)) return;
    const app::SiteTable table = app::DemoSiteTable(sites.BasePort());
    const char* xserver = std::getenv("SEEKER_BENCH_XSERVER_PID");

    // The same search without a window, first: the demo sites serve from
    // this process, and their threads then hold what they set up once.
    CountingSink sink;
    double driverCpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    auto start = Clock::now();
    rt::ThreadHandle worker;
    rt::StartThread([&] { app::RunSearch({table, "abc", 1000}, sink); }, &worker);
    worker.join();
    state.counters["driver_only_total_s"] = Ms(Clock::now() - start) / 1e3;
    state.counters["driver_only_cpu_s"] = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - driverCpu;
    state.counters["driver_only_hits"] = sink.hits;
    state.counters["hit_text_mb"] = static_cast<double>(sink.textBytes) / 1e6;
    state.counters["link_text_mb"] = static_cast<double>(sink.linkBytes) / 1e6;

    app::MainWindow window(table);
    if (!window.Build()) {
        state.SkipWithError("no window (is DISPLAY set?)");
        return;
    }
    window.KeywordEdit().Text("abc");
    Pump(800);  // the entry animation
    // A short search first, as a user's first one: what any search of the
    // window sets up once is then in place, and the growth measured is the
    // result's.
    window.PageCountEdit().Text("2");
    window.StartSearch();
    plat::MSG msg;
    while (window.Searching() && plat::GetMessage(&msg) > 0) {
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
    }
    window.PageCountEdit().Text("1000");
    Pump(100);
    std::vector<double> messageCpuMs;
    messageCpuMs.reserve(1 << 20);
    const double residentBefore = bench::ResidentBytes();

    double totalMs = 0, longestWallMs = 0, windowCpu = 0, uiCpu = 0, xCpu = 0;
    unsigned longestMessage = 0;
    for (auto _ : state) {
        messageCpuMs.clear();
        const double xBefore = ProcessCpuSeconds(xserver);
        const double cpuBefore = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double uiBefore = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        start = Clock::now();
        window.StartSearch();
        double longest = 0;
        longestWallMs = 0;
        while (window.Searching() && plat::GetMessage(&msg) > 0) {
            const double handled = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            const auto handledWall = Clock::now();
            plat::TranslateMessage(&msg);
            plat::DispatchMessage(&msg);
            const double took = (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - handled) * 1e3;
            longestWallMs = std::max(longestWallMs, Ms(Clock::now() - handledWall));
            messageCpuMs.push_back(took);
            if (took > longest) {
                longest = took;
                longestMessage = msg.message;
            }
        }
        totalMs = Ms(Clock::now() - start);
        windowCpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore;
        uiCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - uiBefore;
        xCpu = ProcessCpuSeconds(xserver) - xBefore;
    }
    state.counters["rows"] = window.Store().Count();
    state.counters["window_total_s"] = totalMs / 1e3;
    state.counters["window_cpu_s"] = windowCpu;
    state.counters["ui_thread_cpu_s"] = uiCpu;
    if (xserver != nullptr) state.counters["xserver_cpu_s"] = xCpu;
    state.counters["messages"] = static_cast<double>(messageCpuMs.size());
    state.counters["longest_message_ms"] = Percentile(messageCpuMs, 1.0);
    state.counters["longest_message_id"] = longestMessage;
    state.counters["longest_message_wall_ms"] = longestWallMs;
    state.counters["p99_message_ms"] = Percentile(messageCpuMs, 0.99);
    state.counters["median_message_ms"] = Percentile(messageCpuMs, 0.5);
    const double grown = bench::ResidentBytes() - residentBefore;
    state.counters["window_over_driver"] =
        totalMs / 1e3 / state.counters["driver_only_total_s"].value;
    state.counters["window_cpu_over_driver"] =
        windowCpu / state.counters["driver_only_cpu_s"].value;
    state.counters["growth_mb"] = grown / 1e6;
    state.counters["growth_per_hit_text"] = grown / static_cast<double>(sink.textBytes);
}
BENCHMARK(BM_WindowSearchThousandPages)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
