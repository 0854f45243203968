// The Shape cut of a window: its region and, where nothing blends, its
// transparent pixels.
#include "platform/x11/shape.h"

#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::x11 {

namespace {

using Runs = std::vector<std::pair<int, int>>;

// Appends [start, end) to sorted runs, joining a run that it continues.
void AddRun(Runs& runs, int start, int end) {
    if (end <= start) return;
    if (!runs.empty() && runs.back().second == start) runs.back().second = end;
    else runs.emplace_back(start, end);
}

// A pixel is shown when it is at least half opaque: without a compositor
// nothing blends, and a fainter pixel (a shadow, the outer half of an
// anti-aliased edge) would show as nearly black. That is the top bit of
// the alpha byte, the sign bit of the pixel.
bool Shown(std::uint32_t pixel) { return (pixel & 0x80000000u) != 0; }

// The shown runs of row[left, right), appended to `runs`; four pixels a
// step where SSE2 is there.
void AddShownRuns(const std::uint32_t* row, int left, int right, Runs& runs) {
    int start = -1;
    int x = left;
    auto at = [&](int px, bool shown) {
        if (shown && start < 0) start = px;
        else if (!shown && start >= 0) {
            AddRun(runs, start, px);
            start = -1;
        }
    };
#if defined(__SSE2__)
    for (; x + 4 <= right; x += 4) {
        const int mask = _mm_movemask_ps(
            _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x))));
        if (mask == 0xF && start >= 0) continue;
        if (mask == 0 && start < 0) continue;
        for (int i = 0; i < 4; ++i) at(x + i, ((mask >> i) & 1) != 0);
    }
#endif
    for (; x < right; ++x) at(x, Shown(row[x]));
    if (start >= 0) AddRun(runs, start, right);
}

// The runs of a row whose pixels changed in [left, right) only: the old
// runs outside the span, the pixels' runs inside it.
void SpliceRuns(const Runs& old, const std::uint32_t* row, int left, int right, Runs& out) {
    out.clear();
    for (auto [s, e] : old) {
        if (s >= left) break;
        AddRun(out, s, std::min(e, left));
    }
    AddShownRuns(row, left, right, out);
    for (auto [s, e] : old)
        if (e > right) AddRun(out, std::max(s, right), e);
}

bool CutsTransparency(const core::WindowRecord& rec, bool composited) {
    // Without a compositor nothing blends: transparent pixels would show
    // black (or the picture over black on a depth-24 visual).
    return (rec.exStyle & WS_EX_LAYERED) && (!composited || !XConnection().argb) &&
           XConnection().shape;
}

// The shape's rectangles: the runs of the rows cut by the region when the
// window has one, or the region alone without runs. Rows with the same
// rectangles as the row above join them.
std::vector<XRectangle> ShapeRects(const core::WindowRecord& rec, const X11Window& n, bool cut) {
    std::vector<XRectangle> rects;
    auto add = [&](int l, int t, int r, int b) {
        if (r > l && b > t)
            rects.push_back(XRectangle{static_cast<short>(l), static_cast<short>(t),
                                       static_cast<unsigned short>(r - l),
                                       static_cast<unsigned short>(b - t)});
    };
    if (!cut) {
        for (const RECT& g : rec.region.rects) add(g.left, g.top, g.right, g.bottom);
        return rects;
    }
    std::size_t above = 0;  // the first rectangle of the row above
    for (int y = 0; y < rec.picHeight; ++y) {
        const std::size_t first = rects.size();
        for (auto [l, r] : n.runs[static_cast<std::size_t>(y)]) {
            if (!rec.hasRegion) {
                add(l, y, r, y + 1);
                continue;
            }
            for (const RECT& g : rec.region.rects)
                if (y >= g.top && y < g.bottom)
                    add(std::max(l, g.left), y, std::min(r, g.right), y + 1);
        }
        const std::size_t count = rects.size() - first;
        const bool same =
            first > above && count == first - above &&
            rects[above].y + static_cast<int>(rects[above].height) == y &&
            std::equal(rects.begin() + static_cast<std::ptrdiff_t>(first), rects.end(),
                       rects.begin() + static_cast<std::ptrdiff_t>(above),
                       [](const XRectangle& a, const XRectangle& b) {
                           return a.x == b.x && a.width == b.width;
                       });
        if (same) {
            for (std::size_t i = above; i < first; ++i) ++rects[i].height;
            rects.resize(first);
        } else {
            above = first;
        }
    }
    return rects;
}

}  // namespace

void UpdateShape(core::WindowRecord& rec, X11Window& n, const RECT& changed, bool force) {
    Display& x = XConnection();
    if (!x.shape || n.window == 0) return;
    const bool composited = x.Composited();
    const bool cut = CutsTransparency(rec, composited) && rec.picWidth > 0;
    if (composited != n.lastComposited) {
        force = true;
        n.lastComposited = composited;
    }
    if (!cut && !n.runs.empty()) {
        n.runs.clear();
        force = true;
    }
    RECT area = core::Intersect(changed, RECT{0, 0, rec.picWidth, rec.picHeight});
    if (cut && static_cast<int>(n.runs.size()) != rec.picHeight) {
        n.runs.assign(static_cast<std::size_t>(rec.picHeight), {});
        area = RECT{0, 0, rec.picWidth, rec.picHeight};
        force = true;
    }
    // The shape can only have changed where the picture did: the runs of
    // the changed rows are read again within the changed columns.
    if (cut && !area.empty()) {
        Runs scratch;
        for (int y = area.top; y < area.bottom; ++y) {
            Runs& kept = n.runs[static_cast<std::size_t>(y)];
            SpliceRuns(kept, rec.picture.data() + static_cast<std::size_t>(y) * rec.picWidth,
                       area.left, area.right, scratch);
            if (scratch == kept) continue;
            kept.swap(scratch);
            force = true;
        }
    }
    if (!force) return;
    if (!cut && !rec.hasRegion) {
        if (n.shaped) XShapeCombineMask(x.dpy, n.window, ShapeBounding, 0, 0, None, ShapeSet);
        n.shaped = false;
        return;
    }
    // The whole shape at once: the server then exposes only what it adds.
    std::vector<XRectangle> rects = ShapeRects(rec, n, cut);
    XShapeCombineRectangles(x.dpy, n.window, ShapeBounding, 0, 0, rects.data(),
                            static_cast<int>(rects.size()), ShapeSet, Unsorted);
    n.shaped = true;
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

void ShapeChanged(WindowRecord& rec) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        UpdateShape(rec, n, RECT{0, 0, rec.picWidth, rec.picHeight}, true);
        XFlush(x.dpy);
    });
}

}  // namespace plat::core::backend
