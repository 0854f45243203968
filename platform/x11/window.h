// The X side of one window: the X window, its GC, the shared-memory image
// that holds what is shown, the input context and the shape last applied.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/core/backend.h"
#include "platform/core/state.h"
#include "platform/x11/display.h"
#include "platform/x11/pixel_image.h"

namespace plat::x11 {

struct X11Window : core::NativeWindow {
    ~X11Window() override;

    Hwnd hwnd = nullptr;
    Window window = 0;
    GC gc = nullptr;
    long eventMask = 0;  // what the window asked of the server
    // The input context, made when the first key reaches a window that takes
    // text; the focus and spot the layer gave it meanwhile.
    bool takesText = false;
    bool icTried = false;
    XIC ic = nullptr;
    XIMStyle icStyle = 0;
    bool icFocused = false;
    XPoint icSpot{0, 0};
    bool overrideRedirect = false;
    bool mapped = false;  // as requested by the layer
    PixelImage image;
    // Shape: rows of opaque runs of the kept picture, and whether a shape is set.
    std::vector<std::vector<std::pair<int, int>>> runs;
    bool shaped = false;
    bool lastComposited = false;
    int cursorId = -1;
    // A _NET_WM_MOVERESIZE was sent for the press now held.
    bool moveResizePending = false;
};

// Ends a _NET_WM_MOVERESIZE the manager may have started after the button
// was released already. Needs XConnection().mu.
void CancelMoveResize(X11Window& n);

// The window of an X id (null when none of ours); needs XConnection().mu.
X11Window* NativeOfX(Window w);

// Makes the window's input context unless it has one or was refused one;
// the input method opens with the first. Needs XConnection().mu.
void EnsureInputContext(X11Window& n);

inline X11Window* Native(core::WindowRecord& rec) {
    return static_cast<X11Window*>(rec.native.get());
}

// Runs `fn(X11Window&, Display&)` under the X lock for a window that has an
// X window, and returns its result; `fallback` otherwise.
template <typename Fn, typename R = std::invoke_result_t<Fn&, X11Window&, Display&>>
R WithXWindow(core::WindowRecord& rec, std::type_identity_t<R> fallback, Fn&& fn) {
    X11Window* n = Native(rec);
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    if (n == nullptr || n->window == 0) return fallback;
    return fn(*n, x);
}

template <typename Fn>
void WithXWindow(core::WindowRecord& rec, Fn&& fn) {
    X11Window* n = Native(rec);
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    if (n == nullptr || n->window == 0) return;
    fn(*n, x);
}

}  // namespace plat::x11
