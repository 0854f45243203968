#include "ui/controls/control_support.h"

#include "ui/controls/control.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui {

std::uint32_t HostThemeColour(const UiControl& control) {
    return control.Host() ? static_cast<std::uint32_t>(control.Host()->ThemeColour()) & 0xFFFFFFu
                          : 0xFFFFFFu;
}

bool CornersRounded(std::optional<int> given, ControlParent where) {
    if (given) return *given != 0;
    const UiWindow* host = FindHost(where.control ? where.control->GetHostWindow() : where.window);
    return host == nullptr || host->DefaultRounded();
}

gfx::Font MakeControlFont(const std::optional<rt::Text>& faceName, std::optional<float> size,
                          std::optional<int> style) {
    const std::optional<gfx::Font>& library = Library().defaultFont;
    if (!faceName && !size && !style && library) return *library;
    const rt::Text face = faceName  ? *faceName
                          : library ? library->Family().Name()
                                    : gfx::FontFamily::DefaultChineseSans().Name();
    if (std::optional<gfx::Font> font = CreateUiFont(face, size.value_or(12), style.value_or(0)))
        return *font;
    if (library) return *library;
    // The library was not started: the desktop's own family still draws text.
    return gfx::Font(gfx::FontFamily::DefaultChineseSans(), size.value_or(12), style.value_or(0));
}

int AccessKeyOf(const rt::Text& text) {
    const std::size_t amp = text.find('&');
    if (amp == rt::Text::npos || amp + 1 >= text.size()) return 0;
    const unsigned char c = static_cast<unsigned char>(text[amp + 1]);
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

void RegisterAccessKey(UiControl& control, const rt::Text& text) {
    if (!control.GetHostWindow()) return;
    plat::SendMessage(control.GetHostWindow(), HM_SET_MNEMONIC, reinterpret_cast<WParam>(&control),
                      AccessKeyOf(text));
}

gfx::RectF SurfaceRect(const UiControl& control) {
    return {0, 0, control.Rect().width, control.Rect().height};
}

}  // namespace ui
