#include "platform/gfx/path.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace gfx {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Angles are geometric (the direction from the centre to the point), as in the
// library's arcs; cairo works with the ellipse's parameter, so convert.
double ParamAngle(double geometric, double a, double b) {
    return std::atan2(a * std::sin(geometric), b * std::cos(geometric));
}

PointF EllipsePoint(const RectF& box, double geometric) {
    const double a = box.width / 2.0, b = box.height / 2.0;
    const double t = ParamAngle(geometric, a, b);
    return PointF{static_cast<float>(box.x + a + a * std::cos(t)),
                  static_cast<float>(box.y + b + b * std::sin(t))};
}

}  // namespace

void Path::AddArc(const RectF& box, float startAngle, float sweepAngle) {
    Op op{OpKind::Arc, box, startAngle, std::clamp(sweepAngle, -360.0f, 360.0f), {}, {}};
    ops_.push_back(op);
}

void Path::AddLine(PointF from, PointF to) { ops_.push_back(Op{OpKind::Line, {}, 0, 0, from, to}); }

void Path::AddLines(std::span<const PointF> points) {
    for (std::size_t i = 1; i < points.size(); ++i) AddLine(points[i - 1], points[i]);
    if (points.size() == 1) AddLine(points[0], points[0]);
}

void Path::AddPolygon(std::span<const PointF> points) {
    if (points.size() < 2) return;
    StartFigure();
    AddLines(points);
    CloseFigure();
}

void Path::AddRectangle(const RectF& rect) {
    const PointF pts[] = {{rect.x, rect.y},
                          {rect.Right(), rect.y},
                          {rect.Right(), rect.Bottom()},
                          {rect.x, rect.Bottom()}};
    AddPolygon(pts);
}

void Path::AddEllipse(const RectF& box) {
    StartFigure();
    AddArc(box, 0, 360);
    CloseFigure();
}

void Path::AddRoundedRectangle(const RectF& rect, float corner) {
    const float right = rect.x + rect.width - corner - 1;
    const float bottom = rect.y + rect.height - corner - 1;
    StartFigure();
    AddArc(rect.x, rect.y, corner, corner, 180, 90);
    AddArc(right, rect.y, corner, corner, 270, 90);
    AddArc(right, bottom, corner, corner, 0, 90);
    AddArc(rect.x, bottom, corner, corner, 90, 90);
    CloseFigure();
}

void Path::StartFigure() { ops_.push_back(Op{OpKind::Start, {}, 0, 0, {}, {}}); }

void Path::CloseFigure() { ops_.push_back(Op{OpKind::Close, {}, 0, 0, {}, {}}); }

void Path::AppendTo(cairo_t* cr) const {
    bool newFigure = true;
    for (const Op& op : ops_) {
        switch (op.kind) {
        case OpKind::Start: newFigure = true; break;
        case OpKind::Close:
            if (!newFigure) cairo_close_path(cr);
            newFigure = true;
            break;
        case OpKind::Line:
            if (newFigure) cairo_move_to(cr, op.p0.x, op.p0.y);
            else cairo_line_to(cr, op.p0.x, op.p0.y);
            cairo_line_to(cr, op.p1.x, op.p1.y);
            newFigure = false;
            break;
        case OpKind::Arc: {
            const double start = op.a * kDegree, sweep = op.b * kDegree;
            const double a = op.box.width / 2.0, b = op.box.height / 2.0;
            if (!(a > 0) || !(b > 0)) {
                // A flat ellipse: the arc degenerates to a line between its ends.
                const PointF p0 = EllipsePoint(op.box, start),
                             p1 = EllipsePoint(op.box, start + sweep);
                if (newFigure) cairo_move_to(cr, p0.x, p0.y);
                else cairo_line_to(cr, p0.x, p0.y);
                cairo_line_to(cr, p1.x, p1.y);
                newFigure = false;
                break;
            }
            const double t0 = ParamAngle(start, a, b);
            double t1;
            if (std::fabs(op.b) >= 360.0f) {
                t1 = t0 + (sweep > 0 ? 2 : -2) * std::numbers::pi;
            } else {
                // Both parameters lie within a quarter turn of their geometric
                // angles, so take the end parameter nearest the expected one.
                t1 = ParamAngle(start + sweep, a, b);
                const double expected = t0 + sweep;
                t1 += std::round((expected - t1) / (2 * std::numbers::pi)) * 2 * std::numbers::pi;
            }
            if (newFigure) cairo_new_sub_path(cr);
            cairo_save(cr);
            cairo_translate(cr, op.box.x + a, op.box.y + b);
            cairo_scale(cr, a, b);
            if (t1 >= t0) cairo_arc(cr, 0, 0, 1, t0, t1);
            else cairo_arc_negative(cr, 0, 0, 1, t0, t1);
            cairo_restore(cr);
            newFigure = false;
            break;
        }
        }
    }
}

RectF Path::Bounds() const {
    if (ops_.empty()) return {};
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> s(
        cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1), &cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(s.get()), &cairo_destroy);
    AppendTo(cr.get());
    double x1, y1, x2, y2;
    cairo_path_extents(cr.get(), &x1, &y1, &x2, &y2);
    return RectF{static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2 - x1),
                 static_cast<float>(y2 - y1)};
}

}  // namespace gfx
