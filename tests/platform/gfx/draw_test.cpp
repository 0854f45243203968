#include <gtest/gtest.h>

#include "backend_under_test.h"
#include "platform/gfx/graphics.h"

namespace {

using namespace gfx;

constexpr Argb kRed = MakeColor(255, 255, 0, 0);
constexpr Argb kBlue = MakeColor(255, 0, 0, 255);

Path RoundRect(const RectF& r, float corner) {
    Path p;
    p.AddRoundedRectangle(r, corner);
    return p;
}

// Fills `area` with a flip-tiled gradient from `from` to `to` across `band`.
void FillTiledGradient(Graphics& g, const RectF& band, Argb from, Argb to, LinearGradientMode mode,
                       const RectF& area) {
    g.FillRectangle(LinearGradientBrush(band, from, to, mode, WrapMode::TileFlipXY), area);
}

TEST(Fill, SolidRectangleWithoutSmoothingCoversWholePixels) {
    Bitmap b(10, 10);
    Graphics g(b);
    g.FillRectangle(SolidBrush(kRed), RectF{2, 3, 4, 5});
    EXPECT_EQ(b.GetPixel(2, 3), kRed);
    EXPECT_EQ(b.GetPixel(5, 7), kRed);
    EXPECT_EQ(b.GetPixel(6, 7), 0u);
    EXPECT_EQ(b.GetPixel(5, 8), 0u);
    EXPECT_EQ(b.GetPixel(1, 3), 0u);
}

TEST(Fill, ClearReplacesPixelsAndCompositingModesBlendOrCopy) {
    Bitmap b(4, 4);
    Graphics g(b);
    g.Clear(MakeColor(255, 0, 255, 0));
    g.FillRectangle(SolidBrush(MakeColor(128, 255, 0, 0)), RectF{0, 0, 2, 4});
    const Argb blended = b.GetPixel(0, 0);
    EXPECT_EQ(AlphaOf(blended), 255);
    EXPECT_NEAR(RedOf(blended), 128, 2);
    EXPECT_NEAR(GreenOf(blended), 127, 2);

    g.SetCompositingMode(CompositingMode::SourceCopy);
    g.FillRectangle(SolidBrush(MakeColor(128, 255, 0, 0)), RectF{2, 0, 2, 4});
    EXPECT_EQ(AlphaOf(b.GetPixel(3, 0)), 128);
    EXPECT_EQ(GreenOf(b.GetPixel(3, 0)), 0);
}

TEST(Fill, OnePixelLineAtIntegerCoordinatesIsCrisp) {
    Bitmap b(10, 10);
    Graphics g(b);
    g.SetSmoothingMode(SmoothingMode::AntiAlias);
    g.DrawLine(Pen(kBlue), PointF{0, 4}, PointF{10, 4});
    EXPECT_EQ(b.GetPixel(5, 4), kBlue);
    EXPECT_EQ(b.GetPixel(5, 3), 0u);
    EXPECT_EQ(b.GetPixel(5, 5), 0u);
}

TEST(Gradient, EndColoursAtTheRectangleEdgesBothDirections) {
    Bitmap b(101, 101);
    Graphics g(b);
    FillTiledGradient(g, RectF{0, 0, 100, 50}, kRed, kBlue, LinearGradientMode::Horizontal,
                      RectF{0, 0, 100, 50});
    const Argb left = b.GetPixel(0, 10), right = b.GetPixel(99, 10), mid = b.GetPixel(50, 10);
    EXPECT_GE(RedOf(left), 250);
    EXPECT_LE(BlueOf(left), 5);
    EXPECT_GE(BlueOf(right), 245);
    EXPECT_LE(RedOf(right), 10);
    EXPECT_NEAR(RedOf(mid), 127, 8);

    g.Clear(0);
    const Argb opaque = MakeColor(255, 0, 0, 0), clear = MakeColor(0, 0, 0, 0);
    FillTiledGradient(g, RectF{0, 0, 100, 100}, opaque, clear, LinearGradientMode::Vertical,
                      RectF{0, 0, 100, 100});
    EXPECT_GE(AlphaOf(b.GetPixel(40, 0)), 250);
    EXPECT_LE(AlphaOf(b.GetPixel(40, 99)), 5);
    EXPECT_EQ(AlphaOf(b.GetPixel(40, 0)), AlphaOf(b.GetPixel(90, 0)))
        << "vertical: rows are uniform";
}

TEST(Gradient, TileFlipMirrorsBeyondTheRectangle) {
    Bitmap b(40, 1);
    Graphics g(b);
    FillTiledGradient(g, RectF{0, 0, 20, 1}, kRed, kBlue, LinearGradientMode::Horizontal,
                      RectF{0, 0, 40, 1});
    // Mirrored: the second tile runs from blue back to red.
    EXPECT_NEAR(RedOf(b.GetPixel(5, 0)), RedOf(b.GetPixel(34, 0)), 16);
    EXPECT_GE(RedOf(b.GetPixel(39, 0)), 230);
}

TEST(RoundedRectangle, CornersStayEmptyAndEdgesFill) {
    Bitmap b(40, 30);
    Graphics g(b);
    g.SetSmoothingMode(SmoothingMode::AntiAlias);
    g.FillPath(SolidBrush(kRed), RoundRect(RectF{0, 0, 40, 30}, 12));
    EXPECT_EQ(AlphaOf(b.GetPixel(0, 0)), 0);
    EXPECT_EQ(AlphaOf(b.GetPixel(38, 0)), 0);
    EXPECT_EQ(AlphaOf(b.GetPixel(0, 28)), 0);
    EXPECT_EQ(AlphaOf(b.GetPixel(38, 28)), 0);
    EXPECT_EQ(b.GetPixel(20, 15), kRed);
    EXPECT_EQ(b.GetPixel(20, 1), kRed);  // the middle of the top edge
    EXPECT_EQ(b.GetPixel(1, 15), kRed);  // just inside the left edge
    // The path spans x .. x + width - 1 with integer coordinates on pixel
    // centres: the first and last columns are half covered. wine's GDI+ does
    // not anti-alias fills: the column whose centre is on the left edge is in,
    // the one on the right edge out.
    if (gfx_test::UnderWine()) {
        EXPECT_EQ(AlphaOf(b.GetPixel(39, 15)), 0);
        EXPECT_EQ(AlphaOf(b.GetPixel(0, 15)), 255);
    } else {
        EXPECT_NEAR(AlphaOf(b.GetPixel(39, 15)), 128, 2);
        EXPECT_NEAR(AlphaOf(b.GetPixel(0, 15)), 128, 2);
    }

    const RectF bounds = RoundRect(RectF{6, 6, 100, 50}, 4).Bounds();
    EXPECT_FLOAT_EQ(bounds.x, 6);
    EXPECT_FLOAT_EQ(bounds.Right(), 105);  // the right arcs start at x 101
    EXPECT_FLOAT_EQ(bounds.Bottom(), 55);
}

TEST(RoundedRectangle, DashedStrokeLeavesGaps) {
    Bitmap b(60, 10);
    Graphics g(b);
    Pen pen(kBlue);
    pen.SetDashStyle(DashStyle::Dash);
    g.DrawLine(pen, PointF{0, 5}, PointF{60, 5});
    int painted = 0;
    for (int x = 0; x < 60; ++x) painted += AlphaOf(b.GetPixel(x, 5)) > 0;
    EXPECT_GT(painted, 30);
    EXPECT_LT(painted, 55);
}

TEST(Region, RoundRectRegionIsOnePixelSmallerAndCutsCorners) {
    const Region r = Region::RoundRect(6, 6, 100, 60, 6, 6);
    EXPECT_EQ(r.Bounds(), (RectI{6, 6, 93, 53}));
    EXPECT_FALSE(r.Contains(6, 6));
    EXPECT_FALSE(r.Contains(98, 58));
    EXPECT_TRUE(r.Contains(9, 6));
    EXPECT_TRUE(r.Contains(50, 30));
    EXPECT_FALSE(r.Contains(99, 30));
    // Corners under two pixels make a plain rectangle of the same size.
    EXPECT_EQ(Region::RoundRect(0, 0, 10, 10, 1, 1), Region::FromLtrb(0, 0, 9, 9));
}

TEST(Region, CombineOperations) {
    const Region a = Region::FromLtrb(0, 0, 10, 10), b = Region::FromLtrb(5, 0, 15, 10);
    Region r;
    r.Combine(a, b, RegionOp::And);
    EXPECT_EQ(r.Bounds(), (RectI{5, 0, 5, 10}));
    r.Combine(a, b, RegionOp::Or);
    EXPECT_EQ(r.Bounds(), (RectI{0, 0, 15, 10}));
    r.Combine(a, b, RegionOp::Diff);
    EXPECT_EQ(r.Bounds(), (RectI{0, 0, 5, 10}));
    r.Combine(a, b, RegionOp::Xor);
    EXPECT_FALSE(r.Contains(7, 5));
    EXPECT_TRUE(r.Contains(12, 5));
    r.Offset(100, 0);
    EXPECT_TRUE(r.Contains(112, 5));
    EXPECT_EQ(r.Rects().size(), 2u);
}

TEST(Region, EqualSetsAreEqualWhateverTheirHistory) {
    const Region square = Region::FromLtrb(0, 0, 10, 10);
    Region stacked = Region::FromLtrb(0, 0, 10, 5);
    stacked.Combine(Region::FromLtrb(0, 5, 10, 10), RegionOp::Or);
    EXPECT_EQ(stacked, square);
    EXPECT_EQ(stacked.Rects().size(), 1u);
    Region sideBySide = Region::FromLtrb(5, 0, 10, 10);
    sideBySide.Combine(Region::FromLtrb(0, 0, 5, 10), RegionOp::Or);
    EXPECT_EQ(sideBySide, square);

    Region holed = square;
    holed.Combine(Region::FromLtrb(3, 3, 6, 6), RegionOp::Diff);
    EXPECT_EQ(holed.Rects().size(), 4u);  // above, left, right, below
    EXPECT_FALSE(holed.Contains(4, 4));
    EXPECT_EQ(holed.Bounds(), (RectI{0, 0, 10, 10}));
    holed.Combine(Region::FromLtrb(3, 3, 6, 6), RegionOp::Or);
    EXPECT_EQ(holed, square);

    Region none;
    none.Combine(square, square, RegionOp::Xor);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none, Region());
}

TEST(Clip, ExcludeKeepsDrawingOutOfTheRectangle) {
    Bitmap b(20, 20);
    Graphics g(b);
    g.SetClip(RectF{5, 5, 10, 10}, CombineMode::Exclude);
    g.FillRectangle(SolidBrush(kRed), RectF{0, 0, 20, 20});
    EXPECT_EQ(b.GetPixel(4, 4), kRed);
    EXPECT_EQ(b.GetPixel(5, 5), 0u);
    EXPECT_EQ(b.GetPixel(14, 14), 0u);
    EXPECT_EQ(b.GetPixel(15, 14), kRed);
    g.ResetClip();
    g.FillRectangle(SolidBrush(kBlue), RectF{0, 0, 20, 20});
    EXPECT_EQ(b.GetPixel(10, 10), kBlue);
}

TEST(Clip, IntersectReplaceAndVisibleBounds) {
    Bitmap b(50, 40);
    Graphics g(b);
    EXPECT_EQ(g.VisibleClipBounds().width, 50);
    g.SetClip(RectF{-10, 10, 30, 100});
    const RectF v = g.VisibleClipBounds();
    EXPECT_FLOAT_EQ(v.x, 0);
    EXPECT_FLOAT_EQ(v.y, 10);
    EXPECT_FLOAT_EQ(v.width, 20);
    EXPECT_FLOAT_EQ(v.height, 30);
    g.SetClip(RectF{15, 0, 10, 15}, CombineMode::Intersect);
    EXPECT_EQ(g.VisibleClipBounds().x, 15);
    EXPECT_EQ(g.VisibleClipBounds().width, 5);
    g.SetClip(RectF{60, 60, 5, 5}, CombineMode::Intersect);
    EXPECT_TRUE(g.IsClipEmpty());
    g.FillRectangle(SolidBrush(kRed), RectF{0, 0, 50, 40});
    EXPECT_EQ(b.GetPixel(16, 12), 0u);
    g.SetClip(Region::RoundRect(0, 0, 51, 41, 20, 20));
    g.FillRectangle(SolidBrush(kRed), RectF{0, 0, 50, 40});
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    EXPECT_EQ(b.GetPixel(25, 20), kRed);
}

TEST(Clip, PathClipFollowsThePath) {
    Bitmap b(30, 30);
    Graphics g(b);
    Path circle;
    circle.AddEllipse(RectF{0, 0, 29, 29});
    g.SetClip(circle);
    g.Clear(kRed);
    EXPECT_EQ(b.GetPixel(15, 15), kRed);
    EXPECT_EQ(b.GetPixel(1, 1), 0u);
    EXPECT_EQ(b.GetPixel(28, 28), 0u);
}

Bitmap Swatch() {
    Bitmap src(4, 4);
    src.Fill(MakeColor(200, 40, 80, 120));
    return src;
}

TEST(DrawImage, AlphaMatrixAt128ScalesAlphaAndKeepsColour) {
    const Bitmap src = Swatch();
    Bitmap dst(4, 4);
    Graphics g(dst);
    g.DrawImage(src, RectF{0, 0, 4, 4}, RectF{0, 0, 4, 4},
                ColorMatrix::AlphaScale(128.0f / 255.0f));
    const Argb p = dst.GetPixel(2, 2);
    EXPECT_NEAR(AlphaOf(p), 200 * 128 / 255, 1);
    EXPECT_NEAR(RedOf(p), 40, 2);
    EXPECT_NEAR(GreenOf(p), 80, 2);
    EXPECT_NEAR(BlueOf(p), 120, 2);
}

TEST(DrawImage, GeneralMatrixIsAppliedToStraightColours) {
    const Bitmap src = Swatch();
    Bitmap dst(4, 4);
    Graphics g(dst);
    ColorMatrix swap = ColorMatrix::Identity();
    swap.m[0][0] = 0;  // red := blue, blue := red
    swap.m[2][2] = 0;
    swap.m[0][2] = 1;
    swap.m[2][0] = 1;
    g.DrawImage(src, RectF{0, 0, 4, 4}, RectF{0, 0, 4, 4}, swap);
    const Argb p = dst.GetPixel(1, 1);
    EXPECT_NEAR(RedOf(p), 120, 2);
    EXPECT_NEAR(BlueOf(p), 40, 2);
    EXPECT_EQ(AlphaOf(p), 200);
}

TEST(DrawImage, SourceRectangleAndScaling) {
    Bitmap src(4, 2);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y) src.SetPixel(x, y, x < 2 ? kRed : kBlue);
    Bitmap dst(8, 8);
    Graphics g(dst);
    g.SetInterpolationMode(InterpolationMode::NearestNeighbor);
    g.DrawImage(src, RectF{0, 0, 8, 8},
                RectF{2, 0, 2, 2});  // only the blue half, scaled four times
    EXPECT_EQ(dst.GetPixel(0, 0), kBlue);
    EXPECT_EQ(dst.GetPixel(7, 7), kBlue);
    g.Clear(0);
    g.DrawImage(src, 3, 5);  // natural size at a position
    EXPECT_EQ(dst.GetPixel(3, 5), kRed);
    EXPECT_EQ(dst.GetPixel(6, 6), kBlue);
    EXPECT_EQ(dst.GetPixel(7, 6), 0u);
    g.Clear(0);
    g.DrawImageAlpha(src, RectF{0, 0, 4, 2}, 255);
    EXPECT_EQ(dst.GetPixel(0, 0), kRed);
}

TEST(Graphics, AnEmptyTargetDrawsNothingAndDoesNotCrash) {
    Bitmap empty;
    Graphics g(empty);
    g.Clear(kRed);
    g.FillRectangle(SolidBrush(kRed), RectF{0, 0, 10, 10});
    g.ResetClip();
    EXPECT_TRUE(g.IsClipEmpty());
}

}  // namespace
