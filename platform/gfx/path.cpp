#include "platform/gfx/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gfx/path_geometry.h"

namespace gfx {

namespace {

double ParamAngle(double geometric, double a, double b) {
    return std::atan2(a * std::sin(geometric), b * std::cos(geometric));
}

}  // namespace

PointF EllipsePoint(const RectF& box, double geometric) {
    const double a = box.width / 2.0, b = box.height / 2.0;
    const double t = ParamAngle(geometric, a, b);
    return PointF{static_cast<float>(box.x + a + a * std::cos(t)),
                  static_cast<float>(box.y + b + b * std::sin(t))};
}

bool IsFlatArc(const PathSegment& arc) { return !(arc.box.width > 0) || !(arc.box.height > 0); }

ArcParameters ParametersOf(const PathSegment& arc) {
    const double start = arc.start * kRadiansPerDegree, sweep = arc.sweep * kRadiansPerDegree;
    const double a = arc.box.width / 2.0, b = arc.box.height / 2.0;
    ArcParameters p;
    p.start = ParamAngle(start, a, b);
    if (std::fabs(arc.sweep) >= 360.0f) {
        p.end = p.start + (sweep > 0 ? 2 : -2) * std::numbers::pi;
    } else {
        // Both parameters lie within a quarter turn of their geometric
        // angles, so take the end parameter nearest the expected one.
        p.end = ParamAngle(start + sweep, a, b);
        const double expected = p.start + sweep;
        p.end += std::round((expected - p.end) / (2 * std::numbers::pi)) * 2 * std::numbers::pi;
    }
    return p;
}

void Path::AddArc(const RectF& box, float startAngle, float sweepAngle) {
    PathSegment s;
    s.kind = PathSegment::Kind::Arc;
    s.box = box;
    s.start = startAngle;
    s.sweep = std::clamp(sweepAngle, -360.0f, 360.0f);
    segments_.push_back(s);
}

void Path::AddLine(PointF from, PointF to) {
    PathSegment s;
    s.kind = PathSegment::Kind::Line;
    s.from = from;
    s.to = to;
    segments_.push_back(s);
}

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

void Path::StartFigure() {
    PathSegment s;
    s.kind = PathSegment::Kind::Start;
    segments_.push_back(s);
}

void Path::CloseFigure() {
    PathSegment s;
    s.kind = PathSegment::Kind::Close;
    segments_.push_back(s);
}

RectF Path::Bounds() const {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    auto add = [&](double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    };
    for (const PathSegment& s : segments_) {
        if (s.kind == PathSegment::Kind::Line) {
            add(s.from.x, s.from.y);
            add(s.to.x, s.to.y);
        } else if (s.kind == PathSegment::Kind::Arc) {
            const double a = s.box.width / 2.0, b = s.box.height / 2.0;
            const PointF p0 = EllipsePoint(s.box, s.start * kRadiansPerDegree),
                         p1 = EllipsePoint(
                             s.box, s.start * kRadiansPerDegree + s.sweep * kRadiansPerDegree);
            add(p0.x, p0.y);
            add(p1.x, p1.y);
            if (IsFlatArc(s)) continue;
            // The ellipse's extreme points that the arc passes.
            const ArcParameters t = ParametersOf(s);
            const double lo = std::min(t.start, t.end), hi = std::max(t.start, t.end);
            const double quarter = std::numbers::pi / 2;
            for (double k = std::ceil(lo / quarter); k * quarter <= hi; ++k)
                add(s.box.x + a + a * std::cos(k * quarter),
                    s.box.y + b + b * std::sin(k * quarter));
        }
    }
    if (x0 > x1) return {};
    return RectF{static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1 - x0),
                 static_cast<float>(y1 - y0)};
}

}  // namespace gfx
