// The Windows backend under wine and Xvfb: layered windows show the
// presented picture, a quick click on a caption never moves the window and
// a drag does, keys and typed Chinese arrive as on Linux, the clipboard
// travels both ways as Unicode text, capture, regions and icons.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "runtime/codepage.h"
#include "tests/platform/win32/native_probe.h"

using namespace plat;
using namespace platform_win32_test;

namespace {

// Messages the test window received, in order.
struct Seen {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    rt::Text result;  // WM_IME_COMPOSITION's result string
};
std::vector<Seen>& Log() {
    static std::vector<Seen> log;
    return log;
}

LRESULT TestProc(Hwnd h, UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        // The top 30 rows are a caption: a press there moves the window.
        Log().push_back({msg, w, l, {}});
        if (GET_Y_LPARAM(l) < 30) DefWindowProc(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return 0;
    case WM_IME_COMPOSITION:
        Log().push_back({msg, w, l, ImmGetResultString(ImmGetContext(h))});
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_CHAR: Log().push_back({msg, w, l, {}}); return 0;
    default: return DefWindowProc(h, msg, w, l);
    }
}

// Runs the thread's message loop until `done` or `ms` milliseconds passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        Sleep(5);
    }
}

void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool Received(UINT message) {
    for (const Seen& s : Log())
        if (s.message == message) return true;
    return false;
}

class Win32Window : public ::testing::Test {
protected:
    static constexpr int kW = 160;
    static constexpr int kH = 100;

    void SetUp() override {
        WNDCLASS wc;
        wc.lpszClassName = "Win32Test";
        wc.style = 0;  // every press is a press, however quick the clicks
        wc.lpfnWndProc = TestProc;
        RegisterClass(wc);
        Log().clear();
    }
    void TearDown() override {
        for (Hwnd h : made_) DestroyWindow(h);
        Pump(50);
    }

    // A shown window at (x, y) filled with `pixel` (premultiplied ARGB).
    Hwnd Make(const rt::Text& title, int x, int y, std::uint32_t pixel, DWORD exStyle) {
        Hwnd h = CreateWindowEx(exStyle, "Win32Test", title, WS_POPUP, x, y, kW, kH);
        if (h == nullptr) return nullptr;
        made_.push_back(h);
        std::vector<std::uint32_t> px(kW * kH, pixel);
        Present(h, px.data(), kW * 4, kW, kH);
        ShowWindow(h, SW_SHOW);
        Pump(300);
        return h;
    }

    // Input from another thread while this one runs its loop, as a user's
    // comes: the system's move loop blocks the thread until the release.
    void Drive(const std::function<void()>& steps) {
        std::atomic<bool> finished{false};
        std::thread user([&] {
            steps();
            finished = true;
        });
        PumpUntil([&] { return finished.load(); }, 20000);
        user.join();
        Pump(200);
    }

    std::vector<Hwnd> made_;
};

TEST_F(Win32Window, LayeredWindowShowsThePresentedPicture) {
    Hwnd h = Make("呈现", 200, 150, 0xFF2060A0u, WS_EX_LAYERED);
    ASSERT_NE(h, nullptr);
    NativeWindowInfo info = NativeWindow("呈现");  // the title arrives as Unicode
    ASSERT_TRUE(info.found);
    EXPECT_TRUE(info.visible);
    EXPECT_TRUE(info.layered);
    EXPECT_EQ(info.rect, (RECT{200, 150, 200 + kW, 150 + kH}));
    EXPECT_EQ(ScreenPixel(260, 200), 0x2060A0u);
    // A partial present changes its rectangle only.
    std::vector<std::uint32_t> red(kW * kH, 0xFFFF0000u);
    RECT dirty{0, 0, 20, 20};
    Present(h, red.data(), kW * 4, kW, kH, &dirty);
    Pump(100);
    EXPECT_EQ(ScreenPixel(205, 155), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(260, 200), 0x2060A0u);
    // A move by the program moves the native window.
    MoveWindow(h, 300, 250, kW, kH);
    Pump(100);
    EXPECT_EQ(NativeWindow("呈现").rect, (RECT{300, 250, 300 + kW, 250 + kH}));
}

TEST_F(Win32Window, QuickClickOnTheCaptionNeverMovesAndADragDoes) {
    Hwnd h = Make("拖动", 400, 300, 0xFF808080u, WS_EX_LAYERED);
    ASSERT_NE(h, nullptr);
    for (int round = 0; round < 5; ++round) {
        Drive([] {
            MovePointer(450, 310);
            LeftButton(true);
            LeftButton(false);
            // The pointer goes on after the click; the window must not follow.
            Sleep(50);
            MovePointer(650, 500);
        });
        RECT r;
        GetWindowRect(h, &r);
        ASSERT_EQ(r, (RECT{400, 300, 400 + kW, 300 + kH})) << "round " << round;
    }
    EXPECT_TRUE(Received(WM_LBUTTONDOWN));
    Drive([] {
        MovePointer(450, 310);
        LeftButton(true);
        Sleep(300);
        for (int step = 1; step <= 5; ++step) {
            MovePointer(450 + 20 * step, 310 + 12 * step);
            Sleep(50);
        }
        LeftButton(false);
        Sleep(100);
        MovePointer(900, 900);
    });
    RECT moved;
    GetWindowRect(h, &moved);
    EXPECT_EQ(moved, (RECT{500, 360, 500 + kW, 360 + kH}));
    EXPECT_EQ(NativeWindow("拖动").rect, moved);
}

TEST_F(Win32Window, KeysTypeCharactersAndChineseArrivesAsTheCompositionResult) {
    Hwnd h = Make("键盘", 100, 500, 0xFF404040u, WS_EX_LAYERED);
    ASSERT_NE(h, nullptr);
    Drive([] {
        MovePointer(150, 560);
        LeftButton(true);
        LeftButton(false);
        Sleep(200);
        Key('A', true);
        Key('A', false);
        TypeCharacter(u'中');
        TypeCharacter(u'文');
        Sleep(200);
    });
    EXPECT_EQ(GetForegroundWindow(), h);
    std::vector<Seen> keys;
    for (const Seen& s : Log())
        if (s.message == WM_KEYDOWN || s.message == WM_CHAR || s.message == WM_IME_COMPOSITION)
            keys.push_back(s);
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(keys[3].message, static_cast<UINT>(WM_IME_COMPOSITION));
    EXPECT_EQ(keys[3].result, rt::Text("中"));
    EXPECT_EQ(keys[5].result, rt::Text("文"));
}

TEST_F(Win32Window, ClipboardTravelsBothWaysAsUnicodeText) {
    ASSERT_TRUE(SetClipboardText("磁力链接 magnet:?xt=1"));
    EXPECT_EQ(NativeClipboard(),
              std::optional<std::string>(rt::Cp936ToUtf8("磁力链接 magnet:?xt=1")));
    ASSERT_TRUE(SetNativeClipboard(rt::Cp936ToUtf8("外来 text")));
    EXPECT_EQ(GetClipboardText(), rt::Text("外来 text"));
    EXPECT_TRUE(IsClipboardTextAvailable());
}

TEST_F(Win32Window, CaptureBringsMovesFromOutsideTheWindow) {
    Hwnd h = Make("捕获", 600, 100, 0xFF202020u, WS_EX_LAYERED);
    ASSERT_NE(h, nullptr);
    SetCapture(h);
    Drive([] {
        MovePointer(650, 150);
        Sleep(100);
        MovePointer(1000, 700);
        Sleep(200);
    });
    ReleaseCapture();
    ASSERT_FALSE(Log().empty());
    const Seen& last = Log().back();
    EXPECT_EQ(last.message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(GET_X_LPARAM(last.lParam), 400);
    EXPECT_EQ(GET_Y_LPARAM(last.lParam), 600);
}

TEST_F(Win32Window, RegionAndIconsReachTheNativeWindow) {
    Hwnd h = Make("区域", 900, 400, 0xFF00A000u, 0);
    ASSERT_NE(h, nullptr);
    Region region = CreateRectRgn(5, 6, 100, 90);
    ASSERT_TRUE(SetWindowRgn(h, &region));
    IconImage big{32, 32, std::vector<std::uint32_t>(32 * 32, 0xFF3366CCu)};
    IconImage little{16, 16, std::vector<std::uint32_t>(16 * 16, 0xFF3366CCu)};
    ASSERT_TRUE(SetWindowIcon(h, {little, big}));
    Pump(100);
    NativeWindowInfo info = NativeWindow("区域");
    EXPECT_EQ(info.regionBox, (RECT{5, 6, 100, 90}));
    EXPECT_TRUE(info.hasBigIcon);
    EXPECT_TRUE(info.hasSmallIcon);
    // Outside the region the window shows nothing of its own.
    EXPECT_EQ(ScreenPixel(902, 402), 0u);
    EXPECT_EQ(ScreenPixel(950, 450), 0x00A000u);
}

}  // namespace
