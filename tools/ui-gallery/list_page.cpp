#include "list_page.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "assets/assets.h"
#include "platform/gfx/brush.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/pen.h"
#include "report.h"
#include "ui/controls/effect_text.h"
#include "ui/controls/label.h"
#include "ui/controls/picture.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/library.h"

namespace {

constexpr int kWidth = 466;
constexpr int kHeight = 1040;
constexpr gfx::Argb kWhiteText = 0xFEFFFFFF;

// The window icon: a lens over a half-transparent disc, so the caption shows
// an icon's alpha.
plat::IconImage DrawLensIcon() {
    gfx::Bitmap bitmap(16, 16);
    gfx::Graphics g(bitmap);
    g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
    g.FillEllipse(gfx::SolidBrush(0x80FFFFFF), {0, 0, 15, 15});
    g.DrawEllipse(gfx::Pen(0xFF1E5A28, 2), {2, 2, 8, 8});
    g.DrawLine(gfx::Pen(0xFF1E5A28, 2.5f), {10, 10}, {14, 14});
    return ui::IconFromBitmap(bitmap);
}

// Icons of the grid-style list: rounded tiles in six colours with a letter.
ui::UiImageList DrawGridIcons() {
    ui::UiImageList list;
    list.iconWidth = list.iconHeight = 32;
    const gfx::Argb colours[] = {0xFFD9534F, 0xFFF0AD4E, 0xFF5CB85C,
                                 0xFF5BC0DE, 0xFF337AB7, 0xFF9B59B6};
    const gfx::Font font(gfx::FontFamily::DefaultChineseSans(), 16, gfx::FontStyle::kBold);
    gfx::StringFormat centred;
    centred.SetAlignment(gfx::StringAlignment::Center);
    centred.SetLineAlignment(gfx::StringAlignment::Center);
    for (int i = 0; i < 6; ++i) {
        gfx::Bitmap tile(32, 32);
        gfx::Graphics g(tile);
        g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
        g.SetTextRenderingHint(gfx::TextRenderingHint::AntiAliasGridFit);
        ui::FillRoundRect(g, {1, 1, 30, 30}, 10, colours[i]);
        g.DrawString(std::string(1, static_cast<char>('A' + i)), font, gfx::SolidBrush(0xFFFFFFFF),
                     {0, 0, 32, 32}, centred);
        list.images.push_back(std::move(tile));
    }
    return list;
}

}  // namespace

ListPage::ListPage() = default;
ListPage::~ListPage() = default;

bool ListPage::Open() {
    ui::HostWindowOptions options;
    options.title = "ui-gallery lists";
    options.width = kWidth;
    options.height = kHeight;
    // The right edge of the screen, beside the main window (centred, 975 wide).
    const plat::SIZE screen = plat::GetScreenSize();
    options.x = std::max(0, screen.cx - kWidth - 2);
    options.y = std::max(0, (screen.cy - kHeight) / 2);
    window_ = ui::CreateHostWindow(options);
    if (!window_) return false;
    icon_ = DrawLensIcon();
    plat::SendMessage(window_, plat::WM_SETICON, plat::ICON_SMALL,
                      reinterpret_cast<plat::LPARAM>(&icon_));
    ui::AttachOptions attach;
    attach.captionFlags = ui::CAPTION_ICON | ui::CAPTION_TITLE | ui::CAPTION_CLOSE;
    attach.backgroundColour = 0x503A24;
    attach.backgroundAlpha = 225;
    if (!host_.Attach(window_, attach)) return false;
    gridIcons_ = DrawGridIcons();
    BuildResultList();
    BuildMultiList();
    BuildOtherStyles();
    BuildPictures();
    host_.ShowAnimated(0);
    Report("lists ready");
    return true;
}

void ListPage::Section(float y, const rt::Text& title) {
    ui::LabelOptions o;
    o.textColor = kWhiteText;
    o.effect = ui::EFFECT_GLOW;
    o.effectColor = 0xB4000000;
    o.fontStyle = gfx::FontStyle::kBold;
    controls_.Add<ui::UiLabel>().CreateLabel(window_, 12, y, 442, 20, title, o);
}

void ListPage::BuildResultList() {
    Section(36, "结果列表: 300 rows, five columns, hover and click");
    ui::ListViewOptions o;
    o.gridLines = ui::LIST_GRID_ROWS;
    o.textColor = 0xFE000000;
    o.selectedTextColor = 0xFEFFFFFF;
    o.selectedBackColor = 0xC8285A8C;
    ui::UiListView& list = controls_.Add<ui::UiListView>();
    list.CreateList(window_, 12, 58, 442, 330, o);
    const char* titles[] = {"序号", "标题", "大小", "日期", "站点"};
    const float widths[] = {50, 260, 80, 90, 70};
    for (int c = 0; c < 5; ++c) list.InsertColumn(0, titles[c], widths[c]);
    const char* names[] = {"开源软件合集 Linux 发行版 ISO 镜像", "纪录片 蓝色星球 1080p 国英双语",
                           "经典老歌 无损音乐 FLAC 华语金曲精选",
                           "公开课 计算机程序的构造和解释 全集字幕"};
    const char* sites[] = {"站点一", "站点二", "站点三", "站点四",
                           "站点五", "站点六", "站点七", "站点八"};
    for (int i = 1; i <= 300; ++i) {
        const std::string title = std::string(names[i % 4]) + " 第" + std::to_string(i) + "集";
        const std::string size = std::to_string(100 + (i * 37) % 900) + " MB";
        const std::string date =
            "2026-" + std::to_string(1 + i % 12) + "-" + std::to_string(1 + i % 28);
        list.AppendRow({std::to_string(i), title, size, date, sites[i % 8]});
    }
    ReportPlace("list", list);
    // Where the rows start and how high one is, for whoever clicks rows from outside.
    Report("at listrows " + std::to_string(static_cast<int>(list.Rect().x + list.ItemsRect().x)) +
           " " + std::to_string(static_cast<int>(list.Rect().y + list.ItemsRect().y)) + " " +
           std::to_string(static_cast<int>(list.ItemsRect().width)) + " " +
           std::to_string(static_cast<int>(list.RowHeight())));
    ui::LabelOptions status;
    status.textColor = kWhiteText;
    status.effect = ui::EFFECT_GLOW;
    status.effectColor = 0xB4000000;
    ui::UiLabel& shown = controls_.Add<ui::UiLabel>();
    shown.CreateLabel(window_, 12, 392, 442, 20, "Click a row: its title shows here", status);
    list.SetRowPressedHandler([&list, &shown](int) {
        const int row = list.Selection();
        if (row == 0) return;
        shown.LabelText(list.GetCellText(row, 2));
        Report("list row " + std::to_string(row));
    });
    list.BindEvent(plat::WM_MOUSEWHEEL,
                   [&list](ui::UiControl*, ui::UiControl*, int, ui::WParam, ui::LParam) {
                       Report("list top " + std::to_string(list.FirstVisibleRow()));
                   });
}

void ListPage::BuildMultiList() {
    Section(418, "Multiple selection: Ctrl toggles, Shift extends");
    ui::ListViewOptions o;
    o.singleSelect = false;
    o.gridLines = ui::LIST_GRID_ROWS | ui::LIST_GRID_COLUMNS;
    ui::UiListView& list = controls_.Add<ui::UiListView>();
    list.CreateList(window_, 12, 440, 442, 140, o);
    list.InsertColumn(0, "Name", 200);
    list.InsertColumn(0, "Kind", 120);
    list.InsertColumn(0, "Value", 100);
    const char* kinds[] = {"fruit", "colour", "planet"};
    const char* items[] = {"apple", "amber",  "Mercury", "banana", "blue",
                           "Venus", "cherry", "cyan",    "Earth"};
    for (int i = 0; i < 36; ++i) {
        list.AppendRow({std::string(items[i % 9]) + " " + std::to_string(i / 9 + 1), kinds[i % 3],
                        std::to_string(i * 7 % 50)});
    }
    // A selection made as Ctrl-presses would make it.
    list.Selection(2);
    for (int row : {4, 5, 6}) list.AddToSelection(row);
}

void ListPage::BuildOtherStyles() {
    Section(588, "Single column (style 2) and icon grid (style 1)");
    ui::ListViewOptions single;
    single.style = ui::ListStyle::Single;
    single.gridLines = ui::LIST_GRID_ROWS;
    ui::UiListView& column = controls_.Add<ui::UiListView>();
    column.CreateList(window_, 12, 610, 180, 170, single);
    column.InsertColumn(0, "", 180);
    for (int i = 1; i <= 30; ++i) column.InsertRow(0, "单列项目 item " + std::to_string(i));
    column.Selection(3);

    ui::ListViewOptions grid;
    grid.style = ui::ListStyle::Grid;
    ui::UiListView& icons = controls_.Add<ui::UiListView>();
    icons.CreateList(window_, 200, 610, 254, 170, grid);
    icons.SetImageLists(&gridIcons_, nullptr, nullptr);
    icons.InsertColumn(0, "", 80);
    const char* labels[] = {"图片", "音乐", "视频", "文档", "软件", "其他"};
    for (int i = 0; i < 18; ++i)
        icons.InsertRow(0, std::string(labels[i % 6]) + std::to_string(i / 6 + 1), i % 6);
    icons.Selection(2);
}

void ListPage::BuildPictures() {
    Section(790, "Pictures: animated GIF, stretched and nine-slice panels, fitted");
    ui::PictureOptions animated;
    animated.drawMode = ui::PictureDrawMode::Natural;
    ui::UiPicture& spinner = controls_.Add<ui::UiPicture>();
    spinner.CreatePicture(window_, 12, 816, 48, 48, assets::SpinnerGif(), animated);
    ReportPlace("spinner", spinner);

    const auto panel = assets::PanelPng();
    ui::PictureOptions stretched;
    stretched.drawMode = ui::PictureDrawMode::Stretch;
    controls_.Add<ui::UiPicture>().CreatePicture(window_, 72, 816, 180, 80, panel, stretched);
    ui::PictureOptions sliced;
    sliced.drawMode = ui::PictureDrawMode::NineSlice;
    sliced.sliceMargins = ui::SliceMargins{assets::kPanelMargin, assets::kPanelMargin,
                                           assets::kPanelMargin, assets::kPanelMargin};
    controls_.Add<ui::UiPicture>().CreatePicture(window_, 264, 816, 190, 80, panel, sliced);
    ui::PictureOptions fitted;
    fitted.drawMode = ui::PictureDrawMode::Fit;
    fitted.fillColor = 0x40FFFFFF;
    fitted.border = ui::BORDER_SOLID;
    fitted.fixZeroDelays = true;
    controls_.Add<ui::UiPicture>().CreatePicture(window_, 12, 908, 442, 110, assets::SpinnerGif(),
                                                 fitted);
}
