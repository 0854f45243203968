// The effect-text routine shared by labels, buttons, check boxes, group boxes
// and captions: text over an optional soft glow or shadow.
#pragma once

#include <optional>

#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/string_format.h"
#include "platform/gfx/types.h"
#include "runtime/text.h"

namespace ui {

inline constexpr int EFFECT_NONE = 0;
inline constexpr int EFFECT_GLOW = 3;
inline constexpr int EFFECT_SHADOW = 4;
// The glow is blurred by drawing it this many times smaller and stretching it back.
inline constexpr int kEffectShrink = 3;

// The halo colour when none is given: white at alpha 85 behind dark text
// (luminance 0.299 R + 0.587 G + 0.114 B below 192), else black at alpha 75.
gfx::Argb DefaultEffectColor(gfx::Argb textColor);

// Draws `text` in `rect` (rounded to whole pixels): first the effect (glow 3,
// shadow 4, nothing for other values) in `effectColor`, then the text itself
// in `textColor`.
void DrawEffectText(gfx::Graphics& g, const rt::Text& text, const gfx::Font& font,
                    const gfx::StringFormat& format, gfx::Argb textColor, const gfx::RectF& rect,
                    int effect, std::optional<gfx::Argb> effectColor = std::nullopt,
                    int shrink = kEffectShrink);

}  // namespace ui
