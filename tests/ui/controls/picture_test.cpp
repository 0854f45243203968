// The picture control on a headless host: animation on the test clock, the
// draw modes of an icon image, and the caption icon of a host window.
#include <gtest/gtest.h>

#include <vector>

#include "assets/assets.h"
#include "backend_under_test.h"
#include "host_fixture.h"
#include "ui/controls/label.h"
#include "ui/controls/picture.h"

namespace {

using ui::test::ControlHostTest;

// A GIF of 1 x 1 frames: frame i shows red, green, blue in turn and carries
// delays[i] hundredths of a second.
std::vector<std::uint8_t> FramesGif(const std::vector<int>& delays) {
    std::vector<std::uint8_t> b = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x81, 0, 0};
    const std::uint8_t palette[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    b.insert(b.end(), std::begin(palette), std::end(palette));
    for (std::size_t i = 0; i < delays.size(); ++i) {
        const auto d = static_cast<std::uint16_t>(delays[i]);
        const std::uint8_t control[] = {0x21,
                                        0xF9,
                                        4,
                                        0,
                                        static_cast<std::uint8_t>(d & 0xFF),
                                        static_cast<std::uint8_t>(d >> 8),
                                        0,
                                        0};
        b.insert(b.end(), std::begin(control), std::end(control));
        const std::uint8_t descriptor[] = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0};
        b.insert(b.end(), std::begin(descriptor), std::end(descriptor));
        // Minimum code size 2; codes of 3 bits: clear (4), the pixel, end (5).
        const auto pixel = static_cast<std::uint8_t>(i % 3);
        const std::uint8_t data[] = {2, 2, static_cast<std::uint8_t>(4 | pixel << 3 | 1 << 6), 1,
                                     0};
        b.insert(b.end(), std::begin(data), std::end(data));
    }
    b.push_back(0x3B);
    return b;
}

// An 8 x 8 icon: a 2-pixel opaque red frame around a half-transparent blue centre.
plat::IconImage FramedIcon() {
    plat::IconImage icon{8, 8, std::vector<std::uint32_t>(64)};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            icon.pixels[static_cast<std::size_t>(y * 8 + x)] =
                (x < 2 || y < 2 || x >= 6 || y >= 6) ? 0xFFFF0000u : 0x800000FFu;
    return icon;
}

class PictureTest : public ControlHostTest {
protected:
    bool Red(int x, int y) const { return R(Shot().at(x, y)) > 200 && G(Shot().at(x, y)) < 50; }
    bool Green(int x, int y) const { return G(Shot().at(x, y)) > 200 && R(Shot().at(x, y)) < 50; }
    bool Blue(int x, int y) const { return B(Shot().at(x, y)) > 100 && R(Shot().at(x, y)) < 50; }

public:
    ui::UiPicture picture;
};

TEST_F(PictureTest, AGifWithZeroDelaysPlaysAtATenthOfASecondAFrameWhenAsked) {
    ui::PictureOptions o;
    o.fixZeroDelays = true;
    ASSERT_TRUE(picture.CreatePicture(window, 100, 100, 20, 20, FramesGif({0, 0, 0}), o));
    Pump();
    EXPECT_TRUE(picture.Animated());
    EXPECT_EQ(picture.FrameCount(), 3);
    EXPECT_EQ(picture.FrameDelays(), (std::vector<std::uint32_t>{10, 10, 10}));
    EXPECT_TRUE(Red(110, 110));
    Tick(99);
    EXPECT_TRUE(Red(110, 110));
    Tick(1);
    EXPECT_TRUE(Green(110, 110));
    Tick(100);
    EXPECT_TRUE(Blue(110, 110));
    Tick(100);
    EXPECT_TRUE(Red(110, 110)) << "the last frame wraps to the first";
}

TEST_F(PictureTest, ZeroDelaysLeftAloneStillWaitBetweenFrames) {
    ASSERT_TRUE(picture.CreatePicture(window, 100, 100, 20, 20, FramesGif({0, 0})));
    Pump();
    EXPECT_EQ(picture.FrameDelays(), (std::vector<std::uint32_t>{0, 0}));
    EXPECT_EQ(picture.FrameIndex(), 2);
    // A pump with no time passing shows no new frame; the shortest period does.
    Pump();
    EXPECT_EQ(picture.FrameIndex(), 2);
    Tick(ui::kMinimumFrameMs);
    EXPECT_EQ(picture.FrameIndex(), 1);
}

TEST_F(PictureTest, AStillImageStartsNoTimer) {
    ASSERT_TRUE(picture.CreatePicture(window, 100, 100, 20, 20, FramesGif({50})));
    Pump();
    EXPECT_FALSE(picture.Animated());
    EXPECT_FALSE(picture.TimerArmed());
    // wine's GDI+ reads no frame delay from a GIF of one frame.
    if (!gfx_test::UnderWine()) {
        EXPECT_EQ(picture.FrameDelays(), (std::vector<std::uint32_t>{50}));
    }
    const int presents = PresentCount();
    Tick(2000);
    EXPECT_EQ(PresentCount(), presents);
    EXPECT_EQ(picture.FrameIndex(), 1);
    ui::UiPicture icon;
    ASSERT_TRUE(icon.CreatePictureFromIcon(window, 200, 100, 8, 8, FramedIcon()));
    EXPECT_FALSE(icon.TimerArmed());
    EXPECT_EQ(icon.FrameDelays(), (std::vector<std::uint32_t>{10}));
    // Bytes that decode to nothing give an empty picture, not a failure.
    ui::UiPicture broken;
    const std::vector<std::uint8_t> junk = {'G', 'I', 'F', '8', '9', 'a', 0};
    ASSERT_TRUE(broken.CreatePicture(window, 300, 100, 8, 8, junk));
    EXPECT_FALSE(broken.HasImage());
    EXPECT_FALSE(broken.TimerArmed());
}

TEST_F(PictureTest, ADisabledAnimationKeepsCountingFramesWithoutRepainting) {
    ASSERT_TRUE(picture.CreatePicture(window, 100, 100, 20, 20, FramesGif({5, 5, 5})));
    Pump();
    picture.Disabled(1);
    Pump();
    const int presents = PresentCount();
    const int frame = picture.FrameIndex();
    Tick(50);
    EXPECT_EQ(picture.FrameIndex(), frame % 3 + 1);
    Tick(50);
    EXPECT_EQ(picture.FrameIndex(), (frame + 1) % 3 + 1);
    EXPECT_EQ(PresentCount(), presents);
}

TEST_F(PictureTest, AnIconKeepsItsAlphaInEveryDrawMode) {
    ui::PictureOptions slice;
    slice.drawMode = ui::PictureDrawMode::NineSlice;
    slice.sliceMargins = ui::SliceMargins{2, 2, 2, 2};
    ASSERT_TRUE(picture.CreatePictureFromIcon(window, 100, 100, 40, 40, FramedIcon(), slice));
    ui::PictureOptions natural;
    natural.drawMode = ui::PictureDrawMode::Natural;
    ui::UiPicture atNatural;
    ASSERT_TRUE(atNatural.CreatePictureFromIcon(window, 200, 100, 40, 40, FramedIcon(), natural));
    ui::PictureOptions fit;
    fit.drawMode = ui::PictureDrawMode::Fit;
    ui::UiPicture fitted;
    ASSERT_TRUE(fitted.CreatePictureFromIcon(window, 300, 100, 40, 20, FramedIcon(), fit));
    Pump();

    // Nine-slice: the frame keeps its 2 pixels on every side; the centre stretches.
    EXPECT_TRUE(Red(101, 120));
    EXPECT_TRUE(Red(138, 120));
    EXPECT_TRUE(Red(120, 138));
    EXPECT_TRUE(Blue(103, 120));
    // wine's GDI+ samples past the right and bottom of a part it stretches:
    // the centre's last source pixel (8 pixels here) blends into the frame.
    const int inner = gfx_test::UnderWine() ? 128 : 136;
    EXPECT_TRUE(Blue(inner, inner));
    const int alpha = A(Shot().at(120, 120));
    EXPECT_GT(alpha, 110);
    EXPECT_LT(alpha, 150);
    // Natural size: 8 x 8 at the top-left, nothing beyond.
    EXPECT_TRUE(Red(201, 101));
    EXPECT_TRUE(Blue(204, 104));
    EXPECT_LE(A(Shot().at(220, 120)), 2);
    // Fitted into 40 x 20: a 20 x 20 square in the middle.
    EXPECT_LE(A(Shot().at(305, 110)), 2);
    EXPECT_TRUE(Red(311, 110));
    EXPECT_TRUE(Blue(320, 110));
    EXPECT_TRUE(Red(329, 110));
    EXPECT_LE(A(Shot().at(335, 110)), 2);
}

// The gallery's animation is stored with frames that only cover what changed;
// every frame the picture shows is still the whole picture.
TEST_F(PictureTest, TheEmbeddedAnimationPlaysWholeFramesWithItsOwnDelays) {
    ui::PictureOptions o;
    o.drawMode = ui::PictureDrawMode::Natural;
    ASSERT_TRUE(picture.CreatePicture(window, 100, 100, 48, 48, assets::SpinnerGif(), o));
    Pump();
    EXPECT_EQ(picture.FrameCount(), assets::kSpinnerFrames);
    EXPECT_EQ(picture.FrameDelays(), std::vector<std::uint32_t>(assets::kSpinnerFrames, 8));
    for (int i = 0; i < assets::kSpinnerFrames; ++i) {
        const gfx::Bitmap& frame = picture.Image()->frames[static_cast<std::size_t>(i)];
        EXPECT_EQ(frame.GetPixel(0, 0) >> 24, 0xFFu) << "frame " << i;
        EXPECT_EQ(frame.GetPixel(47, 47) >> 24, 0xFFu) << "frame " << i;
    }
    const auto corner = Shot().at(101, 101);
    Tick(80);
    EXPECT_EQ(picture.FrameIndex(), 3);
    EXPECT_EQ(Shot().at(101, 101), corner);
}

// The caption's icon: the window's small icon at (11, 11), 16 x 16, and the
// title after it; a new icon set later replaces the picture's.
TEST_F(PictureTest, TheCaptionShowsTheWindowIconAndFollowsItsChanges) {
    plat::DestroyWindow(window);
    Pump();
    ui::HostWindowOptions options;
    options.title = "with icon";
    options.width = 400;
    options.height = 300;
    window = ui::CreateHostWindow(options);
    ASSERT_NE(window, nullptr);
    const plat::IconImage red{1, 1, {0xFFFF0000u}};
    const plat::IconImage green{1, 1, {0xFF00FF00u}};
    plat::SendMessage(window, plat::WM_SETICON, plat::ICON_SMALL,
                      reinterpret_cast<plat::LPARAM>(&red));
    ui::UiWindow captioned;
    ui::AttachOptions attach;
    attach.captionFlags = ui::CAPTION_ICON | ui::CAPTION_TITLE | ui::CAPTION_CLOSE;
    attach.backgroundAlpha = 1;
    ASSERT_TRUE(captioned.Attach(window, attach));
    captioned.ShowAnimated(0);
    Pump();
    ASSERT_TRUE(captioned.IconPicture());
    EXPECT_EQ(captioned.IconPicture()->Kind(), ui::KIND_PICTURE);
    const ui::RectF r = captioned.IconPicture()->Rect();
    EXPECT_EQ(r.x, 11);
    EXPECT_EQ(r.y, 11);
    EXPECT_EQ(r.width, 16);
    EXPECT_EQ(r.height, 16);
    ASSERT_TRUE(captioned.TitleLabel());
    EXPECT_EQ(captioned.TitleLabel()->Rect().x, 28);
    const auto at = [&](int x, int y) { return plat::headless::Presented(window).at(x, y); };
    EXPECT_GT(R(at(19, 19)), 200);
    EXPECT_EQ(plat::SendMessage(window, plat::WM_SETICON, plat::ICON_SMALL,
                                reinterpret_cast<plat::LPARAM>(&green)),
              reinterpret_cast<plat::LRESULT>(&red));
    Pump();
    EXPECT_GT(G(at(19, 19)), 200);
    EXPECT_LT(R(at(19, 19)), 50);
    plat::DestroyWindow(window);
    Pump();
}

}  // namespace
