// Present of a drawn canvas, the kept picture, the caret drawn over it,
// window regions and the compositor queries.
#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "platform/core/state.h"

namespace plat::core {

namespace {

// The caret shows as the colours under it inverted; over transparent pixels
// it is opaque black so that it stays visible.
void DrawCaret(std::uint32_t* buf, int stride, const RECT& r) {
    for (int y = r.top; y < r.bottom; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(buf) +
                                                     static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = r.left; x < r.right; ++x) {
            std::uint32_t p = row[x];
            std::uint32_t a = p >> 24;
            if (a == 0) {
                row[x] = 0xFF000000u;
                continue;
            }
            std::uint32_t rr = a - std::min(a, (p >> 16) & 0xFF);
            std::uint32_t gg = a - std::min(a, (p >> 8) & 0xFF);
            std::uint32_t bb = a - std::min(a, p & 0xFF);
            row[x] = (a << 24) | (rr << 16) | (gg << 8) | bb;
        }
    }
}

RECT CaretRectLocked(const WindowRecord& rec) {
    const Caret& c = rec.queue->caret;
    if (c.hwnd != rec.handle || !c.visible) return RECT{};
    RECT r{c.pos.x, c.pos.y, c.pos.x + std::max(c.width, 1), c.pos.y + std::max(c.height, 1)};
    return Intersect(r, RECT{0, 0, rec.picWidth, rec.picHeight});
}

}  // namespace

void MakeOpaque(std::uint32_t* pixels, int width, const RECT& rect) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
        for (int x = rect.left; x < rect.right; ++x) row[x] |= 0xFF000000u;
    }
}

void RepaintLocked(WindowRecord& rec, std::span<const RECT> rects) {
    const RECT pic{0, 0, rec.picWidth, rec.picHeight};
    std::vector<RECT> areas;
    areas.reserve(rects.size() + 2);
    // Overlapping areas become one, so that no pixel is written twice while
    // the first write may still be on its way to the screen.
    auto add = [&](RECT r) {
        r = Intersect(r, pic);
        if (r.empty()) return;
        for (std::size_t i = 0; i < areas.size();) {
            if (Intersect(areas[i], r).empty()) {
                ++i;
                continue;
            }
            r = Union(r, areas[i]);
            areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
            i = 0;
        }
        areas.push_back(r);
    };
    for (const RECT& r : rects) add(r);
    Caret& caret = rec.queue->caret;
    const RECT caretNow = CaretRectLocked(rec);
    if (caret.hwnd == rec.handle) {
        add(caret.drawn);
        add(caretNow);
        caret.drawn = caretNow;
    }
    if (areas.empty()) return;
    int stride = 0;
    std::uint32_t* buf = backend::DisplayBuffer(rec, rec.picWidth, rec.picHeight, &stride);
    if (buf == nullptr) return;
    for (const RECT& area : areas) {
        for (int y = area.top; y < area.bottom; ++y) {
            std::memcpy(reinterpret_cast<std::uint8_t*>(buf) +
                            static_cast<std::ptrdiff_t>(y) * stride + area.left * 4,
                        rec.picture.data() + static_cast<std::size_t>(y) * rec.picWidth + area.left,
                        static_cast<std::size_t>(area.width()) * 4);
        }
        const RECT c = Intersect(caretNow, area);
        if (!c.empty()) DrawCaret(buf, stride, c);
        backend::Push(rec, area);
    }
}

void RefreshCaretLocked(ThreadQueue& q) {
    WindowRecord* rec = Find(q.caret.hwnd);
    if (rec == nullptr || rec->picWidth == 0) return;
    RepaintLocked(*rec, std::span<const RECT>{});
}

}  // namespace plat::core

namespace plat {

using namespace core;

namespace {

// Keeps `dirty` of the picture (all of it when its size changed) and shows it.
bool PresentRects(Hwnd hwnd, const std::uint32_t* pixels, int stride, int width, int height,
                  std::span<const RECT> dirty) {
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < width * 4) return false;
    return WithWindow(hwnd, false, [&](WindowRecord& rec) -> bool {
        const RECT full{0, 0, width, height};
        if (rec.picWidth != width || rec.picHeight != height) {
            rec.picWidth = width;
            rec.picHeight = height;
            rec.picture.assign(static_cast<std::size_t>(width) * height, 0);
            rec.queue->caret.drawn = RECT{};
            dirty = std::span(&full, 1);
        }
        bool any = false;
        for (const RECT& d : dirty) {
            const RECT r = Intersect(d, full);
            any = any || !r.empty();
            for (int y = r.top; y < r.bottom; ++y) {
                const auto* src = reinterpret_cast<const std::uint32_t*>(
                    reinterpret_cast<const std::uint8_t*>(pixels) +
                    static_cast<std::ptrdiff_t>(y) * stride);
                std::memcpy(rec.picture.data() + static_cast<std::size_t>(y) * width + r.left,
                            src + r.left, static_cast<std::size_t>(r.width()) * 4);
            }
        }
        if (!any) return true;
        ++rec.presentCount;
        RepaintLocked(rec, dirty);
        return true;
    });
}

}  // namespace

bool Present(Hwnd hwnd, const std::uint32_t* pixels, int stride, int width, int height,
             const RECT* dirty) {
    const RECT whole{0, 0, width, height};
    return PresentRects(hwnd, pixels, stride, width, height,
                        std::span(dirty != nullptr ? dirty : &whole, 1));
}

bool Present(Hwnd hwnd, const std::uint32_t* pixels, int stride, int width, int height,
             const Region& dirty) {
    return PresentRects(hwnd, pixels, stride, width, height, dirty.rects);
}

bool SetWindowRgn(Hwnd hwnd, const Region* region, bool redraw) {
    (void)redraw;
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        rec.hasRegion = region != nullptr;
        rec.region = region != nullptr ? *region : Region{};
        backend::ShapeChanged(rec);
    });
}

bool IsCompositionEnabled() { return backend::Composited(); }

bool EnableBlurBehind(Hwnd hwnd, bool enable, const Region* region) {
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        rec.blur = enable;
        rec.blurHasRegion = region != nullptr;
        rec.blurRegion = region != nullptr ? *region : Region{};
        backend::SetBlurBehind(rec);
    });
}

bool CreateCaret(Hwnd hwnd, int width, int height) {
    auto q = CurrentQueue();
    return WithWindow(hwnd, false, [&](WindowRecord& rec) {
        if (rec.queue != q) return false;
        Caret& c = q->caret;
        if (c.visible) {
            c.visible = false;
            RefreshCaretLocked(*q);
        }
        c = Caret{};
        c.hwnd = hwnd;
        c.width = width > 0 ? width : 1;
        c.height = height > 0 ? height : 1;
        return true;
    });
}

bool DestroyCaret() {
    auto q = CurrentQueue();
    std::lock_guard lk(CoreState().mu);
    Caret& c = q->caret;
    if (c.hwnd == nullptr) return false;
    c.visible = false;
    RefreshCaretLocked(*q);
    c = Caret{};
    return true;
}

bool SetCaretPos(int x, int y) {
    auto q = CurrentQueue();
    std::lock_guard lk(CoreState().mu);
    Caret& c = q->caret;
    if (c.hwnd == nullptr) return false;
    c.pos = POINT{x, y};
    if (c.visible) RefreshCaretLocked(*q);
    if (WindowRecord* rec = Find(c.hwnd)) {
        rec->imeSpot = POINT{x, y + c.height};
        backend::ImeSpot(*rec, rec->imeSpot);
    }
    return true;
}

bool GetCaretPos(POINT* pt) {
    auto q = CurrentQueue();
    std::lock_guard lk(CoreState().mu);
    if (pt == nullptr || q->caret.hwnd == nullptr) return false;
    *pt = q->caret.pos;
    return true;
}

namespace {

// False when the calling thread has no caret or `hwnd` names another window.
bool SetCaretVisible(Hwnd hwnd, bool visible) {
    auto q = CurrentQueue();
    std::lock_guard lk(CoreState().mu);
    Caret& c = q->caret;
    if (c.hwnd == nullptr || (hwnd != nullptr && hwnd != c.hwnd)) return false;
    if (c.visible != visible) {
        c.visible = visible;
        RefreshCaretLocked(*q);
    }
    return true;
}

}  // namespace

bool ShowCaret(Hwnd hwnd) { return SetCaretVisible(hwnd, true); }

bool HideCaret(Hwnd hwnd) { return SetCaretVisible(hwnd, false); }

}  // namespace plat
