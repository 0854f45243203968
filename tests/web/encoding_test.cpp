#include "web/encoding.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"

namespace {

using rt::ByteBuffer;

// Code-page-936 bytes of the character 我 and its UTF-8 form.
const rt::Text kWoAnsi = "\xCE\xD2";
const ByteBuffer kWoUtf8 = {0xE6, 0x88, 0x91};

TEST(UrlEncode, EncodesEveryByteWithUpperCaseDigitsByDefault) {
    EXPECT_EQ(web::UrlEncode("abc"), "%61%62%63");
    EXPECT_EQ(web::UrlEncode("\xE6"), "%E6");
    EXPECT_EQ(web::UrlEncode("\xE6", true, false), "%E6");
    EXPECT_EQ(web::UrlEncode("\n"), "%0A");
    EXPECT_EQ(web::UrlEncode(rt::Text("\0", 1)), "%00");
    EXPECT_EQ(web::UrlEncode(""), "");
    EXPECT_EQ(web::UrlEncode("", true, true), "");
}

TEST(UrlEncode, KeepSafeLeavesOnlyLettersDigitsDashAndDot) {
    EXPECT_EQ(web::UrlEncode("abc", true), "abc");
    EXPECT_EQ(web::UrlEncode("-.09AZaz", true), "-.09AZaz");
    EXPECT_EQ(web::UrlEncode(" /_~", true), "%20%2F%5F%7E");
    EXPECT_EQ(web::UrlEncode("+*@[`{", true), "%2B%2A%40%5B%60%7B");
}

TEST(UrlEncode, ConvertToUtf8EncodesTheUtf8Form) {
    EXPECT_EQ(web::UrlEncode(kWoAnsi, false, true), "%E6%88%91");
    EXPECT_EQ(web::UrlEncode(kWoAnsi + "a", true, true), "%E6%88%91a");
    EXPECT_EQ(web::UrlEncode(kWoAnsi), "%CE%D2");
}

TEST(AnsiToUtf8Bytes, AddsOneTerminatingZeroExceptForEmptyText) {
    EXPECT_TRUE(web::AnsiToUtf8Bytes("").empty());
    EXPECT_EQ(web::AnsiToUtf8Bytes("a"), (ByteBuffer{0x61, 0x00}));
    EXPECT_EQ(web::AnsiToUtf8Bytes(kWoAnsi), (ByteBuffer{0xE6, 0x88, 0x91, 0x00}));
    // The converter reads the text up to its first zero byte.
    EXPECT_EQ(web::AnsiToUtf8Bytes(rt::Text("a\0b", 3)), (ByteBuffer{0x61, 0x00}));
}

TEST(AnsiToUtf8Bytes, KeywordChainGivesPercentGroupsOfTheUtf8Form) {
    const ByteBuffer bytes = web::AnsiToUtf8Bytes(kWoAnsi + "a");
    const rt::Text keyword(reinterpret_cast<const char*>(bytes.data()));
    EXPECT_EQ(web::UrlEncode(keyword), "%E6%88%91%61");
}

TEST(Utf8BytesToAnsi, ConvertsWithoutTerminatorAndKeepsZeroBytes) {
    EXPECT_EQ(web::Utf8BytesToAnsi(kWoUtf8), (ByteBuffer{0xCE, 0xD2}));
    EXPECT_TRUE(web::Utf8BytesToAnsi({}).empty());
    EXPECT_EQ(web::Utf8BytesToAnsi({'a', 0x00, 0xE6, 0x88, 0x91}),
              (ByteBuffer{'a', 0x00, 0xCE, 0xD2}));
}

TEST(Utf8BytesToAnsi, CharacterWithoutCodePageFormBecomesQuestionMark) {
    // U+1F600 has no code-page-936 form.
    const ByteBuffer out = web::Utf8BytesToAnsi({'x', 0xF0, 0x9F, 0x98, 0x80, 'y'});
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out.front(), 'x');
    EXPECT_EQ(out.back(), 'y');
    EXPECT_NE(std::find(out.begin(), out.end(), '?'), out.end());
}

TEST(Utf8BytesToAnsi, BaseAndMarkWithAPrecomposedFormBecomeOneCharacter) {
    // e + U+0301 is the pinyin letter e-acute; = + U+0338 is the not-equal sign.
    EXPECT_EQ(web::Utf8BytesToAnsi({'e', 0xCC, 0x81, '=', 0xCC, 0xB8}),
              (ByteBuffer{0xA8, 0xA6, 0xA1, 0xD9}));
    // Cyrillic: E + U+0308.
    EXPECT_EQ(web::Utf8BytesToAnsi({0xD0, 0x95, 0xCC, 0x88}), (ByteBuffer{0xA7, 0xA7}));
    // A composed character does not combine again: u + U+0308 gives u-umlaut,
    // the following U+0301 stays a character without a code-page form.
    EXPECT_EQ(web::Utf8BytesToAnsi({'u', 0xCC, 0x88, 0xCC, 0x81}), (ByteBuffer{0xA8, 0xB9, '?'}));
    // Without a precomposed form in the code page the two stay apart.
    EXPECT_EQ(web::Utf8BytesToAnsi({'x', 0xCC, 0x81, 'y'}), (ByteBuffer{'x', '?', 'y'}));
    // A mark at the start, or after a zero byte, has nothing to combine with.
    EXPECT_EQ(web::Utf8BytesToAnsi({0xCC, 0x81, 'a', 0x00, 0xCC, 0x80}),
              (ByteBuffer{'?', 'a', 0x00, '?'}));
}

TEST(AnsiToUtf8Text, GivesTheUtf8BytesAsText) {
    EXPECT_EQ(web::AnsiToUtf8Text(kWoAnsi + "a"),
              "\xE6\x88\x91"
              "a");
    EXPECT_EQ(web::AnsiToUtf8Text(""), "");
}

}  // namespace
