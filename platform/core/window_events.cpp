// What a window system reports about a window rather than input: exposure,
// configuration, focus, close requests, mapping and maximised state.
#include "platform/core/events.h"
#include "platform/core/state.h"

namespace plat::core::events {

void Exposed(Hwnd hwnd, const RECT& rect) {
    // Repaint from the kept picture at once; ordinary windows also get
    // WM_PAINT so that their owner can draw what changed meanwhile.
    bool live = WithWindow(hwnd, [&](WindowRecord& rec) {
        if (rec.picWidth > 0) RepaintLocked(rec, rect);
    });
    if (live) InvalidateRect(hwnd, &rect, false);
}

void Configure(Hwnd hwnd, const RECT& rect) { ApplyGeometry(hwnd, rect, true); }

void FocusGained(Hwnd hwnd) {
    bool activate = WithWindow(hwnd, false, [&](WindowRecord& rec) {
        return CoreState().active != hwnd && !rec.internalNoActivate;
    });
    if (activate) Activate(hwnd, false, false);
}

void FocusLost(Hwnd hwnd) { Deactivate(hwnd); }

void CloseRequest(Hwnd hwnd) { Deliver(hwnd, WM_CLOSE, 0, 0); }

void Mapped(Hwnd hwnd, bool mapped) {
    bool changed = false;
    RECT r;
    WithWindow(hwnd, [&](WindowRecord& rec) {
        if (mapped && rec.iconic) {
            rec.iconic = false;
            rec.style &= ~WS_MINIMIZE;
            changed = true;
        } else if (!mapped && rec.visible && !rec.iconic) {
            // Unmapped by the window manager while we keep it shown: iconified.
            rec.iconic = true;
            rec.style |= WS_MINIMIZE;
            changed = true;
        }
        r = rec.rect;
    });
    if (!changed) return;
    if (mapped) {
        Deliver(hwnd, WM_SIZE, IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                MAKELPARAM(r.width(), r.height()));
        InvalidateRect(hwnd, nullptr, false);
    } else {
        Deliver(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    }
}

void MaximizedChanged(Hwnd hwnd, bool maximized) {
    WithWindow(hwnd, [&](WindowRecord& rec) {
        rec.zoomed = maximized;
        if (maximized) rec.style |= WS_MAXIMIZE;
        else rec.style &= ~WS_MAXIMIZE;
    });
}

}  // namespace plat::core::events
