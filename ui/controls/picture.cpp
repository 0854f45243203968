#include "ui/controls/picture.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/brush.h"
#include "ui/controls/control_support.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui {

gfx::Bitmap BitmapFromIcon(const plat::IconImage& icon) {
    const std::size_t count = static_cast<std::size_t>(std::max(icon.width, 0)) *
                              static_cast<std::size_t>(std::max(icon.height, 0));
    if (count == 0 || icon.pixels.size() < count) return {};
    gfx::Bitmap bitmap(icon.width, icon.height);
    if (!bitmap.IsValid()) return bitmap;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x)
            bitmap.SetPixel(
                x, y,
                icon.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(icon.width) +
                            static_cast<std::size_t>(x)]);
    bitmap.MarkDirty();
    return bitmap;
}

plat::IconImage IconFromBitmap(const gfx::Bitmap& bitmap) {
    plat::IconImage icon{bitmap.Width(), bitmap.Height(), {}};
    icon.pixels.reserve(static_cast<std::size_t>(icon.width) *
                        static_cast<std::size_t>(icon.height));
    // GetPixel undoes the bitmap's premultiplication.
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) icon.pixels.push_back(bitmap.GetPixel(x, y));
    return icon;
}

UiPicture::~UiPicture() { Destroy(); }

UiControl* UiPicture::CreatePicture(ControlParent parentIn, float x, float y, float width,
                                    float height, std::span<const std::uint8_t> bytes,
                                    const PictureOptions& o) {
    if (handle) return handle;
    imageBytes.assign(bytes.begin(), bytes.end());
    image = LoadImageStream(imageBytes, false);
    fixZeroDelays = o.fixZeroDelays.value_or(false);
    TakeFrames();
    return Finish(parentIn, {x, y, width, height}, o);
}

UiControl* UiPicture::CreatePictureFromIcon(ControlParent parentIn, float x, float y, float width,
                                            float height, const plat::IconImage& icon,
                                            const PictureOptions& o) {
    if (handle) return handle;
    fixZeroDelays = o.fixZeroDelays.value_or(false);
    TakeIcon(icon);
    return Finish(parentIn, {x, y, width, height}, o);
}

void UiPicture::TakeIcon(const plat::IconImage& icon) {
    imageBytes.clear();
    gfx::Bitmap bitmap = BitmapFromIcon(icon);
    image.reset();
    if (bitmap.IsValid()) {
        image.emplace();
        image->frames.push_back(std::move(bitmap));
    }
    TakeFrames();
}

void UiPicture::SetIconImage(const plat::IconImage& icon) {
    plat::KillTimer(hwnd, TimerIdOf());
    timerRunning_ = false;
    TakeIcon(icon);
    if (handle) DrawPicture();
}

void UiPicture::TakeFrames() {
    frameCount = HasImage() ? image->FrameCount() : 0;
    animated = frameCount > 1;
    frameIndex = 1;
    frameDelays = HasImage() ? image->delays : std::vector<std::uint32_t>{};
    if (frameDelays.empty()) frameDelays.assign(1, 10);
    if (fixZeroDelays) std::replace(frameDelays.begin(), frameDelays.end(), 0u, 10u);
}

UiControl* UiPicture::Finish(ControlParent parentIn, const RectF& area, const PictureOptions& o) {
    fillColor = o.fillColor.value_or(0);
    drawMode = o.drawMode.value_or(PictureDrawMode::Stretch);
    sliceMargins = o.sliceMargins.value_or(SliceMargins{});
    border = o.border.value_or(0);
    transitionMark = -1;
    return Create(parentIn, area, KIND_PICTURE, o.visible, 1);
}

void UiPicture::DrawImage(gfx::Graphics& g) {
    const gfx::Bitmap& frame =
        image->frames[static_cast<std::size_t>(std::clamp(frameIndex, 1, frameCount) - 1)];
    if (!frame.IsValid()) return;
    const RectF area = SurfaceRect(*this);
    const float iw = static_cast<float>(frame.Width()), ih = static_cast<float>(frame.Height());
    switch (drawMode) {
    case PictureDrawMode::Natural: DrawImageAt(g, frame, area, false); break;
    case PictureDrawMode::Fit: {
        // The whole image, as large as fits without changing its proportions, centred.
        const float scale = std::min(area.width / iw, area.height / ih);
        const float w = std::round(iw * scale), h = std::round(ih * scale);
        g.DrawImage(frame, RectF{std::round((area.width - w) / 2),
                                 std::round((area.height - h) / 2), w, h});
        break;
    }
    case PictureDrawMode::NineSlice: {
        const SliceMargins& m = sliceMargins;
        if (m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0)
            DrawImageAt(g, frame, area, false);
        else DrawNineSlice(&g, &frame, area, m);
        break;
    }
    default: g.DrawImage(frame, area); break;
    }
}

void UiPicture::DrawPicture() {
    const auto advance = [this] { frameIndex = frameIndex >= frameCount ? 1 : frameIndex + 1; };
    if (disabled) {
        if (animated) advance();
        return;
    }
    if (!graphics) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    const RectF area = SurfaceRect(*this);
    if (fillColor != 0)
        g.FillRectangle(gfx::SolidBrush(fillColor),
                        RectF{area.x - 0.5f, area.y - 0.5f, area.width, area.height});
    if (HasImage()) DrawImage(g);
    if (border != 0) DrawBorder(g, area, border);
    if (host && host->keyboardFocus == this) DrawBorder(g, area, BORDER_DASHED);
    EndControlPaint(context);
    if (!animated) return;
    plat::KillTimer(hwnd, TimerIdOf());
    advance();
    const std::uint32_t delay =
        frameDelays[static_cast<std::size_t>(frameIndex - 1) % frameDelays.size()];
    const auto period = std::max<std::uint32_t>(delay * 10, kMinimumFrameMs);
    timerRunning_ = plat::SetTimer(hwnd, TimerIdOf(), static_cast<plat::UINT>(period)) != 0;
}

LResult UiPicture::OnPaint() {
    DrawPicture();
    return 0;
}

LResult UiPicture::OnShown(bool shown) {
    if (shown) DrawPicture();
    return kUnhandled;
}

LResult UiPicture::OnTimer(TimerId id) {
    if (id != TimerIdOf()) return kUnhandled;
    if (transitionMark == -1 && animated) {
        DrawPicture();
    } else {
        plat::KillTimer(hwnd, TimerIdOf());
        timerRunning_ = false;
    }
    return 0;
}

LResult UiPicture::OnTransitionFinished() {
    transitionMark = -1;
    return UiControl::OnTransitionFinished();
}

LResult UiPicture::OnOtherMessage(int message, WParam, LParam) {
    if (message == EV_TRANSITION_STARTED) transitionMark = 0;
    return kUnhandled;
}

LResult UiPicture::OnDestroy() {
    plat::KillTimer(hwnd, TimerIdOf());
    timerRunning_ = false;
    image.reset();
    imageBytes.clear();
    frameDelays.clear();
    frameCount = 0;
    animated = false;
    return kUnhandled;
}

}  // namespace ui
