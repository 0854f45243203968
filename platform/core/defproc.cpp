// Default window procedure, maximise/restore/minimise, and the layer's own
// move and size loop for when no window manager moves windows.
#include <algorithm>
#include <cstring>

#include "platform/core/state.h"
#include "runtime/codepage.h"

namespace plat::core {

namespace {

MINMAXINFO QueryMinMax(Hwnd hwnd) {
    RECT work = backend::WorkArea();
    SIZE screen = backend::ScreenSize();
    MINMAXINFO mmi;
    mmi.ptMaxSize = POINT{work.width(), work.height()};
    mmi.ptMaxPosition = POINT{work.left, work.top};
    mmi.ptMinTrackSize = POINT{1, 1};
    mmi.ptMaxTrackSize = POINT{screen.cx + 14, screen.cy + 14};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

}  // namespace

void StartMoveSize(Hwnd hwnd, ResizeZone zone) {
    bool startable = WithWindow(hwnd, false, [&](WindowRecord& rec) {
        // A move or size lasts while the left button is held: after a quick
        // click its release has come already and nothing would end it.
        return !rec.iconic && !(rec.zoomed && zone == ResizeZone::Move) &&
               !CoreState().moveSize.active && (CoreState().keys[VK_LBUTTON] & 0x80) != 0;
    });
    if (!startable) return;
    // The minimum size holds for a window manager's sizing as for our own.
    MINMAXINFO mmi = QueryMinMax(hwnd);
    POINT minTrack{std::max(1, mmi.ptMinTrackSize.x), std::max(1, mmi.ptMinTrackSize.y)};
    bool ownLoop = WithWindow(hwnd, false, [&](WindowRecord& rec) {
        // The release may be on its way to us yet: the window system knows.
        if (CoreState().moveSize.active || !backend::LeftButtonHeld()) return false;
        POINT cursor = CoreState().cursor;
        if (backend::StartSystemMoveSize(rec, zone, cursor, minTrack)) {
            // The window manager runs the loop and eats the release: the
            // button counts as up from now on.
            CoreState().keys[VK_LBUTTON] &= static_cast<std::uint8_t>(~0x80);
            return false;
        }
        MoveSize& ms = CoreState().moveSize;
        ms.active = true;
        ms.hwnd = hwnd;
        ms.zone = zone;
        ms.start = cursor;
        ms.startRect = rec.rect;
        ms.minTrack = minTrack;
        backend::GrabPointer(rec, true);
        return true;
    });
    if (ownLoop) SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
}

bool MoveSizeMouse(POINT screen, bool buttonUp) {
    Hwnd hwnd;
    RECT target;
    bool end;
    bool missed;
    {
        std::lock_guard lk(CoreState().mu);
        MoveSize& ms = CoreState().moveSize;
        if (!ms.active) return false;
        hwnd = ms.hwnd;
        int dx = screen.x - ms.start.x;
        int dy = screen.y - ms.start.y;
        target = ms.startRect;
        ResizeZone z = ms.zone;
        if (z == ResizeZone::Move) {
            target = RECT{target.left + dx, target.top + dy, target.right + dx, target.bottom + dy};
        } else {
            if (DragsLeft(z))
                target.left = std::min(target.left + dx, target.right - ms.minTrack.x);
            if (DragsRight(z))
                target.right = std::max(target.right + dx, target.left + ms.minTrack.x);
            if (DragsTop(z)) target.top = std::min(target.top + dy, target.bottom - ms.minTrack.y);
            if (DragsBottom(z))
                target.bottom = std::max(target.bottom + dy, target.top + ms.minTrack.y);
        }
        // A release missed by the grab ends the loop where it was; the
        // pointer has moved on since. A window maximised meanwhile (a double
        // click on the caption posts the maximise and starts a move) keeps
        // its new place.
        WindowRecord* rec = Find(hwnd);
        const bool zoomed = rec != nullptr && rec->zoomed;
        missed = zoomed || (!buttonUp && !(CoreState().keys[VK_LBUTTON] & 0x80));
        end = buttonUp || missed;
        if (end) {
            ms = MoveSize{};
            if (rec != nullptr) backend::GrabPointer(*rec, false);
        }
    }
    if (!missed) ApplyGeometry(hwnd, target, false);
    if (end) Deliver(hwnd, WM_EXITSIZEMOVE, 0, 0);
    return true;
}

void Maximize(Hwnd hwnd) {
    if (!WithWindow(hwnd, false, [](WindowRecord& rec) { return !rec.zoomed; })) return;
    MINMAXINFO mmi = QueryMinMax(hwnd);
    RECT target{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
    bool live = WithWindow(hwnd, [&](WindowRecord& rec) {
        bool wasIconic = rec.iconic;
        rec.restoreRect = rec.rect;
        rec.zoomed = true;
        rec.iconic = false;
        rec.style = (rec.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        if (wasIconic) backend::Show(rec, true, true);
        backend::SetMaximized(rec, true, target);
    });
    if (!live) return;
    RECT before;
    GetWindowRect(hwnd, &before);
    ApplyGeometry(hwnd, target, false);
    if (before == target)
        Deliver(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(target.width(), target.height()));
}

void Restore(Hwnd hwnd) {
    RECT target;
    bool unzoom = false;
    bool live = WithWindow(hwnd, [&](WindowRecord& rec) {
        if (rec.iconic) {
            rec.iconic = false;
            rec.style &= ~WS_MINIMIZE;
            backend::Show(rec, true, true);
        } else {
            unzoom = rec.zoomed;
        }
        target = rec.restoreRect;
        if (unzoom) {
            rec.zoomed = false;
            rec.style &= ~WS_MAXIMIZE;
            backend::SetMaximized(rec, false, target);
        }
    });
    if (!live) return;
    if (unzoom) {
        RECT before;
        GetWindowRect(hwnd, &before);
        ApplyGeometry(hwnd, target, false);
        if (before == target)
            Deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(target.width(), target.height()));
    } else {
        Deliver(hwnd, WM_SIZE, IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                MAKELPARAM(target.width(), target.height()));
        InvalidateRect(hwnd, nullptr, false);
        Activate(hwnd, false, true);
    }
}

void Minimize(Hwnd hwnd) {
    bool wasActive = false;
    bool minimized = WithWindow(hwnd, false, [&](WindowRecord& rec) {
        if (rec.iconic) return false;
        rec.visible = true;
        rec.iconic = true;
        rec.style |= WS_MINIMIZE;
        backend::Iconify(rec);
        wasActive = CoreState().active == hwnd;
        return true;
    });
    if (!minimized) return;
    Deliver(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    if (wasActive) Deactivate(hwnd);
}

}  // namespace plat::core

namespace plat {

using namespace core;

LRESULT DefWindowProc(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE: return 1;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: Minimize(hwnd); return 0;
        case SC_MAXIMIZE: Maximize(hwnd); return 0;
        case SC_RESTORE: Restore(hwnd); return 0;
        case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); return 0;
        case SC_MOVE:
        case SC_SIZE:
            if (auto zone = ZoneOfSysCommand(wParam)) StartMoveSize(hwnd, *zone);
            return 0;
        default: return 0;
        }
    case WM_NCLBUTTONDOWN:
        if (auto zone = ZoneOfHitTest(wParam)) StartMoveSize(hwnd, *zone);
        return 0;
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        return WithWindow(hwnd,
                          [&](WindowRecord& rec) {
                              rec.text = text != nullptr ? rt::Text(text) : rt::Text();
                              backend::SetTitle(rec, rt::Cp936ToUtf8(rec.text));
                          })
                   ? 1
                   : 0;
    }
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0) return 0;
        rt::Text text = GetWindowText(hwnd);
        std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETICON:
    case WM_GETICON: {
        Hicon previous = WithWindow(hwnd, nullptr, [&](WindowRecord& rec) {
            Hicon& slot = wParam == ICON_BIG ? rec.bigIcon : rec.smallIcon;
            const Hicon old = slot;
            if (msg == WM_SETICON && wParam != ICON_SMALL2) slot = reinterpret_cast<Hicon>(lParam);
            return old;
        });
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(GetWindowText(hwnd).size());
    case WM_SETCURSOR:
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT) {
            Hcursor cursor =
                WithWindow(hwnd, Hcursor{}, [](WindowRecord& rec) { return rec.classCursor; });
            if (cursor == nullptr) return 0;
            SetCursor(cursor);
            return 1;
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (static_cast<std::uintptr_t>(lParam) & (1u << 29)))
            SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_NCACTIVATE:
    case WM_ERASEBKGND:
    case WM_MOUSEACTIVATE: return 1;
    default: return 0;
    }
}

}  // namespace plat
