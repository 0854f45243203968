// UiEdit: geometry, scrolling, the caret and drawing.
#include <algorithm>
#include <cmath>

#include "ui/controls/control_support.h"
#include "ui/controls/edit.h"
#include "ui/core/shown_text.h"

namespace ui {

namespace {
constexpr gfx::Argb kSelectionColor = 0x703085C6;
constexpr float kPadX = 3;
constexpr float kPadY = 2;

bool Shown(const UiScrollBar& bar) { return bar.GetHandle() && bar.Visible(); }
}  // namespace

float UiEdit::LineHeight() const { return font_ ? std::ceil(font_->Height()) : 16.0f; }

gfx::RectF UiEdit::TextArea() const {
    const float right = Shown(verticalBar_) ? kEditScrollBarWidth : 0;
    const float bottom = Shown(horizontalBar_) ? kEditScrollBarWidth : 0;
    return {kPadX, kPadY, std::max(0.0f, rect_.width - 2 * kPadX - right),
            std::max(0.0f, rect_.height - 2 * kPadY - bottom)};
}

float UiEdit::FirstLineY() const {
    if (multiline_) return kPadY;
    return std::floor((rect_.height - LineHeight()) / 2);
}

int UiEdit::ShownColumnsPerColumn() const {
    return inputMode_ == EditMode::Password ? UiEditLines::CountColumns(maskText_) : 1;
}

rt::Text UiEdit::ShownLine(int line) const {
    const std::string_view shown = ShownPart(lines_.Line(line));
    if (inputMode_ != EditMode::Password) return rt::Text(shown);
    rt::Text masked;
    for (int i = UiEditLines::CountColumns(rt::Text(shown)); i > 0; --i) masked += maskText_;
    return masked;
}

float UiEdit::ContentHeight() const { return LineHeight() * static_cast<float>(lines_.Count()); }

float UiEdit::ContentWidth() const {
    if (!graphics_ || !font_) return 0;
    float widest = 0;
    for (int line = 1; line <= lines_.Count(); ++line) {
        const rt::Text shown = ShownLine(line);
        widest = std::max(widest, UiEditLines::ColumnX(*graphics_, *font_, *textFormat_, shown,
                                                       UiEditLines::CountColumns(shown)));
    }
    return widest + 2;
}

float UiEdit::ColumnX(int column) const {
    if (!graphics_ || !font_) return 0;
    return kPadX + scrollX_ +
           UiEditLines::ColumnX(*graphics_, *font_, *textFormat_, ShownLine(1),
                                column * ShownColumnsPerColumn());
}

int UiEdit::PositionToColumn(int line, float x) const {
    if (!graphics_ || !font_) return 0;
    const rt::Text shown = ShownLine(line);
    const int column =
        UiEditLines::ColumnAt(*graphics_, *font_, *textFormat_, shown, x - kPadX - scrollX_);
    return column / std::max(1, ShownColumnsPerColumn());
}

EditPos UiEdit::PositionAt(float x, float y) const {
    int line = 1;
    if (multiline_)
        line = static_cast<int>(std::floor((y - FirstLineY() - scrollY_) / LineHeight())) + 1;
    line = std::clamp(line, 1, lines_.Count());
    return lines_.Clamp({line, PositionToColumn(line, x)});
}

gfx::PointF UiEdit::CaretPoint() const {
    float x = 0;
    if (graphics_ && font_) {
        x = UiEditLines::ColumnX(*graphics_, *font_, *textFormat_, ShownLine(caret_.line),
                                 caret_.column * ShownColumnsPerColumn());
    }
    return {kPadX + scrollX_ + x,
            FirstLineY() + scrollY_ + LineHeight() * static_cast<float>(caret_.line - 1) - 1};
}

void UiEdit::UpdateCaret(bool show) {
    if (!handle_ || !Focused()) return;
    const gfx::PointF at = CaretPoint();
    const gfx::RectF area = TextArea();
    const bool inside = at.x >= area.x - 1 && at.x <= area.x + area.width + 1 &&
                        at.y + 1 >= FirstLineY() && at.y + LineHeight() <= rect_.height;
    if (!show || !inside || !visible_) {
        plat::HideCaret(hwnd_);
        return;
    }
    plat::SetCaretPos(static_cast<int>(std::lround(rect_.x + at.x)),
                      static_cast<int>(std::lround(rect_.y + at.y)));
    plat::ShowCaret(hwnd_);
}

void UiEdit::ScrollCaretIntoView() {
    const gfx::RectF area = TextArea();
    const gfx::PointF at = CaretPoint();
    const float x = at.x - kPadX - scrollX_;
    if (x + scrollX_ > area.width - 1) scrollX_ = area.width - 1 - x;
    if (x + scrollX_ < 0) scrollX_ = -x;
    scrollX_ = std::min(0.0f, scrollX_);
    if (multiline_) {
        const float top = LineHeight() * static_cast<float>(caret_.line - 1);
        if (top + scrollY_ < 0) scrollY_ = -top;
        if (top + LineHeight() + scrollY_ > area.height)
            scrollY_ = area.height - top - LineHeight();
        scrollY_ = std::min(0.0f, scrollY_);
    }
    if (Shown(verticalBar_)) verticalBar_.ScrollValue(-scrollY_);
    if (Shown(horizontalBar_)) horizontalBar_.ScrollValue(-scrollX_);
}

void UiEdit::Layout() {
    if (!handle_) return;
    const float h = Shown(horizontalBar_) ? kEditScrollBarWidth : 0;
    const float v = Shown(verticalBar_) ? kEditScrollBarWidth : 0;
    if (verticalBar_.GetHandle())
        verticalBar_.Move(rect_.x + rect_.width - kEditScrollBarWidth - 1, rect_.y + 1,
                          kEditScrollBarWidth, std::max(1.0f, rect_.height - 2 - h));
    if (horizontalBar_.GetHandle())
        horizontalBar_.Move(rect_.x + 1, rect_.y + rect_.height - kEditScrollBarWidth - 1,
                            std::max(1.0f, rect_.width - 2 - v), kEditScrollBarWidth);
}

void UiEdit::UpdateScrollBars() {
    if (!multiline_ || !handle_) return;
    const float contentH = ContentHeight();
    const float contentW = horizontalBar_.GetHandle() ? ContentWidth() : 0;
    const float fullW = rect_.width - 2 * kPadX, fullH = rect_.height - 2 * kPadY;
    bool showV = verticalBar_.GetHandle() && contentH > fullH;
    const bool showH =
        horizontalBar_.GetHandle() && contentW > fullW - (showV ? kEditScrollBarWidth : 0);
    if (showH && !showV) showV = verticalBar_.GetHandle() && contentH > fullH - kEditScrollBarWidth;
    if (verticalBar_.GetHandle()) verticalBar_.Visible(showV);
    if (horizontalBar_.GetHandle()) horizontalBar_.Visible(showH);
    Layout();
    const gfx::RectF area = TextArea();
    scrollY_ = std::clamp(scrollY_, std::min(0.0f, area.height - contentH), 0.0f);
    scrollX_ = std::clamp(scrollX_, std::min(0.0f, area.width - contentW), 0.0f);
    if (showV) {
        verticalBar_.ScrollRange(0, std::max(0.0f, contentH - area.height));
        verticalBar_.ScrollPage(area.height);
        verticalBar_.ScrollStep(LineHeight());
        verticalBar_.ScrollValue(-scrollY_);
    }
    if (showH) {
        horizontalBar_.ScrollRange(0, std::max(0.0f, contentW - area.width));
        horizontalBar_.ScrollPage(area.width);
        horizontalBar_.ScrollStep(8);
        horizontalBar_.ScrollValue(-scrollX_);
    }
}

void UiEdit::DrawEdit() {
    if (!graphics_ || !font_ || !textFormat_) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const gfx::RectF box = SurfaceRect(*this);
    g.FillRectangle(gfx::SolidBrush(backColor_), box);
    g.DrawRectangle(gfx::Pen(currentBorderColor_), {0, 0, box.width - 1, box.height - 1});

    const gfx::RectF area = TextArea();
    g.SetClip(gfx::RectF{1, 1, area.width + 2 * kPadX - 2, area.height + 2 * kPadY - 2});
    const float lineHeight = LineHeight();
    const float top = FirstLineY() + scrollY_;
    const int first = std::max(1, static_cast<int>(std::floor(-scrollY_ / lineHeight)));
    const int last =
        std::min(lines_.Count(), first + static_cast<int>(rect_.height / lineHeight) + 2);
    const EditPos from = std::min(caret_, anchor_), to = std::max(caret_, anchor_);
    const int perColumn = ShownColumnsPerColumn();
    const gfx::SolidBrush ink(textColor_);
    for (int line = first; line <= last; ++line) {
        const float y = top + lineHeight * static_cast<float>(line - 1);
        const rt::Text shown = ShownLine(line);
        if (from != to && line >= from.line && line <= to.line) {
            const int a = line == from.line ? from.column : 0;
            const int b = line == to.line ? to.column : lines_.Columns(line);
            const float x0 = UiEditLines::ColumnX(g, *font_, *textFormat_, shown, a * perColumn);
            float x1 = UiEditLines::ColumnX(g, *font_, *textFormat_, shown, b * perColumn);
            if (line != to.line) x1 += 4;  // the line break is selected too
            if (x1 > x0)
                g.FillRectangle(gfx::SolidBrush(kSelectionColor),
                                {kPadX + scrollX_ + x0, y, x1 - x0, lineHeight});
        }
        if (!shown.empty())
            g.DrawString(shown, *font_, ink, {kPadX + scrollX_, y, 0, 0}, *textFormat_);
    }
    g.ResetClip();
    EndControlPaint(context);
}

}  // namespace ui
