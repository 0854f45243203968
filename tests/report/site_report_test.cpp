// The words of a site's tooltip for each way its part of a search can end.
#include <gtest/gtest.h>

#include "app/report/site_report.h"

namespace {

using app::PageFailure;
using app::SiteEnd;
using app::SiteSearchStats;

SiteSearchStats Stats(SiteEnd end, int pages, int hits, int endPage) {
    SiteSearchStats s;
    s.end = end;
    s.pagesRead = pages;
    s.hits = hits;
    s.endPage = endPage;
    return s;
}

SiteSearchStats Failed(int pages, int hits, int endPage, PageFailure failure) {
    SiteSearchStats s = Stats(SiteEnd::kFailed, pages, hits, endPage);
    s.failure = failure;
    return s;
}

TEST(SiteReport, EveryEndingInPlainWords) {
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kNotSearched, 0, 0, 0)), "上次搜索：未勾选");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kNoMoreResults, 3, 87, 4)),
              "上次搜索：读了3页，找到87个资源；第4页没有结果");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kNoMoreResults, 0, 0, 1)), "上次搜索：第1页没有结果");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kLastPageRead, 10, 300, 10)),
              "上次搜索：读了10页，找到300个资源");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kLastPageRead, 0, 0, 0)), "上次搜索：读了0页，找到0个资源");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kStopped, 2, 40, 3)),
              "上次搜索：读了2页，找到40个资源；第3页时被用户停止");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kStopped, 0, 0, 1)), "上次搜索：第1页时被用户停止");
    EXPECT_EQ(app::SiteReportText(Stats(SiteEnd::kUnticked, 1, 30, 2)),
              "上次搜索：读了1页，找到30个资源；第2页起未勾选");
}

TEST(SiteReport, FailureReasons) {
    SiteSearchStats timedOut = Failed(1, 30, 2, PageFailure::kTimedOut);
    timedOut.timeoutSeconds = 15;
    EXPECT_EQ(app::SiteReportText(timedOut), "上次搜索：读了1页，找到30个资源；第2页失败：连接超时（15秒）");
    timedOut.timeoutSeconds = 0;
    EXPECT_EQ(app::SiteReportText(timedOut), "上次搜索：读了1页，找到30个资源；第2页失败：连接超时");
    SiteSearchStats status = Failed(0, 0, 1, PageFailure::kHttpStatus);
    status.httpStatus = 404;
    EXPECT_EQ(app::SiteReportText(status), "上次搜索：第1页失败：HTTP状态码404");
    EXPECT_EQ(app::SiteReportText(Failed(0, 0, 1, PageFailure::kConnectionRefused)),
              "上次搜索：第1页失败：连接被拒绝");
    EXPECT_EQ(app::SiteReportText(Failed(0, 0, 1, PageFailure::kHostNotFound)), "上次搜索：第1页失败：找不到主机");
    EXPECT_EQ(app::SiteReportText(Failed(4, 80, 5, PageFailure::kCutShort)),
              "上次搜索：读了4页，找到80个资源；第5页失败：页面没有传完");
    EXPECT_EQ(app::SiteReportText(Failed(0, 0, 1, PageFailure::kTooLarge)), "上次搜索：第1页失败：页面太大");
    EXPECT_EQ(app::SiteReportText(Failed(0, 0, 1, PageFailure::kOther)), "上次搜索：第1页失败：网络错误");
}

}  // namespace
