#include "ui/controls/progress_bar.h"

#include <algorithm>

#include "platform/gfx/region.h"
#include "ui/controls/control_support.h"
#include "ui/core/draw_shapes.h"

namespace ui {

UiProgressBar::~UiProgressBar() { Destroy(); }

UiControl* UiProgressBar::CreateProgressBar(ControlParent parentIn, float x, float y, float width,
                                            float height, const ProgressBarOptions& o) {
    if (handle_) return handle_;
    position_ = o.position.value_or(0);
    minimum_ = o.minimum.value_or(0);
    maximum_ = o.maximum.value_or(100);
    vertical_ = o.vertical.value_or(0) != 0;
    shading_ = o.shading.value_or(1) != 0;
    corner_ = o.corner.value_or(6);
    startColor_ = o.startColor.value_or(kProgressStartColor);
    endColor_ = o.endColor.value_or(kProgressEndColor);
    borderColor_ = o.borderColor.value_or(0x50000000);
    backColor_ = o.backColor.value_or(0xD2FFFFFF);
    rounded_ = CornersRounded(o.rounded, parentIn);
    return Create(parentIn, {x, y, width, height}, KIND_PROGRESS_BAR, o.visible, 0);
}

void UiProgressBar::ProgressColors(std::optional<gfx::Argb> start, std::optional<gfx::Argb> end) {
    if (start) startColor_ = *start;
    if (end) endColor_ = *end;
    DrawBar();
}

gfx::Argb UiProgressBar::ProgressBackColor(std::optional<gfx::Argb> value) {
    if (value) {
        backColor_ = *value;
        DrawBar();
    }
    return backColor_;
}

float UiProgressBar::Position(std::optional<float> value) {
    if (value && *value != position_) {
        position_ = *value;
        if (!drawPosted_ && GetHandle()) {
            drawPosted_ = true;
            PostEvent(PROGRESS_EV_DRAW);
        }
    }
    return position_;
}

LResult UiProgressBar::OnOtherMessage(int message, WParam, LParam) {
    if (message != PROGRESS_EV_DRAW) return kUnhandled;
    drawPosted_ = false;
    DrawBar();
    return 0;
}

float UiProgressBar::DoneLength(float innerLength) const {
    // An empty or inverted range shows nothing rather than dividing by zero;
    // a position outside the range is held to it.
    if (!(maximum_ > minimum_)) return 0;
    const float fraction = std::clamp((position_ - minimum_) / (maximum_ - minimum_), 0.0f, 1.0f);
    return fraction * innerLength;
}

LResult UiProgressBar::OnPaint() {
    DrawBar();
    return 0;
}

void UiProgressBar::DrawBar() {
    if (!graphics_) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const gfx::RectF full = SurfaceRect(*this);
    const gfx::RectF inner{full.x + 2, full.y + 2, full.width - 4, full.height - 4};
    using Mode = gfx::LinearGradientMode;
    if (backColor_ != 0) {
        if (rounded_) FillRoundRect(g, inner, corner_, backColor_);
        else g.FillRectangle(gfx::SolidBrush(backColor_), inner);
    }
    if (shading_)
        FillGradient(g, inner, 0x00000000, 0x33000000,
                     vertical_ ? Mode::Horizontal : Mode::Vertical);
    const float length = DoneLength(vertical_ ? inner.height : inner.width);
    if (length > 0) {
        gfx::RectF done = inner;
        if (vertical_) {
            done.y = inner.y + inner.height - length;
            done.height = length;
        } else {
            done.width = length;
        }
        if (rounded_) {
            const gfx::Region clip = gfx::Region::RoundRect(
                static_cast<int>(inner.x), static_cast<int>(inner.y),
                static_cast<int>(inner.Right()), static_cast<int>(inner.Bottom()),
                static_cast<int>(corner_), static_cast<int>(corner_));
            g.SetClip(clip, gfx::CombineMode::Intersect);
        }
        // Along the bar: left to right, or bottom to top for a vertical bar.
        if (vertical_) FillGradient(g, done, endColor_, startColor_, Mode::Vertical);
        else FillGradient(g, done, startColor_, endColor_, Mode::Horizontal);
        g.ResetClip();
    }
    if (rounded_) StrokeRoundRect(g, inner, corner_, borderColor_);
    else
        g.DrawRectangle(gfx::Pen(borderColor_),
                        {inner.x, inner.y, inner.width - 1, inner.height - 1});
    EndControlPaint(context);
}

}  // namespace ui
