// Colour conversion between the application's RGB values (0x00BBGGRR, red in
// the low byte) and the ARGB colours (0xAARRGGBB) the drawing layer takes.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/types.h"

namespace ui {

// ARGB with red and blue swapped from `rgb`. An opacity of 255, or none, gives
// 254: a layered window treats 255 as "no per-pixel alpha", so the library
// never produces it.
gfx::Argb MakeArgb(std::uint32_t rgb, std::optional<int> opacity = std::nullopt);

// The inverse of MakeArgb: the RGB value (top byte cleared), with the ARGB's
// opacity stored in `opacity` when asked for.
std::uint32_t SplitArgb(gfx::Argb argb, int* opacity = nullptr);

}  // namespace ui
