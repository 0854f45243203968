// X windows for the layer's windows: creation with the ARGB visual, window
// manager hints, show/move/raise, maximise and minimise, the system move,
// icons, blur hints and the input method spot. Present and shape live in
// present.cpp and shape.cpp, the pointer's shapes in cursors.cpp.
#include "platform/x11/window.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "platform/x11/ewmh.h"
#include "platform/x11/grab.h"
#include "platform/x11/shape.h"

namespace plat::x11 {

namespace {

std::map<Window, X11Window*>& Registry() {
    static std::map<Window, X11Window*> registry;
    return registry;
}

MoveResizeDirection DirectionOf(ResizeZone zone) {
    using enum MoveResizeDirection;
    switch (zone) {
    case ResizeZone::Left: return SizeLeft;
    case ResizeZone::Right: return SizeRight;
    case ResizeZone::Top: return SizeTop;
    case ResizeZone::TopLeft: return SizeTopLeft;
    case ResizeZone::TopRight: return SizeTopRight;
    case ResizeZone::Bottom: return SizeBottom;
    case ResizeZone::BottomLeft: return SizeBottomLeft;
    case ResizeZone::BottomRight: return SizeBottomRight;
    default: return Move;
    }
}

void RemoveFrame(Window w) {
    Display& x = XConnection();
    MotifWmHints hints;
    hints.flags = kMwmHintsDecorations;
    hints.decorations = 0;
    XChangeProperty(x.dpy, w, x.atoms.motifWmHints, x.atoms.motifWmHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

void SetPositionHints(Window w, const RECT& r, POINT minSize = POINT{1, 1}) {
    Display& x = XConnection();
    XSizeHints* hints = XAllocSizeHints();
    // Without USPosition a window manager (openbox) centres the window.
    hints->flags = USPosition | PPosition | USSize | PSize | PMinSize;
    hints->min_width = std::max(1, minSize.x);
    hints->min_height = std::max(1, minSize.y);
    hints->x = r.left;
    hints->y = r.top;
    hints->width = std::max(1, r.width());
    hints->height = std::max(1, r.height());
    XSetWMNormalHints(x.dpy, w, hints);
    XFree(hints);
}

void SendNetWmState(Window w, bool add, Atom a1, Atom a2) {
    Display& x = XConnection();
    SendToManager(w, x.atoms.netWmState, add ? kNetWmStateAdd : kNetWmStateRemove,
                  static_cast<long>(a1), static_cast<long>(a2), kSourceApplication);
}

// The initial _NET_WM_STATE of an unmapped window.
void SetInitialState(Window w, bool above) {
    Display& x = XConnection();
    std::vector<Atom> states;
    if (above) states.push_back(x.atoms.netWmStateAbove);
    XChangeProperty(x.dpy, w, x.atoms.netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()),
                    static_cast<int>(states.size()));
}

}  // namespace

void CancelMoveResize(X11Window& n) {
    Display& x = XConnection();
    n.moveResizePending = false;
    if (n.window == 0) return;
    SendToManager(n.window, x.atoms.netWmMoveResize, 0, 0,
                  static_cast<long>(MoveResizeDirection::Cancel), Button1, kSourceApplication);
    XFlush(x.dpy);
}

X11Window* NativeOfX(Window w) {
    auto& reg = Registry();
    auto it = reg.find(w);
    return it == reg.end() ? nullptr : it->second;
}

X11Window::~X11Window() {
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    if (!x.Ok() || window == 0) return;
    Registry().erase(window);
    if (ic != nullptr) XDestroyIC(ic);
    if (gc != nullptr) XFreeGC(x.dpy, gc);
    XDestroyWindow(x.dpy, window);
    XFlush(x.dpy);
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

std::unique_ptr<NativeWindow> CreateNative(WindowRecord& rec) {
    Display& x = XConnection();
    auto n = std::make_unique<X11Window>();
    n->hwnd = rec.handle;
    std::lock_guard lk(x.mu);
    if (!x.Ok()) return nullptr;
    ::Display* dpy = x.dpy;
    // Tooltips and tool windows (menus) are placed by the layer itself and
    // stay out of the window manager's way.
    n->overrideRedirect = rec.internalNoActivate || (rec.exStyle & WS_EX_TOOLWINDOW);
    XSetWindowAttributes a{};
    a.colormap = x.colormap;
    a.border_pixel = 0;
    a.background_pixel = 0;
    a.bit_gravity = NorthWestGravity;
    a.override_redirect = n->overrideRedirect ? True : False;
    a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                   EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                   FocusChangeMask | StructureNotifyMask | PropertyChangeMask;
    unsigned long mask =
        CWColormap | CWBorderPixel | CWBackPixel | CWBitGravity | CWOverrideRedirect | CWEventMask;
    RECT r = rec.rect;
    n->window =
        XCreateWindow(dpy, x.root, r.left, r.top, static_cast<unsigned>(std::max(1, r.width())),
                      static_cast<unsigned>(std::max(1, r.height())), 0, x.depth, InputOutput,
                      x.visual, mask, &a);
    // A GC of the window's own depth (the default GC would not match depth 32).
    n->gc = XCreateGC(dpy, n->window, 0, nullptr);
    Registry()[n->window] = n.get();

    Atom protocols[] = {x.atoms.wmDeleteWindow, x.atoms.netWmPing};
    XSetWMProtocols(dpy, n->window, protocols, 2);
    RemoveFrame(n->window);
    SetPositionHints(n->window, r);
    XClassHint* cls = XAllocClassHint();
    std::string name = CoreState().appName;
    std::string className = CoreState().appClass;
    cls->res_name = name.data();
    cls->res_class = className.data();
    XSetClassHint(dpy, n->window, cls);
    XFree(cls);
    long pid = getpid();
    XChangeProperty(dpy, n->window, x.atoms.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    // The process number means something only with the machine it runs on.
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        XTextProperty machine{};
        char* hostList[] = {host};
        if (XStringListToTextProperty(hostList, 1, &machine) != 0) {
            XSetWMClientMachine(dpy, n->window, &machine);
            XFree(machine.value);
        }
    }
    Atom type = rec.internalNoActivate             ? x.atoms.netWmWindowTypeTooltip
                : (rec.exStyle & WS_EX_TOOLWINDOW) ? x.atoms.netWmWindowTypePopupMenu
                                                   : x.atoms.netWmWindowTypeNormal;
    XChangeProperty(dpy, n->window, x.atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
    SetInitialState(n->window, (rec.exStyle & WS_EX_TOPMOST) != 0);
    XWMHints* wm = XAllocWMHints();
    wm->flags = InputHint | StateHint;
    wm->input = rec.internalNoActivate ? False : True;
    wm->initial_state = NormalState;
    XSetWMHints(dpy, n->window, wm);
    XFree(wm);
    if (WindowRecord* owner = Find(rec.owner)) {
        if (auto* on = static_cast<X11Window*>(owner->native.get());
            on != nullptr && on->window != 0)
            XSetTransientForHint(dpy, n->window, on->window);
    }
    // The input context comes with the window's first key (input_context.cpp).
    n->takesText = !rec.internalNoActivate;
    n->eventMask = a.event_mask;
    XFlush(dpy);
    return n;
}

void Show(WindowRecord& rec, bool show, bool activate) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        if (show) {
            SetPositionHints(n.window, rec.rect);
            XMapRaised(x.dpy, n.window);
            // Mapping may not keep the position a window manager chose; ours wins.
            XMoveWindow(x.dpy, n.window, rec.rect.left, rec.rect.top);
            n.mapped = true;
            if (activate && n.overrideRedirect) {
                x.Trap();
                XSetInputFocus(x.dpy, n.window, RevertToParent, CurrentTime);
                x.Untrap();
            }
        } else {
            if (n.overrideRedirect || !x.WindowManager()) XUnmapWindow(x.dpy, n.window);
            else XWithdrawWindow(x.dpy, n.window, x.screen);
            n.mapped = false;
        }
        XFlush(x.dpy);
    });
}

void SetGeometry(WindowRecord& rec, const RECT& r) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        SetPositionHints(n.window, r);
        XMoveResizeWindow(x.dpy, n.window, r.left, r.top,
                          static_cast<unsigned>(std::max(1, r.width())),
                          static_cast<unsigned>(std::max(1, r.height())));
        XFlush(x.dpy);
    });
}

void SetTitle(WindowRecord& rec, const std::string& utf8) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        XChangeProperty(x.dpy, n.window, x.atoms.netWmName, x.atoms.utf8String, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(utf8.data()),
                        static_cast<int>(utf8.size()));
        XTextProperty prop{};
        char* list[] = {const_cast<char*>(utf8.c_str())};
        if (Xutf8TextListToTextProperty(x.dpy, list, 1, XStdICCTextStyle, &prop) >= Success) {
            XSetWMName(x.dpy, n.window, &prop);
            XFree(prop.value);
        }
        XFlush(x.dpy);
    });
}

void StyleChanged(WindowRecord& rec) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        bool above = (rec.exStyle & WS_EX_TOPMOST) != 0;
        if (n.mapped && !n.overrideRedirect && x.WindowManager())
            SendNetWmState(n.window, above, x.atoms.netWmStateAbove, 0);
        else SetInitialState(n.window, above);
        if (above && n.mapped) XRaiseWindow(x.dpy, n.window);
        UpdateShape(rec, n, RECT{0, 0, rec.picWidth, rec.picHeight}, true);
        XFlush(x.dpy);
    });
}

void Raise(WindowRecord& rec) {
    WithXWindow(rec, [](X11Window& n, Display& x) {
        XRaiseWindow(x.dpy, n.window);
        XFlush(x.dpy);
    });
}

void Activate(WindowRecord& rec) {
    WithXWindow(rec, [](X11Window& n, Display& x) {
        if (!n.mapped) return;
        if (!n.overrideRedirect && x.WindowManager()) {
            SendToManager(n.window, x.atoms.netActiveWindow, kSourceApplication,
                          static_cast<long>(x.lastTime));
        } else {
            x.Trap();
            XSetInputFocus(x.dpy, n.window, RevertToParent, CurrentTime);
            x.Untrap();
        }
        XFlush(x.dpy);
    });
}

void Iconify(WindowRecord& rec) {
    WithXWindow(rec, [](X11Window& n, Display& x) {
        if (x.WindowManager() && !n.overrideRedirect) XIconifyWindow(x.dpy, n.window, x.screen);
        else XUnmapWindow(x.dpy, n.window);  // nobody would keep an icon: just hide it
        XFlush(x.dpy);
    });
}

void SetMaximized(WindowRecord& rec, bool maximized, const RECT&) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        if (n.overrideRedirect || !x.WindowManager()) return;
        SendNetWmState(n.window, maximized, x.atoms.netWmStateMaxV, x.atoms.netWmStateMaxH);
        XFlush(x.dpy);
    });
}

bool StartSystemMoveSize(WindowRecord& rec, ResizeZone zone, POINT cursor, POINT minSize) {
    return WithXWindow(rec, false, [&](X11Window& n, Display& x) {
        if (n.overrideRedirect || !x.Supports(x.atoms.netWmMoveResize)) return false;
        SetPositionHints(n.window, rec.rect, minSize);
        // The press holds an implicit grab that would keep the pointer from the manager.
        XUngrabPointer(x.dpy, CurrentTime);
        SendToManager(n.window, x.atoms.netWmMoveResize, cursor.x, cursor.y,
                      static_cast<long>(DirectionOf(zone)), Button1, kSourceApplication);
        XFlush(x.dpy);
        // Should the release reach us before the manager grabs the pointer,
        // the manager would wait for one forever: the release cancels it.
        n.moveResizePending = true;
        return true;
    });
}

bool LeftButtonHeld() {
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    if (!x.Ok()) return false;
    Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(x.dpy, x.root, &root, &child, &rx, &ry, &wx, &wy, &mask);
    return (mask & Button1Mask) != 0;
}

void GrabPointer(WindowRecord& rec, bool grab) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        if (grab && n.mapped)
            XGrabPointer(x.dpy, n.window, False,
                         ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                         GrabModeAsync, None, None, CurrentTime);
        else if (!grab && !RestoreMenuGrab()) XUngrabPointer(x.dpy, CurrentTime);
        XFlush(x.dpy);
    });
}

void SetIcons(WindowRecord& rec) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        if (rec.icons.empty()) {
            XDeleteProperty(x.dpy, n.window, x.atoms.netWmIcon);
        } else {
            // Width, height and the pixels of each picture; Xlib takes
            // 32-bit property items as longs.
            std::vector<long> items;
            for (const IconImage& image : rec.icons) {
                items.push_back(image.width);
                items.push_back(image.height);
                for (std::uint32_t p : image.pixels) items.push_back(static_cast<long>(p));
            }
            XChangeProperty(x.dpy, n.window, x.atoms.netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(items.data()),
                            static_cast<int>(items.size()));
        }
        XFlush(x.dpy);
    });
}

void SetBlurBehind(WindowRecord& rec) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        if (!rec.blur) {
            XDeleteProperty(x.dpy, n.window, x.atoms.kdeBlurBehind);
        } else {
            std::vector<long> v;
            for (const RECT& r : rec.blurRegion.rects) {
                v.push_back(r.left);
                v.push_back(r.top);
                v.push_back(r.width());
                v.push_back(r.height());
            }
            XChangeProperty(x.dpy, n.window, x.atoms.kdeBlurBehind, XA_CARDINAL, 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(v.data()),
                            static_cast<int>(v.size()));
        }
        XFlush(x.dpy);
    });
}

RECT WorkArea() { return XConnection().WorkArea(); }

SIZE ScreenSize() {
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    if (!x.Ok()) return SIZE{1024, 768};
    return SIZE{DisplayWidth(x.dpy, x.screen), DisplayHeight(x.dpy, x.screen)};
}

std::uint64_t NowMs() { return MonotonicMs(); }

void SleepMs(std::uint32_t ms) { usleep(static_cast<useconds_t>(ms) * 1000); }

bool MessageBoxAutoClose() { return !XConnection().Ok(); }

void MessageBoxShown(const rt::Text&, const rt::Text&) {}

}  // namespace plat::core::backend
