// A set of whole pixels, the role of a GDI region (and of a GDI+ region made
// from one). Rectangles are half-open: (x, y, width, height) covers pixels
// x .. x + width - 1.
//
// Kept as bands: runs of rows that share the same spans, top to bottom, each
// band's spans left to right, disjoint and not touching; two touching bands
// never have the same spans. That form is unique, so equal sets compare
// equal, and it is the same on every system.
#pragma once

#include <vector>

#include "platform/gfx/types.h"

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
    // A moved-from region is left empty.
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
    friend bool operator==(const Region& a, const Region& b) = default;

private:
    struct Span {
        int left = 0;
        int right = 0;  // one past the last pixel
        friend bool operator==(const Span&, const Span&) = default;
    };
    struct Band {
        int top = 0;
        int bottom = 0;  // one past the last row
        std::vector<Span> spans;
        friend bool operator==(const Band&, const Band&) = default;
    };
    // Appends the rows top .. bottom - 1 with `spans` below every band so far.
    void AppendRows(int top, int bottom, std::vector<Span> spans);
    // Appends one row's runs of non-zero bytes of a mask.
    void AppendMaskRow(int y, int left, const std::uint8_t* row, int width);

    std::vector<Band> bands_;
};

}  // namespace gfx
