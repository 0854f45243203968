#include "ui/controls/effect_text.h"

#include <array>
#include <cmath>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/brush.h"

namespace ui {

gfx::Argb DefaultEffectColor(gfx::Argb textColor) {
    // Integer weights keep the threshold exact: (192, 192, 192) is not below 192.
    const int luminance =
        299 * gfx::RedOf(textColor) + 587 * gfx::GreenOf(textColor) + 114 * gfx::BlueOf(textColor);
    return luminance < 192 * 1000 ? gfx::MakeColor(85, 255, 255, 255) : gfx::MakeColor(75, 0, 0, 0);
}

namespace {

// The text drawn five times, shifted one pixel each way around (4, 4), into a
// bitmap seven pixels larger than the rectangle; then shrunk, so that
// stretching it back blurs it into a halo.
gfx::Bitmap BlurredHalo(const rt::Text& text, const gfx::Font& font,
                        const gfx::StringFormat& format, gfx::Argb color, int width, int height,
                        int shrink) {
    gfx::Bitmap sharp(width + 7, height + 7);
    {
        gfx::Graphics g(sharp);
        g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
        g.SetTextRenderingHint(gfx::TextRenderingHint::AntiAliasGridFit);
        const gfx::SolidBrush brush(color);
        constexpr std::array<gfx::PointF, 5> kOffsets{{{5, 4}, {3, 4}, {4, 3}, {4, 5}, {4, 4}}};
        for (const gfx::PointF& at : kOffsets)
            g.DrawString(text, font, brush,
                         {at.x, at.y, static_cast<float>(width), static_cast<float>(height)},
                         format);
    }
    const int factor = shrink > 0 ? shrink : kEffectShrink;
    gfx::Bitmap small(sharp.Width() / factor, sharp.Height() / factor);
    if (small.IsValid()) {
        gfx::Graphics g(small);
        g.SetInterpolationMode(gfx::InterpolationMode::HighQualityBicubic);
        g.SetCompositingQuality(gfx::CompositingQuality::HighQuality);
        g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
        g.DrawImage(sharp, gfx::RectF{0, 0, static_cast<float>(small.Width()),
                                      static_cast<float>(small.Height())});
    }
    return small;
}

}  // namespace

void DrawEffectText(gfx::Graphics& g, const rt::Text& text, const gfx::Font& font,
                    const gfx::StringFormat& format, gfx::Argb textColor, const gfx::RectF& rect,
                    int effect, std::optional<gfx::Argb> effectColor, int shrink) {
    const gfx::Argb halo = effectColor.value_or(DefaultEffectColor(textColor));
    const float x = std::round(rect.x);
    const float y = std::round(rect.y);
    const float w = std::round(rect.width);
    const float h = std::round(rect.height);
    if ((effect == EFFECT_GLOW || effect == EFFECT_SHADOW) && w > 0 && h > 0 && !text.empty()) {
        const gfx::Bitmap blurred =
            BlurredHalo(text, font, format, halo, static_cast<int>(w), static_cast<int>(h), shrink);
        if (blurred.IsValid()) {
            const float shift = effect == EFFECT_SHADOW ? 1.0f : 0.0f;
            g.DrawImage(blurred, gfx::RectF{x - 4 + shift, y - 4 + shift, w + 7, h + 7});
        }
    }
    g.DrawString(text, font, gfx::SolidBrush(textColor), {x, y, w, h}, format);
}

}  // namespace ui
