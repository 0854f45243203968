// Waiting for messages: the X connection and the thread's wake-up channel
// are polled together; X events are read, filtered through the input
// method, and handed to the core once the X lock is released.
#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/events.h"
#include "platform/core/state.h"
#include "platform/x11/clipboard.h"
#include "platform/x11/display.h"
#include "platform/x11/ewmh.h"
#include "platform/x11/keys.h"
#include "platform/x11/window.h"

namespace plat::x11 {

namespace {

struct X11Queue : core::NativeQueue {
    int fd = -1;
    X11Queue() {
        fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (fd >= 0) XConnection().AddWaker(fd);
    }
    ~X11Queue() override {
        if (fd < 0) return;
        XConnection().RemoveWaker(fd);
        close(fd);
    }
};

using Work = std::vector<std::function<void()>>;

void NoteTime(const XEvent& ev) {
    switch (ev.type) {
    case KeyPress:
    case KeyRelease: XConnection().lastTime = ev.xkey.time; break;
    case ButtonPress:
    case ButtonRelease: XConnection().lastTime = ev.xbutton.time; break;
    case MotionNotify: XConnection().lastTime = ev.xmotion.time; break;
    case PropertyNotify: XConnection().lastTime = ev.xproperty.time; break;
    default: break;
    }
}

void KeyPressEvent(XEvent& ev, X11Window* n, Work& work) {
    KeySym sym = NoSymbol;
    Status status = 0;
    std::string text;
    EnsureInputContext(*n);
    if (n->ic != nullptr) {
        std::vector<char> buf(64);
        int len = Xutf8LookupString(n->ic, &ev.xkey, buf.data(), static_cast<int>(buf.size()) - 1,
                                    &sym, &status);
        if (status == XBufferOverflow) {
            buf.resize(static_cast<std::size_t>(len) + 1);
            len = Xutf8LookupString(n->ic, &ev.xkey, buf.data(), len, &sym, &status);
        }
        if (status == XLookupChars || status == XLookupBoth)
            text.assign(buf.data(), static_cast<std::size_t>(len));
        if (status != XLookupKeySym && status != XLookupBoth) sym = NoSymbol;
    } else {
        char buf[32];
        int len = XLookupString(&ev.xkey, buf, sizeof buf, &sym, nullptr);
        text = Latin1ToUtf8(std::string_view(buf, static_cast<std::size_t>(len)));
    }
    if (text == "\x7f") text.clear();  // Delete types nothing
    Hwnd h = n->hwnd;
    if (ev.xkey.keycode == 0) {
        // Text committed by an input method.
        if (!text.empty()) work.push_back([h, text] { core::events::Commit(h, text); });
        return;
    }
    int vk = VirtualKey(sym, !text.empty());
    if (vk == 0) return;
    unsigned state = ev.xkey.state;
    bool modifierKey = vk == VK_LSHIFT || vk == VK_RSHIFT || vk == VK_LCONTROL ||
                       vk == VK_RCONTROL || vk == VK_LMENU || vk == VK_RMENU;
    work.push_back([h, vk, text, state, modifierKey] {
        if (!modifierKey)
            core::events::SyncModifiers((state & ShiftMask) != 0, (state & ControlMask) != 0,
                                        (state & Mod1Mask) != 0);
        core::events::Key(h, vk, true, text);
    });
}

void KeyReleaseEvent(XEvent& ev, X11Window* n, Work& work) {
    // Auto-repeat shows as release + press at the same time: keep the key down.
    if (XEventsQueued(XConnection().dpy, QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(XConnection().dpy, &next);
        if (next.type == KeyPress && next.xkey.keycode == ev.xkey.keycode &&
            next.xkey.time == ev.xkey.time)
            return;
    }
    KeySym sym = XLookupKeysym(&ev.xkey, 0);
    int vk = VirtualKey(sym, sym != NoSymbol);
    if (vk == 0) return;
    Hwnd h = n->hwnd;
    work.push_back([h, vk] { core::events::Key(h, vk, false, std::string()); });
}

void NetWmStateChanged(Window w, Hwnd h, Work& work) {
    Display& x = XConnection();
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool maxV = false, maxH = false;
    if (XGetWindowProperty(x.dpy, w, x.atoms.netWmState, 0, 64, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        auto* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            maxV = maxV || atoms[i] == x.atoms.netWmStateMaxV;
            maxH = maxH || atoms[i] == x.atoms.netWmStateMaxH;
        }
    }
    if (data != nullptr) XFree(data);
    bool maximized = maxV && maxH;
    work.push_back([h, maximized] { core::events::MaximizedChanged(h, maximized); });
}

void Translate(XEvent& ev, Work& work) {
    NoteTime(ev);
    if (ev.type == MappingNotify) {
        // Keys remapped (xdotool types any character this way): reload them.
        // Load the new map now: the remapping may be undone right after the key.
        XRefreshKeyboardMapping(&ev.xmapping);
        XKeysymToKeycode(XConnection().dpy, XK_a);
        return;
    }
    if (HandleSelectionEvent(ev)) return;
    X11Window* n = NativeOfX(ev.xany.window);
    if (n == nullptr) return;
    Hwnd h = n->hwnd;
    switch (ev.type) {
    case ButtonPress:
    case ButtonRelease: {
        unsigned b = ev.xbutton.button;
        POINT p{ev.xbutton.x_root, ev.xbutton.y_root};
        bool down = ev.type == ButtonPress;
        if (b == Button4 || b == Button5) {
            if (down)
                work.push_back([h, b, p] {
                    core::events::Wheel(h, b == Button4 ? WHEEL_DELTA : -WHEEL_DELTA, p);
                });
            return;
        }
        int button = b == Button1 ? 0 : b == Button3 ? 1 : b == Button2 ? 2 : -1;
        if (button < 0) return;
        if (b == Button1 && down) n->moveResizePending = false;
        else if (b == Button1 && n->moveResizePending) CancelMoveResize(*n);
        unsigned state = ev.xbutton.state;
        work.push_back([h, button, down, p, state] {
            core::events::SyncModifiers((state & ShiftMask) != 0, (state & ControlMask) != 0,
                                        (state & Mod1Mask) != 0);
            core::events::MouseButton(h, button, down, p);
        });
        return;
    }
    case MotionNotify: {
        // Only the latest position of a burst matters.
        while (XCheckTypedWindowEvent(XConnection().dpy, ev.xany.window, MotionNotify, &ev)) {}
        POINT p{ev.xmotion.x_root, ev.xmotion.y_root};
        work.push_back([h, p] { core::events::MouseMove(h, p); });
        return;
    }
    case EnterNotify: {
        POINT p{ev.xcrossing.x_root, ev.xcrossing.y_root};
        work.push_back([h, p] { core::events::MouseMove(h, p); });
        return;
    }
    case LeaveNotify:
        if (ev.xcrossing.mode == NotifyNormal && ev.xcrossing.detail != NotifyInferior)
            work.push_back([h] { core::events::PointerLeft(h); });
        return;
    case KeyPress: KeyPressEvent(ev, n, work); return;
    case KeyRelease: KeyReleaseEvent(ev, n, work); return;
    case Expose: {
        RECT r{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
               ev.xexpose.y + ev.xexpose.height};
        work.push_back([h, r] { core::events::Exposed(h, r); });
        return;
    }
    case ConfigureNotify: {
        if (ev.xconfigure.window != n->window) return;
        int x = ev.xconfigure.x, y = ev.xconfigure.y;
        if (!ev.xconfigure.send_event && !n->overrideRedirect) {
            // Under a reparenting manager the position is relative to its frame.
            Window child;
            XTranslateCoordinates(XConnection().dpy, n->window, XConnection().root, 0, 0, &x, &y,
                                  &child);
        }
        RECT r{x, y, x + ev.xconfigure.width, y + ev.xconfigure.height};
        work.push_back([h, r] { core::events::Configure(h, r); });
        return;
    }
    case FocusIn:
    case FocusOut:
        if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab ||
            ev.xfocus.detail == NotifyPointer || ev.xfocus.detail == NotifyInferior)
            return;
        if (ev.type == FocusIn) work.push_back([h] { core::events::FocusGained(h); });
        else work.push_back([h] { core::events::FocusLost(h); });
        return;
    case ClientMessage:
        if (ev.xclient.message_type == XConnection().atoms.wmProtocols) {
            Atom what = static_cast<Atom>(ev.xclient.data.l[0]);
            if (what == XConnection().atoms.wmDeleteWindow) {
                work.push_back([h] { core::events::CloseRequest(h); });
            } else if (what == XConnection().atoms.netWmPing) {
                const long* l = ev.xclient.data.l;
                SendToManager(XConnection().root, XConnection().atoms.wmProtocols, l[0], l[1], l[2],
                              l[3], l[4]);
            }
        }
        return;
    case MapNotify: work.push_back([h] { core::events::Mapped(h, true); }); return;
    case UnmapNotify: work.push_back([h] { core::events::Mapped(h, false); }); return;
    case PropertyNotify:
        if (ev.xproperty.atom == XConnection().atoms.netWmState)
            NetWmStateChanged(n->window, h, work);
        return;
    default: return;
    }
}

// Reads every event available now. Needs XConnection().mu.
void Collect(Work& work) {
    ::Display* dpy = XConnection().dpy;
    while (XEventsQueued(dpy, QueuedAfterReading) > 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        // Input methods see every event first.
        if (XFilterEvent(&ev, None)) continue;
        Translate(ev, work);
    }
}

}  // namespace

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

std::unique_ptr<NativeQueue> CreateQueue() { return std::make_unique<X11Queue>(); }

void Wake(ThreadQueue& queue) {
    auto* q = static_cast<X11Queue*>(queue.native.get());
    if (q == nullptr || q->fd < 0) return;
    std::uint64_t one = 1;
    ssize_t n = write(q->fd, &one, sizeof one);
    (void)n;
}

void Wait(ThreadQueue& queue, int timeoutMs) {
    auto* q = static_cast<X11Queue*>(queue.native.get());
    Work work;
    int xfd = -1;
    {
        std::lock_guard lk(XConnection().mu);
        if (XConnection().Ok()) {
            xfd = ConnectionNumber(XConnection().dpy);
            // Events a reply brought along wait inside Xlib, where poll()
            // cannot see them; they are taken before it is called. The
            // requests still in Xlib's buffer go out first.
            if (XEventsQueued(XConnection().dpy, QueuedAfterFlush) > 0) Collect(work);
        }
    }
    if (work.empty()) {
        pollfd fds[2];
        int count = 0;
        if (q != nullptr && q->fd >= 0) fds[count++] = pollfd{q->fd, POLLIN, 0};
        if (xfd >= 0) fds[count++] = pollfd{xfd, POLLIN, 0};
        poll(fds, static_cast<nfds_t>(count), timeoutMs);
        if (q != nullptr && q->fd >= 0) {
            std::uint64_t v;
            ssize_t n = read(q->fd, &v, sizeof v);
            (void)n;
        }
        std::lock_guard lk(XConnection().mu);
        if (XConnection().Ok()) Collect(work);
    }
    for (auto& w : work) w();
}

}  // namespace plat::core::backend
