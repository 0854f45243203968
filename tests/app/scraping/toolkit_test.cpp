#include "app/scraping/toolkit.h"
#include "app/scraping/page_body.h"
#include "app/scraping/site_table.h"
#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"

#include <gtest/gtest.h>

namespace app {
namespace {

const rt::Text kZhong = "中";  // U+4E2D in code page 936
const rt::Text kZhongUtf8 = "\xE4\xB8\xAD";

TEST(ExtractBetween, TakesTextBetweenFirstStartAndNextEnd) {
    EXPECT_EQ(ExtractBetween("x<b>T</b>y", "<b>", "</b>"), "T");
    EXPECT_EQ(ExtractBetween("x<b>T</b>y<b>U</b>", "<b>", "</b>"), "T");
    EXPECT_EQ(ExtractBetween("</b>x<b>T</b>", "<b>", "</b>"), "T");
}

TEST(ExtractBetween, EmptyWhenEndMissingOrImmediate) {
    EXPECT_EQ(ExtractBetween("x<b>T</b>y", "<b>", "</i>"), "");
    EXPECT_EQ(ExtractBetween("<b></b>", "<b>", "</b>"), "");
    EXPECT_EQ(ExtractBetween("", "<b>", "</b>"), "");
}

TEST(ExtractBetween, MissingStartSearchesFromMarkerLengthMinusOne) {
    EXPECT_EQ(ExtractBetween("abc</b>", "<b>", "</b>"), "bc");
    EXPECT_EQ(ExtractBetween("abcdef</b>", "<div>", "</b>"), "def");
    EXPECT_EQ(ExtractBetween("abc</b>", "[", "</b>"), "abc");  // one byte: the whole text
    EXPECT_EQ(ExtractBetween("abc", "<b>", "</b>"), "");
}

TEST(ExtractBetween, StepsByCharacter) {
    // "\x81" "h" is one character: the marker "hx=" inside it is not found.
    EXPECT_EQ(ExtractBetween("\x81hx=1;ahx=2;", "hx=", ";"), "2");
    EXPECT_EQ(ExtractBetween("\x81hx=1;", "hx=", ";"), "hx=1");  // as if absent
    EXPECT_EQ(ExtractBetween("ahx=1;", "hx=", ";"), "1");
    EXPECT_EQ(ExtractBetween("中文<b>值</b>", "<b>", "</b>"), "值");
}

TEST(ExtractItem, EmptyWithoutStartMarker) {
    EXPECT_EQ(ExtractItem("x<li>a</li>", "<li>", "</li>"), "a");
    EXPECT_EQ(ExtractItem("abc</li>", "<li>", "</li>"), "");  // ExtractBetween gives "bc"
    EXPECT_EQ(ExtractItem("<li>truncated", "<li>", "</li>"), "");
}

TEST(DropThrough, DropsMarkerAndOneMoreByte) {
    EXPECT_EQ(DropThrough("a<br/>bc", "<br/>"), "c");
    EXPECT_EQ(DropThrough("abc", "zz"), "bc");
    EXPECT_EQ(DropThrough("abc", "zzzz"), "");
    EXPECT_EQ(DropThrough("abc", "z"), "abc");
    EXPECT_EQ(DropThrough("abc", ""), "abc");
    EXPECT_EQ(DropThrough("", "zz"), "");
    EXPECT_EQ(DropThrough("ab<br/>", "<br/>"), "");
    EXPECT_EQ(DropThrough("ab<br/>c", "<br/>"), "");
}

TEST(DropThrough, MarkerInsideDoubleByteCharacterIsAbsent) {
    EXPECT_EQ(DropThrough("\x81hx|rest", "hx|"), "x|rest");  // as if absent
    EXPECT_EQ(DropThrough("ahx|rest", "hx|"), "est");
}

TEST(ReplaceMany, DeletesEveryOccurrenceIgnoringCase) {
    EXPECT_EQ(ReplaceMany("x<B>y</b>", "<b>", "", "</b>", ""), "xy");
    EXPECT_EQ(ReplaceMany("a<b>b</B><b>c", "<b>", "[", "", "ignored", "</b>", "]"), "a[b][c");
}

TEST(ReplaceMany, AppliesPairsInOrderAndPassesOptions) {
    EXPECT_EQ(ReplaceMany("abc", "a", "b", "b", "c"), "ccc");
    ReplaceOptions caseSensitive;
    caseSensitive.caseSensitive = true;
    EXPECT_EQ(ReplaceMany("<B><b>", "<b>", "", {}, {}, {}, {}, {}, {}, {}, {}, caseSensitive),
              "<B>");
    ReplaceOptions once;
    once.count = 1;
    EXPECT_EQ(ReplaceMany("aaa", "a", "", {}, {}, {}, {}, {}, {}, {}, {}, once), "aa");
}

TEST(PercentDecode, DecodesBytesAndKeepsPlus) {
    EXPECT_EQ(PercentDecode("a%2fb"), "a/b");
    EXPECT_EQ(PercentDecode("a%2Fb"), "a/b");
    EXPECT_EQ(PercentDecode("a+b"), "a+b");
    EXPECT_EQ(PercentDecode("%E4%B8%AD"), kZhongUtf8);
    EXPECT_EQ(PercentDecode("%E4%B8%AD", true), kZhong);
    EXPECT_EQ(PercentDecode("%E4%B8%AD", false), kZhongUtf8);
}

TEST(PercentDecode, NonHexDigitsCountAsMinusTwoAndLowBitsAreKept) {
    EXPECT_EQ(PercentDecode("%zz"), "\xDE");   // -2 * 16 - 2
    EXPECT_EQ(PercentDecode("%4G"), ">");      // 4 * 16 - 2
    EXPECT_EQ(PercentDecode("a%"), "a\xDE");   // both digits missing
    EXPECT_EQ(PercentDecode("a%0"), "a\xFE");  // low digit missing
    EXPECT_EQ(PercentDecode("a%00b"), "ab");   // a zero byte yields nothing
    EXPECT_EQ(PercentDecode("%%41"),
              "\xE4"
              "1");  // -2 * 16 + 4
}

TEST(Utf8TextToAnsi, ConvertsAndMarksWhatHasNoCodePage936Form) {
    EXPECT_EQ(Utf8TextToAnsi(kZhongUtf8), kZhong);
    EXPECT_EQ(Utf8TextToAnsi("abc"), "abc");
    EXPECT_EQ(Utf8TextToAnsi(""), "");
    EXPECT_EQ(Utf8TextToAnsi("\xE0\xB8\x81"), "?");  // a Thai letter
    EXPECT_EQ(Utf8TextToAnsi(rt::Text("a\0b", 3)), "a");
}

TEST(EncodeForUrl, EncodesEveryUtf8Byte) {
    EXPECT_EQ(EncodeForUrl("abc"), "%61%62%63");
    EXPECT_EQ(EncodeForUrl(kZhong), "%E4%B8%AD");
    EXPECT_EQ(EncodeForUrl(""), "");
    EXPECT_EQ(EncodeForUrl("a b/"), "%61%20%62%2F");
}

TEST(PageTextFromBody, ConvertsWhenUtf8IsDeclaredEarly) {
    const std::string head = "<meta charset=\"utf-8\">";
    EXPECT_EQ(PageTextFromBody(head + kZhongUtf8), head + kZhong);

    std::string late(498, ' ');  // "utf-8" begins at byte 499: still early
    EXPECT_EQ(PageTextFromBody(late + "utf-8" + kZhongUtf8), late + "utf-8" + kZhong);
    late += ' ';  // begins at byte 500: too late, the bytes stay as they are
    EXPECT_EQ(PageTextFromBody(late + "utf-8" + kZhongUtf8), late + "utf-8" + kZhongUtf8);
    EXPECT_EQ(PageTextFromBody("UTF-8" + kZhongUtf8), "UTF-8" + kZhongUtf8);
}

TEST(PageTextFromBody, ForcedConversionAndZeroByte) {
    EXPECT_EQ(PageTextFromBody(kZhongUtf8, true), kZhong);
    EXPECT_EQ(PageTextFromBody(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(PageTextFromBody(""), "");
}

TEST(SiteTable, PathsOfEverySite) {
    const rt::Text k = EncodeForUrl("abc");
    EXPECT_EQ(SitePath(1, k, 1), "/search/%61%62%63/currentPage/1");
    EXPECT_EQ(SitePath(2, k, 12), "/search/%61%62%63/12.html");
    EXPECT_EQ(SitePath(3, k, 1), "/search/%61%62%63/1");
    EXPECT_EQ(SitePath(4, k, 3), "/list/%61%62%63/3");
    EXPECT_EQ(SitePath(5, k, 2), "//search/%61%62%63?page=2&mode=auto");
    EXPECT_EQ(SitePath(6, k, 1), "/search?keyword=%61%62%63&p=1");
    EXPECT_EQ(SitePath(7, k, 1000), "/search/%61%62%63-1000.html");
    EXPECT_EQ(SitePath(8, "", 1), "/search//1");
}

TEST(SiteTable, DemoTableUsesConsecutivePorts) {
    const SiteTable table = DemoSiteTable(20000);
    EXPECT_EQ(SitePageUrl(table, 5, "%61", 2),
              "http://127.0.0.1:20005//search/%61?page=2&mode=auto");
    EXPECT_EQ(table.BaseUrl(8), "http://127.0.0.1:20008");
    EXPECT_EQ(table.site1HashUrl, table.BaseUrl(1));
    EXPECT_EQ(table.portalUrl.rfind("http://127.0.0.1:20000/", 0), 0u);
    EXPECT_FALSE(BuildSiteTable().site7Tag.empty());
    EXPECT_EQ(SiteLabel(2), "31bt搜索");
    EXPECT_EQ(SiteRecordLimit(7), 30);
}

}  // namespace
}  // namespace app
