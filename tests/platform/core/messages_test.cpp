// The message queue: retrieval order, quit, posting and sending across
// threads, timers on the test clock.
#include <atomic>
#include <thread>

#include "tests/platform/core/recorder.h"

using namespace plat;
using platform_test::PlatformTest;
using platform_test::Recorder;

namespace {

class MessagesTest : public PlatformTest {};

// Gets and dispatches this thread's messages up to and including `last`.
void DispatchUntil(UINT last) {
    MSG msg;
    while (GetMessage(&msg)) {
        DispatchMessage(&msg);
        if (msg.message == last) return;
    }
}

TEST_F(MessagesTest, PostedBeforeInputBeforePaintBeforeTimer) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 100, 100);
    SetTimer(h, 5, 10);
    headless::AdvanceClock(10);
    InvalidateRect(h, nullptr, false);
    headless::MouseMove(10, 10);
    PostMessage(h, WM_USER, 1, 2);
    rec.Clear();
    headless::PumpMessages();
    EXPECT_EQ(rec.Order({WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}),
              (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
}

TEST_F(MessagesTest, QuitEndsGetMessageWithItsCode) {
    Recorder rec;
    Hwnd h = Make(rec);
    PostMessage(h, WM_USER, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    ASSERT_EQ(GetMessage(&msg), 1);
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_EQ(GetMessage(&msg), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessage(&msg));
}

TEST_F(MessagesTest, PeekWithoutRemoveLeavesTheMessage) {
    Recorder rec;
    Hwnd h = Make(rec);
    headless::PumpMessages();
    PostMessage(h, WM_USER + 3, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 3u);
    EXPECT_FALSE(PeekMessage(&msg));
    // A filter skips what it does not ask for.
    PostMessage(h, WM_USER + 4, 0, 0);
    PostMessage(h, WM_USER + 5, 0, 0);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 5, WM_USER + 5));
    EXPECT_EQ(msg.message, WM_USER + 5u);
    ASSERT_TRUE(PeekMessage(&msg));
    EXPECT_EQ(msg.message, WM_USER + 4u);
}

TEST_F(MessagesTest, PaintRepeatsUntilValidated) {
    Recorder rec;
    rec.hook = [](Hwnd h, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_PAINT) return false;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EXPECT_EQ(ps.rcPaint, (RECT{10, 10, 30, 40}));
        EndPaint(h, &ps);
        *r = 0;
        return true;
    };
    Hwnd h = Make(rec, 0, 0, 100, 100, false);
    ShowWindow(h, SW_SHOWNA);
    MSG msg;
    while (PeekMessage(&msg)) {
        if (msg.message != WM_PAINT) DispatchMessage(&msg);
        else {
            PAINTSTRUCT ps;
            BeginPaint(h, &ps);
        }
    }
    rec.Clear();
    RECT a{10, 10, 20, 20}, b{15, 30, 30, 40};
    InvalidateRect(h, &a, false);
    InvalidateRect(h, &b, false);
    headless::PumpMessages();
    EXPECT_EQ(rec.Of(WM_PAINT).size(), 1u);
}

TEST_F(MessagesTest, TimersRunOnTheTestClock) {
    Recorder rec;
    Hwnd h = Make(rec);
    DWORD start = GetTickCount();
    EXPECT_EQ(SetTimer(h, 0xABCDEF, 500), 0xABCDEFu);
    headless::AdvanceClock(499);
    headless::PumpMessages();
    EXPECT_TRUE(rec.Of(WM_TIMER).empty());
    headless::AdvanceClock(1);
    headless::PumpMessages();
    ASSERT_EQ(rec.Of(WM_TIMER).size(), 1u);
    EXPECT_EQ(rec.Of(WM_TIMER)[0].wParam, 0xABCDEFu);
    // A late timer fires once, not once per missed period.
    headless::AdvanceClock(5000);
    headless::PumpMessages();
    EXPECT_EQ(rec.Of(WM_TIMER).size(), 2u);
    // Setting it again restarts it with the new period.
    SetTimer(h, 0xABCDEF, 50);
    headless::AdvanceClock(50);
    headless::PumpMessages();
    EXPECT_EQ(rec.Of(WM_TIMER).size(), 3u);
    EXPECT_TRUE(KillTimer(h, 0xABCDEF));
    EXPECT_FALSE(KillTimer(h, 0xABCDEF));
    headless::AdvanceClock(1000);
    headless::PumpMessages();
    EXPECT_EQ(rec.Of(WM_TIMER).size(), 3u);
    // Sleep moves the clock.
    Sleep(250);
    EXPECT_EQ(GetTickCount() - start, 500u + 5000u + 50u + 1000u + 250u);
    // Timers die with their window.
    SetTimer(h, 1, 10);
    DestroyWindow(h);
    headless::AdvanceClock(20);
    EXPECT_EQ(headless::PumpMessages(), 0);
}

TEST_F(MessagesTest, TimerProcedureIsCalledInsteadOfTheWindow) {
    Recorder rec;
    Hwnd h = Make(rec);
    int calls = 0;
    SetTimer(h, 9, 100, [&](Hwnd w, UINT m, std::uintptr_t id, DWORD) {
        EXPECT_EQ(w, h);
        EXPECT_EQ(m, WM_TIMER);
        EXPECT_EQ(id, 9u);
        ++calls;
    });
    headless::AdvanceClock(100);
    headless::PumpMessages();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(rec.Of(WM_TIMER).empty());
}

TEST_F(MessagesTest, SendFromAnotherThreadWaitsForTheOwner) {
    Recorder rec;
    std::atomic<bool> handled{false};
    rec.hook = [&](Hwnd, UINT m, WPARAM w, LPARAM l, LRESULT* r) {
        if (m != WM_USER + 10) return false;
        handled = true;
        *r = static_cast<LRESULT>(w) + l;
        return true;
    };
    Hwnd h = Make(rec);
    headless::PumpMessages();
    std::atomic<LRESULT> result{0};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        result = SendMessage(h, WM_USER + 10, 40, 2);
        returned = true;
        PostMessage(h, WM_USER + 11, 0, 0);
    });
    // The worker stays blocked until this thread looks at its queue.
    DispatchUntil(WM_USER + 11);
    worker.join();
    EXPECT_TRUE(handled);
    EXPECT_TRUE(returned);
    EXPECT_EQ(result, 42);
    EXPECT_TRUE(rec.Of(WM_USER + 10).size() == 1);
}

TEST_F(MessagesTest, PostsFromAnotherThreadKeepTheirOrder) {
    Recorder rec;
    Hwnd h = Make(rec);
    headless::PumpMessages();
    rec.Clear();
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) PostMessage(h, WM_USER + 20, static_cast<WPARAM>(i), 0);
        PostMessage(h, WM_USER + 21, 0, 0);
    });
    DispatchUntil(WM_USER + 21);
    worker.join();
    auto got = rec.Of(WM_USER + 20);
    ASSERT_EQ(got.size(), 200u);
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].wParam, i);
}

TEST_F(MessagesTest, SenderServesMessagesSentBackWhileWaiting) {
    // Thread B owns a window and sends to A's window; A's procedure sends back
    // to B's window while B waits. Neither may block for ever.
    Recorder rec;
    std::atomic<Hwnd> other{nullptr};
    rec.hook = [&](Hwnd, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_USER + 30) return false;
        *r = SendMessage(other.load(), WM_USER + 31, 0, 0) + 1;
        return true;
    };
    Hwnd a = Make(rec);
    headless::PumpMessages();
    std::atomic<LRESULT> result{0};
    std::thread b([&] {
        WNDCLASS wc;
        wc.lpszClassName = "TestBack";
        wc.lpfnWndProc = [](Hwnd hw, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_USER + 31) return 10;
            return DefWindowProc(hw, m, w, l);
        };
        RegisterClass(wc);
        Hwnd mine = CreateWindowEx(0, "TestBack", "b", WS_POPUP, 0, 0, 5, 5);
        other = mine;
        result = SendMessage(a, WM_USER + 30, 0, 0);
        DestroyWindow(mine);
        PostMessage(a, WM_USER + 32, 0, 0);
    });
    DispatchUntil(WM_USER + 32);
    b.join();
    EXPECT_EQ(result, 11);
}

TEST_F(MessagesTest, SendToAWindowThatDiesAnswersZero) {
    Recorder rec;
    Hwnd h = Make(rec);
    headless::PumpMessages();
    std::atomic<LRESULT> result{-1};
    std::thread worker([&] { result = SendMessage(h, WM_USER + 40, 0, 0); });
    // The owner never looks at its queue; the window's end releases the sender.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    DestroyWindow(h);
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(rec.Of(WM_USER + 40).empty());
    EXPECT_EQ(SendMessage(h, WM_USER + 40, 0, 0), 0);
}

}  // namespace
