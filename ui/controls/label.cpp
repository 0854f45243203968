#include "ui/controls/label.h"

#include "ui/controls/control_support.h"
#include "ui/controls/string_format.h"
#include "ui/core/draw_shapes.h"

namespace ui {

UiLabel::~UiLabel() { Destroy(); }

UiControl* UiLabel::CreateLabel(ControlParent parentIn, float x, float y, float width, float height,
                                const rt::Text& value, const LabelOptions& o) {
    if (handle) return handle;
    text = value;
    TakeStyle(o);
    lineAlignment = o.lineAlignment.value_or(0);
    backColor = o.backColor.value_or(0);
    border = o.border.value_or(0);
    wordWrap = o.wordWrap.value_or(false);
    format = MakeLabelFormat(wordWrap, o.alignment.value_or(0),
                             o.trimming.value_or(static_cast<int>(gfx::StringTrimming::Character)));
    format->SetLineAlignment(static_cast<gfx::StringAlignment>(lineAlignment));
    return Create(parentIn, {x, y, width, height}, KIND_LABEL, o.visible, o.focusable.value_or(0));
}

rt::Text UiLabel::LabelText(std::optional<rt::Text> value) {
    if (value && *value != text) {
        text = *value;
        if (handle) DrawLabel();
    }
    return text;
}

LResult UiLabel::OnDestroy() {
    text.clear();
    ReleaseStyle();
    return kUnhandled;
}

LResult UiLabel::OnPaint() {
    DrawLabel();
    return 0;
}

LResult UiLabel::OnFocus(bool, UiControl*) {
    if (focusable) DrawLabel();
    return kUnhandled;
}

void UiLabel::DrawLabel() {
    if (!graphics || !HasStyle()) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    const gfx::RectF area = SurfaceRect(*this);
    if (backColor != 0) g.FillRectangle(gfx::SolidBrush(backColor), area);
    DrawStyledText(g, text, area);
    if (border != 0) DrawBorder(g, area, border);
    EndControlPaint(context);
}

}  // namespace ui
