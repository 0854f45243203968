#include <gtest/gtest.h>

#include "host_fixture.h"

namespace ui::test {
namespace {

struct CallbackLog {
    std::vector<std::pair<std::string, UiControl*>> calls;
    HostCallbacks Table() {
        HostCallbacks t;
        auto record = [this](const char* name) {
            return [this, name](NativeWindow, UiControl* c, WParam, LParam, int) {
                calls.emplace_back(name, c);
            };
        };
        t.press = record("press");
        t.release = record("release");
        t.click = record("click");
        t.doubleClick = record("double");
        t.mouseEnter = record("enter");
        t.mouseLeave = record("leave");
        t.focusGained = record("gained");
        t.focusLost = record("lost");
        t.rightDown = record("rdown");
        t.rightUp = record("rup");
        return t;
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const auto& c : calls) n += c.first == name;
        return n;
    }
};

class RoutingTest : public HostTest {
protected:
    // A captionless 300 x 200 host, not dragged by its empty space, whose callbacks are logged.
    UiWindow& LoggedHost() {
        UiWindow& h = Host(Captionless(false), 300, 200);
        h.SetCallbacks(log.Table());
        return h;
    }

public:
    CallbackLog log;
};

TEST_F(RoutingTest, HitTestUsesHalfOpenRectanglesTopMostFirst) {
    Host(Captionless(false), 300, 200);
    Probe bottom, top, child, hidden;
    bottom.Make(window, RectF{10, 10, 100, 50});
    top.Make(window, RectF{50, 20, 100, 50});
    child.Make(&bottom, RectF{20, 20, 10, 10});
    hidden.Make(window, RectF{0, 0, 300, 200});
    hidden.Visible(0);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 10, 10), &bottom);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 9.99f, 10), nullptr);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 109.99f, 59.99f), &top);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 49, 59.99f), &bottom);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 49, 60), nullptr);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 60, 30), &top);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 20, 20), &child);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 30, 30), &bottom);
    top.Disabled(1);
    EXPECT_EQ(UiWindow::HitTest(host->LastControl(), 60, 30), &bottom);
}

TEST_F(RoutingTest, ClickNeedsPressAndReleaseOnTheSameControl) {
    UiWindow& h = LoggedHost();
    Probe a, b;
    a.Make(window, RectF{50, 50, 40, 30});
    b.Make(window, RectF{150, 50, 40, 30});
    Pump();
    Press(60, 60);
    EXPECT_EQ(h.PressedControl(), &a);
    EXPECT_EQ(h.FocusControl(), &a);
    a.Forget();
    Release(160, 60);
    EXPECT_EQ(a.Count(EV_CLICK) + b.Count(EV_CLICK), 0);
    EXPECT_EQ(log.Count("click"), 0);
    EXPECT_EQ(a.Count(EV_MOUSE_LEFT), 1);
    EXPECT_EQ(b.Count(EV_MOUSE_ENTERED), 1);
    EXPECT_EQ(h.HoverControl(), &b);
    EXPECT_FALSE(h.Captured());
    EXPECT_EQ(log.Count("release"), 1);

    ClickOn(a);
    ASSERT_EQ(a.Count(EV_CLICK), 1);
    for (const Received& r : a.log) {
        if (r.code == EV_CLICK) {
            EXPECT_EQ(r.wParam, reinterpret_cast<WParam>(&a));
        }
    }
    EXPECT_EQ(log.Count("click"), 1);
    EXPECT_EQ(log.Count("press"), 2);
}

TEST_F(RoutingTest, PressQueryCapturesAControlThatTakesNoFocus) {
    UiWindow& h = Host(Captionless(false), 300, 200);
    Probe a;
    a.Make(window, RectF{50, 50, 40, 30}, 0);
    Pump();
    Press(60, 60);
    EXPECT_FALSE(h.Captured());
    Release(60, 60);
    EXPECT_EQ(a.Count(EV_CLICK), 0);
    a.pressAnswer = 0;
    ClickOn(a);
    EXPECT_EQ(a.Count(EV_CLICK), 1);
    EXPECT_EQ(h.FocusControl(), nullptr);
}

TEST_F(RoutingTest, DoubleClickMarksTheSecondPress) {
    UiWindow& h = LoggedHost();
    Probe a;
    a.Make(window, RectF{50, 50, 40, 30});
    int doubled = 0, pressed = 0;
    a.BindEvent(plat::WM_LBUTTONDBLCLK,
                [&](UiControl* parent, UiControl* c, int code, WParam w, LParam) {
                    EXPECT_EQ(parent, nullptr);
                    EXPECT_EQ(c, &a);
                    EXPECT_EQ(code, static_cast<int>(plat::WM_LBUTTONDOWN));
                    EXPECT_EQ(w, DBLCLK_MARK);
                    ++doubled;
                });
    Pump();
    a.Forget();
    ClickOn(a);
    ClickOn(a);
    std::vector<WParam> downs;
    for (const Received& r : a.log) {
        if (r.code == static_cast<int>(plat::WM_LBUTTONDOWN)) downs.push_back(r.wParam);
    }
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_NE(downs[0], DBLCLK_MARK);
    EXPECT_EQ(downs[1], DBLCLK_MARK);
    EXPECT_EQ(doubled, 1);
    EXPECT_EQ(log.Count("double"), 1);
    EXPECT_EQ(a.Count(EV_CLICK), 2);
    // A plain WM_LBUTTONDBLCLK matches no binding.
    h.Deliver(&a, plat::WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(doubled, 1);
    (void)pressed;
}

TEST_F(RoutingTest, DoubleClickOnEmptyCaptionAreaTogglesMaximise) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE | CAPTION_MAXIMIZE;
    options.resizable = false;
    UiWindow& h = Host(options, 400, 300);
    std::vector<std::pair<unsigned, WParam>> seen;
    HostCallbacks callbacks;
    callbacks.rawMessage = [&](NativeWindow, unsigned message, WParam w, LParam) -> LResult {
        if (message == plat::WM_SYSCOMMAND || message == plat::WM_NCLBUTTONDOWN)
            seen.emplace_back(message, w);
        return -1;
    };
    h.SetCallbacks(callbacks);
    plat::SendMessage(window, plat::WM_LBUTTONDOWN, DBLCLK_MARK, plat::MAKELPARAM(200, 20));
    Pump();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), (std::pair<unsigned, WParam>{plat::WM_NCLBUTTONDOWN, plat::HTCAPTION}));
    bool maximise = false;
    for (const auto& s : seen)
        maximise |= s == std::pair<unsigned, WParam>{plat::WM_SYSCOMMAND, plat::SC_MAXIMIZE};
    EXPECT_TRUE(maximise);

    // Below the top 30 pixels a double click only starts a move.
    seen.clear();
    plat::ReleaseCapture();
    plat::SendMessage(window, plat::WM_LBUTTONDOWN, DBLCLK_MARK, plat::MAKELPARAM(200, 100));
    Pump();
    for (const auto& s : seen) EXPECT_NE(s.first, static_cast<unsigned>(plat::WM_SYSCOMMAND));
}

TEST_F(RoutingTest, PressOnEmptySpaceOfADraggableWindowStartsAMove) {
    AttachOptions options = Captionless(false);
    options.draggable = true;
    UiWindow& h = Host(options, 300, 200);
    int moves = 0;
    HostCallbacks callbacks;
    callbacks.rawMessage = [&](NativeWindow, unsigned message, WParam w, LParam) -> LResult {
        if (message == plat::WM_NCLBUTTONDOWN && w == plat::HTCAPTION) ++moves;
        return -1;
    };
    h.SetCallbacks(callbacks);
    Press(150, 100);
    EXPECT_EQ(moves, 1);
    Release(150, 100);
    h.Draggable(false);
    Press(150, 100);
    EXPECT_EQ(moves, 1);
    Release(150, 100);
}

TEST_F(RoutingTest, TabWrapsAndSkipsCaptionButtonsAndUnfocusableControls) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE | CAPTION_MINIMIZE;
    UiWindow& h = Host(options, 400, 300);
    Probe first, plain, disabled, last;
    first.Make(window, RectF{20, 50, 40, 20});
    plain.Make(window, RectF{20, 80, 40, 20}, 0);
    disabled.Make(window, RectF{20, 110, 40, 20});
    disabled.Disabled(1);
    last.Make(window, RectF{20, 140, 40, 20});
    Pump();
    PressKey(plat::VK_TAB);
    EXPECT_EQ(h.FocusControl(), &first);  // from no focus: after the caption buttons
    EXPECT_EQ(h.KeyboardFocus(), &first);
    PressKey(plat::VK_TAB);
    EXPECT_EQ(h.FocusControl(), &last);
    PressKey(plat::VK_TAB);
    EXPECT_EQ(h.FocusControl(), &first);  // wrapped past the caption buttons
    EXPECT_EQ(first.Count(EV_FOCUS_GAINED), 2);
    EXPECT_EQ(last.Count(EV_FOCUS_LOST), 1);

    // A focused control that handles the key keeps it.
    first.keyAnswer = 0;
    PressKey(plat::VK_TAB);
    EXPECT_EQ(h.FocusControl(), &first);
}

TEST_F(RoutingTest, TabVisitsTheChildrenOfAGroupButNotThoseOfAFocusableControl) {
    UiWindow& h = Host(Captionless(false), 400, 300);
    Probe first, group, inA, inB, owner, inner, last;
    first.Make(window, RectF{20, 20, 40, 20});
    group.Make(window, RectF{20, 50, 200, 60}, 0);
    inA.Make(&group, RectF{30, 60, 40, 20});
    inB.Make(&group, RectF{80, 60, 40, 20});
    owner.Make(window, RectF{20, 120, 100, 60});
    inner.Make(&owner, RectF{30, 130, 40, 20});
    last.Make(window, RectF{20, 200, 40, 20});
    std::vector<UiControl*> visited;
    for (int i = 0; i < 6; ++i) {
        PressKey(plat::VK_TAB);
        visited.push_back(h.FocusControl());
    }
    EXPECT_EQ(visited, (std::vector<UiControl*>{&inA, &inB, &owner, &last, &first, &inA}));
    // In a disabled group nothing takes the focus or a key's click.
    group.Disabled(1);
    Pump();
    PressKey(plat::VK_SPACE, " ");
    EXPECT_EQ(inA.Count(EV_CLICK), 0);
    PressKey(plat::VK_TAB);
    EXPECT_EQ(h.FocusControl(), &owner);
}

TEST_F(RoutingTest, EnterAndSpaceClickTheFocusedControl) {
    UiWindow& h = LoggedHost();
    Probe a;
    a.Make(window, RectF{20, 50, 40, 20});
    h.SetFocusControl(&a, true);
    PressKey(plat::VK_RETURN);
    PressKey(plat::VK_SPACE, " ");
    EXPECT_EQ(a.Count(EV_CLICK), 2);
    EXPECT_EQ(log.Count("click"), 2);
    a.Visible(0);
    PressKey(plat::VK_RETURN);
    EXPECT_EQ(a.Count(EV_CLICK), 2);
}

TEST_F(RoutingTest, MnemonicsClickTheirControlIgnoringCase) {
    UiWindow& h = Host(Captionless(false), 300, 200);
    Probe a, b;
    a.Make(window, RectF{20, 50, 40, 20});
    b.Make(window, RectF{20, 80, 40, 20});
    EXPECT_EQ(plat::SendMessage(window, HM_SET_MNEMONIC, reinterpret_cast<WParam>(&a), 'G'), 1);
    plat::SendMessage(window, HM_SET_MNEMONIC, reinterpret_cast<WParam>(&b), 'K');
    EXPECT_EQ(plat::SendMessage(window, plat::WM_SYSCHAR, 'g', 0), 0);
    EXPECT_EQ(a.Count(EV_CLICK), 1);
    // Replacing the key, then removing the pair.
    h.SetMnemonic(&a, 'H');
    plat::SendMessage(window, plat::WM_SYSCHAR, 'g', 0);
    EXPECT_EQ(a.Count(EV_CLICK), 1);
    plat::SendMessage(window, plat::WM_SYSCHAR, 'h', 0);
    EXPECT_EQ(a.Count(EV_CLICK), 2);
    h.SetMnemonic(&a, 0);
    EXPECT_EQ(h.Mnemonics().size(), 1u);
    b.Disabled(1);
    plat::SendMessage(window, plat::WM_SYSCHAR, 'k', 0);
    EXPECT_EQ(b.Count(EV_CLICK), 0);
}

TEST_F(RoutingTest, ResizeZonesSetCursorsAndStartSizing) {
    using enum plat::ResizeZone;
    EXPECT_EQ(ResizeZoneAt(3, 3, 300, 200), TopLeft);
    EXPECT_EQ(ResizeZoneAt(295, 3, 300, 200), TopRight);
    EXPECT_EQ(ResizeZoneAt(150, 7, 300, 200), Top);
    EXPECT_EQ(ResizeZoneAt(150, 8, 300, 200), Move);
    EXPECT_EQ(ResizeZoneAt(9, 195, 300, 200), BottomLeft);
    EXPECT_EQ(ResizeZoneAt(291, 191, 300, 200), BottomRight);
    EXPECT_EQ(ResizeZoneAt(150, 191, 300, 200), Bottom);
    EXPECT_EQ(ResizeZoneAt(7, 100, 300, 200), Left);
    EXPECT_EQ(ResizeZoneAt(8, 100, 300, 200), Move);
    EXPECT_EQ(ResizeZoneAt(291, 100, 300, 200), Right);

    AttachOptions options = Captionless(false);
    options.resizable = true;
    UiWindow& h = Host(options, 300, 200);
    Probe corner;
    corner.Make(window, RectF{0, 0, 40, 40});
    std::vector<WParam> commands;
    HostCallbacks callbacks;
    callbacks.rawMessage = [&](NativeWindow, unsigned message, WParam w, LParam) -> LResult {
        if (message == plat::WM_SYSCOMMAND) commands.push_back(w);
        return -1;
    };
    h.SetCallbacks(callbacks);
    MoveTo(20, 20);
    EXPECT_EQ(h.HoverControl(), &corner);
    // The rounded window region starts 6 pixels in; the zone is still 8 deep.
    MoveTo(7, 7);
    EXPECT_EQ(plat::headless::CurrentCursorId(), plat::IDC_SIZENWSE);
    EXPECT_EQ(h.HoverControl(), nullptr);
    EXPECT_EQ(corner.Count(EV_MOUSE_LEFT), 1);
    plat::headless::MouseButton(0, true);
    Pump();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], plat::SC_SIZE + 4);
    EXPECT_EQ(corner.Count(static_cast<int>(plat::WM_LBUTTONDOWN)), 0);
}

TEST_F(RoutingTest, WheelTimersAndHostMessagesReachTheirControl) {
    UiWindow& h = Host(Captionless(false), 300, 200);
    Probe focused, hovered;
    focused.Make(window, RectF{20, 50, 40, 20});
    hovered.Make(window, RectF{100, 50, 40, 20});
    plat::SendMessage(window, HM_SET_FOCUS, 0, reinterpret_cast<LParam>(&focused));
    EXPECT_EQ(h.FocusControl(), &focused);
    MoveOnto(hovered);
    Wheel(1);
    EXPECT_EQ(focused.Count(plat::WM_MOUSEWHEEL), 1);
    EXPECT_EQ(hovered.Count(plat::WM_MOUSEWHEEL), 0);
    TypeInto(focused, "ab");
    EXPECT_EQ(focused.Count(plat::WM_CHAR), 2);
    EXPECT_EQ(hovered.Count(plat::WM_CHAR), 0);

    plat::SetTimer(window, reinterpret_cast<TimerId>(&hovered), 5);
    Tick(5);
    plat::KillTimer(window, reinterpret_cast<TimerId>(&hovered));
    EXPECT_EQ(hovered.Count(plat::WM_TIMER), 1);

    // Messages for a control that is gone are dropped.
    Probe gone;
    gone.Make(window, RectF{0, 0, 5, 5});
    const WParam stale = reinterpret_cast<WParam>(&gone);
    gone.Destroy();
    EventBlock block{EV_CLICK, 0, 0, false};
    EXPECT_EQ(plat::SendMessage(window, HM_DELIVER_EVENT, stale, reinterpret_cast<LParam>(&block)),
              0);
}

TEST_F(RoutingTest, SetFocusControlRefusesWhatCannotTakeFocus) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE;
    UiWindow& h = Host(options, 300, 200);
    Probe a, b;
    a.Make(window, RectF{20, 50, 40, 20});
    b.Make(window, RectF{20, 80, 40, 20});
    h.SetFocusControl(h.CaptionButtons()[0].get(), true);
    EXPECT_EQ(h.FocusControl(), nullptr);
    h.SetFocusControl(&a, false);
    EXPECT_EQ(h.FocusControl(), &a);
    EXPECT_EQ(h.KeyboardFocus(), nullptr);
    h.SetFocusControl(&b, true);
    EXPECT_EQ(h.KeyboardFocus(), &b);
    ASSERT_FALSE(a.log.empty());
    EXPECT_EQ(a.log.back().code, EV_FOCUS_LOST);
    EXPECT_EQ(a.log.back().lParam, reinterpret_cast<LParam>(&b));
    EXPECT_EQ(b.log.back().code, EV_FOCUS_GAINED);
    EXPECT_EQ(b.log.back().lParam, reinterpret_cast<LParam>(&a));
    a.Disabled(1);
    h.SetFocusControl(&a, true);
    EXPECT_EQ(h.FocusControl(), &b);
}

TEST_F(RoutingTest, DeactivationReleasesTheCapture) {
    UiWindow& h = Host(Captionless(false), 300, 200);
    Probe a;
    a.Make(window, RectF{20, 50, 40, 20});
    Press(30, 60);
    EXPECT_TRUE(h.Captured());
    plat::SendMessage(window, plat::WM_ACTIVATE, plat::WA_INACTIVE, 0);
    EXPECT_FALSE(h.Captured());
    EXPECT_GE(a.Count(EV_FOCUS_LOST), 1);
    EXPECT_GE(a.Count(EV_MOUSE_LEFT), 1);
}

}  // namespace
}  // namespace ui::test

namespace ui::test {
namespace {

TEST_F(RoutingTest, HoveringAControlShowsItsTooltip) {
    Host(Captionless(false), 300, 200);
    Probe a, b;
    a.Make(window, RectF{20, 50, 40, 20});
    b.Make(window, RectF{100, 50, 40, 20});
    a.Tooltip("提示文字");
    MoveTo(30, 60);  // registers the tool; the pointer resting in it shows the tip
    MoveTo(31, 60);
    plat::headless::AdvanceClock(plat::kTooltipInitialDelay + 10);
    Pump();
    NativeWindow tip = plat::GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(plat::IsWindowVisible(tip));
    // A control without a tooltip removes the tool.
    MoveTo(110, 60);
    MoveTo(111, 60);
    plat::headless::AdvanceClock(plat::kTooltipInitialDelay + 10);
    Pump();
    EXPECT_FALSE(plat::IsWindowVisible(tip));
}

}  // namespace
}  // namespace ui::test

namespace ui::test {
namespace {

TEST_F(RoutingTest, HoveredControlChoosesTheCursor) {
    UiWindow& h = Host(Captionless(false), 300, 200);
    Probe hand, plain;
    hand.Make(window, RectF{20, 50, 40, 20});
    plain.Make(window, RectF{100, 50, 40, 20});
    hand.Cursor(plat::IDC_HAND);
    MoveTo(30, 60);
    MoveTo(31, 60);
    EXPECT_EQ(plat::headless::CurrentCursorId(), plat::IDC_HAND);
    MoveTo(110, 60);
    MoveTo(111, 60);
    EXPECT_EQ(plat::headless::CurrentCursorId(), plat::IDC_ARROW);
    h.SetDefaultCursor(plat::LoadCursor(plat::IDC_CROSS));
    MoveTo(112, 60);
    EXPECT_EQ(plat::headless::CurrentCursorId(), plat::IDC_CROSS);
}

}  // namespace
}  // namespace ui::test
