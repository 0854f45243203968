// UiButton: a push button with a caption, an access key and faded state
// changes. UiCheckBox builds on it through the three hooks.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"
#include "ui/controls/control_support.h"
#include "ui/controls/text_style.h"

namespace ui {

// Visual states of a button; the drawing routine also takes the faded look.
enum class ButtonState { Faded = -1, Normal = 0, Hovered = 1, Pressed = 2, Focused = 3 };

// Frames of the fade between two looks, at the 60 ms transition interval.
inline constexpr int kButtonFadeFrames = 4;
inline constexpr int kButtonTransitionInterval = 60;

// Optional values of CreateButton beyond the text style.
struct ButtonOptions : TextStyleOptions {
    std::optional<int> rounded;  // the host's corner style
    bool visible = true;
};

class UiButton : public UiControl, public TextStyle {
public:
    UiButton() { PlayTransitionsOnce(); }
    ~UiButton() override;

    // KIND_BUTTON, focusable, 60 ms transitions. Check boxes are created by it too.
    UiControl* CreateButton(ControlParent parent, float x, float y, float width, float height,
                            const rt::Text& text, const ButtonOptions& options = {});
    // Sets the caption when given; on a change re-registers the access key
    // and redraws. Returns the caption.
    rt::Text ButtonText(std::optional<rt::Text> value = std::nullopt);
    // Draws the button in look `s`, which becomes its state.
    void DrawState(ButtonState s);
    ButtonState State() const { return state_; }
    bool Rounded() const { return rounded_; }
    // Called on every click, by mouse, key or access key; a check box has
    // flipped its tick by then.
    void SetClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

protected:
    // Drawing hooks a check box replaces.
    virtual bool SkipChrome() const { return false; }
    virtual void DrawContent(gfx::Graphics& g, const gfx::RectF& area) { (void)g, (void)area; }

    LResult OnCreate() override;
    LResult OnDestroy() override;
    LResult OnPaint() override;
    LResult OnMouseDown(const MouseEvent& event) override;
    LResult OnMouseUp(const MouseEvent& event) override;
    LResult OnMouseEnter() override;
    LResult OnMouseLeave() override;
    LResult OnFocus(bool gained, UiControl* other) override;
    LResult OnClick() override;
    LResult OnRecache() override;

    // Where the caption goes: centred on the button; a check box puts it right of its glyph.
    virtual gfx::RectF CaptionRect(const gfx::RectF& area);
    void DrawChrome(gfx::Graphics& g, const gfx::RectF& area, ButtonState s);
    void AnimateTo(ButtonState s);

    ButtonState state_ = ButtonState::Normal;
    rt::Text text_;

private:
    bool rounded_ = true;
    std::function<void()> clickHandler_;
};

}  // namespace ui
