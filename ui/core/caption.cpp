#include "ui/core/caption.h"

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

void BuildIcon(UiWindow& host) {
    auto picture = std::make_unique<UiPicture>();
    const plat::Hicon icon = WindowIcon(host.window);
    PictureOptions options;
    options.drawMode = PictureDrawMode::Stretch;
    // Not focusable: a press on the icon drags the window like the rest of the caption.
    if (picture->CreatePictureFromIcon(host.window, 11, 11, 16, 16,
                                       icon ? *icon : plat::IconImage{}, options)) {
        picture->Focusable(0);
        host.iconPicture = std::move(picture);
    }
}

void BuildTitle(UiWindow& host) {
    rt::Text title = plat::GetWindowText(host.window);
    if (title.size() > 256) title.resize(256);
    float width = 2;
    if (const auto& font = Library().defaultFont) width += gfx::MeasureTextExtent(title, *font).x;
    auto label = std::make_unique<UiLabel>();
    LabelOptions options;
    options.textColor = MakeArgb(0xFFFFFF, 250);
    const float left = (host.CaptionFlags & CAPTION_ICON) ? 28.0f : 11.0f;
    if (label->CreateLabel(host.window, left, 9, width, 18, title, options))
        host.titleLabel = std::move(label);
}

// Buttons in the fixed bit order, placed leftwards from the right edge.
// A maximise or minimise flag without its window style bit yields no button.
void BuildButtons(UiWindow& host) {
    const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(host.window, plat::GWL_STYLE));
    float x = static_cast<float>(host.size.width - 12);
    for (int bit = CAPTION_BUTTON_CLOSE; bit <= CAPTION_BUTTON_HELP; bit <<= 1) {
        if (!(host.CaptionFlags & bit)) continue;
        if (bit == CAPTION_BUTTON_MAXIMIZE && !(style & plat::WS_MAXIMIZEBOX)) continue;
        if (bit == CAPTION_BUTTON_MINIMIZE && !(style & plat::WS_MINIMIZEBOX)) continue;
        const float width = bit == CAPTION_BUTTON_CLOSE ? 39.0f : 28.0f;
        auto button = std::make_unique<UiCaptionButton>();
        if (button->CreateCaptionButton(host.window, gfx::RectF{x - width, 7, width, 19}, bit,
                                        Library().captionImage.get())) {
            x -= width;
            host.captionButtons.push_back(std::move(button));
        }
    }
}
}  // namespace

void BuildCaptionControls(UiWindow& host) {
    if (host.CaptionFlags & CAPTION_ICON) BuildIcon(host);
    if (host.CaptionFlags & CAPTION_TITLE) BuildTitle(host);
    BuildButtons(host);
}

}  // namespace ui
