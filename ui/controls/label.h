// UiLabel: static text, optionally over a fill, with the glow or shadow of
// the effect-text routine.
#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"
#include "ui/controls/control_support.h"
#include "ui/controls/text_style.h"

namespace ui {

// Optional values of CreateLabel beyond the text style; absent ones take the
// defaults shown.
struct LabelOptions : TextStyleOptions {
    // Further style values.
    std::optional<int> lineAlignment;     // vertical placement: 0 top, 1 centre, 2 bottom
    std::optional<gfx::Argb> backColor;   // fill under the text, 0 = none
    std::optional<int> focusable;         // 0
    std::optional<std::uint32_t> border;  // a DrawBorder style, 0 = none
    std::optional<bool> wordWrap;         // false: one line
    std::optional<int> alignment;         // gfx::StringAlignment, near
    std::optional<int> trimming;          // gfx::StringTrimming, character
    bool visible = true;
};

class UiLabel : public UiControl, public TextStyle {
public:
    UiLabel() { PlayTransitionsOnce(); }
    ~UiLabel() override;

    // KIND_LABEL, not focusable unless asked.
    UiControl* CreateLabel(ControlParent parent, float x, float y, float width, float height,
                           const rt::Text& text, const LabelOptions& options = {});
    // Sets the text when given (redrawing on change); returns the text.
    rt::Text LabelText(std::optional<rt::Text> value = std::nullopt);
    void DrawLabel();
    bool WordWrap() const { return wordWrap_; }
    int LineAlignment() const { return lineAlignment_; }
    gfx::Argb BackColor() const { return backColor_; }

protected:
    LResult OnDestroy() override;
    LResult OnPaint() override;
    LResult OnFocus(bool gained, UiControl* other) override;

private:
    rt::Text text_;
    bool wordWrap_ = false;
    int lineAlignment_ = 0;
    gfx::Argb backColor_ = 0;
    std::uint32_t border_ = 0;
};

}  // namespace ui
