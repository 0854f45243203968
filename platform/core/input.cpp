// Native input turned into window messages: mouse routing with capture,
// double clicks, leave tracking, keys and key state, cursors.
#include <algorithm>
#include <cstdlib>

#include "platform/core/events.h"
#include "platform/core/state.h"
#include "runtime/codepage.h"

namespace plat::core {

namespace {

constexpr UINT kDoubleClickTime = 500;
constexpr int kDoubleClickDistance = 4;

WPARAM MouseKeyFlagsLocked() {
    const auto& k = CoreState().keys;
    WPARAM f = 0;
    if (k[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
    if (k[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
    if (k[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
    if (k[VK_SHIFT] & 0x80) f |= MK_SHIFT;
    if (k[VK_CONTROL] & 0x80) f |= MK_CONTROL;
    return f;
}

void SetKeyLocked(int vk, bool down) {
    auto& k = CoreState().keys[vk & 0xFF];
    if (down && !(k & 0x80)) k ^= 0x01;
    k = static_cast<std::uint8_t>(down ? (k | 0x80) : (k & ~0x80));
}

// Which window receives mouse input at `screen`: the capture, else the
// window under the pointer.
Hwnd MouseTargetLocked(Hwnd under) {
    if (CoreState().capture != nullptr && Find(CoreState().capture) != nullptr)
        return CoreState().capture;
    return under;
}

// Leave tracking: the pointer is now over `now` (null: none of ours).
std::vector<Hwnd> UpdateHoverLocked(Hwnd now) {
    std::vector<Hwnd> left;
    auto& s = CoreState();
    if (s.hover != now) {
        if (s.hover != nullptr) left.push_back(s.hover);
        s.hover = now;
    }
    if (s.trackLeave != nullptr && s.trackLeave != now && s.capture != s.trackLeave) {
        WindowRecord* rec = Find(s.trackLeave);
        if (rec != nullptr) PostLocked(*rec, MSG{nullptr, WM_MOUSELEAVE, 0, 0, 0, {}, {}});
        s.trackLeave = nullptr;
    }
    return left;
}

Hwnd UnderOrFind(Hwnd under, POINT screen) {
    if (under != nullptr && IsWindow(under)) {
        // The native window may report the pointer's window even where our
        // region or transparency says otherwise; the core decides.
        Hwnd found = WindowFromPoint(screen);
        return found != nullptr ? found : under;
    }
    return WindowFromPoint(screen);
}

// Follows the pointer to the window under it and returns the window that
// gets the mouse message (the capture, else that window).
Hwnd RouteMouse(Hwnd under, POINT screen) {
    Hwnd pointerWin = UnderOrFind(under, screen);
    Hwnd target;
    std::vector<Hwnd> left;
    {
        std::lock_guard lk(CoreState().mu);
        left = UpdateHoverLocked(pointerWin);
        target = MouseTargetLocked(pointerWin);
    }
    for (Hwnd h : left) TooltipLeave(h);
    return target;
}

void SendSetCursor(Hwnd target, UINT mouseMsg) {
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                MAKELPARAM(HTCLIENT, mouseMsg));
}

}  // namespace

}  // namespace plat::core

namespace plat::core::events {

void MouseMove(Hwnd under, POINT screen) {
    {
        std::lock_guard lk(CoreState().mu);
        CoreState().cursor = screen;
    }
    if (MoveSizeMouse(screen, false)) return;
    Hwnd target = RouteMouse(under, screen);
    if (target == nullptr) return;
    bool captured = false;
    POINT client;
    bool live = WithWindow(target, [&](WindowRecord& rec) {
        captured = CoreState().capture == target;
        client = POINT{screen.x - rec.rect.left, screen.y - rec.rect.top};
    });
    if (!live) return;
    if (IsOwnerThreadOf(target) && !captured) SendSetCursor(target, WM_MOUSEMOVE);
    TooltipMouse(target, client, WM_MOUSEMOVE);
    WithWindow(target, [&](WindowRecord& rec) {
        // Consecutive moves collapse into the latest, as the window system does.
        auto& in = rec.queue->input;
        if (!in.empty() && in.back().msg.hwnd == target && in.back().msg.message == WM_MOUSEMOVE)
            in.pop_back();
        QueueInputLocked(rec, MSG{nullptr,
                                  WM_MOUSEMOVE,
                                  MouseKeyFlagsLocked(),
                                  MAKELPARAM(client.x, client.y),
                                  0,
                                  {},
                                  {}});
    });
}

void MouseButton(Hwnd under, int button, bool down, POINT screen) {
    static const int kVks[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    static const UINT kDowns[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const UINT kUps[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    static const UINT kDbls[3] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
    if (button < 0 || button > 2) return;
    {
        std::lock_guard lk(CoreState().mu);
        CoreState().cursor = screen;
        SetKeyLocked(kVks[button], down);
    }
    if (MoveSizeMouse(screen, !down)) return;
    Hwnd target = RouteMouse(under, screen);
    if (target == nullptr) return;
    // A press on an inactive window activates it first.
    bool activate = WithWindow(target, false, [&](WindowRecord& rec) {
        return down && CoreState().active != target && !rec.internalNoActivate &&
               !(rec.exStyle & WS_EX_NOACTIVATE);
    });
    if (activate) Activate(target, true, true);
    POINT client;
    UINT msg = down ? kDowns[button] : kUps[button];
    bool live = WithWindow(target, [&](WindowRecord& rec) {
        client = POINT{screen.x - rec.rect.left, screen.y - rec.rect.top};
        if (down) {
            std::uint64_t now = backend::NowMs();
            auto& s = CoreState();
            bool isDouble = (rec.classStyle & CS_DBLCLKS) && s.lastClickHwnd == target &&
                            s.lastClickButton == button && !s.lastClickWasDouble &&
                            now - s.lastClickTime <= kDoubleClickTime &&
                            std::abs(screen.x - s.lastClickPos.x) <= kDoubleClickDistance &&
                            std::abs(screen.y - s.lastClickPos.y) <= kDoubleClickDistance;
            if (isDouble) msg = kDbls[button];
            s.lastClickWasDouble = isDouble;
            s.lastClickHwnd = target;
            s.lastClickButton = button;
            s.lastClickTime = now;
            s.lastClickPos = screen;
        }
    });
    if (!live) return;
    TooltipMouse(target, client, msg);
    WithWindow(target, [&](WindowRecord& rec) {
        QueueInputLocked(
            rec,
            MSG{nullptr, msg, MouseKeyFlagsLocked(), MAKELPARAM(client.x, client.y), 0, {}, {}});
    });
}

void Wheel(Hwnd under, int delta, POINT screen) {
    (void)under;
    std::lock_guard lk(CoreState().mu);
    CoreState().cursor = screen;
    // The wheel goes to the focused window, as on the classic system.
    Hwnd target = CoreState().focus != nullptr ? CoreState().focus : CoreState().hover;
    WindowRecord* rec = Find(target);
    if (rec == nullptr) return;
    QueueInputLocked(*rec, MSG{nullptr,
                               WM_MOUSEWHEEL,
                               MAKEWPARAM(static_cast<int>(MouseKeyFlagsLocked()), delta),
                               MAKELPARAM(screen.x, screen.y),
                               0,
                               {},
                               {}});
}

void PointerLeft(Hwnd hwnd) {
    std::vector<Hwnd> left;
    {
        std::lock_guard lk(CoreState().mu);
        if (hwnd != nullptr && CoreState().hover != hwnd) return;
        left = UpdateHoverLocked(nullptr);
    }
    for (Hwnd h : left) TooltipLeave(h);
}

void Key(Hwnd target, int vk, bool down, const std::string& utf8Chars) {
    std::lock_guard lk(CoreState().mu);
    auto& s = CoreState();
    // Side-specific modifier keys also set the generic ones.
    int generic = vk;
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) generic = VK_SHIFT;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) generic = VK_CONTROL;
    if (vk == VK_LMENU || vk == VK_RMENU) generic = VK_MENU;
    bool repeat = down && (s.keys[generic & 0xFF] & 0x80);
    SetKeyLocked(generic, down);
    if (generic != vk) SetKeyLocked(vk, down);
    Hwnd to = s.focus != nullptr ? s.focus : target;
    WindowRecord* rec = Find(to);
    if (rec == nullptr) return;
    bool alt = (s.keys[VK_MENU] & 0x80) != 0;
    bool ctrl = (s.keys[VK_CONTROL] & 0x80) != 0;
    // Alt (without Ctrl) and F10 make system keys.
    bool sys = (alt && !ctrl) || generic == VK_MENU;
    UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM l = 1;
    if (alt) l |= (1 << 29);
    if (repeat) l |= (1 << 30);
    if (!down) l |= (1 << 30) | (static_cast<LPARAM>(1) << 31);
    MSG m{nullptr, msg, static_cast<WPARAM>(generic), l, 0, {}, down ? utf8Chars : std::string()};
    QueueInputLocked(*rec, std::move(m));
}

void SyncModifiers(bool shift, bool control, bool alt) {
    std::lock_guard lk(CoreState().mu);
    auto set = [](int vk, bool down) {
        auto& k = CoreState().keys[vk];
        k = static_cast<std::uint8_t>(down ? (k | 0x80) : (k & ~0x80));
    };
    set(VK_SHIFT, shift);
    set(VK_CONTROL, control);
    set(VK_MENU, alt);
}

void Commit(Hwnd target, const std::string& utf8) {
    if (utf8.empty()) return;
    std::lock_guard lk(CoreState().mu);
    Hwnd to = CoreState().focus != nullptr ? CoreState().focus : target;
    WindowRecord* rec = Find(to);
    if (rec == nullptr) return;
    rt::Text cp = rt::Utf8ToCp936(utf8);
    MSG m;
    m.message = WM_IME_COMPOSITION;
    m.wParam = cp.size() >= 2
                   ? (static_cast<std::uint8_t>(cp[0]) << 8) | static_cast<std::uint8_t>(cp[1])
                   : (cp.empty() ? 0 : static_cast<std::uint8_t>(cp[0]));
    m.lParam = GCS_RESULTSTR;
    m.input = utf8;
    QueueInputLocked(*rec, std::move(m));
}

}  // namespace plat::core::events

namespace plat {

using namespace core;

std::int16_t GetKeyState(int vk) {
    auto q = CurrentQueue();
    std::lock_guard lk(CoreState().mu);
    std::uint8_t k = q->hasSyncKeys ? q->syncKeys[vk & 0xFF] : CoreState().keys[vk & 0xFF];
    std::int16_t r = (k & 0x80) ? static_cast<std::int16_t>(0xFF80) : 0;
    return static_cast<std::int16_t>(r | (k & 0x01));
}

Hwnd SetCapture(Hwnd hwnd) {
    Hwnd old = nullptr;
    bool live = WithWindow(hwnd, [&](WindowRecord& rec) {
        old = CoreState().capture;
        CoreState().capture = hwnd;
        if (old != hwnd) backend::GrabPointer(rec, true);
    });
    if (!live) return nullptr;
    if (old != nullptr && old != hwnd)
        Deliver(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

bool ReleaseCapture() {
    Hwnd old;
    POINT cursor;
    {
        std::lock_guard lk(CoreState().mu);
        old = CoreState().capture;
        CoreState().capture = nullptr;
        cursor = CoreState().cursor;
        if (WindowRecord* rec = Find(old)) backend::GrabPointer(*rec, false);
    }
    if (old != nullptr) {
        Deliver(old, WM_CAPTURECHANGED, 0, 0);
        // Leave tracking held back by the capture happens now.
        Hwnd under = WindowFromPoint(cursor);
        std::lock_guard lk(CoreState().mu);
        UpdateHoverLocked(under);
    }
    return true;
}

Hwnd GetCapture() {
    std::lock_guard lk(CoreState().mu);
    return CoreState().capture;
}

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    if (tme == nullptr || !(tme->dwFlags & TME_LEAVE)) return false;
    return WithWindow(tme->hwndTrack, [&](WindowRecord& rec) {
        auto& s = CoreState();
        if (tme->dwFlags & TME_CANCEL) {
            if (s.trackLeave == tme->hwndTrack) s.trackLeave = nullptr;
        } else if (s.hover != tme->hwndTrack && s.capture != tme->hwndTrack) {
            // Already outside: the leave is reported at once.
            PostLocked(rec, MSG{nullptr, WM_MOUSELEAVE, 0, 0, 0, {}, {}});
        } else {
            s.trackLeave = tme->hwndTrack;
        }
    });
}

bool GetCursorPos(POINT* pt) {
    if (pt == nullptr) return false;
    std::lock_guard lk(CoreState().mu);
    *pt = CoreState().cursor;
    return true;
}

Hcursor LoadCursor(int id) {
    switch (id) {
    case IDC_ARROW:
    case IDC_IBEAM:
    case IDC_WAIT:
    case IDC_CROSS:
    case IDC_SIZENWSE:
    case IDC_SIZENESW:
    case IDC_SIZEWE:
    case IDC_SIZENS:
    case IDC_SIZEALL:
    case IDC_HAND: return reinterpret_cast<Hcursor>(static_cast<std::intptr_t>(id));
    default: return reinterpret_cast<Hcursor>(static_cast<std::intptr_t>(IDC_ARROW));
    }
}

int CursorId(Hcursor cursor) { return static_cast<int>(reinterpret_cast<std::intptr_t>(cursor)); }

Hcursor SetCursor(Hcursor cursor) {
    std::lock_guard lk(CoreState().mu);
    Hcursor old = LoadCursor(CoreState().cursorId);
    int id = cursor == nullptr ? 0 : CursorId(LoadCursor(CursorId(cursor)));
    if (id != CoreState().cursorId) {
        CoreState().cursorId = id;
        Hwnd over = CoreState().capture != nullptr ? CoreState().capture : CoreState().hover;
        backend::SetCursorShape(Find(over), id);
    }
    return old;
}

Hcursor GetCursor() {
    std::lock_guard lk(CoreState().mu);
    return LoadCursor(CoreState().cursorId);
}

UINT GetDoubleClickTime() { return kDoubleClickTime; }
int GetDoubleClickDistance() { return kDoubleClickDistance; }

}  // namespace plat
