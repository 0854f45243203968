// Native windows for the layer's windows: the window class, creation as a
// layered popup, show, placement, title, stacking, activation and the
// desktop's measures.
#include "platform/win32/window.h"

#include <dwmapi.h>

#include <algorithm>
#include <mutex>

#include "platform/win32/events.h"
#include "runtime/codepage.h"

namespace plat::win32 {

namespace {

std::wstring Wide(const std::string& utf8) {
    std::u16string w = rt::MultiByteToWide(rt::kCodePageUtf8, utf8);
    return std::wstring(w.begin(), w.end());
}

// The record's styles in native terms. Every window is layered: what it
// shows always comes from its display buffer through UpdateLayeredWindow,
// with the alpha of the picture (opaque for an ordinary window). A plain
// popup has no frame the system would draw or count in its client area.
::DWORD NativeStyle(const core::WindowRecord& rec) {
    // The system menu and the minimise box let the taskbar minimise,
    // restore and close the window.
    return WS_POPUP | (rec.style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

::DWORD NativeExStyle(const core::WindowRecord& rec) {
    ::DWORD ex = WS_EX_LAYERED | (rec.exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    // Tooltips never take the pointer: clicks go through to what is below.
    if (rec.internalNoActivate) ex |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    if (rec.exStyle & WS_EX_NOACTIVATE) ex |= WS_EX_NOACTIVATE;
    // Unowned windows of the program have a taskbar button.
    if (rec.owner == nullptr && !(ex & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)))
        ex |= WS_EX_APPWINDOW;
    return ex;
}

// Placement without activation; from another thread without waiting for
// the window's thread, which may be waiting for the core's lock.
void Place(HWND window, HWND after, int x, int y, int w, int h, UINT flags) {
    flags |= SWP_NOACTIVATE;
    if (!OwnThread(window)) flags |= SWP_ASYNCWINDOWPOS;
    ::SetWindowPos(window, after, x, y, w, h, flags);
}

void ShowNative(HWND window, int cmd) {
    if (OwnThread(window)) ::ShowWindow(window, cmd);
    else ::ShowWindowAsync(window, cmd);
}

template <typename Fn>
void WithNative(core::WindowRecord& rec, Fn&& fn) {
    Win32Window* n = Native(rec);
    if (n != nullptr && n->window) fn(*n, n->window.get());
}

}  // namespace

Win32Window* Native(core::WindowRecord& rec) { return static_cast<Win32Window*>(rec.native.get()); }

Win32Window* NativeOf(HWND window) {
    // Other classes (the system's own windows in this thread) keep other
    // things in their user data.
    if (window == nullptr || ::GetClassLongPtrW(window, GCW_ATOM) != ClassAtom()) return nullptr;
    return reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool OwnThread(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

ATOM ClassAtom() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        // No CS_DBLCLKS: the core makes double clicks from the presses.
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SeekerWindow";
        return ::RegisterClassExW(&wc);
    }();
    return atom;
}

Win32Window::~Win32Window() {
    if (!window) return;
    // Messages that still come during destruction find no window of ours.
    ::SetWindowLongPtrW(window.get(), GWLP_USERDATA, 0);
}

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

std::unique_ptr<NativeWindow> CreateNative(WindowRecord& rec) {
    auto n = std::make_unique<Win32Window>();
    n->hwnd = rec.handle;
    HWND owner = nullptr;
    if (WindowRecord* o = Find(rec.owner); o != nullptr && Native(*o) != nullptr)
        owner = Native(*o)->window.get();
    const RECT& r = rec.rect;
    HWND window = ::CreateWindowExW(
        NativeExStyle(rec), reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(ClassAtom())), L"",
        NativeStyle(rec), r.left, r.top, std::max(1, r.width()), std::max(1, r.height()), owner,
        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    n->window.reset(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(n.get()));
    return n;
}

void SetTitle(WindowRecord& rec, const std::string& utf8) {
    WithNative(rec, [&](Win32Window& n, HWND window) {
        std::wstring title = Wide(utf8);
        if (OwnThread(window)) {
            ::SetWindowTextW(window, title.c_str());
            return;
        }
        // WM_SETTEXT would wait for the window's thread: it takes the title
        // from its own procedure instead.
        {
            std::lock_guard lk(n.titleMu);
            n.pendingTitle = std::move(title);
        }
        ::PostMessageW(window, kApplyTitle, 0, 0);
    });
}

void Show(WindowRecord& rec, bool show, bool activate) {
    WithNative(rec, [&](Win32Window& n, HWND window) {
        if (!show) ShowNative(window, SW_HIDE);
        else if (::IsIconic(window)) ShowNative(window, activate ? SW_RESTORE : SW_SHOWNOACTIVATE);
        else ShowNative(window, activate ? SW_SHOW : SW_SHOWNA);
        // What was presented while the window was hidden is shown again:
        // wine drops the layered picture of a hidden window.
        if (show && n.pixels.data() != nullptr)
            UpdateLayered(n, RECT{0, 0, n.pixels.width(), n.pixels.height()});
    });
}

void SetGeometry(WindowRecord& rec, const RECT& r) {
    WithNative(rec, [&](Win32Window&, HWND window) {
        Place(window, nullptr, r.left, r.top, std::max(1, r.width()), std::max(1, r.height()),
              SWP_NOZORDER);
    });
}

void StyleChanged(WindowRecord& rec) {
    WithNative(rec, [&](Win32Window&, HWND window) {
        bool top = (rec.exStyle & WS_EX_TOPMOST) != 0;
        bool nativeTop = (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (top != nativeTop)
            Place(window, top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    });
}

void Raise(WindowRecord& rec) {
    WithNative(rec, [](Win32Window&, HWND window) {
        Place(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    });
}

void Activate(WindowRecord& rec) {
    WithNative(rec, [](Win32Window&, HWND window) {
        if (!::IsWindowVisible(window) || !OwnThread(window)) return;
        ::SetForegroundWindow(window);
        ::SetActiveWindow(window);
        ::SetFocus(window);
    });
}

void Iconify(WindowRecord& rec) {
    WithNative(rec, [](Win32Window&, HWND window) { ShowNative(window, SW_MINIMIZE); });
}

// The core places a maximised window on the work area itself.
void SetMaximized(WindowRecord&, bool, const RECT&) {}

bool Composited() {
    BOOL enabled = FALSE;
    return SUCCEEDED(::DwmIsCompositionEnabled(&enabled)) && enabled;
}

RECT WorkArea() {
    ::RECT r{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0) || r.right <= r.left ||
        r.bottom <= r.top) {
        SIZE s = ScreenSize();
        return RECT{0, 0, s.cx, s.cy};
    }
    return RECT{r.left, r.top, r.right, r.bottom};
}

SIZE ScreenSize() { return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace plat::core::backend
