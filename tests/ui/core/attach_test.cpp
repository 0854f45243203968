#include <gtest/gtest.h>

#include "host_fixture.h"
#include "ui/controls/caption_button.h"
#include "ui/controls/label.h"

namespace ui::test {
namespace {

using AttachTest = HostTest;

plat::MINMAXINFO AskMinMax(NativeWindow window) {
    plat::MINMAXINFO info;
    plat::SendMessage(window, plat::WM_GETMINMAXINFO, 0, reinterpret_cast<LParam>(&info));
    return info;
}

TEST_F(AttachTest, RefusesNullDeadAndAttachedWindows) {
    UiWindow& h = Host();
    EXPECT_FALSE(h.Attach(window));
    UiWindow other;
    EXPECT_FALSE(other.Attach(nullptr));
    EXPECT_FALSE(other.Attach(window));  // already has a host
    HostWindowOptions options;
    NativeWindow dead = CreateHostWindow(options);
    plat::DestroyWindow(dead);
    EXPECT_FALSE(other.Attach(dead));
    EXPECT_EQ(FindHost(window), &h);
    EXPECT_EQ(plat::GetProp(window, "Qd_Wnd_Control"), reinterpret_cast<std::intptr_t>(&h));
}

TEST_F(AttachTest, CaptionButtonsAreLaidOutFromTheRight) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE | CAPTION_MINIMIZE;
    UiWindow& h = Host(options);
    ASSERT_EQ(h.CaptionButtons().size(), 2u);
    const UiControl& close = *h.CaptionButtons()[0];
    const UiControl& minimise = *h.CaptionButtons()[1];
    EXPECT_EQ(close.Rect(), (RectF{930, 7, 39, 19}));
    EXPECT_EQ(minimise.Rect(), (RectF{902, 7, 28, 19}));
    EXPECT_EQ(close.Kind(), KIND_CAPTION_BUTTON);
    EXPECT_EQ(h.CaptionFlags(), CAPTION_CLOSE | CAPTION_MINIMIZE | CAPTION_FRAME);
    EXPECT_EQ(h.TitleLabel(), nullptr);
}

TEST_F(AttachTest, CaptionFlagWithoutItsStyleBitMakesNoButton) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE | CAPTION_MAXIMIZE | CAPTION_MINIMIZE;
    UiWindow& h = Host(options, 400, 300, plat::WS_POPUP | plat::WS_MINIMIZEBOX);
    ASSERT_EQ(h.CaptionButtons().size(), 2u);
    EXPECT_EQ(static_cast<UiCaptionButton&>(*h.CaptionButtons()[0]).ButtonType(),
              CAPTION_BUTTON_CLOSE);
    EXPECT_EQ(static_cast<UiCaptionButton&>(*h.CaptionButtons()[1]).ButtonType(),
              CAPTION_BUTTON_MINIMIZE);
    EXPECT_FLOAT_EQ(h.CaptionButtons()[1]->Rect().x, 400 - 5 - 12 - 28 - 28);
    EXPECT_EQ(plat::GetWindowLong(window, plat::GWL_STYLE) & plat::WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(AskMinMax(window).ptMinTrackSize.x, 1 + 35 + 28 * 2 + 11);
}

TEST_F(AttachTest, CaptionFlagsFollowTheStyle) {
    UiWindow& h = Host({}, 400, 300, plat::WS_POPUP | plat::WS_MAXIMIZEBOX);
    EXPECT_EQ(h.CaptionFlags(), CAPTION_FROM_STYLE | CAPTION_ICON | CAPTION_TITLE | CAPTION_CLOSE |
                                    CAPTION_MAXIMIZE | CAPTION_FRAME);
    const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(window, plat::GWL_STYLE));
    EXPECT_NE(style & plat::WS_SYSMENU, 0u);
    EXPECT_NE(style & plat::WS_MAXIMIZEBOX, 0u);
    EXPECT_EQ(style & plat::WS_MINIMIZEBOX, 0u);
    ASSERT_NE(h.TitleLabel(), nullptr);
    EXPECT_FLOAT_EQ(h.TitleLabel()->Rect().x, 28);  // beside the icon
    EXPECT_FLOAT_EQ(h.TitleLabel()->Rect().y, 10);
    ASSERT_EQ(h.CaptionButtons().size(), 2u);
    EXPECT_FLOAT_EQ(h.TitleLabel()->Rect().width, h.CaptionButtons().back()->Rect().x - 28);
    EXPECT_EQ(h.TitleLabel()->LabelText(), "Host");
    plat::SetWindowText(window, "新标题");
    EXPECT_EQ(h.TitleLabel()->LabelText(), "新标题");
    EXPECT_EQ(plat::GetWindowText(window), "新标题");
}

TEST_F(AttachTest, CaptionFlagsZeroAddNoSystemMenuAndNoCaption) {
    AttachOptions options;
    options.captionFlags = 0;
    UiWindow& h = Host(options, 400, 300, plat::WS_POPUP);
    EXPECT_EQ(plat::GetWindowLong(window, plat::GWL_STYLE) & plat::WS_SYSMENU, 0);
    EXPECT_TRUE(h.CaptionButtons().empty());
    EXPECT_EQ(h.FirstControl(), nullptr);
    const plat::MINMAXINFO info = AskMinMax(window);
    EXPECT_EQ(info.ptMinTrackSize.x, 21);
    EXPECT_EQ(info.ptMinTrackSize.y, 20);
}

TEST_F(AttachTest, TrackingSizesComeFromCaptionAndWorkArea) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE | CAPTION_MINIMIZE;
    Host(options);
    const plat::MINMAXINFO info = AskMinMax(window);
    EXPECT_EQ(info.ptMinTrackSize.x, 1 + 35 + 28 * 2 + 11);
    EXPECT_EQ(info.ptMinTrackSize.y, 38);
    EXPECT_EQ(info.ptMaxSize.x, 1934);
    EXPECT_EQ(info.ptMaxSize.y, 1054);
    EXPECT_EQ(info.ptMaxPosition.x, -7);
    EXPECT_EQ(info.ptMaxPosition.y, -7);
}

TEST_F(AttachTest, OnlyAnOpacityMakesTheWindowLayered) {
    Host();
    EXPECT_EQ(plat::GetWindowLong(window, plat::GWL_EXSTYLE) & plat::WS_EX_LAYERED, 0);
    EXPECT_FALSE(host->Layered());
    AttachOptions options;
    options.backgroundAlpha = 200;
    Host(options);
    EXPECT_TRUE(host->Layered());
}

TEST_F(AttachTest, ResizableFrameStaysAndStyleIsFrameless) {
    Host({}, 500, 300,
         kHostDefaultStyle | plat::WS_THICKFRAME | plat::WS_BORDER | plat::WS_DLGFRAME);
    EXPECT_TRUE(host->Resizable());
    const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(window, plat::GWL_STYLE));
    EXPECT_NE(style & plat::WS_THICKFRAME, 0u);
    EXPECT_EQ(style & (plat::WS_BORDER | plat::WS_DLGFRAME), 0u);
    EXPECT_NE(style & plat::WS_POPUP, 0u);
}

TEST_F(AttachTest, ResizeRebuildsCanvasAndLayout) {
    AttachOptions options;
    options.captionFlags = CAPTION_CLOSE;
    UiWindow& h = Host(options, 600, 400);
    int calls = 0;
    HostCallbacks callbacks;
    callbacks.resize = [&](NativeWindow, int w, int hgt) {
        ++calls;
        EXPECT_EQ(w, 700);
        EXPECT_EQ(hgt, 450);
    };
    h.SetCallbacks(callbacks);
    plat::MoveWindow(window, kLeft, kTop, 700, 450);
    Pump();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(h.Canvas().Width(), 700);
    EXPECT_EQ(h.Canvas().Height(), 450);
    EXPECT_FLOAT_EQ(h.CaptionButtons()[0]->Rect().x, 700 - 5 - 12 - 28);
    // Same size again: nothing is rebuilt.
    plat::MoveWindow(window, kLeft + 10, kTop, 700, 450);
    Pump();
    EXPECT_EQ(calls, 1);
}

TEST_F(AttachTest, DestroyingTheWindowDetaches) {
    AttachOptions options;
    options.backgroundAlpha = 200;
    UiWindow& h = Host(options);
    Probe probe;
    ASSERT_NE(probe.Make(window, RectF{20, 40, 50, 20}), nullptr);
    h.SetMnemonic(&probe, 'A');
    plat::DestroyWindow(window);
    EXPECT_EQ(FindHost(window), nullptr);
    EXPECT_EQ(h.FirstControl(), nullptr);
    EXPECT_EQ(h.CaptionFlags(), 0);
    EXPECT_TRUE(h.Mnemonics().empty());
    EXPECT_TRUE(h.Canvas().Empty());
    EXPECT_EQ(probe.GetHandle(), nullptr);  // destroyed with its host
    EXPECT_EQ(probe.Count(plat::WM_DESTROY), 1);
    EXPECT_FALSE(h.Attached());
}

}  // namespace
}  // namespace ui::test
