// The paint cycle of ordinary windows: invalid areas gather into one
// update rectangle that WM_PAINT hands to BeginPaint.
#include "platform/core/state.h"

namespace plat {

using namespace core;

bool InvalidateRect(Hwnd hwnd, const RECT* rect, bool erase) {
    (void)erase;
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        if (!rec.visible || (rec.exStyle & WS_EX_LAYERED)) return;
        RECT full{0, 0, rec.rect.width(), rec.rect.height()};
        RECT r = rect != nullptr ? Intersect(*rect, full) : full;
        if (r.empty()) return;
        rec.update = rec.updatePending ? Union(rec.update, r) : r;
        rec.updatePending = true;
        WakeLocked(*rec.queue);
    });
}

bool UpdateWindow(Hwnd hwnd) {
    bool pending = false;
    if (!WithWindow(hwnd,
                    [&](WindowRecord& rec) { pending = rec.updatePending && IsOwnerThread(rec); }))
        return false;
    if (pending) SendMessage(hwnd, WM_PAINT, 0, 0);
    return true;
}

bool RedrawWindow(Hwnd hwnd, const RECT* rect, UINT flags) {
    if (!IsWindow(hwnd)) return false;
    if (flags & RDW_INVALIDATE) InvalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
    return true;
}

bool BeginPaint(Hwnd hwnd, PAINTSTRUCT* ps) {
    if (ps == nullptr) return false;
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        ps->rcPaint = rec.updatePending ? rec.update : RECT{};
        ps->fErase = false;
        rec.updatePending = false;
        rec.update = RECT{};
    });
}

bool EndPaint(Hwnd hwnd, const PAINTSTRUCT* ps) {
    (void)ps;
    return IsWindow(hwnd);
}

}  // namespace plat
