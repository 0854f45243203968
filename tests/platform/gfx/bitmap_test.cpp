#include <gtest/gtest.h>

#include "platform/gfx/bitmap.h"

namespace {

using gfx::Bitmap;
using gfx::MakeColor;
using gfx::RectI;

TEST(Bitmap, SizesOutsideTheSurfaceLimitsGiveAnEmptyBitmap) {
    EXPECT_FALSE(Bitmap(0, 10).IsValid());
    EXPECT_FALSE(Bitmap(10, -1).IsValid());
    EXPECT_FALSE(Bitmap(40000, 1).IsValid());
    Bitmap empty;
    EXPECT_EQ(empty.Data(), nullptr);
    EXPECT_EQ(empty.GetPixel(0, 0), 0u);
    empty.SetPixel(0, 0, 0xFFFFFFFF);  // does nothing, does not crash
    EXPECT_FALSE(empty.Clone().IsValid());
}

TEST(Bitmap, StoresPremultipliedBgraLikeA32BitDib) {
    Bitmap b(3, 2);
    ASSERT_TRUE(b.IsValid());
    EXPECT_GE(b.Stride(), 12);
    EXPECT_EQ(b.GetRawPixel(2, 1), 0u) << "new bitmaps are transparent";

    b.SetPixel(1, 0, MakeColor(128, 255, 0, 100));
    const std::uint8_t* p = b.Data() + 4;
    EXPECT_EQ(p[3], 128);  // alpha
    EXPECT_EQ(p[2], 128);  // red, premultiplied
    EXPECT_EQ(p[1], 0);    // green
    EXPECT_EQ(p[0], 50);   // blue 100 * 128 / 255
    const gfx::Argb back = b.GetPixel(1, 0);
    EXPECT_EQ(gfx::AlphaOf(back), 128);
    EXPECT_EQ(gfx::RedOf(back), 255);
    EXPECT_NEAR(gfx::BlueOf(back), 100, 1);
    EXPECT_EQ(b.GetPixel(-1, 0), 0u);
    EXPECT_EQ(b.GetPixel(3, 0), 0u);
}

TEST(Bitmap, CloneAreaCopiesAndLeavesOutsidePartsTransparent) {
    Bitmap b(4, 4);
    b.Fill(MakeColor(255, 10, 20, 30));
    b.SetPixel(3, 3, MakeColor(255, 200, 0, 0));
    Bitmap c = b.CloneArea(RectI{2, 2, 4, 4});
    ASSERT_EQ(c.Width(), 4);
    EXPECT_EQ(c.GetPixel(0, 0), MakeColor(255, 10, 20, 30));
    EXPECT_EQ(c.GetPixel(1, 1), MakeColor(255, 200, 0, 0));
    EXPECT_EQ(c.GetPixel(2, 2), 0u);
    // The copy is independent of its source.
    b.Fill(0);
    EXPECT_EQ(c.GetPixel(0, 0), MakeColor(255, 10, 20, 30));
}

TEST(Bitmap, CopyFromClipsToBothBitmapsAndHandlesOverlap) {
    Bitmap b(4, 1);
    for (int x = 0; x < 4; ++x)
        b.SetPixel(x, 0, MakeColor(255, static_cast<std::uint8_t>(x * 10), 0, 0));
    b.CopyFrom(b, RectI{0, 0, 3, 1}, 1, 0);  // shift right by one within itself
    EXPECT_EQ(gfx::RedOf(b.GetPixel(1, 0)), 0);
    EXPECT_EQ(gfx::RedOf(b.GetPixel(2, 0)), 10);
    EXPECT_EQ(gfx::RedOf(b.GetPixel(3, 0)), 20);

    Bitmap small(2, 2);
    small.CopyFrom(b, RectI{2, 0, 100, 100}, -1, 0);  // clipped on every side, no overrun
    EXPECT_EQ(gfx::RedOf(small.GetPixel(0, 0)), 20);
    EXPECT_EQ(small.GetPixel(1, 0), 0u);
    EXPECT_EQ(small.GetPixel(0, 1), 0u);
    small.CopyFrom(b, RectI{-5, -5, 100, 100}, -1, 0);  // lands outside: nothing happens
    EXPECT_EQ(gfx::RedOf(small.GetPixel(0, 0)), 20);
}

}  // namespace
