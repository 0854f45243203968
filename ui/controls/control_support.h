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

// The host window's theme colour (RGB, 0x00BBGGRR): its background colour.
std::uint32_t HostThemeColour(const UiControl& control);
// The host's default corner style: rounded unless its frame style is 0.
bool HostCornersRounded(const UiControl& control);
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
