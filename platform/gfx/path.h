// A vector path made of figures of lines and elliptical arcs.
//
// Arcs are given as in the library's drawing code: the bounding box of the
// ellipse, a start angle and a sweep, in degrees, clockwise from the x axis
// on screen (y grows downwards). Consecutive segments of an open figure are
// joined by a straight line.
#pragma once

#include <span>
#include <vector>

#include "platform/gfx/types.h"

namespace gfx {

// One step of a path as it was added.
struct PathSegment {
    enum class Kind { Line, Arc, Close, Start };
    Kind kind = Kind::Start;
    RectF box;        // Arc: the ellipse's bounding box
    float start = 0;  // Arc: start angle in degrees
    float sweep = 0;  // Arc: sweep in degrees, -360 .. 360
    PointF from, to;  // Line
};

class Path {
public:
    explicit Path(FillMode fillMode = FillMode::Alternate) : fillMode_(fillMode) {}

    FillMode GetFillMode() const { return fillMode_; }
    void SetFillMode(FillMode mode) { fillMode_ = mode; }

    void AddArc(const RectF& box, float startAngle, float sweepAngle);
    void AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
        AddArc(RectF{x, y, width, height}, startAngle, sweepAngle);
    }
    void AddLine(PointF from, PointF to);
    // A connected run of lines through the points.
    void AddLines(std::span<const PointF> points);
    // A closed figure through the points (at least two).
    void AddPolygon(std::span<const PointF> points);
    // A closed rectangle figure.
    void AddRectangle(const RectF& rect);
    // A closed ellipse figure inscribed in the box.
    void AddEllipse(const RectF& box);
    // A closed rectangle figure with rounded corners; `corner` is the width and
    // height of each corner arc (a diameter). The right and bottom arcs start
    // one pixel in from the far edges, so the outline spans x .. x + width - 1.
    void AddRoundedRectangle(const RectF& rect, float corner);
    // Ends the current figure open; the next segment starts a new one.
    void StartFigure();
    // Closes the current figure with a line back to its first point.
    void CloseFigure();

    bool IsEmpty() const { return segments_.empty(); }
    // Bounds of the path's points and curves (no pen width), empty when empty.
    RectF Bounds() const;

    // The segments in the order they were added, for the drawing backend.
    std::span<const PathSegment> Segments() const { return segments_; }

private:
    std::vector<PathSegment> segments_;
    FillMode fillMode_;
};

}  // namespace gfx
