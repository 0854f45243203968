// Recomposing one control's rectangle with its present, and rendering the
// whole background of a window the size of the application's, layered and
// skinned as the application's is.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/gfx/graphics.h"
#include "platform/headless/headless_control.h"
#include "ui/controls/control.h"
#include "ui/core/app_window.h"
#include "ui/core/window.h"

namespace {

class Swatch : public ui::UiControl {
public:
    ~Swatch() override { Destroy(); }
    ui::LResult HandleMessage(int message, ui::WParam, ui::LParam) override {
        if (message != plat::WM_PAINT) return -1;
        ui::PaintContext context = BeginControlPaint();
        graphics_->Clear(0xC0336699u);
        EndControlPaint(context);
        return 0;
    }
};

struct AppLikeWindow {
    AppLikeWindow() {
        plat::headless::Reset();
        window = ui::CreateAppWindow("bench");
        host.Attach(window, ui::SkinnedAttachOptions(20));
        plat::ShowWindow(window, plat::SW_SHOWNORMAL);
        for (int i = 0; i < 30; ++i) {
            auto swatch = std::make_unique<Swatch>();
            swatch->Create(window, ui::RectF{20.0f + 30.0f * i, 60.0f + 12.0f * (i % 10), 80, 24},
                           30, true, 1);
            controls.push_back(std::move(swatch));
        }
        plat::headless::PumpMessages();
    }
    ~AppLikeWindow() {
        controls.clear();
        plat::headless::Reset();
    }
    ui::NativeWindow window = nullptr;
    ui::UiWindow host;
    std::vector<std::unique_ptr<Swatch>> controls;
};

void BM_ControlRepaintAndPresent(benchmark::State& state) {
    AppLikeWindow app;
    const ui::RectF rect = app.controls[5]->Rect();
    for (auto _ : state) {
        app.host.QueueRedraw(rect, 0);
    }
    state.counters["presents"] = app.host.PresentCount();
}
BENCHMARK(BM_ControlRepaintAndPresent)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_RenderBackgroundLayered975x547(benchmark::State& state) {
    AppLikeWindow app;
    const int present = static_cast<int>(state.range(0));
    for (auto _ : state) {
        app.host.RenderBackground(nullptr, std::nullopt, present);
    }
}
// -1: draw only; 0: draw and present.
BENCHMARK(BM_RenderBackgroundLayered975x547)
    ->Arg(-1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
