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
    clientRect_ = {2, 2, rect_.width - 4, rect_.height - 4};
    // Whole-pixel rows keep grid lines sharp and let a scroll move drawn rows.
    const float fontHeight = std::ceil(font_ ? font_->Height() : 16);
    rowHeight_ = fontHeight + 3;
    float headerHeight = 0;
    if (style_ == ListStyle::Report && !hideHeader_) {
        headerHeight = rowHeight_ + 6;
        if (headerImages_ && static_cast<float>(headerImages_->iconHeight) >= rowHeight_)
            headerHeight = static_cast<float>(headerImages_->iconHeight) + 6;
    }
    headerRect_ = {clientRect_.x, clientRect_.y, clientRect_.width, headerHeight};
    itemsRect_ = {clientRect_.x, clientRect_.y + headerHeight, clientRect_.width,
                  std::max(0.0f, clientRect_.height - headerHeight)};
    if (style_ == ListStyle::Grid) {
        const float iconWidth =
            largeImages_ ? static_cast<float>(largeImages_->iconWidth) : kGridDefaultIcon;
        const float iconHeight =
            largeImages_ ? static_cast<float>(largeImages_->iconHeight) : kGridDefaultIcon;
        itemHeight_ = rowHeight_ + iconHeight + static_cast<float>(itemSpacing_);
        itemWidth_ =
            std::max(iconWidth, kGridItemRows * rowHeight_) + static_cast<float>(itemSpacing_);
        itemsPerLine_ =
            std::max(1, static_cast<int>((itemsRect_.width - kListBarThickness) / itemWidth_));
    } else if (smallImages_ && static_cast<float>(smallImages_->iconHeight) >= rowHeight_) {
        rowHeight_ = static_cast<float>(smallImages_->iconHeight) + 6;
    } else {
        rowHeight_ += 3;
    }
    UpdateContent();
}

bool UiListView::VerticalNeeded() const {
    return contentHeight_ - itemsRect_.height > kGeometryTolerance;
}

bool UiListView::HorizontalNeeded() const {
    return contentWidth_ - itemsRect_.width > kGeometryTolerance;
}

void UiListView::UpdateContent() {
    const float areaHeight = std::max(0.0f, clientRect_.height - headerRect_.height);
    itemsRect_.height = areaHeight;
    if (style_ == ListStyle::Report) {
        contentWidth_ = 0;
        for (const ListColumn& column : columns_) contentWidth_ += column.width;
        // Room for the vertical bar, so the last column can come out from under it.
        if (contentWidth_ > itemsRect_.width) contentWidth_ += kListBarThickness;
    } else {
        contentWidth_ = itemsRect_.width;
    }
    const int count = RowCount();
    const int lines =
        style_ == ListStyle::Grid ? (count + itemsPerLine_ - 1) / itemsPerLine_ : count;
    contentHeight_ = static_cast<float>(lines) * LineHeight();
    horizontalShown_ = HorizontalNeeded();
    // The horizontal bar takes its strip from the bottom of the rows' area.
    if (horizontalShown_) itemsRect_.height = std::max(0.0f, areaHeight - kListBarThickness);
    verticalShown_ = VerticalNeeded();
    ClampScroll();
}

void UiListView::ClampScroll() {
    scrollY_ = verticalShown_ ? std::clamp(scrollY_, -MaxScrollY(), 0.0f) : 0.0f;
    scrollX_ = horizontalShown_ ? std::clamp(scrollX_, -MaxScrollX(), 0.0f) : 0.0f;
    UpdateVisibleRange();
}

void UiListView::UpdateVisibleRange() {
    const int count = RowCount();
    const float line = LineHeight();
    if (count == 0 || line <= 0 || itemsRect_.height <= 0) {
        firstVisibleRow_ = lastVisibleRow_ = 0;
        return;
    }
    const float top = -scrollY_;
    const int firstLine = static_cast<int>(std::floor(top / line));
    const int lastLine = static_cast<int>(std::ceil((top + itemsRect_.height) / line)) - 1;
    const int perLine = style_ == ListStyle::Grid ? itemsPerLine_ : 1;
    firstVisibleRow_ = std::min(count, firstLine * perLine + 1);
    lastVisibleRow_ = std::min(count, (lastLine + 1) * perLine);
}

void UiListView::ScheduleRefresh(bool repaint) {
    repaintPending_ = repaintPending_ || repaint;
    if (refreshPending_ || !handle_) return;
    refreshPending_ = true;
    PostEvent(LIST_EV_CONTENT_CHANGED);
}

void UiListView::ScheduleRows(int first, int last) {
    dirtyFirst_ = dirtyFirst_ ? std::min(dirtyFirst_, first) : first;
    dirtyLast_ = std::max(dirtyLast_, last);
    ScheduleRefresh(false);
}

void UiListView::SyncBars() {
    if (!handle_) return;
    const float barX = rect_.x + clientRect_.x + clientRect_.width - kListBarThickness;
    const float top = rect_.y + itemsRect_.y;
    if (verticalShown_) {
        verticalBar_.Move(barX, top, kListBarThickness, itemsRect_.height, false);
        verticalBar_.Configure(MaxScrollY(), itemsRect_.height, LineHeight(), -scrollY_);
    }
    verticalBar_.Visible(verticalShown_ ? 1 : 0);
    if (horizontalShown_) {
        const float width = clientRect_.width - (verticalShown_ ? kListBarThickness : 0);
        horizontalBar_.Move(rect_.x + clientRect_.x, top + itemsRect_.height, width,
                            kListBarThickness, false);
        horizontalBar_.Configure(MaxScrollX(), itemsRect_.width, 20, -scrollX_);
    }
    horizontalBar_.Visible(horizontalShown_ ? 1 : 0);
}

void UiListView::ScrollTo(std::optional<float> x, std::optional<float> y) {
    const float oldX = scrollX_, oldY = scrollY_;
    if (x) scrollX_ = *x;
    if (y) scrollY_ = *y;
    // Whole pixels, so a scroll can move the drawn rows instead of drawing them all.
    scrollX_ = std::round(scrollX_);
    scrollY_ = std::round(scrollY_);
    ClampScroll();
    if (scrollX_ == oldX && scrollY_ == oldY) return;
    if (verticalBar_.GetHandle() && verticalBar_.ScrollValue() != -scrollY_)
        verticalBar_.ScrollValue(-scrollY_);
    if (horizontalBar_.GetHandle() && horizontalBar_.ScrollValue() != -scrollX_)
        horizontalBar_.ScrollValue(-scrollX_);
    if (scrollX_ != oldX || !ShiftRows(scrollY_ - oldY)) DrawList();
}

void UiListView::EnsureVisible(int row) {
    if (!ValidIndex(row)) return;
    const RectF r = RowRect(row);
    if (r.y < 0) ScrollTo(std::nullopt, scrollY_ - r.y);
    else if (r.y + r.height > itemsRect_.height)
        ScrollTo(std::nullopt, scrollY_ - (r.y + r.height - itemsRect_.height));
}

int UiListView::LineOf(int row) const {
    return style_ == ListStyle::Grid ? (row - 1) / itemsPerLine_ : row - 1;
}

RectF UiListView::RowRect(int row) const {
    if (!ValidIndex(row)) return {};
    const float y = static_cast<float>(LineOf(row)) * LineHeight() + scrollY_;
    if (style_ == ListStyle::Grid) {
        const float x = static_cast<float>((row - 1) % itemsPerLine_) * itemWidth_;
        return {x, y, itemWidth_, itemHeight_};
    }
    return {0, y, style_ == ListStyle::Report ? contentWidth_ : itemsRect_.width, rowHeight_};
}

RectF UiListView::RowSurfaceRect(int row) const {
    RectF r = RowRect(row);
    r.x += itemsRect_.x + (style_ == ListStyle::Report ? scrollX_ : 0);
    r.y += itemsRect_.y;
    return r;
}

float UiListView::ColumnLeft(int column) const {
    float left = 0;
    for (int c = 1; c < column && c <= static_cast<int>(columns_.size()); ++c)
        left += columns_[static_cast<std::size_t>(c - 1)].width;
    return left;
}

ListHit UiListView::HitTestRow(float x, float y) const {
    const float lx = x - rect_.x, ly = y - rect_.y;
    if (RowCount() == 0 || !PointInRect(itemsRect_, lx, ly)) return {};
    const float cy = ly - itemsRect_.y - scrollY_;
    if (style_ == ListStyle::Grid) {
        const int line = static_cast<int>(std::floor(cy / itemHeight_));
        const int slot = static_cast<int>(std::floor((lx - itemsRect_.x) / itemWidth_));
        if (slot < 0 || slot >= itemsPerLine_) return {};
        const int row = line * itemsPerLine_ + slot + 1;
        return row <= RowCount() ? ListHit{row, 1} : ListHit{};
    }
    const int row = static_cast<int>(std::floor(cy / rowHeight_)) + 1;
    if (row < 1 || row > RowCount()) return {};
    if (style_ == ListStyle::Single) return {row, 1};
    const float cx = lx - itemsRect_.x - scrollX_;
    if (cx < 0 || cx >= contentWidth_) return {};
    float right = 0;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        right += columns_[c].width;
        if (cx < right) return {row, static_cast<int>(c) + 1};
    }
    return {row, 0};  // the strip kept free for the vertical bar
}

LResult UiListView::OnWheel(int delta, int) {
    if (!verticalShown_) return 0;
    const float notches = static_cast<float>(delta) / 120.0f;
    const float step = style_ == ListStyle::Report ? 3 * rowHeight_ : LineHeight();
    ScrollTo(std::nullopt, scrollY_ + notches * step);
    return 0;
}

}  // namespace ui
