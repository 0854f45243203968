#include "platform/x11/ewmh.h"

#include "platform/x11/display.h"

namespace plat::x11 {

void SendToManager(Window window, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = l0;
    ev.xclient.data.l[1] = l1;
    ev.xclient.data.l[2] = l2;
    ev.xclient.data.l[3] = l3;
    ev.xclient.data.l[4] = l4;
    XSendEvent(XConnection().dpy, XConnection().root, False,
               SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

}  // namespace plat::x11
