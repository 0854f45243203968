#include "web/cookies.h"

#include <gtest/gtest.h>

namespace {

struct MergeCase {
    const char* stored;
    const char* received;
    const char* merged;
};

class MergeCookiesTable : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTable, RewritesStoredAndReturnsACopy) {
    const MergeCase& c = GetParam();
    rt::Text stored = c.stored;
    rt::Text received = c.received;
    const rt::Text result = web::MergeCookies(&stored, &received);
    EXPECT_EQ(stored, c.merged);
    EXPECT_EQ(result, stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookiesTable,
    testing::Values(MergeCase{"a=1; b=2", "b=3", "b=3; a=1"},  // received first, replaced gone
                    MergeCase{"a=1", "a=deleted", ""},         // replaced, then dropped
                    MergeCase{"sid=x y", "", "sid=xy"},        // spaces inside values go
                    MergeCase{"a=1;a=2", "", "a=1"},           // first stored of a name wins
                    MergeCase{"", "c=3;c=3", "c=3"},           // exact repeats removed
                    MergeCase{"", "c=3;c=4", "c=3; c=4"},      // same name, other value stays
                    MergeCase{"A=1", "a=2", "a=2; A=1"},       // names are case-sensitive
                    MergeCase{"", "", ""},
                    MergeCase{"a=1;", "b=2;", "b=2; a=1"},  // trailing ";" adds nothing
                    MergeCase{"a=1", "=deleted", "a=1"},    // exactly "=deleted" is dropped
                    MergeCase{"a=1", "deleted", "deleted; a=1"},
                    MergeCase{"a=1", "b=x=deleted", "a=1"}));

TEST(MergeCookies, RemovesSpacesFromReceivedInPlace) {
    rt::Text stored = "x = 1";
    rt::Text received = " a=1 ; b = 2 \xA1\xA1";
    web::MergeCookies(&stored, &received);
    EXPECT_EQ(received, "a=1;b=2");
    EXPECT_EQ(stored, "a=1; b=2; x=1");
}

TEST(MergeCookies, EmptyEntriesSurviveOnce) {
    rt::Text stored = "";
    rt::Text received = "a=1;;b=2;;";
    web::MergeCookies(&stored, &received);
    EXPECT_EQ(stored, "a=1; ; b=2");
}

TEST(CookieName, TextBeforeFirstEqualsTrimmed) {
    EXPECT_EQ(web::CookieName(" sid =a=b"), "sid");
    EXPECT_EQ(web::CookieName("flag"), "flag");
    EXPECT_EQ(web::CookieName("=v"), "");
    EXPECT_EQ(web::CookieName(""), "");
}

TEST(DedupeList, KeepsFirstAppearanceInOrder) {
    EXPECT_EQ(web::DedupeList("b,a,b,c,a", ","), "b,a,c");
    EXPECT_EQ(web::DedupeList("x; y; x", "; "), "x; y");
    EXPECT_EQ(web::DedupeList("", "; "), "");
    EXPECT_EQ(web::DedupeList("a,,b,", ","), "a,,b");
}

}  // namespace
