// UiProgressBar: a bar that fills with a gradient as a position moves from
// its minimum to its maximum.
#pragma once

#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"

namespace ui {

// Optional values of CreateProgressBar; absent ones take the defaults shown.
struct ProgressBarOptions {
    std::optional<float> position;  // 0
    std::optional<float> minimum;   // 0
    std::optional<float> maximum;   // 100
    std::optional<int> vertical;    // 0: fills left to right; 1: bottom to top
    // Further values.
    std::optional<int> shading;   // 1: darken the bar across its direction
    std::optional<float> corner;  // 6: corner size of a rounded bar
    // Colour defaults are RGB values (red in the low byte) through MakeArgb.
    std::optional<gfx::Argb> startColor;   // MakeArgb(0xFF8800, 230): azure
    std::optional<gfx::Argb> endColor;     // MakeArgb(0x80E000, 230): spring green
    std::optional<gfx::Argb> borderColor;  // black at alpha 80
    std::optional<gfx::Argb> backColor;    // white at alpha 210; 0 = no fill
    std::optional<int> rounded;            // the host's corner style
    bool visible = true;
};

// Posted to the bar itself: draw the position it holds now.
inline constexpr int PROGRESS_EV_DRAW = 4130;

// MakeArgb(0xFF8800, 230) and MakeArgb(0x80E000, 230).
inline constexpr gfx::Argb kProgressStartColor = 0xE60088FF;
inline constexpr gfx::Argb kProgressEndColor = 0xE600E080;

class UiProgressBar : public UiControl {
public:
    UiProgressBar() { PlayTransitionsOnce(); }
    ~UiProgressBar() override;

    // KIND_PROGRESS_BAR, not focusable.
    UiControl* CreateProgressBar(ControlParent parent, float x, float y, float width, float height,
                                 const ProgressBarOptions& options = {});
    // Each stores what is given, redraws and returns the current value.
    void ProgressColors(std::optional<gfx::Argb> start, std::optional<gfx::Argb> end);
    gfx::Argb ProgressBackColor(std::optional<gfx::Argb> value = std::nullopt);
    // A new position is drawn once the messages posted before it are handled,
    // so a burst of positions (a search's progress) draws only the last.
    float Position(std::optional<float> value = std::nullopt);
    // Length of the done part along an inner length (0 when the range is empty).
    float DoneLength(float innerLength) const;
    void DrawBar();
    float Minimum() const { return minimum_; }
    float Maximum() const { return maximum_; }
    gfx::Argb StartColor() const { return startColor_; }
    gfx::Argb EndColor() const { return endColor_; }
    gfx::Argb BorderColor() const { return borderColor_; }
    bool Rounded() const { return rounded_; }

protected:
    LResult OnPaint() override;
    LResult OnOtherMessage(int message, WParam wParam, LParam lParam) override;

private:
    float position_ = 0;
    bool drawPosted_ = false;
    float minimum_ = 0;
    float maximum_ = 100;
    bool vertical_ = false;
    bool shading_ = true;
    float corner_ = 6;
    gfx::Argb startColor_ = kProgressStartColor;
    gfx::Argb endColor_ = kProgressEndColor;
    gfx::Argb borderColor_ = 0x50000000;
    gfx::Argb backColor_ = 0xD2FFFFFF;
    bool rounded_ = true;
};

}  // namespace ui
