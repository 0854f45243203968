#include "ui/controls/text_style.h"

#include "ui/controls/effect_text.h"

namespace ui {

void TextStyle::TakeStyle(const TextStyleOptions& o) {
    textColor = o.textColor.value_or(kDefaultTextColor);
    font = MakeControlFont(o.faceName, o.size, o.fontStyle);
    effect = o.effect.value_or(0);
    effectColor = o.effectColor;
}

gfx::TextMeasure TextStyle::MeasureStyledText(gfx::Graphics& g, const rt::Text& text) const {
    return g.MeasureString(text, *font, {0, 0, 0, 0}, *format);
}

void TextStyle::DrawStyledText(gfx::Graphics& g, const rt::Text& text,
                               const gfx::RectF& rect) const {
    DrawEffectText(g, text, *font, *format, textColor, rect, effect, effectColor);
}

void TextStyle::ReleaseStyle() {
    format.reset();
    font.reset();
}

}  // namespace ui
