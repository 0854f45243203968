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
        return selectedBackColor ? selectedBackColor : MakeArgb(HostThemeColour(*this), 102);
    case ListRowState::Hovered:
        return hoverBackColor ? hoverBackColor : MakeArgb(HostThemeColour(*this), 51);
    default: return 0;
    }
}

gfx::Argb UiListView::StateTextColor(ListRowState state) const {
    switch (state) {
    case ListRowState::Selected: return selectedTextColor ? selectedTextColor : textColor;
    case ListRowState::Hovered: return hoverTextColor ? hoverTextColor : textColor;
    default: return textColor;
    }
}

void UiListView::DrawList() {
    if (!graphics || !font || !cellFormat) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics;
    FillPixels(g, backColor, SurfaceRect(*this));
    g.DrawRectangle(gfx::Pen(lineColor), {0, 0, rect.width - 1, rect.height - 1});
    if (headerRect.height > 0) PaintHeader(g);
    if (firstVisibleRow > 0) {
        g.SetClip(itemsRect);
        for (int row = firstVisibleRow; row <= lastVisibleRow; ++row) PaintRow(g, row);
        g.ResetClip();
    }
    EndControlPaint(context);
}

void UiListView::DrawRow(int row) { DrawRows(row, row); }

void UiListView::DrawRows(int first, int last) {
    first = std::max(first, firstVisibleRow);
    last = std::min({last, lastVisibleRow, RowCount()});
    if (!graphics || !font || !cellFormat || first < 1 || first > last) return;
    // Only these rows' pixels change: no snapshot and no clearing of the rest.
    PaintContext context = BeginControlPaint(false);
    gfx::Graphics& g = *graphics;
    for (int row = first; row <= last; ++row) {
        g.SetClip(itemsRect);
        g.SetClip(RowSurfaceRect(row), gfx::CombineMode::Intersect);
        g.Clear(0);
        FillPixels(g, backColor, RowSurfaceRect(row));
        PaintRow(g, row);
    }
    g.ResetClip();
    EndControlPaint(context);
}

bool UiListView::ShiftRows(float dy) {
    if (!graphics || !surface || !font || !cellFormat || repaintPending_) return false;
    const int shift = static_cast<int>(std::lround(dy));
    const gfx::RectI area{static_cast<int>(itemsRect.x), static_cast<int>(itemsRect.y),
                          static_cast<int>(itemsRect.width), static_cast<int>(itemsRect.height)};
    if (static_cast<float>(shift) != dy || shift == 0 || std::abs(shift) >= area.height)
        return false;
    PaintContext context = BeginControlPaint(false);
    // The rows still on screen move with the content; the strip they leave is drawn anew.
    MovePixelRows(*surface, area, shift);
    const RectF strip{itemsRect.x,
                      shift < 0 ? itemsRect.Bottom() + static_cast<float>(shift) : itemsRect.y,
                      itemsRect.width, static_cast<float>(std::abs(shift))};
    gfx::Graphics& g = *graphics;
    g.SetClip(strip);
    g.Clear(0);
    FillPixels(g, backColor, strip);
    for (int row = firstVisibleRow; row > 0 && row <= lastVisibleRow; ++row) {
        const RectF r = RowSurfaceRect(row);
        if (r.Bottom() > strip.y && r.y < strip.Bottom()) PaintRow(g, row);
    }
    g.ResetClip();
    EndControlPaint(context);
    return true;
}

void UiListView::PaintHeader(gfx::Graphics& g) {
    g.SetClip(headerRect);
    FillGradient(g, headerRect, kHeaderTop, kHeaderBottom);
    const gfx::Pen separator(kSeparator);
    const float spacing = static_cast<float>(itemSpacing);
    float left = headerRect.x + scrollX;
    for (const ListColumn& column : columns) {
        const float right = left + column.width;
        if (right > headerRect.x && left < headerRect.Right()) {
            RectF box{left + spacing, headerRect.y, column.width - 2 * spacing, headerRect.height};
            const float shift = DrawSmallImage(g, headerImages, column.image, box);
            box.x += shift;
            box.width -= shift;
            if (box.width > 0)
                DrawEffectText(g, column.title, *font, *cellFormat, kHeaderText, box, EFFECT_NONE);
            g.DrawLine(separator, {right - 1, headerRect.y}, {right - 1, headerRect.Bottom() - 1});
        }
        left = right;
    }
    g.DrawLine(separator, {headerRect.x, headerRect.Bottom() - 1},
               {headerRect.Right() - 1, headerRect.Bottom() - 1});
    g.ResetClip();
}

void UiListView::PaintRow(gfx::Graphics& g, int row) {
    const RectF r = RowSurfaceRect(row);
    const ListRowState state = rows.Row(row - 1).state;
    const gfx::Argb text = StateTextColor(state);
    if (style == ListStyle::Grid) {
        PaintGridItem(g, row, r, text);
        return;
    }
    if (const gfx::Argb back = StateBackColor(state)) FillPixels(g, back, r);
    const float spacing = static_cast<float>(itemSpacing);
    const gfx::Pen line(kSeparator);
    const int columnCount = style == ListStyle::Report ? ColumnCount() : std::min(1, ColumnCount());
    float left = r.x;
    for (int c = 1; c <= columnCount; ++c) {
        const float width =
            style == ListStyle::Report ? columns[static_cast<std::size_t>(c - 1)].width : r.width;
        const float right = left + width;
        if (right > itemsRect.x && left < itemsRect.Right()) {
            RectF box{left + spacing, r.y, width - 2 * spacing, r.height};
            const float shift = DrawSmallImage(g, smallImages, rows.CellImage(row - 1, c - 1), box);
            box.x += shift;
            box.width -= shift;
            const std::string_view cell = rows.Cell(row - 1, c - 1);
            if (!cell.empty() && box.width > 0) {
                const std::int64_t own = columns[static_cast<std::size_t>(c - 1)].colour;
                const gfx::Argb colour = (own != -1 && state == ListRowState::Normal)
                                             ? static_cast<gfx::Argb>(own)
                                             : text;
                g.DrawString(rt::Text(cell), *font, gfx::SolidBrush(colour), box, *cellFormat);
            }
            if (style == ListStyle::Report && (gridLines & LIST_GRID_COLUMNS))
                g.DrawLine(line, {right - 1, r.y}, {right - 1, r.Bottom() - 1});
        }
        left = right;
    }
    if (gridLines & LIST_GRID_ROWS)
        g.DrawLine(line, {r.x, r.Bottom() - 1}, {r.Right() - 1, r.Bottom() - 1});
    if (host && host->keyboardFocus == this && row == selectedRow) DrawBorder(g, r, BORDER_DASHED);
}

void UiListView::PaintGridItem(gfx::Graphics& g, int row, const RectF& box, gfx::Argb text) {
    const ListRowState state = rows.Row(row - 1).state;
    const float spacing = static_cast<float>(itemSpacing);
    const RectF inner{box.x + spacing / 2, box.y + spacing / 2, box.width - spacing,
                      box.height - spacing};
    if (const gfx::Argb back = StateBackColor(state)) FillRoundRect(g, inner, kGridCorner, back);
    const float iconHeight = itemHeight - rowHeight - spacing;
    if (largeImages) {
        if (const gfx::Bitmap* image = largeImages->At(rows.CellImage(row - 1, 0));
            image && image->IsValid()) {
            const float w = static_cast<float>(largeImages->iconWidth),
                        h = static_cast<float>(largeImages->iconHeight);
            g.DrawImage(*image, RectF{inner.x + (inner.width - w) / 2,
                                      inner.y + (iconHeight - h) / 2, w, h});
        }
    }
    const std::string_view cell = ColumnCount() > 0 ? rows.Cell(row - 1, 0) : std::string_view{};
    if (!cell.empty()) {
        gfx::StringFormat centred = *cellFormat;
        centred.SetAlignment(gfx::StringAlignment::Center);
        g.DrawString(rt::Text(cell), *font, gfx::SolidBrush(text),
                     RectF{inner.x + 2, inner.y + iconHeight, inner.width - 4, rowHeight}, centred);
    }
    if (host && host->keyboardFocus == this && row == selectedRow)
        DrawBorder(g, inner, BORDER_DASHED);
}

}  // namespace ui
