#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "runtime/terminal_text.h"

#include <cstdint>

namespace rt {
namespace {

// "中文" in code page 936 and in UTF-8.
const std::string kGbk = "\xD6\xD0\xCE\xC4";
const std::string kUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";

// The Windows build converts with Windows' own tables, the Linux build with
// iconv's; CodePage.TablesOfTheTwoSystems lists where they differ.
#ifdef _WIN32
constexpr bool kWindowsTables = true;
#else
constexpr bool kWindowsTables = false;
#endif

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
    // An emoji: iconv gives one "?" for the pair, Windows one for each unit.
    EXPECT_EQ(Utf8ToCp936("a\xF0\x9F\x98\x80"
                          "b"),
              kWindowsTables ? "a??b" : "a?b");
    EXPECT_EQ(WideToMultiByte(kCodePage936, u"x\u0E01y"), "x?y");  // Thai
    EXPECT_EQ(WideToMultiByte(kCodePage936, std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b");
    EXPECT_EQ(WideToMultiByte(kCodePage936, std::u16string(u"a") + char16_t(0xD800)), "a?");
    EXPECT_EQ(WideToMultiByte(kCodePageUtf8, std::u16string(u"a") + char16_t(0xDC00)),
              "a\xEF\xBF\xBD");

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
    // A character cut off at the end becomes "?" (other invalid bytes:
    // CodePage.TablesOfTheTwoSystems).
    EXPECT_EQ(MultiByteToWide(kCodePage936, "A\xD6"), u"A?");
    EXPECT_EQ(Cp936ToUtf8(kGbk + "\xD6"), kUtf8 + "?");
    // Invalid UTF-8 becomes U+FFFD, which has no code-page-936 form.
    EXPECT_EQ(MultiByteToWide(kCodePageUtf8, "a\xC3"), u"a\uFFFD");
    EXPECT_EQ(MultiByteToWide(kCodePageUtf8,
                              "\xFF"
                              "b"),
              u"\uFFFD"
              "b");
    EXPECT_EQ(Utf8ToCp936("\xE4\xB8"), "?");
}

// The one-pass UTF-8 conversion gives what the iconv path through UTF-16 gives.
std::string ThroughUtf16(const std::string& utf8) {
    return WideToMultiByte(kCodePage936, MultiByteToWide(kCodePageUtf8, utf8));
}

TEST(CodePage, Utf8ConversionAgreesWithTheWayThroughUtf16OnDamagedInput) {
    const std::string inputs[] = {
        "\xE6\x88"
        "a",                  // cut inside a character, then ASCII
        "a\xE6\x88",          // cut off by the end
        "\xED\xA0\x80z",      // an encoded surrogate
        "\xC0\xAF\xF8\xFF",   // overlong form and bytes that never start a character
        "\xF4\x90\x80\x80!",  // beyond U+10FFFF
        "\xE2\x82\xAC\xC2\xA0\xE4\xB8\x80\xF0\x9F\x98\x80\xEF\xBF\xBD",
        std::string("\0\x80\0", 3),
    };
    for (const std::string& input : inputs)
        EXPECT_EQ(Utf8ToCp936(input), ThroughUtf16(input)) << input;
}

TEST(CodePage, Utf8ConversionAgreesWithTheWayThroughUtf16OnEveryCharacter) {
    std::string all;
    for (std::uint32_t cp = 0; cp < 0x110000; cp += cp < 0x10000 ? 1 : 97) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::u16string unit =
            cp < 0x10000 ? std::u16string(1, static_cast<char16_t>(cp))
                         : std::u16string{static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)),
                                          static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF))};
        all += WideToMultiByte(kCodePageUtf8, unit);
        all += 'a';
    }
    EXPECT_TRUE(Utf8ToCp936(all) == ThroughUtf16(all));
}

TEST(CodePage, TablesOfTheTwoSystems) {
    // The same on both: 0x80 is the euro sign.
    EXPECT_EQ(MultiByteToWide(kCodePage936, "\x80"), u"\u20AC");
    // Windows maps 0xFF and the user-defined areas (0xAAA1-0xAFFE,
    // 0xF8A1-0xFEFE, 0xA140-0xA7A0) to private-use characters, and takes a
    // lead byte with a byte that cannot trail as one bad character; iconv
    // decodes none of them, and keeps the byte after a bad lead byte.
    struct Decoded {
        std::string bytes;
        std::u16string windows, iconv;
    };
    const Decoded decoded[] = {
        {"\xFF", u"\uF8F5", u"?"},      {"\xAA\xA1", u"\uE000", u"??"},
        {"\xFE\xFE", u"\uE4C5", u"??"}, {"\xA1\x40", u"\uE4C6", u"?@"},
        {"\x81\x7F", u"?", u"?\x7F"},   {"\xB0\x30", u"?", u"?0"},
    };
    for (const Decoded& d : decoded) {
        EXPECT_EQ(MultiByteToWide(kCodePage936, d.bytes), kWindowsTables ? d.windows : d.iconv)
            << testing::PrintToString(d.bytes);
    }
    // Windows gives a character without a code-page-936 form the form of a
    // similar one where its table has one ("best fit"); iconv gives "?".
    struct Encoded {
        std::u16string text;
        std::string windows;
    };
    const Encoded encoded[] = {
        {u"\u00B5", "\xA6\xCC"},  // micro sign: Greek small mu
        {u"\u00B2", "2"},         // superscript two
        {u"\u00A5", "\xA3\xA4"},  // yen sign: full-width yen
        {u"\u00A0", "?"},         // no-break space: none on either
    };
    for (const Encoded& e : encoded) {
        EXPECT_EQ(WideToMultiByte(kCodePage936, e.text), kWindowsTables ? e.windows : "?")
            << testing::PrintToString(e.windows);
    }
}

TEST(CodePage, UnknownCodePagesGiveNothing) {
    EXPECT_EQ(MultiByteToWide(1252, "abc"), u"");
    EXPECT_EQ(WideToMultiByte(1252, u"abc"), "");
}

}  // namespace
}  // namespace rt

namespace {

// What reaches a terminal: every control character escaped, C1 ones too
// (U+009B acts as CSI on many terminals), every byte of a sequence that is
// not UTF-8 (overlong, surrogate, cut short) shown as its value.
TEST(TerminalText, ControlsAndBrokenSequencesAreEscaped) {
    EXPECT_EQ(rt::EscapeControls("a\x1b[2J\x07\x08\x7f\t\n"
                                 "\xc2\x9b"
                                 "1m"),
              "a\\x1B[2J\\x07\\x08\\x7F\\x09\\x0A\\u009B1m");
    EXPECT_EQ(rt::EscapeControls("\xc0\x80|\xed\xa0\x80|\xe4\xb8"),
              "\\xC0\\x80|\\xED\\xA0\\x80|\\xE4\\xB8");
    const std::string printable = "\xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80 \xc2\xa0";
    EXPECT_EQ(rt::EscapeControls(printable), printable);
}

}  // namespace
