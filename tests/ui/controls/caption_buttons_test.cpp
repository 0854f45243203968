// Caption buttons of a host window: layout, cells and the window commands they post.
#include <gtest/gtest.h>

#include <vector>

#include "assets/assets.h"
#include "host_fixture.h"
#include "ui/controls/caption_button.h"

namespace {

using ui::test::ControlHostTest;

class CaptionTest : public ControlHostTest {
protected:
    ui::UiCaptionButton& Button(std::size_t i) {
        return static_cast<ui::UiCaptionButton&>(*host->CaptionButtons().at(i));
    }
    // Records the window commands that reach the window.
    void Record() {
        ui::HostCallbacks callbacks;
        callbacks.rawMessage = [this](ui::NativeWindow, unsigned message, ui::WParam w,
                                      ui::LParam) {
            if (message == plat::WM_SYSCOMMAND || message == plat::WM_CLOSE)
                commands.push_back(message == plat::WM_CLOSE ? 0 : w);
            return ui::LResult{-1};
        };
        host->SetCallbacks(callbacks);
    }

public:
    std::vector<ui::WParam> commands;
};

// The layout from the right is the host's (attach tests).
TEST_F(CaptionTest, CloseAndMinimiseKeepThePressWithoutFocusAndCutTheirCells) {
    ASSERT_EQ(host->CaptionButtons().size(), 2u);
    ui::UiCaptionButton& close = Button(0);
    ui::UiCaptionButton& minimise = Button(1);
    EXPECT_EQ(close.ButtonType(), ui::CAPTION_BUTTON_CLOSE);
    EXPECT_EQ(minimise.ButtonType(), ui::CAPTION_BUTTON_MINIMIZE);
    EXPECT_FALSE(close.Focusable());
    EXPECT_EQ(close.SendEvent(ui::EV_PRESS_QUERY), 0);

    // Cells: close is 39 wide at the start of the strip, the others 28.
    EXPECT_FLOAT_EQ(close.CellRect(ui::CaptionLook::Hovered).x, 39);
    EXPECT_FLOAT_EQ(close.CellRect(ui::CaptionLook::Hovered).width, 39);
    EXPECT_FLOAT_EQ(minimise.CellRect(ui::CaptionLook::Pressed).x,
                    assets::CaptionCellX(assets::CaptionGlyph::Minimise, 2));
    EXPECT_LE(assets::CaptionCellX(assets::CaptionGlyph::Help, 2) + assets::kCaptionCellWidth,
              assets::kCaptionStripWidth);
}

TEST_F(CaptionTest, HoverShowsTheRedCloseCellAndAClickClosesTheWindow) {
    const std::uint32_t normal = Shot().at(949, 16);
    MoveOnto(Button(0));
    for (int i = 0; i < 4; ++i) Tick(60);
    EXPECT_EQ(Button(0).Look(), ui::CaptionLook::Hovered);
    const std::uint32_t hovered = Shot().at(935, 16);
    EXPECT_GT(R(hovered), G(hovered) + 60);
    EXPECT_NE(hovered, normal);
    Record();
    ClickOn(Button(0));
    EXPECT_FALSE(plat::IsWindow(window));
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), 0u);
}

TEST_F(CaptionTest, MinimisePostsNothingForAMinimisedWindowAndDisabledButtonsIgnoreClicks) {
    Record();
    Button(1).SendEvent(ui::EV_CLICK);
    Pump();
    EXPECT_EQ(commands, (std::vector<ui::WParam>{plat::SC_MINIMIZE}));
    EXPECT_TRUE(plat::IsIconic(window));
    Button(1).SendEvent(ui::EV_CLICK);
    Pump();
    EXPECT_EQ(commands.size(), 1u);

    plat::ShowWindow(window, plat::SW_RESTORE);
    Pump();
    Button(0).Disabled(1);
    Button(0).SendEvent(ui::EV_CLICK);
    Pump();
    EXPECT_TRUE(plat::IsWindow(window));
    EXPECT_EQ(commands.size(), 1u);
}

TEST_F(CaptionTest, MaximiseAlternatesWithRestoreAndSwapsItsGlyph) {
    plat::DestroyWindow(window);
    Pump();
    ControlHost(ui::CAPTION_CLOSE | ui::CAPTION_MAXIMIZE | ui::CAPTION_MINIMIZE);
    ASSERT_EQ(host->CaptionButtons().size(), 3u);
    ui::UiCaptionButton& maximise = Button(1);
    EXPECT_EQ(maximise.ButtonType(), ui::CAPTION_BUTTON_MAXIMIZE);
    EXPECT_FLOAT_EQ(maximise.Rect().x, 902);
    EXPECT_FLOAT_EQ(Button(2).Rect().x, 874);
    EXPECT_FLOAT_EQ(maximise.CellRect(ui::CaptionLook::Normal).x,
                    assets::CaptionCellX(assets::CaptionGlyph::Maximise, 0));
    Record();
    maximise.SendEvent(ui::EV_CLICK);
    Pump();
    EXPECT_TRUE(plat::IsZoomed(window));
    EXPECT_FLOAT_EQ(maximise.CellRect(ui::CaptionLook::Normal).x,
                    assets::CaptionCellX(assets::CaptionGlyph::Restore, 0));
    maximise.SendEvent(ui::EV_CLICK);
    Pump();
    EXPECT_FALSE(plat::IsZoomed(window));
    EXPECT_EQ(commands, (std::vector<ui::WParam>{plat::SC_MAXIMIZE, plat::SC_RESTORE}));
}

}  // namespace
