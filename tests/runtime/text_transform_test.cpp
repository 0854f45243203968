#include <gtest/gtest.h>

#include "runtime/text.h"

namespace rt {
namespace {

const Text kWideSpace = "\xA1\xA1";

TEST(TrimSpaces, AsciiAndFullWidthAtBothEnds) {
    EXPECT_EQ(TrimSpaces("  a b "), "a b");
    EXPECT_EQ(TrimSpaces(kWideSpace + " a" + kWideSpace + "b " + kWideSpace + kWideSpace),
              "a" + kWideSpace + "b");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(kWideSpace), "");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimSpaces("\ta\n"), "\ta\n");  // tabs and line ends are not spaces
    // A lone 0xA1 is not a space.
    EXPECT_EQ(TrimSpaces("\xA1"
                         "a\xA1"),
              "\xA1"
              "a\xA1");
}

TEST(RemoveSpaces, EverywhereOnCharacterBoundaries) {
    EXPECT_EQ(RemoveSpaces(" a b "), "ab");
    EXPECT_EQ(RemoveSpaces("a" + kWideSpace + "b"), "ab");
    EXPECT_EQ(RemoveSpaces("  "), "");
    // The A1 A1 inside "\xB0\xA1" "\xA1\xB0" straddles two characters: no space.
    EXPECT_EQ(RemoveSpaces("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
    // A space byte that is the second byte of a character stays.
    EXPECT_EQ(RemoveSpaces("\x81 x"), "\x81 x");
}

TEST(LetterCase, OnlyAsciiLettersChange) {
    EXPECT_EQ(ToLowerText("AbC-Z@["), "abc-z@[");
    EXPECT_EQ(ToUpperText("aBc-z`{"), "ABC-Z`{");
    // The byte after a lead byte is part of its character and is kept.
    EXPECT_EQ(ToUpperText("\x81"
                          "ab"),
              "\x81"
              "aB");
    EXPECT_EQ(ToLowerText("\x81"
                          "AB"),
              "\x81"
              "Ab");
    EXPECT_EQ(ToLowerText(""), "");
}

TEST(ReplaceSection, CasesOfTheTable) {
    EXPECT_EQ(ReplaceSection("abcdef", 2, 3, "Z"), "aZef");
    EXPECT_EQ(ReplaceSection("abcdef", 5, 10), "abcd");
    EXPECT_EQ(ReplaceSection("abc", 4, 1, "Z"), "abc");
}

TEST(ReplaceSection, EdgeArguments) {
    EXPECT_EQ(ReplaceSection("abc", 0, 1, "Z"), "Zbc");
    EXPECT_EQ(ReplaceSection("abc", -1, 1, "Z"), "abc");
    EXPECT_EQ(ReplaceSection("abc", 2, 0, "Z"), "abc");
    EXPECT_EQ(ReplaceSection("abc", 3, 1, "Z"), "abZ");
    EXPECT_EQ(ReplaceSection("", 1, 1, "Z"), "Z");
    EXPECT_EQ(ReplaceSection("", 1, 1), "");
}

}  // namespace
}  // namespace rt
