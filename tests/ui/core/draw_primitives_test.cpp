// Drawing primitives, checked on the pixels they produce.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

#include "platform/gfx/gfx.h"
#include "ui/core/draw.h"

namespace {

using ui::MakeArgb;
using ui::SplitArgb;

int AlphaAt(const gfx::Bitmap& b, int x, int y) { return gfx::AlphaOf(b.GetPixel(x, y)); }

struct AlphaProbe {
    int x, y, alpha;
};

// Each probe's pixel of `b` has exactly the probe's alpha.
void ExpectAlphas(const gfx::Bitmap& b, std::initializer_list<AlphaProbe> probes) {
    for (const AlphaProbe& p : probes)
        EXPECT_EQ(AlphaAt(b, p.x, p.y), p.alpha) << "at (" << p.x << ", " << p.y << ")";
}

// A width x height bitmap holding what `draw` paints on it.
template <typename Draw>
gfx::Bitmap Drawn(int width, int height, Draw draw) {
    gfx::Bitmap b(width, height);
    {
        gfx::Graphics g(b);
        draw(g);
    }
    return b;
}

// A width x height bitmap with the edge fade of `rect` drawn on it.
gfx::Bitmap Faded(int width, int height, const gfx::RectF& rect, std::uint32_t rgb,
                  std::optional<float> size, ui::FadeSides sides) {
    return Drawn(width, height, [&](gfx::Graphics& g) { ui::EdgeFade(g, rect, rgb, size, sides); });
}

TEST(DrawColours, MakeArgbSwapsRedAndBlueAndTurnsFullOpacityInto254) {
    EXPECT_EQ(MakeArgb(0x800080, 100), 0x64800080u);
    EXPECT_EQ(MakeArgb(0xFFFFFF), 0xFEFFFFFFu);
    EXPECT_EQ(MakeArgb(0xFFFFFF, 255), 0xFEFFFFFFu);
    EXPECT_EQ(MakeArgb(0x0000FF, 255), 0xFEFF0000u);
    EXPECT_EQ(MakeArgb(0x0000FF), 0xFEFF0000u);
    EXPECT_EQ(MakeArgb(0x123456, 0), 0x00563412u);
    EXPECT_EQ(MakeArgb(0x123456, 254), 0xFE563412u);
}

TEST(DrawColours, SplitArgbReversesTheChannelsAndHandsBackTheOpacity) {
    EXPECT_EQ(SplitArgb(0xFFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(SplitArgb(0x808080), 0x00808080u);
    int opacity = -1;
    EXPECT_EQ(SplitArgb(0x64800080, &opacity), 0x800080u);
    EXPECT_EQ(opacity, 100);
    EXPECT_EQ(SplitArgb(MakeArgb(0x563412, 7), &opacity), 0x563412u);
    EXPECT_EQ(opacity, 7);
}

TEST(DrawGeometry, PointInRectIsHalfOpenAndRectsOverlapIgnoresTouchingEdges) {
    const gfx::RectF r = ui::MakeRect(10, 10, 5, 5);
    EXPECT_TRUE(ui::PointInRect(r, 10, 10));
    EXPECT_TRUE(ui::PointInRect(r, 14.9f, 14.9f));
    EXPECT_FALSE(ui::PointInRect(r, 15, 12));
    EXPECT_FALSE(ui::PointInRect(r, 12, 15));
    EXPECT_FALSE(ui::PointInRect(r, 9.9f, 12));

    EXPECT_FALSE(ui::RectsOverlap({0, 0, 10, 10}, {10, 0, 5, 5}));
    EXPECT_FALSE(ui::RectsOverlap({0, 0, 10, 10}, {0, 10, 5, 5}));
    EXPECT_TRUE(ui::RectsOverlap({0, 0, 10, 10}, {9.5f, 9.5f, 5, 5}));
    EXPECT_TRUE(ui::RectsOverlap({2, 2, 1, 1}, {0, 0, 10, 10}));

    gfx::RectF a = ui::MakeRect(1, 2, 3, 4);
    ui::AdjustRect(-1, -1, 2, 2, a);
    EXPECT_FLOAT_EQ(a.x, 0);
    EXPECT_FLOAT_EQ(a.y, 1);
    EXPECT_FLOAT_EQ(a.width, 5);
    EXPECT_FLOAT_EQ(a.height, 6);
}

TEST(RoundRect, RightAndBottomArcsStartOnePixelInFromTheFarEdges) {
    // Corner 4 on (6, 6, 100, 50): right arcs at x 101, bottom arcs at y 51,
    // each 4 wide, so the outline ends at 105 and 55 rather than 106 and 56.
    const gfx::Path path = ui::RoundRectPath({6, 6, 100, 50}, 4);
    const gfx::RectF bounds = path.Bounds();
    EXPECT_FLOAT_EQ(bounds.x, 6);
    EXPECT_FLOAT_EQ(bounds.y, 6);
    EXPECT_FLOAT_EQ(bounds.Right(), 105);
    EXPECT_FLOAT_EQ(bounds.Bottom(), 55);

    gfx::Bitmap b(120, 70);
    gfx::Graphics g(b);
    g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
    ui::FillRoundRect(g, {6, 6, 100, 50}, 20, 0xFF0000FF);
    ExpectAlphas(b, {{50, 30, 255}, {103, 30, 255}, {107, 30, 0}, {50, 57, 0}});
    // A corner of 20 cuts the rectangle's corners away.
    ExpectAlphas(b, {{7, 7, 0}, {104, 54, 0}});
}

TEST(EdgeFade, BandsAreHalfTheRectangleWhenItIsSmallerThanTheBand) {
    // 150 high with a band of 100: the top band is 75 deep.
    gfx::Bitmap b = Faded(200, 200, {0, 0, 100, 150}, 0x0000FF, 100, {.top = true});
    EXPECT_GT(AlphaAt(b, 50, 0), 240);
    EXPECT_NEAR(AlphaAt(b, 50, 37), 127, 20);
    EXPECT_GT(AlphaAt(b, 50, 72), 0);
    EXPECT_EQ(AlphaAt(b, 50, 76), 0);
    EXPECT_EQ(gfx::RedOf(b.GetPixel(50, 10)), 255);

    // A taller rectangle keeps the full 100-pixel band.
    gfx::Bitmap tall = Faded(200, 300, {0, 0, 100, 250}, 0x0000FF, std::nullopt, {.top = true});
    EXPECT_GT(AlphaAt(tall, 50, 90), 0);
    EXPECT_EQ(AlphaAt(tall, 50, 101), 0);
}

TEST(EdgeFade, BottomAndRightBandsAreShiftedByTheInsetAndOpaqueOutside) {
    gfx::Bitmap b = Faded(220, 220, {0, 0, 100, 150}, 0x00FF00, 100, {.bottom = true});
    // Band (6, 81, 100, 76): opaque towards the bottom, nothing left of x 6.
    EXPECT_GT(AlphaAt(b, 50, 154), 230);
    EXPECT_LT(AlphaAt(b, 50, 84), 20);
    EXPECT_EQ(AlphaAt(b, 50, 78), 0);
    EXPECT_EQ(AlphaAt(b, 3, 150), 0);
    EXPECT_GT(AlphaAt(b, 8, 150), 0);

    gfx::Bitmap r = Faded(220, 220, {0, 0, 100, 150}, 0x00FF00, 100, {.right = true});
    // Band (56, 6, 51, 150): opaque at the right.
    EXPECT_GT(AlphaAt(r, 104, 50), 230);
    EXPECT_EQ(AlphaAt(r, 54, 50), 0);
    EXPECT_EQ(AlphaAt(r, 104, 3), 0);
}

TEST(DrawImages, DrawImageAlphaAt128HalvesAlphaAndKeepsColour) {
    gfx::Bitmap image(10, 10);
    image.Fill(0xFF3366CC);
    image.SetPixel(0, 0, 0xC8804020);
    gfx::Bitmap b = Drawn(20, 20, [&](gfx::Graphics& g) {
        ui::DrawImageAlpha(g, image, {0, 0, 10, 10}, 128);
    });
    const gfx::Argb p = b.GetPixel(5, 5);
    EXPECT_NEAR(gfx::AlphaOf(p), 128, 1);
    EXPECT_NEAR(gfx::RedOf(p), 0x33, 2);
    EXPECT_NEAR(gfx::GreenOf(p), 0x66, 2);
    EXPECT_NEAR(gfx::BlueOf(p), 0xCC, 2);
    EXPECT_NEAR(AlphaAt(b, 0, 0), 200 * 128 / 255, 1);
    EXPECT_NEAR(gfx::RedOf(b.GetPixel(0, 0)), 0x80, 3);
    EXPECT_EQ(AlphaAt(b, 12, 5), 0);

    // At 255 the image is scaled into the rectangle.
    gfx::Bitmap big = Drawn(30, 30, [&](gfx::Graphics& g) {
        ui::DrawImageAlpha(g, image, {0, 0, 20, 20}, 255);
    });
    EXPECT_EQ(AlphaAt(big, 18, 18), 255);
    EXPECT_EQ(AlphaAt(big, 22, 22), 0);
}

TEST(DrawImages, DrawImageAtCentresWithRoundedOffsets) {
    gfx::Bitmap glyph(17, 17);
    glyph.Fill(0xFF000000);
    // 4 - (17 - 20) / 2 = 5.5 -> 6 and 4 - (17 - 12) / 2 = 1.5 -> 2.
    gfx::Bitmap b = Drawn(40, 40, [&](gfx::Graphics& g) {
        ui::DrawImageAt(g, glyph, {4, 4, 20, 12}, true);
    });
    ExpectAlphas(b, {{6, 2, 255}, {22, 18, 255}, {5, 10, 0}, {10, 1, 0}, {23, 10, 0}});

    gfx::Bitmap plain = Drawn(40, 40, [&](gfx::Graphics& g) {
        ui::DrawImageAt(g, glyph, {4, 4, 2, 2}, false);
    });
    ExpectAlphas(plain, {{4, 4, 255}, {20, 20, 255}, {21, 21, 0}});
}

TEST(DrawImages, NineSliceKeepsCornersAndStretchesTheRest) {
    gfx::Bitmap image(30, 30);
    image.Fill(0xFF0000FF);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if ((x < 10 || x >= 20) && (y < 10 || y >= 20)) image.SetPixel(x, y, 0xFFFF0000);
    gfx::Bitmap b = Drawn(100, 70, [&](gfx::Graphics& g) {
        ui::DrawNineSlice(&g, &image, {0, 0, 90, 60}, ui::SliceMarginsFromRecord(10, 10, 20, 20));
    });
    const auto red = [&](int x, int y) { return gfx::RedOf(b.GetPixel(x, y)); };
    EXPECT_EQ(red(5, 5), 255);
    EXPECT_EQ(red(84, 5), 255);
    EXPECT_EQ(red(5, 54), 255);
    EXPECT_EQ(red(84, 54), 255);
    EXPECT_EQ(red(45, 5), 0);   // top edge, stretched
    EXPECT_EQ(red(5, 30), 0);   // left edge
    EXPECT_EQ(red(45, 30), 0);  // centre
    EXPECT_EQ(AlphaAt(b, 95, 30), 0);

    // With an opacity every piece goes through the alpha matrix.
    gfx::Bitmap faded = Drawn(100, 70, [&](gfx::Graphics& g) {
        ui::DrawNineSlice(&g, &image, {0, 0, 90, 60}, ui::SliceMarginsFromRecord(10, 10, 20, 20),
                          128);
    });
    EXPECT_NEAR(AlphaAt(faded, 5, 5), 128, 1);
    EXPECT_NEAR(AlphaAt(faded, 45, 30), 128, 1);
    ui::DrawNineSlice(nullptr, &image, {0, 0, 90, 60}, {});  // nothing to draw on: no crash
}

TEST(DrawBorders, StylesDrawTheirEdgesAndDashedNeedsNoColour) {
    gfx::Bitmap b = Drawn(60, 40, [&](gfx::Graphics& g) {
        ui::DrawBorder(g, {0, 0, 60, 40}, ui::BORDER_DASHED);
    });
    int drawn = 0;
    int gaps = 0;
    int strongest = 0;
    for (int x = 0; x < 59; ++x) {
        const int a = AlphaAt(b, x, 0);
        (a > 0 ? drawn : gaps) += 1;
        strongest = std::max(strongest, a);
    }
    EXPECT_GT(drawn, 5);
    EXPECT_GT(gaps, 5);
    EXPECT_NEAR(strongest, 120, 2);
    EXPECT_EQ(gfx::RedOf(b.GetPixel(0, 0)), 0);

    gfx::Bitmap s = Drawn(60, 40, [&](gfx::Graphics& g) {
        ui::DrawBorder(g, {0, 0, 60, 40}, ui::BORDER_SUNKEN);
    });
    EXPECT_NEAR(AlphaAt(s, 30, 0), 160, 2);
    EXPECT_EQ(gfx::RedOf(s.GetPixel(30, 0)), 0);
    EXPECT_NEAR(AlphaAt(s, 30, 39), 245, 2);
    EXPECT_EQ(gfx::RedOf(s.GetPixel(30, 39)), 255);
    EXPECT_NEAR(AlphaAt(s, 59, 20), 245, 2);

    gfx::Bitmap solid = Drawn(60, 40, [&](gfx::Graphics& g) {
        ui::DrawBorder(g, {0, 0, 60, 40}, ui::BORDER_SOLID);
    });
    EXPECT_EQ(solid.GetPixel(30, 0), 0xFF646464u);
    EXPECT_EQ(AlphaAt(solid, 30, 20), 0);

    gfx::Bitmap coloured(60, 40);
    gfx::Graphics gc(coloured);
    ui::DrawBorder(gc, {0, 0, 60, 40}, 0xFF00FF00);
    EXPECT_EQ(coloured.GetPixel(0, 20), 0xFF00FF00u);
    ui::DrawBorder(gc, {0, 0, 60, 40}, ui::BORDER_NONE);
}

TEST(DrawShadow, FourOutlinesFadeOutwardsOnePixelApart) {
    gfx::Bitmap b = Drawn(80, 80, [&](gfx::Graphics& g) {
        ui::DropShadow(g, {10, 10, 50, 50}, true, 0x000000);
    });
    EXPECT_NEAR(AlphaAt(b, 35, 10), 45, 2);
    EXPECT_NEAR(AlphaAt(b, 35, 9), 25, 2);
    EXPECT_NEAR(AlphaAt(b, 35, 8), 10, 2);
    EXPECT_NEAR(AlphaAt(b, 35, 7), 5, 2);
    EXPECT_EQ(AlphaAt(b, 35, 6), 0);
    EXPECT_EQ(AlphaAt(b, 35, 35), 0);
}

TEST(DrawGradient, FillGradientRunsTopToBottomByDefault) {
    gfx::Bitmap b = Drawn(20, 101, [&](gfx::Graphics& g) {
        ui::FillGradient(g, {0, 0, 20, 101}, 0xFF000000, 0x00000000);
    });
    EXPECT_GT(AlphaAt(b, 10, 0), 240);
    EXPECT_NEAR(AlphaAt(b, 10, 50), 127, 15);
    EXPECT_LT(AlphaAt(b, 10, 98), 15);
    // The fill stops one pixel short of the right and bottom edges.
    EXPECT_EQ(AlphaAt(b, 19, 10), 0);
}

}  // namespace
