// The window procedure of every native window: native messages turned into
// the core's events (mouse, keys with the characters they type, focus,
// placement, close), and the pump that reads them.
#include "platform/win32/events.h"

#include <string>
#include <utility>

#include "platform/win32/ime.h"
#include "platform/win32/system_loop.h"
#include "platform/win32/window.h"
#include "runtime/codepage.h"

namespace plat::win32 {

namespace {

// While a system loop runs, the core's messages are served on this timer.
constexpr UINT_PTR kLoopTimer = 0x5EE;
constexpr UINT kLoopTimerMs = 10;

std::string Utf8(const std::u16string& text) {
    return rt::WideToMultiByte(rt::kCodePageUtf8, text);
}

// A mouse message's client point on the screen.
plat::POINT ScreenPoint(HWND window, LPARAM lParam) {
    ::POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(window, &p);
    return plat::POINT{p.x, p.y};
}

// The side-specific code of a modifier key, as the core keeps them.
int KeyCode(WPARAM vk, LPARAM lParam) {
    bool extended = (lParam >> 24) & 1;
    switch (vk) {
    case VK_SHIFT: {
        UINT scan = (lParam >> 16) & 0xFF;
        return ::MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX) == VK_RSHIFT ? VK_RSHIFT : VK_LSHIFT;
    }
    case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
    default: return static_cast<int>(vk);
    }
}

bool IsModifier(int vk) {
    return vk == VK_LSHIFT || vk == VK_RSHIFT || vk == VK_LCONTROL || vk == VK_RCONTROL ||
           vk == VK_LMENU || vk == VK_RMENU;
}

void KeyEvent(Hwnd h, int vk, bool down, std::string text) {
    bool shift = ::GetKeyState(VK_SHIFT) < 0;
    bool control = ::GetKeyState(VK_CONTROL) < 0;
    bool alt = ::GetKeyState(VK_MENU) < 0;
    Later([h, vk, down, text = std::move(text), shift, control, alt] {
        if (!IsModifier(vk)) core::events::SyncModifiers(shift, control, alt);
        core::events::Key(h, vk, down, text);
    });
}

// A key press with the characters it types: translated here, so that the
// characters go with the key as the core wants them.
void KeyDown(const ::MSG& m) {
    ::TranslateMessage(&m);
    // The input method has the key; what it makes comes as its result.
    if (m.wParam == VK_PROCESSKEY) return;
    std::u16string chars;
    ::MSG c;
    while (::PeekMessageW(&c, m.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE) ||
           ::PeekMessageW(&c, m.hwnd, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE))
        chars += static_cast<char16_t>(c.wParam);
    Win32Window* n = NativeOf(m.hwnd);
    if (n == nullptr) return;
    std::string text = Utf8(chars);
    if (text == "\x7f") text.clear();  // Ctrl+Backspace types nothing
    KeyEvent(n->hwnd, KeyCode(m.wParam, m.lParam), true, std::move(text));
}

// A character without a key of its own (sent by an input method or another
// program): a key that only carries it, as on X11 for a remapped key.
void LoneCharacter(Win32Window& n, WPARAM unit) {
    auto u = static_cast<char16_t>(unit);
    if (u >= 0xD800 && u < 0xDC00) {
        n.highSurrogate = u;
        return;
    }
    std::u16string chars;
    if (u >= 0xDC00 && u < 0xE000 && n.highSurrogate != 0) chars += n.highSurrogate;
    n.highSurrogate = 0;
    chars += u;
    KeyEvent(n.hwnd, VK_PACKET, true, Utf8(chars));
    KeyEvent(n.hwnd, VK_PACKET, false, std::string());
}

void MouseButton(HWND window, Hwnd h, int button, bool down, WPARAM wParam, LPARAM lParam) {
    plat::POINT p = ScreenPoint(window, lParam);
    bool shift = (wParam & MK_SHIFT) != 0;
    bool control = (wParam & MK_CONTROL) != 0;
    bool alt = ::GetKeyState(VK_MENU) < 0;
    Later([=] {
        core::events::SyncModifiers(shift, control, alt);
        core::events::MouseButton(h, button, down, p);
    });
}

// The window's rectangle now, when `h` still has `window`: a geometry
// report runs later, after the window may have moved on.
bool CurrentRect(Hwnd h, HWND window, plat::RECT* out) {
    return core::WithWindow(h, false, [&](core::WindowRecord& rec) {
        Win32Window* n = Native(rec);
        ::RECT r;
        if (n == nullptr || n->window.get() != window || ::IsIconic(window) ||
            !::GetWindowRect(window, &r))
            return false;
        *out = plat::RECT{r.left, r.top, r.right, r.bottom};
        return true;
    });
}

void PositionChanged(HWND window, Hwnd h, const WINDOWPOS& pos) {
    if ((pos.flags & SWP_NOMOVE) && (pos.flags & SWP_NOSIZE)) return;
    bool sized = !(pos.flags & SWP_NOSIZE);
    Later([h, window, sized] {
        plat::RECT r;
        if (!CurrentRect(h, window, &r)) return;
        core::events::Configure(h, r);
        // The kept picture is shown again once it fits the new size.
        if (sized) core::events::Exposed(h, plat::RECT{0, 0, r.width(), r.height()});
    });
}

// The core's messages keep flowing while the system runs its own loop.
void ServeFromSystemLoop() {
    RunLater();
    ServeCoreMessages();
}

LRESULT Handle(HWND window, Win32Window& n, UINT msg, WPARAM wParam, LPARAM lParam) {
    Hwnd h = n.hwnd;
    switch (msg) {
    case WM_MOUSEMOVE: {
        if (!n.trackingLeave) {
            ::TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            n.trackingLeave = ::TrackMouseEvent(&track) != FALSE;
        }
        plat::POINT p = ScreenPoint(window, lParam);
        Later([h, p] { core::events::MouseMove(h, p); });
        return 0;
    }
    case WM_MOUSELEAVE:
        n.trackingLeave = false;
        Later([h] { core::events::PointerLeft(h); });
        return 0;
    case WM_LBUTTONDOWN: MouseButton(window, h, 0, true, wParam, lParam); return 0;
    case WM_LBUTTONUP: MouseButton(window, h, 0, false, wParam, lParam); return 0;
    case WM_RBUTTONDOWN: MouseButton(window, h, 1, true, wParam, lParam); return 0;
    case WM_RBUTTONUP: MouseButton(window, h, 1, false, wParam, lParam); return 0;
    case WM_MBUTTONDOWN: MouseButton(window, h, 2, true, wParam, lParam); return 0;
    case WM_MBUTTONUP: MouseButton(window, h, 2, false, wParam, lParam); return 0;
    case WM_MOUSEWHEEL: {
        plat::POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        int delta = static_cast<short>(HIWORD(wParam));
        Later([h, delta, p] { core::events::Wheel(h, delta, p); });
        return 0;
    }
    // Keys that reach the procedure from a loop other than ours carry no
    // characters; those come on their own.
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: KeyEvent(h, KeyCode(wParam, lParam), true, std::string()); return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: KeyEvent(h, KeyCode(wParam, lParam), false, std::string()); return 0;
    case WM_CHAR: LoneCharacter(n, wParam); return 0;
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR: return 0;
    // The core decides what a press activates.
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETFOCUS: Later([h] { core::events::FocusGained(h); }); return 0;
    case WM_KILLFOCUS: Later([h] { core::events::FocusLost(h); }); return 0;
    case WM_CLOSE: Later([h] { core::events::CloseRequest(h); }); return 0;
    case WM_SYSCOMMAND:
        // The taskbar's maximise is the core's: it keeps the restore size.
        if ((wParam & 0xFFF0) == SC_MAXIMIZE) {
            Later([h] { core::Deliver(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0); });
            return 0;
        }
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED && !n.wasIconic) {
            n.wasIconic = true;
            Later([h] { core::events::Mapped(h, false); });
        } else if (wParam != SIZE_MINIMIZED && n.wasIconic) {
            n.wasIconic = false;
            Later([h] { core::events::Mapped(h, true); });
        }
        return 0;
    case WM_WINDOWPOSCHANGED:
        PositionChanged(window, h, *reinterpret_cast<const WINDOWPOS*>(lParam));
        break;  // the default sends WM_SIZE
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<::MINMAXINFO*>(lParam);
        info->ptMinTrackSize = ::POINT{n.minTrackX.load(), n.minTrackY.load()};
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) break;
        ::SetCursor(CursorHandle(n.cursorId.load()));
        return TRUE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: ::ValidateRect(window, nullptr); return 0;
    case WM_CAPTURECHANGED: return 0;
    case WM_ENTERSIZEMOVE:
        ++ThreadQueueOf().systemLoops;
        ::SetTimer(window, kLoopTimer, kLoopTimerMs, nullptr);
        return 0;
    case WM_EXITSIZEMOVE: {
        int& loops = ThreadQueueOf().systemLoops;
        loops = loops > 0 ? loops - 1 : 0;
        ::KillTimer(window, kLoopTimer);
        return 0;
    }
    case WM_TIMER:
        if (wParam != kLoopTimer) break;
        // A tick queued before the loop ended is left to the program's loop.
        if (InSystemLoop()) ServeFromSystemLoop();
        return 0;
    case kStartMoveSize: RunMoveSize(window, wParam); return 0;
    case kApplyTitle: {
        std::optional<std::wstring> title;
        {
            std::lock_guard lk(n.titleMu);
            title.swap(n.pendingTitle);
        }
        if (title) ::SetWindowTextW(window, title->c_str());
        return 0;
    }
    default: {
        LRESULT result = 0;
        if (ImeMessage(window, n, msg, wParam, lParam, &result)) return result;
        break;
    }
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

Win32Queue& ThreadQueueOf() {
    // Every thread with windows of ours has its core queue already.
    return *static_cast<Win32Queue*>(core::CurrentQueue()->native.get());
}

void Later(std::function<void()> work) { ThreadQueueOf().later.push_back(std::move(work)); }

bool RunLater() {
    std::deque<std::function<void()>>& later = ThreadQueueOf().later;
    if (later.empty()) return false;
    // One at a time from the front: work may run a nested message loop
    // that runs the rest, in order.
    while (!later.empty()) {
        std::function<void()> work = std::move(later.front());
        later.pop_front();
        work();
    }
    return true;
}

bool InSystemLoop() { return ThreadQueueOf().systemLoops > 0; }

void PumpNative() {
    // Inside a system loop the loop reads the input itself.
    UINT filter = InSystemLoop() ? PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE | PM_QS_PAINT : 0;
    ::MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE | filter)) {
        if (m.message == WM_QUIT) continue;  // the core has its own
        if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && NativeOf(m.hwnd)) {
            KeyDown(m);
            continue;
        }
        ::DispatchMessageW(&m);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    Win32Window* n = NativeOf(window);
    if (n == nullptr) return ::DefWindowProcW(window, msg, wParam, lParam);
    return Handle(window, *n, msg, wParam, lParam);
}

}  // namespace plat::win32
