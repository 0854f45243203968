// Composing a window canvas the way the painting pipeline does, and the text
// and image work behind it.
#include <benchmark/benchmark.h>

#include <vector>

#include "assets/assets.h"
#include "platform/gfx/gfx.h"

namespace {

using namespace gfx;

constexpr int kCanvasW = 975, kCanvasH = 547, kControls = 40;

// Control-sized surfaces with a rounded translucent body and a label.
std::vector<Bitmap> MakeControls() {
    std::vector<Bitmap> controls;
    const Font font(FontFamily::DefaultChineseSans(), 12);
    for (int i = 0; i < kControls; ++i) {
        Bitmap b(100 + (i % 5) * 20, 24 + (i % 3) * 4);
        Graphics g(b);
        g.SetSmoothingMode(SmoothingMode::AntiAlias);
        Path p;
        const float w = static_cast<float>(b.Width()) - 1, h = static_cast<float>(b.Height()) - 1;
        p.AddArc(0, 0, 6, 6, 180, 90);
        p.AddArc(w - 6, 0, 6, 6, 270, 90);
        p.AddArc(w - 6, h - 6, 6, 6, 0, 90);
        p.AddArc(0, h - 6, 6, 6, 90, 90);
        p.CloseFigure();
        g.FillPath(SolidBrush(MakeColor(204, 236, 236, 236)), p);
        g.DrawString("开始搜索", font, SolidBrush(MakeColor(210, 0, 0, 0)),
                     RectF{0, 0, static_cast<float>(b.Width()), static_cast<float>(b.Height())});
        controls.push_back(std::move(b));
    }
    return controls;
}

RectF Place(int i, const Bitmap& b) {
    return RectF{static_cast<float>(10 + (i % 6) * 160), static_cast<float>(40 + (i / 6) * 70),
                 static_cast<float>(b.Width()), static_cast<float>(b.Height())};
}

void BM_ComposeControls(benchmark::State& state) {
    const std::vector<Bitmap> controls = MakeControls();
    Bitmap background(kCanvasW, kCanvasH), canvas(kCanvasW, kCanvasH);
    background.Fill(MakeColor(200, 90, 120, 160));
    Graphics g(canvas);
    const int opacity = static_cast<int>(state.range(0));
    for (auto _ : state) {
        canvas.CopyFrom(background, RectI{0, 0, kCanvasW, kCanvasH}, 0, 0);
        for (int i = 0; i < kControls; ++i)
            g.DrawImageAlpha(controls[static_cast<std::size_t>(i)],
                             Place(i, controls[static_cast<std::size_t>(i)]), opacity);
        benchmark::DoNotOptimize(canvas.Data());
    }
}
BENCHMARK(BM_ComposeControls)->Arg(255)->Arg(200)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_DrawLabelText(benchmark::State& state) {
    Bitmap b(200, 30);
    Graphics g(b);
    g.SetTextRenderingHint(TextRenderingHint::AntiAliasGridFit);
    const Font font(FontFamily::DefaultChineseSans(), 12);
    StringFormat format(StringFormatFlags::kNoWrap);
    format.SetTrimming(StringTrimming::EllipsisCharacter);
    for (auto _ : state) {
        g.Clear(0);
        g.DrawString("【示例标题】 下载地址：magnet:?xt=urn:btih:0123456789", font,
                     SolidBrush(0xD2000000), RectF{0, 0, 200, 30}, format);
    }
}
BENCHMARK(BM_DrawLabelText)->Unit(benchmark::kMicrosecond);

void BM_MeasureString(benchmark::State& state) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font font(FontFamily::DefaultChineseSans(), 12);
    for (auto _ : state)
        benchmark::DoNotOptimize(g.MeasureString("关键字: 我唾弃你的坟墓", font, RectF{}));
}
BENCHMARK(BM_MeasureString)->Unit(benchmark::kMicrosecond);

// The window's background art, the largest image the program decodes.
void BM_DecodeSkinJpeg(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(DecodeImage(assets::SkinJpeg()));
}
BENCHMARK(BM_DecodeSkinJpeg)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Controls create their fonts by family name; a missing family is the slow
// path (the localised names of every font are listed).
void BM_FamilyLookup(benchmark::State& state) {
    const rt::Text name = state.range(0) ? "DejaVu Sans" : "Missing Family";
    for (auto _ : state) benchmark::DoNotOptimize(FontFamily::FromName(name));
}
BENCHMARK(BM_FamilyLookup)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_CreateFont(benchmark::State& state) {
    const FontFamily family = FontFamily::DefaultChineseSans();
    for (auto _ : state) benchmark::DoNotOptimize(Font(family, 12).Height());
}
BENCHMARK(BM_CreateFont)->Unit(benchmark::kMicrosecond);

}  // namespace
