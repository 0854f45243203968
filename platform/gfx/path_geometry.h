// Where the arcs of a path run (internal to the drawing layer).
//
// Arc angles are geometric, the direction from the ellipse's centre to the
// point; the ellipse's parameter angle differs from it unless the ellipse is
// a circle. Backends that draw arcs by parameter convert with these.
#pragma once

#include <numbers>

#include "platform/gfx/path.h"

namespace gfx {

inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The point of the ellipse in `box` in the direction `geometric` (radians).
PointF EllipsePoint(const RectF& box, double geometric);

// True when the arc's ellipse has no area: the arc is then the straight line
// between its end points.
bool IsFlatArc(const PathSegment& arc);

// The parameter angles (radians) at which a non-flat arc starts and ends;
// `end` - `start` has the sweep's sign and is at most a full turn.
struct ArcParameters {
    double start = 0;
    double end = 0;
};
ArcParameters ParametersOf(const PathSegment& arc);

}  // namespace gfx
