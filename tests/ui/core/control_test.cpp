#include <gtest/gtest.h>

#include "host_fixture.h"

namespace ui::test {
namespace {

using ControlTest = HostTest;

std::vector<UiControl*> List(UiControl* first) {
    std::vector<UiControl*> out;
    for (UiControl* c = first; c; c = c->NextSibling()) out.push_back(c);
    return out;
}

TEST_F(ControlTest, CreateLinksIntoTheHostOnce) {
    UiWindow& h = Host(Captionless(), 300, 200);
    Probe a, b;
    ASSERT_EQ(a.Make(window, RectF{1, 2, 30, 40}), &a);
    EXPECT_EQ(a.Count(plat::WM_CREATE), 1);
    EXPECT_EQ(a.Codes().front(), static_cast<int>(plat::WM_CREATE));
    EXPECT_EQ(a.Surface()->Width(), 30);
    EXPECT_EQ(a.Opacity(), 255);
    EXPECT_TRUE(a.RedrawEnabled());
    EXPECT_EQ(a.Create(window, RectF{9, 9, 9, 9}, 5, false), &a);  // second create changes nothing
    EXPECT_FLOAT_EQ(a.Rect().x, 1);
    EXPECT_EQ(a.Count(plat::WM_CREATE), 1);
    b.Make(window, RectF{0, 0, 10, 10});
    EXPECT_EQ(List(h.FirstControl()), (std::vector<UiControl*>{&a, &b}));
    EXPECT_EQ(h.LastControl(), &b);

    // Not a host window, or a parent of another host.
    HostWindowOptions bare;
    NativeWindow plain = CreateHostWindow(bare);
    Probe orphan;
    EXPECT_EQ(orphan.Make(plain, RectF{0, 0, 5, 5}), nullptr);
    UiWindow other;
    ASSERT_TRUE(other.Attach(plain, Captionless()));
    Probe foreign;
    foreign.Make(plain, RectF{0, 0, 5, 5});
    Probe stray;
    stray.PresetWindow(window);
    EXPECT_EQ(stray.Create(&foreign, RectF{0, 0, 1, 1}, 30, true),
              &stray);  // takes the parent's host
    EXPECT_EQ(stray.Host(), &other);
}

TEST_F(ControlTest, MoveShiftsDescendantsAndRecreatesTheSurfaceOnlyOnResize) {
    Host(Captionless(), 300, 200);
    Probe parent, child, grandchild;
    parent.Make(window, RectF{10, 10, 100, 80});
    child.Make(&parent, RectF{20, 20, 30, 30});
    grandchild.Make(&child, RectF{25, 25, 5, 5});
    EXPECT_EQ(child.GetParentControl(), &parent);
    const gfx::Bitmap* before = parent.Surface();
    parent.Forget();
    parent.Move(40.0f, 15.0f);
    EXPECT_EQ(child.Rect(), (RectF{50, 25, 30, 30}));
    EXPECT_EQ(grandchild.Rect(), (RectF{55, 30, 5, 5}));
    EXPECT_EQ(parent.PreviousRect(), (RectF{10, 10, 100, 80}));
    EXPECT_EQ(parent.Surface(), before);
    EXPECT_EQ(parent.Count(EV_RESIZED), 0);
    EXPECT_EQ(parent.Count(plat::WM_PAINT), 0);

    parent.Forget();
    parent.Move(std::nullopt, std::nullopt, 120.0f, 80.0f);
    EXPECT_EQ(parent.Surface()->Width(), 120);
    const std::vector<int> codes = parent.Codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[0], EV_RESIZED);
    EXPECT_EQ(codes[1], static_cast<int>(plat::WM_PAINT));
    EXPECT_EQ(parent.log[0].wParam, 120u);
    EXPECT_EQ(parent.log[0].lParam, 80);
    EXPECT_EQ(parent.Count(HM_CONTROL_MOVED), 1);

    // Same values: nothing at all.
    parent.Forget();
    parent.Move(40.0f, 15.0f, 120.0f, 80.0f);
    EXPECT_EQ(parent.Width(120.0f), 120);
    EXPECT_TRUE(parent.log.empty());
    EXPECT_EQ(parent.Left(41.0f), 41);
    EXPECT_FLOAT_EQ(child.Rect().x, 51);
}

TEST_F(ControlTest, BindingTheSameCodeTwiceKeepsTheNewerHandler) {
    Host(Captionless(), 300, 200);
    Probe parent, child;
    parent.Make(window, RectF{10, 10, 100, 80});
    child.Make(&parent, RectF{20, 20, 30, 30});
    std::vector<std::string> calls;
    child.BindEvent(EV_CLICK,
                    [&](UiControl*, UiControl*, int, WParam, LParam) { calls.push_back("old"); });
    child.BindEvent(EV_SHOWN,
                    [&](UiControl*, UiControl*, int, WParam, LParam) { calls.push_back("shown"); });
    child.BindEvent(EV_CLICK, [&](UiControl* p, UiControl* c, int, WParam, LParam) {
        EXPECT_EQ(p, &parent);  // the parent comes first for a child control
        EXPECT_EQ(c, &child);
        calls.push_back("new");
    });
    EXPECT_EQ(child.BindingCount(), 2u);
    child.SendEvent(EV_CLICK);
    EXPECT_EQ(calls, (std::vector<std::string>{"new"}));
}

TEST_F(ControlTest, DisablingTheFocusedControlPostsFocusLostThenMouseLeft) {
    UiWindow& h = Host(Captionless(), 300, 200);
    Probe a;
    a.Make(window, RectF{10, 10, 50, 20});
    h.SetFocusControl(&a, false);
    a.Forget();
    a.Disabled(1);
    EXPECT_EQ(h.FocusControl(), nullptr);
    EXPECT_TRUE(a.log.empty());  // posted, not sent
    Pump();
    const std::vector<int> codes = a.Codes();
    const std::vector<int> expected{EV_FOCUS_LOST, EV_MOUSE_LEFT};
    std::vector<int> events;
    for (int c : codes) {
        if (c == EV_FOCUS_LOST || c == EV_MOUSE_LEFT) events.push_back(c);
    }
    EXPECT_EQ(events, expected);
    a.Forget();
    a.Disabled(1);  // unchanged: nothing
    Pump();
    EXPECT_TRUE(a.log.empty());
}

TEST_F(ControlTest, PropertiesRaiseEventsOnlyOnChangeExceptOpacity) {
    Host(Captionless(), 300, 200);
    Probe a;
    a.Make(window, RectF{10, 10, 50, 20});
    a.Forget();
    a.Visible(1);
    EXPECT_TRUE(a.log.empty());
    a.Visible(0);
    EXPECT_EQ(a.Count(EV_HIDDEN), 1);
    a.Visible(1);
    EXPECT_EQ(a.Count(EV_SHOWN), 1);
    a.Opacity(255);
    a.Opacity(255);
    EXPECT_EQ(a.Count(EV_OPACITY_CHANGED), 2);
    EXPECT_EQ(a.log.back().lParam, 255);
    EXPECT_EQ(a.Tooltip("tip"), "tip");
    EXPECT_FALSE(a.Host()->TooltipRegistered());
    // Applying without a new text registers the text already kept.
    EXPECT_EQ(a.Tooltip(std::nullopt, true), "tip");
    EXPECT_TRUE(a.Host()->TooltipRegistered());
    EXPECT_EQ(a.Tag("t"), "t");
    EXPECT_EQ(a.Cursor(plat::IDC_HAND), plat::LoadCursor(plat::IDC_HAND));
    EXPECT_FALSE(a.HasFocus());
    a.Host()->SetFocusControl(&a, false);
    EXPECT_TRUE(a.HasFocus());
}

TEST_F(ControlTest, ZOrderAndReparenting) {
    UiWindow& h = Host(Captionless(), 300, 200);
    Probe a, b, c, box;
    a.Make(window, RectF{0, 0, 5, 5});
    b.Make(window, RectF{0, 0, 5, 5});
    c.Make(window, RectF{0, 0, 5, 5});
    box.Make(window, RectF{0, 0, 50, 50});
    c.SetZOrder(2);
    EXPECT_EQ(List(h.FirstControl()), (std::vector<UiControl*>{&c, &a, &b, &box}));
    c.SetZOrder();
    EXPECT_EQ(List(h.FirstControl()), (std::vector<UiControl*>{&a, &b, &box, &c}));
    EXPECT_EQ(h.LastControl(), &c);
    a.SetParentControl(&box);
    b.SetParentControl(&box);
    EXPECT_EQ(List(h.FirstControl()), (std::vector<UiControl*>{&box, &c}));
    EXPECT_EQ(List(box.FirstChild()), (std::vector<UiControl*>{&a, &b}));
    EXPECT_EQ(box.LastChild(), &b);
    b.SetParentControl(window);  // back to the top level
    EXPECT_EQ(h.LastControl(), &b);
    EXPECT_EQ(b.GetParentControl(), nullptr);
    a.SetZOrder(2);  // alone in its list
    EXPECT_EQ(box.FirstChild(), &a);
    EXPECT_EQ(box.LastChild(), &a);
}

TEST_F(ControlTest, DestroyTakesChildrenAndHostReferences) {
    UiWindow& h = Host(Captionless(), 300, 200);
    Probe box, inner, sibling;
    box.Make(window, RectF{10, 10, 100, 100});
    inner.Make(&box, RectF{20, 20, 10, 10});
    sibling.Make(window, RectF{200, 10, 10, 10});
    h.SetFocusControl(&inner, false);
    h.SetMnemonic(&inner, 'Q');
    MoveTo(25, 25);
    EXPECT_EQ(h.HoverControl(), &inner);
    box.Destroy();
    EXPECT_EQ(inner.GetHandle(), nullptr);
    EXPECT_EQ(inner.Count(plat::WM_DESTROY), 1);
    EXPECT_EQ(h.FocusControl(), nullptr);
    EXPECT_EQ(h.HoverControl(), nullptr);
    EXPECT_TRUE(h.Mnemonics().empty());
    EXPECT_EQ(List(h.FirstControl()), (std::vector<UiControl*>{&sibling}));
    EXPECT_EQ(box.Surface(), nullptr);
    EXPECT_TRUE(box.BindingCount() == 0);
    box.Destroy();  // not created: nothing
    Pump();
}

}  // namespace
}  // namespace ui::test
