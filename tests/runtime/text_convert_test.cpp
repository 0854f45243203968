#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "runtime/codepage.h"
#include "runtime/text.h"

namespace rt {
namespace {

// A code-page-936 text written as a literal, also where literals stay UTF-8.
Text Cp936(const char* literal) { return kLiteralsAreCp936 ? Text(literal) : Utf8ToCp936(literal); }

TEST(ToText, Integers) {
    EXPECT_EQ(ToText(std::int32_t{-42}), "-42");
    EXPECT_EQ(ToText(std::uint8_t{200}), "200");
    EXPECT_EQ(ToText(std::int16_t{-32768}), "-32768");
    EXPECT_EQ(ToText(std::int64_t{-9000000000LL}), "-9000000000");
}

TEST(ToText, RealsLoseTrailingZerosAndPoint) {
    EXPECT_EQ(ToText(1.5), "1.5");
    EXPECT_EQ(ToText(2.0), "2");
    EXPECT_EQ(ToText(-0.25), "-0.25");
    EXPECT_EQ(ToText(100.0), "100");  // zeros before the point stay
    EXPECT_EQ(ToText(1.0000004), "1");
    EXPECT_EQ(ToText(0.1234567), "0.123457");
    EXPECT_EQ(ToText(2.5f), "2.5");
    EXPECT_EQ(ToText(0.0), "0");
}

TEST(ToText, BooleansTextsAndBuffers) {
    EXPECT_EQ(ToText(true), "真");
    EXPECT_EQ(ToText(false), "假");
    EXPECT_EQ(ToText(Text("abc")), "abc");
    EXPECT_EQ(ToText(static_cast<const char*>(nullptr)), "");
    EXPECT_EQ(ToText(ByteBuffer{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(ToText(ByteBuffer{'a', 'b'}), "ab");
    EXPECT_EQ(ToText(ByteBuffer{}), "");
}

TEST(ToText, DateTimesDropZeroTimeParts) {
    EXPECT_EQ(ToText(DateTime{0}), "1899年12月30日");
    EXPECT_EQ(ToText(DateTime{45000}), "2023年3月15日");
    EXPECT_EQ(ToText(DateTime{45000.5}), "2023年3月15日12时");
    EXPECT_EQ(ToText(DateTime{45000 + (10 * 60 + 5) / 1440.0}), "2023年3月15日10时5分");
    EXPECT_EQ(ToText(DateTime{45000 + 7.0 / 86400}), "2023年3月15日0时0分7秒");
    // Rounded to whole seconds, carrying into the next day.
    EXPECT_EQ(ToText(DateTime{45000.9999999}), "2023年3月16日");
    EXPECT_EQ(ToText(DateTime{60.0}), "1900年2月28日");
    EXPECT_EQ(ToText(DateTime{NAN}), "");
}

TEST(ToInteger, TextsReadLikeAtoi) {
    EXPECT_EQ(ToInteger(" 12ab"), 12);
    EXPECT_EQ(ToInteger("abc"), 0);
    EXPECT_EQ(ToInteger(""), 0);
    EXPECT_EQ(ToInteger("\t\n-34"), -34);
    EXPECT_EQ(ToInteger("+7"), 7);
    EXPECT_EQ(ToInteger("- 7"), 0);
    EXPECT_EQ(ToInteger("99999999999"), INT_MAX);  // clamped
    EXPECT_EQ(ToInteger("-99999999999"), INT_MIN);
    EXPECT_EQ(ToInteger("-2147483648"), INT_MIN);
}

TEST(ToInteger, FullWidthFormsCountAsHalfWidth) {
    EXPECT_EQ(ToInteger(Cp936("１２３")), 123);
    EXPECT_EQ(ToInteger(Cp936("　－４５")), -45);
    EXPECT_EQ(ToInteger(Cp936("＋８元")), 8);
    EXPECT_EQ(ToInteger(Cp936("3１4")), 314);
    EXPECT_EQ(ToInteger(Cp936("12／5")), 12);
    EXPECT_EQ(ToInteger(Cp936("中1")), 0);
}

TEST(ToInteger, NumbersAndBooleans) {
    EXPECT_EQ(ToInteger(-2.7), -2);
    EXPECT_EQ(ToInteger(2.7f), 2);
    EXPECT_EQ(ToInteger(std::uint8_t{255}), 255);
    EXPECT_EQ(ToInteger(std::int16_t{-5}), -5);
    EXPECT_EQ(ToInteger(std::int64_t{0x100000005LL}), 5);
    EXPECT_EQ(ToInteger(true), 1);
    // Out of range and NaN give the "integer indefinite" value, without undefined behaviour.
    EXPECT_EQ(ToInteger(1e300), INT_MIN);
    EXPECT_EQ(ToInteger(std::nan("")), INT_MIN);
}

TEST(CharAndHexText, LowBitsAndDigits) {
    EXPECT_EQ(CharText(0), "");
    EXPECT_EQ(CharText(0x141), "A");
    EXPECT_EQ(CharText(256), "");
    EXPECT_EQ(HexText(10), "A");
    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(0x1F2E), "1F2E");
    EXPECT_EQ(HexText(-1), "FFFFFFFF");
}

TEST(ToBytes, LittleEndianStorage) {
    EXPECT_EQ(ToBytes(Text("ab")), (ByteBuffer{'a', 'b'}));
    EXPECT_EQ(ToBytes(Text()), ByteBuffer{});
    EXPECT_EQ(ToBytes(std::uint8_t{7}), (ByteBuffer{7}));
    EXPECT_EQ(ToBytes(std::int16_t{0x0102}), (ByteBuffer{2, 1}));
    EXPECT_EQ(ToBytes(std::int32_t{0x01020304}), (ByteBuffer{4, 3, 2, 1}));
    EXPECT_EQ(ToBytes(std::int64_t{1}).size(), 8u);
    EXPECT_EQ(ToBytes(true), (ByteBuffer{1, 0, 0, 0}));
    EXPECT_EQ(ToBytes(1.0f), (ByteBuffer{0, 0, 0x80, 0x3F}));
    EXPECT_EQ(ToBytes(DateTime{2.0}), ToBytes(2.0));
}

}  // namespace
}  // namespace rt
