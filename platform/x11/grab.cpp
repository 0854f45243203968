// The menu grab: pointer and keyboard grabbed on the menu window with owner
// events, so the process's own windows get their input as usual and
// everything else of the display comes to the menu.
#include "platform/x11/grab.h"

#include "platform/core/state.h"
#include "platform/x11/display.h"
#include "platform/x11/window.h"

namespace plat::x11 {

namespace {
Window grabbed = 0;  // guarded by XConnection().mu

// A window already gone gives an error that is of no further interest.
void Grab(Window w) {
    ::Display* dpy = XConnection().dpy;
    XConnection().Trap();
    XGrabPointer(dpy, w, True, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                 GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    XGrabKeyboard(dpy, w, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    XConnection().Untrap();
}
}  // namespace

bool RestoreMenuGrab() {
    if (grabbed == 0 || !XConnection().Ok()) return false;
    Grab(grabbed);
    return true;
}

}  // namespace plat::x11

namespace plat::core::backend {

void GrabMenuInput(WindowRecord* rec) {
    auto* n = rec != nullptr ? static_cast<x11::X11Window*>(rec->native.get()) : nullptr;
    std::lock_guard lk(x11::XConnection().mu);
    if (!x11::XConnection().Ok()) return;
    if (n == nullptr || n->window == 0) {
        if (x11::grabbed != 0) {
            XUngrabPointer(x11::XConnection().dpy, CurrentTime);
            XUngrabKeyboard(x11::XConnection().dpy, CurrentTime);
            XFlush(x11::XConnection().dpy);
        }
        x11::grabbed = 0;
        return;
    }
    x11::grabbed = n->window;
    x11::Grab(n->window);
}

}  // namespace plat::core::backend
