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

void StartMoveSize(Hwnd hwnd, int zone) {
    {
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr || rec->iconic || (rec->zoomed && zone == 0) || S().moveSize.active) return;
        // A move or size lasts while the left button is held: after a quick
        // click its release has come already and nothing would end it.
        if (!(S().keys[VK_LBUTTON] & 0x80)) return;
    }
    // The minimum size holds for a window manager's sizing as for our own.
    MINMAXINFO mmi = QueryMinMax(hwnd);
    POINT minTrack{std::max(1, mmi.ptMinTrackSize.x), std::max(1, mmi.ptMinTrackSize.y)};
    POINT cursor;
    {
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr || S().moveSize.active) return;
        // The release may be on its way to us yet: the window system knows.
        if (!backend::LeftButtonHeld()) return;
        cursor = S().cursor;
        if (backend::StartSystemMoveSize(*rec, zone, cursor, minTrack)) {
            // The window manager runs the loop and eats the release: the
            // button counts as up from now on.
            S().keys[VK_LBUTTON] &= static_cast<std::uint8_t>(~0x80);
            return;
        }
        MoveSize& ms = S().moveSize;
        ms.active = true;
        ms.hwnd = hwnd;
        ms.zone = zone;
        ms.start = cursor;
        ms.startRect = rec->rect;
        ms.minTrack = minTrack;
        backend::GrabPointer(*rec, true);
    }
    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
}

bool MoveSizeMouse(POINT screen, bool buttonUp) {
    Hwnd hwnd;
    RECT target;
    bool end;
    bool missed;
    {
        std::lock_guard lk(S().mu);
        MoveSize& ms = S().moveSize;
        if (!ms.active) return false;
        hwnd = ms.hwnd;
        int dx = screen.x - ms.start.x;
        int dy = screen.y - ms.start.y;
        target = ms.startRect;
        int z = ms.zone;
        if (z == 0) {
            target = RECT{target.left + dx, target.top + dy, target.right + dx, target.bottom + dy};
        } else {
            bool left = z == 1 || z == 4 || z == 7;
            bool right = z == 2 || z == 5 || z == 8;
            bool top = z == 3 || z == 4 || z == 5;
            bool bottom = z == 6 || z == 7 || z == 8;
            if (left) target.left = std::min(target.left + dx, target.right - ms.minTrack.x);
            if (right) target.right = std::max(target.right + dx, target.left + ms.minTrack.x);
            if (top) target.top = std::min(target.top + dy, target.bottom - ms.minTrack.y);
            if (bottom) target.bottom = std::max(target.bottom + dy, target.top + ms.minTrack.y);
        }
        // A release missed by the grab ends the loop where it was; the
        // pointer has moved on since.
        missed = !buttonUp && !(S().keys[VK_LBUTTON] & 0x80);
        end = buttonUp || missed;
        if (end) {
            ms = MoveSize{};
            if (WindowRecord* rec = Find(hwnd)) backend::GrabPointer(*rec, false);
        }
    }
    if (!missed) ApplyGeometry(hwnd, target, false);
    if (end) Deliver(hwnd, WM_EXITSIZEMOVE, 0, 0);
    return true;
}

void Maximize(Hwnd hwnd) {
    {
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr || rec->zoomed) return;
    }
    MINMAXINFO mmi = QueryMinMax(hwnd);
    RECT target{mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                mmi.ptMaxPosition.y + mmi.ptMaxSize.y};
    bool wasIconic;
    {
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return;
        wasIconic = rec->iconic;
        rec->restoreRect = rec->rect;
        rec->zoomed = true;
        rec->iconic = false;
        rec->style = (rec->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        if (wasIconic) backend::Show(*rec, true, true);
        backend::SetMaximized(*rec, true, target);
    }
    RECT before;
    GetWindowRect(hwnd, &before);
    ApplyGeometry(hwnd, target, false);
    if (before == target) Deliver(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(target.width(), target.height()));
}

void Restore(Hwnd hwnd) {
    RECT target;
    bool unzoom;
    {
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return;
        if (rec->iconic) {
            rec->iconic = false;
            rec->style &= ~WS_MINIMIZE;
            backend::Show(*rec, true, true);
            unzoom = false;
        } else {
            unzoom = rec->zoomed;
        }
        target = rec->restoreRect;
        if (unzoom) {
            rec->zoomed = false;
            rec->style &= ~WS_MAXIMIZE;
            backend::SetMaximized(*rec, false, target);
        }
    }
    if (unzoom) {
        RECT before;
        GetWindowRect(hwnd, &before);
        ApplyGeometry(hwnd, target, false);
        if (before == target) Deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(target.width(), target.height()));
    } else {
        Deliver(hwnd, WM_SIZE, IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                MAKELPARAM(target.width(), target.height()));
        InvalidateRect(hwnd, nullptr, false);
        Activate(hwnd, false, true);
    }
}

void Minimize(Hwnd hwnd) {
    bool wasActive;
    {
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr || rec->iconic) return;
        if (!rec->visible) {
            rec->visible = true;
        }
        rec->iconic = true;
        rec->style |= WS_MINIMIZE;
        backend::Iconify(*rec);
        wasActive = S().active == hwnd;
    }
    Deliver(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    if (wasActive) Deactivate(hwnd);
}

}  // namespace plat::core

namespace plat {

using namespace core;

LRESULT DefWindowProc(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCREATE:
        return 1;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: Minimize(hwnd); return 0;
        case SC_MAXIMIZE: Maximize(hwnd); return 0;
        case SC_RESTORE: Restore(hwnd); return 0;
        case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); return 0;
        case SC_MOVE: StartMoveSize(hwnd, 0); return 0;
        case SC_SIZE: {
            int zone = static_cast<int>(wParam & 0xF);
            if (zone >= 1 && zone <= 8) StartMoveSize(hwnd, zone);
            return 0;
        }
        default: return 0;
        }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) StartMoveSize(hwnd, 0);
        else if (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT) {
            static const int zones[] = {1, 2, 3, 4, 5, 6, 7, 8};
            StartMoveSize(hwnd, zones[wParam - HTLEFT]);
        }
        return 0;
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return 0;
        rec->text = text != nullptr ? rt::Text(text) : rt::Text();
        backend::SetTitle(*rec, rt::Cp936ToUtf8(rec->text));
        return 1;
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
        std::lock_guard lk(S().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return 0;
        Hicon& slot = wParam == ICON_BIG ? rec->bigIcon : rec->smallIcon;
        const Hicon previous = slot;
        if (msg == WM_SETICON && wParam != ICON_SMALL2) slot = reinterpret_cast<Hicon>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(GetWindowText(hwnd).size());
    case WM_SETCURSOR:
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) == HTCLIENT) {
            Hcursor cursor;
            {
                std::lock_guard lk(S().mu);
                WindowRecord* rec = Find(hwnd);
                if (rec == nullptr) return 0;
                cursor = rec->classCursor;
            }
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
        if (wParam == VK_F4 && (static_cast<std::uintptr_t>(lParam) & (1u << 29))) SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_NCACTIVATE:
    case WM_ERASEBKGND:
    case WM_MOUSEACTIVATE:
        return 1;
    default:
        return 0;
    }
}

}  // namespace plat
