// A set of whole pixels, the role of a GDI region (and of a GDI+ region made
// from one). Rectangles are half-open: (x, y, width, height) covers pixels
// x .. x + width - 1.
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/types.h"

typedef struct _cairo_region cairo_region_t;

namespace gfx {

class Path;

enum class RegionOp { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

class Region {
public:
    // The empty region.
    Region();
    // One rectangle (the CreateRectRgn role takes left, top, right, bottom:
    // use FromLtrb for that).
    explicit Region(const RectI& rect);
    ~Region();
    Region(const Region& other);
    Region& operator=(const Region& other);
    Region(Region&&) noexcept;
    Region& operator=(Region&&) noexcept;

    // The CreateRectRgn geometry: pixels left .. right - 1, top .. bottom - 1.
    static Region FromLtrb(int left, int top, int right, int bottom);
    // The CreateRoundRectRgn geometry: the rectangle left .. right - 2,
    // top .. bottom - 2 (one pixel less at the right and bottom than a plain
    // rectangle region) with corners cut along an ellipse of
    // ellipseWidth x ellipseHeight. Corners under 2 pixels give a plain rectangle.
    static Region RoundRect(int left, int top, int right, int bottom, int ellipseWidth,
                            int ellipseHeight);
    // The pixels whose centres the path covers (under its fill mode); the
    // path is first moved by `offset` in both directions (a pixel's centre is
    // (x + 0.5, y + 0.5) before the move).
    static Region FromPath(const Path& path, float offset = 0);

    // The CombineRgn role: this := a op b (Copy takes a).
    void Combine(const Region& a, const Region& b, RegionOp op);
    void Combine(const Region& other, RegionOp op) { Combine(*this, other, op); }
    void Offset(int dx, int dy);

    bool IsEmpty() const;
    bool Contains(int x, int y) const;
    RectI Bounds() const;
    // The region as disjoint rectangles, top to bottom, left to right.
    std::vector<RectI> Rects() const;
    friend bool operator==(const Region& a, const Region& b);

    // The cairo region (owned by this object).
    cairo_region_t* CairoRegion() const { return region_.get(); }

private:
    struct Deleter {
        void operator()(cairo_region_t* r) const;
    };
    explicit Region(cairo_region_t* owned);
    std::unique_ptr<cairo_region_t, Deleter> region_;
};

}  // namespace gfx
