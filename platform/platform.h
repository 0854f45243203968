// The native window layer: windows, the message queue, timers, input state,
// capture and focus, cursors, present of a drawn canvas, window regions,
// caret, tooltips, clipboard, input method and the message box.
//
// Names, message numbers and parameter packing follow the classic desktop
// window API, so the user-interface library is written in those terms. Texts
// at this interface are code-page-936 bytes (rt::Text); the backends convert
// at their own edges. The backend (x11 or headless) is chosen by the linker.
//
// Threads: a window belongs to the thread that created it; its procedure runs
// only on that thread. PostMessage and SendMessage may be called from any
// thread; a cross-thread SendMessage waits until the owner has handled it and
// meanwhile handles messages sent to the waiting thread itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/text.h"

namespace plat {

// ---------------------------------------------------------------- basic types

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD = std::uint32_t;

// An opaque window handle. Handles are never reused within a process, so a
// stale handle stays invalid (IsWindow is false) after DestroyWindow.
using Hwnd = struct HwndTag*;
// A cursor handle (from LoadCursor).
using Hcursor = struct HcursorTag*;
// An input-method context handle (from ImmGetContext).
using Himc = struct HimcTag*;

// Special "insert after" values of SetWindowPos.
inline const Hwnd HWND_TOP = nullptr;
inline const Hwnd HWND_BOTTOM = reinterpret_cast<Hwnd>(std::intptr_t{1});
inline const Hwnd HWND_TOPMOST = reinterpret_cast<Hwnd>(std::intptr_t{-1});
inline const Hwnd HWND_NOTOPMOST = reinterpret_cast<Hwnd>(std::intptr_t{-2});

struct POINT {
    int x = 0;
    int y = 0;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const RECT&, const RECT&) = default;
};

// ---------------------------------------------------------------- packing helpers

constexpr std::uint16_t LOWORD(std::uintptr_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
constexpr std::uint16_t HIWORD(std::uintptr_t v) {
    return static_cast<std::uint16_t>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(lo))) |
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(hi)) << 16)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return static_cast<WPARAM>(static_cast<std::uint32_t>(MAKELPARAM(lo, hi)));
}
// Signed coordinates of a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(l)));
}
constexpr int GET_Y_LPARAM(LPARAM l) {
    return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(l)));
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<std::int16_t>(HIWORD(w)); }
constexpr int GET_KEYSTATE_WPARAM(WPARAM w) { return LOWORD(w); }

// ---------------------------------------------------------------- messages

enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021,
    WM_GETMINMAXINFO = 0x0024,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_GETICON = 0x007F,
    WM_SETICON = 0x0080,
    WM_STYLECHANGED = 0x007D,
    WM_NCCREATE = 0x0081,
    WM_NCDESTROY = 0x0082,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCACTIVATE = 0x0086,
    WM_NCLBUTTONDOWN = 0x00A1,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_IME_STARTCOMPOSITION = 0x010D,
    WM_IME_ENDCOMPOSITION = 0x010E,
    WM_IME_COMPOSITION = 0x010F,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_CAPTURECHANGED = 0x0215,
    WM_EXITSIZEMOVE = 0x0232,
    WM_ENTERSIZEMOVE = 0x0231,
    WM_MOUSELEAVE = 0x02A3,
    WM_CLIPBOARDUPDATE = 0x031D,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};

// WM_ACTIVATE wParam.
enum : WPARAM { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// WM_SIZE wParam.
enum : WPARAM { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Mouse message wParam flags.
enum : WPARAM {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// One notch of the mouse wheel.
inline constexpr int WHEEL_DELTA = 120;

// Hit-test codes (WM_NCLBUTTONDOWN wParam, WM_SETCURSOR lParam low word).
enum : WPARAM {
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
};

// WM_SYSCOMMAND wParam. SC_SIZE + a ResizeZone edge starts sizing from that
// edge; SC_MOVE (also SC_MOVE + 2, "drag move") starts moving.
enum : WPARAM {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// ShowWindow commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_MAXIMIZE = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWNA = 8,
    SW_RESTORE = 9,
};

// Window styles.
enum : DWORD {
    WS_POPUP = 0x80000000u,
    WS_CHILD = 0x40000000u,
    WS_MINIMIZE = 0x20000000u,
    WS_VISIBLE = 0x10000000u,
    WS_CLIPCHILDREN = 0x02000000u,
    WS_MAXIMIZE = 0x01000000u,
    WS_CAPTION = 0x00C00000u,
    WS_BORDER = 0x00800000u,
    WS_DLGFRAME = 0x00400000u,
    WS_SYSMENU = 0x00080000u,
    WS_THICKFRAME = 0x00040000u,
    WS_MINIMIZEBOX = 0x00020000u,
    WS_MAXIMIZEBOX = 0x00010000u,
};

// Extended window styles.
enum : DWORD {
    WS_EX_TOPMOST = 0x00000008u,
    WS_EX_TOOLWINDOW = 0x00000080u,
    WS_EX_LAYERED = 0x00080000u,
    WS_EX_NOACTIVATE = 0x08000000u,
};

// Class styles.
enum : UINT { CS_DBLCLKS = 0x0008 };

// GetWindowLong / SetWindowLong indexes.
enum : int { GWL_EXSTYLE = -20, GWL_STYLE = -16, GWL_USERDATA = -21 };

// SetWindowPos flags.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOACTIVATE = 0x0010,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
};

// RedrawWindow flags.
enum : UINT {
    RDW_INVALIDATE = 0x0001,
    RDW_ERASE = 0x0004,
    RDW_ALLCHILDREN = 0x0080,
    RDW_UPDATENOW = 0x0100,
};

// PeekMessage flags.
enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001 };

// TrackMouseEvent flags.
enum : DWORD { TME_LEAVE = 0x00000002, TME_CANCEL = 0x80000000u };

// Input-method composition flags (WM_IME_COMPOSITION lParam).
enum : LPARAM { GCS_COMPSTR = 0x0008, GCS_RESULTSTR = 0x0800 };

// System cursor ids for LoadCursor.
enum : int {
    IDC_ARROW = 32512,
    IDC_IBEAM = 32513,
    IDC_WAIT = 32514,
    IDC_CROSS = 32515,
    IDC_SIZENWSE = 32642,
    IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644,
    IDC_SIZENS = 32645,
    IDC_SIZEALL = 32646,
    IDC_HAND = 32649,
};

// Where a move or size takes the window: its body (a move) or one of its
// edges and corners. An edge's value is what SC_SIZE adds to the command.
enum class ResizeZone : int {
    Move = 0,
    Left = 1,
    Right = 2,
    Top = 3,
    TopLeft = 4,
    TopRight = 5,
    Bottom = 6,
    BottomLeft = 7,
    BottomRight = 8,
};

// Which sides of the window a zone drags.
constexpr bool DragsLeft(ResizeZone z) {
    return z == ResizeZone::Left || z == ResizeZone::TopLeft || z == ResizeZone::BottomLeft;
}
constexpr bool DragsRight(ResizeZone z) {
    return z == ResizeZone::Right || z == ResizeZone::TopRight || z == ResizeZone::BottomRight;
}
constexpr bool DragsTop(ResizeZone z) {
    return z == ResizeZone::Top || z == ResizeZone::TopLeft || z == ResizeZone::TopRight;
}
constexpr bool DragsBottom(ResizeZone z) {
    return z == ResizeZone::Bottom || z == ResizeZone::BottomLeft || z == ResizeZone::BottomRight;
}

// The zone of a WM_SYSCOMMAND SC_SIZE + edge or SC_MOVE command.
constexpr std::optional<ResizeZone> ZoneOfSysCommand(WPARAM command) {
    if ((command & 0xFFF0) == SC_MOVE) return ResizeZone::Move;
    if ((command & 0xFFF0) != SC_SIZE || (command & 0xF) < 1 || (command & 0xF) > 8)
        return std::nullopt;
    return static_cast<ResizeZone>(command & 0xF);
}

// The zone of a WM_NCLBUTTONDOWN hit-test code: the caption moves, the
// border codes HTLEFT .. HTBOTTOMRIGHT size.
constexpr std::optional<ResizeZone> ZoneOfHitTest(WPARAM hit) {
    if (hit == HTCAPTION) return ResizeZone::Move;
    if (hit < HTLEFT || hit > HTBOTTOMRIGHT) return std::nullopt;
    // HTLEFT .. HTBOTTOMRIGHT run in the zones' own order.
    return static_cast<ResizeZone>(hit - HTLEFT + 1);
}

// The command that starts sizing from `zone` (SC_MOVE for the body).
constexpr WPARAM SysCommandOf(ResizeZone zone) {
    return zone == ResizeZone::Move ? WPARAM{SC_MOVE} : SC_SIZE + static_cast<WPARAM>(zone);
}

// The cursor shown over a zone (the arrow over the body).
constexpr int CursorOfZone(ResizeZone zone) {
    switch (zone) {
    case ResizeZone::Left:
    case ResizeZone::Right: return IDC_SIZEWE;
    case ResizeZone::Top:
    case ResizeZone::Bottom: return IDC_SIZENS;
    case ResizeZone::TopLeft:
    case ResizeZone::BottomRight: return IDC_SIZENWSE;
    case ResizeZone::TopRight:
    case ResizeZone::BottomLeft: return IDC_SIZENESW;
    default: return IDC_ARROW;
    }
}

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
enum : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,  // Alt
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_LWIN = 0x5B,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F4 = 0x73,
    VK_F12 = 0x7B,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5,
    VK_OEM_1 = 0xBA,       // ;:
    VK_OEM_PLUS = 0xBB,    // =+
    VK_OEM_COMMA = 0xBC,   // ,<
    VK_OEM_MINUS = 0xBD,   // -_
    VK_OEM_PERIOD = 0xBE,  // .>
    VK_OEM_2 = 0xBF,       // /?
    VK_OEM_3 = 0xC0,       // `~
    VK_OEM_4 = 0xDB,       // [{
    VK_OEM_5 = 0xDC,       // \|
    VK_OEM_6 = 0xDD,       // ]}
    VK_OEM_7 = 0xDE,       // '"
    VK_PROCESSKEY = 0xE5,
    VK_PACKET = 0xE7,  // a key that only carries a character (no key code of its own)
};

// Message box.
enum : UINT {
    MB_OK = 0x0000,
    MB_ICONERROR = 0x0010,
    MB_ICONWARNING = 0x0030,
    MB_ICONINFORMATION = 0x0040
};
enum : int { IDOK = 1 };

// ---------------------------------------------------------------- records

// One queued message. `input` is the platform's own: the UTF-8 characters a
// key produced (read by TranslateMessage) or the committed text of a
// composition; user code leaves it alone.
struct MSG {
    Hwnd hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
    std::string input;
};

// WM_CREATE / WM_NCCREATE lParam points to this.
struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    Hwnd hwndOwner = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    rt::Text name;
    std::string className;
    DWORD exStyle = 0;
};

// WM_GETMINMAXINFO lParam points to this; the window procedure may change it.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

// WM_STYLECHANGED lParam points to this (wParam is GWL_STYLE or GWL_EXSTYLE).
struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

struct PAINTSTRUCT {
    RECT rcPaint;
    bool fErase = false;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    Hwnd hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};

// A window procedure. A std::function so that a procedure can carry the
// object it belongs to; the "Qd_Wnd_Control"-style property stays the way
// other code finds that object.
using WndProc = std::function<LRESULT(Hwnd, UINT, WPARAM, LPARAM)>;
using TimerProc = std::function<void(Hwnd, UINT, std::uintptr_t, DWORD)>;

struct IconImage;
// An icon handle: the address of an IconImage (below). Whoever sets it on a
// window or class keeps it alive while it is set.
using Hicon = const IconImage*;

// WM_SETICON / WM_GETICON wParam. WM_SETICON (lParam: Hicon) returns the
// previous icon; WM_GETICON returns the icon set (ICON_SMALL2: the small
// one), 0 when none. DefWindowProc keeps them.
enum : WPARAM { ICON_SMALL = 0, ICON_BIG = 1, ICON_SMALL2 = 2 };

struct WNDCLASS {
    UINT style = CS_DBLCLKS;
    Hicon hIcon = nullptr;
    Hicon hIconSm = nullptr;
    WndProc lpfnWndProc;        // empty: DefWindowProc
    Hcursor hCursor = nullptr;  // empty: the arrow
    std::string lpszClassName;
};

// A window region: a set of rectangles in window coordinates (their union).
struct Region {
    std::vector<RECT> rects;
    bool empty() const { return rects.empty(); }
    bool Contains(int x, int y) const;
};

// The region CreateRoundRectRgn(left, top, right, bottom, ellipseWidth,
// ellipseHeight) describes: one pixel smaller at the right and bottom than
// the rectangle, corners cut along ellipses of the given diameters.
Region CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                          int ellipseHeight);
Region CreateRectRgn(int left, int top, int right, int bottom);

// ---------------------------------------------------------------- classes and windows

bool RegisterClass(const WNDCLASS& wc);
bool IsClassRegistered(const std::string& className);

// Creates a top-level window owned by the calling thread. Only top-level
// windows exist (WS_CHILD is refused). `owner` keeps an owned window above
// its owner and destroys it with the owner. x/y/cx/cy are screen pixels.
// Sends WM_NCCREATE, WM_CREATE (a -1 answer destroys the window and returns
// null) and, with WS_VISIBLE, shows it. An unregistered class gives null.
Hwnd CreateWindowEx(DWORD exStyle, const std::string& className, const rt::Text& windowName,
                    DWORD style, int x, int y, int cx, int cy, Hwnd owner = nullptr,
                    void* param = nullptr);

// Sends WM_DESTROY (owned windows first) then WM_NCDESTROY; kills the window's
// timers, drops its queued messages and releases capture and focus it held.
bool DestroyWindow(Hwnd hwnd);
bool IsWindow(Hwnd hwnd);

// Returns true when the window was visible before. Showing (except SW_SHOWNA,
// SW_SHOWNOACTIVATE and WS_EX_NOACTIVATE windows) activates and focuses the
// window; a shown ordinary window is invalidated (WM_PAINT follows).
bool ShowWindow(Hwnd hwnd, int cmd);
bool IsWindowVisible(Hwnd hwnd);
bool IsZoomed(Hwnd hwnd);
bool IsIconic(Hwnd hwnd);

bool GetWindowRect(Hwnd hwnd, RECT* rect);
// The client area is the whole window: (0, 0, width, height).
bool GetClientRect(Hwnd hwnd, RECT* rect);
bool MoveWindow(Hwnd hwnd, int x, int y, int cx, int cy, bool repaint = true);
bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy, UINT flags);
bool ScreenToClient(Hwnd hwnd, POINT* pt);
bool ClientToScreen(Hwnd hwnd, POINT* pt);

// The title in code page 936 (shown as UTF-8 _NET_WM_NAME and WM_NAME).
// SetWindowText sends WM_SETTEXT; DefWindowProc stores the text.
bool SetWindowText(Hwnd hwnd, const rt::Text& text);
rt::Text GetWindowText(Hwnd hwnd);

// Styles: GWL_STYLE, GWL_EXSTYLE (WS_EX_LAYERED switches the window to
// per-pixel alpha presentation; WS_EX_TOPMOST follows), GWL_USERDATA.
// A style change sends WM_STYLECHANGED.
LPARAM GetWindowLong(Hwnd hwnd, int index);
LPARAM SetWindowLong(Hwnd hwnd, int index, LPARAM value);
std::string GetClassName(Hwnd hwnd);
UINT GetClassStyle(Hwnd hwnd);
// The class icon of a window's class (small: hIconSm), null when none.
Hicon GetClassIcon(Hwnd hwnd, bool small);
Hwnd GetOwner(Hwnd hwnd);

// Replaces the window procedure and returns the previous one (subclassing).
WndProc SetWindowProc(Hwnd hwnd, WndProc proc);
WndProc GetWindowProc(Hwnd hwnd);
// Calls `proc` (DefWindowProc when empty) with the message.
LRESULT CallWindowProc(const WndProc& proc, Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Default processing: WM_CLOSE destroys; WM_SYSCOMMAND minimises, maximises,
// restores, closes, and runs the move (SC_MOVE) and size (SC_SIZE + zone)
// loops; WM_NCLBUTTONDOWN with HTCAPTION starts a move; WM_SETTEXT stores the
// title; WM_GETTEXT copies it (lParam: char buffer, wParam: its size);
// WM_SETCURSOR sets the class cursor; WM_PAINT validates.
LRESULT DefWindowProc(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Named properties: any value, 0 when absent.
bool SetProp(Hwnd hwnd, const std::string& name, std::intptr_t value);
std::intptr_t GetProp(Hwnd hwnd, const std::string& name);
std::intptr_t RemoveProp(Hwnd hwnd, const std::string& name);

// The top-most visible window of this process under a screen point (its
// window region and, for layered windows, fully transparent pixels excluded).
Hwnd WindowFromPoint(POINT pt);
// The desktop work area (_NET_WORKAREA, else the whole screen).
RECT GetWorkArea();
SIZE GetScreenSize();

// Activation and focus. Every window is top level: focusing a window
// activates it (WM_ACTIVATE with the other window in lParam, WM_KILLFOCUS /
// WM_SETFOCUS with the other window in wParam).
bool SetForegroundWindow(Hwnd hwnd);
Hwnd GetForegroundWindow();
bool BringWindowToTop(Hwnd hwnd);
Hwnd SetActiveWindow(Hwnd hwnd);
Hwnd GetActiveWindow();
Hwnd SetFocus(Hwnd hwnd);
Hwnd GetFocus();

// ---------------------------------------------------------------- desktop identity

// The name and class the desktop knows the program's windows by (the X11
// WM_CLASS; a desktop entry's StartupWMClass names the class). Process-wide;
// windows created afterwards carry it, so set it once before the first
// window. Until then both are "seeker". False for an empty name or class.
bool SetApplicationIdentity(const std::string& name, const std::string& className);

// One picture of an icon: straight (not premultiplied) ARGB, alpha in the
// top byte, `width` pixels a row, rows top first.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The pictures, one per size, the desktop picks the window's icon from
// (_NET_WM_ICON; the taskbar, the window switcher); an empty list removes
// them. False for a dead window or a picture whose pixels do not fill its
// size.
bool SetWindowIcon(Hwnd hwnd, const std::vector<IconImage>& images);

// ---------------------------------------------------------------- painting

// Marks an area (null: the whole window) for WM_PAINT. Layered windows get no
// WM_PAINT: they are shown from their last presented canvas.
bool InvalidateRect(Hwnd hwnd, const RECT* rect, bool erase);
bool UpdateWindow(Hwnd hwnd);
bool RedrawWindow(Hwnd hwnd, const RECT* rect, UINT flags);
bool BeginPaint(Hwnd hwnd, PAINTSTRUCT* ps);
bool EndPaint(Hwnd hwnd, const PAINTSTRUCT* ps);

// Shows a premultiplied ARGB32 canvas (a 32-bit little-endian pixel, alpha in
// the top byte; `stride` in bytes) in the window. Canvas pixel (x, y) goes to
// window pixel (x, y). `dirty` limits the copy to a rectangle (null: all).
// A layered window shows the alpha over the desktop under a compositing
// manager; without one its fully transparent pixels are cut away. An
// ordinary window shows the colour as opaque. The caret is drawn over the
// presented picture. The last presented picture is kept: an exposed window is
// repainted from it.
bool Present(Hwnd hwnd, const std::uint32_t* pixels, int stride, int width, int height,
             const RECT* dirty = nullptr);
// The same for the rectangles of `dirty` only (an empty region shows
// nothing): what was redrawn in several places at once reaches the screen
// without the parts between them.
bool Present(Hwnd hwnd, const std::uint32_t* pixels, int stride, int width, int height,
             const Region& dirty);

// Sets (null: removes) the window's shape; pixels outside it are not shown
// and do not take input.
bool SetWindowRgn(Hwnd hwnd, const Region* region, bool redraw = true);

// True when a compositing manager runs (translucent layered windows).
bool IsCompositionEnabled();
// Asks the compositing manager to blur what lies behind `region` (window
// coordinates; null: the whole window); harmless where nothing blurs.
bool EnableBlurBehind(Hwnd hwnd, bool enable, const Region* region);

// ---------------------------------------------------------------- messages

// Waits for a message of this thread (filter: hwnd, message range; 0, 0 =
// all). Returns 0 on WM_QUIT, else a positive value. Order: sent messages are
// handled first, then posted, input, WM_PAINT and WM_TIMER.
int GetMessage(MSG* msg, Hwnd hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0);
bool PeekMessage(MSG* msg, Hwnd hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0,
                 UINT remove = PM_REMOVE);
// Waits until a message is available for this thread.
bool WaitMessage();
// WM_KEYDOWN posts WM_CHAR for the characters the key produced (WM_SYSKEYDOWN
// with Alt: WM_SYSCHAR). A character beyond ASCII arrives as
// WM_IME_COMPOSITION with GCS_RESULTSTR, as an input method commits it
// (WM_CHAR code-page-936 bytes instead when the window's input-method context
// is detached). Returns true when characters were posted.
bool TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
bool PostMessage(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Calls the procedure directly on the window's thread; from another thread it
// waits until that thread has handled the message (0 when the window dies).
LRESULT SendMessage(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// True while the calling thread is inside a procedure called by a SendMessage
// from another thread.
bool InSendMessage();

// ---------------------------------------------------------------- timers and time

// WM_TIMER (wParam = id, lParam = 0) every `elapse` ms, or a call of `proc`.
// Setting an existing (window, id) pair restarts it. Returns the id (non-zero).
std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, UINT elapse, TimerProc proc = {});
bool KillTimer(Hwnd hwnd, std::uintptr_t id);
// Milliseconds since an arbitrary start; wraps after 49.7 days.
DWORD GetTickCount();
void Sleep(DWORD ms);

// ---------------------------------------------------------------- input state

// Negative while the key is down (VK_SHIFT, VK_CONTROL, VK_MENU, the mouse
// buttons and every key the layer has seen); bit 0 toggles with each press.
std::int16_t GetKeyState(int vk);

// The mouse capture: all mouse messages go to the capturing window until
// ReleaseCapture. The window losing it gets WM_CAPTURECHANGED.
Hwnd SetCapture(Hwnd hwnd);
bool ReleaseCapture();
Hwnd GetCapture();

// TME_LEAVE: WM_MOUSELEAVE once the pointer leaves the window (not while the
// window holds the capture). TME_CANCEL | TME_LEAVE disarms.
bool TrackMouseEvent(TRACKMOUSEEVENT* tme);

bool GetCursorPos(POINT* pt);
// A system cursor (IDC_ARROW, IDC_IBEAM, IDC_SIZE*, IDC_HAND ...) shown with
// the theme's name for it; an unknown id gives the arrow.
Hcursor LoadCursor(int id);
// Shows the cursor over this thread's windows; returns the previous one.
Hcursor SetCursor(Hcursor cursor);
Hcursor GetCursor();
int CursorId(Hcursor cursor);

// Double-click time (ms) and the distance (pixels either way) within which a
// second press makes a double click.
UINT GetDoubleClickTime();
int GetDoubleClickDistance();

// ---------------------------------------------------------------- menu grab

// While a menu is open every press and key of the display comes to this
// process: a press outside all of its windows reaches `hwnd` with a point
// outside its client area, and no other program takes the focus. One grab
// at a time; a new one replaces the old. Released by ReleaseInputGrab or
// when the window is destroyed. The mouse capture does not end it.
bool GrabInput(Hwnd hwnd);
void ReleaseInputGrab(Hwnd hwnd);
Hwnd GetInputGrab();

// ---------------------------------------------------------------- caret

// One caret per thread, drawn by the layer over the presented picture of its
// window (colours inverted). It is created hidden; ShowCaret / HideCaret set
// its visibility (they do not count). It does not blink by itself: its owner
// blinks it. The input method's pre-edit spot follows it.
bool CreateCaret(Hwnd hwnd, int width, int height);
bool DestroyCaret();
bool SetCaretPos(int x, int y);
bool GetCaretPos(POINT* pt);
bool ShowCaret(Hwnd hwnd);
bool HideCaret(Hwnd hwnd);

// ---------------------------------------------------------------- tooltip

// Registers a tool: while the pointer rests over `rect` (client coordinates)
// of `hwnd` for the hover delay, a small top-most popup shows `text` near the
// pointer; it hides when the pointer leaves the rectangle, on a press, or
// after the auto-pop time. An existing (hwnd, id) tool is replaced; an empty
// text removes it.
bool SetTooltip(Hwnd hwnd, std::uintptr_t id, const RECT& rect, const rt::Text& text);
bool RemoveTooltip(Hwnd hwnd, std::uintptr_t id);
// The tooltip popup window (null before the first tooltip was shown).
Hwnd GetTooltipWindow();
inline constexpr UINT kTooltipInitialDelay = 500;
inline constexpr UINT kTooltipAutoPop = 5000;

// ---------------------------------------------------------------- clipboard

// Places `text` (code page 936) on the clipboard. False for an empty text
// (clipboard untouched) or when the clipboard cannot be taken.
bool SetClipboardText(const rt::Text& text);
// The clipboard's text in code page 936; empty when there is none.
rt::Text GetClipboardText();
bool IsClipboardTextAvailable();

// ---------------------------------------------------------------- input method

// A window's input-method context (null for a dead window).
Himc ImmGetContext(Hwnd hwnd);
bool ImmReleaseContext(Hwnd hwnd, Himc himc);
// Attaches `himc` (null: detaches the input method) and returns the previous.
Himc ImmAssociateContext(Hwnd hwnd, Himc himc);
// GCS_RESULTSTR: the committed text of the composition message being handled,
// in code page 936. With a null buffer returns the length in bytes; otherwise
// copies at most `size` bytes and returns the count copied.
long ImmGetCompositionString(Himc himc, DWORD index, void* buffer, DWORD size);
rt::Text ImmGetResultString(Himc himc);
// The pre-edit spot in client coordinates (normally the caret's).
bool ImmSetCompositionPos(Himc himc, POINT pt);

// ---------------------------------------------------------------- message box

// A modal window of the layer's own with the caption, the text and an OK
// button; returns IDOK when it closes. The text also goes to standard error.
// Messages of the calling thread keep flowing while it is open.
int MessageBox(Hwnd owner, const rt::Text& text, const rt::Text& caption, UINT type = MB_OK);
// Makes MessageBox the runtime's reporter (rt::SetMessageReporter).
void InstallMessageReporter();

}  // namespace plat
