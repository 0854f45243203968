// Text drawing and measuring of Graphics over GDI+.
#include <algorithm>
#include <cmath>

#include "platform/gfx/gdiplus/gdiplus_gfx.h"

namespace gfx {

namespace {

// GDI+ measures at most this many character ranges in one call.
constexpr std::size_t kRangesPerCall = 32;

// Stands for an unbounded side of a layout rectangle: wider than any line,
// small enough for floats to keep sub-pixel positions.
constexpr float kUnbounded = 1 << 15;

float AlignFactor(StringAlignment a) {
    return a == StringAlignment::Center ? 0.5f : a == StringAlignment::Far ? 1.0f : 0.0f;
}

// The layout rectangle for GDI+. A side of 0 (unbounded) becomes a long one
// placed so that the alignment still refers to the rectangle's edge as a
// point; wine's GDI+ mishandles sides of 0 when measuring ranges.
gp::RectF GpLayout(const RectF& r, const StringFormat& format) {
    gp::RectF out(r.x, r.y, r.width, r.height);
    if (!(r.width > 0)) {
        out.Width = kUnbounded;
        out.X -= kUnbounded * AlignFactor(format.Alignment());
    }
    if (!(r.height > 0)) {
        out.Height = kUnbounded;
        out.Y -= kUnbounded * AlignFactor(format.LineAlignment());
    }
    return out;
}

int Length(const std::wstring& s) { return static_cast<int>(s.size()); }

// The boxes of UTF-16 ranges of `wide`, one list per range, a box per line.
std::vector<std::vector<RectF>> RangeBoxes(gp::GpGraphics* g, const std::wstring& wide,
                                           const Font& font, const RectF& layout,
                                           const StringFormat& format,
                                           const std::vector<gp::CharacterRange>& ranges) {
    std::vector<std::vector<RectF>> out(ranges.size());
    GpFormatOwner f = MakeGpFormat(format);
    gp::GpMatrix* rawMatrix = nullptr;
    flat::GdipCreateMatrix(&rawMatrix);
    rt::Owned<gp::GpMatrix, flat::GdipDeleteMatrix> identity(rawMatrix);
    const gp::RectF box = GpLayout(layout, format);
    for (std::size_t first = 0; first < ranges.size(); first += kRangesPerCall) {
        const std::size_t n = std::min(kRangesPerCall, ranges.size() - first);
        flat::GdipSetStringFormatMeasurableCharacterRanges(f.get(), static_cast<INT>(n),
                                                           ranges.data() + first);
        std::vector<gp::GpRegion*> raw(n, nullptr);
        std::vector<GpRegionOwner> regions;
        for (auto& r : raw) {
            flat::GdipCreateRegion(&r);
            regions.emplace_back(r);
        }
        if (flat::GdipMeasureCharacterRanges(g, wide.c_str(), Length(wide),
                                             font.GetNative().font.get(), box, f.get(),
                                             static_cast<INT>(n), raw.data()) != gp::Ok)
            continue;
        for (std::size_t k = 0; k < n; ++k) {
            UINT count = 0;
            flat::GdipGetRegionScansCount(raw[k], &count, identity.get());
            std::vector<gp::RectF> scans(count);
            INT got = 0;
            if (count) flat::GdipGetRegionScans(raw[k], scans.data(), &got, identity.get());
            for (INT i = 0; i < got; ++i) {
                const gp::RectF& s = scans[static_cast<std::size_t>(i)];
                if (s.Width > 0 && s.Height > 0)
                    out[first + k].push_back(RectF{s.X, s.Y, s.Width, s.Height});
            }
        }
    }
    return out;
}

}  // namespace

void Graphics::DrawString(const rt::Text& text, const Font& font, const Brush& brush,
                          const RectF& layout, const StringFormat& format) {
    if (text.empty()) return;
    const MappedWide prepared = PrepareText(text, format);
    GpFormatOwner f = MakeGpFormat(format);
    GpBrushOwner b = MakeGpBrush(brush);
    RectF box = layout;
    bool clipToLayout = false;
    if (format.Has(StringFormatFlags::kNoWrap) && format.Trimming() == StringTrimming::None &&
        layout.width > 0) {
        // wine's GDI+ drops what passes the width of a line that does not
        // wrap even with nothing to trim: lay the line out from its
        // alignment point instead, and clip it to the rectangle here.
        box.x += layout.width * AlignFactor(format.Alignment());
        box.width = 0;
        clipToLayout = !format.Has(StringFormatFlags::kNoClip);
    }
    if (clipToLayout) {
        const RectF c = layout.height > 0
                            ? layout
                            : RectF{layout.x, layout.y - kUnbounded, layout.width, 2 * kUnbounded};
        flat::GdipSetClipRect(impl_->g.get(), c.x, c.y, c.width, c.height,
                              gp::CombineModeIntersect);
    }
    const gp::RectF gpBox = GpLayout(box, format);
    flat::GdipDrawString(impl_->g.get(), prepared.text.c_str(), Length(prepared.text),
                         font.GetNative().font.get(), &gpBox, f.get(), b.get());
    if (clipToLayout) impl_->ApplyClip();
}

// The text is measured at the near edges and the box placed here: wine's
// GDI+ leaves the alignment out of the measured box.
TextMeasure Graphics::MeasureString(const rt::Text& text, const Font& font, const RectF& layout,
                                    const StringFormat& format) const {
    TextMeasure m;
    m.bounds = RectF{layout.x, layout.y, 0, 0};
    if (text.empty()) return m;
    const MappedWide prepared = PrepareText(text, format);
    StringFormat nearEdges = format;
    nearEdges.SetAlignment(StringAlignment::Near);
    nearEdges.SetLineAlignment(StringAlignment::Near);
    GpFormatOwner f = MakeGpFormat(nearEdges);
    const gp::RectF box = GpLayout(layout, nearEdges);
    gp::RectF bounds;
    INT fitted = 0, lines = 0;
    if (flat::GdipMeasureString(impl_->g.get(), prepared.text.c_str(), Length(prepared.text),
                                font.GetNative().font.get(), &box, f.get(), &bounds, &fitted,
                                &lines) != gp::Ok)
        return m;
    const float w = bounds.Width, h = bounds.Height;
    const float width = layout.width > 0 ? layout.width : 0,
                height = layout.height > 0 ? layout.height : 0;
    m.bounds = RectF{layout.x + (width - w) * AlignFactor(format.Alignment()),
                     layout.y + (height - h) * AlignFactor(format.LineAlignment()), w, h};
    m.codepointsFitted = fitted;
    m.linesFilled = lines;
    return m;
}

std::vector<std::vector<RectF>> Graphics::MeasureCharacterRanges(
    const rt::Text& text, const Font& font, const RectF& layout, const StringFormat& format,
    std::span<const CharacterRange> ranges) const {
    std::vector<std::vector<RectF>> result(ranges.size());
    if (text.empty()) return result;
    const MappedWide prepared = PrepareText(text, format);
    const int size = static_cast<int>(text.size());
    std::vector<gp::CharacterRange> wideRanges;
    std::vector<std::size_t> owner;  // which of `ranges` each wide range is
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        const int first = std::clamp(ranges[k].first, 0, size);
        const int last = std::clamp(ranges[k].first + ranges[k].length, 0, size);
        const int s = prepared.offsets[static_cast<std::size_t>(first)],
                  e = prepared.offsets[static_cast<std::size_t>(last)];
        if (e <= s) continue;
        wideRanges.emplace_back(s, e - s);
        owner.push_back(k);
    }
    std::vector<std::vector<RectF>> boxes =
        RangeBoxes(impl_->g.get(), prepared.text, font, layout, format, wideRanges);
    for (std::size_t i = 0; i < boxes.size(); ++i) result[owner[i]] = std::move(boxes[i]);
    return result;
}

// GDI+ has no hit test: the boxes of the characters tell where each lies.
int Graphics::CaretPositionAt(const rt::Text& text, const Font& font, const RectF& layout,
                              const StringFormat& format, PointF point) const {
    if (text.empty()) return 0;
    std::vector<CharacterRange> chars;
    for (std::size_t i = 0; i < text.size(); i += Cp936CharLength(text, i))
        chars.push_back(
            CharacterRange{static_cast<int>(i), static_cast<int>(Cp936CharLength(text, i))});
    const auto boxes = MeasureCharacterRanges(text, font, layout, format, chars);
    // The line: the one whose boxes span the point's height, else the nearest.
    float lineTop = 0, best = INFINITY;
    for (const auto& b : boxes) {
        if (b.empty()) continue;
        const float distance = point.y < b[0].y           ? b[0].y - point.y
                               : point.y >= b[0].Bottom() ? point.y - b[0].Bottom()
                                                          : 0;
        if (distance < best) {
            best = distance;
            lineTop = b[0].y;
        }
    }
    if (best == INFINITY) return 0;
    int after = -1;  // the end of the line's last character left of the point
    for (std::size_t k = 0; k < chars.size(); ++k) {
        if (boxes[k].empty() || boxes[k][0].y != lineTop) continue;
        const RectF& b = boxes[k][0];
        if (point.x < b.x + b.width / 2) return chars[k].first;
        after = chars[k].first + chars[k].length;
    }
    return std::max(after, 0);
}

}  // namespace gfx
