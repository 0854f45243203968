// UiScrollBar: a bar with two arrows and a thumb, embedded in lists and
// multi-line edits. Arrows repeat every 100 ms while held, the thumb drags,
// and a press on the track moves the value one page towards the press.
#pragma once

#include <functional>
#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"

namespace ui {

class UiScrollBar;

// Called with the bar and its new value whenever the value changes by input.
using ScrollChangeCallback = std::function<void(UiScrollBar& bar, float value)>;

// Parts of a bar (pressedPart and hoverPart).
enum class ScrollPart { None = 0, Decrement = 1, Increment = 2, Thumb = 3, Track = 4 };

// CreateScrollBar's orientation code for a horizontal bar; any other is vertical.
inline constexpr int SCROLL_HORIZONTAL = 1;
inline constexpr int kScrollRepeatMs = 100;
inline constexpr int kScrollHoverFrames = 5;
// A thumb is never shorter than this (unless the track itself is).
inline constexpr float kMinThumbLength = 16;

class UiScrollBar : public UiControl {
public:
    UiScrollBar() { PlayTransitionsOnce(); }
    ~UiScrollBar() override;

    // KIND_SCROLL_BAR, focusable, 60 ms transitions; orientation 1 horizontal, else vertical.
    UiControl* CreateScrollBar(ControlParent parent, const gfx::RectF& rect, int orientation,
                               bool visible = true);
    // Sets the range (a maximum below the minimum becomes the minimum); the
    // value is held inside it.
    void ScrollRange(float minimumValue, float maximumValue);
    float ScrollValue() const { return value_; }
    // Sets the value (held to the range) and redraws; notifies the owner when
    // asked. Returns the value.
    float ScrollValue(float value, bool notify = false);
    float ScrollStep(std::optional<float> value = std::nullopt);
    // The visible extent the range scrolls over, which sizes the thumb; 0 uses
    // the bar's own length.
    float ScrollPage(std::optional<float> value = std::nullopt);
    // Range, page, step and value at once, with one drawing; the value is
    // held inside the range.
    void Configure(float maximumValue, float pageValue, float stepValue, float value);
    void SetChangeCallback(ScrollChangeCallback callback) { changeCallback_ = std::move(callback); }
    // false: a thumb drag notifies once, when the thumb is let go.
    void NotifyWhileDragging(bool value) { notifyWhileDragging_ = value; }
    bool Horizontal() const { return horizontal_; }
    float Minimum() const { return minimum_; }
    float Maximum() const { return maximum_; }
    float Page() const { return page_; }
    ScrollPart PressedPart() const { return pressedPart_; }
    ScrollPart HoverPart() const { return hoverPart_; }
    bool Hovered() const { return hovered_; }

    // Geometry along the bar, in surface coordinates.
    struct Geometry {
        float length = 0;     // along the bar
        float thickness = 0;  // across it
        float arrow = 0;      // length of each arrow square
        float trackStart = 0;
        float trackLength = 0;
        float thumbStart = 0;
        float thumbLength = 0;
        bool operator==(const Geometry&) const = default;
    };
    Geometry Measure() const;
    // The part at a distance along the bar.
    ScrollPart PartAt(float along) const;
    void DrawBar();

protected:
    LResult OnDestroy() override;
    LResult OnPaint() override;
    LResult OnMouseDown(const MouseEvent& event) override;
    LResult OnMouseMove(const MouseEvent& event) override;
    LResult OnMouseUp(const MouseEvent& event) override;
    LResult OnTimer(TimerId id) override;
    LResult OnMouseEnter() override;
    LResult OnMouseLeave() override;
    LResult OnFocus(bool gained, UiControl* other) override;
    LResult OnPressQuery() override;

private:
    // Distance along the bar of a mouse position in host coordinates.
    float Along(const MouseEvent& event) const;
    // Sets the value from input: held to the range, redrawn, and the owner
    // notified when `notify` is set. Returns whether it changed.
    bool MoveTo(float newValue, bool notify);
    void Notify();
    void StopRepeat();
    void Press(float along);
    void DragTo(float along);
    void Repeat();
    void Hover(bool entered);

    float minimum_ = 0;
    float maximum_ = 100;
    float step_ = 1;
    bool notifyWhileDragging_ = true;
    bool horizontal_ = false;  // the orientation
    ScrollPart pressedPart_ = ScrollPart::None;
    float value_ = 0;
    float dragOffset_ = 0;
    ScrollPart hoverPart_ = ScrollPart::None;
    ScrollChangeCallback changeCallback_;
    float page_ = 0;
    bool hovered_ = false;
    bool dragChanged_ = false;
    bool repeating_ = false;
};

}  // namespace ui
