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

typedef struct _cairo cairo_t;

namespace gfx {

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

    bool IsEmpty() const { return ops_.empty(); }
    // Bounds of the path's points and curves (no pen width), empty when empty.
    RectF Bounds() const;

    // Replays the path into a cairo context as its current path (the context's
    // own transformation applies). Used by Graphics and Region.
    void AppendTo(cairo_t* cr) const;

private:
    enum class OpKind { Line, Arc, Close, Start };
    struct Op {
        OpKind kind;
        RectF box;           // Arc: ellipse box
        float a = 0, b = 0;  // Arc: start, sweep; Line: unused
        PointF p0, p1;       // Line: from, to
    };
    std::vector<Op> ops_;
    FillMode fillMode_;
};

}  // namespace gfx
