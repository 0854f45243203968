// The process's connection to the X server: atoms, the visual windows use,
// the input method, the window manager and compositor queries, and the
// wake-up channels of the threads that wait for messages.
//
// Every Xlib call goes through XConnection().mu. The core's lock may be held when it
// is taken, never the other way round: X events are collected under XConnection().mu
// and handed to the core after it is released.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace plat::x11 {

struct Atoms {
    Atom wmProtocols, wmDeleteWindow, wmState, netWmPing;
    Atom netWmName, utf8String, netWmState, netWmStateAbove, netWmStateMaxV, netWmStateMaxH,
        netWmStateHidden;
    Atom netWmStateSkipTaskbar;
    Atom netWmWindowType, netWmWindowTypeNormal, netWmWindowTypeTooltip, netWmWindowTypePopupMenu,
        netWmWindowTypeDialog;
    Atom netWmMoveResize, netActiveWindow, netWorkArea, netSupported, netSupportingWmCheck,
        netWmPid;
    Atom netWmIcon;
    Atom netWmCm;  // _NET_WM_CM_S<screen>
    Atom motifWmHints, kdeBlurBehind;
    Atom clipboard, targets, text, incr, atomPair, multiple, timestamp, clipboardManager,
        saveTargets;
    Atom selectionProperty;
};

class Display {
public:
    Display();
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    std::recursive_mutex mu;
    ::Display* dpy = nullptr;  // null when no X server could be reached
    int screen = 0;
    Window root = 0;
    Atoms atoms{};
    // The visual of every window: depth 32 ARGB when the server has one.
    Visual* visual = nullptr;
    int depth = 24;
    Colormap colormap = 0;
    bool argb = false;
    bool shm = false;
    bool shape = false;
    XIM im = nullptr;                // see InputMethod
    std::vector<XIMStyle> imStyles;  // usable input styles, best first
    Window clipboardWindow = 0;      // hidden owner of CLIPBOARD
    Time lastTime = CurrentTime;     // time of the latest event with one

    bool Ok() const { return dpy != nullptr; }

    // The input method, opened on the first call (null when none opens).
    XIM InputMethod();

    // A window manager with EWMH support runs (checked each call, cheap
    // after the first until it changes).
    bool WindowManager();
    bool Supports(Atom hint);
    bool Composited();
    RECT WorkArea();

    // Wake-up channels (eventfds) of waiting threads; Kick wakes them all,
    // used when events were read into Xlib's queue by a call that was not
    // waiting for them.
    void AddWaker(int fd);
    void RemoveWaker(int fd);
    void Kick();

    // Errors of the last Trap .. Untrap section (X errors are asynchronous;
    // Untrap syncs).
    void Trap();
    bool Untrap();

private:
    bool imTried_ = false;
    std::vector<int> wakers_;
    std::uint64_t wmCheckedAt_ = 0;
    bool wm_ = false;
    std::vector<Atom> supported_;
    std::uint64_t cmCheckedAt_ = 0;
    bool cm_ = false;
};

// The process's display (opened on first use).
Display& XConnection();

std::uint64_t MonotonicMs();

// Latin-1 bytes (STRING, XLookupString) as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace plat::x11
