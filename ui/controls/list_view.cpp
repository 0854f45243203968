#include "ui/controls/list_view.h"

#include <algorithm>

#include "ui/controls/control_support.h"
#include "ui/controls/string_format.h"

namespace ui {

UiListView::~UiListView() { Destroy(); }

UiControl* UiListView::CreateList(ControlParent parentIn, float x, float y, float width,
                                  float height, const ListViewOptions& o) {
    if (handle_) return handle_;
    style_ = o.style;
    const bool report = style_ == ListStyle::Report;
    itemSpacing_ = o.itemSpacing.value_or(style_ == ListStyle::Grid ? 6 : 4);
    hideHeader_ = report ? o.hideHeader.value_or(false) : true;
    gridLines_ = o.gridLines.value_or(report ? (LIST_GRID_ROWS | LIST_GRID_COLUMNS) : 0);
    singleSelect_ = o.singleSelect.value_or(true);
    textColor_ = o.textColor.value_or(0xD2000000);
    hoverTextColor_ = o.hoverTextColor.value_or(0);
    selectedTextColor_ = o.selectedTextColor.value_or(0);
    hoverBackColor_ = o.hoverBackColor.value_or(0);
    selectedBackColor_ = o.selectedBackColor.value_or(0);
    backColor_ = o.backColor.value_or(0xD2FFFFFF);
    lineColor_ = o.lineColor.value_or(0x50000000);
    font_ = MakeControlFont(o.faceName, o.size, o.fontStyle);
    cellFormat_ = MakeListCellFormat();
    return Create(parentIn, {x, y, width, height}, KIND_LIST_VIEW, o.visible, 1);
}

int UiListView::InsertColumn(int position, const rt::Text& title, float width, int image,
                             std::int64_t colour) {
    const int count = ColumnCount();
    const int at = (position <= 0 || position > count) ? count : position - 1;
    columns_.insert(columns_.begin() + at, ListColumn{title, image, width, colour});
    rows_.InsertColumn(at);
    UpdateContent();
    ScheduleRefresh(true);
    return at + 1;
}

int UiListView::InsertRow(int position, const rt::Text& firstCell, int image, int itemValue,
                          int value1, int value2, bool redraw) {
    if (ColumnCount() == 0) return 0;
    const int count = RowCount();
    const int row = (position <= 0 || position > count) ? count + 1 : position;
    rows_.InsertRow(row - 1, RowRecord{itemValue, value1, value2, ListRowState::Normal});
    rows_.SetCell(row - 1, 0, firstCell);
    rows_.SetCellImage(row - 1, 0, image);
    if (row <= count) {
        // Every remembered row number at or after the new row moves down one.
        for (int& selected : selection_)
            if (selected >= row) ++selected;
        if (selectedRow_ >= row) ++selectedRow_;
        if (hoverRow_ >= row) ++hoverRow_;
    }
    UpdateContent();
    // Rows above the screen shift what it shows; rows below it only change the bar.
    if (redraw && row <= count && row <= lastVisibleRow_) ScheduleRefresh(true);
    else if (redraw && row <= lastVisibleRow_) ScheduleRows(row, row);
    else ScheduleRefresh(false);
    return row;
}

int UiListView::AppendRow(std::initializer_list<std::string_view> cells, bool redraw) {
    if (ColumnCount() == 0) return 0;
    const int row = RowCount() + 1;
    rows_.InsertRow(row - 1, RowRecord{});
    int column = 0;
    for (std::string_view cell : cells) {
        if (column >= ColumnCount()) break;
        rows_.SetCell(row - 1, column++, cell);
    }
    UpdateContent();
    if (redraw && row <= lastVisibleRow_) ScheduleRows(row, row);
    else ScheduleRefresh(false);
    return row;
}

int UiListView::SetCellText(int row, int column, const rt::Text& text, bool redraw) {
    if (!ValidIndex(row, column)) return 0;
    rows_.SetCell(row - 1, column - 1, text);
    if (redraw && OnScreen(row)) ScheduleRows(row, row);
    return 1;
}

int UiListView::SetCellImage(int row, int column, int image, bool redraw) {
    if (!ValidIndex(row, column)) return 0;
    rows_.SetCellImage(row - 1, column - 1, image);
    if (redraw && OnScreen(row)) ScheduleRows(row, row);
    return 1;
}

std::string_view UiListView::CellView(int row, int column) const {
    if (!ValidIndex(row, column)) return {};
    return rows_.Cell(row - 1, column - 1);
}

rt::Text UiListView::GetCellText(int row, int column) const {
    return rt::Text(CellView(row, column));
}

void UiListView::DeleteAllRows() {
    rows_.Clear();
    selection_.clear();
    selectedRow_ = 0;
    firstVisibleRow_ = lastVisibleRow_ = 0;
    hoverRow_ = hoverColumn_ = 0;
    if (!Tooltip().empty()) Tooltip(rt::Text(), true);
    scrollX_ = scrollY_ = 0;
    contentHeight_ = 0;
    Layout();
    ScheduleRefresh(true);
}

int UiListView::Selection(std::optional<int> row) {
    if (row) {
        ClearSelection();
        if (selectedRow_ > 0 && selectedRow_ <= RowCount())
            SetState(selectedRow_, ListRowState::Normal);
        selectedRow_ = ValidIndex(*row) ? *row : 0;
        if (selectedRow_) {
            SetState(selectedRow_, ListRowState::Selected);
            // Kept in the multi-selection too, so the next plain press clears it.
            if (!singleSelect_) selection_.push_back(selectedRow_);
        }
    }
    return selectedRow_;
}

int UiListView::ItemValue(int row, std::optional<int> value) {
    if (!ValidIndex(row)) return 0;
    RowRecord& record = rows_.Row(row - 1);
    if (value) record.itemValue = *value;
    return record.itemValue;
}

int UiListView::RowValue(int row, int which, std::optional<int> value) {
    if (!ValidIndex(row) || (which != 1 && which != 2)) return 0;
    std::int32_t& field = which == 1 ? rows_.Row(row - 1).value1 : rows_.Row(row - 1).value2;
    if (value) field = *value;
    return field;
}

int UiListView::RowState(int row, std::optional<int> value, bool redraw) {
    if (!ValidIndex(row)) return 0;
    if (value) {
        const ListRowState state = *value == 4   ? ListRowState::Selected
                                   : *value == 1 ? ListRowState::Hovered
                                                 : ListRowState::Normal;
        rows_.Row(row - 1).state = state;
        if (redraw) DrawRow(row);
    }
    return static_cast<int>(rows_.Row(row - 1).state);
}

void UiListView::SetImageLists(const UiImageList* large, const UiImageList* header,
                               const UiImageList* small) {
    largeImages_ = large;
    headerImages_ = header;
    smallImages_ = small;
    Layout();
    ScheduleRefresh(true);
}

bool UiListView::HoverSelect(std::optional<bool> value) {
    if (value) hoverSelect_ = *value;
    return hoverSelect_;
}

bool UiListView::ValidIndex(std::optional<int> row, std::optional<int> column) const {
    if (row && (RowCount() == 0 || *row < 1 || *row > RowCount())) return false;
    if (column && (ColumnCount() == 0 || *column < 1 || *column > ColumnCount())) return false;
    return true;
}

LResult UiListView::OnCreate() {
    verticalBar_.CreateScrollBar(this, {rect_.x, rect_.y, kListBarThickness, kListBarThickness}, 0,
                                 false);
    horizontalBar_.CreateScrollBar(this, {rect_.x, rect_.y, kListBarThickness, kListBarThickness},
                                   SCROLL_HORIZONTAL, false);
    // The bars keep the press without taking the focus, so the wheel stays with the list.
    for (UiScrollBar* bar : {&verticalBar_, &horizontalBar_}) {
        bar->Focusable(0);
        bar->SetChangeCallback([this](UiScrollBar& changed, float value) {
            if (&changed == &verticalBar_) ScrollTo(std::nullopt, -value);
            else ScrollTo(-value, std::nullopt);
        });
    }
    Layout();
    SyncBars();
    return kUnhandled;
}

LResult UiListView::OnDestroy() {
    rows_.Clear();
    columns_.clear();
    selection_.clear();
    cellFormat_.reset();
    font_.reset();
    largeImages_ = headerImages_ = smallImages_ = nullptr;
    refreshPending_ = false;
    return kUnhandled;
}

LResult UiListView::OnPaint() {
    DrawList();
    return 0;
}

LResult UiListView::OnResize(int, int) {
    Layout();
    SyncBars();
    return kUnhandled;
}

LResult UiListView::OnOtherMessage(int message, WParam, LParam lParam) {
    switch (message) {
    case LIST_EV_REDRAW_ROW: DrawRow(static_cast<int>(lParam)); return 0;
    case LIST_EV_RESET_SCROLL: ScrollTo(0, 0); return 0;
    case LIST_EV_SYNC_VERTICAL:
    case LIST_EV_SYNC_HORIZONTAL: SyncBars(); return 0;
    case LIST_EV_CONTENT_CHANGED: {
        const bool repaint = repaintPending_;
        const int first = dirtyFirst_, last = dirtyLast_;
        refreshPending_ = repaintPending_ = false;
        dirtyFirst_ = dirtyLast_ = 0;
        SyncBars();
        if (repaint) DrawList();
        else if (first) DrawRows(first, last);
        return 0;
    }
    default: return kUnhandled;
    }
}

}  // namespace ui
