// The words of a site's tooltip for each way its part of a search can end.
#include <gtest/gtest.h>

#include "app/report/site_report.h"

namespace {

using app::PageFailure;
using app::SiteEnd;

TEST(SiteReport, EveryEndingInPlainWords) {
    struct Case {
        app::SiteSearchStats stats;
        const char* text;
    };
    const Case cases[] = {
        {{SiteEnd::kNotSearched}, "上次搜索：未勾选"},
        {{SiteEnd::kNoMoreResults, 3, 87, 4}, "上次搜索：读了3页，找到87个资源；第4页没有结果"},
        {{SiteEnd::kNoMoreResults, 0, 0, 1}, "上次搜索：第1页没有结果"},
        {{SiteEnd::kLastPageRead, 0, 0, 0}, "上次搜索：读了0页，找到0个资源"},
        {{SiteEnd::kStopped, 2, 40, 3}, "上次搜索：读了2页，找到40个资源；第3页时被用户停止"},
        {{SiteEnd::kUnticked, 1, 30, 2}, "上次搜索：读了1页，找到30个资源；第2页起未勾选"},
        {{SiteEnd::kFailed, 1, 30, 2, PageFailure::kTimedOut, 0, 15},
         "上次搜索：读了1页，找到30个资源；第2页失败：连接超时（15秒）"},
        {{SiteEnd::kFailed, 0, 0, 1, PageFailure::kTimedOut}, "上次搜索：第1页失败：连接超时"},
        {{SiteEnd::kFailed, 0, 0, 1, PageFailure::kHttpStatus, 404}, "上次搜索：第1页失败：HTTP状态码404"},
        {{SiteEnd::kFailed, 0, 0, 1, PageFailure::kConnectionRefused}, "上次搜索：第1页失败：连接被拒绝"},
        {{SiteEnd::kFailed, 0, 0, 1, PageFailure::kHostNotFound}, "上次搜索：第1页失败：找不到主机"},
        {{SiteEnd::kFailed, 4, 80, 5, PageFailure::kCutShort}, "上次搜索：读了4页，找到80个资源；第5页失败：页面没有传完"},
        {{SiteEnd::kFailed, 0, 0, 1, PageFailure::kTooLarge}, "上次搜索：第1页失败：页面太大"},
        {{SiteEnd::kFailed, 0, 0, 1, PageFailure::kOther}, "上次搜索：第1页失败：网络错误"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::SiteReportText(c.stats), c.text);
}

}  // namespace
