// Paths, brushes, pens and regions as GDI+ and GDI objects.
#include <algorithm>

#include "platform/gfx/gdiplus/gdiplus_gfx.h"
#include "platform/gfx/path_geometry.h"

namespace gfx {

GpPathOwner MakeGpPath(const Path& path, float dx, float dy) {
    gp::GpPath* raw = nullptr;
    flat::GdipCreatePath(
        path.GetFillMode() == FillMode::Winding ? gp::FillModeWinding : gp::FillModeAlternate,
        &raw);
    GpPathOwner p(raw);
    for (const PathSegment& s : path.Segments()) {
        switch (s.kind) {
        case PathSegment::Kind::Start: flat::GdipStartPathFigure(p.get()); break;
        case PathSegment::Kind::Close: flat::GdipClosePathFigure(p.get()); break;
        case PathSegment::Kind::Line:
            flat::GdipAddPathLine(p.get(), s.from.x + dx, s.from.y + dy, s.to.x + dx, s.to.y + dy);
            break;
        case PathSegment::Kind::Arc:
            if (IsFlatArc(s)) {
                // GDI+ refuses an ellipse without area: the arc is the line
                // between its ends.
                const PointF a = EllipsePoint(s.box, s.start * kRadiansPerDegree),
                             b = EllipsePoint(
                                 s.box, s.start * kRadiansPerDegree + s.sweep * kRadiansPerDegree);
                flat::GdipAddPathLine(p.get(), a.x + dx, a.y + dy, b.x + dx, b.y + dy);
            } else {
                flat::GdipAddPathArc(p.get(), s.box.x + dx, s.box.y + dy, s.box.width, s.box.height,
                                     s.start, s.sweep);
            }
            break;
        }
    }
    return p;
}

namespace {

// GDI+ gradients cannot clamp: stretch the gradient far along its direction
// and hold the end colours outside the original span.
constexpr float kClampReach = 1 << 15;

GpBrushOwner MakeLinearGradient(const LinearGradientBrush& g) {
    RectF r = g.Rect();
    const bool clamp = g.Wrap() == WrapMode::Clamp;
    float startAt = 0, endAt = 1;
    if (clamp) {
        const bool alongX = g.Mode() != LinearGradientMode::Vertical;
        const bool alongY = g.Mode() != LinearGradientMode::Horizontal;
        const float span = alongX ? r.width : r.height;
        const float total = span + 2 * kClampReach;
        if (alongX) {
            r.x -= kClampReach;
            r.width += 2 * kClampReach;
        }
        if (alongY) {
            r.y -= kClampReach;
            r.height += 2 * kClampReach;
        }
        startAt = kClampReach / total;
        endAt = (kClampReach + span) / total;
    }
    const gp::RectF rect(r.x, r.y, r.width, r.height);
    gp::GpLineGradient* raw = nullptr;
    const auto wrap = clamp ? gp::WrapModeTile : static_cast<gp::WrapMode>(g.Wrap());
    flat::GdipCreateLineBrushFromRect(&rect, g.From(), g.To(),
                                      static_cast<gp::LinearGradientMode>(g.Mode()), wrap, &raw);
    if (raw && clamp) {
        const float factors[] = {0, 0, 1, 1};
        const float positions[] = {0, startAt, endAt, 1};
        flat::GdipSetLineBlend(raw, factors, positions, 4);
    }
    return GpBrushOwner(raw);
}

}  // namespace

GpBrushOwner MakeGpBrush(const Brush& brush) {
    if (const auto* solid = std::get_if<SolidBrush>(&brush)) {
        gp::GpSolidFill* raw = nullptr;
        flat::GdipCreateSolidFill(solid->Color(), &raw);
        return GpBrushOwner(raw);
    }
    return MakeLinearGradient(std::get<LinearGradientBrush>(brush));
}

GpPenOwner MakeGpPen(const Pen& pen) {
    gp::GpPen* raw = nullptr;
    flat::GdipCreatePen1(pen.Color(), pen.Width(), gp::UnitPixel, &raw);
    GpPenOwner p(raw);
    // The dash styles have the same numbers and the same patterns in pen
    // widths (dash 3, gap 1, dot 1).
    if (p) flat::GdipSetPenDashStyle(p.get(), static_cast<gp::DashStyle>(pen.Dash()));
    return p;
}

HrgnOwner MakeHrgn(const Region& region) {
    const std::vector<RectI> rects = region.Rects();
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects.size());
    header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    const RectI b = region.Bounds();
    header->rcBound = RECT{b.x, b.y, b.Right(), b.Bottom()};
    auto* out = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < rects.size(); ++i)
        out[i] = RECT{rects[i].x, rects[i].y, rects[i].Right(), rects[i].Bottom()};
    return HrgnOwner(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                     reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace gfx
