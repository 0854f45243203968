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
    if (handle) return handle;
    horizontal = orientationIn == SCROLL_HORIZONTAL;
    return Create(parentIn, area, KIND_SCROLL_BAR, visibleIn, 1, std::nullopt, 60);
}

void UiScrollBar::ScrollRange(float minimumValue, float maximumValue) {
    minimum = minimumValue;
    maximum = std::max(minimumValue, maximumValue);
    value = std::clamp(value, minimum, maximum);
    DrawBar();
}

float UiScrollBar::ScrollValue(std::optional<float> newValue, bool notify) {
    if (newValue) {
        value = std::clamp(*newValue, minimum, maximum);
        DrawBar();
        if (notify) Notify();
    }
    return value;
}

float UiScrollBar::ScrollStep(std::optional<float> newStep) {
    if (newStep) step = *newStep;
    return step;
}

float UiScrollBar::ScrollPage(std::optional<float> newPage) {
    if (newPage) {
        page = std::max(0.0f, *newPage);
        DrawBar();
    }
    return page;
}

UiScrollBar::Geometry UiScrollBar::Measure() const {
    Geometry g;
    g.length = horizontal ? rect.width : rect.height;
    g.thickness = horizontal ? rect.height : rect.width;
    g.arrow = std::max(0.0f, std::min(g.thickness, g.length / 2));
    g.trackStart = g.arrow;
    g.trackLength = std::max(0.0f, g.length - 2 * g.arrow);
    const float range = maximum - minimum;
    if (range > 0) {
        // The thumb shows the visible share of the whole extent.
        const float view = page > 0 ? page : g.length;
        const float share = view / (view + range);
        g.thumbLength = std::min(g.trackLength, std::max(kMinThumbLength, g.trackLength * share));
        g.thumbStart = g.trackStart + (value - minimum) / range * (g.trackLength - g.thumbLength);
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
    return horizontal ? static_cast<float>(event.x) - rect.x : static_cast<float>(event.y) - rect.y;
}

void UiScrollBar::Notify() {
    if (changeCallback) changeCallback(*this, value);
}

bool UiScrollBar::MoveTo(float newValue, bool notify) {
    newValue = std::clamp(newValue, minimum, maximum);
    if (newValue == value) return false;
    value = newValue;
    DrawBar();
    if (notify) Notify();
    return true;
}

void UiScrollBar::StopRepeat() {
    if (repeating_) plat::KillTimer(hwnd, RepeatTimerId(this));
    repeating_ = false;
}

void UiScrollBar::Press(float along) {
    const ScrollPart part = PartAt(along);
    const Geometry g = Measure();
    if (part == ScrollPart::Decrement || part == ScrollPart::Increment) {
        pressedPart = part;
        MoveTo(value + (part == ScrollPart::Decrement ? -step : step), true);
        plat::SetTimer(hwnd, RepeatTimerId(this), kScrollRepeatMs);
        repeating_ = true;
        DrawBar();
    } else if (part == ScrollPart::Thumb) {
        pressedPart = ScrollPart::Thumb;
        dragOffset = along - g.thumbStart;
        dragChanged_ = false;
        DrawBar();
    } else {
        // The track: one page towards the press, a page being the thumb's share of the range.
        const float range = maximum - minimum;
        const float movable = g.trackLength - g.thumbLength;
        const float pageAmount =
            movable > 0 ? std::max(step, range * g.thumbLength / g.trackLength) : range;
        MoveTo(value + (along < g.thumbStart ? -pageAmount : pageAmount), true);
    }
}

void UiScrollBar::DragTo(float along) {
    const Geometry g = Measure();
    const float movable = g.trackLength - g.thumbLength;
    if (movable <= 0) return;
    const float start = along - dragOffset - g.trackStart;
    const float newValue = minimum + start / movable * (maximum - minimum);
    if (MoveTo(newValue, notifyWhileDragging)) dragChanged_ = true;
}

void UiScrollBar::Repeat() {
    if (pressedPart != ScrollPart::Decrement && pressedPart != ScrollPart::Increment) {
        StopRepeat();
        return;
    }
    const bool down = pressedPart == ScrollPart::Decrement;
    MoveTo(value + (down ? -step : step), true);
    if (value <= minimum && down) StopRepeat();
    if (value >= maximum && !down) StopRepeat();
}

LResult UiScrollBar::OnDestroy() {
    StopRepeat();
    pressedPart = ScrollPart::None;
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
    if (pressedPart == ScrollPart::Thumb) {
        DragTo(Along(event));
    } else if (const ScrollPart part = PartAt(Along(event)); part != hoverPart) {
        hoverPart = part;
        DrawBar();
    }
    return 0;
}

LResult UiScrollBar::OnMouseUp(const MouseEvent& event) {
    if (event.button != MouseButton::Left) return kUnhandled;
    const bool dragged = pressedPart == ScrollPart::Thumb && dragChanged_;
    StopRepeat();
    pressedPart = ScrollPart::None;
    dragChanged_ = false;
    DrawBar();
    if (dragged && !notifyWhileDragging) Notify();
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
    hovered = entered;
    if (!hovered) hoverPart = ScrollPart::None;
    if (transitionInterval) TransitionFrames(kScrollHoverFrames);
    DrawBar();
}

// Losing the capture (the window was deactivated) ends a held arrow.
LResult UiScrollBar::OnFocus(bool gained, UiControl*) {
    if (!gained && pressedPart != ScrollPart::None) {
        StopRepeat();
        pressedPart = ScrollPart::None;
        DrawBar();
    }
    return kUnhandled;
}

// Held arrows and thumb drags need the capture whether or not the bar takes the focus.
LResult UiScrollBar::OnPressQuery() { return 1; }

void UiScrollBar::DrawBar() {
    if (!graphics) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    const Geometry m = Measure();
    // Maps (along, across) to surface coordinates.
    const auto at = [this](float along, float across) {
        return horizontal ? gfx::PointF{along, across} : gfx::PointF{across, along};
    };
    const auto box = [this](float along, float across, float length, float thickness) {
        return horizontal ? gfx::RectF{along, across, length, thickness}
                          : gfx::RectF{across, along, thickness, length};
    };
    FillRoundRect(g, box(0, 0, m.length, m.thickness), std::min(kThumbCorner, m.thickness),
                  Black(hovered ? kTrackHoverAlpha : kTrackAlpha));

    const auto partAlpha = [this](ScrollPart part) {
        return pressedPart == part || hoverPart == part ? kPartActiveAlpha : kPartAlpha;
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
