// Drawing of the list: the header band, the rows on screen with their state
// colours, cell images and texts, the grid lines and the keyboard-focus frame.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/brush.h"
#include "platform/gfx/pen.h"
#include "ui/controls/control_support.h"
#include "ui/controls/effect_text.h"
#include "ui/controls/list_view.h"
#include "ui/core/draw_colour.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/shown_text.h"
#include "ui/core/window.h"

namespace ui {

namespace {
constexpr gfx::Argb kHeaderTop = 0xCCFFFFFF;
constexpr gfx::Argb kHeaderBottom = 0x99FFFFFF;
constexpr gfx::Argb kHeaderText = 0xD2000000;
constexpr gfx::Argb kSeparator = 0x33000000;
constexpr float kGridCorner = 6;

// Fills exactly the pixels of a whole-pixel rectangle: shapes take integer
// coordinates as pixel centres, so the rectangle moves up and left half a pixel.
void FillPixels(gfx::Graphics& g, gfx::Argb colour, const RectF& r) {
    g.FillRectangle(gfx::SolidBrush(colour), RectF{r.x - 0.5f, r.y - 0.5f, r.width, r.height});
}

// Moves the pixel rows of `area` by `shift` rows (negative: upwards), in the
// order that never reads a row already overwritten.
void MovePixelRows(gfx::Bitmap& bitmap, const gfx::RectI& area, int shift) {
    const gfx::RectI clipped{std::max(area.x, 0), std::max(area.y, 0), 0, 0};
    const int right = std::min(area.x + area.width, bitmap.Width());
    const int bottom = std::min(area.y + area.height, bitmap.Height());
    if (right <= clipped.x || bottom <= clipped.y || !bitmap.Data()) return;
    const std::size_t bytes = static_cast<std::size_t>(right - clipped.x) * 4;
    const auto rowAt = [&](int y) {
        return bitmap.Data() +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.Stride()) +
               static_cast<std::size_t>(clipped.x) * 4;
    };
    if (shift < 0) {
        for (int y = clipped.y - shift; y < bottom; ++y)
            std::memcpy(rowAt(y + shift), rowAt(y), bytes);
    } else {
        for (int y = bottom - 1 - shift; y >= clipped.y; --y)
            std::memcpy(rowAt(y + shift), rowAt(y), bytes);
    }
    bitmap.MarkDirty();
}

// An image of a list centred vertically in `box` at its left; returns its width.
float DrawSmallImage(gfx::Graphics& g, const UiImageList* list, int index, const RectF& box) {
    if (!list) return 0;
    const gfx::Bitmap* image = list->At(index);
    if (!image || !image->IsValid()) return 0;
    const float w = static_cast<float>(list->iconWidth), h = static_cast<float>(list->iconHeight);
    g.DrawImage(*image, RectF{box.x, box.y + (box.height - h) / 2, w, h});
    return w + 2;
}
}  // namespace

gfx::Argb UiListView::StateBackColor(ListRowState state) const {
    switch (state) {
    case ListRowState::Selected:
        return selectedBackColor_ ? selectedBackColor_ : MakeArgb(HostThemeColour(*this), 102);
    case ListRowState::Hovered:
        return hoverBackColor_ ? hoverBackColor_ : MakeArgb(HostThemeColour(*this), 51);
    default: return 0;
    }
}

gfx::Argb UiListView::StateTextColor(ListRowState state) const {
    switch (state) {
    case ListRowState::Selected: return selectedTextColor_ ? selectedTextColor_ : textColor_;
    case ListRowState::Hovered: return hoverTextColor_ ? hoverTextColor_ : textColor_;
    default: return textColor_;
    }
}

void UiListView::DrawList() {
    if (!graphics_ || !font_ || !cellFormat_) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    FillPixels(g, backColor_, SurfaceRect(*this));
    g.DrawRectangle(gfx::Pen(lineColor_), {0, 0, rect_.width - 1, rect_.height - 1});
    if (headerRect_.height > 0) PaintHeader(g);
    if (firstVisibleRow_ > 0) {
        g.SetClip(itemsRect_);
        for (int row = firstVisibleRow_; row <= lastVisibleRow_; ++row) PaintRow(g, row);
        g.ResetClip();
    }
    EndControlPaint(context);
}

void UiListView::DrawRow(int row) { DrawRows(row, row); }

void UiListView::DrawRows(int first, int last) {
    first = std::max(first, firstVisibleRow_);
    last = std::min({last, lastVisibleRow_, RowCount()});
    if (!graphics_ || !font_ || !cellFormat_ || first < 1 || first > last) return;
    // Only these rows' pixels change: no snapshot and no clearing of the rest.
    PaintContext context = BeginControlPaint(false);
    gfx::Graphics& g = *graphics_;
    for (int row = first; row <= last; ++row) {
        g.SetClip(itemsRect_);
        g.SetClip(RowSurfaceRect(row), gfx::CombineMode::Intersect);
        g.Clear(0);
        FillPixels(g, backColor_, RowSurfaceRect(row));
        PaintRow(g, row);
    }
    g.ResetClip();
    EndControlPaint(context);
}

bool UiListView::ShiftRows(float dy) {
    if (!graphics_ || !surface_ || !font_ || !cellFormat_ || repaintPending_) return false;
    const int shift = static_cast<int>(std::lround(dy));
    const gfx::RectI area{static_cast<int>(itemsRect_.x), static_cast<int>(itemsRect_.y),
                          static_cast<int>(itemsRect_.width), static_cast<int>(itemsRect_.height)};
    if (static_cast<float>(shift) != dy || shift == 0 || std::abs(shift) >= area.height)
        return false;
    PaintContext context = BeginControlPaint(false);
    // The rows still on screen move with the content; the strip they leave is drawn anew.
    MovePixelRows(*surface_, area, shift);
    const RectF strip{itemsRect_.x,
                      shift < 0 ? itemsRect_.Bottom() + static_cast<float>(shift) : itemsRect_.y,
                      itemsRect_.width, static_cast<float>(std::abs(shift))};
    gfx::Graphics& g = *graphics_;
    g.SetClip(strip);
    g.Clear(0);
    FillPixels(g, backColor_, strip);
    for (int row = firstVisibleRow_; row > 0 && row <= lastVisibleRow_; ++row) {
        const RectF r = RowSurfaceRect(row);
        if (r.Bottom() > strip.y && r.y < strip.Bottom()) PaintRow(g, row);
    }
    g.ResetClip();
    EndControlPaint(context);
    return true;
}

void UiListView::PaintHeader(gfx::Graphics& g) {
    g.SetClip(headerRect_);
    FillGradient(g, headerRect_, kHeaderTop, kHeaderBottom);
    const gfx::Pen separator(kSeparator);
    const float spacing = static_cast<float>(itemSpacing_);
    float left = headerRect_.x + scrollX_;
    for (const ListColumn& column : columns_) {
        const float right = left + column.width;
        if (right > headerRect_.x && left < headerRect_.Right()) {
            RectF box{left + spacing, headerRect_.y, column.width - 2 * spacing,
                      headerRect_.height};
            const float shift = DrawSmallImage(g, headerImages_, column.image, box);
            box.x += shift;
            box.width -= shift;
            if (box.width > 0)
                DrawEffectText(g, column.title, *font_, *cellFormat_, kHeaderText, box,
                               EFFECT_NONE);
            g.DrawLine(separator, {right - 1, headerRect_.y},
                       {right - 1, headerRect_.Bottom() - 1});
        }
        left = right;
    }
    g.DrawLine(separator, {headerRect_.x, headerRect_.Bottom() - 1},
               {headerRect_.Right() - 1, headerRect_.Bottom() - 1});
    g.ResetClip();
}

void UiListView::PaintRow(gfx::Graphics& g, int row) {
    const RectF r = RowSurfaceRect(row);
    const ListRowState state = rows_.Row(row - 1).state;
    const gfx::Argb text = StateTextColor(state);
    if (style_ == ListStyle::Grid) {
        PaintGridItem(g, row, r, text);
        return;
    }
    if (const gfx::Argb back = StateBackColor(state)) FillPixels(g, back, r);
    const float spacing = static_cast<float>(itemSpacing_);
    const gfx::Pen line(kSeparator);
    const int columnCount =
        style_ == ListStyle::Report ? ColumnCount() : std::min(1, ColumnCount());
    float left = r.x;
    for (int c = 1; c <= columnCount; ++c) {
        const float width =
            style_ == ListStyle::Report ? columns_[static_cast<std::size_t>(c - 1)].width : r.width;
        const float right = left + width;
        if (right > itemsRect_.x && left < itemsRect_.Right()) {
            RectF box{left + spacing, r.y, width - 2 * spacing, r.height};
            const float shift =
                DrawSmallImage(g, smallImages_, rows_.CellImage(row - 1, c - 1), box);
            box.x += shift;
            box.width -= shift;
            const std::string_view cell = rows_.Cell(row - 1, c - 1);
            if (!cell.empty() && box.width > 0) {
                const std::int64_t own = columns_[static_cast<std::size_t>(c - 1)].colour;
                const gfx::Argb colour = (own != -1 && state == ListRowState::Normal)
                                             ? static_cast<gfx::Argb>(own)
                                             : text;
                g.DrawString(OneLine(cell), *font_, gfx::SolidBrush(colour), box, *cellFormat_);
            }
            if (style_ == ListStyle::Report && (gridLines_ & LIST_GRID_COLUMNS))
                g.DrawLine(line, {right - 1, r.y}, {right - 1, r.Bottom() - 1});
        }
        left = right;
    }
    if (gridLines_ & LIST_GRID_ROWS)
        g.DrawLine(line, {r.x, r.Bottom() - 1}, {r.Right() - 1, r.Bottom() - 1});
    if (host_ && host_->KeyboardFocus() == this && row == selectedRow_)
        DrawBorder(g, r, BORDER_DASHED);
}

void UiListView::PaintGridItem(gfx::Graphics& g, int row, const RectF& box, gfx::Argb text) {
    const ListRowState state = rows_.Row(row - 1).state;
    const float spacing = static_cast<float>(itemSpacing_);
    const RectF inner{box.x + spacing / 2, box.y + spacing / 2, box.width - spacing,
                      box.height - spacing};
    if (const gfx::Argb back = StateBackColor(state)) FillRoundRect(g, inner, kGridCorner, back);
    const float iconHeight = itemHeight_ - rowHeight_ - spacing;
    if (largeImages_) {
        if (const gfx::Bitmap* image = largeImages_->At(rows_.CellImage(row - 1, 0));
            image && image->IsValid()) {
            const float w = static_cast<float>(largeImages_->iconWidth),
                        h = static_cast<float>(largeImages_->iconHeight);
            g.DrawImage(*image, RectF{inner.x + (inner.width - w) / 2,
                                      inner.y + (iconHeight - h) / 2, w, h});
        }
    }
    const std::string_view cell = ColumnCount() > 0 ? rows_.Cell(row - 1, 0) : std::string_view{};
    if (!cell.empty()) {
        gfx::StringFormat centred = *cellFormat_;
        centred.SetAlignment(gfx::StringAlignment::Center);
        g.DrawString(OneLine(cell), *font_, gfx::SolidBrush(text),
                     RectF{inner.x + 2, inner.y + iconHeight, inner.width - 4, rowHeight_},
                     centred);
    }
    if (host_ && host_->KeyboardFocus() == this && row == selectedRow_)
        DrawBorder(g, inner, BORDER_DASHED);
}

}  // namespace ui
