// The main window's controls: places, texts, fonts, colours and options, in
// creation order.
#include "app/sites/site_rules.h"
#include "app/window/main_window.h"

#include "ui/controls/effect_text.h"

namespace app {

namespace {

constexpr const char* kBigFace = "微软雅黑";

// The three bold glowing labels beside the edits.
ui::LabelOptions EditLabelStyle() {
    ui::LabelOptions o;
    o.faceName = kBigFace;
    o.size = 20;
    o.fontStyle = gfx::FontStyle::kBold;
    o.textColor = 0xC8800080;
    o.effect = ui::EFFECT_GLOW;
    o.effectColor = 0xFEFFFFFF;
    return o;
}

ui::EditOptions InputStyle() {
    ui::EditOptions o;
    o.faceName = kBigFace;
    o.size = 15;
    o.textColor = 0xC8FFFFFF;
    o.backColor = 0x64FFFFFF;
    o.borderColor = 0x00000000;
    return o;
}

ui::ButtonOptions ButtonStyle() {
    ui::ButtonOptions o;
    o.textColor = 0xDEFFFFFF;
    o.effect = ui::EFFECT_GLOW;
    o.effectColor = 0xB4800080;
    return o;
}

struct SiteBoxPlace {
    float x, y, width;
};

constexpr SiteBoxPlace kSiteBoxPlaces[kSiteCount] = {
    {630, 43, 75}, {705, 43, 75}, {780, 43, 82}, {855, 43, 75},
    {630, 58, 75}, {705, 58, 75}, {780, 58, 75}, {855, 58, 75},
};

struct Column {
    const char* title;
    float width;
};

constexpr Column kColumns[5] = {
    {"编号", 40}, {"资源标题", 650}, {"资源大小", 75}, {"上传日期", 100}, {"站点", 80},
};

}  // namespace

void MainWindow::CreateControls() {
    ui::LabelOptions title;
    title.textColor = 0xC8FFFFFF;
    title.effect = ui::EFFECT_GLOW;
    title.effectColor = 0x64800080;
    titleLabel_.CreateLabel(mainWindow_, 8, 6, 200, 20, "青柠搜索器 1.0  by墨川", title);

    ui::ProgressBarOptions bar;
    bar.maximum = kProgressRange;
    bar.startColor = 0xFE00FF00;
    bar.endColor = 0xFEFFFF00;
    bar.borderColor = 0x00FFFFFF;
    bar.backColor = 0x00808080;
    progressBar_.CreateProgressBar(mainWindow_, 4, 78, 963, 15, bar);

    ui::ListViewOptions list;
    list.style = ui::ListStyle::Report;
    // A line under every row, none between the columns.
    list.gridLines = ui::LIST_GRID_ROWS;
    list.textColor = 0xFEFFFFFF;
    list.selectedTextColor = 0xFEFFFFFF;
    list.backColor = 0x00808080;
    list.lineColor = 0x00000000;
    resultList_.CreateList(mainWindow_, 4, 90, 963, 408, list);
    for (int i = 0; i < 5; ++i)
        resultList_.InsertColumn(i + 1, kColumns[i].title, kColumns[i].width, 1);

    keywordLabel_.CreateLabel(mainWindow_, 4, 40, 200, 29, "关键字:", EditLabelStyle());
    ui::EditOptions keyword = InputStyle();
    keywordEdit_.CreateEdit(mainWindow_, 80, 40, 245, 29, "我唾弃你的坟墓", keyword);
    searchLabel_.CreateLabel(mainWindow_, 325, 40, 70, 29, "搜", EditLabelStyle());
    ui::EditOptions pages = InputStyle();
    pages.inputMode = ui::EditMode::Integer;
    pageCountEdit_.CreateEdit(mainWindow_, 354, 40, 31, 29, "10", pages);
    pageLabel_.CreateLabel(mainWindow_, 381, 40, 70, 29, "页", EditLabelStyle());

    ui::EditOptions status;
    status.textColor = 0xC8FFFFFF;
    status.backColor = 0x00808080;
    status.multiline = true;
    status.scrollOptions = ui::EDIT_SCROLL_VERTICAL;
    statusBox_.CreateEdit(
        mainWindow_, 4, 500, 598, 40,
        "搜索成功后,鼠标左键单击内容即可获取下载地址......点击右边复制按钮即可复制下载地址......",
        status);

    startButton_.CreateButton(mainWindow_, 410, 40, 96, 29, "开始搜素", ButtonStyle());
    stopButton_.CreateButton(mainWindow_, 512, 40, 96, 29, "停止搜索", ButtonStyle());
    stopButton_.Disabled(1);
    copyButton_.CreateButton(mainWindow_, 599, 500, 70, 40, "复制下载链", ButtonStyle());

    ui::GroupBoxOptions group;
    group.textColor = 0xDEFFFFFF;
    group.effect = ui::EFFECT_GLOW;
    group.effectColor = 0xB4800080;
    group.fillColor = 0x64FFFFFF;
    siteGroup_.CreateGroupBox(mainWindow_, 630, 30, 310, 50, "站 点 列 表", group);

    ui::ButtonOptions box;
    box.textColor = 0xFEFFFFFF;
    box.effect = ui::EFFECT_GLOW;
    box.effectColor = 0xFE000000;
    for (SiteId site = kFirstSite; site <= kLastSite; ++site) {
        const SiteBoxPlace& at = kSiteBoxPlaces[site - 1];
        ui::UiCheckBox& siteBox = siteBoxes_[site - 1];
        siteBox.CreateButton(mainWindow_, at.x, at.y, at.width, 20, SiteLabel(site), box);
        siteBox.SetParentControl(&siteGroup_);
        siteBox.CheckState(1);
    }
}

}  // namespace app
