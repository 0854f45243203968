#include "ui/controls/label.h"

#include "ui/controls/control_support.h"
#include "ui/controls/string_format.h"
#include "ui/core/draw_shapes.h"

namespace ui {

UiLabel::~UiLabel() { Destroy(); }

UiControl* UiLabel::CreateLabel(ControlParent parentIn, float x, float y, float width, float height,
                                const rt::Text& value, const LabelOptions& o) {
    if (handle_) return handle_;
    text_ = value;
    TakeStyle(o);
    lineAlignment_ = o.lineAlignment.value_or(0);
    backColor_ = o.backColor.value_or(0);
    border_ = o.border.value_or(0);
    wordWrap_ = o.wordWrap.value_or(false);
    format_ =
        MakeLabelFormat(wordWrap_, o.alignment.value_or(0),
                        o.trimming.value_or(static_cast<int>(gfx::StringTrimming::Character)));
    format_->SetLineAlignment(static_cast<gfx::StringAlignment>(lineAlignment_));
    return Create(parentIn, {x, y, width, height}, KIND_LABEL, o.visible, o.focusable.value_or(0));
}

rt::Text UiLabel::LabelText(std::optional<rt::Text> value) {
    if (value && *value != text_) {
        text_ = *value;
        if (handle_) DrawLabel();
    }
    return text_;
}

LResult UiLabel::OnDestroy() {
    text_.clear();
    ReleaseStyle();
    return kUnhandled;
}

LResult UiLabel::OnPaint() {
    DrawLabel();
    return 0;
}

LResult UiLabel::OnFocus(bool, UiControl*) {
    if (focusable_) DrawLabel();
    return kUnhandled;
}

void UiLabel::DrawLabel() {
    if (!graphics_ || !HasStyle()) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const gfx::RectF area = SurfaceRect(*this);
    if (backColor_ != 0) g.FillRectangle(gfx::SolidBrush(backColor_), area);
    DrawStyledText(g, text_, area);
    if (border_ != 0) DrawBorder(g, area, border_);
    EndControlPaint(context);
}

}  // namespace ui
