// UiEdit: geometry, scrolling, the caret and drawing.
#include <algorithm>
#include <cmath>

#include "ui/controls/control_support.h"
#include "ui/controls/edit.h"

namespace ui {

namespace {
constexpr gfx::Argb kSelectionColor = 0x703085C6;
constexpr float kPadX = 3;
constexpr float kPadY = 2;

bool Shown(const UiScrollBar& bar) { return bar.handle && bar.visible; }
}  // namespace

float UiEdit::LineHeight() const { return font ? std::ceil(font->Height()) : 16.0f; }

gfx::RectF UiEdit::TextArea() const {
    const float right = Shown(verticalBar) ? kEditScrollBarWidth : 0;
    const float bottom = Shown(horizontalBar) ? kEditScrollBarWidth : 0;
    return {kPadX, kPadY, std::max(0.0f, rect.width - 2 * kPadX - right),
            std::max(0.0f, rect.height - 2 * kPadY - bottom)};
}

// Where line 1 starts: a single line sits in the middle of the box.
static float FirstLineY(const UiEdit& edit) {
    if (edit.multiline) return kPadY;
    return std::floor((edit.rect.height - edit.LineHeight()) / 2);
}

int UiEdit::ShownColumnsPerColumn() const {
    return inputMode == EditMode::Password ? UiEditLines::CountColumns(maskText) : 1;
}

rt::Text UiEdit::ShownLine(int line) const {
    if (inputMode != EditMode::Password) return lines.Line(line);
    rt::Text masked;
    for (int i = lines.Columns(line); i > 0; --i) masked += maskText;
    return masked;
}

float UiEdit::ContentHeight() const { return LineHeight() * static_cast<float>(lines.Count()); }

float UiEdit::ContentWidth() const {
    if (!graphics || !font) return 0;
    float widest = 0;
    for (int line = 1; line <= lines.Count(); ++line) {
        const rt::Text shown = ShownLine(line);
        widest = std::max(widest, UiEditLines::ColumnX(*graphics, *font, *textFormat, shown,
                                                       UiEditLines::CountColumns(shown)));
    }
    return widest + 2;
}

int UiEdit::PositionToColumn(int line, float x) const {
    if (!graphics || !font) return 0;
    const rt::Text shown = ShownLine(line);
    const int column =
        UiEditLines::ColumnAt(*graphics, *font, *textFormat, shown, x - kPadX - scrollX);
    return column / std::max(1, ShownColumnsPerColumn());
}

EditPos UiEdit::PositionAt(float x, float y) const {
    int line = 1;
    if (multiline)
        line = static_cast<int>(std::floor((y - FirstLineY(*this) - scrollY) / LineHeight())) + 1;
    line = std::clamp(line, 1, lines.Count());
    return lines.Clamp({line, PositionToColumn(line, x)});
}

gfx::PointF UiEdit::CaretPoint() const {
    float x = 0;
    if (graphics && font) {
        x = UiEditLines::ColumnX(*graphics, *font, *textFormat, ShownLine(caret.line),
                                 caret.column * ShownColumnsPerColumn());
    }
    return {kPadX + scrollX + x,
            FirstLineY(*this) + scrollY + LineHeight() * static_cast<float>(caret.line - 1) - 1};
}

void UiEdit::UpdateCaret(bool show) {
    if (!handle || !Focused()) return;
    const gfx::PointF at = CaretPoint();
    const gfx::RectF area = TextArea();
    const bool inside = at.x >= area.x - 1 && at.x <= area.x + area.width + 1 &&
                        at.y + 1 >= FirstLineY(*this) && at.y + LineHeight() <= rect.height;
    if (!show || !inside || !visible) {
        plat::HideCaret(hwnd);
        return;
    }
    plat::SetCaretPos(static_cast<int>(std::lround(rect.x + at.x)),
                      static_cast<int>(std::lround(rect.y + at.y)));
    plat::ShowCaret(hwnd);
}

void UiEdit::ScrollCaretIntoView() {
    const gfx::RectF area = TextArea();
    const gfx::PointF at = CaretPoint();
    const float x = at.x - kPadX - scrollX;
    if (x + scrollX > area.width - 1) scrollX = area.width - 1 - x;
    if (x + scrollX < 0) scrollX = -x;
    scrollX = std::min(0.0f, scrollX);
    if (multiline) {
        const float top = LineHeight() * static_cast<float>(caret.line - 1);
        if (top + scrollY < 0) scrollY = -top;
        if (top + LineHeight() + scrollY > area.height) scrollY = area.height - top - LineHeight();
        scrollY = std::min(0.0f, scrollY);
    }
    if (Shown(verticalBar)) verticalBar.ScrollValue(-scrollY);
    if (Shown(horizontalBar)) horizontalBar.ScrollValue(-scrollX);
}

void UiEdit::Layout() {
    if (!handle) return;
    const float h = Shown(horizontalBar) ? kEditScrollBarWidth : 0;
    const float v = Shown(verticalBar) ? kEditScrollBarWidth : 0;
    if (verticalBar.handle)
        verticalBar.Move(rect.x + rect.width - kEditScrollBarWidth - 1, rect.y + 1,
                         kEditScrollBarWidth, std::max(1.0f, rect.height - 2 - h));
    if (horizontalBar.handle)
        horizontalBar.Move(rect.x + 1, rect.y + rect.height - kEditScrollBarWidth - 1,
                           std::max(1.0f, rect.width - 2 - v), kEditScrollBarWidth);
}

void UiEdit::UpdateScrollBars() {
    if (!multiline || !handle) return;
    const float contentH = ContentHeight();
    const float contentW = horizontalBar.handle ? ContentWidth() : 0;
    const float fullW = rect.width - 2 * kPadX, fullH = rect.height - 2 * kPadY;
    bool showV = verticalBar.handle && contentH > fullH;
    const bool showH = horizontalBar.handle && contentW > fullW - (showV ? kEditScrollBarWidth : 0);
    if (showH && !showV) showV = verticalBar.handle && contentH > fullH - kEditScrollBarWidth;
    if (verticalBar.handle) verticalBar.Visible(showV);
    if (horizontalBar.handle) horizontalBar.Visible(showH);
    Layout();
    const gfx::RectF area = TextArea();
    scrollY = std::clamp(scrollY, std::min(0.0f, area.height - contentH), 0.0f);
    scrollX = std::clamp(scrollX, std::min(0.0f, area.width - contentW), 0.0f);
    if (showV) {
        verticalBar.ScrollRange(0, std::max(0.0f, contentH - area.height));
        verticalBar.ScrollPage(area.height);
        verticalBar.ScrollStep(LineHeight());
        verticalBar.ScrollValue(-scrollY);
    }
    if (showH) {
        horizontalBar.ScrollRange(0, std::max(0.0f, contentW - area.width));
        horizontalBar.ScrollPage(area.width);
        horizontalBar.ScrollStep(8);
        horizontalBar.ScrollValue(-scrollX);
    }
}

void UiEdit::DrawEdit() {
    if (!graphics || !font || !textFormat) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    const gfx::RectF box = SurfaceRect(*this);
    g.FillRectangle(gfx::SolidBrush(backColor), box);
    g.DrawRectangle(gfx::Pen(currentBorderColor), {0, 0, box.width - 1, box.height - 1});

    const gfx::RectF area = TextArea();
    g.SetClip(gfx::RectF{1, 1, area.width + 2 * kPadX - 2, area.height + 2 * kPadY - 2});
    const float lineHeight = LineHeight();
    const float top = FirstLineY(*this) + scrollY;
    const int first = std::max(1, static_cast<int>(std::floor(-scrollY / lineHeight)));
    const int last =
        std::min(lines.Count(), first + static_cast<int>(rect.height / lineHeight) + 2);
    const EditPos from = std::min(caret, anchor), to = std::max(caret, anchor);
    const int perColumn = ShownColumnsPerColumn();
    const gfx::SolidBrush ink(textColor);
    for (int line = first; line <= last; ++line) {
        const float y = top + lineHeight * static_cast<float>(line - 1);
        const rt::Text shown = ShownLine(line);
        if (from != to && line >= from.line && line <= to.line) {
            const int a = line == from.line ? from.column : 0;
            const int b = line == to.line ? to.column : lines.Columns(line);
            const float x0 = UiEditLines::ColumnX(g, *font, *textFormat, shown, a * perColumn);
            float x1 = UiEditLines::ColumnX(g, *font, *textFormat, shown, b * perColumn);
            if (line != to.line) x1 += 4;  // the line break is selected too
            if (x1 > x0)
                g.FillRectangle(gfx::SolidBrush(kSelectionColor),
                                {kPadX + scrollX + x0, y, x1 - x0, lineHeight});
        }
        if (!shown.empty())
            g.DrawString(shown, *font, ink, {kPadX + scrollX, y, 0, 0}, *textFormat);
    }
    g.ResetClip();
    EndControlPaint(context);
}

}  // namespace ui
