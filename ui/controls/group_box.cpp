#include "ui/controls/group_box.h"

#include "ui/controls/control_support.h"
#include "ui/controls/string_format.h"
#include "ui/core/draw_shapes.h"

namespace ui {

namespace {
constexpr float kCaptionX = 8;
constexpr float kCaptionY = 2;
constexpr float kCorner = 6;
}  // namespace

UiGroupBox::~UiGroupBox() { Destroy(); }

UiControl* UiGroupBox::CreateGroupBox(ControlParent parentIn, float x, float y, float width,
                                      float height, const rt::Text& text,
                                      const GroupBoxOptions& o) {
    if (handle) return handle;
    caption = text;
    TakeStyle(o);
    format = MakeCaptionFormat(0);
    fillColor = o.fillColor.value_or(0);
    borderColor = o.borderColor.value_or(0x50000000);
    rounded = CornersRounded(o.rounded, parentIn);
    return Create(parentIn, {x, y, width, height}, KIND_GROUP_BOX, o.visible, 0);
}

rt::Text UiGroupBox::Caption(std::optional<rt::Text> value) {
    if (value && *value != caption) {
        caption = *value;
        Layout();
        DrawGroup();
    }
    return caption;
}

void UiGroupBox::Layout() {
    if (!graphics || !HasStyle()) return;
    const gfx::TextMeasure m = MeasureStyledText(*graphics, caption);
    const float captionHeight = caption.empty() ? font->Height() : m.bounds.height;
    const float captionWidth = caption.empty() ? 0 : m.bounds.width + 1;
    captionRect = {kCaptionX, kCaptionY, captionWidth, captionHeight};
    // The frame's top edge runs through the middle of the caption.
    const float top = kCaptionY + static_cast<float>(static_cast<int>(captionHeight / 2));
    frameRect = {1, top, rect.width - 2, rect.height - top - 1};
}

LResult UiGroupBox::OnCreate() {
    Layout();
    return kUnhandled;
}

LResult UiGroupBox::OnDestroy() {
    caption.clear();
    ReleaseStyle();
    return kUnhandled;
}

LResult UiGroupBox::OnResize(int, int) {
    Layout();
    return kUnhandled;
}

LResult UiGroupBox::OnPaint() {
    DrawGroup();
    return 0;
}

void UiGroupBox::DrawGroup() {
    if (!graphics || !HasStyle()) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    if (fillColor != 0) {
        if (rounded) FillRoundRect(g, frameRect, kCorner, fillColor);
        else g.FillRectangle(gfx::SolidBrush(fillColor), frameRect);
    }
    // The outline is broken behind the caption.
    if (!caption.empty()) g.SetClip(captionRect, gfx::CombineMode::Exclude);
    if (rounded) StrokeRoundRect(g, frameRect, kCorner, borderColor);
    else
        g.DrawRectangle(gfx::Pen(borderColor),
                        {frameRect.x, frameRect.y, frameRect.width - 1, frameRect.height - 1});
    g.ResetClip();
    DrawStyledText(g, caption, captionRect);
    EndControlPaint(context);
}

}  // namespace ui
