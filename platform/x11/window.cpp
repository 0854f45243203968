// X windows for the layer's windows: creation with the ARGB visual, window
// manager hints, show/move/raise, present through XShm, the Shape cut of
// transparent pixels and window regions, cursors, the input method spot.
#include "platform/x11/window.h"

#include "platform/x11/grab.h"

#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/core/state.h"
#include "platform/x11/display.h"
#include "platform/x11/ewmh.h"

namespace plat::x11 {

namespace {

std::map<Window, X11Window*>& Registry() {
    static std::map<Window, X11Window*> registry;
    return registry;
}

X11Window* Native(core::WindowRecord& rec) { return static_cast<X11Window*>(rec.native.get()); }

void RemoveFrame(Window w) {
    MotifWmHints hints;
    hints.flags = kMwmHintsDecorations;
    hints.decorations = 0;
    XChangeProperty(X().dpy, w, X().atoms.motifWmHints, X().atoms.motifWmHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

void SetPositionHints(Window w, const RECT& r, POINT minSize = POINT{1, 1}) {
    XSizeHints* hints = XAllocSizeHints();
    // Without USPosition a window manager (openbox) centres the window.
    hints->flags = USPosition | PPosition | USSize | PSize | PMinSize;
    hints->min_width = std::max(1, minSize.x);
    hints->min_height = std::max(1, minSize.y);
    hints->x = r.left;
    hints->y = r.top;
    hints->width = std::max(1, r.width());
    hints->height = std::max(1, r.height());
    XSetWMNormalHints(X().dpy, w, hints);
    XFree(hints);
}

void SendNetWmState(Window w, bool add, Atom a1, Atom a2) {
    SendToManager(w, X().atoms.netWmState, add ? kNetWmStateAdd : kNetWmStateRemove, static_cast<long>(a1),
                  static_cast<long>(a2), kSourceApplication);
}

// The initial _NET_WM_STATE of an unmapped window.
void SetInitialState(Window w, bool above) {
    std::vector<Atom> states;
    if (above) states.push_back(X().atoms.netWmStateAbove);
    XChangeProperty(X().dpy, w, X().atoms.netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
}

unsigned FontCursorOf(int id) {
    switch (id) {
    case IDC_IBEAM: return XC_xterm;
    case IDC_WAIT: return XC_watch;
    case IDC_CROSS: return XC_crosshair;
    case IDC_SIZENWSE: return XC_bottom_right_corner;
    case IDC_SIZENESW: return XC_bottom_left_corner;
    case IDC_SIZEWE: return XC_sb_h_double_arrow;
    case IDC_SIZENS: return XC_sb_v_double_arrow;
    case IDC_SIZEALL: return XC_fleur;
    case IDC_HAND: return XC_hand2;
    default: return XC_left_ptr;
    }
}

Cursor CursorFor(int id) {
    static std::map<int, Cursor> cursors;
    auto it = cursors.find(id);
    if (it != cursors.end()) return it->second;
    Cursor c;
    if (id == 0) {
        // A hidden cursor: an empty bitmap.
        char bits = 0;
        Pixmap p = XCreateBitmapFromData(X().dpy, X().root, &bits, 1, 1);
        XColor black{};
        c = XCreatePixmapCursor(X().dpy, p, p, &black, &black, 0, 0);
        XFreePixmap(X().dpy, p);
    } else {
        c = XCreateFontCursor(X().dpy, FontCursorOf(id));
    }
    cursors[id] = c;
    return c;
}

// Whether a row has a pixel of alpha 0; four pixels at a time where SSE2 is there.
bool HasTransparentPixel(const std::uint32_t* row, int width) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i zero = _mm_setzero_si128();
    __m128i any = zero;
    for (; x + 4 <= width; x += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        any = _mm_or_si128(any, _mm_cmpeq_epi32(_mm_and_si128(v, alpha), zero));
    }
    if (_mm_movemask_epi8(any) != 0) return true;
#endif
    for (; x < width; ++x)
        if ((row[x] & 0xFF000000u) == 0) return true;
    return false;
}

// Opaque runs of one row of the kept picture, into `runs`.
void RowRuns(const core::WindowRecord& rec, int y, std::vector<std::pair<int, int>>& runs) {
    runs.clear();
    const std::uint32_t* row = rec.picture.data() + static_cast<std::size_t>(y) * rec.picWidth;
    int width = rec.picWidth;
    // Most rows have no transparent pixel; this test vectorises.
    if (!HasTransparentPixel(row, width)) {
        runs.emplace_back(0, width);
        return;
    }
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] >> 24) == 0) ++x;
        int start = x;
        while (x < width && (row[x] >> 24) != 0) ++x;
        if (x > start) runs.emplace_back(start, x);
    }
}

bool CutsTransparency(const core::WindowRecord& rec, bool composited) {
    // Without a compositor nothing blends: transparent pixels would show
    // black (or the picture over black on a depth-24 visual).
    return (rec.exStyle & WS_EX_LAYERED) && (!composited || !X().argb) && X().shape;
}

// Applies the window's bounding shape: its region, intersected with the
// opaque pixels when transparency is cut. `rows` limits the rows re-read.
void UpdateShape(core::WindowRecord& rec, X11Window& n, int rowFrom, int rowTo, bool force) {
    if (!X().shape || n.window == 0) return;
    bool composited = X().Composited();
    bool cut = CutsTransparency(rec, composited) && rec.picWidth > 0;
    if (composited != n.lastComposited) {
        force = true;
        n.lastComposited = composited;
    }
    bool changed = force;
    if (cut) {
        if (static_cast<int>(n.runs.size()) != rec.picHeight) {
            n.runs.assign(static_cast<std::size_t>(rec.picHeight), {});
            rowFrom = 0;
            rowTo = rec.picHeight;
            changed = true;
        }
        std::vector<std::pair<int, int>> scratch;
        for (int y = std::max(0, rowFrom); y < std::min(rowTo, rec.picHeight); ++y) {
            RowRuns(rec, y, scratch);
            if (scratch != n.runs[y]) {
                n.runs[y].swap(scratch);
                changed = true;
            }
        }
    } else if (!n.runs.empty()) {
        n.runs.clear();
        changed = true;
    }
    if (!changed) return;
    if (!cut && !rec.hasRegion) {
        if (n.shaped) XShapeCombineMask(X().dpy, n.window, ShapeBounding, 0, 0, None, ShapeSet);
        n.shaped = false;
        return;
    }
    std::vector<XRectangle> rects;
    auto add = [&](int l, int t, int r, int b) {
        if (r > l && b > t)
            rects.push_back(XRectangle{static_cast<short>(l), static_cast<short>(t), static_cast<unsigned short>(r - l),
                                       static_cast<unsigned short>(b - t)});
    };
    if (cut) {
        for (int y = 0; y < rec.picHeight; ++y) {
            for (auto [l, r] : n.runs[y]) {
                if (!rec.hasRegion) {
                    add(l, y, r, y + 1);
                    continue;
                }
                for (const RECT& g : rec.region.rects)
                    if (y >= g.top && y < g.bottom) add(std::max(l, g.left), y, std::min(r, g.right), y + 1);
            }
        }
    } else {
        for (const RECT& g : rec.region.rects) add(g.left, g.top, g.right, g.bottom);
    }
    XShapeCombineRectangles(X().dpy, n.window, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                            ShapeSet, Unsorted);
    n.shaped = true;
}

}  // namespace

void CancelMoveResize(X11Window& n) {
    n.moveResizePending = false;
    if (n.window == 0) return;
    SendToManager(n.window, X().atoms.netWmMoveResize, 0, 0, static_cast<long>(MoveResizeDirection::Cancel), Button1,
                  kSourceApplication);
    XFlush(X().dpy);
}

X11Window* NativeOfX(Window w) {
    auto& reg = Registry();
    auto it = reg.find(w);
    return it == reg.end() ? nullptr : it->second;
}

PixelImage::~PixelImage() { Release(); }

void PixelImage::Release() {
    std::lock_guard lk(X().mu);
    if (image_ != nullptr) {
        if (usesShm_) XShmDetach(X().dpy, &shmInfo_);
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
    }
    if (usesShm_) {
        shmdt(shmInfo_.shmaddr);
        usesShm_ = false;
    }
    plain_.clear();
    data_ = nullptr;
    width_ = height_ = 0;
}

bool PixelImage::Ensure(int width, int height) {
    if (width == width_ && height == height_ && data_ != nullptr) return true;
    Release();
    std::lock_guard lk(X().mu);
    if (!X().ok() || width <= 0 || height <= 0) return false;
    auto bytes = static_cast<std::size_t>(width) * height * 4;
    if (X().shm) {
        image_ = XShmCreateImage(X().dpy, X().visual, static_cast<unsigned>(X().depth), ZPixmap, nullptr, &shmInfo_,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image_ != nullptr && image_->bytes_per_line == width * 4) {
            shmInfo_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
            if (shmInfo_.shmid >= 0) {
                shmInfo_.shmaddr = static_cast<char*>(shmat(shmInfo_.shmid, nullptr, 0));
                shmInfo_.readOnly = False;
                if (shmInfo_.shmaddr != reinterpret_cast<char*>(-1)) {
                    X().Trap();
                    XShmAttach(X().dpy, &shmInfo_);
                    bool attached = X().Untrap();
                    // The segment goes away with its last user.
                    shmctl(shmInfo_.shmid, IPC_RMID, nullptr);
                    if (attached) {
                        image_->data = shmInfo_.shmaddr;
                        usesShm_ = true;
                    } else {
                        shmdt(shmInfo_.shmaddr);
                    }
                } else {
                    shmctl(shmInfo_.shmid, IPC_RMID, nullptr);
                }
            }
        }
        if (!usesShm_ && image_ != nullptr) {
            image_->data = nullptr;
            XDestroyImage(image_);
            image_ = nullptr;
        }
    }
    if (!usesShm_) {
        plain_.assign(static_cast<std::size_t>(width) * height, 0);
        image_ = XCreateImage(X().dpy, X().visual, static_cast<unsigned>(X().depth), ZPixmap, 0,
                              reinterpret_cast<char*>(plain_.data()), static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 32, width * 4);
        if (image_ == nullptr) return false;
        data_ = plain_.data();
    } else {
        data_ = reinterpret_cast<std::uint32_t*>(shmInfo_.shmaddr);
        std::memset(data_, 0, bytes);
    }
    width_ = width;
    height_ = height;
    return true;
}

void PixelImage::Put(Drawable target, GC gc, int x, int y, int w, int h) {
    if (image_ == nullptr) return;
    if (usesShm_) XShmPutImage(X().dpy, target, gc, image_, x, y, x, y, static_cast<unsigned>(w),
                               static_cast<unsigned>(h), False);
    else XPutImage(X().dpy, target, gc, image_, x, y, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
}

X11Window::~X11Window() {
    std::lock_guard lk(X().mu);
    if (!X().ok() || window == 0) return;
    Registry().erase(window);
    if (ic != nullptr) XDestroyIC(ic);
    if (gc != nullptr) XFreeGC(X().dpy, gc);
    XDestroyWindow(X().dpy, window);
    XFlush(X().dpy);
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

std::unique_ptr<NativeWindow> CreateNative(WindowRecord& rec) {
    auto n = std::make_unique<X11Window>();
    n->hwnd = rec.handle;
    std::lock_guard lk(X().mu);
    if (!X().ok()) return n;
    ::Display* dpy = X().dpy;
    // Tooltips and tool windows (menus) are placed by the layer itself and
    // stay out of the window manager's way.
    n->overrideRedirect = rec.internalNoActivate || (rec.exStyle & WS_EX_TOOLWINDOW);
    XSetWindowAttributes a{};
    a.colormap = X().colormap;
    a.border_pixel = 0;
    a.background_pixel = 0;
    a.bit_gravity = NorthWestGravity;
    a.override_redirect = n->overrideRedirect ? True : False;
    a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                   LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask |
                   PropertyChangeMask;
    unsigned long mask = CWColormap | CWBorderPixel | CWBackPixel | CWBitGravity | CWOverrideRedirect | CWEventMask;
    RECT r = rec.rect;
    n->window = XCreateWindow(dpy, X().root, r.left, r.top, static_cast<unsigned>(std::max(1, r.width())),
                              static_cast<unsigned>(std::max(1, r.height())), 0, X().depth, InputOutput, X().visual,
                              mask, &a);
    // A GC of the window's own depth (the default GC would not match depth 32).
    n->gc = XCreateGC(dpy, n->window, 0, nullptr);
    Registry()[n->window] = n.get();

    Atom protocols[] = {X().atoms.wmDeleteWindow, X().atoms.netWmPing};
    XSetWMProtocols(dpy, n->window, protocols, 2);
    RemoveFrame(n->window);
    SetPositionHints(n->window, r);
    XClassHint* cls = XAllocClassHint();
    std::string name = "seeker";
    cls->res_name = name.data();
    cls->res_class = name.data();
    XSetClassHint(dpy, n->window, cls);
    XFree(cls);
    long pid = getpid();
    XChangeProperty(dpy, n->window, X().atoms.netWmPid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    Atom type = rec.internalNoActivate ? X().atoms.netWmWindowTypeTooltip
                : (rec.exStyle & WS_EX_TOOLWINDOW) ? X().atoms.netWmWindowTypePopupMenu
                                                   : X().atoms.netWmWindowTypeNormal;
    XChangeProperty(dpy, n->window, X().atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);
    SetInitialState(n->window, (rec.exStyle & WS_EX_TOPMOST) != 0);
    XWMHints* wm = XAllocWMHints();
    wm->flags = InputHint | StateHint;
    wm->input = rec.internalNoActivate ? False : True;
    wm->initial_state = NormalState;
    XSetWMHints(dpy, n->window, wm);
    XFree(wm);
    if (WindowRecord* owner = Find(rec.owner)) {
        if (auto* on = static_cast<X11Window*>(owner->native.get()); on != nullptr && on->window != 0)
            XSetTransientForHint(dpy, n->window, on->window);
    }
    if (X().im != nullptr && !rec.internalNoActivate) {
        // Some methods refuse a style they list (position pre-edit without a
        // font set): take the first that gives a context.
        for (XIMStyle style : X().imStyles) {
            if (style & XIMPreeditPosition) {
                XPoint spot{0, 0};
                XVaNestedList list = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
                n->ic = XCreateIC(X().im, XNInputStyle, style, XNClientWindow, n->window, XNFocusWindow, n->window,
                                  XNPreeditAttributes, list, nullptr);
                XFree(list);
            } else {
                n->ic = XCreateIC(X().im, XNInputStyle, style, XNClientWindow, n->window, XNFocusWindow, n->window,
                                  nullptr);
            }
            if (n->ic != nullptr) {
                n->icStyle = style;
                break;
            }
        }
        if (n->ic != nullptr) {
            long filter = 0;
            if (XGetICValues(n->ic, XNFilterEvents, &filter, nullptr) == nullptr && filter != 0)
                XSelectInput(dpy, n->window, a.event_mask | filter);
        }
    }
    XFlush(dpy);
    return n;
}

void Show(WindowRecord& rec, bool show, bool activate) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    ::Display* dpy = X().dpy;
    if (show) {
        SetPositionHints(n->window, rec.rect);
        XMapRaised(dpy, n->window);
        // Mapping may not keep the position a window manager chose; ours wins.
        XMoveWindow(dpy, n->window, rec.rect.left, rec.rect.top);
        n->mapped = true;
        if (activate && n->overrideRedirect) {
            X().Trap();
            XSetInputFocus(dpy, n->window, RevertToParent, CurrentTime);
            X().Untrap();
        }
    } else {
        if (n->overrideRedirect || !X().WindowManager()) XUnmapWindow(dpy, n->window);
        else XWithdrawWindow(dpy, n->window, X().screen);
        n->mapped = false;
    }
    XFlush(dpy);
}

void SetGeometry(WindowRecord& rec, const RECT& r) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    SetPositionHints(n->window, r);
    XMoveResizeWindow(X().dpy, n->window, r.left, r.top, static_cast<unsigned>(std::max(1, r.width())),
                      static_cast<unsigned>(std::max(1, r.height())));
    XFlush(X().dpy);
}

void SetTitle(WindowRecord& rec, const std::string& utf8) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    ::Display* dpy = X().dpy;
    XChangeProperty(dpy, n->window, X().atoms.netWmName, X().atoms.utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    XTextProperty prop{};
    char* list[] = {const_cast<char*>(utf8.c_str())};
    if (Xutf8TextListToTextProperty(dpy, list, 1, XStdICCTextStyle, &prop) >= Success) {
        XSetWMName(dpy, n->window, &prop);
        XFree(prop.value);
    }
    XFlush(dpy);
}

void StyleChanged(WindowRecord& rec) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    bool above = (rec.exStyle & WS_EX_TOPMOST) != 0;
    if (n->mapped && !n->overrideRedirect && X().WindowManager())
        SendNetWmState(n->window, above, X().atoms.netWmStateAbove, 0);
    else
        SetInitialState(n->window, above);
    if (above && n->mapped) XRaiseWindow(X().dpy, n->window);
    UpdateShape(rec, *n, 0, rec.picHeight, true);
    XFlush(X().dpy);
}

void Raise(WindowRecord& rec) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    XRaiseWindow(X().dpy, n->window);
    XFlush(X().dpy);
}

void Activate(WindowRecord& rec) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0 || !n->mapped) return;
    ::Display* dpy = X().dpy;
    if (!n->overrideRedirect && X().WindowManager()) {
        SendToManager(n->window, X().atoms.netActiveWindow, kSourceApplication, static_cast<long>(X().lastTime));
    } else {
        X().Trap();
        XSetInputFocus(dpy, n->window, RevertToParent, CurrentTime);
        X().Untrap();
    }
    XFlush(dpy);
}

void Iconify(WindowRecord& rec) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    if (X().WindowManager() && !n->overrideRedirect) XIconifyWindow(X().dpy, n->window, X().screen);
    else XUnmapWindow(X().dpy, n->window);  // nobody would keep an icon: just hide it
    XFlush(X().dpy);
}

void SetMaximized(WindowRecord& rec, bool maximized, const RECT&) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0 || n->overrideRedirect || !X().WindowManager()) return;
    SendNetWmState(n->window, maximized, X().atoms.netWmStateMaxV, X().atoms.netWmStateMaxH);
    XFlush(X().dpy);
}

bool StartSystemMoveSize(WindowRecord& rec, int zone, POINT cursor, POINT minSize) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0 || n->overrideRedirect || !X().Supports(X().atoms.netWmMoveResize))
        return false;
    SetPositionHints(n->window, rec.rect, minSize);
    using enum MoveResizeDirection;
    static const MoveResizeDirection directions[] = {Move,       SizeLeft,    SizeRight,      SizeTop,        SizeTopLeft,
                                                     SizeTopRight, SizeBottom, SizeBottomLeft, SizeBottomRight};
    // The press holds an implicit grab that would keep the pointer from the manager.
    XUngrabPointer(X().dpy, CurrentTime);
    SendToManager(n->window, X().atoms.netWmMoveResize, cursor.x, cursor.y,
                  static_cast<long>(directions[zone >= 0 && zone <= 8 ? zone : 0]), Button1, kSourceApplication);
    XFlush(X().dpy);
    // Should the release reach us before the manager grabs the pointer, the
    // manager would wait for one forever: the release cancels the request.
    n->moveResizePending = true;
    return true;
}

bool LeftButtonHeld() {
    std::lock_guard lk(X().mu);
    if (!X().ok()) return false;
    Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(X().dpy, X().root, &root, &child, &rx, &ry, &wx, &wy, &mask);
    return (mask & Button1Mask) != 0;
}

void GrabPointer(WindowRecord& rec, bool grab) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    if (grab && n->mapped)
        XGrabPointer(X().dpy, n->window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    else if (!grab && !RestoreMenuGrab())
        XUngrabPointer(X().dpy, CurrentTime);
    XFlush(X().dpy);
}

std::uint32_t* DisplayBuffer(WindowRecord& rec, int width, int height, int* strideBytes) {
    X11Window* n = Native(rec);
    if (n == nullptr || !n->image.Ensure(width, height)) return nullptr;
    *strideBytes = n->image.stride();
    return n->image.data();
}

void Push(WindowRecord& rec, const RECT& rect) {
    X11Window* n = Native(rec);
    if (n == nullptr || n->image.data() == nullptr) return;
    std::lock_guard lk(X().mu);
    if (n->window == 0) return;
    // An ordinary window is opaque: its alpha must not let a compositor
    // blend it.
    if (!(rec.exStyle & WS_EX_LAYERED) && X().argb) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            std::uint32_t* row = n->image.data() + static_cast<std::size_t>(y) * n->image.width();
            for (int x = rect.left; x < rect.right; ++x) row[x] |= 0xFF000000u;
        }
    }
    UpdateShape(rec, *n, rect.top, rect.bottom, false);
    n->image.Put(n->window, n->gc, rect.left, rect.top, rect.width(), rect.height());
    // The image memory is reused by the next present: wait until the server has it.
    XSync(X().dpy, False);
    if (XEventsQueued(X().dpy, QueuedAlready) > 0) X().Kick();
}

void ShapeChanged(WindowRecord& rec) {
    X11Window* n = Native(rec);
    if (n == nullptr) return;
    std::lock_guard lk(X().mu);
    UpdateShape(rec, *n, 0, rec.picHeight, true);
    XFlush(X().dpy);
}

void SetBlurBehind(WindowRecord& rec) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0) return;
    if (!rec.blur) {
        XDeleteProperty(X().dpy, n->window, X().atoms.kdeBlurBehind);
    } else {
        std::vector<long> v;
        for (const RECT& r : rec.blurRegion.rects) {
            v.push_back(r.left);
            v.push_back(r.top);
            v.push_back(r.width());
            v.push_back(r.height());
        }
        XChangeProperty(X().dpy, n->window, X().atoms.kdeBlurBehind, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(v.data()), static_cast<int>(v.size()));
    }
    XFlush(X().dpy);
}

bool Composited() { return X().Composited(); }

void SetCursorShape(WindowRecord* rec, int cursorId) {
    if (rec == nullptr) return;
    X11Window* n = Native(*rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->window == 0 || n->cursorId == cursorId) return;
    n->cursorId = cursorId;
    XDefineCursor(X().dpy, n->window, CursorFor(cursorId));
    XFlush(X().dpy);
}

POINT CursorPos() {
    std::lock_guard lk(X().mu);
    if (!X().ok()) return POINT{};
    Window r, c;
    int rx = 0, ry = 0, wx, wy;
    unsigned m;
    XQueryPointer(X().dpy, X().root, &r, &c, &rx, &ry, &wx, &wy, &m);
    return POINT{rx, ry};
}

RECT WorkArea() { return X().WorkArea(); }

SIZE ScreenSize() {
    std::lock_guard lk(X().mu);
    if (!X().ok()) return SIZE{1024, 768};
    return SIZE{DisplayWidth(X().dpy, X().screen), DisplayHeight(X().dpy, X().screen)};
}

void ImeFocus(WindowRecord& rec, bool focused) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->ic == nullptr) return;
    if (focused) XSetICFocus(n->ic);
    else XUnsetICFocus(n->ic);
}

void ImeSpot(WindowRecord& rec, POINT spot) {
    X11Window* n = Native(rec);
    std::lock_guard lk(X().mu);
    if (n == nullptr || n->ic == nullptr || !(n->icStyle & XIMPreeditPosition)) return;
    XPoint p{static_cast<short>(spot.x), static_cast<short>(spot.y)};
    XVaNestedList list = XVaCreateNestedList(0, XNSpotLocation, &p, nullptr);
    XSetICValues(n->ic, XNPreeditAttributes, list, nullptr);
    XFree(list);
}

std::uint64_t NowMs() { return MonotonicMs(); }

void SleepMs(std::uint32_t ms) { usleep(static_cast<useconds_t>(ms) * 1000); }

bool MessageBoxAutoClose() { return !X().ok(); }

void MessageBoxShown(const rt::Text&, const rt::Text&) {}

}  // namespace plat::core::backend
