// Hits as output lines: what JSON must escape, what a tab-separated field
// must not hold.
#include "app/cli/hit_format.h"
#include "runtime/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(HitFormat, JsonEscapesAndTsvFlattens) {
    app::Hit hit{
        "a\"b\\c\td\x01"
        "e 中",
        "magnet:?xt=urn:btih:00", "1 GB", "2024-01-02"};
    EXPECT_EQ(app::cli::FormatHit(app::cli::Format::Json, 7, 2, hit),
              "{\"number\":7,\"title\":\"a\\\"b\\\\c\\td\\u0001e " + rt::Cp936ToUtf8("中") +
                  "\",\"size\":\"1 GB\",\"date\":\"2024-01-02\",\"site\":\"31bt" +
                  rt::Cp936ToUtf8("搜索") +
                  "\",\"site_id\":2,\"link\":\"magnet:?xt=urn:btih:00\"}\n");
    hit.title = "two\r\nlines\tand tab";
    EXPECT_EQ(app::cli::FormatHit(app::cli::Format::Tsv, 1, 3, hit),
              "1\ttwo  lines and tab\t1 GB\t2024-01-02\t" + rt::Cp936ToUtf8("洪流小猫") +
                  "\tmagnet:?xt=urn:btih:00\n");
}

// A page's escape sequences, bells, backspaces and deletes never reach the
// terminal: a field of a line has spaces in their place, JSON escapes them.
TEST(HitFormat, NoControlCharacterLeavesAField) {
    const app::Hit hit{"a\x1b[2J\x1b]0;t\x07\x08\x0b\x0c\x7f\x01z", "magnet:?\x1b", "1\x1b", "d"};
    EXPECT_EQ(app::cli::FormatHit(app::cli::Format::Tsv, 1, 1, hit),
              "1\ta [2J ]0;t      z\t1 \td\t" + rt::Cp936ToUtf8("传播搜索") + "\tmagnet:? \n");
    const std::string json = app::cli::FormatHit(app::cli::Format::Json, 1, 1, hit);
    EXPECT_NE(json.find("\"a\\u001b[2J\\u001b]0;t\\u0007\\u0008\\u000b\\u000c\\u007f\\u0001z\""),
              std::string::npos)
        << json;
}

}  // namespace
