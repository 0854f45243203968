#include <gtest/gtest.h>

#include "runtime/codepage.h"

namespace rt {
namespace {

// "中文" in code page 936 and in UTF-8.
const std::string kGbk = "\xD6\xD0\xCE\xC4";
const std::string kUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";

TEST(CodePage, RoundTrips) {
    EXPECT_EQ(Cp936ToUtf8(kGbk), kUtf8);
    EXPECT_EQ(Utf8ToCp936(kUtf8), kGbk);
    EXPECT_EQ(Cp936ToUtf8("plain"), "plain");
    EXPECT_EQ(Cp936ToUtf8(""), "");
    EXPECT_EQ(MultiByteToWide(kCodePage936, kGbk), u"中文");
    EXPECT_EQ(WideToMultiByte(kCodePage936, u"中文"), kGbk);
    EXPECT_EQ(WideToMultiByte(kCodePageUtf8, u"中文"), kUtf8);
    EXPECT_EQ(Cp936ToUtf8("\x80"), "\xE2\x82\xAC");  // the euro sign of code page 936
    // A long text crosses the converter's internal buffer.
    std::string longGbk;
    std::string longUtf8;
    for (int i = 0; i < 3000; ++i) {
        longGbk += kGbk + "x";
        longUtf8 += kUtf8 + "x";
    }
    EXPECT_EQ(Cp936ToUtf8(longGbk), longUtf8);
    EXPECT_EQ(Utf8ToCp936(longUtf8), longGbk);
}

TEST(CodePage, CharactersWithoutACodePage936FormBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp936("a\xF0\x9F\x98\x80" "b"), "a?b");  // emoji: one "?" for the pair
    EXPECT_EQ(WideToMultiByte(kCodePage936, u"x\u0E01y"), "x?y");  // Thai
    EXPECT_EQ(WideToMultiByte(kCodePage936, std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
    EXPECT_EQ(WideToMultiByte(kCodePage936, std::u16string(u"a") + char16_t(0xD800)), "a?");
    EXPECT_EQ(WideToMultiByte(kCodePageUtf8, std::u16string(u"a") + char16_t(0xDC00)), "a\xEF\xBF\xBD");

    // Long runs of them, mixed with convertible characters that the input
    // windows cut at every offset.
    std::string utf8;
    std::string expected;
    std::u16string wide;
    for (int i = 0; i < 3000; ++i) {
        const bool thai = i % 3 != 0;
        utf8 += thai ? "\xE0\xB8\x81" : kUtf8;
        wide += thai ? u"\u0E01" : u"中文";
        expected += thai ? "?" : kGbk;
    }
    EXPECT_EQ(Utf8ToCp936(utf8), expected);
    EXPECT_EQ(WideToMultiByte(kCodePage936, wide), expected);
}

TEST(CodePage, BytesThatDoNotDecode) {
    // Invalid code-page-936 bytes become "?", a character cut off at the end too.
    EXPECT_EQ(MultiByteToWide(kCodePage936, "\xFF" "A"), u"?A");
    EXPECT_EQ(MultiByteToWide(kCodePage936, "A\xD6"), u"A?");
    EXPECT_EQ(Cp936ToUtf8(kGbk + "\xD6"), kUtf8 + "?");
    // Invalid UTF-8 becomes U+FFFD, which has no code-page-936 form.
    EXPECT_EQ(MultiByteToWide(kCodePageUtf8, "a\xC3"), u"a\uFFFD");
    EXPECT_EQ(MultiByteToWide(kCodePageUtf8, "\xFF" "b"), u"\uFFFD" "b");
    EXPECT_EQ(Utf8ToCp936("\xE4\xB8"), "?");
}

TEST(CodePage, UnknownCodePagesGiveNothing) {
    EXPECT_EQ(MultiByteToWide(1252, "abc"), u"");
    EXPECT_EQ(WideToMultiByte(1252, u"abc"), "");
}

}  // namespace
}  // namespace rt
