#include <gtest/gtest.h>

#include <algorithm>

#include "backend_under_test.h"
#include "platform/gfx/graphics.h"
#include "runtime/codepage.h"

namespace {

using namespace gfx;
using gfx_test::Backend;
using gfx_test::BackendUnderTest;
using gfx_test::UnderWine;

constexpr Argb kBlack = MakeColor(255, 0, 0, 0);

// A code-page-936 text from UTF-8 source, whatever the compiler does with
// narrow literals.
rt::Text Cp(const char8_t* utf8) { return rt::Utf8ToCp936(reinterpret_cast<const char*>(utf8)); }

Font UiFont(float size = 16) { return Font(FontFamily::DefaultChineseSans(), size); }

// Columns [first, last] that hold any visible pixel, or {-1, -1}.
std::pair<int, int> InkColumns(const Bitmap& b) {
    int first = -1, last = -1;
    for (int x = 0; x < b.Width(); ++x)
        for (int y = 0; y < b.Height(); ++y)
            if (AlphaOf(b.GetPixel(x, y)) > 0) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(FontFamily, MissingFamiliesAreReportedMissing) {
    EXPECT_FALSE(FontFamily::Exists("No Such Family 12345"));
    EXPECT_FALSE(FontFamily::Exists(""));
}

// The faces the window names: Linux has none of them (the controls fall back
// to the desktop's Chinese family); Windows has them, and the tests' wine
// prefix maps them to WenQuanYi Micro Hei (fonts-wqy-microhei).
TEST(FontFamily, TheWindowsChineseFacesExistOnlyOnWindows) {
    const bool windows = BackendUnderTest() != Backend::Cairo;
    for (const char8_t* face : {u8"宋体", u8"微软雅黑"}) {
        const auto family = FontFamily::FromName(Cp(face));
        EXPECT_EQ(family.has_value(), windows);
        if (family && UnderWine()) {
            EXPECT_EQ(family->NameUtf8(), "WenQuanYi Micro Hei");
        }
    }
}

TEST(FontFamily, InstalledFamiliesAreFoundByAnyOfTheirNames) {
    const auto latin = FontFamily::FromName("dejavu sans");
    ASSERT_TRUE(latin.has_value());
    EXPECT_EQ(latin->NameUtf8(), "DejaVu Sans");

    const FontFamily chinese = FontFamily::DefaultChineseSans();
    // Windows itself chooses from its own faces.
    if (BackendUnderTest() != Backend::Gdiplus) {
        EXPECT_EQ(chinese.NameUtf8(), "WenQuanYi Micro Hei");
    }
    // wine's GDI+ knows a family by its first name only.
    if (UnderWine()) return;
    const auto localised = FontFamily::FromName(Cp(u8"文泉驿微米黑"));
    ASSERT_TRUE(localised.has_value());
    EXPECT_EQ(localised->NameUtf8(), "WenQuanYi Micro Hei");
    EXPECT_EQ(localised->Name(), "WenQuanYi Micro Hei");
}

TEST(Font, SizeStyleAndHeight) {
    const Font regular = UiFont(12);
    const Font big(FontFamily::DefaultChineseSans(), 24, FontStyle::kBold | FontStyle::kUnderline);
    EXPECT_TRUE(big.IsBold());
    EXPECT_TRUE(big.IsUnderline());
    EXPECT_FALSE(big.IsItalic());
    EXPECT_GT(regular.Height(), 12.0f);
    EXPECT_LT(regular.Height(), 24.0f);
    EXPECT_NEAR(big.Height() / regular.Height(), 2.0f, 0.25f);
}

TEST(DrawString, ChineseTextLeavesInkInsideItsRectangle) {
    Bitmap b(200, 40);
    Graphics g(b);
    g.SetTextRenderingHint(TextRenderingHint::AntiAliasGridFit);
    g.DrawString(Cp(u8"关键字: 搜索"), UiFont(), SolidBrush(kBlack), RectF{10, 5, 180, 30});
    const auto [first, last] = InkColumns(b);
    ASSERT_GE(first, 10);
    EXPECT_GT(last, first + 40);
    EXPECT_LT(last, 190);
}

TEST(DrawString, ClipsToTheRectangleUnlessNoClip) {
    const rt::Text text = "A fairly long line that does not fit";
    Bitmap clipped(300, 30), free(300, 30);
    StringFormat noWrap(StringFormatFlags::kNoWrap);
    Graphics(clipped).DrawString(text, UiFont(), SolidBrush(kBlack), RectF{0, 0, 60, 30}, noWrap);
    // Without trimming: GDI+ leaves out the characters that do not fit
    // otherwise, clipped or not.
    noWrap.SetFlags(StringFormatFlags::kNoWrap | StringFormatFlags::kNoClip);
    noWrap.SetTrimming(StringTrimming::None);
    Graphics(free).DrawString(text, UiFont(), SolidBrush(kBlack), RectF{0, 0, 60, 30}, noWrap);
    EXPECT_LT(InkColumns(clipped).second, 60);
    EXPECT_GT(InkColumns(free).second, 100);
}

TEST(MeasureString, WidthGrowsWithTheText) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    const float w1 = g.MeasureString(Cp(u8"搜"), f, RectF{}).bounds.width;
    const float w2 = g.MeasureString(Cp(u8"搜索"), f, RectF{}).bounds.width;
    const float w3 = g.MeasureString(Cp(u8"搜索结果"), f, RectF{}).bounds.width;
    EXPECT_GT(w1, 0);
    EXPECT_GT(w2, w1);
    EXPECT_GT(w3, w2);
    EXPECT_NEAR(g.MeasureString(Cp(u8"搜"), f, RectF{}).bounds.height, f.Height(), 2.0f);
    EXPECT_EQ(MeasureTextExtent(Cp(u8"搜索"), f).x, w2);
}

TEST(MeasureString, TrailingSpacesCountOnlyWhenAsked) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    const float plain = g.MeasureString("ab", f, RectF{}).bounds.width;
    EXPECT_FLOAT_EQ(g.MeasureString("ab   ", f, RectF{}).bounds.width, plain);
    StringFormat trailing(StringFormatFlags::kMeasureTrailingSpaces);
    EXPECT_GT(g.MeasureString("ab   ", f, RectF{}, trailing).bounds.width, plain + 5);
}

TEST(MeasureString, WrapsIntoLinesUnlessNoWrapAndLineLimitDropsPartialLines) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    const rt::Text text = "one two three four five six seven eight nine ten";
    const TextMeasure wrapped = g.MeasureString(text, f, RectF{0, 0, 80, 500});
    EXPECT_GT(wrapped.linesFilled, 2);
    EXPECT_LE(wrapped.bounds.width, 80);
    const TextMeasure single =
        g.MeasureString(text, f, RectF{0, 0, 80, 500}, StringFormat(StringFormatFlags::kNoWrap));
    EXPECT_EQ(single.linesFilled, 1);

    const float twoAndAHalf = f.Height() * 2.5f;
    const TextMeasure limited = g.MeasureString(text, f, RectF{0, 0, 80, twoAndAHalf},
                                                StringFormat(StringFormatFlags::kLineLimit));
    EXPECT_EQ(limited.linesFilled, 2);
    EXPECT_LE(limited.bounds.height, twoAndAHalf);
}

TEST(MeasureString, AlignmentPlacesTheTextBox) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    StringFormat format(StringFormatFlags::kNoWrap);
    const RectF box{0, 0, 200, 100};
    const RectF near = g.MeasureString("abc", f, box, format).bounds;
    format.SetAlignment(StringAlignment::Center);
    format.SetLineAlignment(StringAlignment::Center);
    const RectF centre = g.MeasureString("abc", f, box, format).bounds;
    format.SetAlignment(StringAlignment::Far);
    format.SetLineAlignment(StringAlignment::Far);
    const RectF far = g.MeasureString("abc", f, box, format).bounds;
    EXPECT_FLOAT_EQ(near.x, 0);
    EXPECT_NEAR(centre.x + centre.width / 2, 100, 1);
    EXPECT_NEAR(centre.y + centre.height / 2, 50, 1);
    EXPECT_NEAR(far.Right(), 200, 1);
    EXPECT_NEAR(far.Bottom(), 100, 1);
}

TEST(Trimming, EllipsisShortensTextThatDoesNotFit) {
    const rt::Text text = Cp(u8"这是一段很长很长的文字，放不进去");
    const Font f = UiFont();
    StringFormat format(StringFormatFlags::kNoWrap);
    format.SetTrimming(StringTrimming::EllipsisCharacter);
    Bitmap b(400, 30);
    Graphics g(b);
    const TextMeasure full = g.MeasureString(text, f, RectF{});
    const TextMeasure trimmed = g.MeasureString(text, f, RectF{0, 0, 100, 30}, format);
    EXPECT_GT(full.bounds.width, 150);
    EXPECT_LE(trimmed.bounds.width, 100);
    EXPECT_GT(trimmed.bounds.width, 40);
    EXPECT_LT(trimmed.codepointsFitted, full.codepointsFitted);

    format.SetFlags(StringFormatFlags::kNoWrap | StringFormatFlags::kNoClip);
    g.DrawString(text, f, SolidBrush(kBlack), RectF{0, 0, 100, 30}, format);
    EXPECT_LT(InkColumns(b).second, 100)
        << "the ellipsis keeps the text inside even without clipping";
}

TEST(HotkeyPrefix, AmpersandMarksTheAccessKey) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    StringFormat show;
    show.SetHotkeyPrefix(HotkeyPrefix::Show);
    StringFormat hide;
    hide.SetHotkeyPrefix(HotkeyPrefix::Hide);
    const float plain = g.MeasureString("Copy", f, RectF{}).bounds.width;
    EXPECT_FLOAT_EQ(g.MeasureString("&Copy", f, RectF{}, show).bounds.width, plain);
    EXPECT_FLOAT_EQ(g.MeasureString("&Copy", f, RectF{}, hide).bounds.width, plain);
    EXPECT_GT(g.MeasureString("&Copy", f, RectF{}).bounds.width, plain)
        << "no prefix: '&' is shown";
    EXPECT_FLOAT_EQ(g.MeasureString("a&&b", f, RectF{}, show).bounds.width,
                    g.MeasureString("a&b", f, RectF{}).bounds.width);

    // The underline of the access key adds ink below the baseline.
    Bitmap shown(100, 40), hidden(100, 40);
    Graphics(shown).DrawString(Cp(u8"复制(&C)"), f, SolidBrush(kBlack), RectF{0, 0, 100, 40}, show);
    Graphics(hidden).DrawString(Cp(u8"复制(&C)"), f, SolidBrush(kBlack), RectF{0, 0, 100, 40},
                                hide);
    int diff = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) diff += shown.GetPixel(x, y) != hidden.GetPixel(x, y);
    EXPECT_GT(diff, 3);
}

TEST(CharacterRanges, BoxesFollowByteRangesOfTheText) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    const rt::Text text = Cp(u8"ab关键字cd");  // Chinese characters take two bytes each
    StringFormat format(StringFormatFlags::kNoWrap | StringFormatFlags::kMeasureTrailingSpaces);
    const CharacterRange ranges[] = {{0, 2}, {2, 2}, {2, 6}, {8, 2}, {20, 3}};
    const auto boxes = g.MeasureCharacterRanges(text, f, RectF{10, 0, 0, 0}, format, ranges);
    ASSERT_EQ(boxes.size(), 5u);
    ASSERT_EQ(boxes[0].size(), 1u);
    ASSERT_EQ(boxes[1].size(), 1u);
    ASSERT_EQ(boxes[2].size(), 1u);
    ASSERT_EQ(boxes[3].size(), 1u);
    EXPECT_TRUE(boxes[4].empty());
    // wine's GDI+ places characters on whole pixels.
    const float padding = gfx_test::LinePadding(f.Size()), slack = UnderWine() ? 1.0f : 0.5f;
    EXPECT_NEAR(boxes[0][0].x, 10 + padding, slack);
    EXPECT_NEAR(boxes[1][0].x, boxes[0][0].Right(), 0.5);
    EXPECT_NEAR(boxes[2][0].width, 3 * boxes[1][0].width, 1.5);
    EXPECT_NEAR(boxes[3][0].Right(),
                10 + g.MeasureString(text, f, RectF{}, format).bounds.width - padding, slack);
}

TEST(TabStops, TabsAdvanceToTheNextStop) {
    if (UnderWine()) GTEST_SKIP() << "wine's GDI+ has no tab stops: a tab is an ordinary glyph";
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    StringFormat format(StringFormatFlags::kNoWrap | StringFormatFlags::kMeasureTrailingSpaces);
    format.SetTabStops(0, {40});
    const CharacterRange after[] = {{2, 1}};
    const auto boxes = g.MeasureCharacterRanges("a\tb", f, RectF{}, format, after);
    ASSERT_EQ(boxes[0].size(), 1u);
    EXPECT_NEAR(boxes[0][0].x, 40 + gfx_test::LinePadding(f.Size()), 1);
}

}  // namespace

namespace {

TEST(FontFallback, NoFontFallbackKeepsTheFontsOwnGlyphs) {
    if (UnderWine()) GTEST_SKIP() << "wine's GDI+ falls back to other fonts whatever the format";
    Bitmap b(1, 1);
    Graphics g(b);
    const auto latin = FontFamily::FromName("DejaVu Sans");
    ASSERT_TRUE(latin.has_value());
    const Font f(*latin, 16);
    const rt::Text text = Cp(u8"搜索");
    const float withFallback = g.MeasureString(text, f, RectF{}).bounds.width;
    const float without =
        g.MeasureString(text, f, RectF{}, StringFormat(StringFormatFlags::kNoFontFallback))
            .bounds.width;
    // A Latin font has no Chinese glyphs: with fallback another font draws
    // them, without it the missing-glyph boxes take their place.
    EXPECT_GT(withFallback, 0);
    EXPECT_GT(without, 0);
    EXPECT_NE(withFallback, without);
}

}  // namespace

namespace {

TEST(CaretPosition, PointsMapToCharacterBoundariesOfTheBytes) {
    Bitmap b(1, 1);
    Graphics g(b);
    const Font f = UiFont();
    const rt::Text text = Cp(u8"ab关键cd");  // bytes: a b [关 2] [键 2] c d
    StringFormat format(StringFormatFlags::kNoWrap | StringFormatFlags::kMeasureTrailingSpaces);
    const RectF at{10, 0, 0, 0};
    const CharacterRange ranges[] = {{2, 2}, {4, 2}};
    const auto boxes = g.MeasureCharacterRanges(text, f, at, format, ranges);
    ASSERT_EQ(boxes[0].size(), 1u);
    const RectF guan = boxes[0][0], jian = boxes[1][0];
    const float y = guan.y + guan.height / 2;
    EXPECT_EQ(g.CaretPositionAt(text, f, at, format, PointF{0, y}), 0);
    EXPECT_EQ(g.CaretPositionAt(text, f, at, format, PointF{guan.x + 1, y}), 2);
    EXPECT_EQ(g.CaretPositionAt(text, f, at, format, PointF{guan.Right() - 1, y}), 4);
    EXPECT_EQ(g.CaretPositionAt(text, f, at, format, PointF{jian.x + jian.width * 0.75f, y}), 6);
    EXPECT_EQ(g.CaretPositionAt(text, f, at, format, PointF{500, y}), 8);
}

}  // namespace
