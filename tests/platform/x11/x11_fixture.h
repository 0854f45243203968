// Shared parts of the X11 backend tests: a window class that records
// messages, and access to the test's own connection for reading back.
#pragma once

// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "runtime/codepage.h"
#include "tests/platform/x11/xserver.h"

namespace platform_x11_test {

struct Seen {
    plat::Hwnd hwnd;
    plat::UINT msg;
    plat::WPARAM wParam;
    plat::LPARAM lParam;
};

// Whether (x, y) of window `w` lies inside its bounding shape.
inline bool InShape(Display* d, Window w, int x, int y) {
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(d, w, ShapeBounding, &count, &ordering);
    bool in = false;
    for (int i = 0; i < count; ++i)
        in = in || (x >= rects[i].x && y >= rects[i].y && x < rects[i].x + rects[i].width &&
                    y < rects[i].y + rects[i].height);
    if (rects != nullptr) XFree(rects);
    return in;
}

// The pixels of a window as the server holds them, read back once.
class ServerPixels {
public:
    ServerPixels(Display* d, Window w, int width, int height)
        : image_(XGetImage(d, w, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                           AllPlanes, ZPixmap)) {}
    ~ServerPixels() {
        if (image_ != nullptr) XDestroyImage(image_);
    }
    ServerPixels(const ServerPixels&) = delete;
    ServerPixels& operator=(const ServerPixels&) = delete;

    bool Ok() const { return image_ != nullptr; }
    std::uint32_t At(int x, int y) const {
        return static_cast<std::uint32_t>(XGetPixel(image_, x, y));
    }
    // Without the alpha byte, which a depth-24 window does not have.
    std::uint32_t RgbAt(int x, int y) const { return At(x, y) & 0xFFFFFFu; }

private:
    XImage* image_;
};

class X11Test : public ::testing::Test {
protected:
    // Each test program names its server (arguments, window manager).
    virtual XServer& Server() = 0;

    void SetUp() override {
        ASSERT_TRUE(Server().Ok()) << "Xvfb did not start";
        if (!plat::IsClassRegistered("X11Test")) {
            plat::WNDCLASS wc;
            wc.lpszClassName = "X11Test";
            plat::RegisterClass(wc);
        }
        probe_ = XOpenDisplay(Server().DisplayName().c_str());
        ASSERT_NE(probe_, nullptr);
    }

    void TearDown() override {
        for (plat::Hwnd h : windows_) {
            plat::SetWindowProc(h, {});
            plat::DestroyWindow(h);
        }
        Pump(50);
        if (probe_ != nullptr) XCloseDisplay(probe_);
    }

    // A shown window with a unique title whose messages are recorded.
    plat::Hwnd Make(const std::string& utf8Title, int x, int y, int w, int h,
                    plat::DWORD exStyle = 0) {
        plat::Hwnd hwnd = plat::CreateWindowEx(exStyle, "X11Test", rt::Utf8ToCp936(utf8Title),
                                               plat::WS_POPUP, x, y, w, h);
        plat::SetWindowProc(hwnd,
                            [this](plat::Hwnd hw, plat::UINT m, plat::WPARAM wp, plat::LPARAM lp) {
                                seen.push_back({hw, m, wp, lp});
                                plat::LRESULT r = 0;
                                if (hook && hook(hw, m, wp, lp, &r)) return r;
                                return plat::DefWindowProc(hw, m, wp, lp);
                            });
        windows_.push_back(hwnd);
        return hwnd;
    }

    // Presents `pixels` (w x h, rows packed) to `hwnd` and shows it; false when
    // the picture was refused.
    bool PresentAndShow(plat::Hwnd hwnd, const std::vector<std::uint32_t>& pixels, int w, int h) {
        const bool presented = plat::Present(hwnd, pixels.data(), w * 4, w, h);
        plat::ShowWindow(hwnd, plat::SW_SHOWNORMAL);
        return presented;
    }

    // From now on a press of the left button anywhere starts a caption drag.
    void PressesDragTheCaption() {
        hook = [](plat::Hwnd hw, plat::UINT m, plat::WPARAM, plat::LPARAM, plat::LRESULT* r) {
            if (m != plat::WM_LBUTTONDOWN) return false;
            plat::SendMessage(hw, plat::WM_NCLBUTTONDOWN, plat::HTCAPTION, 0);
            *r = 0;
            return true;
        };
    }

    // The X id of our window with this title, once it is viewable.
    Window Find(const std::string& utf8Title) {
        Window found = 0;
        PumpUntil(
            [&] {
                std::string out =
                    RunCommand("xdotool search --name '" + utf8Title + "' 2>/dev/null");
                found = std::strtoul(out.c_str(), nullptr, 10);
                if (found == 0) return false;
                return Attributes(found).map_state == IsViewable;
            },
            15000);
        return found;
    }

    XWindowAttributes Attributes(Window w) const {
        XWindowAttributes a{};
        XGetWindowAttributes(probe_, w, &a);
        return a;
    }

    std::vector<Seen> Of(plat::UINT msg) const {
        std::vector<Seen> out;
        for (const Seen& s : seen)
            if (s.msg == msg) out.push_back(s);
        return out;
    }

    bool WaitFor(plat::UINT msg, std::size_t count = 1, int ms = kPatienceMs) {
        return PumpUntil([&] { return Of(msg).size() >= count; }, ms);
    }

    // Pumps messages until the server shows `pixel` at (x, y) of `w`, compared
    // under `mask`: the program draws an exposed window in its own time.
    bool PumpUntilShown(Window w, int x, int y, std::uint32_t pixel,
                        std::uint32_t mask = 0xFFFFFFFFu) {
        return PumpUntil([&] {
            ServerPixels shown(probe_, w, x + 1, y + 1);
            return shown.Ok() && (shown.At(x, y) & mask) == pixel;
        });
    }

    // Gives each keysym a spare keycode of its own, as a keyboard with those
    // keys would have. xdotool types a character without a key by binding a
    // keycode for the moment of the press and undoing that at once, often
    // before a busy program has looked the key up.
    void BindKeys(const std::vector<KeySym>& keysyms) {
        int low = 0, high = 0, perKey = 0;
        XDisplayKeycodes(probe_, &low, &high);
        KeySym* table =
            XGetKeyboardMapping(probe_, static_cast<KeyCode>(low), high - low + 1, &perKey);
        std::vector<int> spare;
        for (int code = low; code <= high; ++code) {
            const KeySym* row = table + static_cast<std::ptrdiff_t>(code - low) * perKey;
            if (std::all_of(row, row + perKey, [](KeySym s) { return s == NoSymbol; }))
                spare.push_back(code);
        }
        XFree(table);
        ASSERT_GT(spare.size(), keysyms.size() + 1) << "too few spare keycodes";
        for (std::size_t i = 0; i < keysyms.size(); ++i) {
            KeySym both[2] = {keysyms[i], keysyms[i]};
            XChangeKeyboardMapping(probe_, spare[i], 2, both, 1);
        }
        XSync(probe_, False);
    }

    // Pumps messages until (x, y) of `w` is inside its shape, or outside.
    bool PumpUntilInShape(Window w, int x, int y, bool inside) {
        return PumpUntil([&] { return InShape(probe_, w, x, y) == inside; });
    }

    void Pump(int ms) {
        PumpUntil([] { return false; }, ms);
    }

public:
    std::vector<Seen> seen;
    std::function<bool(plat::Hwnd, plat::UINT, plat::WPARAM, plat::LPARAM, plat::LRESULT*)> hook;

protected:
    Display* probe_ = nullptr;

private:
    std::vector<plat::Hwnd> windows_;
};

}  // namespace platform_x11_test
