// Window records: life cycle, properties, styles, geometry, show and
// activation, default processing of close and system commands, regions.
#include "tests/platform/core/recorder.h"

using namespace plat;
using platform_test::PlatformTest;
using platform_test::Recorder;

namespace {

class WindowsTest : public PlatformTest {};

TEST_F(WindowsTest, CreateSendsCreateAndDestroySendsDestroyOwnedFirst) {
    static Recorder* current = nullptr;
    static void* createParam = nullptr;
    Recorder rec;
    current = &rec;
    WNDCLASS wc;
    wc.lpszClassName = "TestCreate";
    wc.lpfnWndProc = [](Hwnd h, UINT m, WPARAM w, LPARAM l) {
        current->seen.push_back({h, m, w, l});
        if (m == WM_CREATE) createParam = reinterpret_cast<CREATESTRUCT*>(l)->lpCreateParams;
        return DefWindowProc(h, m, w, l);
    };
    RegisterClass(wc);
    int param = 7;
    Hwnd owner = CreateWindowEx(0, "TestCreate", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, &param);
    ASSERT_NE(owner, nullptr);
    auto creates = rec.Of(WM_CREATE);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(createParam, &param);
    EXPECT_EQ(rec.Order({WM_NCCREATE, WM_CREATE}), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    Hwnd owned =
        CreateWindowEx(WS_EX_TOOLWINDOW, "TestCreate", "owned", WS_POPUP, 0, 0, 10, 10, owner);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(GetOwner(owned), owner);
    rec.Clear();
    EXPECT_TRUE(DestroyWindow(owner));
    auto destroys = rec.Of(WM_DESTROY);
    ASSERT_EQ(destroys.size(), 2u);
    EXPECT_EQ(destroys[0].hwnd, owned);
    EXPECT_EQ(destroys[1].hwnd, owner);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(DestroyWindow(owner));
    // Handles are not reused.
    Hwnd again = CreateWindowEx(0, "TestCreate", "x", WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(again, owner);
    EXPECT_NE(again, owned);
    DestroyWindow(again);
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "x", WS_POPUP, 0, 0, 1, 1), nullptr);
}

TEST_F(WindowsTest, PropertiesAreNamedAndRemovable) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 10, 10, false);
    EXPECT_EQ(GetProp(h, "Qd_Wnd_Control"), 0);
    EXPECT_TRUE(SetProp(h, "Qd_Wnd_Control", 1234));
    EXPECT_TRUE(SetProp(h, "Qd_Wnd_Flags", 3));
    EXPECT_EQ(GetProp(h, "Qd_Wnd_Control"), 1234);
    EXPECT_EQ(RemoveProp(h, "Qd_Wnd_Control"), 1234);
    EXPECT_EQ(GetProp(h, "Qd_Wnd_Control"), 0);
    EXPECT_EQ(GetProp(h, "Qd_Wnd_Flags"), 3);
    DestroyWindow(h);
    EXPECT_EQ(GetProp(h, "Qd_Wnd_Flags"), 0);
    EXPECT_FALSE(SetProp(h, "Qd_Wnd_Flags", 1));
}

TEST_F(WindowsTest, StyleChangesAreReportedAndLayeredFollowsExStyle) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 10, 10, false);
    LPARAM style = GetWindowLong(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    SetWindowLong(h, GWL_STYLE, style | WS_THICKFRAME | WS_BORDER);
    auto changed = rec.Of(WM_STYLECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].wParam, static_cast<WPARAM>(GWL_STYLE));
    EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_THICKFRAME);
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(GetWindowLong(h, GWL_STYLE) & WS_VISIBLE);
    ShowWindow(h, SW_SHOW);
    EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowsTest, ShowActivatesFocusesAndPaints) {
    Recorder a, b;
    Hwnd first = Make(a);
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(GetFocus(), first);
    EXPECT_FALSE(a.Of(WM_PAINT).empty());
    EXPECT_EQ(a.Order({WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_PAINT}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_PAINT}));
    a.Clear();
    Hwnd second = Make(b, 400, 100);
    auto deact = a.Of(WM_ACTIVATE);
    ASSERT_EQ(deact.size(), 1u);
    EXPECT_EQ(deact[0].wParam, WA_INACTIVE);
    EXPECT_EQ(deact[0].lParam, reinterpret_cast<LPARAM>(second));
    auto act = b.Of(WM_ACTIVATE);
    ASSERT_EQ(act.size(), 1u);
    EXPECT_EQ(act[0].wParam, WA_ACTIVE);
    EXPECT_EQ(act[0].lParam, reinterpret_cast<LPARAM>(first));
    ASSERT_EQ(a.Of(WM_KILLFOCUS).size(), 1u);
    EXPECT_EQ(a.Of(WM_KILLFOCUS)[0].wParam, reinterpret_cast<WPARAM>(second));
    // A window shown without activation leaves the focus alone.
    Recorder c;
    Hwnd third = Make(c, 0, 0, 10, 10, false);
    ShowWindow(third, SW_SHOWNA);
    EXPECT_EQ(GetFocus(), second);
    EXPECT_TRUE(IsWindowVisible(third));
    // A click on an inactive window activates it.
    headless::Click(110, 110);
    headless::PumpMessages();
    EXPECT_EQ(GetForegroundWindow(), first);
    ASSERT_FALSE(a.Of(WM_ACTIVATE).empty());
    EXPECT_EQ(a.Of(WM_ACTIVATE).back().wParam, WA_CLICKACTIVE);
}

TEST_F(WindowsTest, TextGoesThroughSetTextAndGetText) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 10, 10, false);
    rt::Text title = "青柠搜索器1.1  by墨川";
    EXPECT_TRUE(SetWindowText(h, title));
    EXPECT_EQ(rec.Of(WM_SETTEXT).size(), 1u);
    EXPECT_EQ(GetWindowText(h), title);
    char buf[8];
    LRESULT n = SendMessage(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(std::string(buf), title.substr(0, 7));
    EXPECT_EQ(SendMessage(h, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(title.size()));
}

TEST_F(WindowsTest, SubclassedProcedureCanForwardToThePreviousOne) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 10, 10, false);
    std::vector<UINT> outer;
    WndProc saved = SetWindowProc(h, {});
    SetWindowProc(h, [&](Hwnd hw, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        outer.push_back(m);
        if (m == WM_USER + 1) return 42;
        return CallWindowProc(saved, hw, m, w, l);
    });
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 0, 0), 42);
    SendMessage(h, WM_USER + 2, 0, 0);
    EXPECT_EQ(outer, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(rec.Of(WM_USER + 2).size(), 1u);
    EXPECT_TRUE(rec.Of(WM_USER + 1).empty());
}

TEST_F(WindowsTest, CloseDestroysThroughTheDefaultProcedure) {
    Recorder rec;
    Hwnd h = Make(rec);
    PostMessage(h, WM_CLOSE, 0, 0);
    headless::PumpMessages();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(rec.Order({WM_CLOSE, WM_DESTROY}), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(GetFocus(), nullptr);
    // Alt+F4 closes through the system command.
    Recorder other;
    Hwnd h2 = Make(other);
    headless::Key(VK_MENU, true);
    headless::KeyPress(VK_F4);
    headless::Key(VK_MENU, false);
    headless::PumpMessages();
    EXPECT_FALSE(IsWindow(h2));
    ASSERT_EQ(other.Of(WM_SYSCOMMAND).size(), 1u);
    EXPECT_EQ(other.Of(WM_SYSCOMMAND)[0].wParam, SC_CLOSE);
}

TEST_F(WindowsTest, MaximiseUsesTheMinMaxAnswerAndRestoreReturns) {
    headless::SetScreen(1920, 1080, RECT{0, 0, 1920, 1040});
    Recorder rec;
    rec.hook = [](Hwnd, UINT m, WPARAM, LPARAM l, LRESULT* r) {
        if (m != WM_GETMINMAXINFO) return false;
        auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
        RECT work = GetWorkArea();
        mmi->ptMaxSize = POINT{work.width() + 14, work.height() + 14};
        mmi->ptMaxPosition = POINT{work.left - 7, work.top - 7};
        *r = 0;
        return true;
    };
    Hwnd h = Make(rec, 472, 246, 975, 547);
    SendMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{-7, -7, 1927, 1047}));
    EXPECT_TRUE(IsZoomed(h));
    auto sizes = rec.Of(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().wParam, SIZE_MAXIMIZED);
    EXPECT_EQ(sizes.back().lParam, MAKELPARAM(1934, 1054));
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{472, 246, 1447, 793}));
    EXPECT_FALSE(IsZoomed(h));
    SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_EQ(rec.Of(WM_SIZE).back().wParam, SIZE_MINIMIZED);
    EXPECT_EQ(WindowFromPoint(POINT{500, 300}), nullptr);
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(h));
    EXPECT_EQ(WindowFromPoint(POINT{500, 300}), h);
}

TEST_F(WindowsTest, RoundRectRegionCutsTheCorners) {
    // One pixel smaller at the right and bottom than the rectangle.
    Region rgn = CreateRoundRectRgn(6, 6, 970, 543, 5, 5);
    EXPECT_FALSE(rgn.Contains(6, 6));
    EXPECT_FALSE(rgn.Contains(968, 541));
    EXPECT_TRUE(rgn.Contains(8, 6 + 2));
    EXPECT_TRUE(rgn.Contains(500, 6));
    EXPECT_TRUE(rgn.Contains(6, 300));
    EXPECT_TRUE(rgn.Contains(968, 300));
    EXPECT_FALSE(rgn.Contains(969, 300));
    EXPECT_TRUE(rgn.Contains(500, 541));
    EXPECT_FALSE(rgn.Contains(500, 542));
    // Without a radius it is the plain rectangle, one pixel smaller likewise.
    Region plain = CreateRoundRectRgn(0, 0, 10, 10, 0, 0);
    ASSERT_EQ(plain.rects.size(), 1u);
    EXPECT_EQ(plain.rects[0], (RECT{0, 0, 9, 9}));
}

TEST_F(WindowsTest, WindowFromPointHonoursRegionTransparencyAndOrder) {
    Recorder a, b;
    Hwnd back = Make(a, 0, 0, 100, 100);
    Hwnd front = Make(b, 0, 0, 100, 100, true, "TestDbl", WS_EX_LAYERED);
    std::vector<std::uint32_t> pixels(100 * 100, 0x80FF0000u);
    pixels[5 * 100 + 5] = 0;  // transparent pixels
    pixels[0] = 0;
    Present(front, pixels.data(), 400, 100, 100);
    EXPECT_EQ(WindowFromPoint(POINT{50, 50}), front);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), back);
    Region rgn = CreateRoundRectRgn(0, 0, 100, 100, 20, 20);
    SetWindowRgn(back, &rgn);
    EXPECT_EQ(headless::WindowRegion(back).rects, rgn.rects);
    EXPECT_EQ(WindowFromPoint(POINT{0, 0}), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{150, 50}), nullptr);
    SetWindowPos(back, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint(POINT{50, 50}), back);
    EXPECT_EQ(headless::Windows().front(), back);
}

TEST_F(WindowsTest, MoveWindowReportsMoveAndSize) {
    Recorder rec;
    Hwnd h = Make(rec);
    rec.Clear();
    MoveWindow(h, 10, 20, 300, 200);
    ASSERT_EQ(rec.Of(WM_MOVE).size(), 1u);
    EXPECT_EQ(rec.Of(WM_MOVE)[0].lParam, MAKELPARAM(10, 20));
    ASSERT_EQ(rec.Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(rec.Of(WM_SIZE)[0].lParam, MAKELPARAM(300, 200));
    rec.Clear();
    SetWindowPos(h, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(rec.Of(WM_MOVE).size(), 1u);
    EXPECT_TRUE(rec.Of(WM_SIZE).empty());
    RECT c;
    GetClientRect(h, &c);
    EXPECT_EQ(c, (RECT{0, 0, 300, 200}));
    POINT p{55, 70};
    ScreenToClient(h, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 10);
}

}  // namespace

namespace {

TEST_F(WindowsTest, WindowsCarryTheIdentitySetBeforeThemAndTheirIcons) {
    Recorder rec;
    Hwnd before = Make(rec, 0, 0, 10, 10, false);
    EXPECT_FALSE(SetApplicationIdentity("", "Seeker"));
    ASSERT_TRUE(SetApplicationIdentity("seeker", "Seeker"));
    Hwnd after = Make(rec, 0, 0, 10, 10, false);
    EXPECT_EQ(headless::Identity(before).className, "seeker");
    EXPECT_EQ(headless::Identity(after).name, "seeker");
    EXPECT_EQ(headless::Identity(after).className, "Seeker");

    IconImage small{2, 1, {0xFFFF0000u, 0x8000FF00u}};
    IconImage large{3, 3, std::vector<std::uint32_t>(9, 0xFF0000FFu)};
    ASSERT_TRUE(SetWindowIcon(after, {small, large}));
    auto icons = headless::Identity(after).icons;
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0].pixels, small.pixels);
    EXPECT_EQ(icons[1].width, 3);
    // A picture short of its size is refused and the icons stay.
    EXPECT_FALSE(SetWindowIcon(after, {IconImage{4, 4, {0xFFFFFFFFu}}}));
    EXPECT_EQ(headless::Identity(after).icons.size(), 2u);
    ASSERT_TRUE(SetWindowIcon(after, {}));
    EXPECT_TRUE(headless::Identity(after).icons.empty());
    DestroyWindow(after);
    EXPECT_FALSE(SetWindowIcon(after, {small}));
}

}  // namespace
