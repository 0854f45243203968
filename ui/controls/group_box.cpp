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
    if (handle_) return handle_;
    caption_ = text;
    TakeStyle(o);
    format_ = MakeCaptionFormat(0);
    fillColor_ = o.fillColor.value_or(0);
    borderColor_ = o.borderColor.value_or(0x50000000);
    rounded_ = CornersRounded(o.rounded, parentIn);
    return Create(parentIn, {x, y, width, height}, KIND_GROUP_BOX, o.visible, 0);
}

rt::Text UiGroupBox::Caption(std::optional<rt::Text> value) {
    if (value && *value != caption_) {
        caption_ = *value;
        Layout();
        DrawGroup();
    }
    return caption_;
}

void UiGroupBox::Layout() {
    if (!graphics_ || !HasStyle()) return;
    const gfx::TextMeasure m = MeasureStyledText(*graphics_, caption_);
    const float captionHeight = caption_.empty() ? font_->Height() : m.bounds.height;
    const float captionWidth = caption_.empty() ? 0 : m.bounds.width + 1;
    captionRect_ = {kCaptionX, kCaptionY, captionWidth, captionHeight};
    // The frame's top edge runs through the middle of the caption.
    const float top = kCaptionY + static_cast<float>(static_cast<int>(captionHeight / 2));
    frameRect_ = {1, top, rect_.width - 2, rect_.height - top - 1};
}

LResult UiGroupBox::OnCreate() {
    Layout();
    return kUnhandled;
}

LResult UiGroupBox::OnDestroy() {
    caption_.clear();
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
    if (!graphics_ || !HasStyle()) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    if (fillColor_ != 0) {
        if (rounded_) FillRoundRect(g, frameRect_, kCorner, fillColor_);
        else g.FillRectangle(gfx::SolidBrush(fillColor_), frameRect_);
    }
    // The outline is broken behind the caption.
    if (!caption_.empty()) g.SetClip(captionRect_, gfx::CombineMode::Exclude);
    if (rounded_) StrokeRoundRect(g, frameRect_, kCorner, borderColor_);
    else
        g.DrawRectangle(gfx::Pen(borderColor_),
                        {frameRect_.x, frameRect_.y, frameRect_.width - 1, frameRect_.height - 1});
    g.ResetClip();
    DrawStyledText(g, caption_, captionRect_);
    EndControlPaint(context);
}

}  // namespace ui
