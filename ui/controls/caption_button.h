// UiCaptionButton: the close, maximise/restore and minimise buttons (and the
// further kinds) a host window puts in its caption. Each draws a cell of the
// caption-button strip.
#pragma once

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"

namespace ui {

// Button types: the caption flag bits that create them, so they stay plain
// integers that combine with the flags.
enum CaptionButtonType : int {
    CAPTION_BUTTON_CLOSE = 4,
    CAPTION_BUTTON_MAXIMIZE = 8,
    CAPTION_BUTTON_MINIMIZE = 16,
    CAPTION_BUTTON_MENU = 32,
    CAPTION_BUTTON_MORE = 64,
    CAPTION_BUTTON_PIN = 128,
    CAPTION_BUTTON_HELP = 256,
};

inline constexpr int kCaptionButtonFadeFrames = 4;

// Cell looks, in the strip's order.
enum class CaptionLook { Normal = 0, Hovered = 1, Pressed = 2 };

class UiCaptionButton : public UiControl {
public:
    UiCaptionButton() { PlayTransitionsOnce(); }
    ~UiCaptionButton() override;

    // KIND_CAPTION_BUTTON, 60 ms transitions; never focusable, so Tab passes
    // it by. `strip` is the process-wide caption-button image; it must
    // outlive the button (null draws nothing).
    UiControl* CreateCaptionButton(ControlParent parent, const gfx::RectF& rect, int type,
                                   const gfx::Bitmap* strip, bool visible = true);
    // The strip cell (x, width) for this button's type, window state and look.
    gfx::RectF CellRect(CaptionLook look) const;
    void DrawLook(CaptionLook look);
    int ButtonType() const { return buttonType_; }
    CaptionLook Look() const { return look_; }

protected:
    LResult OnPaint() override;
    LResult OnMouseDown(const MouseEvent& event) override;
    LResult OnMouseUp(const MouseEvent& event) override;
    LResult OnMouseEnter() override;
    LResult OnMouseLeave() override;
    LResult OnClick() override;
    LResult OnPressQuery() override;
    LResult OnMoved() override;

private:
    void AnimateTo(CaptionLook newLook);

    int buttonType_ = 0;
    const gfx::Bitmap* skinStrip_ = nullptr;
    CaptionLook look_ = CaptionLook::Normal;
};

}  // namespace ui
