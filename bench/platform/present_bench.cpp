// Presenting the main window's canvas (975 x 547) through the window-system
// backend (X11: XShm on Xvfb; Windows: UpdateLayeredWindow), and composing
// 40 control pictures into it as the painting pipeline does.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/platform/display.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/platform.h"

namespace {

constexpr int kWidth = 975;
constexpr int kHeight = 547;

// Handles the thread's messages for `ms` milliseconds.
void Pump(plat::DWORD ms) {
    const plat::DWORD start = plat::GetTickCount();
    plat::MSG msg;
    while (plat::GetTickCount() - start < ms) {
        if (plat::PeekMessage(&msg)) {
            plat::TranslateMessage(&msg);
            plat::DispatchMessage(&msg);
        } else {
            plat::Sleep(2);
        }
    }
}

// A shown layered window of the main window's size.
plat::Hwnd Window() {
    static plat::Hwnd hwnd = [] {
        plat::WNDCLASS wc;
        wc.lpszClassName = "Bench";
        plat::RegisterClass(wc);
        plat::Hwnd h = plat::CreateWindowEx(plat::WS_EX_LAYERED, "Bench", "bench", plat::WS_POPUP,
                                            100, 100, kWidth, kHeight);
        std::vector<std::uint32_t> px(static_cast<std::size_t>(kWidth) * kHeight, 0xC8808080u);
        plat::Present(h, px.data(), kWidth * 4, kWidth, kHeight);
        plat::ShowWindow(h, plat::SW_SHOWNORMAL);
        Pump(300);
        return h;
    }();
    return hwnd;
}

// The canvas: a translucent background with opaque parts, as a skinned window has.
gfx::Bitmap Canvas() {
    gfx::Bitmap canvas(kWidth, kHeight);
    gfx::Graphics g(canvas);
    g.Clear(gfx::MakeColor(200, 200, 200, 200));
    return canvas;
}

std::vector<gfx::Bitmap> Controls() {
    std::vector<gfx::Bitmap> controls;
    for (int i = 0; i < 40; ++i) {
        gfx::Bitmap b(120, 28);
        gfx::Graphics g(b);
        g.Clear(gfx::MakeColor(static_cast<std::uint8_t>(150 + i), 40,
                               static_cast<std::uint8_t>(i * 5), 90));
        controls.push_back(std::move(b));
    }
    return controls;
}

void Compose(gfx::Bitmap& canvas, const std::vector<gfx::Bitmap>& controls) {
    gfx::Graphics g(canvas);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        float x = 10.0f + static_cast<float>(i % 7) * 135.0f;
        float y = 40.0f + static_cast<float>(i / 7) * 80.0f;
        g.DrawImage(controls[i], x, y);
    }
}

// False, with the run marked skipped, when there is no display to present to.
bool HaveDisplay(benchmark::State& state) {
    if (present_bench::DisplayReady() && Window() != nullptr) return true;
    state.SkipWithError("no display to present to");
    return false;
}

void PresentCanvas(plat::Hwnd h, const gfx::Bitmap& canvas, const plat::RECT* dirty = nullptr) {
    plat::Present(h, reinterpret_cast<const std::uint32_t*>(canvas.Data()), canvas.Stride(), kWidth,
                  kHeight, dirty);
}

// Each figure is the mean and spread of five runs.
void FiveRunsInMilliseconds(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

void BM_PresentFullCanvas(benchmark::State& state) {
    if (!HaveDisplay(state)) return;
    plat::Hwnd h = Window();
    gfx::Bitmap canvas = Canvas();
    for (auto _ : state) PresentCanvas(h, canvas);
}
BENCHMARK(BM_PresentFullCanvas)->Apply(FiveRunsInMilliseconds);

void BM_PresentControlRectangle(benchmark::State& state) {
    if (!HaveDisplay(state)) return;
    plat::Hwnd h = Window();
    gfx::Bitmap canvas = Canvas();
    plat::RECT dirty{300, 200, 420, 228};
    for (auto _ : state) PresentCanvas(h, canvas, &dirty);
}
BENCHMARK(BM_PresentControlRectangle)->Apply(FiveRunsInMilliseconds);

void BM_Compose40Controls(benchmark::State& state) {
    gfx::Bitmap canvas = Canvas();
    auto controls = Controls();
    for (auto _ : state) {
        Compose(canvas, controls);
        benchmark::DoNotOptimize(canvas.Data());
    }
}
BENCHMARK(BM_Compose40Controls)->Apply(FiveRunsInMilliseconds);

void BM_ComposeAndPresent(benchmark::State& state) {
    if (!HaveDisplay(state)) return;
    plat::Hwnd h = Window();
    gfx::Bitmap canvas = Canvas();
    auto controls = Controls();
    for (auto _ : state) {
        Compose(canvas, controls);
        PresentCanvas(h, canvas);
    }
}
BENCHMARK(BM_ComposeAndPresent)->Apply(FiveRunsInMilliseconds);

}  // namespace

BENCHMARK_MAIN();
