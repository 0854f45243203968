#include "ui/controls/picture.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/brush.h"
#include "ui/controls/control_support.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui {

UiPicture::~UiPicture() { Destroy(); }

UiControl* UiPicture::CreatePicture(ControlParent parentIn, float x, float y, float width,
                                    float height, std::span<const std::uint8_t> bytes,
                                    const PictureOptions& o) {
    if (handle_) return handle_;
    imageBytes_.assign(bytes.begin(), bytes.end());
    image_ = LoadImageStream(imageBytes_, false);
    fixZeroDelays_ = o.fixZeroDelays.value_or(false);
    TakeFrames();
    return Finish(parentIn, {x, y, width, height}, o);
}

UiControl* UiPicture::CreatePictureFromIcon(ControlParent parentIn, float x, float y, float width,
                                            float height, const plat::IconImage& icon,
                                            const PictureOptions& o) {
    if (handle_) return handle_;
    fixZeroDelays_ = o.fixZeroDelays.value_or(false);
    TakeIcon(icon);
    return Finish(parentIn, {x, y, width, height}, o);
}

void UiPicture::TakeIcon(const plat::IconImage& icon) {
    imageBytes_.clear();
    gfx::Bitmap bitmap = BitmapFromIcon(icon);
    image_.reset();
    if (bitmap.IsValid()) {
        image_.emplace();
        image_->frames.push_back(std::move(bitmap));
    }
    TakeFrames();
}

void UiPicture::SetIconImage(const plat::IconImage& icon) {
    plat::KillTimer(hwnd_, TimerIdOf());
    timerRunning_ = false;
    TakeIcon(icon);
    if (handle_) DrawPicture();
}

void UiPicture::TakeFrames() {
    frameCount_ = HasImage() ? image_->FrameCount() : 0;
    animated_ = frameCount_ > 1;
    frameIndex_ = 1;
    frameDelays_ = HasImage() ? image_->delays : std::vector<std::uint32_t>{};
    if (frameDelays_.empty()) frameDelays_.assign(1, 10);
    if (fixZeroDelays_) std::replace(frameDelays_.begin(), frameDelays_.end(), 0u, 10u);
}

UiControl* UiPicture::Finish(ControlParent parentIn, const RectF& area, const PictureOptions& o) {
    fillColor_ = o.fillColor.value_or(0);
    drawMode_ = o.drawMode.value_or(PictureDrawMode::Stretch);
    sliceMargins_ = o.sliceMargins.value_or(SliceMargins{});
    border_ = o.border.value_or(0);
    transitionMark_ = -1;
    return Create(parentIn, area, KIND_PICTURE, o.visible, 1);
}

void UiPicture::DrawImage(gfx::Graphics& g) {
    const gfx::Bitmap& frame =
        image_->frames[static_cast<std::size_t>(std::clamp(frameIndex_, 1, frameCount_) - 1)];
    if (!frame.IsValid()) return;
    const RectF area = SurfaceRect(*this);
    const float iw = static_cast<float>(frame.Width()), ih = static_cast<float>(frame.Height());
    switch (drawMode_) {
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
        const SliceMargins& m = sliceMargins_;
        if (m.left == 0 && m.top == 0 && m.right == 0 && m.bottom == 0)
            DrawImageAt(g, frame, area, false);
        else DrawNineSlice(&g, &frame, area, m);
        break;
    }
    default: g.DrawImage(frame, area); break;
    }
}

void UiPicture::DrawPicture() {
    const auto advance = [this] { frameIndex_ = frameIndex_ >= frameCount_ ? 1 : frameIndex_ + 1; };
    if (disabled_) {
        if (animated_) advance();
        return;
    }
    if (!graphics_) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const RectF area = SurfaceRect(*this);
    if (fillColor_ != 0)
        g.FillRectangle(gfx::SolidBrush(fillColor_),
                        RectF{area.x - 0.5f, area.y - 0.5f, area.width, area.height});
    if (HasImage()) DrawImage(g);
    if (border_ != 0) DrawBorder(g, area, border_);
    if (host_ && host_->KeyboardFocus() == this) DrawBorder(g, area, BORDER_DASHED);
    EndControlPaint(context);
    if (!animated_) return;
    plat::KillTimer(hwnd_, TimerIdOf());
    advance();
    const std::uint32_t delay =
        frameDelays_[static_cast<std::size_t>(frameIndex_ - 1) % frameDelays_.size()];
    const auto period = std::max<std::uint32_t>(delay * 10, kMinimumFrameMs);
    timerRunning_ = plat::SetTimer(hwnd_, TimerIdOf(), static_cast<plat::UINT>(period)) != 0;
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
    if (transitionMark_ == -1 && animated_) {
        DrawPicture();
    } else {
        plat::KillTimer(hwnd_, TimerIdOf());
        timerRunning_ = false;
    }
    return 0;
}

LResult UiPicture::OnTransitionFinished() {
    transitionMark_ = -1;
    return UiControl::OnTransitionFinished();
}

LResult UiPicture::OnOtherMessage(int message, WParam, LParam) {
    if (message == EV_TRANSITION_STARTED) transitionMark_ = 0;
    return kUnhandled;
}

LResult UiPicture::OnDestroy() {
    plat::KillTimer(hwnd_, TimerIdOf());
    timerRunning_ = false;
    image_.reset();
    imageBytes_.clear();
    frameDelays_.clear();
    frameCount_ = 0;
    animated_ = false;
    return kUnhandled;
}

}  // namespace ui
