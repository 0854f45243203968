// The input method of the layer's windows. It opens with the first key a
// window takes, not at start-up: opening it reads the locale's compose
// tables, which costs more than the rest of the start's X work.
#include "platform/x11/window.h"

namespace plat::x11 {

void EnsureInputContext(X11Window& n) {
    if (n.icTried || !n.takesText || n.window == 0) return;
    n.icTried = true;
    Display& x = XConnection();
    XIM im = x.InputMethod();
    if (im == nullptr) return;
    // Some methods refuse a style they list (position pre-edit without a
    // font set): take the first that gives a context.
    for (XIMStyle style : x.imStyles) {
        if (style & XIMPreeditPosition) {
            XVaNestedList list = XVaCreateNestedList(0, XNSpotLocation, &n.icSpot, nullptr);
            n.ic = XCreateIC(im, XNInputStyle, style, XNClientWindow, n.window, XNFocusWindow,
                             n.window, XNPreeditAttributes, list, nullptr);
            XFree(list);
        } else {
            n.ic = XCreateIC(im, XNInputStyle, style, XNClientWindow, n.window, XNFocusWindow,
                             n.window, nullptr);
        }
        if (n.ic != nullptr) {
            n.icStyle = style;
            break;
        }
    }
    if (n.ic == nullptr) return;
    long filter = 0;
    if (XGetICValues(n.ic, XNFilterEvents, &filter, nullptr) == nullptr && filter != 0)
        XSelectInput(x.dpy, n.window, n.eventMask | filter);
    if (n.icFocused) XSetICFocus(n.ic);
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

void ImeFocus(WindowRecord& rec, bool focused) {
    WithXWindow(rec, [&](X11Window& n, Display&) {
        n.icFocused = focused;
        if (n.ic == nullptr) return;
        if (focused) XSetICFocus(n.ic);
        else XUnsetICFocus(n.ic);
    });
}

void ImeSpot(WindowRecord& rec, POINT spot) {
    WithXWindow(rec, [&](X11Window& n, Display&) {
        n.icSpot = XPoint{static_cast<short>(spot.x), static_cast<short>(spot.y)};
        if (n.ic == nullptr || !(n.icStyle & XIMPreeditPosition)) return;
        XVaNestedList list = XVaCreateNestedList(0, XNSpotLocation, &n.icSpot, nullptr);
        XSetICValues(n.ic, XNPreeditAttributes, list, nullptr);
        XFree(list);
    });
}

}  // namespace plat::core::backend
