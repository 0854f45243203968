#include "ui/controls/progress_bar.h"

#include <algorithm>

#include "platform/gfx/region.h"
#include "ui/controls/control_support.h"
#include "ui/core/draw_shapes.h"

namespace ui {

UiProgressBar::~UiProgressBar() { Destroy(); }

UiControl* UiProgressBar::CreateProgressBar(ControlParent parentIn, float x, float y, float width,
                                            float height, const ProgressBarOptions& o) {
    if (handle) return handle;
    position = o.position.value_or(0);
    minimum = o.minimum.value_or(0);
    maximum = o.maximum.value_or(100);
    vertical = o.vertical.value_or(0) != 0;
    shading = o.shading.value_or(1) != 0;
    corner = o.corner.value_or(6);
    startColor = o.startColor.value_or(kProgressStartColor);
    endColor = o.endColor.value_or(kProgressEndColor);
    borderColor = o.borderColor.value_or(0x50000000);
    backColor = o.backColor.value_or(0xD2FFFFFF);
    rounded = CornersRounded(o.rounded, parentIn);
    return Create(parentIn, {x, y, width, height}, KIND_PROGRESS_BAR, o.visible, 0);
}

void UiProgressBar::ProgressColors(std::optional<gfx::Argb> start, std::optional<gfx::Argb> end) {
    if (start) startColor = *start;
    if (end) endColor = *end;
    DrawBar();
}

gfx::Argb UiProgressBar::ProgressBackColor(std::optional<gfx::Argb> value) {
    if (value) {
        backColor = *value;
        DrawBar();
    }
    return backColor;
}

float UiProgressBar::Position(std::optional<float> value) {
    if (value) {
        position = *value;
        DrawBar();
    }
    return position;
}

float UiProgressBar::DoneLength(float innerLength) const {
    // An empty or inverted range shows nothing rather than dividing by zero;
    // a position outside the range is held to it.
    if (!(maximum > minimum)) return 0;
    const float fraction = std::clamp((position - minimum) / (maximum - minimum), 0.0f, 1.0f);
    return fraction * innerLength;
}

LResult UiProgressBar::OnPaint() {
    DrawBar();
    return 0;
}

void UiProgressBar::DrawBar() {
    if (!graphics) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    const gfx::RectF full = SurfaceRect(*this);
    const gfx::RectF inner{full.x + 2, full.y + 2, full.width - 4, full.height - 4};
    using Mode = gfx::LinearGradientMode;
    if (backColor != 0) {
        if (rounded) FillRoundRect(g, inner, corner, backColor);
        else g.FillRectangle(gfx::SolidBrush(backColor), inner);
    }
    if (shading)
        FillGradient(g, inner, 0x00000000, 0x33000000,
                     vertical ? Mode::Horizontal : Mode::Vertical);
    const float length = DoneLength(vertical ? inner.height : inner.width);
    if (length > 0) {
        gfx::RectF done = inner;
        if (vertical) {
            done.y = inner.y + inner.height - length;
            done.height = length;
        } else {
            done.width = length;
        }
        if (rounded) {
            const gfx::Region clip = gfx::Region::RoundRect(
                static_cast<int>(inner.x), static_cast<int>(inner.y),
                static_cast<int>(inner.Right()), static_cast<int>(inner.Bottom()),
                static_cast<int>(corner), static_cast<int>(corner));
            g.SetClip(clip, gfx::CombineMode::Intersect);
        }
        // Along the bar: left to right, or bottom to top for a vertical bar.
        if (vertical) FillGradient(g, done, endColor, startColor, Mode::Vertical);
        else FillGradient(g, done, startColor, endColor, Mode::Horizontal);
        g.ResetClip();
    }
    if (rounded) StrokeRoundRect(g, inner, corner, borderColor);
    else
        g.DrawRectangle(gfx::Pen(borderColor),
                        {inner.x, inner.y, inner.width - 1, inner.height - 1});
    EndControlPaint(context);
}

}  // namespace ui
