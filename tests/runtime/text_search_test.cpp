#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "runtime/text.h"

namespace rt {
namespace {

// "\x81" is a lead byte: the byte after it belongs to the same character,
// even when it looks like ASCII.
const Text kLead = "\x81";

TEST(FindText, PositionsAndStart) {
    EXPECT_EQ(FindText("abcabc", "bc"), 2);
    EXPECT_EQ(FindText("abcabc", "bc", 3), 5);
    EXPECT_EQ(FindText("abc", "c", 0), 3);
    EXPECT_EQ(FindText("abc", "c", -7), 3);
    EXPECT_EQ(FindText("abc", "c", 3), 3);
    EXPECT_EQ(FindText("abc", "c", 4), -1);
    EXPECT_EQ(FindText("abc", "abc"), 1);
}

TEST(FindText, NotFoundAndEmpty) {
    EXPECT_EQ(FindText("abc", "x"), -1);
    EXPECT_EQ(FindText("abc", ""), -1);
    EXPECT_EQ(FindText("", "a"), -1);
    EXPECT_EQ(FindText("ab", "abc"), -1);
    EXPECT_EQ(FindText("abcabc", "bc", 6), -1);
}

TEST(FindText, IgnoreCaseOnlyForAsciiLetters) {
    EXPECT_EQ(FindText("ABC", "b", std::nullopt, true), 2);
    EXPECT_EQ(FindText("ABC", "b"), -1);
    EXPECT_EQ(FindText("xA1b", "a1B", std::nullopt, true), 2);
    // 0xC1 and 0xE1 differ by 0x20 like letters do, but are not letters.
    EXPECT_EQ(FindText("\xC1\xC1", "\xE1\xE1", std::nullopt, true), -1);
    EXPECT_EQ(FindText("[", "{", std::nullopt, true), -1);
}

TEST(FindText, SkipsMatchesOnTheSecondByteOfACharacter) {
    EXPECT_EQ(FindText(kLead + "A", "A"), -1);
    EXPECT_EQ(FindText(kLead + "AA", "A"), 3);
    EXPECT_EQ(FindText(kLead + "\\x\\", "\\"), 4);
    EXPECT_EQ(FindText(kLead + "a", "A", std::nullopt, true), -1);
    // A run of lead-range bytes pairs up from the start of the scan.
    EXPECT_EQ(FindText("\xB0\xA1\xB0\xA1\xA1", "\xA1\xA1"), -1);
    EXPECT_EQ(FindText("\xB0\xA1\xA1\xA1", "\xA1\xA1"), 3);
    // The scan takes `start` as a character boundary.
    EXPECT_EQ(FindText(kLead + "AA", "A", 2), 2);
}

TEST(FindTextReverse, StepsByByte) {
    EXPECT_EQ(FindTextReverse("abcabc", "bc"), 5);
    EXPECT_EQ(FindTextReverse("abcabc", "bc", 4), 2);
    EXPECT_EQ(FindTextReverse("abcabc", "bc", 5), 2);
    EXPECT_EQ(FindTextReverse("abcabc", "bc", 6), 5);
    EXPECT_EQ(FindTextReverse("abcabc", "bc", 100), 5);
    EXPECT_EQ(FindTextReverse("abcabc", "ab", 1), 1);  // position 1 is always tried
    EXPECT_EQ(FindTextReverse("abcabc", "bc", 1), -1);
    EXPECT_EQ(FindTextReverse("abc", ""), -1);
    EXPECT_EQ(FindTextReverse("", "a"), -1);
    EXPECT_EQ(FindTextReverse("ab", "abc"), -1);
    EXPECT_EQ(FindTextReverse("xABx", "ab", std::nullopt, true), 2);
    // Unlike FindText it finds a match on the second byte of a character.
    EXPECT_EQ(FindTextReverse(kLead + "A" + "x", "A"), 2);
}

TEST(Extraction, LeftRightMid) {
    EXPECT_EQ(LeftText("abc", 5), "abc");
    EXPECT_EQ(LeftText("abc", 2), "ab");
    EXPECT_EQ(LeftText("abc", 0), "");
    EXPECT_EQ(LeftText("abc", -1), "");
    EXPECT_EQ(RightText("abc", 2), "bc");
    EXPECT_EQ(RightText("abc", 9), "abc");
    EXPECT_EQ(RightText("abc", -1), "");
    EXPECT_EQ(MidText("abcdef", 5, 10), "ef");
    EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(MidText("abc", 4, 1), "");
    EXPECT_EQ(MidText("abc", 0, 1), "");
    EXPECT_EQ(MidText("abc", 1, 0), "");
    // Byte-wise: half a character is allowed.
    EXPECT_EQ(LeftText("\xD6\xD0", 1), "\xD6");
}

TEST(ReplaceSubtext, CasesOfTheTable) {
    EXPECT_EQ(ReplaceSubtext("aXbXc", "X", "-"), "a-b-c");
    EXPECT_EQ(ReplaceSubtext("aXbXc", "x", "-", std::nullopt, std::nullopt, true), "aXbXc");
    EXPECT_EQ(ReplaceSubtext("aXbXc", "x", "-", std::nullopt, std::nullopt, false), "a-b-c");
    EXPECT_EQ(ReplaceSubtext("aXbXc", "x", "-"), "a-b-c");  // case-insensitive by default
    EXPECT_EQ(ReplaceSubtext("aXbXc", "X", "-", 3), "aXb-c");
    EXPECT_EQ(ReplaceSubtext("aXbXc", "X", std::nullopt, std::nullopt, 1), "abXc");
}

TEST(ReplaceSubtext, EdgeArguments) {
    EXPECT_EQ(ReplaceSubtext("", "a", "b"), "");
    EXPECT_EQ(ReplaceSubtext("abc", "", "b"), "abc");
    EXPECT_EQ(ReplaceSubtext("ab", "abc", "x"), "ab");
    EXPECT_EQ(ReplaceSubtext("aaa", "a", "b", 0), "aaa");
    EXPECT_EQ(ReplaceSubtext("aaa", "a", "b", 4), "aaa");
    EXPECT_EQ(ReplaceSubtext("aaa", "a", "b", 1, 0), "aaa");
    EXPECT_EQ(ReplaceSubtext("aaa", "a", "b", 1, 2), "bba");
    // Replacements are not rescanned, and the scan resumes after a match.
    EXPECT_EQ(ReplaceSubtext("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceSubtext("ab", "a", "aa"), "aab");
    EXPECT_EQ(ReplaceSubtext(kLead + "AA", "a", "-"), kLead + "A-");
}

TEST(SplitText, CasesOfTheTable) {
    EXPECT_EQ(SplitText("a,,b").Items(), (std::vector<Text>{"a", "", "b"}));
    EXPECT_EQ(SplitText("a,b,").Items(), (std::vector<Text>{"a", "b"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 2).Items(), (std::vector<Text>{"a", "b"}));
    EXPECT_EQ(SplitText("abc", "").Items(), (std::vector<Text>{"abc"}));
}

TEST(SplitText, EdgesAndDoubleByte) {
    EXPECT_EQ(SplitText("").count(), 0);
    EXPECT_EQ(SplitText("a,b", ",", 0).count(), 0);
    EXPECT_EQ(SplitText("a,b", ",", -1).count(), 0);
    EXPECT_EQ(SplitText(",a").Items(), (std::vector<Text>{"", "a"}));
    EXPECT_EQ(SplitText(",").Items(), (std::vector<Text>{""}));
    EXPECT_EQ(SplitText("a<>b<>", "<>").Items(), (std::vector<Text>{"a", "b"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 3).Items(), (std::vector<Text>{"a", "b", "c"}));
    EXPECT_EQ(SplitText(kLead + "@@b", "@").Items(), (std::vector<Text>{kLead + "@", "b"}));
    EXPECT_EQ(SplitText("\xD6\xD0|\xCE\xC4", "|").Items(),
              (std::vector<Text>{"\xD6\xD0", "\xCE\xC4"}));
}

TEST(CompareText, UnsignedByteOrder) {
    EXPECT_EQ(CompareText("", "a"), -1);
    EXPECT_EQ(CompareText("a", ""), 1);
    EXPECT_EQ(CompareText("", ""), 0);
    EXPECT_EQ(CompareText("abc", "abc"), 0);
    EXPECT_EQ(CompareText("ab", "abc"), -1);
    EXPECT_EQ(CompareText("B", "a"), -1);
    EXPECT_EQ(CompareText("\xD6", "a"), 1);
}

TEST(TextList, CountAppendAndIndexing) {
    TextList list;
    EXPECT_EQ(list.count(), 0);
    list.append("x");
    list.append("y");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list[1], "x");
    EXPECT_EQ(list[2], "y");
    list[2] = "z";
    EXPECT_EQ(list[2], "z");
}

TEST(ConcatText, AnyNumberOfTexts) {
    EXPECT_EQ(ConcatText(Text("a"), "b", Text("c")), "abc");
    EXPECT_EQ(ConcatText(Text()), "");
}

// A direct transcription of the character-stepping scan, to check the fast
// search against.
int StepwiseFind(const Text& text, const Text& sub, int start, bool ignoreCase) {
    if (text.empty() || sub.empty() || sub.size() > text.size()) return -1;
    if (start < 1) start = 1;
    const std::size_t last = text.size() - sub.size();
    for (std::size_t i = static_cast<std::size_t>(start - 1); i <= last;) {
        bool same = true;
        for (std::size_t k = 0; k < sub.size() && same; ++k) {
            unsigned char a = static_cast<unsigned char>(text[i + k]);
            unsigned char b = static_cast<unsigned char>(sub[k]);
            if (ignoreCase) {
                if (a >= 'A' && a <= 'Z') a += 32;
                if (b >= 'A' && b <= 'Z') b += 32;
            }
            same = a == b;
        }
        if (same) return static_cast<int>(i + 1);
        i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    }
    return -1;
}

// The byte-stepping reverse scan, transcribed likewise.
int BytewiseFindReverse(const Text& text, const Text& sub, int start, bool ignoreCase) {
    if (text.empty() || sub.empty() || sub.size() > text.size()) return -1;
    long long a = static_cast<long long>(text.size() - sub.size());
    if (start >= 1) a = std::clamp<long long>(start - static_cast<long long>(sub.size()), 0, a);
    for (long long i = a; i >= 0; --i) {
        if (StepwiseFind(text.substr(static_cast<std::size_t>(i), sub.size()), sub, 1,
                         ignoreCase) == 1)
            return static_cast<int>(i + 1);
    }
    return -1;
}

TEST(FindText, AgreesWithAStepwiseScanOnMixedText) {
    // Small alphabets make matches on second bytes and long lead-byte runs common.
    const char alphabet[] = {'a', 'A', 'b', '\\', '\x81', '\xA1', '\xD6'};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
    for (int round = 0; round < 4000; ++round) {
        Text text, sub;
        // Mostly short texts; some long enough for the candidate windows to grow.
        const int n = static_cast<int>(random() % (round % 10 == 0 ? 600 : 40));
        // Some patterns longer than the sixteen positions compared at once.
        const int m = 1 + static_cast<int>(random() % (round % 7 == 0 ? 20 : 3));
        for (int i = 0; i < n; ++i) text.push_back(alphabet[pick(random)]);
        for (int i = 0; i < m; ++i) sub.push_back(alphabet[pick(random)]);
        const int start = static_cast<int>(random() % 8);
        const bool ignoreCase = random() % 2 == 0;
        ASSERT_EQ(FindText(text, sub, start, ignoreCase),
                  StepwiseFind(text, sub, start, ignoreCase))
            << "text size " << text.size() << " start " << start;
        ASSERT_EQ(FindTextReverse(text, sub, start, ignoreCase),
                  BytewiseFindReverse(text, sub, start, ignoreCase))
            << "text size " << text.size() << " start " << start;
    }
}

}  // namespace
}  // namespace rt
