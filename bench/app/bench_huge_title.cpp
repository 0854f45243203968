// The real window under an X display with one hit whose title is megabytes
// long (the first record of a site 3 page; the argument is the title's size
// in MB), what a hostile page can give:
// - click_to_link_ms: from the press on that row until the status box shows
//   the row's line and every message the click brought is handled (and the
//   user-interface thread's CPU time for it, which a loaded machine does not
//   lengthen);
// - longest_message_ms: the longest single message while the pointer then
//   rests on the title long enough for its tooltip to show;
// - row_paint_ms: the list drawing that row again;
// - resident_mb and peak_resident_mb afterwards, growth_mb since before the
//   window, live_heap_mb what the allocator holds in use, against title_mb;
// - link_whole: 1 when the copy button put the hit's whole link on the
//   clipboard.
// The demo sites serve from a child process, so the window's process holds
// only what the window keeps. Run it through window_search_xvfb.sh, which
// gives it an Xvfb of its own.
#include "app/window/main_window.h"
#include "bench/common/resident_memory.h"
#include "demo_server.h"
#include "runtime/fatal.h"
#include "ui/controls/list_view.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// CPU milliseconds of the calling thread.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Handles every message waiting now and every one they bring; returns the
// longest single message's wall time.
double Drain() {
    double longest = 0;
    plat::MSG msg;
    while (plat::PeekMessage(&msg)) {
        const auto start = Clock::now();
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
        longest = std::max(longest, Ms(Clock::now() - start));
    }
    return longest;
}

// Handles messages for `ms` milliseconds; returns the longest one.
double Pump(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    double longest = 0;
    while (Clock::now() < end) {
        longest = std::max(longest, Drain());
        plat::Sleep(1);
    }
    return longest;
}

// The demo sites in a child process until the object goes; port 0: none.
class ServerProcess {
public:
    explicit ServerProcess(const demo::ServeOptions& options) {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ends[0]);
            demo::DemoSites sites;
            const int port = sites.StartOnFreePorts(options) ? sites.BasePort() : 0;
            if (write(ends[1], &port, sizeof port) != sizeof port) _exit(1);
            for (;;) pause();
        }
        close(ends[1]);
        if (pid_ < 0 || read(ends[0], &port_, sizeof port_) != sizeof port_) port_ = 0;
        close(ends[0]);
    }
    ~ServerProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    int Port() const { return port_; }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

void BM_HugeTitle(benchmark::State& state) {
    rt::ReturnLargeBlocksToTheSystem();  // as the program does at start
    const auto titleBytes = static_cast<std::size_t>(state.range(0)) * 1000 * 1000;
    demo::ServeOptions options;
    options.lastPage = 1;
    options.longTitleBytes = titleBytes;
    const ServerProcess server(options);
    if (server.Port() == 0) {
        state.SkipWithError("demo sites did not start");
        return;
    }
    const double residentAtStart = bench::ResidentBytes();
    app::MainWindow window(app::DemoSiteTable(server.Port()));
    if (!window.Build()) {
        state.SkipWithError("no window (is DISPLAY set?)");
        return;
    }
    Pump(800);  // the entry animation
    for (app::SiteId site = app::kFirstSite; site <= app::kLastSite; ++site)
        if (site != 3) window.SiteBox(site).SendEvent(ui::EV_CLICK);  // untick
    window.KeywordEdit().Text("abc");
    window.PageCountEdit().Text("1");
    window.StartSearch();
    while (window.Searching()) Pump(10);

    const app::ResultStore& store = window.Store();
    ui::UiListView& list = window.ResultList();
    const auto title = [&list](int n) { return list.CellView(n, 2); };
    int row = 0;
    for (int n = 1; n <= list.RowCount(); ++n)
        if (row == 0 || title(n).size() > title(row).size()) row = n;
    if (row == 0 || title(row).size() < titleBytes) {
        state.SkipWithError("no hit with the long title");
        return;
    }
    const ui::RectF r = list.RowRect(row);
    const int x = static_cast<int>(list.Rect().x + list.ItemsRect().x + 200);
    const int y = static_cast<int>(list.Rect().y + list.ItemsRect().y + r.y + r.height / 2);
    const plat::LPARAM at = plat::MAKELPARAM(x, y);
    const plat::Hwnd hwnd = window.Window();

    double clickMs = 0, clickCpuMs = 0, restLongestMs = 0, paintMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const double cpu = ThreadCpuMs();
        plat::SendMessage(hwnd, plat::WM_MOUSEMOVE, 0, at);
        plat::SendMessage(hwnd, plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, at);
        plat::SendMessage(hwnd, plat::WM_LBUTTONUP, 0, at);
        Drain();
        clickMs = Ms(Clock::now() - start);
        clickCpuMs = ThreadCpuMs() - cpu;
        restLongestMs = Pump(static_cast<int>(plat::kTooltipInitialDelay) + 500);
        const auto paint = Clock::now();
        list.DrawRows(row, row);
        paintMs = Ms(Clock::now() - paint);
        Drain();
    }
    const rt::Text shown = window.StatusBox().Text();
    if (shown.find(store.Link(row)) == rt::Text::npos) state.SkipWithError("no link shown");
    window.CopyLink();
    Pump(100);
    state.counters["link_whole"] = plat::GetClipboardText() == store.Link(row) ? 1 : 0;
    state.counters["title_mb"] = static_cast<double>(title(row).size()) / 1e6;
    state.counters["click_to_link_ms"] = clickMs;
    state.counters["click_to_link_cpu_ms"] = clickCpuMs;
    state.counters["longest_message_ms"] = restLongestMs;
    state.counters["row_paint_ms"] = paintMs;
    state.counters["resident_mb"] = bench::ResidentBytes() / 1e6;
    state.counters["growth_mb"] = (bench::ResidentBytes() - residentAtStart) / 1e6;
    const struct mallinfo2 heap = mallinfo2();
    state.counters["live_heap_mb"] = static_cast<double>(heap.uordblks + heap.hblkhd) / 1e6;
    state.counters["peak_resident_mb"] = bench::PeakResidentBytes() / 1e6;
}
BENCHMARK(BM_HugeTitle)
    ->Arg(5)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
