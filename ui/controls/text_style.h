// TextStyle: the text fields every captioned control carries (font, colour,
// string format and halo effect), taken from TextStyleOptions at create and
// drawn with the effect-text routine.
#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/gfx.h"
#include "runtime/text.h"
#include "ui/controls/control_support.h"

namespace ui {

class TextStyle {
public:
    gfx::Argb TextColor() const { return textColor_; }
    int Effect() const { return effect_; }
    std::optional<gfx::Argb> EffectColor() const { return effectColor_; }
    const std::optional<gfx::Font>& Font() const { return font_; }
    const gfx::StringFormat* Format() const { return format_.get(); }

protected:
    // Font, colour and effect from the options; the format is the control's own.
    void TakeStyle(const TextStyleOptions& options);
    // Whether there is a font and a format to measure and draw with.
    bool HasStyle() const { return font_ && format_; }
    // The extent of `text` laid out without a box.
    gfx::TextMeasure MeasureStyledText(gfx::Graphics& g, const rt::Text& text) const;
    // Draws `text` in `rect` with the effect, the colour, the font and the format.
    void DrawStyledText(gfx::Graphics& g, const rt::Text& text, const gfx::RectF& rect) const;
    // Frees the font and the format (the control is destroyed).
    void ReleaseStyle();

    std::optional<gfx::Font> font_;
    gfx::Argb textColor_ = kDefaultTextColor;
    std::unique_ptr<gfx::StringFormat> format_;
    int effect_ = 0;
    std::optional<gfx::Argb> effectColor_;
};

}  // namespace ui
