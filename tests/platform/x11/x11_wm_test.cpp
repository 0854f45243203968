// The X11 backend under a window manager (openbox): placement, a move by the
// manager, maximise and minimise through EWMH, activation.
#include "tests/platform/x11/x11_fixture.h"

#include <cstdint>

using namespace plat;
using namespace platform_x11_test;

namespace {

class X11Managed : public X11Test {
protected:
    XServer& Server() override {
        static XServer server;
        static bool wm = server.Ok() && server.StartWindowManager();
        EXPECT_TRUE(wm) << "openbox did not start";
        return server;
    }

    Hwnd Shown(const char* title, int x, int y, int w, int h) {
        Hwnd hwnd = Make(title, x, y, w, h);
        std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h, 0xFF5080B0u);
        PresentAndShow(hwnd, px, w, h);
        return hwnd;
    }

    // Whether the manager shows the window maximised both ways.
    bool Maximised(Window w) {
        const std::string state = RunCommand("xprop -id " + std::to_string(w) + " _NET_WM_STATE");
        return state.find("_NET_WM_STATE_MAXIMIZED_HORZ") != std::string::npos &&
               state.find("_NET_WM_STATE_MAXIMIZED_VERT") != std::string::npos;
    }

    RECT OnScreen(Window w) {
        Window child;
        int x = 0, y = 0;
        XTranslateCoordinates(probe_, w, DefaultRootWindow(probe_), 0, 0, &x, &y, &child);
        const XWindowAttributes a = Attributes(w);
        return RECT{x, y, x + a.width, y + a.height};
    }
};

TEST_F(X11Managed, WindowStaysWhereItWasPlacedWithoutAFrame) {
    Hwnd h = Shown("managed-place", 300, 200, 240, 120);
    Window w = Find("managed-place");
    ASSERT_NE(w, 0u);
    EXPECT_TRUE(PumpUntil(
        [&] {
            return OnScreen(w) == (RECT{300, 200, 540, 320});
        },
        kPatienceMs))
        << OnScreen(w).left;
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{300, 200, 540, 320}));
}

TEST_F(X11Managed, CaptionDragIsHandedToTheManager) {
    PressesDragTheCaption();
    Hwnd h = Shown("managed-drag", 100, 100, 200, 100);
    Window w = Find("managed-drag");
    ASSERT_NE(w, 0u);
    PumpUntil([&] { return OnScreen(w).left == 100; }, kPatienceMs);
    RunCommand("xdotool mousemove 150 120 mousedown 1");
    ASSERT_TRUE(WaitFor(WM_LBUTTONDOWN, 1, kPatienceMs));
    // The manager starts its move in its own time: keep moving the pointer
    // until the window follows on screen (the manager reports the new place
    // to the program only when the move ends), then let go.
    std::uint64_t tries = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (tries++ % 50 == 0)
                RunCommand("xdotool mousemove 200 170 sleep 0.05 mousemove 350 320 sleep 0.05");
            return OnScreen(w).left != 100;
        },
        kPatienceMs));
    RunCommand("xdotool mouseup 1");
    EXPECT_TRUE(PumpUntil(
        [&] {
            RECT r;
            GetWindowRect(h, &r);
            return r.left == 300 && r.top == 300;
        },
        kPatienceMs))
        << OnScreen(w).left << "," << OnScreen(w).top;
    // The manager took the release: the button counts as up.
    EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
    EXPECT_TRUE(Of(WM_LBUTTONUP).empty());
}

TEST_F(X11Managed, MaximiseAndMinimiseGoThroughTheManager) {
    Hwnd h = Shown("managed-states", 400, 300, 300, 200);
    Window w = Find("managed-states");
    ASSERT_NE(w, 0u);
    // The manager places the window in its own time; a restore returns to
    // where it was when the maximise began.
    ASSERT_TRUE(PumpUntil([&] { return OnScreen(w) == (RECT{400, 300, 700, 500}); }, kPatienceMs));
    // Each step waits until the manager has done it and the program has read
    // the manager's answer: the program learns of each change from its own
    // event queue, later than another client may see it.
    SendMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_TRUE(PumpUntil([&] { return Maximised(w) && IsZoomed(h); }, kPatienceMs));
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(h));
    EXPECT_TRUE(PumpUntil(
        [&] {
            return !Maximised(w) && !IsZoomed(h) && OnScreen(w) == (RECT{400, 300, 700, 500});
        },
        kPatienceMs))
        << OnScreen(w).left << "," << OnScreen(w).top << " zoomed " << IsZoomed(h);
    SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_TRUE(PumpUntil(
        [&] {
            return RunCommand("xprop -id " + std::to_string(w) + " WM_STATE").find("Iconic") !=
                       std::string::npos &&
                   IsIconic(h);
        },
        kPatienceMs));
}

TEST_F(X11Managed, ForegroundWindowIsActivatedByTheManager) {
    Hwnd a = Shown("managed-a", 100, 500, 200, 100);
    Hwnd b = Shown("managed-b", 400, 500, 200, 100);
    ASSERT_NE(Find("managed-a"), 0u);
    ASSERT_NE(Find("managed-b"), 0u);
    // The manager's active window, and the program's once it has read the
    // manager's answer.
    const auto active = [&](const char* title, Hwnd h) {
        return RunCommand("xdotool getactivewindow getwindowname 2>/dev/null").find(title) !=
                   std::string::npos &&
               GetForegroundWindow() == h;
    };
    SetForegroundWindow(a);
    EXPECT_TRUE(PumpUntil([&] { return active("managed-a", a); }, kPatienceMs));
    seen.clear();
    SetForegroundWindow(b);
    const auto deactivated = [&] {
        for (auto& s : Of(WM_ACTIVATE))
            if (s.hwnd == a && s.wParam == WA_INACTIVE) return true;
        return false;
    };
    EXPECT_TRUE(PumpUntil([&] { return active("managed-b", b) && deactivated(); }, kPatienceMs));
}

}  // namespace
