#include "ui/core/draw_colour.h"

namespace ui {

namespace {
std::uint32_t SwapRedBlue(std::uint32_t value) {
    return ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}
}  // namespace

gfx::Argb MakeArgb(std::uint32_t rgb, std::optional<int> opacity) {
    std::uint32_t alpha = 254;
    if (opacity && *opacity != 255) alpha = static_cast<std::uint32_t>(*opacity) & 0xFFu;
    return (alpha << 24) | SwapRedBlue(rgb);
}

std::uint32_t SplitArgb(gfx::Argb argb, int* opacity) {
    if (opacity) *opacity = static_cast<int>(argb >> 24);
    return SwapRedBlue(argb);
}

}  // namespace ui
