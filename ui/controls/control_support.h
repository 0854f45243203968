// Small pieces the concrete controls share: the host's theme colour and corner
// style, font selection, access keys and the surface rectangle.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/font.h"
#include "platform/gfx/types.h"
#include "runtime/text.h"

namespace ui {

class UiControl;
struct ControlParent;

// Black at alpha 210.
inline constexpr gfx::Argb kDefaultTextColor = 0xD2000000;

// The text style every captioned control takes at create; absent values take
// the defaults shown.
struct TextStyleOptions {
    std::optional<gfx::Argb> textColor;  // black at alpha 210
    // Font: the library default unless a face, size or style is given.
    std::optional<rt::Text> faceName;
    std::optional<float> size;  // 12
    std::optional<int> fontStyle;
    std::optional<int> effect;             // EFFECT_GLOW, EFFECT_SHADOW or none
    std::optional<gfx::Argb> effectColor;  // by the text colour's luminance
};

// The host window's theme colour (RGB, 0x00BBGGRR): its background colour.
std::uint32_t HostThemeColour(const UiControl& control);
// The corner style a control is created with: `given` when there is one
// (non-zero: rounded), else the default of the host it is created on.
bool CornersRounded(std::optional<int> given, ControlParent where);
// The library's default font unless a face name, size (default 12) or style
// is given; a face the machine lacks falls back to the default family.
gfx::Font MakeControlFont(const std::optional<rt::Text>& faceName, std::optional<float> size,
                          std::optional<int> style);
// The upper-cased character after the first "&" of a caption, or 0.
int AccessKeyOf(const rt::Text& text);
// Tells the host which key activates `control` (0: none).
void RegisterAccessKey(UiControl& control, const rt::Text& text);
// (0, 0, width, height): where a control draws on its own surface.
gfx::RectF SurfaceRect(const UiControl& control);

}  // namespace ui
