// The X11 backend on an Xvfb server without a window manager: the 32-bit
// visual, presented pixels, the Shape cut, xdotool input, Chinese typing,
// the clipboard both ways with xclip, the UTF-8 title and the own move loop.
#include "tests/platform/x11/x11_fixture.h"

#include <X11/extensions/shape.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace plat;
using namespace platform_x11_test;

namespace {

class X11Plain : public X11Test {
protected:
    XServer& Server() override {
        static XServer server;
        return server;
    }
};

std::vector<std::uint32_t> Pattern(int w, int h) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t a = x < w / 2 ? 0xFF : 0x80;
            std::uint32_t r = (static_cast<std::uint32_t>(x * 2) & 0xFF) * a / 255;
            std::uint32_t g = (static_cast<std::uint32_t>(y * 3) & 0xFF) * a / 255;
            px[static_cast<std::size_t>(y) * w + x] = (a << 24) | (r << 16) | (g << 8) | (a / 2);
        }
    return px;
}

TEST_F(X11Plain, LayeredWindowShowsPresentedPixelsWithAlpha) {
    Hwnd h = Make("presented-argb", 40, 40, 120, 80, WS_EX_LAYERED);
    auto px = Pattern(120, 80);
    ASSERT_TRUE(PresentAndShow(h, px, 120, 80));
    Window w = Find("presented-argb");
    ASSERT_NE(w, 0u);
    const XWindowAttributes attrs = Attributes(w);
    EXPECT_EQ(attrs.depth, 32);
    EXPECT_EQ(attrs.x, 40);
    EXPECT_EQ(attrs.y, 40);
    ASSERT_TRUE(PumpUntilShown(w, 119, 79, px[79 * 120 + 119]));
    {
        ServerPixels shown(probe_, w, 120, 80);
        ASSERT_TRUE(shown.Ok());
        for (auto [x, y] : {std::pair{0, 0}, {10, 70}, {59, 40}, {60, 40}, {119, 79}})
            EXPECT_EQ(shown.At(x, y), px[static_cast<std::size_t>(y) * 120 + x]) << x << "," << y;
    }
    // A partial present changes only its rectangle.
    std::vector<std::uint32_t> blue(120 * 80, 0xFF0000FFu);
    RECT dirty{10, 10, 20, 20};
    Present(h, blue.data(), 120 * 4, 120, 80, &dirty);
    ServerPixels afterPartial(probe_, w, 120, 80);
    ASSERT_TRUE(afterPartial.Ok());
    EXPECT_EQ(afterPartial.At(15, 15), 0xFF0000FFu);
    EXPECT_EQ(afterPartial.At(25, 15), px[15 * 120 + 25]);
}

TEST_F(X11Plain, OrdinaryWindowIsOpaqueAndRegionShapesIt) {
    Hwnd h = Make("ordinary-region", 300, 40, 100, 60);
    std::vector<std::uint32_t> half(100 * 60, 0x80402010u);
    Present(h, half.data(), 400, 100, 60);
    plat::Region rgn = CreateRoundRectRgn(6, 6, 95, 55, 5, 5);
    SetWindowRgn(h, &rgn);
    ShowWindow(h, SW_SHOWNORMAL);
    Window w = Find("ordinary-region");
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(PumpUntilShown(w, 50, 30, 0xFF402010u));
    ServerPixels shown(probe_, w, 100, 60);
    ASSERT_TRUE(shown.Ok());
    EXPECT_EQ(shown.At(50, 30), 0xFF402010u);
    EXPECT_TRUE(InShape(probe_, w, 50, 30));
    EXPECT_FALSE(InShape(probe_, w, 2, 2));
    EXPECT_FALSE(InShape(probe_, w, 6, 6)) << "the corner is rounded";
    SetWindowRgn(h, nullptr);
    EXPECT_TRUE(PumpUntilInShape(w, 2, 2, true));
}

TEST_F(X11Plain, FaintPixelsAreCutWithoutACompositor) {
    ASSERT_FALSE(IsCompositionEnabled());
    Hwnd h = Make("cut-transparent", 500, 40, 100, 50, WS_EX_LAYERED);
    // Transparent, then a faint shadow, then half opaque and more.
    std::vector<std::uint32_t> px(100 * 50, 0xC0603000u);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 30; ++x)
            px[static_cast<std::size_t>(y) * 100 + x] = x < 20 ? 0 : 0x40000000u;
    for (int y = 0; y < 50; ++y) px[static_cast<std::size_t>(y) * 100 + 30] = 0x80404040u;
    PresentAndShow(h, px, 100, 50);
    Window w = Find("cut-transparent");
    ASSERT_NE(w, 0u);
    EXPECT_TRUE(PumpUntilInShape(w, 10, 10, false));
    EXPECT_FALSE(InShape(probe_, w, 25, 10));
    EXPECT_TRUE(InShape(probe_, w, 30, 10));
    EXPECT_TRUE(InShape(probe_, w, 90, 10));
    // A present of part of some rows changes the shape there only.
    std::vector<std::uint32_t> hole(100 * 50, 0);
    RECT middle{50, 10, 60, 20};
    Present(h, hole.data(), 400, 100, 50, &middle);
    EXPECT_TRUE(PumpUntilInShape(w, 55, 15, false));
    EXPECT_TRUE(InShape(probe_, w, 45, 15));
    EXPECT_TRUE(InShape(probe_, w, 65, 15));
    EXPECT_FALSE(InShape(probe_, w, 10, 15));
    // What becomes opaque later is shown again.
    std::fill(px.begin(), px.end(), 0xFF000000u);
    Present(h, px.data(), 400, 100, 50);
    EXPECT_TRUE(PumpUntilInShape(w, 10, 10, true));
    EXPECT_TRUE(InShape(probe_, w, 55, 15));
}

TEST_F(X11Plain, XdotoolMouseArrivesAsMessages) {
    Hwnd h = Make("mouse-target", 200, 200, 300, 200);
    std::vector<std::uint32_t> px(300 * 200, 0xFF808080u);
    PresentAndShow(h, px, 300, 200);
    ASSERT_NE(Find("mouse-target"), 0u);
    RunCommand("xdotool mousemove 250 260 click 1");
    ASSERT_TRUE(WaitFor(WM_LBUTTONUP));
    auto downs = Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 50);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 60);
    EXPECT_EQ(downs[0].wParam, MK_LBUTTON);
    RunCommand("xdotool click 3");
    ASSERT_TRUE(WaitFor(WM_RBUTTONUP));
    EXPECT_EQ(Of(WM_RBUTTONDOWN).size(), 1u);
    RunCommand("xdotool click 5");
    ASSERT_TRUE(WaitFor(WM_MOUSEWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Of(WM_MOUSEWHEEL)[0].wParam), -WHEEL_DELTA);
    // The class asks for double clicks.
    RunCommand("xdotool mousemove 260 270 click --repeat 2 --delay 80 1");
    ASSERT_TRUE(WaitFor(WM_LBUTTONDBLCLK));
    EXPECT_EQ(GET_X_LPARAM(Of(WM_LBUTTONDBLCLK)[0].lParam), 60);
    // Leaving the window is reported once tracked.
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = h;
    TrackMouseEvent(&tme);
    RunCommand("xdotool mousemove 1000 900");
    EXPECT_TRUE(WaitFor(WM_MOUSELEAVE));
}

TEST_F(X11Plain, XdotoolKeysAndChineseTextArriveAsMessages) {
    rt::Text committed;
    bool ctrlDown = false;
    hook = [&](Hwnd hw, UINT m, WPARAM w, LPARAM, LRESULT* r) {
        if (m == WM_KEYDOWN && w == 'C') ctrlDown = GetKeyState(VK_CONTROL) < 0;
        if (m != WM_IME_COMPOSITION) return false;
        Himc himc = ImmGetContext(hw);
        committed += ImmGetResultString(himc);
        ImmReleaseContext(hw, himc);
        *r = 0;
        return true;
    };
    Hwnd h = Make("keys-target", 600, 300, 300, 100);
    std::vector<std::uint32_t> px(300 * 100, 0xFFFFFFFFu);
    PresentAndShow(h, px, 300, 100);
    ASSERT_NE(Find("keys-target"), 0u);
    RunCommand("xdotool mousemove 650 350");
    PumpUntil([&] { return GetFocus() == h; });
    RunCommand("xdotool type --delay 30 'aB1'");
    ASSERT_TRUE(WaitFor(WM_CHAR, 3));
    auto chars = Of(WM_CHAR);
    EXPECT_EQ(chars[0].wParam, 'a');
    EXPECT_EQ(chars[1].wParam, 'B');
    EXPECT_EQ(chars[2].wParam, '1');
    EXPECT_EQ(Of(WM_KEYDOWN)[0].wParam, 'A');
    RunCommand("xdotool key ctrl+c");
    ASSERT_TRUE(PumpUntil([&] {
        for (auto& s : Of(WM_KEYDOWN))
            if (s.wParam == 'C') return true;
        return false;
    }));
    EXPECT_TRUE(ctrlDown);
    RunCommand("xdotool key Return BackSpace");
    ASSERT_TRUE(PumpUntil([&] {
        for (auto& s : Of(WM_KEYDOWN))
            if (s.wParam == VK_BACK) return true;
        return false;
    }));
    // The layer reads keys while xdotool types, as a program idle in its loop does.
    BindKeys({0x1005173, 0x100952E, 0x1005B57});  // 关键字
    std::atomic<bool> typed{false};
    std::thread typist([&] {
        RunCommand("xdotool type --delay 100 '" + rt::Cp936ToUtf8("关键字") + "'");
        typed = true;
    });
    PumpUntil([&] { return typed && committed.size() >= 6; }, 8000);
    typist.join();
    EXPECT_EQ(committed, rt::Text("关键字"));
}

TEST_F(X11Plain, ClipboardTravelsBothWaysWithXclip) {
    rt::Text link = "magnet:?xt=urn:btih:ABC&dn=电影 合集";
    ASSERT_TRUE(SetClipboardText(link));
    EXPECT_EQ(RunCommandPumping("xclip -o -selection clipboard", 30000), rt::Cp936ToUtf8(link));
    EXPECT_EQ(GetClipboardText(), link) << "read back from our own selection";

    // Beyond one request: the text goes in pieces.
    std::string big(700 * 1024, 'x');
    for (std::size_t i = 0; i < big.size(); i += 1000) big[i] = 'y';
    ASSERT_TRUE(SetClipboardText(big));
    std::string out = RunCommandPumping("xclip -o -selection clipboard | md5sum", 60000);
    char path[] = "/tmp/platform_clip_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, big.data(), big.size()), static_cast<ssize_t>(big.size()));
    close(fd);
    std::string expected = RunCommand(std::string("md5sum < ") + path);
    unlink(path);
    EXPECT_EQ(out, expected);

    // Another owner: xclip keeps the selection until it loses it.
    std::string chinese = rt::Cp936ToUtf8("另一个程序的文本");
    RunCommand("printf '%s' '" + chinese + "' | xclip -i -selection clipboard >/dev/null 2>&1");
    EXPECT_TRUE(PumpUntil([&] { return GetClipboardText() == rt::Utf8ToCp936(chinese); }, 3000));
    EXPECT_TRUE(IsClipboardTextAvailable());
    // Taking it back ends xclip's ownership.
    ASSERT_TRUE(SetClipboardText("back"));
    EXPECT_EQ(GetClipboardText(), "back");
}

TEST_F(X11Plain, Utf8TitleIsFoundByName) {
    Hwnd h = Make("title-before", 100, 600, 200, 50);
    std::vector<std::uint32_t> px(200 * 50, 0xFF202020u);
    PresentAndShow(h, px, 200, 50);
    ASSERT_NE(Find("title-before"), 0u);
    SetWindowText(h, "青柠搜索器1.1  by墨川");
    Window w = Find(rt::Cp936ToUtf8("青柠搜索器"));
    ASSERT_NE(w, 0u);
    std::string props =
        RunCommand("xprop -id " + std::to_string(w) + " _NET_WM_NAME WM_NAME _MOTIF_WM_HINTS");
    EXPECT_NE(props.find(rt::Cp936ToUtf8("青柠搜索器1.1  by墨川")), std::string::npos) << props;
    EXPECT_NE(props.find("WM_NAME"), std::string::npos);
    EXPECT_NE(props.find("0x2, 0x0, 0x0"), std::string::npos) << "no frame: " << props;
}

TEST_F(X11Plain, CaptionDragMovesWithTheOwnLoop) {
    PressesDragTheCaption();
    Hwnd h = Make("drag-me", 100, 400, 200, 100);
    std::vector<std::uint32_t> px(200 * 100, 0xFF336699u);
    PresentAndShow(h, px, 200, 100);
    Window w = Find("drag-me");
    ASSERT_NE(w, 0u);
    RunCommand("xdotool mousemove 150 420 mousedown 1");
    ASSERT_TRUE(WaitFor(WM_ENTERSIZEMOVE));
    RunCommand("xdotool mousemove 200 470 sleep 0.05 mousemove 250 520 sleep 0.05 mouseup 1");
    ASSERT_TRUE(WaitFor(WM_EXITSIZEMOVE));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{200, 500, 400, 600}));
    EXPECT_TRUE(PumpUntil([&] {
        const XWindowAttributes a = Attributes(w);
        return a.x == 200 && a.y == 500;
    }));
    EXPECT_TRUE(Of(WM_LBUTTONUP).empty()) << "the loop takes the release";
    // Minimise hides the window without a manager; restore brings it back.
    SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_TRUE(PumpUntil([&] { return Attributes(w).map_state != IsViewable; }));
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(h));
    EXPECT_NE(Find("drag-me"), 0u);
}

TEST_F(X11Plain, MessageBoxClosesOnEnter) {
    // The box may show late on a loaded machine, and a key pressed before it
    // has the focus is lost: the user presses Enter until the box is gone.
    std::atomic<bool> closed{false};
    std::thread user([&] {
        for (int i = 0; i < 100 && !closed; ++i) {
            if (!RunCommand("xdotool search --name '" + rt::Cp936ToUtf8("出错了") + "' 2>/dev/null")
                     .empty())
                RunCommand("xdotool mousemove 960 540 sleep 0.2 key Return");
            usleep(300 * 1000);
        }
    });
    EXPECT_EQ(MessageBox(nullptr, "内存不足", "出错了", MB_OK | MB_ICONERROR), IDOK);
    closed = true;
    user.join();
    EXPECT_EQ(RunCommand("xdotool search --name '" + rt::Cp936ToUtf8("出错了") + "' 2>/dev/null"),
              "");
}

}  // namespace

namespace {

TEST_F(X11Plain, ApplicationIdentityAndIconsAreReadBack) {
    ASSERT_TRUE(SetApplicationIdentity("seeker", "Seeker"));
    Hwnd h = Make("identity", 700, 600, 120, 40);
    std::vector<std::uint32_t> px(120 * 40, 0xFF204060u);
    PresentAndShow(h, px, 120, 40);
    Window w = Find("identity");
    ASSERT_NE(w, 0u);
    std::string id = std::to_string(w);
    EXPECT_NE(RunCommand("xprop -id " + id + " WM_CLASS").find("\"seeker\", \"Seeker\""),
              std::string::npos);
    // The process number beside the machine it is a number on.
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(RunCommand("xprop -id " + id + " WM_CLIENT_MACHINE"),
              std::string("WM_CLIENT_MACHINE(STRING) = \"") + host + "\"\n");
    EXPECT_EQ(RunCommand("xprop -id " + id + " _NET_WM_PID"),
              "_NET_WM_PID(CARDINAL) = " + std::to_string(getpid()) + "\n");

    IconImage small{2, 1, {0xFFFF0000u, 0x8000FF00u}};
    IconImage large{16, 16, std::vector<std::uint32_t>(256, 0xFF0000FFu)};
    ASSERT_TRUE(SetWindowIcon(h, {small, large}));
    // Every item as a decimal cardinal: width, height, pixels, per picture.
    std::string icon;
    PumpUntil([&] {
        icon = RunCommand("xprop -id " + id + " -f _NET_WM_ICON 32c '=$0+\\n' _NET_WM_ICON");
        return icon.find("=2,") != std::string::npos;
    });
    EXPECT_NE(icon.find("=2, 1, 4294901760, 2147548928, 16, 16, 4278190335, "), std::string::npos)
        << icon;
    std::size_t items = std::count(icon.begin(), icon.end(), ',') + 1;
    EXPECT_EQ(items, 2u + 2 + 2 + 256);
    ASSERT_TRUE(SetWindowIcon(h, {}));
    EXPECT_TRUE(PumpUntil([&] {
        return RunCommand("xprop -id " + id + " _NET_WM_ICON").find("not found") !=
               std::string::npos;
    }));
    SetApplicationIdentity("seeker", "seeker");
}

}  // namespace
