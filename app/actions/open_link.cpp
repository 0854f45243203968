#include "app/actions/open_link.h"

#include "app/actions/link_opener.h"
#include "runtime/thread.h"

namespace app {

std::string HandedOnScheme(const rt::Text& link) {
    for (const char c : link)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return {};
    std::string lower = link.substr(0, 8);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower.starts_with("magnet:?") && link.size() > 8) return "magnet";
    if (lower.starts_with("ed2k://") && link.size() > 7) return "ed2k";
    return {};
}

OpenLinkOutcome OpenLinkInDesktop(const rt::Text& link, int graceMs) {
    const std::string scheme = HandedOnScheme(link);
    OpenLinkOutcome outcome;
    if (scheme.empty()) {
        outcome.result = OpenLinkResult::NotALink;
        return outcome;
    }
    outcome = HandLinkToDesktop(link, scheme, graceMs);
    outcome.scheme = scheme;
    return outcome;
}

bool OpenLinkInBackground(const rt::Text& link, int graceMs,
                          std::function<void(const OpenLinkOutcome&)> done) {
    return rt::StartThread(
        [link, graceMs, done = std::move(done)] { done(OpenLinkInDesktop(link, graceMs)); });
}

rt::Text OpenLinkStatusText(const OpenLinkOutcome& outcome, const rt::Text& title) {
    const rt::Text hit = "【" + title + "】";
    const rt::Text opener = kLinkOpenerName;
    switch (outcome.result) {
    case OpenLinkResult::Opened:
        return hit + "的下载地址已交给 " + outcome.scheme + " 链接的默认程序......";
    case OpenLinkResult::NotALink: return hit + "的下载地址不是磁力或电驴链接，没有打开......";
    case OpenLinkResult::NoHandler:
        return "没有为 " + outcome.scheme + " 链接登记的程序，" + hit +
               "的下载地址没有打开，可复制下载地址......";
    case OpenLinkResult::NoOpener:
        return "找不到 " + opener + "，" + hit + "的下载地址没有打开，可复制下载地址......";
    case OpenLinkResult::Failed: break;
    }
    return hit + "的下载地址打开失败（" + opener + " " + kLinkOpenerCodeName + " " +
           std::to_string(outcome.exitCode) + "）......";
}

}  // namespace app
