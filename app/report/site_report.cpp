#include "app/report/site_report.h"

#include <string>

namespace app {

namespace {

rt::Text Reason(const SiteSearchStats& s) {
    switch (s.failure) {
    case PageFailure::kConnectionRefused: return "连接被拒绝";
    case PageFailure::kHostNotFound: return "找不到主机";
    case PageFailure::kTimedOut:
        return s.timeoutSeconds > 0 ? "连接超时（" + std::to_string(s.timeoutSeconds) + "秒）"
                                    : rt::Text("连接超时");
    case PageFailure::kHttpStatus: return "HTTP状态码" + std::to_string(s.httpStatus);
    case PageFailure::kCutShort: return "页面没有传完";
    case PageFailure::kTooLarge: return "页面太大";
    case PageFailure::kTooManyRedirects: return "重定向太多";
    case PageFailure::kOther: break;
    }
    return "网络错误";
}

}  // namespace

rt::Text SiteReportBody(const SiteSearchStats& s) {
    if (s.end == SiteEnd::kNotSearched) return "未勾选";

    // A site that ended on its first page has nothing to count.
    rt::Text text;
    const bool counted = s.pagesRead > 0 || s.hits > 0 || s.end == SiteEnd::kLastPageRead;
    if (counted)
        text +=
            "读了" + std::to_string(s.pagesRead) + "页，找到" + std::to_string(s.hits) + "个资源";
    const rt::Text page = "第" + std::to_string(s.endPage) + "页";
    rt::Text ending;
    switch (s.end) {
    case SiteEnd::kNoMoreResults: ending = page + "没有结果"; break;
    case SiteEnd::kSitesLastPage: ending = page + "已是最后一页"; break;
    case SiteEnd::kFailed: ending = page + "失败：" + Reason(s); break;
    case SiteEnd::kStopped: ending = page + "时被用户停止"; break;
    case SiteEnd::kUnticked: ending = page + "起未勾选"; break;
    case SiteEnd::kLastPageRead:
    case SiteEnd::kNotSearched: break;
    }
    if (!ending.empty()) text += (counted ? "；" : "") + ending;
    return text;
}

rt::Text SiteReportText(const SiteSearchStats& s) { return "上次搜索：" + SiteReportBody(s); }

}  // namespace app
