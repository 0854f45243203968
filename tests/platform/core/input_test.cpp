// Input turned into messages: mouse packing, double clicks, capture, leave
// tracking, wheel, keys and characters, input-method text, system move/size.
#include "runtime/codepage.h"
#include "tests/platform/core/recorder.h"

using namespace plat;
using platform_test::PlatformTest;
using platform_test::Recorder;

namespace {

class InputTest : public PlatformTest {};

TEST_F(InputTest, MouseMessagesCarryClientCoordinatesAndButtonFlags) {
    Recorder rec;
    Make(rec, 100, 50, 200, 150);
    rec.Clear();
    headless::MouseMove(130, 70);
    headless::Key(VK_CONTROL, true);
    headless::MouseButton(0, true);
    headless::PumpMessages();
    auto moves = rec.Of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 30);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 20);
    auto downs = rec.Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, MK_LBUTTON | MK_CONTROL);
    EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    headless::MouseButton(0, false);
    headless::Key(VK_CONTROL, false);
    headless::PumpMessages();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    ASSERT_EQ(rec.Of(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(rec.Of(WM_LBUTTONUP)[0].wParam, MK_CONTROL);
    // WM_SETCURSOR precedes the move and names the client area.
    auto setCursor = rec.Of(WM_SETCURSOR);
    ASSERT_FALSE(setCursor.empty());
    EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(setCursor[0].lParam)), HTCLIENT);
    EXPECT_EQ(HIWORD(static_cast<std::uintptr_t>(setCursor[0].lParam)), WM_MOUSEMOVE);
}

TEST_F(InputTest, DoubleClicksOnlyForClassesThatAskAndWithinTimeAndDistance) {
    Recorder dbl, plain;
    Make(dbl, 0, 0, 100, 100);
    Make(plain, 200, 0, 100, 100, true, "TestPlain");
    headless::Click(10, 10);
    headless::AdvanceClock(GetDoubleClickTime());
    headless::Click(12, 13);
    headless::AdvanceClock(100);
    headless::Click(12, 13);  // a third press starts over
    headless::PumpMessages();
    EXPECT_EQ(dbl.Order({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
    dbl.Clear();
    headless::AdvanceClock(1000);
    headless::Click(10, 10);
    headless::AdvanceClock(GetDoubleClickTime() + 1);
    headless::Click(10, 10);
    headless::AdvanceClock(1000);
    headless::Click(10, 10);
    headless::Click(10 + GetDoubleClickDistance() + 1, 10);
    headless::PumpMessages();
    EXPECT_TRUE(dbl.Of(WM_LBUTTONDBLCLK).empty());
    headless::Click(210, 10);
    headless::Click(210, 10);
    headless::PumpMessages();
    EXPECT_TRUE(plain.Of(WM_LBUTTONDBLCLK).empty());
    EXPECT_EQ(plain.Of(WM_LBUTTONDOWN).size(), 2u);
}

TEST_F(InputTest, CaptureRoutesMouseOutsideTheWindow) {
    Recorder a, b;
    Hwnd ha = Make(a, 0, 0, 100, 100);
    Hwnd hb = Make(b, 300, 0, 100, 100);
    EXPECT_EQ(SetCapture(ha), nullptr);
    EXPECT_EQ(GetCapture(), ha);
    a.Clear();
    headless::MouseMove(350, 20);
    headless::MouseButton(0, true);
    headless::PumpMessages();
    auto moves = a.Of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 350);
    headless::MouseMove(-20, -30);
    headless::PumpMessages();
    EXPECT_EQ(GET_X_LPARAM(a.Of(WM_MOUSEMOVE).back().lParam), -20);
    EXPECT_EQ(GET_Y_LPARAM(a.Of(WM_MOUSEMOVE).back().lParam), -30);
    EXPECT_TRUE(b.Of(WM_MOUSEMOVE).empty());
    EXPECT_TRUE(b.Of(WM_LBUTTONDOWN).empty());
    // Taking the capture away tells the loser.
    SetCapture(hb);
    headless::PumpMessages();
    EXPECT_EQ(a.Of(WM_CAPTURECHANGED).size(), 1u);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    headless::MouseButton(0, false);
}

TEST_F(InputTest, LeaveIsReportedOnceAndHeldBackWhileCaptured) {
    Recorder a;
    Hwnd h = Make(a, 0, 0, 100, 100);
    headless::MouseMove(50, 50);
    headless::PumpMessages();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = h;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    headless::MouseMove(60, 50);
    headless::PumpMessages();
    EXPECT_TRUE(a.Of(WM_MOUSELEAVE).empty());
    headless::MouseMove(500, 500);
    headless::MouseMove(600, 500);
    headless::PumpMessages();
    EXPECT_EQ(a.Of(WM_MOUSELEAVE).size(), 1u);
    // Captured: no leave until the capture ends outside.
    headless::MouseMove(50, 50);
    TrackMouseEvent(&tme);
    SetCapture(h);
    headless::MouseMove(500, 500);
    headless::PumpMessages();
    EXPECT_EQ(a.Of(WM_MOUSELEAVE).size(), 1u);
    ReleaseCapture();
    headless::PumpMessages();
    EXPECT_EQ(a.Of(WM_MOUSELEAVE).size(), 2u);
    // Arming it outside the window reports the leave at once.
    TrackMouseEvent(&tme);
    headless::PumpMessages();
    EXPECT_EQ(a.Of(WM_MOUSELEAVE).size(), 3u);
}

TEST_F(InputTest, WheelGoesToTheFocusedWindowInNotchesOf120) {
    Recorder a, b;
    Make(a, 0, 0, 100, 100);
    Hwnd hb = Make(b, 300, 0, 100, 100);
    ASSERT_EQ(GetFocus(), hb);
    headless::MouseMove(50, 50);
    headless::Wheel(-2);
    headless::PumpMessages();
    EXPECT_TRUE(a.Of(WM_MOUSEWHEEL).empty());
    auto wheel = b.Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -240);
    EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), 50);  // screen coordinates
}

TEST_F(InputTest, KeysTranslateToCharactersAndAltToSystemCharacters) {
    Recorder rec;
    Make(rec);
    headless::TypeText("aB1");
    headless::PumpMessages();
    auto chars = rec.Of(WM_CHAR);
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(chars[0].wParam, 'a');
    EXPECT_EQ(chars[1].wParam, 'B');
    EXPECT_EQ(chars[2].wParam, '1');
    auto downs = rec.Of(WM_KEYDOWN);
    std::vector<WPARAM> vks;
    for (auto& d : downs) vks.push_back(d.wParam);
    EXPECT_EQ(vks, (std::vector<WPARAM>{'A', VK_SHIFT, 'B', '1'}));
    rec.Clear();
    headless::Key(VK_MENU, true);
    headless::KeyPress('S', "s");
    headless::Key(VK_MENU, false);
    headless::PumpMessages();
    EXPECT_EQ(
        rec.Order({WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP}),
        (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP}));
    ASSERT_EQ(rec.Of(WM_SYSCHAR).size(), 1u);
    EXPECT_EQ(rec.Of(WM_SYSCHAR)[0].wParam, 's');
    EXPECT_TRUE(rec.Of(WM_CHAR).empty());
    // Ctrl+C types the control code 3, and GetKeyState sees Ctrl.
    rec.Clear();
    bool ctrlSeen = false;
    rec.hook = [&](Hwnd, UINT m, WPARAM, LPARAM, LRESULT*) {
        if (m == WM_KEYDOWN) ctrlSeen = GetKeyState(VK_CONTROL) < 0;
        return false;
    };
    headless::Key(VK_CONTROL, true);
    headless::KeyPress('C', "c");
    headless::Key(VK_CONTROL, false);
    headless::PumpMessages();
    EXPECT_TRUE(ctrlSeen);
    ASSERT_EQ(rec.Of(WM_CHAR).size(), 1u);
    EXPECT_EQ(rec.Of(WM_CHAR)[0].wParam, 3u);
}

TEST_F(InputTest, ChineseTextArrivesAsCompositionResultInCodePage936) {
    Recorder rec;
    rt::Text got;
    rec.hook = [&](Hwnd h, UINT m, WPARAM, LPARAM l, LRESULT* r) {
        if (m != WM_IME_COMPOSITION || !(l & GCS_RESULTSTR)) return false;
        Himc himc = ImmGetContext(h);
        long n = ImmGetCompositionString(himc, GCS_RESULTSTR, nullptr, 0);
        std::string buf(static_cast<std::size_t>(n), '\0');
        ImmGetCompositionString(himc, GCS_RESULTSTR, buf.data(), static_cast<DWORD>(n));
        ImmReleaseContext(h, himc);
        got += buf;
        *r = 0;
        return true;
    };
    Hwnd h = Make(rec);
    headless::TypeText(rt::Cp936ToUtf8("关键字"));
    headless::CommitComposition(rt::Cp936ToUtf8("电影"));
    headless::PumpMessages();
    EXPECT_EQ(got, rt::Text("关键字电影"));
    EXPECT_TRUE(rec.Of(WM_CHAR).empty());
    // With the input method detached the same keys give code-page bytes.
    EXPECT_NE(ImmAssociateContext(h, nullptr), nullptr);
    EXPECT_EQ(ImmGetContext(h), nullptr);
    rec.Clear();
    headless::TypeText(rt::Cp936ToUtf8("字"));
    headless::PumpMessages();
    auto chars = rec.Of(WM_CHAR);
    rt::Text expect = "字";
    ASSERT_EQ(chars.size(), expect.size());
    for (std::size_t i = 0; i < chars.size(); ++i)
        EXPECT_EQ(chars[i].wParam, static_cast<std::uint8_t>(expect[i]));
}

// A hook that answers a left press as a press on the caption; with
// `maximise`, it posts the maximise first, as the library's double click does.
auto CaptionPress(bool maximise) {
    return [maximise](Hwnd h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_LBUTTONDOWN) return false;
        if (maximise) PostMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        *r = 0;
        return true;
    };
}

TEST_F(InputTest, CaptionPressMovesTheWindowAndTheReleaseEndsIt) {
    Recorder rec;
    rec.hook = CaptionPress(false);
    Hwnd h = Make(rec, 100, 100, 200, 100);
    headless::MouseMove(150, 120);
    headless::MouseButton(0, true);
    headless::PumpMessages();
    rec.Clear();
    headless::MouseMove(170, 150);
    headless::MouseMove(250, 300);
    headless::MouseButton(0, false);
    headless::PumpMessages();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{200, 280, 400, 380}));
    // The loop ate the moves and the release.
    EXPECT_TRUE(rec.Of(WM_MOUSEMOVE).empty());
    EXPECT_TRUE(rec.Of(WM_LBUTTONUP).empty());
    EXPECT_EQ(rec.Of(WM_EXITSIZEMOVE).size(), 1u);
    headless::MouseMove(260, 300);
    headless::PumpMessages();
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 200);
}

// The release after a double click on a caption must not put the maximised
// window back.
TEST_F(InputTest, MaximiseDuringAMoveKeepsTheMaximisedWindowAtTheRelease) {
    Recorder rec;
    rec.hook = CaptionPress(true);
    Hwnd h = Make(rec, 100, 100, 200, 100);
    headless::MouseMove(150, 120);
    headless::MouseButton(0, true);
    headless::PumpMessages();
    RECT maximised;
    GetWindowRect(h, &maximised);
    ASSERT_TRUE(IsZoomed(h));
    ASSERT_NE(maximised, (RECT{100, 100, 300, 200}));
    headless::MouseMove(152, 121);
    headless::MouseButton(0, false);
    headless::PumpMessages();
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, maximised);
    EXPECT_TRUE(IsZoomed(h));
}

TEST_F(InputTest, PressReleasedBeforeItIsHandledStartsNoMoveOrSize) {
    Recorder rec;
    rec.hook = [](Hwnd h, UINT m, WPARAM, LPARAM l, LRESULT* r) {
        if (m != WM_LBUTTONDOWN) return false;
        // The right edge sizes, the rest moves.
        if (GET_X_LPARAM(l) >= 195) SendMessage(h, WM_SYSCOMMAND, SC_SIZE + 2, 0);
        else SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        *r = 0;
        return true;
    };
    Hwnd h = Make(rec, 100, 100, 200, 100);
    for (int x : {150, 298}) {
        // Press and release arrive together, as from a quick click.
        headless::Click(x, 120);
        headless::PumpMessages();
        headless::MouseMove(x + 60, 200);
        headless::MouseMove(x + 90, 260);
        headless::PumpMessages();
        RECT r;
        GetWindowRect(h, &r);
        EXPECT_EQ(r, (RECT{100, 100, 300, 200})) << "click at " << x;
        headless::AdvanceClock(1000);  // no double click
    }
    EXPECT_TRUE(rec.Of(WM_ENTERSIZEMOVE).empty());
    EXPECT_FALSE(rec.Of(WM_MOUSEMOVE).empty()) << "no loop took the moves";
}

TEST_F(InputTest, SizeCommandResizesFromItsEdgeWithinTheMinimum) {
    Recorder rec;
    rec.hook = [](Hwnd, UINT m, WPARAM, LPARAM l, LRESULT* r) {
        if (m != WM_GETMINMAXINFO) return false;
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = POINT{120, 38};
        *r = 0;
        return true;
    };
    Hwnd h = Make(rec, 100, 100, 300, 200);
    headless::MouseMove(101, 101);
    headless::MouseButton(0, true);
    SendMessage(h, WM_SYSCOMMAND, SC_SIZE + 4, 0);  // top-left
    headless::MouseMove(81, 91);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{80, 90, 400, 300}));
    headless::MouseMove(600, 600);  // past the minimum size
    headless::MouseButton(0, false);
    GetWindowRect(h, &r);
    EXPECT_EQ(r, (RECT{280, 262, 400, 300}));
    headless::PumpMessages();
    EXPECT_FALSE(rec.Of(WM_SIZE).empty());
}

TEST_F(InputTest, CursorFollowsSetCursorAndTheClassDefault) {
    Recorder rec;
    rec.hook = [](Hwnd, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_SETCURSOR) return false;
        POINT p;
        GetCursorPos(&p);
        if (p.x < 50) return false;  // default: the class cursor
        SetCursor(LoadCursor(IDC_SIZENWSE));
        *r = 1;
        return true;
    };
    Make(rec, 0, 0, 100, 100);
    headless::MouseMove(60, 10);
    EXPECT_EQ(headless::CurrentCursorId(), IDC_SIZENWSE);
    headless::MouseMove(10, 10);
    EXPECT_EQ(headless::CurrentCursorId(), IDC_ARROW);
    EXPECT_EQ(CursorId(LoadCursor(12345)), IDC_ARROW);
    EXPECT_EQ(CursorId(LoadCursor(IDC_HAND)), IDC_HAND);
}

}  // namespace
