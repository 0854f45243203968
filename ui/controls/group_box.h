// UiGroupBox: a frame with a caption set into its top edge, drawn around a
// group of controls (its children).
#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"
#include "ui/controls/control_support.h"
#include "ui/controls/text_style.h"

namespace ui {

// Optional values of CreateGroupBox beyond the text style (whose effect and
// effect colour are the box's two further values).
struct GroupBoxOptions : TextStyleOptions {
    std::optional<gfx::Argb> fillColor;    // 0 = no fill
    std::optional<gfx::Argb> borderColor;  // black at alpha 80
    std::optional<int> rounded;            // the host's corner style
    bool visible = true;
};

class UiGroupBox : public UiControl, public TextStyle {
public:
    UiGroupBox() { PlayTransitionsOnce(); }
    ~UiGroupBox() override;

    // KIND_GROUP_BOX, not focusable.
    UiControl* CreateGroupBox(ControlParent parent, float x, float y, float width, float height,
                              const rt::Text& caption, const GroupBoxOptions& options = {});
    // Sets the caption when given (re-measured and redrawn on a change); returns it.
    rt::Text Caption(std::optional<rt::Text> value = std::nullopt);
    // Measures the caption and places the frame and caption rectangles.
    void Layout();
    void DrawGroup();
    gfx::Argb FillColor() const { return fillColor_; }
    // Surface coordinates, from Layout.
    gfx::RectF FrameRect() const { return frameRect_; }
    gfx::RectF CaptionRect() const { return captionRect_; }

protected:
    LResult OnCreate() override;
    LResult OnDestroy() override;
    LResult OnResize(int width, int height) override;
    LResult OnPaint() override;

private:
    rt::Text caption_;
    gfx::Argb fillColor_ = 0;
    gfx::Argb borderColor_ = 0x50000000;
    bool rounded_ = true;
    gfx::RectF frameRect_;
    gfx::RectF captionRect_;
};

}  // namespace ui
