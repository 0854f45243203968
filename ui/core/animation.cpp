// Entry and close animations: frames rendered from the finished canvas into a
// temporary picture and shown one after another.
#include <algorithm>
#include <cmath>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "ui/core/window.h"

namespace ui {

namespace {
constexpr int kEntryFrames = 10;
constexpr int kCloseFrames = 15;
constexpr int kSoftEdgeLines = 100;

// Draws `source` into `frame` at opacity `alpha` (0..255) over `area`, unscaled.
void Blend(gfx::Graphics& g, const gfx::Bitmap& source, const RectF& area, float alpha) {
    if (area.width <= 0 || area.height <= 0 || alpha <= 0) return;
    g.DrawImage(source, area, area, gfx::ColorMatrix::AlphaScale(std::min(alpha, 255.0f) / 255.0f));
}

// A strip frame: the part of the picture on the shown side of `edge` at
// `alpha`, then a soft edge of one-pixel lines fading to a hundredth of it.
// side: 3 from the left, 4 from the right, 5 from the top, else from the bottom.
void StripFrame(gfx::Graphics& g, const gfx::Bitmap& picture, int side, float edge, float alpha,
                bool keepBefore) {
    const float w = static_cast<float>(picture.Width());
    const float h = static_cast<float>(picture.Height());
    const bool horizontal = side == 3 || side == 4;
    const float extent = horizontal ? w : h;
    // Position along the axis measured from the side the reveal starts at.
    const auto area = [&](float from, float length) {
        from = std::clamp(from, 0.0f, extent);
        length = std::clamp(length, 0.0f, extent - from);
        const bool reversed = side == 4 || (side != 3 && side != 5);
        const float start = reversed ? extent - from - length : from;
        return horizontal ? RectF{start, 0, length, h} : RectF{0, start, w, length};
    };
    if (keepBefore) {
        Blend(g, picture, area(0, edge), alpha);
        for (int i = 0; i < kSoftEdgeLines; ++i) {
            const float fade =
                alpha * (1.0f - 0.99f * static_cast<float>(i) / (kSoftEdgeLines - 1));
            Blend(g, picture, area(edge + static_cast<float>(i), 1), fade);
        }
    } else {
        // Closing: the picture beyond the edge stays, the soft edge before it.
        Blend(g, picture, area(edge, extent - edge), alpha);
        for (int i = 0; i < kSoftEdgeLines; ++i) {
            const float fade =
                alpha * (1.0f - 0.99f * static_cast<float>(i) / (kSoftEdgeLines - 1));
            Blend(g, picture, area(edge - 1 - static_cast<float>(i), 1), fade);
        }
    }
}

void ZoomFrame(gfx::Graphics& g, const gfx::Bitmap& picture, float scale, float alpha) {
    const float w = static_cast<float>(picture.Width()) * scale;
    const float h = static_cast<float>(picture.Height()) * scale;
    const RectF dest{(static_cast<float>(picture.Width()) - w) / 2,
                     (static_cast<float>(picture.Height()) - h) / 2, w, h};
    const RectF source{0, 0, static_cast<float>(picture.Width()),
                       static_cast<float>(picture.Height())};
    g.DrawImage(picture, dest, source,
                gfx::ColorMatrix::AlphaScale(std::clamp(alpha, 0.0f, 255.0f) / 255.0f));
}
}  // namespace

void UiWindow::PumpPending() {
    plat::MSG msg;
    while (plat::PeekMessage(&msg, nullptr, 0, 0, plat::PM_REMOVE)) {
        if (msg.message == plat::WM_QUIT) {
            plat::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
    }
}

void UiWindow::PlayFrames(int kind, int frames, bool entry, int pauseMs) {
    if (canvas_.Empty()) return;
    const NativeWindow hwnd = window_;
    const gfx::Bitmap picture = canvas_.bitmap->Clone();
    const float extent = static_cast<float>((kind == 3 || kind == 4) ? size_.width : size_.height);
    // One picture for every frame: a new one each time would be fresh pages
    // for the system to hand out, frame after frame.
    gfx::Bitmap frame(picture.Width(), picture.Height());
    for (int j = 1; j <= frames && plat::IsWindow(hwnd); ++j) {
        gfx::Graphics g(frame);
        if (j > 1) g.Clear(0);
        const float alpha =
            entry ? 25.0f * static_cast<float>(j - 1) : 255.0f - 17.0f * static_cast<float>(j);
        if (kind == 1) {
            Blend(g, picture,
                  RectF{0, 0, static_cast<float>(picture.Width()),
                        static_cast<float>(picture.Height())},
                  alpha);
        } else if (kind == 7) {
            const float progress =
                entry ? static_cast<float>(j - 1) / frames : 1.0f - static_cast<float>(j) / frames;
            ZoomFrame(g, picture, 0.1f + 0.9f * progress, alpha);
        } else {
            const float edge = entry ? static_cast<float>(j - 1) * extent / frames
                                     : static_cast<float>(j) * extent / frames;
            StripFrame(g, picture, kind, edge, alpha, entry);
        }
        PresentBitmap(frame);
        if (entry && j == 1 && !plat::IsWindowVisible(hwnd))
            plat::ShowWindow(hwnd, plat::SW_SHOWNORMAL);
        if (entry) PumpPending();
        plat::Sleep(static_cast<plat::DWORD>(pauseMs));
    }
}

void UiWindow::ShowAnimated(int animation, std::optional<int> duration) {
    if (!attached_) return;
    const int total = duration.value_or(200);
    PumpPending();
    if (animation == 0) {
        if (blurBehind_) ApplyBlur();
        plat::ShowWindow(window_, plat::SW_SHOWNORMAL);
        return;
    }
    // A window that is not layered is layered for the animation only.
    const LParam exStyle = plat::GetWindowLong(window_, plat::GWL_EXSTYLE);
    if (!(exStyle & plat::WS_EX_LAYERED))
        plat::SetWindowLong(window_, plat::GWL_EXSTYLE, exStyle | plat::WS_EX_LAYERED);
    if (blurBehind_) ApplyBlur();
    PlayFrames(animation, kEntryFrames, true, total / kEntryFrames);
    if (!plat::IsWindow(window_)) return;
    if (!(exStyle & plat::WS_EX_LAYERED)) plat::SetWindowLong(window_, plat::GWL_EXSTYLE, exStyle);
    PresentWhole();
    plat::RedrawWindow(
        window_, nullptr,
        plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_ALLCHILDREN | plat::RDW_UPDATENOW);
}

void UiWindow::PlayCloseAnimation() {
    if (closeAnimation_ == 0 || !attached_) return;
    suspended_ = true;
    const LParam exStyle = plat::GetWindowLong(window_, plat::GWL_EXSTYLE);
    if (!(exStyle & plat::WS_EX_LAYERED))
        plat::SetWindowLong(window_, plat::GWL_EXSTYLE, exStyle | plat::WS_EX_LAYERED);
    if (blurBehind_) ApplyBlur();
    PlayFrames(closeAnimation_, kCloseFrames, false, closeAnimation_ == 1 ? 10 : 8);
    if (!(exStyle & plat::WS_EX_LAYERED)) plat::SetWindowLong(window_, plat::GWL_EXSTYLE, exStyle);
    // A window shown again after closing must not stay frozen.
    suspended_ = false;
}

}  // namespace ui
