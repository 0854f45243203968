// UiListView: a header of columns over rows of text cells, with hover and
// selection states, two embedded scroll bars and wheel scrolling.
//
// Built for long tables that keep growing while they are shown: rows live in
// a RowStore (no allocation per cell), only the rows on screen are drawn and
// hit-tested (a row is found by arithmetic, not by a search), and appending
// rows only posts one "content changed" event however many rows arrive before
// the message loop turns again. Rows and columns are 1-based; 0 means "append"
// on insertion and "none" on return.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"
#include "ui/controls/list_rows.h"
#include "ui/controls/scroll_bar.h"

namespace ui {

enum class ListStyle { Report = 0, Grid = 1, Single = 2 };

// gridLines bits.
inline constexpr int LIST_GRID_ROWS = 1;  // a line under every row
inline constexpr int LIST_GRID_COLUMNS =
    2;  // a line at the right edge of every column (report only)

// Internal events the list sends itself.
inline constexpr int LIST_EV_REDRAW_ROW = 4102;  // lParam: row
inline constexpr int LIST_EV_RESET_SCROLL = 4105;
inline constexpr int LIST_EV_SYNC_VERTICAL = 4115;
inline constexpr int LIST_EV_SYNC_HORIZONTAL = 4116;
inline constexpr int LIST_EV_CONTENT_CHANGED = 4122;

// Thickness of the embedded scroll bars; also what the content width grows
// by when the columns are wider than the rows' area.
inline constexpr float kListBarThickness = 12;

// A set of equally sized images, addressed by index (cell images, header
// images, grid-item icons).
struct UiImageList {
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<gfx::Bitmap> images;
    const gfx::Bitmap* At(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < images.size()
                   ? &images[static_cast<std::size_t>(index)]
                   : nullptr;
    }
};

struct ListColumn {
    rt::Text title;
    int image = -1;  // header image index, -1 = none
    float width = 50;
    std::int64_t colour = -1;  // ARGB text colour of the column's cells, -1 = the row's
};

// A row callback: parent is the list's parent control, or null.
using RowHandler = std::function<void(UiControl* parent, UiControl* list, int row)>;
// Called after the list has taken a left press, so Selection() already tells
// the row it selected; `row` is the row under the press, 0 when none.
using RowPressedHandler = std::function<void(int row)>;

struct ListHit {
    int row = 0;
    int column = 0;
};

// Optional values of CreateList; absent ones take the defaults shown.
struct ListViewOptions {
    ListStyle style = ListStyle::Report;
    std::optional<int> itemSpacing;      // 4, 6 in the grid style: the padding of cells and items
    std::optional<bool> hideHeader;      // false; always true outside the report style
    std::optional<int> gridLines;        // 3 in the report style, else 0
    std::optional<bool> singleSelect;    // true
    std::optional<gfx::Argb> textColor;  // black at alpha 210
    std::optional<gfx::Argb> hoverTextColor;     // 0 = textColor
    std::optional<gfx::Argb> selectedTextColor;  // 0 = textColor
    std::optional<gfx::Argb> hoverBackColor;     // 0 = the theme colour at alpha 51
    std::optional<gfx::Argb> selectedBackColor;  // 0 = the theme colour at alpha 102
    std::optional<gfx::Argb> backColor;          // white at alpha 210
    std::optional<rt::Text> faceName;
    std::optional<float> size;  // 12
    std::optional<int> fontStyle;
    std::optional<gfx::Argb> lineColor;  // black at alpha 80
    bool visible = true;
};

class UiListView : public UiControl {
public:
    UiListView() { PlayTransitionsOnce(); }
    ~UiListView() override;

    // KIND_LIST_VIEW, focusable.
    UiControl* CreateList(ControlParent parent, float x, float y, float width, float height,
                          const ListViewOptions& options = {});

    // position 0 appends, n inserts before column n. Returns the column's number.
    int InsertColumn(int position, const rt::Text& title, float width = 50, int image = -1,
                     std::int64_t colour = -1);
    // Returns the new row's number, 0 while the list has no column.
    int InsertRow(int position, const rt::Text& firstCell, int image = -1, int itemValue = 0,
                  int value1 = 0, int value2 = 0, bool redraw = true);
    // Appends a row with its cells (one per column; missing ones stay empty).
    int AppendRow(std::initializer_list<std::string_view> cells, bool redraw = true);
    // 0 when the row or column is out of range.
    int SetCellText(int row, int column, const rt::Text& text, bool redraw = true);
    int SetCellImage(int row, int column, int image, bool redraw = true);
    // Empty when out of range.
    rt::Text GetCellText(int row, int column = 1) const;
    std::string_view CellView(int row, int column) const;
    void DeleteAllRows();
    // Room for `rows` rows in all, so that appending them never moves the
    // rows kept (a long copy in the middle of a stream of rows).
    void ReserveRows(int rows) { rows_.Reserve(rows); }
    // With a row: clears the whole selection and selects that row (0 or an
    // invalid row selects nothing). Returns the selected row, 0 when none.
    int Selection(std::optional<int> row = std::nullopt);
    // In multiple-selection mode: selects the row as a Ctrl press does.
    void AddToSelection(int row);
    int ItemValue(int row, std::optional<int> value = std::nullopt);
    // which: 1 or 2.
    int RowValue(int row, int which, std::optional<int> value = std::nullopt);
    // The row state code (0 normal, 1 hovered, 4 selected), 0 out of range.
    int RowState(int row, std::optional<int> value = std::nullopt, bool redraw = true);
    void SetImageLists(const UiImageList* large, const UiImageList* header,
                       const UiImageList* small);
    void SetRowClickHandler(RowHandler handler) { rowClickHandler_ = std::move(handler); }
    void SetRowRightClickHandler(RowHandler handler) { rowRightClickHandler_ = std::move(handler); }
    void SetRowPressHandler(RowHandler handler) { rowPressHandler_ = std::move(handler); }
    // Every left press on the list, after the selection has followed it.
    void SetRowPressedHandler(RowPressedHandler handler) { rowPressed_ = std::move(handler); }
    // The second press of a double click, after the pressed handler.
    void SetRowActivatedHandler(RowPressedHandler handler) { rowActivated_ = std::move(handler); }
    bool HoverSelect(std::optional<bool> value = std::nullopt);
    int ColumnCount() const { return rows_.ColumnCount(); }
    int RowCount() const { return rows_.RowCount(); }
    // The row's rectangle relative to the rows' area (x 0 at the left of the
    // content, y from the top of the area, scrolling applied).
    RectF RowRect(int row) const;
    // The row and column under a point in host window coordinates; 0 = none.
    ListHit HitTestRow(float x, float y) const;
    bool ValidIndex(std::optional<int> row, std::optional<int> column = std::nullopt) const;
    // Scrolls so that the row is on screen.
    void EnsureVisible(int row);

    void DrawList();
    void DrawRow(int row);
    // Draws the rows of first..last that are on screen, and nothing else.
    void DrawRows(int first, int last);

    // ---- What the window's code, the gallery and tests read ----
    ListStyle Style() const { return style_; }
    const std::optional<gfx::Font>& Font() const { return font_; }
    int GridLines() const { return gridLines_; }
    bool SingleSelect() const { return singleSelect_; }
    gfx::Argb TextColor() const { return textColor_; }
    gfx::Argb SelectedTextColor() const { return selectedTextColor_; }
    gfx::Argb BackColor() const { return backColor_; }
    gfx::Argb LineColor() const { return lineColor_; }
    const std::vector<ListColumn>& Columns() const { return columns_; }
    const RowStore& Rows() const { return rows_; }
    const gfx::StringFormat* CellFormat() const { return cellFormat_.get(); }
    // The rows' area and the header band, in control coordinates.
    RectF ItemsRect() const { return itemsRect_; }
    RectF HeaderRect() const { return headerRect_; }
    float RowHeight() const { return rowHeight_; }
    float ScrollX() const { return scrollX_; }
    float ScrollY() const { return scrollY_; }
    float ContentHeight() const { return contentHeight_; }
    int FirstVisibleRow() const { return firstVisibleRow_; }
    int LastVisibleRow() const { return lastVisibleRow_; }
    int HoverRow() const { return hoverRow_; }
    int HoverColumn() const { return hoverColumn_; }
    // The selected rows in multi-selection mode, in the order they were selected.
    const std::vector<int>& SelectedRows() const { return selection_; }
    const UiScrollBar& VerticalBar() const { return verticalBar_; }
    const UiScrollBar& HorizontalBar() const { return horizontalBar_; }

protected:
    LResult OnCreate() override;
    LResult OnDestroy() override;
    LResult OnPaint() override;
    LResult OnResize(int width, int height) override;
    LResult OnMouseMove(const MouseEvent& event) override;
    LResult OnMouseDown(const MouseEvent& event) override;
    LResult OnMouseUp(const MouseEvent& event) override;
    LResult OnMouseLeave() override;
    LResult OnWheel(int delta, int keys) override;
    LResult OnFocus(bool gained, UiControl* other) override;
    LResult OnOtherMessage(int message, WParam wParam, LParam lParam) override;

private:
    // ---- layout (list_view_layout.cpp) ----
    // Recomputes every layout value from the rectangle, font and images.
    void Layout();
    // Recomputes the content size and scrolling after rows or columns changed.
    void UpdateContent();
    // Holds the scroll offsets inside the content and recomputes the visible range.
    void ClampScroll();
    void UpdateVisibleRange();
    // Places the bars and hands them their ranges and values.
    void SyncBars();
    // Coalesces content changes into one posted refresh of the bars and, with
    // `repaint`, of every row on screen.
    void ScheduleRefresh(bool repaint);
    // The same, drawing only these rows (when they are on screen).
    void ScheduleRows(int first, int last);
    float MaxScrollY() const { return std::max(0.0f, contentHeight_ - itemsRect_.height); }
    float MaxScrollX() const { return std::max(0.0f, contentWidth_ - itemsRect_.width); }
    bool VerticalNeeded() const;
    bool HorizontalNeeded() const;
    void ScrollTo(std::optional<float> x, std::optional<float> y);
    // The height of one step of the layout: a row, or a line of grid items.
    float LineHeight() const { return style_ == ListStyle::Grid ? itemHeight_ : rowHeight_; }
    int LineOf(int row) const;
    // Row rectangle in surface coordinates.
    RectF RowSurfaceRect(int row) const;
    bool OnScreen(int row) const {
        return row >= firstVisibleRow_ && row <= lastVisibleRow_ && row > 0;
    }
    // Left edge of a column in content coordinates (column 1-based).
    float ColumnLeft(int column) const;

    // ---- drawing (list_view_drawing.cpp) ----
    void PaintHeader(gfx::Graphics& g);
    void PaintRow(gfx::Graphics& g, int row);
    void PaintGridItem(gfx::Graphics& g, int row, const RectF& box, gfx::Argb text);
    // Moves the rows' pixels by a whole number of pixels and draws the strip
    // they uncover; false when the surface cannot be reused that way.
    bool ShiftRows(float dy);
    gfx::Argb StateBackColor(ListRowState state) const;
    gfx::Argb StateTextColor(ListRowState state) const;

    // ---- input and selection (list_view_input.cpp) ----
    bool IsSelected(int row) const { return rows_.Row(row - 1).state == ListRowState::Selected; }
    void SetState(int row, ListRowState state);
    void HoverTo(int row, int column);
    void PressRow(int row, const MouseEvent& event);
    void CallRow(const RowHandler& handler, int row);
    void ClearSelection();

    std::optional<gfx::Font> font_;
    std::unique_ptr<gfx::StringFormat> cellFormat_;
    gfx::Argb textColor_ = 0xD2000000;
    gfx::Argb backColor_ = 0xD2FFFFFF;
    gfx::Argb lineColor_ = 0x50000000;
    std::vector<ListColumn> columns_;
    RowStore rows_;
    bool hideHeader_ = false;
    ListStyle style_ = ListStyle::Report;
    int gridLines_ = LIST_GRID_ROWS | LIST_GRID_COLUMNS;
    bool singleSelect_ = true;
    int itemSpacing_ = 4;
    RectF clientRect_;
    RectF itemsRect_;
    RectF headerRect_;
    float scrollX_ = 0;
    float scrollY_ = 0;
    int firstVisibleRow_ = 0;
    int lastVisibleRow_ = 0;
    int hoverRow_ = 0;
    int hoverColumn_ = 0;
    int selectedRow_ = 0;
    std::vector<int> selection_;
    float itemWidth_ = 0;
    float itemHeight_ = 0;
    float rowHeight_ = 0;
    float contentWidth_ = 0;
    float contentHeight_ = 0;
    int itemsPerLine_ = 1;
    const UiImageList* largeImages_ = nullptr;
    const UiImageList* headerImages_ = nullptr;
    const UiImageList* smallImages_ = nullptr;
    gfx::Argb hoverBackColor_ = 0;
    gfx::Argb selectedBackColor_ = 0;
    gfx::Argb hoverTextColor_ = 0;
    gfx::Argb selectedTextColor_ = 0;
    RowHandler rowClickHandler_;
    RowHandler rowRightClickHandler_;
    RowHandler rowPressHandler_;
    bool hoverSelect_ = false;
    UiScrollBar horizontalBar_;
    UiScrollBar verticalBar_;
    RowPressedHandler rowPressed_;
    RowPressedHandler rowActivated_;
    bool refreshPending_ = false;
    bool repaintPending_ = false;
    // Rows to draw at the next refresh when no whole repaint is due; 0 = none.
    int dirtyFirst_ = 0;
    int dirtyLast_ = 0;
    bool horizontalShown_ = false;
    bool verticalShown_ = false;
};

}  // namespace ui
