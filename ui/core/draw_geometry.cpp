#include "ui/core/draw_geometry.h"

namespace ui {

namespace {
// a < b, with values within the tolerance counted as equal.
bool Less(float a, float b) { return a < b - kGeometryTolerance; }
}  // namespace

gfx::RectF MakeRect(float x, float y, float width, float height) { return {x, y, width, height}; }

void AdjustRect(float dx, float dy, float dwidth, float dheight, gfx::RectF& rect) {
    rect.x += dx;
    rect.y += dy;
    rect.width += dwidth;
    rect.height += dheight;
}

bool PointInRect(const gfx::RectF& rect, float x, float y) {
    return !Less(x, rect.x) && !Less(y, rect.y) && Less(x, rect.x + rect.width) &&
           Less(y, rect.y + rect.height);
}

bool RectsOverlap(const gfx::RectF& dirty, const gfx::RectF& control) {
    return Less(dirty.x, control.x + control.width) && Less(control.x, dirty.x + dirty.width) &&
           Less(dirty.y, control.y + control.height) && Less(control.y, dirty.y + dirty.height);
}

}  // namespace ui
