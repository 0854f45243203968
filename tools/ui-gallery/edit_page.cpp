#include "edit_page.h"

#include "report.h"

#include "ui/controls/button.h"
#include "ui/controls/edit.h"
#include "ui/controls/edit_context_menu.h"
#include "ui/controls/effect_text.h"
#include "ui/controls/label.h"

namespace gallery {

namespace {
std::string Rect(int x, int y, int w, int h) {
    return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
           std::to_string(h);
}

rt::Text LongText() {
    rt::Text text = "多行编辑框: 滚轮、滚动条和选择都在这里。";
    for (int i = 1; i <= 24; ++i) {
        text += "\r\nline " + std::to_string(i) +
                ": the quick brown fox jumps over the lazy dog, 第" + std::to_string(i) + "行";
    }
    return text;
}
}  // namespace

void EditPage::BuildMenus() {
    auto command = [this](const rt::Text& text, int id) {
        ui::MenuItem item;
        item.text = text;
        item.id = id;
        item.sendsCommand = false;
        item.handler = [this, id] { Report("menu command " + std::to_string(id)); };
        return item;
    };
    auto cascade = [](const rt::Text& text, ui::UiPopupMenu* submenu) {
        ui::MenuItem item;
        item.text = text;
        item.type = ui::MenuItemType::Submenu;
        item.submenu = submenu;
        return item;
    };
    deeper_.AddItem(command("最深一项(&L)", 301));
    deeper_.AddItem(command("另一项(&O)", 302));
    more_.AddItem(command("普通一项(&P)", 201));
    more_.AddItem(cascade("更深(&D)", &deeper_));
    menu_.AddItem(command("打开(&O)", 101));
    menu_.AddItem(cascade("更多(&M)", &more_));
    menu_.AddSeparator();
    ui::MenuItem disabled = command("不可用(&N)", 102);
    disabled.state = ui::MenuItemState::Disabled;
    menu_.AddItem(disabled);
    auto reportOpen = [this](ui::NativeWindow window, bool) {
        plat::RECT r;
        plat::GetWindowRect(window, &r);
        Report("menu at " + Rect(r.left, r.top, r.width(), r.height()));
    };
    menu_.SetBeforeShow(reportOpen);
    ui::EditMenu().SetBeforeShow(reportOpen);
    auto reportSubmenu = [this](ui::NativeWindow window, bool) {
        plat::RECT r;
        plat::GetWindowRect(window, &r);
        Report("submenu at " + Rect(r.left, r.top, r.width(), r.height()));
    };
    more_.SetBeforeShow(reportSubmenu);
    deeper_.SetBeforeShow(reportSubmenu);
}

void EditPage::Build(plat::Hwnd window, OwnedControls& controls) {
    BuildMenus();

    ui::LabelOptions title;
    title.textColor = 0xFEFFFFFF;
    title.effect = ui::EFFECT_GLOW;
    title.effectColor = 0xB4800080;
    title.fontStyle = gfx::FontStyle::kBold;
    title.size = 14;
    controls.Add<ui::UiLabel>().CreateLabel(window, 560, 240, 390, 20, "Edits and menus", title);

    struct Demo {
        const char* name;
        float x, y, w;
        rt::Text text;
        ui::EditMode mode;
    };
    const Demo demos[] = {
        {"edit", 560, 264, 190, "我唾弃你的坟墓", ui::EditMode::Normal},
        {"readonly", 756, 264, 190, "只读: read-only", ui::EditMode::ReadOnly},
        {"password", 560, 294, 124, "secret", ui::EditMode::Password},
        {"integer", 690, 294, 124, "10", ui::EditMode::Integer},
        {"decimal", 820, 294, 126, "3.14", ui::EditMode::Decimal},
    };
    for (const Demo& d : demos) {
        ui::EditOptions o;
        o.inputMode = d.mode;
        if (d.mode == ui::EditMode::Normal) {
            o.faceName = "微软雅黑";
            o.size = 15;
        }
        auto& edit = controls.Add<ui::UiEdit>();
        edit.CreateEdit(window, d.x, d.y, d.w, 24, d.text, o);
        ReportPlace(d.name, edit);
    }
    ui::EditOptions multi;
    multi.multiline = true;
    auto& lines = controls.Add<ui::UiEdit>();
    lines.CreateEdit(window, 560, 324, 386, 120, LongText(), multi);
    ReportPlace("multiline", lines);

    ui::ButtonOptions b;
    b.textColor = 0xDEFFFFFF;
    b.effect = ui::EFFECT_GLOW;
    b.effectColor = 0xB4800080;
    auto& button = controls.Add<ui::UiButton>();
    button.CreateButton(window, 560, 452, 120, 29, "Menu...", b);
    ReportPlace("menubutton", button);
    button.SetClickHandler([this, window] {
        menu_.PopupAt(window);
        Report("menu closed");
    });
}

}  // namespace gallery
