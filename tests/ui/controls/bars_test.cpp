// Progress bar, scroll bar and group box on a headless host.
#include <gtest/gtest.h>

#include <vector>

#include "host_fixture.h"
#include "ui/controls/check_box.h"
#include "ui/controls/group_box.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/scroll_bar.h"
#include "ui/core/draw_colour.h"

namespace {

using ui::test::ControlHostTest;

class ProgressTest : public ControlHostTest {
protected:
    void SetUp() override {
        ControlHostTest::SetUp();
        ui::ProgressBarOptions o;
        o.maximum = 10000;
        o.shading = 0;
        o.rounded = 0;
        o.startColor = 0xFF00FF00;
        o.endColor = 0xFF00FF00;
        o.backColor = 0xFFFFFFFF;
        o.borderColor = 0x00000000;
        ASSERT_TRUE(bar.CreateProgressBar(window, 100, 200, 300, 20, o));
        Pump();
    }
    // Done pixels are green, the rest of the inner rectangle white.
    bool Done(int x) const {
        const std::uint32_t p = Shot().at(x, 210);
        return G(p) > 200 && R(p) < 50;
    }
    bool Empty(int x) const {
        const std::uint32_t p = Shot().at(x, 210);
        return G(p) > 200 && R(p) > 200;
    }

public:
    ui::UiProgressBar bar;
};

TEST_F(ProgressTest, AtTheMinimumNothingIsDoneAndAtTheMaximumAllOfTheInnerRectangle) {
    EXPECT_EQ(bar.Kind(), ui::KIND_PROGRESS_BAR);
    EXPECT_FALSE(bar.Focusable());
    EXPECT_FLOAT_EQ(bar.DoneLength(296), 0);
    EXPECT_TRUE(Empty(103));
    EXPECT_TRUE(Empty(250));
    EXPECT_TRUE(Empty(396));

    bar.Position(10000);
    Pump();
    EXPECT_FLOAT_EQ(bar.DoneLength(296), 296);
    EXPECT_TRUE(Done(103));
    EXPECT_TRUE(Done(250));
    EXPECT_TRUE(Done(396));
    // Outside the inner rectangle (2 pixels in) nothing is drawn.
    EXPECT_LE(A(Shot().at(100, 210)), 1);

    bar.Position(5000);
    Pump();
    EXPECT_TRUE(Done(200));
    EXPECT_TRUE(Empty(300));
}

TEST_F(ProgressTest, PositionsOutsideTheRangeAndAnEmptyRangeStayInsideTheBar) {
    bar.Position(20000);
    EXPECT_FLOAT_EQ(bar.DoneLength(296), 296);
    bar.Position(-5);
    EXPECT_FLOAT_EQ(bar.DoneLength(296), 0);
    ui::UiProgressBar empty;
    ui::ProgressBarOptions o;
    o.maximum = 0;
    ASSERT_TRUE(empty.CreateProgressBar(window, 100, 300, 300, 15, o));
    empty.Position(3);
    EXPECT_FLOAT_EQ(empty.DoneLength(296), 0);
}

TEST_F(ProgressTest, ColoursAndBackColourAreStoredAndRedrawn) {
    bar.ProgressColors(0xFFFF0000, std::nullopt);
    EXPECT_EQ(bar.StartColor(), 0xFFFF0000u);
    EXPECT_EQ(bar.EndColor(), 0xFF00FF00u);
    EXPECT_EQ(bar.ProgressBackColor(0xFF0000FF), 0xFF0000FFu);
    Pump();
    EXPECT_GT(B(Shot().at(250, 210)), 200);

    ui::UiProgressBar defaults;
    ASSERT_TRUE(defaults.CreateProgressBar(window, 100, 300, 300, 15));
    EXPECT_FLOAT_EQ(defaults.Maximum(), 100);
    // The default colours are RGB values with red in the low byte.
    EXPECT_EQ(defaults.StartColor(), ui::MakeArgb(0xFF8800, 230));
    EXPECT_EQ(defaults.EndColor(), ui::MakeArgb(0x80E000, 230));
    EXPECT_TRUE(defaults.Rounded());
}

class ScrollTest : public ControlHostTest {
protected:
    void SetUp() override {
        ControlHostTest::SetUp();
        ASSERT_TRUE(bar.CreateScrollBar(window, {500, 100, 16, 200}, 0));
        bar.ScrollRange(0, 10);
        bar.ScrollStep(3);
        bar.SetChangeCallback([this](ui::UiScrollBar&, float v) { notified.push_back(v); });
        Pump();
    }

public:
    ui::UiScrollBar bar;
    std::vector<float> notified;
};

TEST_F(ScrollTest, HeldArrowRepeatsEvery100MsAndStopsExactlyAtTheLimit) {
    EXPECT_EQ(bar.Kind(), ui::KIND_SCROLL_BAR);
    EXPECT_EQ(bar.SendEvent(ui::EV_PRESS_QUERY), 1);
    PressPart(bar, ui::ScrollPart::Increment);
    EXPECT_EQ(bar.PressedPart(), ui::ScrollPart::Increment);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 3);
    Tick(99);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 3);
    Tick(1);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 6);
    Tick(100);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 9);
    Tick(100);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 10);
    Tick(500);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 10);
    EXPECT_EQ(notified, (std::vector<float>{3, 6, 9, 10}));
    Release();
    EXPECT_EQ(bar.PressedPart(), ui::ScrollPart::None);

    // The decrement arrow runs down to the minimum the same way; releasing stops it.
    PressPart(bar, ui::ScrollPart::Decrement);
    Tick(100);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 4);
    Release();
    Tick(300);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 4);
}

TEST_F(ScrollTest, ThumbDragFollowsTheMouseAndNotifiesOnceWhenAskedToWait) {
    bar.NotifyWhileDragging(false);
    const ui::UiScrollBar::Geometry g = bar.Measure();
    const int thumbMiddle = 100 + static_cast<int>(g.thumbStart + g.thumbLength / 2);
    PressPart(bar, ui::ScrollPart::Thumb);
    EXPECT_EQ(bar.PressedPart(), ui::ScrollPart::Thumb);
    const float movable = g.trackLength - g.thumbLength;
    MoveTo(508, thumbMiddle + static_cast<int>(movable / 2));
    EXPECT_NEAR(bar.ScrollValue(), 5, 0.2);
    MoveTo(508, thumbMiddle + static_cast<int>(movable) + 40);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 10);
    EXPECT_TRUE(notified.empty());
    Release();
    EXPECT_EQ(notified, (std::vector<float>{10}));

    bar.NotifyWhileDragging(true);
    const ui::UiScrollBar::Geometry end = bar.Measure();
    const int endMiddle = 100 + static_cast<int>(end.thumbStart + end.thumbLength / 2);
    PressPart(bar, ui::ScrollPart::Thumb);
    MoveTo(508, endMiddle - static_cast<int>(movable));
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 0);
    EXPECT_EQ(notified.size(), 2u);
    Release();
    EXPECT_EQ(notified.size(), 2u);
}

TEST_F(ScrollTest, TrackPressMovesOnePageTowardsThePressAndValuesStayInRange) {
    bar.ScrollRange(0, 1000);
    const ui::UiScrollBar::Geometry g = bar.Measure();
    const float pageAmount = std::max(3.0f, 1000 * g.thumbLength / g.trackLength);
    PressPart(bar, ui::ScrollPart::Track);
    Release();
    EXPECT_NEAR(bar.ScrollValue(), pageAmount, 1e-4);
    EXPECT_EQ(bar.PressedPart(), ui::ScrollPart::None);

    bar.ScrollRange(0, 10);
    EXPECT_FLOAT_EQ(bar.ScrollValue(40), 10);
    EXPECT_FLOAT_EQ(bar.ScrollValue(-3, true), 0);
    EXPECT_EQ(notified.back(), 0);
    bar.ScrollRange(5, 2);
    EXPECT_FLOAT_EQ(bar.Minimum(), 5);
    EXPECT_FLOAT_EQ(bar.Maximum(), 5);
    EXPECT_FLOAT_EQ(bar.ScrollValue(), 5);
}

TEST_F(ScrollTest, HoverFadesInFiveFramesAndDarkensTheThumb) {
    const ui::UiScrollBar::Geometry g = bar.Measure();
    const int thumbMiddle = 100 + static_cast<int>(g.thumbStart + g.thumbLength / 2);
    const int before = A(Shot().at(508, thumbMiddle));
    MoveTo(508, thumbMiddle);
    EXPECT_EQ(bar.TransitionFrames(), 5);
    for (int i = 0; i < 5; ++i) Tick(60);
    EXPECT_EQ(bar.TransitionFrames(), 0);
    EXPECT_EQ(bar.HoverPart(), ui::ScrollPart::Thumb);
    EXPECT_GT(A(Shot().at(508, thumbMiddle)), before + 30);
}

TEST_F(ControlHostTest, GroupBoxBreaksItsFrameBehindTheCaptionAndHoldsItsBoxes) {
    ui::UiGroupBox group;
    ui::GroupBoxOptions o;
    o.borderColor = 0xFF000000;
    o.rounded = 0;
    ASSERT_TRUE(group.CreateGroupBox(window, 630, 30, 310, 50, "A          B", o));
    Pump();
    EXPECT_EQ(group.Kind(), ui::KIND_GROUP_BOX);
    EXPECT_FLOAT_EQ(group.CaptionRect().x, 8);
    EXPECT_FLOAT_EQ(group.CaptionRect().y, 2);
    EXPECT_GT(group.CaptionRect().width, 30);
    EXPECT_FLOAT_EQ(group.FrameRect().x, 1);
    EXPECT_FLOAT_EQ(group.FrameRect().width, 308);
    const int top = 30 + static_cast<int>(group.FrameRect().y);
    EXPECT_NEAR(group.FrameRect().y, 2 + group.CaptionRect().height / 2, 1);

    const auto shot = Shot();
    const int gapX = 630 + static_cast<int>(group.CaptionRect().x + group.CaptionRect().width / 2);
    const int lineX =
        630 + static_cast<int>(group.CaptionRect().x + group.CaptionRect().width) + 20;
    EXPECT_GT(A(shot.at(lineX, top)), 200);
    EXPECT_LT(A(shot.at(gapX, top)), 20);
    EXPECT_GT(A(shot.at(631, top + 10)), 200);  // the left edge, 1 pixel in

    // Check boxes put into the group are hit inside it.
    ui::UiCheckBox box;
    ASSERT_TRUE(box.CreateButton(window, 640, 45, 75, 20, "one"));
    box.SetParentControl(&group);
    Pump();
    EXPECT_EQ(box.GetParentControl(), &group);
    ClickOn(box);
    EXPECT_TRUE(box.CheckState());
}

}  // namespace
