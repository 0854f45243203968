// Labels, buttons, check boxes and the effect-text routine on a headless host.
#include <gtest/gtest.h>

#include "backend_under_test.h"
#include "host_fixture.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/effect_text.h"
#include "ui/controls/label.h"

namespace {

using ui::test::ControlHostTest;

TEST(EffectText, DefaultHaloIsWhiteBehindDarkTextAndBlackBehindLightText) {
    EXPECT_EQ(ui::DefaultEffectColor(gfx::MakeColor(255, 191, 191, 191)), 0x55FFFFFFu);
    EXPECT_EQ(ui::DefaultEffectColor(gfx::MakeColor(255, 192, 192, 192)), 0x4B000000u);
    EXPECT_EQ(ui::DefaultEffectColor(0xD2000000), 0x55FFFFFFu);
    EXPECT_EQ(ui::DefaultEffectColor(0xFEFFFFFF), 0x4B000000u);
}

// Counts pixels of a label's area that carry the red halo (red well above the other channels).
int RedHaloPixels(const plat::headless::Picture& shot, int x0, int y0, int w, int h) {
    int count = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const std::uint32_t p = shot.at(x, y);
            if (ControlHostTest::A(p) > 10 && ControlHostTest::R(p) > ControlHostTest::G(p) + 20)
                ++count;
        }
    return count;
}

TEST_F(ControlHostTest, GlowAndShadowDrawAHaloAroundTheTextThatPlainTextLacks) {
    ui::UiLabel glow, shadow, plain;
    ui::LabelOptions o;
    o.textColor = 0xFFFFFFFF;
    o.effectColor = 0xFFFF0000;
    o.size = 20;
    o.effect = ui::EFFECT_GLOW;
    ASSERT_TRUE(glow.CreateLabel(window, 100, 100, 120, 30, "Glow", o));
    o.effect = ui::EFFECT_SHADOW;
    ASSERT_TRUE(shadow.CreateLabel(window, 100, 150, 120, 30, "Glow", o));
    o.effect = ui::EFFECT_NONE;
    ASSERT_TRUE(plain.CreateLabel(window, 100, 200, 120, 30, "Glow", o));
    Pump();
    const auto shot = Shot();
    EXPECT_GT(RedHaloPixels(shot, 100, 100, 120, 30), 40);
    EXPECT_GT(RedHaloPixels(shot, 100, 150, 120, 30), 40);
    EXPECT_EQ(RedHaloPixels(shot, 100, 200, 120, 30), 0);
    // The text itself is white on top of the halo.
    int white = 0;
    for (int x = 100; x < 160; ++x)
        for (int y = 100; y < 130; ++y)
            if (A(shot.at(x, y)) > 240 && R(shot.at(x, y)) > 240 && G(shot.at(x, y)) > 240) ++white;
    EXPECT_GT(white, 10);

    EXPECT_EQ(glow.Kind(), ui::KIND_LABEL);
    EXPECT_FALSE(glow.Focusable());
    EXPECT_EQ(glow.TextColor(), 0xFFFFFFFFu);
    glow.LabelText("Changed");
    EXPECT_EQ(glow.LabelText(), "Changed");
}

TEST_F(ControlHostTest, LabelDefaultsAndTheWrappingFormat) {
    ui::UiLabel label, wrapped;
    ASSERT_TRUE(label.CreateLabel(window, 10, 60, 100, 20, "text"));
    EXPECT_EQ(label.Format()->Flags(), gfx::StringFormatFlags::kNoWrap);
    EXPECT_EQ(label.Format()->Prefix(), gfx::HotkeyPrefix::None);
    ui::LabelOptions o;
    o.wordWrap = true;
    o.alignment = 1;
    ASSERT_TRUE(wrapped.CreateLabel(window, 10, 90, 100, 40, "text", o));
    EXPECT_EQ(wrapped.Format()->Flags() & gfx::StringFormatFlags::kNoWrap, 0);
    EXPECT_NE(wrapped.Format()->Flags() & gfx::StringFormatFlags::kLineLimit,
              0);  // whole lines only
    EXPECT_EQ(wrapped.Format()->Alignment(), gfx::StringAlignment::Center);
}

TEST_F(ControlHostTest, DisabledControlThatAnswersMinusOneIsComposedAtHalfOpacity) {
    ui::UiLabel block;
    ui::LabelOptions o;
    o.backColor = 0xFFFF0000;
    ASSERT_TRUE(block.CreateLabel(window, 300, 300, 40, 20, "", o));
    Pump();
    EXPECT_EQ(block.SendEvent(ui::EV_DISABLED_LOOK), -1);
    EXPECT_EQ(A(Shot().at(320, 310)), 255);
    block.Disabled(1);
    Pump();
    // GDI+ scales alpha through a colour matrix of floats and rounds down.
    const int slack = gfx_test::BackendUnderTest() == gfx_test::Backend::Cairo ? 1 : 2;
    EXPECT_NEAR(A(Shot().at(320, 310)), 128, slack);
    EXPECT_NEAR(R(Shot().at(320, 310)), 128, slack);
    block.Disabled(0);
    Pump();
    EXPECT_EQ(A(Shot().at(320, 310)), 255);
}

class ButtonTest : public ControlHostTest {
protected:
    void SetUp() override {
        ControlHostTest::SetUp();
        ASSERT_TRUE(button.CreateButton(window, 100, 100, 96, 29, "&go"));
        for (int code : {ui::EV_TRANSITION_STARTED, ui::EV_TRANSITION_FINISHED})
            button.BindEvent(code,
                             [this](ui::UiControl*, ui::UiControl*, int c, ui::WParam, ui::LParam) {
                                 (c == ui::EV_TRANSITION_STARTED ? started : finished) += 1;
                             });
        Pump();
    }

public:
    ui::UiButton button;
    int started = 0;
    int finished = 0;
};

TEST_F(ButtonTest, CreateGivesAFocusableFadingButtonWithItsAccessKey) {
    EXPECT_EQ(button.Kind(), ui::KIND_BUTTON);
    EXPECT_TRUE(button.Focusable());
    EXPECT_EQ(button.TransitionInterval(), 60);
    EXPECT_TRUE(button.Rounded());  // the host's frame style 7 has round corners
    EXPECT_EQ(button.Format()->Prefix(), gfx::HotkeyPrefix::Show);
    ASSERT_EQ(host->Mnemonics().size(), 1u);
    EXPECT_EQ(host->Mnemonics()[0].control, &button);
    EXPECT_EQ(host->Mnemonics()[0].key, 'G');

    // A caption without an ampersand registers no key.
    button.ButtonText("plain");
    EXPECT_TRUE(host->Mnemonics().empty());
    button.ButtonText("&x");
    ASSERT_EQ(host->Mnemonics().size(), 1u);
    EXPECT_EQ(host->Mnemonics()[0].key, 'X');
}

TEST_F(ButtonTest, HoverFadesInFourFramesAndLeavingFadesBack) {
    MoveOnto(button);
    EXPECT_EQ(button.State(), ui::ButtonState::Hovered);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(button.TransitionFrames(), 4);
    for (int frame = 1; frame <= 3; ++frame) {
        Tick(60);
        EXPECT_EQ(button.TransitionFrame(), frame);
        EXPECT_EQ(finished, 0);
    }
    Tick(60);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(button.TransitionFrames(), 0);  // later repaints are immediate

    MoveTo(500, 400);
    EXPECT_EQ(button.State(), ui::ButtonState::Normal);
    EXPECT_EQ(started, 2);
    for (int i = 0; i < 4; ++i) Tick(60);
    EXPECT_EQ(finished, 2);
    Tick(600);
    EXPECT_EQ(finished, 2);
}

TEST_F(ButtonTest, PressShowsThePressedLookAtOnceAndClickReachesTheBinding) {
    MoveOnto(button);
    for (int i = 0; i < 4; ++i) Tick(60);
    const std::uint32_t hovered = Shot().at(148, 103);
    int clicks = 0;
    button.BindEvent(ui::EV_CLICK,
                     [&](ui::UiControl*, ui::UiControl* c, int, ui::WParam, ui::LParam) {
                         EXPECT_EQ(c, &button);
                         ++clicks;
                     });
    Press(120, 110);
    EXPECT_EQ(button.State(), ui::ButtonState::Pressed);
    EXPECT_EQ(started, 1);  // no fade for the press
    // The pressed look is darker at the top: the host colour at alpha 153 instead of 21.
    const std::uint32_t pressed = Shot().at(148, 103);
    EXPECT_NE(pressed, hovered);
    EXPECT_LT(R(pressed), R(hovered));
    Release();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.State(), ui::ButtonState::Hovered);

    // A press that leaves the button gives no click.
    Press(120, 110);
    MoveTo(500, 400);
    Release();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, AButtonReachedWithTabShowsAFocusFrame) {
    // The line 2 pixels inside the top edge, where the frame runs.
    const auto frameLine = [&] {
        std::vector<std::uint32_t> line;
        for (int x = 104; x < 192; ++x) line.push_back(Shot().at(x, 102));
        return line;
    };
    host->SetFocusControl(&button, false);  // as a press does
    Tick(300);
    const std::vector<std::uint32_t> pressed = frameLine();
    ui::UiButton other;
    ASSERT_TRUE(other.CreateButton(window, 300, 100, 96, 29, "other"));
    host->SetFocusControl(&other, false);
    Tick(300);
    PressKey(plat::VK_TAB);
    ASSERT_EQ(host->KeyboardFocus(), &button);
    Tick(300);
    const std::vector<std::uint32_t> tabbed = frameLine();
    int darker = 0;
    for (std::size_t i = 0; i < tabbed.size(); ++i) darker += R(tabbed[i]) + 20 < R(pressed[i]);
    EXPECT_GT(darker, 20);
}

TEST_F(ControlHostTest, CheckBoxFlipsOnEveryClickAndRedrawsOnlyOnChange) {
    ui::UiCheckBox box;
    ui::ButtonOptions o;
    o.textColor = 0xFEFFFFFF;
    ASSERT_TRUE(box.CreateButton(window, 200, 200, 75, 20, "site", o));
    Pump();
    EXPECT_EQ(box.Kind(), ui::KIND_CHECK_BOX);
    EXPECT_FALSE(box.CheckState());
    // The glyph sits at (6, 2) in the control; its box is white, its tick green.
    const auto tickPixel = [&] { return Shot().at(200 + 13, 200 + 13); };
    const std::uint32_t empty = tickPixel();
    EXPECT_GT(G(empty), 180);
    EXPECT_GT(R(empty), 180);

    ClickOn(box);
    EXPECT_TRUE(box.CheckState());
    for (int i = 0; i < 5; ++i) Tick(60);  // let the hover fade finish
    const std::uint32_t ticked = tickPixel();
    EXPECT_LT(R(ticked), 120);
    EXPECT_GT(G(ticked), R(ticked) + 40);

    ClickOn(box);
    EXPECT_FALSE(box.CheckState());
    MoveTo(600, 400);
    for (int i = 0; i < 5; ++i) Tick(60);

    const int presents = PresentCount();
    EXPECT_EQ(box.CheckState(0), 0);
    Pump();
    EXPECT_EQ(PresentCount(), presents);
    EXPECT_EQ(box.CheckState(1), 1);
    Pump();
    EXPECT_GT(PresentCount(), presents);
    EXPECT_LT(R(tickPixel()), 120);
}

}  // namespace
