// Mouse input of the list: hover and cell tooltips, single and multiple
// selection, the row callbacks.
#include <algorithm>

#include "ui/controls/list_view.h"

namespace ui {

void UiListView::SetState(int row, ListRowState state) {
    if (!ValidIndex(row)) return;
    RowRecord& record = rows.Row(row - 1);
    if (record.state == state) return;
    record.state = state;
    DrawRow(row);
}

void UiListView::CallRow(const RowHandler& handler, int row) {
    if (handler) handler(parent, this, row);
}

void UiListView::ClearSelection() {
    for (int row : selection)
        if (ValidIndex(row)) SetState(row, ListRowState::Normal);
    selection.clear();
}

void UiListView::HoverTo(int row, int column) {
    if (row == 0) {
        if (hoverRow == 0 && hoverColumn == 0) return;
        const int old = hoverRow;
        hoverRow = hoverColumn = 0;
        Tooltip(rt::Text(), true);
        if (ValidIndex(old) && !IsSelected(old)) SetState(old, ListRowState::Normal);
        return;
    }
    if (row == hoverRow && column == hoverColumn) return;
    const int old = hoverRow;
    hoverRow = row;
    hoverColumn = column;
    Tooltip(GetCellText(row, column), true);
    if (row == old) return;  // along the row: only the tooltip changes
    if (ValidIndex(old) && !IsSelected(old)) SetState(old, ListRowState::Normal);
    if (!IsSelected(row)) SetState(row, ListRowState::Hovered);
}

LResult UiListView::OnMouseMove(const MouseEvent& event) {
    const ListHit hit = HitTestRow(static_cast<float>(event.x), static_cast<float>(event.y));
    if (hoverSelect && hit.row) {
        if (hit.row != selectedRow) {
            CallRow(rowPressHandler, hit.row);
            if (ValidIndex(selectedRow)) SetState(selectedRow, ListRowState::Normal);
            selectedRow = hit.row;
            SetState(hit.row, ListRowState::Selected);
        }
        return kUnhandled;
    }
    HoverTo(hit.row, hit.column);
    return kUnhandled;
}

void UiListView::PressRow(int row, const MouseEvent& event) {
    if (singleSelect) {
        if (selectedRow != row && ValidIndex(selectedRow))
            SetState(selectedRow, ListRowState::Normal);
        selectedRow = row;
        SetState(row, ListRowState::Selected);
        return;
    }
    if (event.Ctrl()) {
        if (IsSelected(row)) {
            SetState(row, row == hoverRow ? ListRowState::Hovered : ListRowState::Normal);
            selection.erase(std::remove(selection.begin(), selection.end(), row), selection.end());
            if (selectedRow == row) selectedRow = selection.empty() ? 0 : selection.back();
        } else {
            SetState(row, ListRowState::Selected);
            selection.push_back(row);
            selectedRow = row;
        }
    } else if (event.Shift()) {
        const int from = selection.empty() ? row : selection.back();
        const int step = row >= from ? 1 : -1;
        // The pressed row ends the run, so it becomes the last selected one.
        for (int r = from;; r += step) {
            if (!IsSelected(r)) {
                SetState(r, ListRowState::Selected);
                selection.push_back(r);
            } else if (r == row) {
                selection.erase(std::remove(selection.begin(), selection.end(), row),
                                selection.end());
                selection.push_back(row);
            }
            if (r == row) break;
        }
        selectedRow = row;
    } else {
        for (int other : selection)
            if (other != row && ValidIndex(other)) SetState(other, ListRowState::Normal);
        selection.assign(1, row);
        selectedRow = row;
        SetState(row, ListRowState::Selected);
    }
}

LResult UiListView::OnMouseDown(const MouseEvent& event) {
    const ListHit hit = HitTestRow(static_cast<float>(event.x), static_cast<float>(event.y));
    if (hit.row != 0) {
        CallRow(rowPressHandler, hit.row);
        if (ValidIndex(hit.row))
            PressRow(hit.row, event);  // the callback may have cleared the list
    }
    if (event.button != MouseButton::Left) return kUnhandled;
    const auto notify = [&](const RowPressedHandler& handler) {
        if (!handler || !handle) return;
        const RowPressedHandler call = handler;  // the handler may replace itself
        call(hit.row);
    };
    notify(rowPressed_);
    if (event.doubleClick) notify(rowActivated_);
    return kUnhandled;
}

LResult UiListView::OnMouseUp(const MouseEvent& event) {
    const ListHit hit = HitTestRow(static_cast<float>(event.x), static_cast<float>(event.y));
    if (hit.row == 0 || hit.row != selectedRow) return kUnhandled;
    CallRow(event.button == MouseButton::Right ? rowRightClickHandler : rowClickHandler, hit.row);
    return kUnhandled;
}

LResult UiListView::OnMouseLeave() {
    const int old = hoverRow;
    hoverRow = hoverColumn = 0;
    if (ValidIndex(old) && !IsSelected(old)) SetState(old, ListRowState::Normal);
    return kUnhandled;
}

LResult UiListView::OnFocus(bool, UiControl*) {
    if (ValidIndex(selectedRow)) DrawRow(selectedRow);
    return kUnhandled;
}

}  // namespace ui
