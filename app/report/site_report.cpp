#include "app/report/site_report.h"

#include <string>

namespace app {

namespace {

rt::Text Reason(const SiteSearchStats& s) {
    switch (s.failure) {
    case PageFailure::ConnectionRefused: return "连接被拒绝";
    case PageFailure::HostNotFound: return "找不到主机";
    case PageFailure::TimedOut:
        return s.timeoutSeconds > 0 ? "连接超时（" + std::to_string(s.timeoutSeconds) + "秒）"
                                    : rt::Text("连接超时");
    case PageFailure::HttpStatus: return "HTTP状态码" + std::to_string(s.httpStatus);
    case PageFailure::CutShort: return "页面没有传完";
    case PageFailure::TooLarge: return "页面太大";
    case PageFailure::TooManyRedirects: return "重定向太多";
    case PageFailure::Other: break;
    }
    return "网络错误";
}

}  // namespace

rt::Text SiteReportBody(const SiteSearchStats& s) {
    if (s.end == SiteEnd::NotSearched) return "未勾选";

    // A site that ended on its first page has nothing to count.
    rt::Text text;
    const bool counted = s.pagesRead > 0 || s.hits > 0 || s.end == SiteEnd::LastPageRead;
    if (counted)
        text +=
            "读了" + std::to_string(s.pagesRead) + "页，找到" + std::to_string(s.hits) + "个资源";
    const rt::Text page = "第" + std::to_string(s.endPage) + "页";
    rt::Text ending;
    switch (s.end) {
    case SiteEnd::NoMoreResults: ending = page + "没有结果"; break;
    case SiteEnd::SitesLastPage: ending = page + "已是最后一页"; break;
    case SiteEnd::Failed: ending = page + "失败：" + Reason(s); break;
    case SiteEnd::Stopped: ending = page + "时被用户停止"; break;
    case SiteEnd::Unticked: ending = page + "起未勾选"; break;
    case SiteEnd::LastPageRead:
    case SiteEnd::NotSearched: break;
    }
    if (!ending.empty()) text += (counted ? "；" : "") + ending;
    return text;
}

rt::Text SiteReportText(const SiteSearchStats& s) { return "上次搜索：" + SiteReportBody(s); }

}  // namespace app
