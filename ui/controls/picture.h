// UiPicture: a still or animated image decoded from bytes in memory (PNG,
// JPEG, GIF, BMP) or made from an icon, drawn at natural size, stretched,
// fitted or as a nine-slice. A GIF with several frames plays with its own
// frame delays on a timer of the host window.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/gfx.h"
#include "platform/gfx/image.h"
#include "runtime/text.h"
#include "ui/controls/control.h"
#include "ui/core/draw_images.h"

namespace ui {

enum class PictureDrawMode { Natural = 0, Stretch = 1, Fit = 2, NineSlice = 3 };

// The shortest timer period a frame delay gives, as the window system's
// timers have: a delay of 0 would otherwise fire without pause.
inline constexpr int kMinimumFrameMs = 10;

// Optional values of the create operations; absent ones take the defaults shown.
struct PictureOptions {
    std::optional<gfx::Argb> fillColor;        // none
    std::optional<bool> fixZeroDelays;         // false; true: a delay of 0 plays as 10
    std::optional<PictureDrawMode> drawMode;   // stretched
    std::optional<SliceMargins> sliceMargins;  // none: a nine-slice draws at natural size
    std::optional<std::uint32_t> border;       // a DrawBorder style, 0 = none
    bool visible = true;
};

class UiPicture : public UiControl {
public:
    UiPicture() { PlayTransitionsOnce(); }
    ~UiPicture() override;

    // KIND_PICTURE, focusable. Bytes that do not decode leave a picture without an image.
    UiControl* CreatePicture(ControlParent parent, float x, float y, float width, float height,
                             std::span<const std::uint8_t> bytes,
                             const PictureOptions& options = {});
    // The same from an icon (an ARGB image in memory).
    UiControl* CreatePictureFromIcon(ControlParent parent, float x, float y, float width,
                                     float height, const plat::IconImage& icon,
                                     const PictureOptions& options = {});
    // Shows another icon in place of the image (the window's icon changed).
    void SetIconImage(const plat::IconImage& icon);
    // Draws the frame due and, for an animation, arms the timer for the next.
    void DrawPicture();
    // Whether the frame timer is armed.
    bool TimerArmed() const { return timerRunning_; }
    bool HasImage() const { return image_.has_value() && !image_->frames.empty(); }
    bool Animated() const { return animated_; }
    int FrameCount() const { return frameCount_; }
    // 1-based: the frame drawn next.
    int FrameIndex() const { return frameIndex_; }
    const std::vector<std::uint32_t>& FrameDelays() const { return frameDelays_; }
    const std::optional<gfx::Image>& Image() const { return image_; }

protected:
    LResult OnPaint() override;
    LResult OnShown(bool shown) override;
    LResult OnTimer(TimerId id) override;
    LResult OnTransitionFinished() override;
    LResult OnDestroy() override;
    LResult OnOtherMessage(int message, WParam wParam, LParam lParam) override;

private:
    UiControl* Finish(ControlParent parent, const RectF& area, const PictureOptions& options);
    void TakeFrames();
    void TakeIcon(const plat::IconImage& icon);
    void DrawImage(gfx::Graphics& g);
    TimerId TimerIdOf() const { return reinterpret_cast<TimerId>(this); }

    rt::ByteBuffer imageBytes_;
    std::optional<gfx::Image> image_;
    gfx::Argb fillColor_ = 0;
    std::uint32_t border_ = 0;
    bool animated_ = false;
    int frameCount_ = 0;
    int frameIndex_ = 1;
    std::vector<std::uint32_t> frameDelays_;
    PictureDrawMode drawMode_ = PictureDrawMode::Stretch;
    bool fixZeroDelays_ = false;
    SliceMargins sliceMargins_;
    int transitionMark_ = -1;
    bool timerRunning_ = false;
};

}  // namespace ui
