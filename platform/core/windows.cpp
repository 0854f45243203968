// Window records: classes, creation and destruction, properties, styles,
// geometry, visibility, activation and focus.
#include <algorithm>
#include <new>

#include "platform/core/state.h"
#include "platform/gfx/region.h"
#include "runtime/codepage.h"

namespace plat::core {

State& CoreState() {
    // Never destroyed: windows still open at exit go with the process, as
    // they do with a window system, instead of running their destructors
    // after the backend's own statics are gone.
    alignas(State) static unsigned char storage[sizeof(State)];
    static State* state = ::new (storage) State;
    return *state;
}

WindowRecord* Find(Hwnd hwnd) {
    auto& s = CoreState();
    auto it = s.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (it == s.windows.end()) return nullptr;
    return it->second.get();
}

bool IsOwnerThread(const WindowRecord& rec) {
    return rec.queue->thread == std::this_thread::get_id();
}

bool IsOwnerThreadOf(Hwnd hwnd) {
    return WithWindow(hwnd, false, [](WindowRecord& rec) { return IsOwnerThread(rec); });
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.empty()) return RECT{};
    return r;
}

RECT Union(const RECT& a, const RECT& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

namespace {

// Runs a procedure call for a window; the procedure is copied out first so
// that it may replace itself while running.
LRESULT CallProc(Hwnd hwnd, UINT msg, WPARAM w, LPARAM l) { return SendMessage(hwnd, msg, w, l); }

void RaiseLocked(WindowRecord& rec) {
    auto& z = CoreState().zorder;
    z.erase(std::remove(z.begin(), z.end(), rec.handle), z.end());
    // Top-most windows stay above the others.
    auto pos = z.begin();
    if (!(rec.exStyle & WS_EX_TOPMOST)) {
        while (pos != z.end()) {
            WindowRecord* other = Find(*pos);
            if (other == nullptr || !(other->exStyle & WS_EX_TOPMOST)) break;
            ++pos;
        }
    }
    z.insert(pos, rec.handle);
}

}  // namespace

}  // namespace plat::core

namespace plat {

using namespace core;

bool Region::Contains(int x, int y) const {
    for (const RECT& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

Region CreateRectRgn(int left, int top, int right, int bottom) {
    Region rgn;
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right),
           std::max(top, bottom)};
    if (!r.empty()) rgn.rects.push_back(r);
    return rgn;
}

Region CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                          int ellipseHeight) {
    // One geometry for window regions and drawing clips alike.
    Region rgn;
    for (const gfx::RectI& r :
         gfx::Region::RoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight).Rects()) {
        rgn.rects.push_back(RECT{r.x, r.y, r.Right(), r.Bottom()});
    }
    return rgn;
}

bool RegisterClass(const WNDCLASS& wc) {
    if (wc.lpszClassName.empty()) return false;
    std::lock_guard lk(CoreState().mu);
    auto [it, inserted] = CoreState().classes.emplace(wc.lpszClassName, wc);
    return inserted;
}

bool IsClassRegistered(const std::string& className) {
    std::lock_guard lk(CoreState().mu);
    return CoreState().classes.count(className) != 0;
}

Hwnd CreateWindowEx(DWORD exStyle, const std::string& className, const rt::Text& windowName,
                    DWORD style, int x, int y, int cx, int cy, Hwnd owner, void* param) {
    if (style & WS_CHILD) return nullptr;
    auto queue = CurrentQueue();
    Hwnd hwnd;
    {
        std::lock_guard lk(CoreState().mu);
        auto cls = CoreState().classes.find(className);
        if (cls == CoreState().classes.end()) return nullptr;
        if (owner != nullptr && Find(owner) == nullptr) return nullptr;
        auto rec = std::make_unique<WindowRecord>();
        rec->id = CoreState().nextId++;
        rec->handle = hwnd = HandleOf(rec->id);
        rec->queue = queue;
        rec->className = className;
        rec->classStyle = cls->second.style;
        rec->classCursor = cls->second.hCursor ? cls->second.hCursor : LoadCursor(IDC_ARROW);
        rec->proc = cls->second.lpfnWndProc;
        rec->style = style & ~WS_VISIBLE;
        rec->exStyle = exStyle;
        rec->owner = owner;
        rec->rect = RECT{x, y, x + std::max(cx, 0), y + std::max(cy, 0)};
        rec->restoreRect = rec->rect;
        rec->text = windowName;
        rec->internalNoActivate = (exStyle & WS_EX_NOACTIVATE) != 0;
        auto native = backend::CreateNative(*rec);
        // No window system to show it on (no display): no window.
        if (!native) return nullptr;
        WindowRecord& r = *rec;
        r.native = std::move(native);
        CoreState().windows.emplace(rec->id, std::move(rec));
        RaiseLocked(r);
        backend::SetTitle(r, rt::Cp936ToUtf8(windowName));
    }
    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndOwner = owner;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.style = style;
    cs.exStyle = exStyle;
    cs.name = windowName;
    cs.className = className;
    CallProc(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (!IsWindow(hwnd)) return nullptr;
    if (CallProc(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

bool DestroyWindow(Hwnd hwnd) {
    std::vector<Hwnd> owned;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr || rec->destroying || !IsOwnerThread(*rec)) return false;
        rec->destroying = true;
        for (auto& [id, other] : CoreState().windows)
            if (other->owner == hwnd && !other->destroying) owned.push_back(other->handle);
    }
    for (Hwnd o : owned) DestroyWindow(o);
    // Hide first, as the window system does, so nothing shows a dying window.
    bool wasActive;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec->visible) {
            rec->visible = false;
            backend::Show(*rec, false, false);
        }
        wasActive = CoreState().active == hwnd;
    }
    if (wasActive) Deactivate(hwnd);
    {
        std::lock_guard lk(CoreState().mu);
        if (CoreState().capture == hwnd) CoreState().capture = nullptr;
    }
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    TooltipWindowDestroyed(hwnd);
    std::unique_ptr<WindowRecord> dead;
    {
        std::lock_guard lk(CoreState().mu);
        auto& s = CoreState();
        auto it = s.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
        if (it == s.windows.end()) return true;
        dead = std::move(it->second);
        s.windows.erase(it);
        s.zorder.erase(std::remove(s.zorder.begin(), s.zorder.end(), hwnd), s.zorder.end());
        if (s.focus == hwnd) s.focus = nullptr;
        if (s.active == hwnd) s.active = nullptr;
        if (s.hover == hwnd) s.hover = nullptr;
        if (s.trackLeave == hwnd) s.trackLeave = nullptr;
        if (s.capture == hwnd) s.capture = nullptr;
        if (s.lastClickHwnd == hwnd) s.lastClickHwnd = nullptr;
        if (s.moveSize.hwnd == hwnd) s.moveSize = MoveSize{};
        auto& q = *dead->queue;
        auto drop = [&](std::deque<MSG>& d) {
            d.erase(
                std::remove_if(d.begin(), d.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
                d.end());
        };
        drop(q.posted);
        q.input.erase(std::remove_if(q.input.begin(), q.input.end(),
                                     [&](const InputItem& i) { return i.msg.hwnd == hwnd; }),
                      q.input.end());
        q.timers.erase(std::remove_if(q.timers.begin(), q.timers.end(),
                                      [&](const Timer& t) { return t.hwnd == hwnd; }),
                       q.timers.end());
        if (q.caret.hwnd == hwnd) q.caret = Caret{};
        // Senders waiting on this window get 0.
        for (auto it2 = q.sent.begin(); it2 != q.sent.end();) {
            if ((*it2)->msg.hwnd == hwnd) {
                (*it2)->done = true;
                if ((*it2)->sender) WakeLocked(*(*it2)->sender);
                it2 = q.sent.erase(it2);
            } else {
                ++it2;
            }
        }
    }
    // The native window goes outside the lock (backends may take their own).
    dead->native.reset();
    return true;
}

bool IsWindow(Hwnd hwnd) {
    std::lock_guard lk(CoreState().mu);
    return Find(hwnd) != nullptr;
}

bool ShowWindow(Hwnd hwnd, int cmd) {
    bool was, activate;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return false;
        was = rec->visible;
        if (cmd == SW_HIDE) {
            if (!was) return false;
            rec->visible = false;
            backend::Show(*rec, false, false);
        }
        activate = cmd != SW_HIDE && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE &&
                   !rec->internalNoActivate && !(rec->exStyle & WS_EX_NOACTIVATE);
    }
    if (cmd == SW_HIDE) {
        SendMessage(hwnd, WM_SHOWWINDOW, 0, 0);
        bool wasActive;
        {
            std::lock_guard lk(CoreState().mu);
            wasActive = CoreState().active == hwnd;
        }
        if (wasActive) Deactivate(hwnd);
        return was;
    }
    if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED) {
        Minimize(hwnd);
        return was;
    }
    if (!was) {
        SendMessage(hwnd, WM_SHOWWINDOW, 1, 0);
        bool live = WithWindow(hwnd, [&](WindowRecord& rec) {
            rec.visible = true;
            RaiseLocked(rec);
            backend::Show(rec, true, activate);
        });
        if (!live) return was;
    }
    if (cmd == SW_MAXIMIZE) Maximize(hwnd);
    if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) {
        if (WithWindow(hwnd, false, [](WindowRecord& rec) { return rec.zoomed || rec.iconic; }))
            Restore(hwnd);
    }
    if (!was) InvalidateRect(hwnd, nullptr, true);
    if (activate) Activate(hwnd, false, true);
    return was;
}

bool IsWindowVisible(Hwnd hwnd) {
    return WithWindow(hwnd, false, [](WindowRecord& rec) { return rec.visible; });
}

bool IsZoomed(Hwnd hwnd) {
    return WithWindow(hwnd, false, [](WindowRecord& rec) { return rec.zoomed; });
}

bool IsIconic(Hwnd hwnd) {
    return WithWindow(hwnd, false, [](WindowRecord& rec) { return rec.iconic; });
}

bool GetWindowRect(Hwnd hwnd, RECT* rect) {
    if (rect == nullptr) return false;
    return WithWindow(hwnd, [&](WindowRecord& rec) { *rect = rec.rect; });
}

bool GetClientRect(Hwnd hwnd, RECT* rect) {
    if (rect == nullptr) return false;
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        *rect = RECT{0, 0, rec.rect.width(), rec.rect.height()};
    });
}

bool ScreenToClient(Hwnd hwnd, POINT* pt) {
    if (pt == nullptr) return false;
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        pt->x -= rec.rect.left;
        pt->y -= rec.rect.top;
    });
}

bool ClientToScreen(Hwnd hwnd, POINT* pt) {
    if (pt == nullptr) return false;
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        pt->x += rec.rect.left;
        pt->y += rec.rect.top;
    });
}

namespace core {

void ApplyGeometry(Hwnd hwnd, const RECT& rect, bool fromNative) {
    bool moved = false, sized = false;
    WPARAM sizeKind = SIZE_RESTORED;
    WithWindow(hwnd, [&](WindowRecord& rec) {
        moved = rec.rect.left != rect.left || rec.rect.top != rect.top;
        sized = rec.rect.width() != rect.width() || rec.rect.height() != rect.height();
        if (!moved && !sized) return;
        rec.rect = rect;
        if (!rec.zoomed && !rec.iconic) rec.restoreRect = rect;
        if (!fromNative) backend::SetGeometry(rec, rect);
        sizeKind = rec.zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED;
    });
    if (moved) Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
    if (sized) Deliver(hwnd, WM_SIZE, sizeKind, MAKELPARAM(rect.width(), rect.height()));
}

}  // namespace core

bool MoveWindow(Hwnd hwnd, int x, int y, int cx, int cy, bool repaint) {
    if (!IsWindow(hwnd)) return false;
    ApplyGeometry(hwnd, RECT{x, y, x + std::max(cx, 0), y + std::max(cy, 0)}, false);
    if (repaint) InvalidateRect(hwnd, nullptr, true);
    return true;
}

bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy, UINT flags) {
    RECT target;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return false;
        target = rec->rect;
        if (!(flags & SWP_NOMOVE)) {
            int w = target.width(), h = target.height();
            target = RECT{x, y, x + w, y + h};
        }
        if (!(flags & SWP_NOSIZE)) {
            target.right = target.left + std::max(cx, 0);
            target.bottom = target.top + std::max(cy, 0);
        }
        if (!(flags & SWP_NOZORDER)) {
            if (insertAfter == HWND_TOPMOST) rec->exStyle |= WS_EX_TOPMOST;
            if (insertAfter == HWND_NOTOPMOST) rec->exStyle &= ~WS_EX_TOPMOST;
            if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
                backend::StyleChanged(*rec);
            if (insertAfter != HWND_BOTTOM) {
                RaiseLocked(*rec);
                if (rec->visible) backend::Raise(*rec);
            }
        }
    }
    ApplyGeometry(hwnd, target, false);
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    return true;
}

bool SetWindowText(Hwnd hwnd, const rt::Text& text) {
    if (!IsWindow(hwnd)) return false;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

rt::Text GetWindowText(Hwnd hwnd) {
    return WithWindow(hwnd, rt::Text(), [](WindowRecord& rec) { return rec.text; });
}

LPARAM GetWindowLong(Hwnd hwnd, int index) {
    return WithWindow(hwnd, 0, [&](WindowRecord& rec) -> LPARAM {
        switch (index) {
        case GWL_STYLE:
            return static_cast<LPARAM>(rec.style | (rec.visible ? DWORD{WS_VISIBLE} : DWORD{0}));
        case GWL_EXSTYLE: return static_cast<LPARAM>(rec.exStyle);
        case GWL_USERDATA: return rec.userData;
        default: return 0;
        }
    });
}

LPARAM SetWindowLong(Hwnd hwnd, int index, LPARAM value) {
    STYLESTRUCT ss;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return 0;
        if (index == GWL_USERDATA) {
            LPARAM old = rec->userData;
            rec->userData = value;
            return old;
        }
        if (index == GWL_STYLE) {
            ss.styleOld = rec->style | (rec->visible ? DWORD{WS_VISIBLE} : DWORD{0});
            rec->style = static_cast<DWORD>(value) & ~WS_VISIBLE;
            ss.styleNew = rec->style | (rec->visible ? DWORD{WS_VISIBLE} : DWORD{0});
        } else if (index == GWL_EXSTYLE) {
            ss.styleOld = rec->exStyle;
            rec->exStyle = static_cast<DWORD>(value);
            ss.styleNew = rec->exStyle;
            rec->internalNoActivate = rec->internalNoActivate || (rec->exStyle & WS_EX_NOACTIVATE);
            if ((ss.styleOld ^ ss.styleNew) & WS_EX_TOPMOST) RaiseLocked(*rec);
        } else {
            return 0;
        }
        backend::StyleChanged(*rec);
    }
    if (ss.styleOld != ss.styleNew)
        SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&ss));
    return static_cast<LPARAM>(ss.styleOld);
}

std::string GetClassName(Hwnd hwnd) {
    return WithWindow(hwnd, std::string(), [](WindowRecord& rec) { return rec.className; });
}

UINT GetClassStyle(Hwnd hwnd) {
    return WithWindow(hwnd, 0, [](WindowRecord& rec) { return rec.classStyle; });
}

Hicon GetClassIcon(Hwnd hwnd, bool small) {
    return WithWindow(hwnd, nullptr, [&](WindowRecord& rec) -> Hicon {
        const auto it = CoreState().classes.find(rec.className);
        if (it == CoreState().classes.end()) return nullptr;
        return small ? it->second.hIconSm : it->second.hIcon;
    });
}

Hwnd GetOwner(Hwnd hwnd) {
    return WithWindow(hwnd, nullptr, [](WindowRecord& rec) { return rec.owner; });
}

WndProc SetWindowProc(Hwnd hwnd, WndProc proc) {
    return WithWindow(hwnd, WndProc(), [&](WindowRecord& rec) {
        std::swap(rec.proc, proc);
        return proc;
    });
}

WndProc GetWindowProc(Hwnd hwnd) {
    return WithWindow(hwnd, WndProc(), [](WindowRecord& rec) { return rec.proc; });
}

LRESULT CallWindowProc(const WndProc& proc, Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (proc) return proc(hwnd, msg, wParam, lParam);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

bool SetProp(Hwnd hwnd, const std::string& name, std::intptr_t value) {
    return WithWindow(hwnd, [&](WindowRecord& rec) { rec.props[name] = value; });
}

std::intptr_t GetProp(Hwnd hwnd, const std::string& name) {
    return WithWindow(hwnd, 0, [&](WindowRecord& rec) -> std::intptr_t {
        auto it = rec.props.find(name);
        return it == rec.props.end() ? 0 : it->second;
    });
}

std::intptr_t RemoveProp(Hwnd hwnd, const std::string& name) {
    return WithWindow(hwnd, 0, [&](WindowRecord& rec) -> std::intptr_t {
        auto it = rec.props.find(name);
        if (it == rec.props.end()) return 0;
        std::intptr_t v = it->second;
        rec.props.erase(it);
        return v;
    });
}

Hwnd WindowFromPoint(POINT pt) {
    std::lock_guard lk(CoreState().mu);
    for (Hwnd h : CoreState().zorder) {
        WindowRecord* rec = Find(h);
        // Tooltips never take the pointer.
        if (rec == nullptr || !rec->visible || rec->iconic || rec->className == "tooltips_class32")
            continue;
        const RECT& r = rec->rect;
        if (pt.x < r.left || pt.y < r.top || pt.x >= r.right || pt.y >= r.bottom) continue;
        int cx = pt.x - r.left, cy = pt.y - r.top;
        if (rec->hasRegion && !rec->region.Contains(cx, cy)) continue;
        if ((rec->exStyle & WS_EX_LAYERED) && cx < rec->picWidth && cy < rec->picHeight &&
            (rec->picture[static_cast<std::size_t>(cy) * rec->picWidth + cx] >> 24) == 0)
            continue;
        return h;
    }
    return nullptr;
}

RECT GetWorkArea() { return backend::WorkArea(); }
SIZE GetScreenSize() { return backend::ScreenSize(); }

namespace core {

void Deactivate(Hwnd hwnd) {
    Hwnd focus;
    {
        std::lock_guard lk(CoreState().mu);
        if (CoreState().active != hwnd) return;
        CoreState().active = nullptr;
        focus = CoreState().focus;
        CoreState().focus = nullptr;
        WindowRecord* rec = Find(hwnd);
        if (rec != nullptr) backend::ImeFocus(*rec, false);
    }
    Deliver(hwnd, WM_NCACTIVATE, 0, 0);
    Deliver(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    if (focus != nullptr) Deliver(focus, WM_KILLFOCUS, 0, 0);
}

void Activate(Hwnd hwnd, bool clickActivate, bool tellNative) {
    Hwnd old, oldFocus;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr || !rec->visible) return;
        if (tellNative) backend::Activate(*rec);
        if (CoreState().active == hwnd) {
            if (CoreState().focus == hwnd) return;
            old = nullptr;
        } else {
            old = CoreState().active;
            CoreState().active = hwnd;
        }
        oldFocus = CoreState().focus;
        CoreState().focus = hwnd;
        if (WindowRecord* o = Find(oldFocus); o != nullptr && oldFocus != hwnd)
            backend::ImeFocus(*o, false);
        if (rec->imeAttached) backend::ImeFocus(*rec, true);
    }
    if (old != nullptr && old != hwnd) {
        Deliver(old, WM_NCACTIVATE, 0, 0);
        Deliver(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    }
    if (old != hwnd) {
        Deliver(hwnd, WM_NCACTIVATE, 1, 0);
        Deliver(hwnd, WM_ACTIVATE, clickActivate ? WA_CLICKACTIVE : WA_ACTIVE,
                reinterpret_cast<LPARAM>(old));
    }
    if (oldFocus != nullptr && oldFocus != hwnd)
        Deliver(oldFocus, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (oldFocus != hwnd) Deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(oldFocus), 0);
}

}  // namespace core

bool SetForegroundWindow(Hwnd hwnd) {
    if (!IsWindowVisible(hwnd)) return false;
    BringWindowToTop(hwnd);
    Activate(hwnd, false, true);
    return true;
}

Hwnd GetForegroundWindow() {
    std::lock_guard lk(CoreState().mu);
    return CoreState().active;
}

bool BringWindowToTop(Hwnd hwnd) {
    return WithWindow(hwnd, [](WindowRecord& rec) {
        RaiseLocked(rec);
        if (rec.visible) backend::Raise(rec);
    });
}

Hwnd SetActiveWindow(Hwnd hwnd) {
    Hwnd old = GetActiveWindow();
    Activate(hwnd, false, true);
    return old;
}

// One window is both the active and the foreground one here: the program's
// windows all belong to one thread.
Hwnd GetActiveWindow() { return GetForegroundWindow(); }

Hwnd SetFocus(Hwnd hwnd) {
    Hwnd old = GetFocus();
    if (hwnd == nullptr) {
        Hwnd prev;
        {
            std::lock_guard lk(CoreState().mu);
            prev = CoreState().focus;
            CoreState().focus = nullptr;
        }
        if (prev != nullptr) Deliver(prev, WM_KILLFOCUS, 0, 0);
        return old;
    }
    if (!IsWindow(hwnd)) return nullptr;
    Activate(hwnd, false, true);
    return old;
}

Hwnd GetFocus() {
    std::lock_guard lk(CoreState().mu);
    return CoreState().focus;
}

}  // namespace plat
