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

// Whether a row has a pixel of alpha 0; four pixels at a time where SSE2 is there.
bool HasTransparentPixel(const std::uint32_t* row, int width) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i zero = _mm_setzero_si128();
    __m128i any = zero;
    for (; x + 4 <= width; x += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        any = _mm_or_si128(any, _mm_cmpeq_epi32(_mm_and_si128(v, alpha), zero));
    }
    if (_mm_movemask_epi8(any) != 0) return true;
#endif
    for (; x < width; ++x)
        if ((row[x] & 0xFF000000u) == 0) return true;
    return false;
}

// Opaque runs of one row of the kept picture, into `runs`.
void RowRuns(const core::WindowRecord& rec, int y, std::vector<std::pair<int, int>>& runs) {
    runs.clear();
    const std::uint32_t* row = rec.picture.data() + static_cast<std::size_t>(y) * rec.picWidth;
    int width = rec.picWidth;
    // Most rows have no transparent pixel; this test vectorises.
    if (!HasTransparentPixel(row, width)) {
        runs.emplace_back(0, width);
        return;
    }
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] >> 24) == 0) ++x;
        int start = x;
        while (x < width && (row[x] >> 24) != 0) ++x;
        if (x > start) runs.emplace_back(start, x);
    }
}

bool CutsTransparency(const core::WindowRecord& rec, bool composited) {
    // Without a compositor nothing blends: transparent pixels would show
    // black (or the picture over black on a depth-24 visual).
    return (rec.exStyle & WS_EX_LAYERED) && (!composited || !XConnection().argb) &&
           XConnection().shape;
}

}  // namespace

void UpdateShape(core::WindowRecord& rec, X11Window& n, int rowFrom, int rowTo, bool force) {
    Display& x = XConnection();
    if (!x.shape || n.window == 0) return;
    bool composited = x.Composited();
    bool cut = CutsTransparency(rec, composited) && rec.picWidth > 0;
    if (composited != n.lastComposited) {
        force = true;
        n.lastComposited = composited;
    }
    bool changed = force;
    if (cut) {
        if (static_cast<int>(n.runs.size()) != rec.picHeight) {
            n.runs.assign(static_cast<std::size_t>(rec.picHeight), {});
            rowFrom = 0;
            rowTo = rec.picHeight;
            changed = true;
        }
        std::vector<std::pair<int, int>> scratch;
        for (int y = std::max(0, rowFrom); y < std::min(rowTo, rec.picHeight); ++y) {
            RowRuns(rec, y, scratch);
            if (scratch != n.runs[y]) {
                n.runs[y].swap(scratch);
                changed = true;
            }
        }
    } else if (!n.runs.empty()) {
        n.runs.clear();
        changed = true;
    }
    if (!changed) return;
    if (!cut && !rec.hasRegion) {
        if (n.shaped) XShapeCombineMask(x.dpy, n.window, ShapeBounding, 0, 0, None, ShapeSet);
        n.shaped = false;
        return;
    }
    std::vector<XRectangle> rects;
    auto add = [&](int l, int t, int r, int b) {
        if (r > l && b > t)
            rects.push_back(XRectangle{static_cast<short>(l), static_cast<short>(t),
                                       static_cast<unsigned short>(r - l),
                                       static_cast<unsigned short>(b - t)});
    };
    if (cut) {
        for (int y = 0; y < rec.picHeight; ++y) {
            for (auto [l, r] : n.runs[y]) {
                if (!rec.hasRegion) {
                    add(l, y, r, y + 1);
                    continue;
                }
                for (const RECT& g : rec.region.rects)
                    if (y >= g.top && y < g.bottom)
                        add(std::max(l, g.left), y, std::min(r, g.right), y + 1);
            }
        }
    } else {
        for (const RECT& g : rec.region.rects) add(g.left, g.top, g.right, g.bottom);
    }
    XShapeCombineRectangles(x.dpy, n.window, ShapeBounding, 0, 0, rects.data(),
                            static_cast<int>(rects.size()), ShapeSet, Unsorted);
    n.shaped = true;
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

void ShapeChanged(WindowRecord& rec) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        UpdateShape(rec, n, 0, rec.picHeight, true);
        XFlush(x.dpy);
    });
}

}  // namespace plat::core::backend
