// The list control on a headless host: cells, selection, scrolling, hover and
// what the rows look like.
#include <gtest/gtest.h>

#include <string>

#include "backend_under_test.h"
#include "host_fixture.h"
#include "ui/controls/list_view.h"
#include "ui/core/shown_text.h"

namespace {

using ui::test::ControlHostTest;

constexpr float kListX = 100, kListY = 100, kWidth = 420, kHeight = 300;

class ListTest : public ControlHostTest {
protected:
    void SetUp() override {
        ControlHostTest::SetUp();
        Make(true);
    }
    void Make(bool single) {
        list = std::make_unique<ui::UiListView>();
        ui::ListViewOptions o;
        o.singleSelect = single;
        o.backColor = 0xFFFFFFFF;
        o.textColor = 0xFF000000;
        o.selectedBackColor = 0xFF00C000;
        o.hoverBackColor = 0xFF0000C0;
        ASSERT_TRUE(list->CreateList(window, kListX, kListY, kWidth, kHeight, o));
        const float widths[] = {60, 150, 60, 60, 50};
        for (float w : widths) list->InsertColumn(0, "col", w);
        Pump();
    }
    void Fill(int rows) {
        for (int i = 1; i <= rows; ++i)
            list->AppendRow(
                {std::to_string(i), "title " + std::to_string(i), "1 MB", "2026-12-07", "site"});
        Pump();
    }
    // Client coordinates of the middle of a row's cell.
    int RowY(int row) const {
        return static_cast<int>(kListY + list->ItemsRect().y + list->RowRect(row).y +
                                list->RowHeight() / 2);
    }
    int CellX(int column) const {
        float x = kListX + list->ItemsRect().x + list->ScrollX();
        for (int c = 1; c < column; ++c)
            x += list->Columns()[static_cast<std::size_t>(c - 1)].width;
        return static_cast<int>(x +
                                list->Columns()[static_cast<std::size_t>(column - 1)].width / 2);
    }
    void PressRow(int row, int column = 1) {
        Press(CellX(column), RowY(row));
        Release();
    }
    int SelectedCount() const {
        int n = 0;
        for (int r = 1; r <= list->RowCount(); ++r) n += list->RowState(r) == 4;
        return n;
    }

public:
    std::unique_ptr<ui::UiListView> list;
};

TEST_F(ListTest, CellsOutOfRangeReadEmptyAndRefuseWrites) {
    Fill(3);
    EXPECT_EQ(list->GetCellText(2, 2), "title 2");
    EXPECT_EQ(list->GetCellText(0, 1), "");
    EXPECT_EQ(list->GetCellText(4, 1), "");
    EXPECT_EQ(list->GetCellText(1, 6), "");
    EXPECT_EQ(list->GetCellText(1, 0), "");
    EXPECT_EQ(list->SetCellText(4, 1, "x"), 0);
    EXPECT_EQ(list->SetCellText(1, 6, "x"), 0);
    // A longer text than the cell held, then a shorter one, then none.
    EXPECT_EQ(list->SetCellText(3, 2, "a much longer title than before"), 1);
    EXPECT_EQ(list->GetCellText(3, 2), "a much longer title than before");
    list->SetCellText(3, 2, "short");
    EXPECT_EQ(list->GetCellText(3, 2), "short");
    list->SetCellText(3, 2, "");
    EXPECT_EQ(list->GetCellText(3, 2), "");
    EXPECT_EQ(list->GetCellText(2, 2), "title 2");
    EXPECT_FALSE(list->ValidIndex(std::nullopt, 6));
    EXPECT_TRUE(list->ValidIndex(3, 5));
}

// Texts rewritten many times leave dead bytes behind until the pool is
// compacted; a text larger than a chunk gets a chunk of its own. Neither may
// lose or mix up a cell.
TEST(RowStoreTest, RewrittenAndHugeTextsStayIntact) {
    ui::RowStore store;
    store.InsertColumn(0);
    store.InsertColumn(1);
    const auto text = [](int row, int round) {
        return std::to_string(row) + std::string(static_cast<std::size_t>(8 + round * 40), 'x');
    };
    for (int r = 0; r < 2000; ++r) store.InsertRow(r, {});
    for (int round = 0; round < 12; ++round)
        for (int r = 0; r < 2000; ++r) store.SetCell(r, 1, text(r, round));
    EXPECT_LT(store.PoolBytes(), 4 * store.LiveBytes());
    const std::string huge(300000, 'h');
    store.SetCell(7, 0, huge);
    store.SetCell(8, 0, "after the huge one");
    store.InsertColumn(1);
    store.InsertRow(0, {});
    for (int r = 0; r < 2000; ++r) ASSERT_EQ(store.Cell(r + 1, 2), text(r, 11)) << "row " << r;
    EXPECT_EQ(store.Cell(8, 0), huge);
    EXPECT_EQ(store.Cell(9, 0), "after the huge one");
    EXPECT_EQ(store.Cell(9, 1), "");
    EXPECT_EQ(store.Cell(0, 2), "");
}

TEST_F(ListTest, RowsNeedAColumnAndColumnsReachEveryRow) {
    ui::UiListView empty;
    ASSERT_TRUE(empty.CreateList(window, 600, 100, 200, 100));
    EXPECT_EQ(empty.InsertRow(0, "x"), 0);
    EXPECT_EQ(empty.RowCount(), 0);
    EXPECT_FALSE(empty.ValidIndex(1));

    Fill(2);
    EXPECT_EQ(list->InsertColumn(2, "new", 40), 2);
    EXPECT_EQ(list->GetCellText(1, 1), "1");
    EXPECT_EQ(list->GetCellText(1, 2), "");
    EXPECT_EQ(list->GetCellText(1, 3), "title 1");
    EXPECT_EQ(list->GetCellText(2, 6), "site");
    EXPECT_EQ(list->InsertRow(1, "first"), 1);
    EXPECT_EQ(list->GetCellText(1, 1), "first");
    EXPECT_EQ(list->GetCellText(2, 1), "1");
}

TEST_F(ListTest, APressOnAnotherRowLeavesExactlyOneSelectedEvenAfterAnInsertionAbove) {
    Fill(5);
    PressRow(2);
    EXPECT_EQ(list->Selection(), 2);
    PressRow(4, 3);
    EXPECT_EQ(list->Selection(), 4);
    EXPECT_EQ(SelectedCount(), 1);
    // The selected row moves down with an insertion above it and stays the one selected.
    list->InsertRow(1, "new");
    Pump();
    EXPECT_EQ(list->Selection(), 5);
    EXPECT_EQ(list->GetCellText(5, 2), "title 4");
    PressRow(1);
    EXPECT_EQ(SelectedCount(), 1);
    EXPECT_EQ(list->RowState(1), 4);
}

TEST_F(ListTest, MultiSelectionFollowsCtrlAndShiftAndSurvivesInsertion) {
    Make(false);
    Fill(8);
    PressRow(2);
    plat::headless::Key(plat::VK_CONTROL, true);
    PressRow(5);
    PressRow(2);  // toggles off: state 0 though the mouse is still on it
    EXPECT_EQ(list->RowState(2), 0);
    // Both presses of a double click toggle: the row ends as it was.
    PressRow(3);
    PressRow(3);
    plat::headless::Key(plat::VK_CONTROL, false);
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{5}));
    plat::headless::Key(plat::VK_SHIFT, true);
    PressRow(7);
    plat::headless::Key(plat::VK_SHIFT, false);
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{5, 6, 7}));

    list->InsertRow(3, "inserted");
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(list->GetCellText(6, 1), "5");
    list->AppendRow({"appended"});
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(SelectedCount(), 3);

    // A plain press replaces the whole selection.
    PressRow(1);
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{1}));
    EXPECT_EQ(SelectedCount(), 1);
    // Selection() clears the multi-selection too, and a later press clears its row.
    list->Selection(4);
    PressRow(2);
    EXPECT_EQ(SelectedCount(), 1);
}

TEST_F(ListTest, WheelScrollsThreeRowsANotchOnlyWhenTheRowsDoNotFit) {
    Fill(5);
    PressRow(1);  // the wheel goes to the focused control
    plat::headless::Wheel(-1);
    Pump();
    EXPECT_EQ(list->ScrollY(), 0);
    EXPECT_EQ(list->VerticalBar().Visible(), 0);

    Fill(95);
    EXPECT_EQ(list->VerticalBar().Visible(), 1);
    plat::headless::Wheel(-1);
    Pump();
    EXPECT_FLOAT_EQ(list->ScrollY(), -3 * list->RowHeight());
    EXPECT_EQ(list->FirstVisibleRow(), 4);
    EXPECT_FLOAT_EQ(list->VerticalBar().ScrollValue(), 3 * list->RowHeight());
    EXPECT_EQ(list->HitTestRow(static_cast<float>(CellX(2)), kListY + list->ItemsRect().y + 1).row,
              4);
    plat::headless::Wheel(3);
    Pump();
    EXPECT_EQ(list->ScrollY(), 0);
    plat::headless::Wheel(-100);
    Pump();
    EXPECT_FLOAT_EQ(list->ScrollY(), -(list->ContentHeight() - list->ItemsRect().height));
    EXPECT_EQ(list->LastVisibleRow(), 100);
}

// A notch moves the drawn rows and draws only the uncovered strip: the result
// must be what drawing every row gives.
TEST_F(ListTest, AScrolledViewLooksLikeAFreshlyDrawnOne) {
    Fill(60);
    list->SetCellText(5, 2, "这是一个非常非常长的中文标题它不可能放进这一列里面吧");
    PressRow(2);
    const auto listPixels = [&] {
        const auto shot = Shot();
        std::vector<std::uint32_t> area;
        for (int y = static_cast<int>(kListY); y < kListY + kHeight; ++y)
            for (int x = static_cast<int>(kListX); x < kListX + kWidth - ui::kListBarThickness - 2;
                 ++x)
                area.push_back(shot.at(x, y));
        return area;
    };
    for (int notches : {-1, -2, 1}) {
        plat::headless::Wheel(notches);
        Pump();
        const auto scrolled = listPixels();
        list->DrawList();
        Pump();
        EXPECT_EQ(scrolled, listPixels()) << "after " << notches << " notches";
    }
}

TEST_F(ListTest, DeletingAllRowsClearsTheSelectionAndScrollsBackToTheTop) {
    Fill(100);
    PressRow(3);
    plat::headless::Wheel(-2);
    Pump();
    ASSERT_LT(list->ScrollY(), 0);
    list->DeleteAllRows();
    Pump();
    EXPECT_EQ(list->Selection(), 0);
    EXPECT_TRUE(list->SelectedRows().empty());
    EXPECT_EQ(list->ScrollY(), 0);
    EXPECT_EQ(list->RowCount(), 0);
    EXPECT_EQ(list->FirstVisibleRow(), 0);
    EXPECT_EQ(list->VerticalBar().Visible(), 0);
    EXPECT_EQ(list->GetCellText(1, 1), "");
    // Filled again, it starts at the top with nothing selected.
    Fill(50);
    EXPECT_EQ(list->ScrollY(), 0);
    EXPECT_EQ(SelectedCount(), 0);
}

TEST_F(ListTest, HoverAlongOneRowChangesOnlyTheTooltip) {
    Fill(5);
    MoveTo(CellX(1), RowY(2));
    EXPECT_EQ(list->HoverRow(), 2);
    EXPECT_EQ(list->RowState(2), 1);
    EXPECT_EQ(list->Tooltip(), "2");
    const int presents = PresentCount();
    MoveTo(CellX(2), RowY(2));
    EXPECT_EQ(list->Tooltip(), "title 2");
    EXPECT_EQ(list->HoverColumn(), 2);
    EXPECT_EQ(PresentCount(), presents);
    MoveTo(CellX(2), RowY(3));
    EXPECT_EQ(list->RowState(2), 0);
    EXPECT_EQ(list->RowState(3), 1);
    // A selected row stays selected under the mouse.
    PressRow(3, 2);
    MoveTo(CellX(1), RowY(4));
    MoveTo(CellX(1), RowY(3));
    EXPECT_EQ(list->RowState(3), 4);
    MoveTo(900, 500);
    EXPECT_EQ(list->HoverRow(), 0);
}

// What a cell or a box shows of a text: its first characters, a double-byte
// character whole, line breaks as single spaces.
TEST(ShownText, APrefixOfWholeCharactersOnOneLine) {
    const std::string wide = "中文ab";
    EXPECT_EQ(ui::ShownPart(wide, 1), "中");
    EXPECT_EQ(ui::ShownPart(wide, 3), "中文a");
    EXPECT_EQ(ui::ShownPart(wide, 10), wide);
    EXPECT_EQ(ui::ShownPart("a\xD6", 5), "a\xD6");  // a lead byte at the end counts alone
    EXPECT_EQ(ui::OneLine("one\r\ntwo\rthree\nfour\n\n"), "one two three four  ");
    EXPECT_EQ(ui::OneLine(std::string(5000, 'x')).size(),
              static_cast<std::size_t>(ui::kMaxShownColumns));
}

TEST_F(ListTest, ATitleWithLineBreaksIsDrawnOnItsOwnRowAndKeptAsItCame) {
    Fill(3);
    const int left = static_cast<int>(kListX + list->ItemsRect().x + 60);
    const auto inkRight = [&](int row) {
        const auto shot = Shot();
        const int top = static_cast<int>(kListY + list->ItemsRect().y + list->RowRect(row).y);
        int right = 0;
        for (int x = left; x < left + 150; ++x)
            for (int y = top; y < top + static_cast<int>(list->RowHeight()) - 1; ++y)
                if (R(shot.at(x, y)) < 128) right = x;
        return right;
    };
    list->SetCellText(1, 2, "AAAA");
    list->SetCellText(2, 2, "");
    Pump();
    const int oneWord = inkRight(1);
    list->SetCellText(1, 2, "AAAA\r\nBBBB");
    Pump();
    EXPECT_GT(inkRight(1), oneWord + 10);  // the second line follows on the same line
    EXPECT_EQ(inkRight(2), 0);             // and leaves the next row alone
    EXPECT_EQ(list->GetCellText(1, 2), "AAAA\r\nBBBB");
}

TEST_F(ListTest, AHugeCellIsKeptWholeButShownByItsBeginning) {
    Fill(2);
    const std::string huge = "开头" + std::string(3 * 1000 * 1000, 'x');
    list->SetCellText(1, 2, huge);
    Pump();
    EXPECT_EQ(list->GetCellText(1, 2), huge);
    MoveTo(CellX(2), RowY(1));
    EXPECT_EQ(list->Tooltip(), ui::ShownPart(huge));
    // The row is drawn: its beginning shows, the ellipsis ends it in the column.
    const auto shot = Shot();
    int ink = 0;
    for (int x = CellX(2) - 70; x < CellX(2) + 70; ++x) ink += R(shot.at(x, RowY(1))) < 128;
    EXPECT_GT(ink, 5);
}

TEST_F(ListTest, RowCallbacksSeeThePressedAndClickedRow) {
    Fill(5);
    std::vector<std::string> calls;
    list->SetRowPressHandler([&](ui::UiControl* parent, ui::UiControl* self, int row) {
        EXPECT_EQ(parent, nullptr);
        EXPECT_EQ(self, list.get());
        calls.push_back("press " + std::to_string(row));
    });
    list->SetRowClickHandler([&](ui::UiControl*, ui::UiControl*, int row) {
        calls.push_back("click " + std::to_string(row) + " selected " +
                        std::to_string(list->Selection()));
    });
    // The application's way: the pressed handler runs after the list selected
    // the row; the second press of a double click also activates it.
    list->SetRowPressedHandler([&](int row) {
        calls.push_back("pressed " + std::to_string(row) + " selected " +
                        std::to_string(list->Selection()));
    });
    list->SetRowActivatedHandler(
        [&](int row) { calls.push_back("activated " + std::to_string(row)); });
    PressRow(3);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"press 3", "pressed 3 selected 3", "click 3 selected 3"}));
    calls.clear();
    PressRow(3);
    EXPECT_EQ(calls, (std::vector<std::string>{"press 3", "pressed 3 selected 3", "activated 3",
                                               "click 3 selected 3"}));
}

TEST_F(ListTest, TheVerticalBarDragsTheRows) {
    Fill(200);
    const ui::RectF bar = list->VerticalBar().Rect();
    EXPECT_FLOAT_EQ(bar.x + bar.width, kListX + kWidth - 2);
    EXPECT_FLOAT_EQ(list->VerticalBar().Maximum(),
                    list->ContentHeight() - list->ItemsRect().height);
    // A press on the track below the thumb moves a page down.
    Press(static_cast<int>(bar.x + 6), static_cast<int>(bar.y + bar.height - 20));
    Release();
    EXPECT_LT(list->ScrollY(), 0);
    EXPECT_FLOAT_EQ(list->ScrollY(), -list->VerticalBar().ScrollValue());
    EXPECT_GT(list->FirstVisibleRow(), 1);
    // A resized list takes its bars along; a narrower one also needs the horizontal bar.
    list->Move(std::nullopt, std::nullopt, 300.0f, 200.0f);
    Pump();
    EXPECT_FLOAT_EQ(list->VerticalBar().Rect().x + list->VerticalBar().Rect().width,
                    kListX + 300 - 2);
    EXPECT_FLOAT_EQ(list->VerticalBar().Maximum(),
                    list->ContentHeight() - list->ItemsRect().height);
    EXPECT_EQ(list->HorizontalBar().Visible(), 1);
    EXPECT_FLOAT_EQ(list->HorizontalBar().Rect().y, kListY + 200 - 2 - ui::kListBarThickness);
}

TEST_F(ListTest, ASelectedRowIsFilledAndALongTitleEndsInAnEllipsis) {
    // Cell texts: one line, trailing spaces measured, at the top left of the
    // cell, cut with an ellipsis.
    const gfx::StringFormat& format = *list->CellFormat();
    EXPECT_EQ(format.Flags(),
              gfx::StringFormatFlags::kNoWrap | gfx::StringFormatFlags::kMeasureTrailingSpaces);
    EXPECT_EQ(format.Alignment(), gfx::StringAlignment::Near);
    EXPECT_EQ(format.LineAlignment(), gfx::StringAlignment::Near);
    EXPECT_EQ(format.Trimming(), gfx::StringTrimming::EllipsisCharacter);
    Fill(3);
    list->SetCellText(2, 2, "这是一个非常非常长的中文标题它不可能放进这一列里面吧");
    PressRow(1, 4);
    Pump();
    const auto shot = Shot();
    const int y = RowY(1);
    const std::uint32_t selected = shot.at(CellX(5) + 20, y - 3);
    EXPECT_GT(G(selected), 150);
    EXPECT_LT(R(selected), 40);
    const std::uint32_t plain = shot.at(CellX(5) + 20, RowY(3) - 3);
    EXPECT_GT(R(plain), 230);

    // The long title stays inside its column and ends in a run of low dots,
    // where a clipped Chinese character would be ink from top to bottom.
    const int left = static_cast<int>(kListX + list->ItemsRect().x + 60);
    const int right = left + 150;
    const int top = static_cast<int>(kListY + list->ItemsRect().y + list->RowRect(2).y);
    const int bottom = top + static_cast<int>(list->RowHeight()) - 2;
    const auto ink = [&](int x, int yy) { return R(shot.at(x, yy)) < 128; };
    int lastInk = 0;
    for (int x = left; x < right + 3; ++x)
        for (int yy = top; yy < bottom; ++yy)
            if (ink(x, yy)) lastInk = x;
    ASSERT_GT(lastInk, left + 100);
    EXPECT_LT(lastInk, right - 1);
    // wine's GDI+ trims at the last whole character and draws no ellipsis.
    if (gfx_test::UnderWine()) return;
    int inkTop = bottom, inkBottom = top;
    for (int x = lastInk - 8; x <= lastInk; ++x)
        for (int yy = top; yy < bottom; ++yy)
            if (ink(x, yy)) inkTop = std::min(inkTop, yy), inkBottom = std::max(inkBottom, yy);
    EXPECT_LE(inkBottom - inkTop, 3) << "the tail of the title is not an ellipsis";
}

}  // namespace
