#include "platform/gfx/region.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gfx/backend.h"

namespace gfx {

namespace {

bool Keeps(RegionOp op, bool inA, bool inB) {
    switch (op) {
    case RegionOp::And: return inA && inB;
    case RegionOp::Or: return inA || inB;
    case RegionOp::Xor: return inA != inB;
    case RegionOp::Diff: return inA && !inB;
    case RegionOp::Copy: return inA;
    }
    return false;
}

// Walks the edges of two sorted lists of half-open intervals in step and
// calls `piece(from, to, inA, inB)` for each stretch between two edges.
template <typename Interval, typename Lo, typename Hi, typename Piece>
void Sweep(const std::vector<Interval>& a, const std::vector<Interval>& b, Lo lo, Hi hi,
           Piece piece) {
    std::vector<int> edges;
    edges.reserve(2 * (a.size() + b.size()));
    for (const auto* list : {&a, &b})
        for (const Interval& i : *list) {
            edges.push_back(lo(i));
            edges.push_back(hi(i));
        }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::size_t ia = 0, ib = 0;
    for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
        const int from = edges[k], to = edges[k + 1];
        while (ia < a.size() && hi(a[ia]) <= from) ++ia;
        while (ib < b.size() && hi(b[ib]) <= from) ++ib;
        piece(from, to, ia < a.size() ? &a[ia] : nullptr, ib < b.size() ? &b[ib] : nullptr);
    }
}

}  // namespace

Region::Region() = default;

Region::Region(const RectI& rect) {
    if (!rect.IsEmpty()) AppendRows(rect.y, rect.Bottom(), {Span{rect.x, rect.Right()}});
}

Region::~Region() = default;
Region::Region(const Region& other) = default;
Region& Region::operator=(const Region& other) = default;
Region::Region(Region&& other) noexcept : bands_(std::exchange(other.bands_, {})) {}
Region& Region::operator=(Region&& other) noexcept {
    if (this != &other) bands_ = std::exchange(other.bands_, {});
    return *this;
}

void Region::AppendRows(int top, int bottom, std::vector<Span> spans) {
    if (spans.empty() || bottom <= top) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back(Band{top, bottom, std::move(spans)});
}

void Region::AppendMaskRow(int y, int left, const std::uint8_t* row, int width) {
    std::vector<Span> spans;
    for (int x = 0; x < width;) {
        while (x < width && row[x] == 0) ++x;
        const int start = x;
        while (x < width && row[x] != 0) ++x;
        if (x > start) spans.push_back(Span{left + start, left + x});
    }
    AppendRows(y, y + 1, std::move(spans));
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
        if (x1 > x0) result.AppendRows(y, y + 1, {Span{x0, x1}});
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
    const RectI area{x0, y0, x1 - x0, y1 - y0};
    if (area.IsEmpty() || area.width > 32767 || area.height > 32767) return result;
    const std::vector<std::uint8_t> mask = RasterisePath(path, offset, area);
    if (mask.size() != static_cast<std::size_t>(area.width) * area.height) return result;
    for (int y = 0; y < area.height; ++y)
        result.AppendMaskRow(y0 + y, x0, mask.data() + static_cast<std::size_t>(y) * area.width,
                             area.width);
    return result;
}

void Region::Combine(const Region& a, const Region& b, RegionOp op) {
    Region out;
    auto top = [](const Band& band) { return band.top; };
    auto bottom = [](const Band& band) { return band.bottom; };
    auto left = [](const Span& s) { return s.left; };
    auto right = [](const Span& s) { return s.right; };
    static const std::vector<Span> kNone;
    Sweep(a.bands_, b.bands_, top, bottom, [&](int y0, int y1, const Band* ba, const Band* bb) {
        const std::vector<Span>& sa = ba && ba->top <= y0 ? ba->spans : kNone;
        const std::vector<Span>& sb = bb && bb->top <= y0 ? bb->spans : kNone;
        std::vector<Span> spans;
        Sweep(sa, sb, left, right, [&](int x0, int x1, const Span* pa, const Span* pb) {
            if (!Keeps(op, pa && pa->left <= x0, pb && pb->left <= x0)) return;
            if (!spans.empty() && spans.back().right == x0) spans.back().right = x1;
            else spans.push_back(Span{x0, x1});
        });
        out.AppendRows(y0, y1, std::move(spans));
    });
    bands_ = std::move(out.bands_);
}

void Region::Offset(int dx, int dy) {
    for (Band& band : bands_) {
        band.top += dy;
        band.bottom += dy;
        for (Span& s : band.spans) {
            s.left += dx;
            s.right += dx;
        }
    }
}

bool Region::IsEmpty() const { return bands_.empty(); }

bool Region::Contains(int x, int y) const {
    for (const Band& band : bands_) {
        if (y < band.top) return false;
        if (y >= band.bottom) continue;
        for (const Span& s : band.spans)
            if (x >= s.left && x < s.right) return true;
        return false;
    }
    return false;
}

RectI Region::Bounds() const {
    if (bands_.empty()) return {};
    int left = bands_.front().spans.front().left, right = bands_.front().spans.back().right;
    for (const Band& band : bands_) {
        left = std::min(left, band.spans.front().left);
        right = std::max(right, band.spans.back().right);
    }
    return RectI{left, bands_.front().top, right - left, bands_.back().bottom - bands_.front().top};
}

std::vector<RectI> Region::Rects() const {
    std::vector<RectI> out;
    for (const Band& band : bands_)
        for (const Span& s : band.spans)
            out.push_back(RectI{s.left, band.top, s.right - s.left, band.bottom - band.top});
    return out;
}

}  // namespace gfx
