#include "platform/gfx/region.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gfx/path.h"

namespace gfx {

void Region::Deleter::operator()(cairo_region_t* r) const { cairo_region_destroy(r); }

Region::Region() : region_(cairo_region_create()) {}

Region::Region(cairo_region_t* owned) : region_(owned) {}

Region::Region(const RectI& rect) : Region() {
    if (!rect.IsEmpty()) {
        const cairo_rectangle_int_t r{rect.x, rect.y, rect.width, rect.height};
        cairo_region_union_rectangle(region_.get(), &r);
    }
}

Region::~Region() = default;

Region::Region(const Region& other) : region_(cairo_region_copy(other.region_.get())) {}

Region& Region::operator=(const Region& other) {
    if (this != &other) region_.reset(cairo_region_copy(other.region_.get()));
    return *this;
}

// A moved-from region is left empty rather than null, so it stays usable.
Region::Region(Region&& other) noexcept : region_(std::exchange(other.region_, {})) {
    other.region_.reset(cairo_region_create());
}

Region& Region::operator=(Region&& other) noexcept {
    if (this != &other) {
        region_ = std::move(other.region_);
        other.region_.reset(cairo_region_create());
    }
    return *this;
}

Region Region::FromLtrb(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return Region(RectI{left, top, right - left, bottom - top});
}

Region Region::RoundRect(int left, int top, int right, int bottom, int ellipseWidth,
                         int ellipseHeight) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // The rounded region is one pixel smaller at the right and bottom.
    --right;
    --bottom;
    const int ew = std::min(right - left, std::abs(ellipseWidth));
    const int eh = std::min(bottom - top, std::abs(ellipseHeight));
    if (ew < 2 || eh < 2) return FromLtrb(left, top, right, bottom);

    Region result;
    const double rx = ew / 2.0, ry = eh / 2.0;
    for (int y = top; y < bottom; ++y) {
        const double yc = y + 0.5;
        double dy = 0;
        if (yc < top + ry) dy = top + ry - yc;
        else if (yc > bottom - ry) dy = yc - (bottom - ry);
        int inset = 0;
        if (dy > 0) {
            const double q = dy / ry;
            const double dx = q >= 1 ? 0 : rx * std::sqrt(1 - q * q);
            inset = static_cast<int>(std::lround(rx - dx));
        }
        const int x0 = left + inset, x1 = right - inset;
        if (x1 > x0) {
            const cairo_rectangle_int_t r{x0, y, x1 - x0, 1};
            cairo_region_union_rectangle(result.region_.get(), &r);
        }
    }
    return result;
}

Region Region::FromPath(const Path& path, float offset) {
    Region result;
    RectF b = path.Bounds();
    b.x += offset;
    b.y += offset;
    if (b.IsEmpty()) return result;
    const int x0 = static_cast<int>(std::floor(b.x)), y0 = static_cast<int>(std::floor(b.y));
    const int x1 = static_cast<int>(std::ceil(b.Right())),
              y1 = static_cast<int>(std::ceil(b.Bottom()));
    const int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767) return result;

    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> mask(
        cairo_image_surface_create(CAIRO_FORMAT_A8, w, h), &cairo_surface_destroy);
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return result;
    {
        std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(mask.get()),
                                                              &cairo_destroy);
        cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
        cairo_translate(cr.get(), offset - x0, offset - y0);
        path.AppendTo(cr.get());
        cairo_set_fill_rule(cr.get(), path.GetFillMode() == FillMode::Winding
                                          ? CAIRO_FILL_RULE_WINDING
                                          : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr.get());
    }
    cairo_surface_flush(mask.get());
    const unsigned char* data = cairo_image_surface_get_data(mask.get());
    const int stride = cairo_image_surface_get_stride(mask.get());
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = data + static_cast<std::size_t>(y) * stride;
        int x = 0;
        while (x < w) {
            while (x < w && row[x] == 0) ++x;
            const int start = x;
            while (x < w && row[x] != 0) ++x;
            if (x > start) {
                const cairo_rectangle_int_t r{x0 + start, y0 + y, x - start, 1};
                cairo_region_union_rectangle(result.region_.get(), &r);
            }
        }
    }
    return result;
}

void Region::Combine(const Region& a, const Region& b, RegionOp op) {
    cairo_region_t* out = cairo_region_copy(a.region_.get());
    switch (op) {
    case RegionOp::And: cairo_region_intersect(out, b.region_.get()); break;
    case RegionOp::Or: cairo_region_union(out, b.region_.get()); break;
    case RegionOp::Xor: cairo_region_xor(out, b.region_.get()); break;
    case RegionOp::Diff: cairo_region_subtract(out, b.region_.get()); break;
    case RegionOp::Copy: break;
    }
    region_.reset(out);
}

void Region::Offset(int dx, int dy) { cairo_region_translate(region_.get(), dx, dy); }

bool Region::IsEmpty() const { return cairo_region_is_empty(region_.get()); }

bool Region::Contains(int x, int y) const {
    return cairo_region_contains_point(region_.get(), x, y);
}

RectI Region::Bounds() const {
    cairo_rectangle_int_t r;
    cairo_region_get_extents(region_.get(), &r);
    return RectI{r.x, r.y, r.width, r.height};
}

std::vector<RectI> Region::Rects() const {
    std::vector<RectI> out;
    const int n = cairo_region_num_rectangles(region_.get());
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(region_.get(), i, &r);
        out.push_back(RectI{r.x, r.y, r.width, r.height});
    }
    return out;
}

bool operator==(const Region& a, const Region& b) {
    return cairo_region_equal(a.region_.get(), b.region_.get());
}

}  // namespace gfx
