// Opening the display: locale and input method, visual, extensions, atoms.
#include "platform/x11/display.h"

#include <X11/Xatom.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstring>
#include <ctime>
#include <iterator>
#include <string>
#include <utility>

namespace plat::x11 {

namespace {

std::atomic<bool> trapped{false};
std::atomic<bool> trapActive{false};

// X errors are expected now and then (focus on a window being unmapped, a
// request for a window another client destroyed); they must not end the
// process.
int OnXError(::Display*, XErrorEvent*) {
    if (trapActive) trapped = true;
    return 0;
}

// Key events carry characters beyond ASCII only under a UTF-8 locale.
void UseUtf8Locale() {
    const char* set = std::setlocale(LC_CTYPE, "");
    if (set == nullptr || std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The input styles the method offers, best first among those the layer uses.
std::vector<XIMStyle> UsableStyles(XIM im) {
    XIMStyles* styles = nullptr;
    std::vector<XIMStyle> usable;
    if (XGetIMValues(im, XNQueryInputStyle, &styles, nullptr) != nullptr || styles == nullptr)
        return usable;
    const XIMStyle preferred[] = {XIMPreeditPosition | XIMStatusNothing,
                                  XIMPreeditNothing | XIMStatusNothing,
                                  XIMPreeditNone | XIMStatusNone, XIMPreeditNothing | XIMStatusNone,
                                  XIMPreeditPosition | XIMStatusNone};
    for (XIMStyle want : preferred)
        for (unsigned short i = 0; i < styles->count_styles; ++i)
            if (styles->supported_styles[i] == want) usable.push_back(want);
    XFree(styles);
    return usable;
}

}  // namespace

std::uint64_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000 +
           static_cast<std::uint64_t>(ts.tv_nsec) / 1000000;
}

namespace {

// Whether an answer the server gave at `checkedAt` (0: never) is under a
// second old; when it is not, `checkedAt` becomes now and the caller asks
// again.
bool AnsweredWithinASecond(std::uint64_t& checkedAt) {
    const std::uint64_t now = MonotonicMs();
    if (checkedAt != 0 && now - checkedAt < 1000) return true;
    checkedAt = now;
    return false;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

Display::Display() {
    XInitThreads();
    UseUtf8Locale();
    dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) return;
    XSetErrorHandler(OnXError);
    screen = DefaultScreen(dpy);
    root = RootWindow(dpy, screen);

    XVisualInfo vi;
    if (XMatchVisualInfo(dpy, screen, 32, TrueColor, &vi)) {
        visual = vi.visual;
        depth = 32;
        argb = true;
        colormap = XCreateColormap(dpy, root, visual, AllocNone);
    } else {
        visual = DefaultVisual(dpy, screen);
        depth = DefaultDepth(dpy, screen);
        colormap = DefaultColormap(dpy, screen);
    }
    int major, minor;
    Bool pixmaps;
    shm = XShmQueryVersion(dpy, &major, &minor, &pixmaps) != 0;
    int ev, err;
    shape = XShapeQueryExtension(dpy, &ev, &err) != 0;

    // One round trip for every atom instead of one each.
    Atoms& a = atoms;
    const std::string cmSelection = "_NET_WM_CM_S" + std::to_string(screen);
    const std::pair<Atom*, const char*> wanted[] = {
        {&a.wmProtocols, "WM_PROTOCOLS"},
        {&a.wmDeleteWindow, "WM_DELETE_WINDOW"},
        {&a.wmState, "WM_STATE"},
        {&a.netWmPing, "_NET_WM_PING"},
        {&a.netWmName, "_NET_WM_NAME"},
        {&a.utf8String, "UTF8_STRING"},
        {&a.netWmState, "_NET_WM_STATE"},
        {&a.netWmStateAbove, "_NET_WM_STATE_ABOVE"},
        {&a.netWmStateMaxV, "_NET_WM_STATE_MAXIMIZED_VERT"},
        {&a.netWmStateMaxH, "_NET_WM_STATE_MAXIMIZED_HORZ"},
        {&a.netWmStateHidden, "_NET_WM_STATE_HIDDEN"},
        {&a.netWmStateSkipTaskbar, "_NET_WM_STATE_SKIP_TASKBAR"},
        {&a.netWmWindowType, "_NET_WM_WINDOW_TYPE"},
        {&a.netWmWindowTypeNormal, "_NET_WM_WINDOW_TYPE_NORMAL"},
        {&a.netWmWindowTypeTooltip, "_NET_WM_WINDOW_TYPE_TOOLTIP"},
        {&a.netWmWindowTypePopupMenu, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
        {&a.netWmWindowTypeDialog, "_NET_WM_WINDOW_TYPE_DIALOG"},
        {&a.netWmMoveResize, "_NET_WM_MOVERESIZE"},
        {&a.netActiveWindow, "_NET_ACTIVE_WINDOW"},
        {&a.netWorkArea, "_NET_WORKAREA"},
        {&a.netSupported, "_NET_SUPPORTED"},
        {&a.netSupportingWmCheck, "_NET_SUPPORTING_WM_CHECK"},
        {&a.netWmPid, "_NET_WM_PID"},
        {&a.netWmIcon, "_NET_WM_ICON"},
        {&a.netWmCm, cmSelection.c_str()},
        {&a.motifWmHints, "_MOTIF_WM_HINTS"},
        {&a.kdeBlurBehind, "_KDE_NET_WM_BLUR_BEHIND_REGION"},
        {&a.clipboard, "CLIPBOARD"},
        {&a.targets, "TARGETS"},
        {&a.text, "TEXT"},
        {&a.incr, "INCR"},
        {&a.atomPair, "ATOM_PAIR"},
        {&a.multiple, "MULTIPLE"},
        {&a.timestamp, "TIMESTAMP"},
        {&a.clipboardManager, "CLIPBOARD_MANAGER"},
        {&a.saveTargets, "SAVE_TARGETS"},
        {&a.selectionProperty, "SEEKER_SELECTION"},
    };
    constexpr std::size_t kCount = std::size(wanted);
    char* names[kCount];
    Atom found[kCount];
    for (std::size_t i = 0; i < kCount; ++i) names[i] = const_cast<char*>(wanted[i].second);
    XInternAtoms(dpy, names, static_cast<int>(kCount), False, found);
    for (std::size_t i = 0; i < kCount; ++i) *wanted[i].first = found[i];

    XSetWindowAttributes attrs{};
    attrs.event_mask = PropertyChangeMask;
    clipboardWindow = XCreateWindow(dpy, root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                                    CopyFromParent, CWEventMask, &attrs);
    XFlush(dpy);
}

Display::~Display() {
    if (dpy == nullptr) return;
    if (im != nullptr) XCloseIM(im);
    XCloseDisplay(dpy);
}

XIM Display::InputMethod() {
    std::lock_guard lk(mu);
    if (imTried_ || dpy == nullptr) return im;
    imTried_ = true;
    XSetLocaleModifiers("");
    im = XOpenIM(dpy, nullptr, nullptr, nullptr);
    if (im == nullptr) {
        XSetLocaleModifiers("@im=none");
        im = XOpenIM(dpy, nullptr, nullptr, nullptr);
    }
    if (im != nullptr) imStyles = UsableStyles(im);
    return im;
}

Display& XConnection() {
    static Display display;
    return display;
}

bool Display::WindowManager() {
    std::lock_guard lk(mu);
    if (dpy == nullptr) return false;
    if (AnsweredWithinASecond(wmCheckedAt_)) return wm_;
    wm_ = false;
    supported_.clear();
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    Trap();
    if (XGetWindowProperty(dpy, root, atoms.netSupportingWmCheck, 0, 1, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr && count == 1) {
        Window check = *reinterpret_cast<Window*>(data);
        XFree(data);
        data = nullptr;
        // The check window must point at itself, or the manager is gone.
        if (XGetWindowProperty(dpy, check, atoms.netSupportingWmCheck, 0, 1, False, XA_WINDOW,
                               &type, &format, &count, &after, &data) == Success &&
            data != nullptr && count == 1 && *reinterpret_cast<Window*>(data) == check)
            wm_ = true;
    }
    if (data != nullptr) XFree(data);
    data = nullptr;
    if (wm_ &&
        XGetWindowProperty(dpy, root, atoms.netSupported, 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        auto* list = reinterpret_cast<Atom*>(data);
        supported_.assign(list, list + count);
        XFree(data);
    }
    Untrap();
    return wm_;
}

bool Display::Supports(Atom hint) {
    if (!WindowManager()) return false;
    std::lock_guard lk(mu);
    return std::find(supported_.begin(), supported_.end(), hint) != supported_.end();
}

bool Display::Composited() {
    std::lock_guard lk(mu);
    if (dpy == nullptr) return false;
    if (AnsweredWithinASecond(cmCheckedAt_)) return cm_;
    cm_ = XGetSelectionOwner(dpy, atoms.netWmCm) != None;
    return cm_;
}

RECT Display::WorkArea() {
    std::lock_guard lk(mu);
    if (dpy == nullptr) return RECT{0, 0, 1024, 768};
    RECT screenRect{0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)};
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    RECT result = screenRect;
    if (XGetWindowProperty(dpy, root, atoms.netWorkArea, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && count >= 4 && format == 32) {
        auto* v = reinterpret_cast<long*>(data);
        RECT r{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[0] + v[2]),
               static_cast<int>(v[1] + v[3])};
        if (!r.empty()) result = r;
    }
    if (data != nullptr) XFree(data);
    return result;
}

void Display::AddWaker(int fd) {
    std::lock_guard lk(mu);
    wakers_.push_back(fd);
}

void Display::RemoveWaker(int fd) {
    std::lock_guard lk(mu);
    wakers_.erase(std::remove(wakers_.begin(), wakers_.end(), fd), wakers_.end());
}

void Display::Kick() {
    std::lock_guard lk(mu);
    std::uint64_t one = 1;
    for (int fd : wakers_) {
        ssize_t n = write(fd, &one, sizeof one);
        (void)n;
    }
}

void Display::Trap() {
    trapped = false;
    trapActive = true;
}

bool Display::Untrap() {
    if (dpy != nullptr) XSync(dpy, False);
    trapActive = false;
    // The sync may have read events that no waiting thread has seen.
    if (dpy != nullptr && XEventsQueued(dpy, QueuedAfterReading) > 0) Kick();
    return !trapped.exchange(false);
}

}  // namespace plat::x11
