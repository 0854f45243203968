// ui-gallery: one skinned, translucent window showing every basic control of
// the user-interface library in each of its states. A developer's view of the
// library; it also reports clicks and control positions on standard output,
// which the end-to-end test reads.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "list_page.h"
#include "platform/platform.h"
#include "report.h"
#include "ui/controls/button.h"
#include "ui/controls/caption_button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/effect_text.h"
#include "ui/controls/group_box.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/scroll_bar.h"
#include "ui/core/app_window.h"
#include "ui/core/draw_colour.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

#include "edit_page.h"

namespace {

constexpr gfx::Argb kWhiteText = 0xFEFFFFFF;
constexpr gfx::Argb kPurpleGlow = 0xB4800080;

class Gallery {
public:
    bool Build();
    int Run();

private:
    void Section(float x, float y, const rt::Text& title);
    ui::UiLabel& Label(float x, float y, float w, float h, const rt::Text& text,
                       const ui::LabelOptions& o);
    ui::UiButton& Button(float x, float y, float w, const rt::Text& text);
    ui::UiCheckBox& CheckBox(ui::UiControl* group, float x, float y, const rt::Text& text,
                             int ticked);
    void BuildLabels();
    void BuildButtons();
    void BuildCheckBoxes();
    void BuildProgressBars();
    void BuildScrollBars();
    void BuildCaptionButtons();

    ui::UiWindow host_;
    gallery::EditPage editPage_;
    plat::Hwnd window_ = nullptr;
    gallery::OwnedControls controls_;
    ui::UiLabel* clickCount_ = nullptr;
    ui::UiLabel* scrollValue_ = nullptr;
    int clicks_ = 0;
};

bool Gallery::Build() {
    window_ = ui::CreateAppWindow("ui-gallery");
    if (!window_) return false;
    // No caption title: the glowing label below is the title, as in the application.
    ui::AttachOptions attach =
        ui::SkinnedAttachOptions(ui::CAPTION_CLOSE | ui::CAPTION_MAXIMIZE | ui::CAPTION_MINIMIZE);
    attach.resizable = true;
    if (!host_.Attach(window_, attach)) return false;
    ui::HostCallbacks callbacks;
    callbacks.rawMessage = [](ui::NativeWindow, unsigned message, ui::WParam, ui::LParam) {
        if (message == plat::WM_DESTROY) plat::PostQuitMessage(0);
        return ui::LResult{-1};
    };
    host_.SetCallbacks(callbacks);

    BuildLabels();
    BuildButtons();
    BuildCheckBoxes();
    BuildProgressBars();
    BuildScrollBars();
    BuildCaptionButtons();
    editPage_.Build(window_, controls_);
    return true;
}

void Gallery::Section(float x, float y, const rt::Text& title) {
    ui::LabelOptions o;
    o.textColor = kWhiteText;
    o.effect = ui::EFFECT_GLOW;
    o.effectColor = kPurpleGlow;
    o.fontStyle = gfx::FontStyle::kBold;
    o.size = 14;
    Label(x, y, 520, 20, title, o);
}

ui::UiLabel& Gallery::Label(float x, float y, float w, float h, const rt::Text& text,
                            const ui::LabelOptions& o) {
    ui::UiLabel& label = controls_.Add<ui::UiLabel>();
    label.CreateLabel(window_, x, y, w, h, text, o);
    return label;
}

ui::UiButton& Gallery::Button(float x, float y, float w, const rt::Text& text) {
    ui::ButtonOptions o;
    o.textColor = 0xDEFFFFFF;
    o.effect = ui::EFFECT_GLOW;
    o.effectColor = kPurpleGlow;
    ui::UiButton& button = controls_.Add<ui::UiButton>();
    button.CreateButton(window_, x, y, w, 29, text, o);
    return button;
}

ui::UiCheckBox& Gallery::CheckBox(ui::UiControl* group, float x, float y, const rt::Text& text,
                                  int ticked) {
    ui::ButtonOptions o;
    o.textColor = kWhiteText;
    o.effect = ui::EFFECT_GLOW;
    o.effectColor = 0xFE000000;
    ui::UiCheckBox& box = controls_.Add<ui::UiCheckBox>();
    box.CreateButton(window_, x, y, 110, 20, text, o);
    if (group) box.SetParentControl(group);
    box.CheckState(ticked);
    box.SetClickHandler(
        [&box] { Report("check " + box.Tag() + " " + std::to_string(box.CheckState())); });
    return box;
}

void Gallery::BuildLabels() {
    ui::LabelOptions title;
    title.textColor = 0xC8FFFFFF;
    title.effect = ui::EFFECT_GLOW;
    title.effectColor = ui::MakeArgb(0x800080, 100);
    Label(8, 6, 300, 20, "控件画廊  ui-gallery", title);

    Section(16, 36, "Labels");
    ui::LabelOptions glow;
    glow.textColor = 0xC8800080;
    glow.effect = ui::EFFECT_GLOW;
    glow.effectColor = kWhiteText;
    glow.faceName = "微软雅黑";
    glow.size = 20;
    glow.fontStyle = gfx::FontStyle::kBold;
    Label(16, 58, 150, 29, "关键字: glow", glow);
    ui::LabelOptions shadow;
    shadow.textColor = kWhiteText;
    shadow.effect = ui::EFFECT_SHADOW;
    shadow.effectColor = 0xC0000000;
    shadow.size = 16;
    Label(176, 62, 140, 24, "Shadow text", shadow);
    ui::LabelOptions plain;
    Label(326, 64, 120, 20, "Plain label", plain);
    ui::LabelOptions wrap;
    wrap.textColor = kWhiteText;
    wrap.wordWrap = true;
    wrap.effect = ui::EFFECT_GLOW;
    wrap.backColor = 0x30000000;
    Label(456, 40, 200, 48, "A wrapped label: its words flow onto the next line inside its box.",
          wrap);
}

void Gallery::BuildButtons() {
    Section(16, 100, "Buttons: normal, hovered, pressed, focused, faded");
    const char* names[] = {"Normal", "Hovered", "Pressed", "Focused", "Faded"};
    using S = ui::ButtonState;
    const S looks[] = {S::Normal, S::Hovered, S::Pressed, S::Focused, S::Faded};
    for (int i = 0; i < 5; ++i) {
        ui::UiButton& b = Button(16 + 102.0f * static_cast<float>(i), 124, 96, names[i]);
        b.DrawState(looks[i]);
    }
    Section(16, 162, "Live");
    ui::UiButton& live = Button(16, 186, 96, "Click &me");
    ReportPlace("clickme", live);
    ui::UiButton& off = Button(118, 186, 96, "Disabled");
    off.Disabled(1);
    ui::LabelOptions o;
    o.textColor = kWhiteText;
    o.effect = ui::EFFECT_GLOW;
    o.lineAlignment = 1;
    clickCount_ = &Label(222, 186, 140, 29, "Clicks: 0", o);
    live.SetClickHandler([this] {
        ++clicks_;
        clickCount_->LabelText("Clicks: " + std::to_string(clicks_));
        Report("click clickme " + std::to_string(clicks_));
    });
}

void Gallery::BuildCheckBoxes() {
    ui::GroupBoxOptions g;
    g.textColor = 0xDEFFFFFF;
    g.effect = ui::EFFECT_GLOW;
    g.effectColor = kPurpleGlow;
    g.fillColor = 0x64FFFFFF;
    ui::UiGroupBox& group = controls_.Add<ui::UiGroupBox>();
    group.CreateGroupBox(window_, 16, 232, 360, 80, "站 点 列 表  check boxes", g);
    ui::UiCheckBox& ticked = CheckBox(&group, 26, 252, "Ticked", 1);
    ticked.Tag("ticked");
    ui::UiCheckBox& unticked = CheckBox(&group, 146, 252, "Not ticked", 0);
    unticked.Tag("unticked");
    ReportPlace("unticked", unticked);
    ui::UiCheckBox& off = CheckBox(&group, 26, 278, "Disabled", 1);
    off.Tag("disabled");
    off.Disabled(1);
    ui::UiCheckBox& hovered = CheckBox(&group, 146, 278, "Hovered look", 0);
    hovered.Tag("hovered");
    hovered.DrawState(ui::ButtonState::Hovered);
    ui::UiCheckBox& pressed = CheckBox(&group, 266, 278, "Pressed", 1);
    pressed.Tag("pressed");
    pressed.DrawState(ui::ButtonState::Pressed);
}

void Gallery::BuildProgressBars() {
    Section(16, 324, "Progress: 0, half, full, vertical");
    const float positions[] = {0, 5000, 10000};
    for (int i = 0; i < 3; ++i) {
        ui::ProgressBarOptions o;
        o.maximum = 10000;
        o.position = positions[i];
        if (i == 2) {  // the application's colours
            o.startColor = 0xFE00FF00;
            o.endColor = 0xFEFFFF00;
            o.borderColor = 0x00FFFFFF;
            o.backColor = 0x00808080;
        }
        controls_.Add<ui::UiProgressBar>().CreateProgressBar(
            window_, 16, 348 + 24.0f * static_cast<float>(i), 330, 15, o);
    }
    ui::ProgressBarOptions vertical;
    vertical.vertical = 1;
    vertical.position = 65;
    controls_.Add<ui::UiProgressBar>().CreateProgressBar(window_, 356, 344, 18, 70, vertical);
}

void Gallery::BuildScrollBars() {
    Section(560, 100, "Scroll bars");
    ui::LabelOptions o;
    o.textColor = kWhiteText;
    o.effect = ui::EFFECT_GLOW;
    scrollValue_ = &Label(560, 124, 200, 20, "Value: 0", o);
    ui::UiScrollBar& vertical = controls_.Add<ui::UiScrollBar>();
    vertical.CreateScrollBar(window_, {930, 100, 16, 200}, 0);
    ui::UiScrollBar& horizontal = controls_.Add<ui::UiScrollBar>();
    horizontal.CreateScrollBar(window_, {560, 150, 300, 16}, ui::SCROLL_HORIZONTAL);
    for (ui::UiScrollBar* bar : {&vertical, &horizontal}) {
        bar->ScrollRange(0, 100);
        bar->ScrollStep(5);
        bar->SetChangeCallback([this](ui::UiScrollBar&, float v) {
            scrollValue_->LabelText("Value: " + std::to_string(static_cast<int>(v)));
        });
    }
    vertical.ScrollValue(30);
    horizontal.ScrollValue(60);
}

void Gallery::BuildCaptionButtons() {
    Section(560, 184, "Caption buttons: normal, hovered, pressed");
    const int types[] = {ui::CAPTION_BUTTON_CLOSE, ui::CAPTION_BUTTON_MAXIMIZE,
                         ui::CAPTION_BUTTON_MINIMIZE};
    float x = 560;
    for (int type : types) {
        const float w = type == ui::CAPTION_BUTTON_CLOSE ? 39.0f : 28.0f;
        for (ui::CaptionLook look :
             {ui::CaptionLook::Normal, ui::CaptionLook::Hovered, ui::CaptionLook::Pressed}) {
            // Real caption buttons: each shows one look until the mouse passes over it.
            ui::UiCaptionButton& b = controls_.Add<ui::UiCaptionButton>();
            b.CreateCaptionButton(window_, {x, 208, w, 19}, type, ui::Library().captionImage.get());
            b.DrawLook(look);
            x += w + 4;
        }
        x += 8;
    }
}

int Gallery::Run() {
    host_.ShowAnimated(5, 500);
    Report("ready");
    plat::MSG msg;
    while (plat::GetMessage(&msg) > 0) {
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
    }
    return 0;
}

}  // namespace

int main() {
    Gallery gallery;
    if (!gallery.Build()) {
        std::fprintf(stderr, "ui-gallery: cannot open the window\n");
        return 1;
    }
    ListPage lists;  // the list and picture controls, in a window of their own
    if (!lists.Open()) std::fprintf(stderr, "ui-gallery: cannot open the lists window\n");
    return gallery.Run();
}
