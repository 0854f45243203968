#include "ui/controls/scroll_bar.h"

#include <algorithm>
#include <array>

#include "platform/gfx/brush.h"
#include "platform/gfx/pen.h"
#include "ui/controls/control_support.h"
#include "ui/core/draw_shapes.h"

namespace ui {

namespace {
constexpr float kThumbCorner = 6;
constexpr int kTrackAlpha = 20;
constexpr int kTrackHoverAlpha = 36;
constexpr int kPartAlpha = 100;
constexpr int kPartActiveAlpha = 160;

gfx::Argb Black(int alpha) { return gfx::MakeColor(static_cast<std::uint8_t>(alpha), 0, 0, 0); }

std::uintptr_t RepeatTimerId(const UiControl* control) {
    return reinterpret_cast<std::uintptr_t>(control);
}
}  // namespace

UiScrollBar::~UiScrollBar() { Destroy(); }

UiControl* UiScrollBar::CreateScrollBar(ControlParent parentIn, const gfx::RectF& area,
                                        int orientationIn, bool visibleIn) {
    if (handle_) return handle_;
    horizontal_ = orientationIn == SCROLL_HORIZONTAL;
    return Create(parentIn, area, KIND_SCROLL_BAR, visibleIn, 1, std::nullopt, 60);
}

void UiScrollBar::ScrollRange(float minimumValue, float maximumValue) {
    minimum_ = minimumValue;
    maximum_ = std::max(minimumValue, maximumValue);
    value_ = std::clamp(value_, minimum_, maximum_);
    DrawBar();
}

float UiScrollBar::ScrollValue(float newValue, bool notify) {
    value_ = std::clamp(newValue, minimum_, maximum_);
    DrawBar();
    if (notify) Notify();
    return value_;
}

void UiScrollBar::Configure(float maximumValue, float pageValue, float stepValue, float value) {
    const Geometry drawn = Measure();
    minimum_ = 0;
    maximum_ = std::max(0.0f, maximumValue);
    page_ = pageValue;
    step_ = stepValue;
    value_ = std::clamp(value, 0.0f, maximum_);
    // A list that grows past the thumb's smallest length changes no pixel.
    if (Measure() != drawn) DrawBar();
}

float UiScrollBar::ScrollStep(std::optional<float> newStep) {
    if (newStep) step_ = *newStep;
    return step_;
}

float UiScrollBar::ScrollPage(std::optional<float> newPage) {
    if (newPage) {
        page_ = std::max(0.0f, *newPage);
        DrawBar();
    }
    return page_;
}

UiScrollBar::Geometry UiScrollBar::Measure() const {
    Geometry g;
    g.length = horizontal_ ? rect_.width : rect_.height;
    g.thickness = horizontal_ ? rect_.height : rect_.width;
    g.arrow = std::max(0.0f, std::min(g.thickness, g.length / 2));
    g.trackStart = g.arrow;
    g.trackLength = std::max(0.0f, g.length - 2 * g.arrow);
    const float range = maximum_ - minimum_;
    if (range > 0) {
        // The thumb shows the visible share of the whole extent.
        const float view = page_ > 0 ? page_ : g.length;
        const float share = view / (view + range);
        g.thumbLength = std::min(g.trackLength, std::max(kMinThumbLength, g.trackLength * share));
        g.thumbStart = g.trackStart + (value_ - minimum_) / range * (g.trackLength - g.thumbLength);
    } else {
        g.thumbLength = g.trackLength;
        g.thumbStart = g.trackStart;
    }
    return g;
}

ScrollPart UiScrollBar::PartAt(float along) const {
    const Geometry g = Measure();
    if (along < g.arrow) return ScrollPart::Decrement;
    if (along >= g.length - g.arrow) return ScrollPart::Increment;
    if (along >= g.thumbStart && along < g.thumbStart + g.thumbLength) return ScrollPart::Thumb;
    return ScrollPart::Track;
}

float UiScrollBar::Along(const MouseEvent& event) const {
    return horizontal_ ? static_cast<float>(event.x) - rect_.x
                       : static_cast<float>(event.y) - rect_.y;
}

void UiScrollBar::Notify() {
    if (changeCallback_) changeCallback_(*this, value_);
}

bool UiScrollBar::MoveTo(float newValue, bool notify) {
    newValue = std::clamp(newValue, minimum_, maximum_);
    if (newValue == value_) return false;
    value_ = newValue;
    DrawBar();
    if (notify) Notify();
    return true;
}

void UiScrollBar::StopRepeat() {
    if (repeating_) plat::KillTimer(hwnd_, RepeatTimerId(this));
    repeating_ = false;
}

void UiScrollBar::Press(float along) {
    const ScrollPart part = PartAt(along);
    const Geometry g = Measure();
    if (part == ScrollPart::Decrement || part == ScrollPart::Increment) {
        pressedPart_ = part;
        MoveTo(value_ + (part == ScrollPart::Decrement ? -step_ : step_), true);
        plat::SetTimer(hwnd_, RepeatTimerId(this), kScrollRepeatMs);
        repeating_ = true;
        DrawBar();
    } else if (part == ScrollPart::Thumb) {
        pressedPart_ = ScrollPart::Thumb;
        dragOffset_ = along - g.thumbStart;
        dragChanged_ = false;
        DrawBar();
    } else {
        // The track: one page towards the press, a page being the thumb's share of the range.
        const float range = maximum_ - minimum_;
        const float movable = g.trackLength - g.thumbLength;
        const float pageAmount =
            movable > 0 ? std::max(step_, range * g.thumbLength / g.trackLength) : range;
        MoveTo(value_ + (along < g.thumbStart ? -pageAmount : pageAmount), true);
    }
}

void UiScrollBar::DragTo(float along) {
    const Geometry g = Measure();
    const float movable = g.trackLength - g.thumbLength;
    if (movable <= 0) return;
    const float start = along - dragOffset_ - g.trackStart;
    const float newValue = minimum_ + start / movable * (maximum_ - minimum_);
    if (MoveTo(newValue, notifyWhileDragging_)) dragChanged_ = true;
}

void UiScrollBar::Repeat() {
    if (pressedPart_ != ScrollPart::Decrement && pressedPart_ != ScrollPart::Increment) {
        StopRepeat();
        return;
    }
    const bool down = pressedPart_ == ScrollPart::Decrement;
    MoveTo(value_ + (down ? -step_ : step_), true);
    if (value_ <= minimum_ && down) StopRepeat();
    if (value_ >= maximum_ && !down) StopRepeat();
}

LResult UiScrollBar::OnDestroy() {
    StopRepeat();
    pressedPart_ = ScrollPart::None;
    return kUnhandled;
}

LResult UiScrollBar::OnPaint() {
    DrawBar();
    return 0;
}

LResult UiScrollBar::OnMouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) return kUnhandled;
    Press(Along(event));
    return 0;
}

LResult UiScrollBar::OnMouseMove(const MouseEvent& event) {
    if (pressedPart_ == ScrollPart::Thumb) {
        DragTo(Along(event));
    } else if (const ScrollPart part = PartAt(Along(event)); part != hoverPart_) {
        hoverPart_ = part;
        DrawBar();
    }
    return 0;
}

LResult UiScrollBar::OnMouseUp(const MouseEvent& event) {
    if (event.button != MouseButton::Left) return kUnhandled;
    const bool dragged = pressedPart_ == ScrollPart::Thumb && dragChanged_;
    StopRepeat();
    pressedPart_ = ScrollPart::None;
    dragChanged_ = false;
    DrawBar();
    if (dragged && !notifyWhileDragging_) Notify();
    return 0;
}

LResult UiScrollBar::OnTimer(TimerId id) {
    if (id == RepeatTimerId(this)) Repeat();
    return 0;
}

LResult UiScrollBar::OnMouseEnter() {
    Hover(true);
    return kUnhandled;
}

LResult UiScrollBar::OnMouseLeave() {
    Hover(false);
    return kUnhandled;
}

void UiScrollBar::Hover(bool entered) {
    hovered_ = entered;
    if (!hovered_) hoverPart_ = ScrollPart::None;
    if (TransitionInterval()) TransitionFrames(kScrollHoverFrames);
    DrawBar();
}

// Losing the capture (the window was deactivated) ends a held arrow.
LResult UiScrollBar::OnFocus(bool gained, UiControl*) {
    if (!gained && pressedPart_ != ScrollPart::None) {
        StopRepeat();
        pressedPart_ = ScrollPart::None;
        DrawBar();
    }
    return kUnhandled;
}

// Held arrows and thumb drags need the capture whether or not the bar takes the focus.
LResult UiScrollBar::OnPressQuery() { return 1; }

void UiScrollBar::DrawBar() {
    if (!graphics_) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const Geometry m = Measure();
    // Maps (along, across) to surface coordinates.
    const auto at = [this](float along, float across) {
        return horizontal_ ? gfx::PointF{along, across} : gfx::PointF{across, along};
    };
    const auto box = [this](float along, float across, float length, float thickness) {
        return horizontal_ ? gfx::RectF{along, across, length, thickness}
                           : gfx::RectF{across, along, thickness, length};
    };
    FillRoundRect(g, box(0, 0, m.length, m.thickness), std::min(kThumbCorner, m.thickness),
                  Black(hovered_ ? kTrackHoverAlpha : kTrackAlpha));

    const auto partAlpha = [this](ScrollPart part) {
        return pressedPart_ == part || hoverPart_ == part ? kPartActiveAlpha : kPartAlpha;
    };
    // Arrows: triangles pointing out of the bar, centred in their squares.
    const float half = m.thickness / 2;
    const float size = std::max(2.0f, m.arrow / 4);
    for (ScrollPart part : {ScrollPart::Decrement, ScrollPart::Increment}) {
        if (m.arrow <= 0) break;
        const float centre = part == ScrollPart::Decrement ? m.arrow / 2 : m.length - m.arrow / 2;
        const float tip = part == ScrollPart::Decrement ? -size : size;
        const std::array<gfx::PointF, 3> points{
            at(centre + tip, half), at(centre - tip, half - size), at(centre - tip, half + size)};
        const gfx::Argb colour = Black(partAlpha(part));
        g.FillPolygon(gfx::SolidBrush(colour), points);
        g.DrawPolygon(gfx::Pen(colour), points);
    }
    if (m.thumbLength > 0) {
        FillRoundRect(g, box(m.thumbStart, 2, m.thumbLength, m.thickness - 4),
                      std::min(kThumbCorner, m.thickness - 4), Black(partAlpha(ScrollPart::Thumb)));
    }
    EndControlPaint(context);
}

}  // namespace ui
