#include "ui/controls/text_style.h"

#include "ui/controls/effect_text.h"

namespace ui {

void TextStyle::TakeStyle(const TextStyleOptions& o) {
    textColor_ = o.textColor.value_or(kDefaultTextColor);
    font_ = MakeControlFont(o.faceName, o.size, o.fontStyle);
    effect_ = o.effect.value_or(0);
    effectColor_ = o.effectColor;
}

gfx::TextMeasure TextStyle::MeasureStyledText(gfx::Graphics& g, const rt::Text& text) const {
    return g.MeasureString(text, *font_, {0, 0, 0, 0}, *format_);
}

void TextStyle::DrawStyledText(gfx::Graphics& g, const rt::Text& text,
                               const gfx::RectF& rect) const {
    DrawEffectText(g, text, *font_, *format_, textColor_, rect, effect_, effectColor_);
}

void TextStyle::ReleaseStyle() {
    format_.reset();
    font_.reset();
}

}  // namespace ui
