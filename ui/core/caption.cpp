// The caption a host window builds for itself: its icon, the title label and
// the caption buttons, created in the fixed bit order and laid out from the right.
#include "platform/gfx/graphics.h"
#include "ui/controls/caption_button.h"
#include "ui/controls/label.h"
#include "ui/controls/picture.h"
#include "ui/core/draw_colour.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui {

namespace {
// The window's small icon, else its class's small icon, else the class icon.
plat::Hicon WindowIcon(NativeWindow window) {
    if (auto icon = reinterpret_cast<plat::Hicon>(
            plat::SendMessage(window, plat::WM_GETICON, plat::ICON_SMALL, 0)))
        return icon;
    if (plat::Hicon icon = plat::GetClassIcon(window, true)) return icon;
    return plat::GetClassIcon(window, false);
}

std::unique_ptr<UiPicture> BuildIcon(NativeWindow window) {
    auto picture = std::make_unique<UiPicture>();
    const plat::Hicon icon = WindowIcon(window);
    PictureOptions options;
    options.drawMode = PictureDrawMode::Stretch;
    // Not focusable: a press on the icon drags the window like the rest of the caption.
    if (!picture->CreatePictureFromIcon(window, 11, 11, 16, 16, icon ? *icon : plat::IconImage{},
                                        options))
        return nullptr;
    picture->Focusable(0);
    return picture;
}

std::unique_ptr<UiLabel> BuildTitle(NativeWindow window, int captionFlags) {
    rt::Text title = plat::GetWindowText(window);
    if (title.size() > 256) title.resize(256);
    float width = 2;
    if (const auto& font = Library().defaultFont) width += gfx::MeasureTextExtent(title, *font).x;
    auto label = std::make_unique<UiLabel>();
    LabelOptions options;
    options.textColor = MakeArgb(0xFFFFFF, 250);
    const float left = (captionFlags & CAPTION_ICON) ? 28.0f : 11.0f;
    if (!label->CreateLabel(window, left, 9, width, 18, title, options)) return nullptr;
    return label;
}

// Buttons in the fixed bit order, placed leftwards from the right edge.
// A maximise or minimise flag without its window style bit yields no button.
std::vector<std::unique_ptr<UiControl>> BuildButtons(NativeWindow window, int captionFlags,
                                                     int windowWidth) {
    std::vector<std::unique_ptr<UiControl>> buttons;
    const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(window, plat::GWL_STYLE));
    float x = static_cast<float>(windowWidth - 12);
    for (int bit = CAPTION_BUTTON_CLOSE; bit <= CAPTION_BUTTON_HELP; bit <<= 1) {
        if (!(captionFlags & bit)) continue;
        if (bit == CAPTION_BUTTON_MAXIMIZE && !(style & plat::WS_MAXIMIZEBOX)) continue;
        if (bit == CAPTION_BUTTON_MINIMIZE && !(style & plat::WS_MINIMIZEBOX)) continue;
        const float width = bit == CAPTION_BUTTON_CLOSE ? 39.0f : 28.0f;
        auto button = std::make_unique<UiCaptionButton>();
        if (button->CreateCaptionButton(window, gfx::RectF{x - width, 7, width, 19}, bit,
                                        Library().captionImage.get())) {
            x -= width;
            buttons.push_back(std::move(button));
        }
    }
    return buttons;
}
}  // namespace

void UiWindow::BuildCaption() {
    if (captionFlags_ & CAPTION_ICON) iconPicture_ = BuildIcon(window_);
    if (captionFlags_ & CAPTION_TITLE) titleLabel_ = BuildTitle(window_, captionFlags_);
    captionButtons_ = BuildButtons(window_, captionFlags_, size_.width);
}

}  // namespace ui
