// The CLIPBOARD selection.
#include "platform/x11/clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/x11/display.h"

namespace plat::x11 {

namespace {

// One large answer sent in pieces (INCR).
struct Transfer {
    Window requestor;
    Atom property;
    Atom type;
    std::string data;
    std::size_t offset = 0;
};

struct ClipboardState {
    bool owned = false;
    std::string text;  // UTF-8
    Time ownedSince = CurrentTime;
    std::vector<Transfer> transfers;
};

ClipboardState& Clipboard() {
    static ClipboardState state;
    return state;
}

std::size_t ChunkSize() {
    long maxRequest = XExtendedMaxRequestSize(XConnection().dpy);
    if (maxRequest == 0) maxRequest = XMaxRequestSize(XConnection().dpy);
    // Four bytes a unit, leaving room for the request header.
    return std::min<std::size_t>(static_cast<std::size_t>(maxRequest) * 4 / 2, 256 * 1024);
}

// UTF-8 to Latin-1 for STRING; what Latin-1 lacks becomes "?".
std::string Utf8ToLatin1(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (len == 1) out += static_cast<char>(c);
        else if (len == 2 && i + 1 < s.size() && c <= 0xC3)
            out += static_cast<char>(((c & 0x1F) << 6) |
                                     (static_cast<unsigned char>(s[i + 1]) & 0x3F));
        else out += '?';
        i += len;
    }
    return out;
}

void Notify(const XSelectionRequestEvent& req, Atom property) {
    XEvent ev{};
    ev.xselection.type = SelectionNotify;
    ev.xselection.requestor = req.requestor;
    ev.xselection.selection = req.selection;
    ev.xselection.target = req.target;
    ev.xselection.property = property;
    ev.xselection.time = req.time;
    XSendEvent(XConnection().dpy, req.requestor, False, NoEventMask, &ev);
}

void Answer(const XSelectionRequestEvent& req) {
    ::Display* dpy = XConnection().dpy;
    const Atoms& a = XConnection().atoms;
    Atom property = req.property != None ? req.property : req.target;
    auto& c = Clipboard();
    if (!c.owned || req.selection != a.clipboard) {
        Notify(req, None);
        return;
    }
    if (req.target == a.targets) {
        Atom targets[] = {a.targets, a.timestamp, a.utf8String, a.text, XA_STRING};
        XChangeProperty(dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(targets), 5);
        Notify(req, property);
        return;
    }
    if (req.target == a.timestamp) {
        long t = static_cast<long>(c.ownedSince);
        XChangeProperty(dpy, req.requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&t), 1);
        Notify(req, property);
        return;
    }
    Atom type;
    std::string data;
    if (req.target == a.utf8String || req.target == a.text) {
        type = a.utf8String;
        data = c.text;
    } else if (req.target == XA_STRING) {
        type = XA_STRING;
        data = Utf8ToLatin1(c.text);
    } else {
        Notify(req, None);
        return;
    }
    if (data.size() > ChunkSize()) {
        long size = static_cast<long>(data.size());
        XSelectInput(dpy, req.requestor, PropertyChangeMask);
        XChangeProperty(dpy, req.requestor, property, a.incr, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&size), 1);
        c.transfers.push_back(Transfer{req.requestor, property, type, std::move(data), 0});
    } else {
        XChangeProperty(dpy, req.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size()));
    }
    Notify(req, property);
}

// The requestor deleted the property: the next piece (an empty one ends it).
bool ContinueTransfer(const XPropertyEvent& ev) {
    if (ev.state != PropertyDelete) return false;
    auto& ts = Clipboard().transfers;
    auto it = std::find_if(ts.begin(), ts.end(), [&](const Transfer& t) {
        return t.requestor == ev.window && t.property == ev.atom;
    });
    if (it == ts.end()) return false;
    std::size_t n = std::min(ChunkSize(), it->data.size() - it->offset);
    XChangeProperty(XConnection().dpy, it->requestor, it->property, it->type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(it->data.data() + it->offset),
                    static_cast<int>(n));
    it->offset += n;
    if (n == 0) {
        XSelectInput(XConnection().dpy, it->requestor, NoEventMask);
        ts.erase(it);
    }
    return true;
}

// Waits (up to `ms`) for an event of our hidden window that `match` accepts,
// serving selection requests meanwhile. Needs XConnection().mu.
bool WaitFor(XEvent* out, int ms, const std::function<bool(const XEvent&)>& match) {
    ::Display* dpy = XConnection().dpy;
    std::uint64_t end = MonotonicMs() + static_cast<std::uint64_t>(ms);
    for (;;) {
        XEvent ev;
        while (XCheckTypedWindowEvent(dpy, XConnection().clipboardWindow, SelectionNotify, &ev) ||
               XCheckTypedWindowEvent(dpy, XConnection().clipboardWindow, PropertyNotify, &ev) ||
               XCheckTypedWindowEvent(dpy, XConnection().clipboardWindow, SelectionRequest, &ev)) {
            if (match(ev)) {
                *out = ev;
                return true;
            }
            HandleSelectionEvent(ev);
        }
        std::uint64_t now = MonotonicMs();
        if (now >= end) return false;
        pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(std::min<std::uint64_t>(end - now, 50)));
        XEventsQueued(dpy, QueuedAfterReading);
    }
}

// A current server time: the time of a property change on our window. An
// older time (of our last input event) would lose against a newer owner.
Time ServerTime() {
    Display& x = XConnection();
    ::Display* dpy = x.dpy;
    unsigned char none = 0;
    XChangeProperty(dpy, x.clipboardWindow, x.atoms.timestamp, XA_INTEGER, 8, PropModeAppend, &none,
                    0);
    XFlush(dpy);
    XEvent ev;
    if (WaitFor(&ev, 1000, [&](const XEvent& e) {
            return e.type == PropertyNotify && e.xproperty.atom == x.atoms.timestamp;
        }))
        return ev.xproperty.time;
    return CurrentTime;
}

std::optional<std::string> ReadProperty(Atom property, Atom* typeOut) {
    Display& x = XConnection();
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x.dpy, x.clipboardWindow, property, 0, 0x7FFFFFFF, True, AnyPropertyType,
                           &type, &format, &count, &after, &data) != Success)
        return std::nullopt;
    std::string s;
    if (data != nullptr) {
        s.assign(reinterpret_cast<char*>(data), count * static_cast<unsigned long>(format / 8));
        XFree(data);
    }
    *typeOut = type;
    return s;
}

// Asks the owner for `target`; the text, or nothing when refused.
std::optional<std::string> Request(Atom target) {
    Display& x = XConnection();
    ::Display* dpy = x.dpy;
    const Atoms& a = x.atoms;
    XDeleteProperty(dpy, x.clipboardWindow, a.selectionProperty);
    XConvertSelection(dpy, a.clipboard, target, a.selectionProperty, x.clipboardWindow,
                      ServerTime());
    XFlush(dpy);
    XEvent ev;
    if (!WaitFor(&ev, 1500, [&](const XEvent& e) {
            return e.type == SelectionNotify && e.xselection.target == target;
        }))
        return std::nullopt;
    if (ev.xselection.property == None) return std::nullopt;
    Atom type = None;
    auto value = ReadProperty(a.selectionProperty, &type);
    if (!value) return std::nullopt;
    if (type != a.incr) return value;
    // INCR: each new value is the next piece; an empty piece ends it.
    std::string all;
    for (;;) {
        if (!WaitFor(&ev, 1500, [&](const XEvent& e) {
                return e.type == PropertyNotify && e.xproperty.atom == a.selectionProperty &&
                       e.xproperty.state == PropertyNewValue;
            }))
            return std::nullopt;
        auto piece = ReadProperty(a.selectionProperty, &type);
        if (!piece) return std::nullopt;
        if (piece->empty()) return all;
        all += *piece;
    }
}

// Hands the text to a running clipboard manager when the process ends.
struct ExitHandover {
    ~ExitHandover() {
        Display& x = XConnection();
        std::lock_guard lk(x.mu);
        if (!x.Ok() || !Clipboard().owned) return;
        ::Display* dpy = x.dpy;
        const Atoms& a = x.atoms;
        if (XGetSelectionOwner(dpy, a.clipboardManager) == None) return;
        XConvertSelection(dpy, a.clipboardManager, a.saveTargets, None, x.clipboardWindow,
                          x.lastTime);
        XFlush(dpy);
        XEvent ev;
        WaitFor(&ev, 2000, [&](const XEvent& e) {
            return e.type == SelectionNotify && e.xselection.selection == a.clipboardManager;
        });
    }
};

}  // namespace

bool HandleSelectionEvent(const XEvent& ev) {
    switch (ev.type) {
    case SelectionRequest:
        if (ev.xselectionrequest.owner != XConnection().clipboardWindow) return false;
        Answer(ev.xselectionrequest);
        XFlush(XConnection().dpy);
        return true;
    case SelectionClear:
        if (ev.xselectionclear.window != XConnection().clipboardWindow) return false;
        if (ev.xselectionclear.selection == XConnection().atoms.clipboard) {
            Clipboard().owned = false;
            Clipboard().text.clear();
        }
        return true;
    case PropertyNotify:
        if (ContinueTransfer(ev.xproperty)) {
            XFlush(XConnection().dpy);
            return true;
        }
        return ev.xproperty.window == XConnection().clipboardWindow;
    default: return false;
    }
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

bool SetClipboardUtf8(const std::string& utf8) {
    // The display first, so that the handover (destroyed in reverse order)
    // still finds it open at exit.
    XConnection();
    static ExitHandover handover;
    std::lock_guard lk(XConnection().mu);
    if (!XConnection().Ok()) return false;
    ::Display* dpy = XConnection().dpy;
    Time now = ServerTime();
    XSetSelectionOwner(dpy, XConnection().atoms.clipboard, XConnection().clipboardWindow, now);
    bool owned =
        XGetSelectionOwner(dpy, XConnection().atoms.clipboard) == XConnection().clipboardWindow;
    if (owned) {
        Clipboard().owned = true;
        Clipboard().text = utf8;
        Clipboard().ownedSince = now;
    }
    if (XEventsQueued(dpy, QueuedAfterReading) > 0) XConnection().Kick();
    return owned;
}

std::optional<std::string> GetClipboardUtf8() {
    std::lock_guard lk(XConnection().mu);
    if (!XConnection().Ok()) return std::nullopt;
    ::Display* dpy = XConnection().dpy;
    Window owner = XGetSelectionOwner(dpy, XConnection().atoms.clipboard);
    if (owner == None) return std::nullopt;
    if (owner == XConnection().clipboardWindow && Clipboard().owned) return Clipboard().text;
    auto text = Request(XConnection().atoms.utf8String);
    if (!text) {
        if (auto latin = Request(XA_STRING)) text = Latin1ToUtf8(*latin);
    }
    if (XEventsQueued(dpy, QueuedAfterReading) > 0) XConnection().Kick();
    return text;
}

}  // namespace plat::core::backend
