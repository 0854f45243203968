// Conversions between straight and premultiplied 32-bit pixels (internal).
#pragma once

#include <cstdint>

#include "platform/gfx/types.h"

namespace gfx {

inline std::uint32_t Premultiply(Argb c) {
    const std::uint32_t a = AlphaOf(c);
    if (a == 255) return c;
    if (a == 0) return 0;
    auto mul = [a](std::uint32_t v) { return (v * a + 127) / 255; };
    return (a << 24) | (mul(RedOf(c)) << 16) | (mul(GreenOf(c)) << 8) | mul(BlueOf(c));
}

inline Argb Unpremultiply(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    if (a == 255) return p;
    if (a == 0) return 0;
    auto div = [a](std::uint32_t v) {
        const std::uint32_t r = (v * 255 + a / 2) / a;
        return r > 255 ? 255u : r;
    };
    return (a << 24) | (div((p >> 16) & 0xFF) << 16) | (div((p >> 8) & 0xFF) << 8) | div(p & 0xFF);
}

}  // namespace gfx
