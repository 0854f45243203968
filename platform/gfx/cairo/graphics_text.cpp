// Text drawing and measuring of Graphics.
#include <algorithm>

#include "platform/gfx/cairo/text_layout.h"

namespace gfx {

namespace {

int CountCodepoints(const char* s, int bytes) {
    int n = 0;
    for (int i = 0; i < bytes; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++n;
    return n;
}

TextMeasure Measure(cairo_t* cr, const rt::Text& text, const Font& font, const RectF& layout,
                    const StringFormat& format) {
    TextMeasure m;
    if (text.empty()) {
        m.bounds = RectF{layout.x, layout.y, 0, 0};
        return m;
    }
    TextLayout t = LayOutText(cr, text, font, layout, format);
    PangoRectangle logical;
    pango_layout_get_extents(t.layout.get(), nullptr, &logical);
    m.bounds = RectF{static_cast<float>(t.originX + static_cast<double>(logical.x) / PANGO_SCALE),
                     static_cast<float>(t.originY + static_cast<double>(logical.y) / PANGO_SCALE),
                     static_cast<float>(static_cast<double>(logical.width) / PANGO_SCALE),
                     static_cast<float>(t.visibleHeight)};
    if (layout.width > 0 && !format.Has(StringFormatFlags::kNoClip))
        m.bounds.width = std::min(m.bounds.width, layout.width);
    m.linesFilled = t.visibleLines;
    // Characters shown on the visible lines (text behind an ellipsis is not).
    const char* s = pango_layout_get_text(t.layout.get());
    int line = 0;
    for (GSList* l = pango_layout_get_lines_readonly(t.layout.get()); l && line < t.visibleLines;
         l = l->next, ++line) {
        auto* pl = static_cast<PangoLayoutLine*>(l->data);
        for (GSList* r = pl->runs; r; r = r->next) {
            const PangoItem* item = static_cast<PangoGlyphItem*>(r->data)->item;
            if (item->analysis.flags & PANGO_ANALYSIS_FLAG_IS_ELLIPSIS)
                continue;  // stands for hidden text
            m.codepointsFitted += CountCodepoints(s + item->offset, item->length);
        }
    }
    return m;
}

}  // namespace

void Graphics::DrawString(const rt::Text& text, const Font& font, const Brush& brush,
                          const RectF& layout, const StringFormat& format) {
    if (text.empty()) return;
    cairo_t* c = impl_->cr.get();
    cairo_save(c);
    TextLayout t = LayOutText(c, text, font, layout, format);
    if (t.clip) {
        cairo_new_path(c);
        cairo_rectangle(c, t.clip->x, t.clip->y, t.clip->width, t.clip->height);
        cairo_clip(c);
    }
    cairo_set_operator(c, impl_->Operator());
    SetBrushSource(c, brush);
    cairo_move_to(c, t.originX, t.originY);
    pango_cairo_show_layout(c, t.layout.get());
    cairo_new_path(c);
    cairo_restore(c);
}

TextMeasure Graphics::MeasureString(const rt::Text& text, const Font& font, const RectF& layout,
                                    const StringFormat& format) const {
    return Measure(impl_->cr.get(), text, font, layout, format);
}

std::vector<std::vector<RectF>> Graphics::MeasureCharacterRanges(
    const rt::Text& text, const Font& font, const RectF& layout, const StringFormat& format,
    std::span<const CharacterRange> ranges) const {
    std::vector<std::vector<RectF>> result(ranges.size());
    if (text.empty()) return result;
    TextLayout t = LayOutText(impl_->cr.get(), text, font, layout, format);
    const int size = static_cast<int>(text.size());
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        const int first = std::clamp(ranges[k].first, 0, size);
        const int last = std::clamp(ranges[k].first + ranges[k].length, 0, size);
        if (last <= first) continue;
        const int s = t.toUtf8[static_cast<std::size_t>(first)],
                  e = t.toUtf8[static_cast<std::size_t>(last)];
        if (e <= s) continue;
        PangoLayoutIter* iter = pango_layout_get_iter(t.layout.get());
        int lineNo = 0;
        do {
            if (lineNo++ >= t.visibleLines) break;
            PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
            const int ls = line->start_index, le = line->start_index + line->length;
            const int a = std::max(s, ls), b = std::min(e, le);
            if (a >= b && !(s <= ls && e > ls && line->length == 0)) continue;
            int* xr = nullptr;
            int n = 0;
            pango_layout_line_get_x_ranges(line, a, b, &xr, &n);
            if (n > 0) {
                int x0 = xr[0], x1 = xr[1];
                for (int i = 1; i < n; ++i) {
                    x0 = std::min(x0, xr[2 * i]);
                    x1 = std::max(x1, xr[2 * i + 1]);
                }
                int y0, y1;
                pango_layout_iter_get_line_yrange(iter, &y0, &y1);
                result[k].push_back(
                    RectF{static_cast<float>(t.originX + static_cast<double>(x0) / PANGO_SCALE),
                          static_cast<float>(t.originY + static_cast<double>(y0) / PANGO_SCALE),
                          static_cast<float>(static_cast<double>(x1 - x0) / PANGO_SCALE),
                          static_cast<float>(static_cast<double>(y1 - y0) / PANGO_SCALE)});
            }
            g_free(xr);
        } while (pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
    }
    return result;
}

int Graphics::CaretPositionAt(const rt::Text& text, const Font& font, const RectF& layout,
                              const StringFormat& format, PointF point) const {
    if (text.empty()) return 0;
    TextLayout t = LayOutText(impl_->cr.get(), text, font, layout, format);
    int index = 0, trailing = 0;
    pango_layout_xy_to_index(t.layout.get(), static_cast<int>((point.x - t.originX) * PANGO_SCALE),
                             static_cast<int>((point.y - t.originY) * PANGO_SCALE), &index,
                             &trailing);
    // Step over `trailing` characters: past the character when the point is
    // in its second half.
    const char* s = pango_layout_get_text(t.layout.get());
    for (; trailing > 0 && s[index] != '\0'; --trailing)
        index = static_cast<int>(g_utf8_next_char(s + index) - s);
    // Back to the code-page-936 text: the first byte that starts at or after
    // that place in the layout text.
    const auto& map = t.toUtf8;
    for (std::size_t i = 0; i < map.size(); ++i) {
        if (map[i] >= index && (i == 0 || map[i - 1] != map[i])) return static_cast<int>(i);
    }
    return static_cast<int>(text.size());
}

}  // namespace gfx
