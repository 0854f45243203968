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
    EXPECT_EQ(app::cli::FormatHit(app::cli::Format::kJson, 7, 2, hit),
              "{\"number\":7,\"title\":\"a\\\"b\\\\c\\td\\u0001e " + rt::Cp936ToUtf8("中") +
                  "\",\"size\":\"1 GB\",\"date\":\"2024-01-02\",\"site\":\"31bt" +
                  rt::Cp936ToUtf8("搜索") +
                  "\",\"site_id\":2,\"link\":\"magnet:?xt=urn:btih:00\"}\n");
    hit.title = "two\r\nlines\tand tab";
    EXPECT_EQ(app::cli::FormatHit(app::cli::Format::kTsv, 1, 3, hit),
              "1\ttwo  lines and tab\t1 GB\t2024-01-02\t" + rt::Cp936ToUtf8("洪流小猫") +
                  "\tmagnet:?xt=urn:btih:00\n");
}

}  // namespace
