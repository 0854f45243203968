#include <gtest/gtest.h>

#include "assets/assets.h"
#include "host_fixture.h"

namespace ui::test {
namespace {

std::uint32_t Rgb(std::uint32_t pixel) { return pixel & 0x00FFFFFFu; }

class PaintingTest : public HostTest {
protected:
    // A captionless 300 x 200 host on black, translucent at `alpha` (-1:
    // opaque), with the probe at (50, 50, 40, 30) painted in `colour`.
    void ProbeOnBlack(gfx::Argb colour, int alpha = -1) {
        AttachOptions options = Captionless();
        options.backgroundColour = 0;
        options.backgroundAlpha = alpha;
        Host(options, 300, 200);
        probe.colour = colour;
        probe.Make(window, RectF{50, 50, 40, 30});
        Pump();
    }

public:
    Probe probe;
};

AttachOptions Layered(int alpha = 200) {
    AttachOptions options = HostTest::Captionless();
    options.backgroundAlpha = alpha;
    return options;
}

TEST_F(PaintingTest, QueuedBurstRecomposesEachRectangleAndPresentsOnce) {
    UiWindow& h = Host(Layered());
    const int presents = PresentCount();
    const int recomposed = h.RecomposeCount();
    plat::PostMessage(window, HM_INVALIDATE, 0, PackRect(RectF{10, 10, 20, 20}));
    plat::PostMessage(window, HM_INVALIDATE, 0, PackRect(RectF{100, 100, 20, 20}));
    Pump();
    EXPECT_EQ(h.RecomposeCount() - recomposed, 2);
    EXPECT_EQ(PresentCount() - presents, 1);
}

TEST_F(PaintingTest, ImmediateModeRedrawsAndPresentsAtOnce) {
    UiWindow& h = Host(Layered());
    const int presents = PresentCount();
    h.QueueRedraw(RectF{10, 10, 5, 5}, 1);
    EXPECT_EQ(PresentCount() - presents, 1);
    // Nothing is drawn or shown while the host is suspended (a cross-fade runs).
    h.RenderBackground(nullptr, std::nullopt, PresentMode::CrossFade);
    ASSERT_TRUE(h.Suspended());
    const int recomposed = h.RecomposeCount();
    h.QueueRedraw(RectF{10, 10, 5, 5}, 0);
    h.QueueRedraw(RectF{10, 10, 5, 5}, 1);
    EXPECT_EQ(PresentCount() - presents, 1);
    EXPECT_EQ(h.RecomposeCount(), recomposed);
}

TEST_F(PaintingTest, PackedRectanglesRoundOutwards) {
    const RectF r = UnpackRect(PackRect(RectF{10.5f, -3.25f, 20.2f, 4.5f}));
    EXPECT_FLOAT_EQ(r.x, 10);
    EXPECT_FLOAT_EQ(r.y, -4);
    EXPECT_FLOAT_EQ(r.width, 21);
    EXPECT_FLOAT_EQ(r.height, 6);
}

TEST_F(PaintingTest, ControlSurfaceIsComposedAndDisabledLookHalvesIt) {
    ProbeOnBlack(0xFF0000FFu);
    EXPECT_EQ(B(ShownPixel(60, 60)), 255);
    EXPECT_EQ(B(ShownPixel(45, 60)), 0);

    probe.Disabled(1);
    Pump();
    EXPECT_NEAR(B(ShownPixel(60, 60)), 127, 2);

    probe.disabledLookAnswer = 0;  // the control asks for its full look
    probe.Invalidate();
    Pump();
    EXPECT_EQ(B(ShownPixel(60, 60)), 255);
}

TEST_F(PaintingTest, MovedControlLeavesBackgroundBehind) {
    ProbeOnBlack(0xFF0000FFu);
    probe.Move(150.0f, 100.0f);
    Pump();
    EXPECT_EQ(B(ShownPixel(60, 60)), 0);
    EXPECT_EQ(B(ShownPixel(160, 110)), 255);
}

TEST_F(PaintingTest, FramedOrdinaryWindowGetsARoundedRegion) {
    Host({}, 300, 200);
    const plat::Region region = plat::headless::WindowRegion(window);
    ASSERT_FALSE(region.empty());
    EXPECT_TRUE(region.Contains(150, 6));
    EXPECT_FALSE(region.Contains(150, 5));
    EXPECT_FALSE(region.Contains(6, 6));  // rounded corner
    // The region ends where the clipped drawing ends.
    EXPECT_TRUE(region.Contains(300 - 7, 100));
    EXPECT_FALSE(region.Contains(300 - 6, 100));
}

TEST_F(PaintingTest, SkinCoveringTheWindowHasNoFrameOrShadow) {
    const auto skin = assets::SkinJpeg();
    AttachOptions options = Layered(255);
    options.skin.assign(skin.begin(), skin.end());
    options.frameStyle = 1;
    Host(options);
    EXPECT_EQ(A(ShownPixel(0, 0)), 255);  // the skin's own corner, opaque
    EXPECT_EQ(A(ShownPixel(974, 546)), 255);
    EXPECT_FALSE(plat::headless::BlurBehind(window));

    // Framed: outside the shadow everything is transparent, the inside carries
    // the background opacity.
    AttachOptions framed = Layered(200);
    framed.skin.assign(skin.begin(), skin.end());
    framed.skinMode = 1;
    Host(framed);
    EXPECT_EQ(ShownPixel(0, 0), 0u);
    EXPECT_NEAR(A(ShownPixel(400, 300)), 200, 2);
    EXPECT_GT(A(ShownPixel(4, 300)), 0);  // drop shadow just outside the inner rectangle
    EXPECT_TRUE(plat::headless::BlurBehind(window));
}

// The host's theme colour (0xBBGGRR) is the mean of each straight channel
// over every pixel of its skin.
void ExpectThemeIsMeanOfSkin(const UiWindow& host, std::span<const std::uint8_t> skin) {
    const auto image = LoadImageFromBytes(skin, false);
    ASSERT_NE(image, nullptr);
    std::uint64_t sum[3] = {0, 0, 0};  // red, green, blue
    for (int y = 0; y < image->Height(); ++y) {
        for (int x = 0; x < image->Width(); ++x) {
            const std::uint32_t p = image->GetPixel(x, y);
            for (int c = 0; c < 3; ++c) sum[c] += (p >> (16 - 8 * c)) & 0xFF;
        }
    }
    const std::uint64_t n =
        static_cast<std::uint64_t>(image->Width()) * static_cast<std::uint64_t>(image->Height());
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR((host.ThemeColour() >> (8 * c)) & 0xFF, static_cast<int>(sum[c] / n), 1)
            << "channel " << c;
}

TEST_F(PaintingTest, SkinAverageColourBecomesTheBackground) {
    const auto skin = assets::SkinJpeg();
    AttachOptions options = Layered();
    options.skin.assign(skin.begin(), skin.end());
    ExpectThemeIsMeanOfSkin(Host(options), skin);

    AttachOptions explicitColour = options;
    explicitColour.backgroundColour = 0x123456;
    UiWindow& h2 = Host(explicitColour);
    EXPECT_EQ(h2.ThemeColour(), 0x123456);
}

// A skin with translucent pixels averages their own colours, not colours
// darkened by their opacity.
TEST_F(PaintingTest, SkinAverageColourUsesStraightChannels) {
    const auto skin = assets::CheckMarkStrip();
    const auto image = LoadImageFromBytes(skin, false);
    ASSERT_NE(image, nullptr);
    int translucent = 0;
    for (int y = 0; y < image->Height(); ++y) {
        for (int x = 0; x < image->Width(); ++x) {
            const std::uint32_t p = image->GetPixel(x, y);
            if (p >> 24 > 0 && p >> 24 < 255 && (p & 0xFFFFFF) != 0) ++translucent;
        }
    }
    ASSERT_GT(translucent, 0);
    AttachOptions options = Layered();
    options.skin.assign(skin.begin(), skin.end());
    ExpectThemeIsMeanOfSkin(Host(options), skin);
}

TEST_F(PaintingTest, FadeInTakesFiveTicks) {
    AttachOptions options = Layered();
    options.backgroundColour = 0x0000FF;  // red
    UiWindow& h = Host(options, 300, 200);
    h.RenderBackground(nullptr, 0xFF0000, 1);  // to blue, cross-faded
    EXPECT_TRUE(h.Suspended());
    const int presents = PresentCount();
    for (int tick = 1; tick <= 4; ++tick) {
        Tick(50);
        EXPECT_TRUE(h.Suspended());
    }
    // Midway the picture mixes both colours.
    const std::uint32_t mid = ShownPixel(150, 100);
    EXPECT_GT(R(mid), 10);
    EXPECT_GT(B(mid), 10);
    Tick(50);
    EXPECT_FALSE(h.Suspended());
    EXPECT_EQ(PresentCount() - presents, 6);
    EXPECT_EQ(R(ShownPixel(150, 100)), 0);
    EXPECT_GT(B(ShownPixel(150, 100)), 150);
}

TEST_F(PaintingTest, TransitionPlaysItsFramesBetweenStartAndFinish) {
    ProbeOnBlack(0xFFFF0000u);  // red
    probe.TransitionFrames(4, 10);
    probe.colour = 0xFF0000FFu;  // to blue
    probe.Redraw();
    EXPECT_EQ(probe.Count(EV_TRANSITION_STARTED), 1);
    Tick(10);
    Tick(10);
    const std::uint32_t half = ShownPixel(60, 60);
    EXPECT_NEAR(R(half), 128, 20);
    EXPECT_NEAR(B(half), 128, 20);
    EXPECT_EQ(probe.Count(EV_TRANSITION_FINISHED), 0);
    Tick(10);
    Tick(10);
    EXPECT_EQ(probe.Count(EV_TRANSITION_FINISHED), 1);
    EXPECT_EQ(probe.TransitionSnapshot(), nullptr);
    EXPECT_EQ(B(ShownPixel(60, 60)), 255);
    EXPECT_EQ(R(ShownPixel(60, 60)), 0);

    // Without frames the repaint is immediate and raises no transition events.
    probe.TransitionFrames(0);
    probe.Forget();
    probe.colour = 0xFF00FF00u;
    probe.Redraw();
    Pump();
    EXPECT_EQ(probe.Count(EV_TRANSITION_STARTED), 0);
    EXPECT_EQ(ShownPixel(60, 60) & 0x00FFFFFF, 0x0000FF00u);
}

TEST_F(PaintingTest, EntryAnimationShowsTheWindowAndEndsOnTheCanvas) {
    AttachOptions options = Layered();
    options.backgroundColour = 0xFF0000;
    UiWindow& h = Host(options, 300, 200, kHostDefaultStyle, false);
    EXPECT_FALSE(plat::IsWindowVisible(window));
    const int presents = PresentCount();
    h.ShowAnimated(5, 500);
    EXPECT_TRUE(plat::IsWindowVisible(window));
    EXPECT_GE(PresentCount() - presents, 11);
    const plat::headless::Picture shown = plat::headless::Presented(window);
    EXPECT_EQ(shown.at(150, 100), h.Canvas().bitmap->GetRawPixel(150, 100));
}

TEST_F(PaintingTest, CloseAnimationPlaysThenTheWindowIsDestroyed) {
    AttachOptions options = Layered();
    UiWindow& h = Host(options, 300, 200);
    h.SetCloseAnimation(1);
    bool hiddenBeforeDestroy = false;
    HostCallbacks callbacks;
    callbacks.rawMessage = [&](NativeWindow w, unsigned message, WParam, LParam) -> LResult {
        if (message == plat::WM_DESTROY) hiddenBeforeDestroy = !plat::IsWindowVisible(w);
        return -1;
    };
    h.SetCallbacks(callbacks);
    const int presents = h.PresentCount();
    plat::SendMessage(window, plat::WM_CLOSE, 0, 0);
    EXPECT_EQ(h.PresentCount() - presents, 15);
    EXPECT_TRUE(hiddenBeforeDestroy);
    EXPECT_FALSE(plat::IsWindow(window));
}

TEST_F(PaintingTest, SkinModesPlaceTheSkin) {
    const auto bytes = assets::SkinJpeg();
    const auto skin = LoadImageFromBytes(bytes, false);
    ASSERT_NE(skin, nullptr);
    AttachOptions options;
    options.captionFlags = 0;
    options.skin.assign(bytes.begin(), bytes.end());

    options.skinMode = 0;  // natural size at (5, 5); only bottom and right edges fade
    Host(options);
    EXPECT_EQ(Rgb(ShownPixel(105, 105)), Rgb(skin->GetRawPixel(100, 100)));

    options.skinMode = 2;  // centred: same size as the window, so no offset
    Host(options);
    EXPECT_EQ(Rgb(ShownPixel(400, 250)), Rgb(skin->GetRawPixel(400, 250)));
    // The top band fades into the background colour.
    const int bg = host->ThemeColour();
    const std::uint32_t top = ShownPixel(400, 8);
    const int expectedRed = bg & 0xFF;
    EXPECT_NEAR(static_cast<int>(R(top)), expectedRed, 12);

    // Covering the whole window through nine slices keeps the corners.
    options.frameStyle = 1;
    options.skinMargins = Margins{10, 10, 20, 20};
    Host(options, 1200, 700);
    EXPECT_EQ(Rgb(ShownPixel(3, 3)), Rgb(skin->GetRawPixel(3, 3)));
    EXPECT_EQ(Rgb(ShownPixel(1199, 699)), Rgb(skin->GetRawPixel(974, 546)));
}

TEST_F(PaintingTest, PaintBackgroundCallbackDrawsUnderControls) {
    AttachOptions options;
    options.captionFlags = 0;
    options.backgroundColour = 0;
    UiWindow& h = Host(options, 300, 200);
    int calls = 0;
    HostCallbacks callbacks;
    callbacks.paintBackground = [&](NativeWindow w, gfx::Graphics& g, int width, int height) {
        ++calls;
        EXPECT_EQ(w, window);
        EXPECT_EQ(width, 300);
        EXPECT_EQ(height, 200);
        g.FillRectangle(gfx::SolidBrush(0xFF00FF00u), RectF{100, 100, 50, 50});
    };
    h.SetCallbacks(callbacks);
    probe.Make(window, RectF{120, 120, 10, 10});
    h.RenderBackground(nullptr, std::nullopt, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Rgb(ShownPixel(110, 110)), 0x0000FF00u);
    EXPECT_EQ(Rgb(ShownPixel(125, 125)), 0x000000FFu);
    // The background copy keeps the callback's drawing for partial redraws.
    probe.Visible(0);
    Pump();
    EXPECT_EQ(Rgb(ShownPixel(125, 125)), 0x0000FF00u);
}

TEST_F(PaintingTest, PushTransitionSlidesTheNewLookIn) {
    ProbeOnBlack(0xFFFF0000u);  // red
    probe.TransitionStyle(3);   // push right
    probe.TransitionFrames(2, 10);
    probe.colour = 0xFF0000FFu;  // to blue
    probe.Redraw();
    Tick(10);
    // Halfway: the new look fills the left half, the old one was pushed right.
    EXPECT_EQ(Rgb(ShownPixel(55, 60)), 0x000000FFu);
    EXPECT_EQ(Rgb(ShownPixel(85, 60)), 0x00FF0000u);
    EXPECT_EQ(Rgb(ShownPixel(95, 60)), 0u);  // nothing spills out of the control
    Tick(10);
    EXPECT_EQ(Rgb(ShownPixel(85, 60)), 0x000000FFu);
}

// On a translucent window the cross-fade moves every pixel, alpha included,
// from the old picture to the new one: halfway it lies between the two.
TEST_F(PaintingTest, CrossFadeOfATranslucentControlStaysBetweenOldAndNew) {
    ProbeOnBlack(0, 200);  // nothing drawn
    probe.TransitionFrames(4, 10);
    probe.colour = 0x800000FFu;  // half-transparent blue
    probe.Redraw();
    Tick(10);
    Tick(10);
    const int half = static_cast<std::uint8_t>(ShownPixel(60, 60) >> 24);
    Tick(10);
    Tick(10);
    ASSERT_EQ(probe.Count(EV_TRANSITION_FINISHED), 1);
    const int finished = static_cast<std::uint8_t>(ShownPixel(60, 60) >> 24);
    // The old picture is the snapshot over the background: about 243.
    EXPECT_LE(half, 245);
    EXPECT_GE(half, finished);
    EXPECT_NEAR(half, 235, 4);
}

}  // namespace
}  // namespace ui::test
