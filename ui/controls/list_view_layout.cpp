// Layout of the list: the header band, the rows' area, content size, scroll
// offsets and the embedded bars; hit testing and the wheel.
#include <algorithm>
#include <cmath>

#include "ui/controls/list_view.h"
#include "ui/core/draw_geometry.h"

namespace ui {

namespace {
// Grid items are at least this many row heights wide, so a short name fits.
constexpr float kGridItemRows = 4;
// The icon height a grid item keeps room for when there is no image list.
constexpr float kGridDefaultIcon = 32;
}  // namespace

void UiListView::Layout() {
    clientRect = {2, 2, rect.width - 4, rect.height - 4};
    // Whole-pixel rows keep grid lines sharp and let a scroll move drawn rows.
    const float fontHeight = std::ceil(font ? font->Height() : 16);
    rowHeight = fontHeight + 3;
    float headerHeight = 0;
    if (style == ListStyle::Report && !hideHeader) {
        headerHeight = rowHeight + 6;
        if (headerImages && static_cast<float>(headerImages->iconHeight) >= rowHeight)
            headerHeight = static_cast<float>(headerImages->iconHeight) + 6;
    }
    headerRect = {clientRect.x, clientRect.y, clientRect.width, headerHeight};
    itemsRect = {clientRect.x, clientRect.y + headerHeight, clientRect.width,
                 std::max(0.0f, clientRect.height - headerHeight)};
    if (style == ListStyle::Grid) {
        const float iconWidth =
            largeImages ? static_cast<float>(largeImages->iconWidth) : kGridDefaultIcon;
        const float iconHeight =
            largeImages ? static_cast<float>(largeImages->iconHeight) : kGridDefaultIcon;
        itemHeight = rowHeight + iconHeight + static_cast<float>(itemSpacing);
        itemWidth =
            std::max(iconWidth, kGridItemRows * rowHeight) + static_cast<float>(itemSpacing);
        itemsPerLine =
            std::max(1, static_cast<int>((itemsRect.width - kListBarThickness) / itemWidth));
    } else if (smallImages && static_cast<float>(smallImages->iconHeight) >= rowHeight) {
        rowHeight = static_cast<float>(smallImages->iconHeight) + 6;
    } else {
        rowHeight += 3;
    }
    UpdateContent();
}

bool UiListView::VerticalNeeded() const {
    return contentHeight - itemsRect.height > kGeometryTolerance;
}

bool UiListView::HorizontalNeeded() const {
    return contentWidth - itemsRect.width > kGeometryTolerance;
}

void UiListView::UpdateContent() {
    const float areaHeight = std::max(0.0f, clientRect.height - headerRect.height);
    itemsRect.height = areaHeight;
    if (style == ListStyle::Report) {
        contentWidth = 0;
        for (const ListColumn& column : columns) contentWidth += column.width;
        // Room for the vertical bar, so the last column can come out from under it.
        if (contentWidth > itemsRect.width) contentWidth += kListBarThickness;
    } else {
        contentWidth = itemsRect.width;
    }
    const int count = RowCount();
    const int lines = style == ListStyle::Grid ? (count + itemsPerLine - 1) / itemsPerLine : count;
    contentHeight = static_cast<float>(lines) * LineHeight();
    horizontalShown_ = HorizontalNeeded();
    // The horizontal bar takes its strip from the bottom of the rows' area.
    if (horizontalShown_) itemsRect.height = std::max(0.0f, areaHeight - kListBarThickness);
    verticalShown_ = VerticalNeeded();
    ClampScroll();
}

void UiListView::ClampScroll() {
    scrollY = verticalShown_ ? std::clamp(scrollY, -MaxScrollY(), 0.0f) : 0.0f;
    scrollX = horizontalShown_ ? std::clamp(scrollX, -MaxScrollX(), 0.0f) : 0.0f;
    UpdateVisibleRange();
}

void UiListView::UpdateVisibleRange() {
    const int count = RowCount();
    const float line = LineHeight();
    if (count == 0 || line <= 0 || itemsRect.height <= 0) {
        firstVisibleRow = lastVisibleRow = 0;
        return;
    }
    const float top = -scrollY;
    const int firstLine = static_cast<int>(std::floor(top / line));
    const int lastLine = static_cast<int>(std::ceil((top + itemsRect.height) / line)) - 1;
    const int perLine = style == ListStyle::Grid ? itemsPerLine : 1;
    firstVisibleRow = std::min(count, firstLine * perLine + 1);
    lastVisibleRow = std::min(count, (lastLine + 1) * perLine);
}

void UiListView::ScheduleRefresh(bool repaint) {
    repaintPending_ = repaintPending_ || repaint;
    if (refreshPending_ || !handle) return;
    refreshPending_ = true;
    PostEvent(LIST_EV_CONTENT_CHANGED);
}

void UiListView::ScheduleRows(int first, int last) {
    dirtyFirst_ = dirtyFirst_ ? std::min(dirtyFirst_, first) : first;
    dirtyLast_ = std::max(dirtyLast_, last);
    ScheduleRefresh(false);
}

void UiListView::SyncBars() {
    if (!handle) return;
    const float barX = rect.x + clientRect.x + clientRect.width - kListBarThickness;
    const float top = rect.y + itemsRect.y;
    const auto feed = [](UiScrollBar& bar, float maximum, float page, float step, float value) {
        // Fields first and one drawing, not one drawing per setter.
        bar.minimum = 0;
        bar.maximum = std::max(0.0f, maximum);
        bar.page = page;
        bar.step = step;
        bar.value = std::clamp(value, 0.0f, bar.maximum);
        bar.DrawBar();
    };
    if (verticalShown_) {
        verticalBar.Move(barX, top, kListBarThickness, itemsRect.height, false);
        feed(verticalBar, MaxScrollY(), itemsRect.height, LineHeight(), -scrollY);
    }
    verticalBar.Visible(verticalShown_ ? 1 : 0);
    if (horizontalShown_) {
        const float width = clientRect.width - (verticalShown_ ? kListBarThickness : 0);
        horizontalBar.Move(rect.x + clientRect.x, top + itemsRect.height, width, kListBarThickness,
                           false);
        feed(horizontalBar, MaxScrollX(), itemsRect.width, 20, -scrollX);
    }
    horizontalBar.Visible(horizontalShown_ ? 1 : 0);
}

void UiListView::ScrollTo(std::optional<float> x, std::optional<float> y) {
    const float oldX = scrollX, oldY = scrollY;
    if (x) scrollX = *x;
    if (y) scrollY = *y;
    // Whole pixels, so a scroll can move the drawn rows instead of drawing them all.
    scrollX = std::round(scrollX);
    scrollY = std::round(scrollY);
    ClampScroll();
    if (scrollX == oldX && scrollY == oldY) return;
    if (verticalBar.handle && verticalBar.value != -scrollY) verticalBar.ScrollValue(-scrollY);
    if (horizontalBar.handle && horizontalBar.value != -scrollX)
        horizontalBar.ScrollValue(-scrollX);
    if (scrollX != oldX || !ShiftRows(scrollY - oldY)) DrawList();
}

void UiListView::EnsureVisible(int row) {
    if (!ValidIndex(row)) return;
    const RectF r = RowRect(row);
    if (r.y < 0) ScrollTo(std::nullopt, scrollY - r.y);
    else if (r.y + r.height > itemsRect.height)
        ScrollTo(std::nullopt, scrollY - (r.y + r.height - itemsRect.height));
}

int UiListView::LineOf(int row) const {
    return style == ListStyle::Grid ? (row - 1) / itemsPerLine : row - 1;
}

RectF UiListView::RowRect(int row) const {
    if (!ValidIndex(row)) return {};
    const float y = static_cast<float>(LineOf(row)) * LineHeight() + scrollY;
    if (style == ListStyle::Grid) {
        const float x = static_cast<float>((row - 1) % itemsPerLine) * itemWidth;
        return {x, y, itemWidth, itemHeight};
    }
    return {0, y, style == ListStyle::Report ? contentWidth : itemsRect.width, rowHeight};
}

RectF UiListView::RowSurfaceRect(int row) const {
    RectF r = RowRect(row);
    r.x += itemsRect.x + (style == ListStyle::Report ? scrollX : 0);
    r.y += itemsRect.y;
    return r;
}

float UiListView::ColumnLeft(int column) const {
    float left = 0;
    for (int c = 1; c < column && c <= static_cast<int>(columns.size()); ++c)
        left += columns[static_cast<std::size_t>(c - 1)].width;
    return left;
}

ListHit UiListView::HitTestRow(float x, float y) const {
    const float lx = x - rect.x, ly = y - rect.y;
    if (RowCount() == 0 || !PointInRect(itemsRect, lx, ly)) return {};
    const float cy = ly - itemsRect.y - scrollY;
    if (style == ListStyle::Grid) {
        const int line = static_cast<int>(std::floor(cy / itemHeight));
        const int slot = static_cast<int>(std::floor((lx - itemsRect.x) / itemWidth));
        if (slot < 0 || slot >= itemsPerLine) return {};
        const int row = line * itemsPerLine + slot + 1;
        return row <= RowCount() ? ListHit{row, 1} : ListHit{};
    }
    const int row = static_cast<int>(std::floor(cy / rowHeight)) + 1;
    if (row < 1 || row > RowCount()) return {};
    if (style == ListStyle::Single) return {row, 1};
    const float cx = lx - itemsRect.x - scrollX;
    if (cx < 0 || cx >= contentWidth) return {};
    float right = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        right += columns[c].width;
        if (cx < right) return {row, static_cast<int>(c) + 1};
    }
    return {row, 0};  // the strip kept free for the vertical bar
}

LResult UiListView::OnWheel(int delta, int) {
    if (!verticalShown_) return 0;
    const float notches = static_cast<float>(delta) / 120.0f;
    const float step = style == ListStyle::Report ? 3 * rowHeight : LineHeight();
    ScrollTo(std::nullopt, scrollY + notches * step);
    return 0;
}

}  // namespace ui
