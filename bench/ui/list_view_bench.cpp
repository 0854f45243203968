// The result table's costs on the in-memory window backend, at the sizes the
// application reaches (up to 240 000 rows of five cells): appending rows,
// repainting after a wheel notch and after an append that the view follows,
// hit testing, and the resident memory the rows take against their raw text.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/common/resident_memory.h"
#include "platform/headless/headless_control.h"
#include "ui/controls/list_view.h"
#include "ui/core/app_window.h"
#include "ui/core/window.h"

namespace {

constexpr int kMaxRows = 240000;

// Realistic cells: a number, a title of about 60 characters of mixed Chinese
// and ASCII (code page 936), a size, a date and a site label.
struct Cells {
    std::string number, title, size, date, site;
    std::size_t Bytes() const {
        return number.size() + title.size() + size.size() + date.size() + site.size();
    }
};

Cells MakeCells(int i) {
    static const char* const kTitles[] = {
        "[高清中字] 关键字 Linux 发行版合集 2026 ISO 镜像 x86_64 完整版第",
        "纪录片 The Blue Planet 蓝色星球 1080p BluRay 国英双语 第",
        "【合集】经典老歌 无损音乐 FLAC 320k 华语金曲精选 Vol.",
        "开源软件 LibreOffice 7.6 中文版 安装包 Windows Linux macOS 第",
    };
    static const char* const kSites[] = {"站点一", "站点二", "BTDigg",  "站点四",
                                         "ed2k站", "站点六", "Torrent", "站点八"};
    Cells c;
    c.number = std::to_string(i);
    c.title = std::string(kTitles[i % 4]) + std::to_string(i % 97) + "集";
    c.size = std::to_string(1 + i % 900) + "." + std::to_string(i % 100) + " MB";
    c.date = "2026-" + std::to_string(1 + i % 12) + "-" + std::to_string(1 + i % 28);
    c.site = kSites[i % 8];
    return c;
}

// The application's window and table: 975 x 547, the table 940 x 360.
struct TableWindow {
    TableWindow() {
        plat::headless::Reset();
        window = ui::CreateAppWindow("bench");
        ui::AttachOptions options;
        options.captionFlags = 20;
        options.backgroundAlpha = 200;
        options.backgroundColour = 0x806040;
        host.Attach(window, options);
        plat::ShowWindow(window, plat::SW_SHOWNORMAL);
        ui::ListViewOptions o;
        o.gridLines = ui::LIST_GRID_ROWS;
        list.CreateList(window, 12, 140, 940, 360, o);
        const float widths[] = {50, 560, 110, 110, 90};
        const char* titles[] = {"序号", "标题", "大小", "日期", "站点"};
        for (int c = 0; c < 5; ++c) list.InsertColumn(0, titles[c], widths[c]);
        plat::headless::PumpMessages();
        // The wheel goes to the focused control.
        host.SetFocusControl(&list, false);
    }
    ~TableWindow() {
        list.Destroy();
        plat::headless::Reset();
    }
    void Fill(int rows) {
        for (int i = list.RowCount() + 1; i <= rows; ++i) Append(i);
        plat::headless::PumpMessages();
    }
    void Append(int i) {
        const Cells c = MakeCells(i);
        list.AppendRow({c.number, c.title, c.size, c.date, c.site});
    }
    ui::NativeWindow window = nullptr;
    ui::UiWindow host;
    ui::UiListView list;
};

// Runs first, before other benchmarks leave freed memory for the rows to reuse.
void BM_ResidentMemory240000Rows(benchmark::State& state) {
    for (auto _ : state) {
        TableWindow table;
        std::size_t raw = 0;
        for (int i = 1; i <= kMaxRows; ++i) raw += MakeCells(i).Bytes();
        const double before = bench::ResidentBytes();
        table.Fill(kMaxRows);
        const double growth = bench::ResidentBytes() - before;
        state.counters["raw_MB"] = static_cast<double>(raw) / 1e6;
        state.counters["growth_MB"] = growth / 1e6;
        state.counters["growth_per_raw"] = growth / static_cast<double>(raw);
        state.counters["pool_MB"] = static_cast<double>(table.list.Rows().PoolBytes()) / 1e6;
    }
}
BENCHMARK(BM_ResidentMemory240000Rows)->Iterations(1)->Unit(benchmark::kMillisecond);

// Appending rows to an empty table until it holds N rows; the time per row.
void BM_AppendRow(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TableWindow table;
    std::vector<Cells> cells;
    cells.reserve(static_cast<std::size_t>(rows));
    for (int i = 1; i <= rows; ++i) cells.push_back(MakeCells(i));
    for (auto _ : state) {
        state.PauseTiming();
        table.list.DeleteAllRows();
        plat::headless::PumpMessages();
        state.ResumeTiming();
        for (const Cells& c : cells)
            table.list.AppendRow({c.number, c.title, c.size, c.date, c.site});
    }
    state.counters["ns_per_row"] = benchmark::Counter(
        static_cast<double>(rows) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendRow)->Arg(1000)->Arg(kMaxRows)->Unit(benchmark::kMillisecond);

// Rows arriving a result page (30 rows) at a time, the message loop turning
// after each page: the bars and, while the rows are on screen, the view refreshed.
void BM_AppendPagesWithRefresh(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TableWindow table;
    for (auto _ : state) {
        state.PauseTiming();
        table.list.DeleteAllRows();
        plat::headless::PumpMessages();
        state.ResumeTiming();
        for (int i = 1; i <= rows; ++i) {
            table.Append(i);
            if (i % 30 == 0) plat::headless::PumpMessages();
        }
    }
    state.counters["us_per_row"] = benchmark::Counter(
        static_cast<double>(rows) * 1e-6,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendPagesWithRefresh)
    ->Arg(3000)
    ->Arg(kMaxRows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One wheel notch on the focused table, with the host's redraw and present.
void BM_RepaintAfterWheelNotch(benchmark::State& state) {
    TableWindow table;
    table.Fill(static_cast<int>(state.range(0)));
    table.list.EnsureVisible(table.list.RowCount() / 2);
    plat::headless::PumpMessages();
    int direction = 1;
    for (auto _ : state) {
        direction = -direction;
        plat::SendMessage(table.window, plat::WM_MOUSEWHEEL, plat::MAKEWPARAM(0, 120 * direction),
                          0);
        plat::headless::PumpMessages();
    }
    state.counters["first_row"] = table.list.FirstVisibleRow();
}
BENCHMARK(BM_RepaintAfterWheelNotch)->Arg(100)->Arg(kMaxRows)->Unit(benchmark::kMicrosecond);

// One row appended while the view follows the end of the table.
void BM_RepaintAfterAppendOnScreen(benchmark::State& state) {
    TableWindow table;
    const int rows = static_cast<int>(state.range(0));
    table.Fill(rows);
    int next = rows;
    for (auto _ : state) {
        table.Append(++next);
        table.list.EnsureVisible(next);
        plat::headless::PumpMessages();
    }
    state.counters["last_row"] = table.list.LastVisibleRow();
}
BENCHMARK(BM_RepaintAfterAppendOnScreen)->Arg(100)->Arg(kMaxRows)->Unit(benchmark::kMicrosecond);

void BM_HitTestRow(benchmark::State& state) {
    TableWindow table;
    table.Fill(static_cast<int>(state.range(0)));
    table.list.EnsureVisible(table.list.RowCount() / 2);
    float y = 0;
    int found = 0;
    for (auto _ : state) {
        y = y > 340 ? 0 : y + 7;
        found += table.list.HitTestRow(400, 170 + y).row;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_HitTestRow)->Arg(100)->Arg(kMaxRows)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
