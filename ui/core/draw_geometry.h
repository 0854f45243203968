// Rectangles in floating point and the containment and overlap tests the
// routing and painting code share.
#pragma once

#include "platform/gfx/types.h"

namespace ui {

// Geometry compares treat values closer than this as equal.
inline constexpr float kGeometryTolerance = 1e-7f;

gfx::RectF MakeRect(float x, float y, float width, float height);
// Adds the four deltas to `rect` in place.
void AdjustRect(float dx, float dy, float dwidth, float dheight, gfx::RectF& rect);
// Half-open test: the left and top edges belong to the rectangle, the right
// and bottom edges do not.
bool PointInRect(const gfx::RectF& rect, float x, float y);
// Whether the open interiors of a dirty rectangle and a control's rectangle meet.
bool RectsOverlap(const gfx::RectF& dirty, const gfx::RectF& control);

}  // namespace ui
