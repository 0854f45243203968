#include <gtest/gtest.h>

#include "assets/assets.h"
#include "host_fixture.h"
#include "platform/gfx/font.h"

namespace ui::test {
namespace {

using StartupTest = HostTest;

TEST_F(StartupTest, DefaultFontFallsBackToTheDesktopsChineseFace) {
    const LibraryState& lib = Library();
    ASSERT_TRUE(lib.defaultFont.has_value());
    if (!gfx::FontFamily::Exists("宋体")) {
        EXPECT_EQ(lib.defaultFont->Family().Name(), gfx::FontFamily::DefaultChineseSans().Name());
        EXPECT_EQ(SystemFontFace(2), gfx::FontFamily::DefaultChineseSans().Name());
    }
    EXPECT_FLOAT_EQ(lib.defaultFont->Size(), 12.0f);
    EXPECT_EQ(lib.defaultFont->Style(), 0);
}

TEST_F(StartupTest, MissingFaceTakesTheDefaultFamily) {
    auto font = CreateUiFont("No Such Face 123", 20, gfx::FontStyle::kBold);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->Family().Name(), Library().defaultFont->Family().Name());
    EXPECT_FLOAT_EQ(font->Size(), 20.0f);
    EXPECT_TRUE(font->IsBold());
}

TEST_F(StartupTest, PngWithoutSignatureNeedsTheFlag) {
    const auto strip = assets::CaptionButtonStrip();
    EXPECT_EQ(LoadImageFromBytes(strip, false), nullptr);
    auto image = LoadImageFromBytes(strip, true);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(ImageWidth(image.get()), 729);
    EXPECT_EQ(ImageHeight(image.get()), 20);
    ASSERT_NE(Library().captionImage, nullptr);
    EXPECT_EQ(Library().captionImage->Width(), 729);

    // A whole PNG decodes only without the added signature.
    const auto check = assets::CheckMarkStrip();
    EXPECT_NE(LoadImageFromBytes(check, false), nullptr);
    EXPECT_EQ(LoadImageFromBytes(check, true), nullptr);
    EXPECT_EQ(LoadImageFromBytes({}, false), nullptr);
}

TEST_F(StartupTest, DecodedImageOutlivesItsBytes) {
    const auto skin = assets::SkinJpeg();
    std::unique_ptr<gfx::Bitmap> image;
    std::uint32_t pixel = 0;
    {
        std::vector<std::uint8_t> copy(skin.begin(), skin.end());
        image = LoadImageFromBytes(copy, false);
        ASSERT_NE(image, nullptr);
        pixel = image->GetRawPixel(500, 300);
        std::fill(copy.begin(), copy.end(), 0);
    }
    EXPECT_EQ(image->Width(), 975);
    EXPECT_EQ(image->Height(), 547);
    EXPECT_EQ(image->GetRawPixel(500, 300), pixel);
}

TEST_F(StartupTest, WideTextRoundTripKeepsTheTerminatingZero) {
    const rt::ByteBuffer wide = ToWide("关键字ab", 936);
    EXPECT_EQ(wide.size(), (5u + 1u) * 2u);
    EXPECT_EQ(wide[wide.size() - 1], 0);
    EXPECT_EQ(wide[wide.size() - 2], 0);
    EXPECT_EQ(ToNarrow(wide, 936), "关键字ab");
}

TEST_F(StartupTest, HostWindowsAreCentredOnTheWorkArea) {
    EXPECT_EQ(CentredPosition(plat::RECT{0, 0, 1920, 1040}, 975, 547).x, 472);
    EXPECT_EQ(CentredPosition(plat::RECT{0, 0, 1920, 1040}, 975, 547).y, 246);

    HostWindowOptions options;
    options.title = "Centred";
    options.width = 975;
    options.height = 547;
    NativeWindow centred = CreateHostWindow(options);
    ASSERT_NE(centred, nullptr);
    plat::RECT r;
    plat::GetWindowRect(centred, &r);
    EXPECT_EQ(r, (plat::RECT{472, 246, 472 + 975, 246 + 547}));
    EXPECT_FALSE(plat::IsWindowVisible(centred));
    EXPECT_NE(plat::GetClassStyle(centred) & plat::CS_DBLCLKS, 0u);
    EXPECT_EQ(plat::GetClassName(centred), "Qd_DirectUI");

    // A given x keeps its value; the missing y is still centred. Defaults 380 x 250.
    HostWindowOptions half;
    half.x = 3;
    half.show = true;
    NativeWindow other = CreateHostWindow(half);
    plat::GetWindowRect(other, &r);
    EXPECT_EQ(r, (plat::RECT{3, (1040 - 250) / 2, 3 + 380, (1040 - 250) / 2 + 250}));
    EXPECT_TRUE(plat::IsWindowVisible(other));
    EXPECT_EQ(
        static_cast<plat::DWORD>(plat::GetWindowLong(other, plat::GWL_STYLE)) & kHostDefaultStyle,
        kHostDefaultStyle);
}

}  // namespace
}  // namespace ui::test
