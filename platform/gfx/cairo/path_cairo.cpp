// Paths replayed into a cairo context.
#include <cairo.h>

#include "platform/gfx/cairo/cairo_gfx.h"
#include "platform/gfx/path_geometry.h"

namespace gfx {

void AppendPath(cairo_t* cr, const Path& path) {
    bool newFigure = true;
    auto lineTo = [&](PointF p) {
        if (newFigure) cairo_move_to(cr, p.x, p.y);
        else cairo_line_to(cr, p.x, p.y);
        newFigure = false;
    };
    for (const PathSegment& s : path.Segments()) {
        switch (s.kind) {
        case PathSegment::Kind::Start: newFigure = true; break;
        case PathSegment::Kind::Close:
            if (!newFigure) cairo_close_path(cr);
            newFigure = true;
            break;
        case PathSegment::Kind::Line:
            lineTo(s.from);
            cairo_line_to(cr, s.to.x, s.to.y);
            break;
        case PathSegment::Kind::Arc: {
            if (IsFlatArc(s)) {
                lineTo(EllipsePoint(s.box, s.start * kRadiansPerDegree));
                const PointF end =
                    EllipsePoint(s.box, s.start * kRadiansPerDegree + s.sweep * kRadiansPerDegree);
                cairo_line_to(cr, end.x, end.y);
                break;
            }
            const ArcParameters t = ParametersOf(s);
            const double a = s.box.width / 2.0, b = s.box.height / 2.0;
            if (newFigure) cairo_new_sub_path(cr);
            cairo_save(cr);
            cairo_translate(cr, s.box.x + a, s.box.y + b);
            cairo_scale(cr, a, b);
            if (t.end >= t.start) cairo_arc(cr, 0, 0, 1, t.start, t.end);
            else cairo_arc_negative(cr, 0, 0, 1, t.start, t.end);
            cairo_restore(cr);
            newFigure = false;
            break;
        }
        }
    }
}

}  // namespace gfx
