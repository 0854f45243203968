// Mouse input of the list: hover and cell tooltips, single and multiple
// selection, the row callbacks.
#include <algorithm>

#include "ui/controls/list_view.h"
#include "ui/core/shown_text.h"

namespace ui {

void UiListView::SetState(int row, ListRowState state) {
    if (!ValidIndex(row)) return;
    RowRecord& record = rows_.Row(row - 1);
    if (record.state == state) return;
    record.state = state;
    DrawRow(row);
}

void UiListView::CallRow(const RowHandler& handler, int row) {
    if (handler) handler(parent_, this, row);
}

void UiListView::ClearSelection() {
    for (int row : selection_)
        if (ValidIndex(row)) SetState(row, ListRowState::Normal);
    selection_.clear();
}

void UiListView::HoverTo(int row, int column) {
    if (row == 0) {
        if (hoverRow_ == 0 && hoverColumn_ == 0) return;
        const int old = hoverRow_;
        hoverRow_ = hoverColumn_ = 0;
        Tooltip(rt::Text(), true);
        if (ValidIndex(old) && !IsSelected(old)) SetState(old, ListRowState::Normal);
        return;
    }
    if (row == hoverRow_ && column == hoverColumn_) return;
    const int old = hoverRow_;
    hoverRow_ = row;
    hoverColumn_ = column;
    Tooltip(rt::Text(ShownPart(CellView(row, column))), true);
    if (row == old) return;  // along the row: only the tooltip changes
    if (ValidIndex(old) && !IsSelected(old)) SetState(old, ListRowState::Normal);
    if (!IsSelected(row)) SetState(row, ListRowState::Hovered);
}

LResult UiListView::OnMouseMove(const MouseEvent& event) {
    const ListHit hit = HitTestRow(static_cast<float>(event.x), static_cast<float>(event.y));
    if (hoverSelect_ && hit.row) {
        if (hit.row != selectedRow_) {
            CallRow(rowPressHandler_, hit.row);
            if (ValidIndex(selectedRow_)) SetState(selectedRow_, ListRowState::Normal);
            selectedRow_ = hit.row;
            SetState(hit.row, ListRowState::Selected);
        }
        return kUnhandled;
    }
    HoverTo(hit.row, hit.column);
    return kUnhandled;
}

void UiListView::PressRow(int row, const MouseEvent& event) {
    if (singleSelect_) {
        if (selectedRow_ != row && ValidIndex(selectedRow_))
            SetState(selectedRow_, ListRowState::Normal);
        selectedRow_ = row;
        SetState(row, ListRowState::Selected);
        return;
    }
    if (event.Ctrl()) {
        if (IsSelected(row)) {
            SetState(row, ListRowState::Normal);
            selection_.erase(std::remove(selection_.begin(), selection_.end(), row),
                             selection_.end());
            if (selectedRow_ == row) selectedRow_ = selection_.empty() ? 0 : selection_.back();
        } else {
            AddToSelection(row);
        }
    } else if (event.Shift()) {
        const int from = selection_.empty() ? row : selection_.back();
        const int step = row >= from ? 1 : -1;
        // The pressed row ends the run, so it becomes the last selected one.
        for (int r = from;; r += step) {
            if (!IsSelected(r)) {
                SetState(r, ListRowState::Selected);
                selection_.push_back(r);
            } else if (r == row) {
                selection_.erase(std::remove(selection_.begin(), selection_.end(), row),
                                 selection_.end());
                selection_.push_back(row);
            }
            if (r == row) break;
        }
        selectedRow_ = row;
    } else {
        for (int other : selection_)
            if (other != row && ValidIndex(other)) SetState(other, ListRowState::Normal);
        selection_.assign(1, row);
        selectedRow_ = row;
        SetState(row, ListRowState::Selected);
    }
}

void UiListView::AddToSelection(int row) {
    if (singleSelect_ || !ValidIndex(row) || IsSelected(row)) return;
    SetState(row, ListRowState::Selected);
    selection_.push_back(row);
    selectedRow_ = row;
}

LResult UiListView::OnMouseDown(const MouseEvent& event) {
    const ListHit hit = HitTestRow(static_cast<float>(event.x), static_cast<float>(event.y));
    if (hit.row != 0) {
        CallRow(rowPressHandler_, hit.row);
        if (ValidIndex(hit.row))
            PressRow(hit.row, event);  // the callback may have cleared the list
    }
    if (event.button != MouseButton::Left) return kUnhandled;
    const auto notify = [&](const RowPressedHandler& handler) {
        if (!handler || !handle_) return;
        const RowPressedHandler call = handler;  // the handler may replace itself
        call(hit.row);
    };
    notify(rowPressed_);
    if (event.doubleClick) notify(rowActivated_);
    return kUnhandled;
}

LResult UiListView::OnMouseUp(const MouseEvent& event) {
    const ListHit hit = HitTestRow(static_cast<float>(event.x), static_cast<float>(event.y));
    if (hit.row == 0 || hit.row != selectedRow_) return kUnhandled;
    CallRow(event.button == MouseButton::Right ? rowRightClickHandler_ : rowClickHandler_, hit.row);
    return kUnhandled;
}

LResult UiListView::OnMouseLeave() {
    const int old = hoverRow_;
    hoverRow_ = hoverColumn_ = 0;
    if (ValidIndex(old) && !IsSelected(old)) SetState(old, ListRowState::Normal);
    return kUnhandled;
}

LResult UiListView::OnFocus(bool, UiControl*) {
    if (ValidIndex(selectedRow_)) DrawRow(selectedRow_);
    return kUnhandled;
}

}  // namespace ui
