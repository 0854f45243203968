#include "platform/gfx/cairo/text_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/text_offsets.h"
#include "runtime/codepage.h"

namespace gfx {

namespace {

int Utf8CharLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

// "&x" marks x as the access key, "&&" is a literal "&". Returns the index of
// the marked character in the result, or -1.
int StripPrefix(MappedUtf8& text) {
    std::vector<bool> keep(text.text.size(), true);
    int marked = -1;
    int removed = 0;
    for (std::size_t i = 0; i < text.text.size(); ++i) {
        if (text.text[i] != '&') continue;
        keep[i] = false;
        ++removed;
        if (i + 1 < text.text.size()) {
            if (text.text[i + 1] != '&' && marked < 0) marked = static_cast<int>(i + 1) - removed;
            ++i;  // the next character is kept as it is, even another "&"
        }
    }
    text = Filter(text, keep);
    return marked;
}

double AlignFactor(StringAlignment a) {
    switch (a) {
    case StringAlignment::Center: return 0.5;
    case StringAlignment::Far: return 1.0;
    default: return 0.0;
    }
}

}  // namespace

MappedUtf8 MapCp936ToUtf8(const rt::Text& text) {
    MappedUtf8 out = MapCharacters<std::string>(
        text, [](std::string_view piece) { return rt::Cp936ToUtf8(piece); },
        [](const std::string& s, std::size_t i) {
            return static_cast<std::size_t>(Utf8CharLength(static_cast<unsigned char>(s[i])));
        });
    if (!g_utf8_validate(out.text.data(), static_cast<gssize>(out.text.size()), nullptr)) {
        // Never hand Pango bad UTF-8; offsets keep their places byte for byte.
        for (char& c : out.text)
            if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    }
    return out;
}

void ApplyTextHint(cairo_t* cr, TextRenderingHint hint) {
    rt::Owned<cairo_font_options_t, cairo_font_options_destroy> opts(cairo_font_options_create());
    switch (hint) {
    case TextRenderingHint::SingleBitPerPixelGridFit:
        cairo_font_options_set_antialias(opts.get(), CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_style(opts.get(), CAIRO_HINT_STYLE_FULL);
        cairo_font_options_set_hint_metrics(opts.get(), CAIRO_HINT_METRICS_ON);
        break;
    case TextRenderingHint::SingleBitPerPixel:
        cairo_font_options_set_antialias(opts.get(), CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_style(opts.get(), CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(opts.get(), CAIRO_HINT_METRICS_OFF);
        break;
    case TextRenderingHint::AntiAlias:
        cairo_font_options_set_antialias(opts.get(), CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(opts.get(), CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(opts.get(), CAIRO_HINT_METRICS_OFF);
        break;
    default:
        // Grid-fitted anti-aliasing; sub-pixel colour fringes would show on a
        // translucent surface, so grey anti-aliasing stands in for ClearType.
        cairo_font_options_set_antialias(opts.get(), CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(opts.get(), CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(opts.get(), CAIRO_HINT_METRICS_ON);
        break;
    }
    cairo_set_font_options(cr, opts.get());
}

TextLayout LayOutText(cairo_t* cr, const rt::Text& text, const Font& font, const RectF& rect,
                      const StringFormat& format) {
    TextLayout out;
    MappedUtf8 mapped = MapCp936ToUtf8(text);
    int accessKey = -1;
    if (format.Prefix() != HotkeyPrefix::None) {
        accessKey = StripPrefix(mapped);
        if (format.Prefix() == HotkeyPrefix::Hide) accessKey = -1;
    }
    if (!format.Has(StringFormatFlags::kMeasureTrailingSpaces)) StripTrailingSpaces(mapped);
    out.toUtf8 = std::move(mapped.offsets);

    out.layout.reset(pango_cairo_create_layout(cr));
    PangoLayout* layout = out.layout.get();
    pango_layout_set_font_description(layout, font.GetNative().desc.get());
    pango_layout_set_text(layout, mapped.text.data(), static_cast<int>(mapped.text.size()));

    rt::Owned<PangoAttrList, pango_attr_list_unref> attrs(pango_attr_list_new());
    if (font.IsUnderline())
        pango_attr_list_insert(attrs.get(), pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.IsStrikeout()) pango_attr_list_insert(attrs.get(), pango_attr_strikethrough_new(TRUE));
    if (format.Has(StringFormatFlags::kNoFontFallback))
        pango_attr_list_insert(attrs.get(), pango_attr_fallback_new(FALSE));
    if (accessKey >= 0 && static_cast<std::size_t>(accessKey) < mapped.text.size()) {
        PangoAttribute* u = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        u->start_index = static_cast<guint>(accessKey);
        u->end_index =
            static_cast<guint>(accessKey + Utf8CharLength(static_cast<unsigned char>(
                                               mapped.text[static_cast<std::size_t>(accessKey)])));
        pango_attr_list_insert(attrs.get(), u);
    }
    pango_layout_set_attributes(layout, attrs.get());

    if (!format.TabStops().empty()) {
        // Enough explicit stops for any line the controls show; the last
        // distance repeats.
        constexpr int kStops = 64;
        rt::Owned<PangoTabArray, pango_tab_array_free> tabs(pango_tab_array_new(kStops, TRUE));
        double pos = format.TabOffset();
        for (int i = 0; i < kStops; ++i) {
            const auto& stops = format.TabStops();
            pos += stops[std::min<std::size_t>(static_cast<std::size_t>(i), stops.size() - 1)];
            pango_tab_array_set_tab(tabs.get(), i, PANGO_TAB_LEFT,
                                    static_cast<int>(std::lround(pos)));
        }
        pango_layout_set_tabs(layout, tabs.get());
    }

    const bool boundedW = rect.width > 0, boundedH = rect.height > 0;
    const StringTrimming trim = format.Trimming();
    const bool ellipsis =
        boundedW && (trim == StringTrimming::EllipsisCharacter ||
                     trim == StringTrimming::EllipsisWord || trim == StringTrimming::EllipsisPath);
    const PangoEllipsizeMode ellipsisMode =
        trim == StringTrimming::EllipsisPath ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END;
    const bool wrap = boundedW && !format.Has(StringFormatFlags::kNoWrap);
    bool widthSet = false;
    if (wrap) {
        pango_layout_set_width(layout, static_cast<int>(rect.width * PANGO_SCALE));
        pango_layout_set_wrap(layout,
                              trim == StringTrimming::Word || trim == StringTrimming::EllipsisWord
                                  ? PANGO_WRAP_WORD
                                  : PANGO_WRAP_WORD_CHAR);
        if (ellipsis && boundedH) {
            pango_layout_set_height(layout, static_cast<int>(rect.height * PANGO_SCALE));
            pango_layout_set_ellipsize(layout, ellipsisMode);
        }
        widthSet = true;
    } else if (ellipsis) {
        // Without wrapping, an ellipsized layout keeps each paragraph on one line.
        pango_layout_set_width(layout, static_cast<int>(rect.width * PANGO_SCALE));
        pango_layout_set_ellipsize(layout, ellipsisMode);
        widthSet = true;
    }
    switch (format.Alignment()) {
    case StringAlignment::Center: pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER); break;
    case StringAlignment::Far: pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT); break;
    default: pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT); break;
    }

    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    const double logicalW = static_cast<double>(logical.width) / PANGO_SCALE;

    // Visible lines: all, or only whole lines inside the rectangle.
    const int lineCount = pango_layout_get_line_count(layout);
    out.visibleLines = lineCount;
    out.visibleHeight = static_cast<double>(logical.height) / PANGO_SCALE;
    if (format.Has(StringFormatFlags::kLineLimit) && boundedH) {
        PangoLayoutIter* iter = pango_layout_get_iter(layout);
        int shown = 0;
        double bottom = 0;
        do {
            int y0, y1;
            pango_layout_iter_get_line_yrange(iter, &y0, &y1);
            const double b = static_cast<double>(y1) / PANGO_SCALE;
            if (b > rect.height + 1e-3) break;
            ++shown;
            bottom = b;
        } while (pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
        out.visibleLines = shown;
        out.visibleHeight = bottom;
    }

    // Horizontal placement: Pango aligns within the width when one is set;
    // otherwise it aligns lines against the widest, and the block is placed here.
    const double fx = AlignFactor(format.Alignment());
    if (widthSet) out.originX = rect.x;
    else if (boundedW) out.originX = rect.x + (rect.width - logicalW) * fx;
    else out.originX = rect.x - logicalW * fx;
    const double fy = AlignFactor(format.LineAlignment());
    if (boundedH) out.originY = rect.y + (rect.height - out.visibleHeight) * fy;
    else out.originY = rect.y - out.visibleHeight * fy;

    if (!format.Has(StringFormatFlags::kNoClip) && (boundedW || boundedH)) {
        constexpr float kHuge = 1e6f;
        RectF clip{boundedW ? rect.x : -kHuge, boundedH ? rect.y : -kHuge,
                   boundedW ? rect.width : 2 * kHuge, boundedH ? rect.height : 2 * kHuge};
        out.clip = clip;
    }
    if (out.visibleLines < lineCount) {
        // Cut the partial line that the line limit hides.
        const float bottom = static_cast<float>(out.originY + out.visibleHeight);
        RectF c = out.clip.value_or(RectF{-1e6f, -1e6f, 2e6f, 2e6f});
        c.height = std::max(0.0f, std::min(c.Bottom(), bottom) - c.y);
        out.clip = c;
    }
    return out;
}

}  // namespace gfx
