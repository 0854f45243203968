// The pointer's shape over the layer's windows: X font cursors, and an
// empty one for a hidden pointer.
#include <X11/cursorfont.h>

#include <map>

#include "platform/x11/window.h"

namespace plat::x11 {

namespace {

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
    Display& x = XConnection();
    static std::map<int, Cursor> cursors;
    auto it = cursors.find(id);
    if (it != cursors.end()) return it->second;
    Cursor c;
    if (id == 0) {
        // A hidden cursor: an empty bitmap.
        char bits = 0;
        Pixmap p = XCreateBitmapFromData(x.dpy, x.root, &bits, 1, 1);
        XColor black{};
        c = XCreatePixmapCursor(x.dpy, p, p, &black, &black, 0, 0);
        XFreePixmap(x.dpy, p);
    } else {
        c = XCreateFontCursor(x.dpy, FontCursorOf(id));
    }
    cursors[id] = c;
    return c;
}

}  // namespace

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

void SetCursorShape(WindowRecord* rec, int cursorId) {
    if (rec == nullptr) return;
    WithXWindow(*rec, [&](X11Window& n, Display& x) {
        if (n.cursorId == cursorId) return;
        n.cursorId = cursorId;
        XDefineCursor(x.dpy, n.window, CursorFor(cursorId));
        XFlush(x.dpy);
    });
}

}  // namespace plat::core::backend
