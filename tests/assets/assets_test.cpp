// The embedded images decode to the sizes, and hold the cells, that the
// controls cut out of them.
#include <gtest/gtest.h>

#include "assets/assets.h"
#include "platform/gfx/gfx.h"
#include "ui/core/library.h"

namespace {

// Whether any pixel of the area is more than faintly opaque.
bool Drawn(const gfx::Bitmap& image, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (gfx::AlphaOf(image.GetPixel(x, y)) > 64) return true;
    return false;
}

TEST(EmbeddedImages, SkinIsAJpegOfTheWindowSize) {
    const auto skin = assets::SkinJpeg();
    ASSERT_GT(skin.size(), 1000u);
    EXPECT_EQ(skin[0], 0xFF);
    EXPECT_EQ(skin[1], 0xD8);
    const auto image = ui::LoadImageFromBytes(skin, false);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 975);
    EXPECT_EQ(image->Height(), 547);
}

TEST(EmbeddedImages, CaptionStripDecodesOnlyWithTheSignatureAddedAndHasEveryCell) {
    const auto bytes = assets::CaptionButtonStrip();
    EXPECT_FALSE(ui::LoadImageFromBytes(bytes, false));
    const auto strip = ui::LoadImageFromBytes(bytes, true);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->Width(), assets::kCaptionStripWidth);
    EXPECT_EQ(strip->Height(), assets::kCaptionStripHeight);
    using G = assets::CaptionGlyph;
    for (G glyph :
         {G::Close, G::Maximise, G::Restore, G::Minimise, G::Menu, G::More, G::Pin, G::Help}) {
        for (int look = 0; look < assets::kCaptionLooks; ++look) {
            const int x = assets::CaptionCellX(glyph, look);
            const int w = assets::CaptionCellWidth(glyph);
            EXPECT_TRUE(Drawn(*strip, x + 4, 0, w - 8, assets::kCaptionGlyphRows))
                << "glyph " << static_cast<int>(glyph) << " look " << look;
        }
    }
    // Below the glyph rows and past the last cell the strip is clear.
    EXPECT_FALSE(Drawn(*strip, 0, assets::kCaptionGlyphRows, assets::kCaptionStripWidth, 1));
    const int end = assets::CaptionCellX(G::Help, 2) + assets::kCaptionCellWidth;
    EXPECT_FALSE(
        Drawn(*strip, end, 0, assets::kCaptionStripWidth - end, assets::kCaptionStripHeight));
    // The hovered close cell is the red one, the normal one has no background.
    const gfx::Argb hoveredClose = strip->GetPixel(assets::CaptionCellX(G::Close, 1) + 3, 9);
    EXPECT_GT(gfx::RedOf(hoveredClose), gfx::GreenOf(hoveredClose) + 100);
    EXPECT_EQ(gfx::AlphaOf(strip->GetPixel(assets::CaptionCellX(G::Close, 0) + 3, 9)), 0);
}

TEST(EmbeddedImages, CheckMarkStripHasUntickedThenTickedCells) {
    const auto strip = ui::LoadImageFromBytes(assets::CheckMarkStrip(), false);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->Width(), assets::kCheckMarkStripWidth);
    EXPECT_EQ(strip->Height(), assets::kCheckMarkCell);
    for (int look = 0; look < assets::kCheckMarkLooks; ++look) {
        // The tick's corner at (7, 11) of a cell: green when ticked, the box's light fill
        // otherwise.
        const gfx::Argb off = strip->GetPixel(assets::CheckMarkCellX(0, look) + 7, 11);
        const gfx::Argb on = strip->GetPixel(assets::CheckMarkCellX(1, look) + 7, 11);
        EXPECT_GT(gfx::RedOf(off), 150) << look;
        EXPECT_GT(gfx::GreenOf(on), gfx::RedOf(on) + 20) << look;
        if (look != 4) {  // the faded tick is pale
            EXPECT_LT(gfx::RedOf(on), 100) << look;
        }
    }
}

TEST(EmbeddedImages, MenuCheckIsASmallPng) {
    const auto image = ui::LoadImageFromBytes(assets::MenuCheckImage(), false);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), assets::kMenuCheckSize);
    EXPECT_EQ(image->Height(), assets::kMenuCheckSize);
    EXPECT_TRUE(Drawn(*image, 0, 0, assets::kMenuCheckSize, assets::kMenuCheckSize));
}

}  // namespace
