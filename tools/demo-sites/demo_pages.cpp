#include "demo_pages.h"

#include "app/scraping/url_text.h"
#include "app/sites/site_rules.h"
#include "runtime/codepage.h"

#include <cstdint>
#include <cstdio>

namespace demo {

namespace {

using app::SiteId;
using rt::Text;

std::uint64_t Mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

std::uint64_t KeywordHash(const Text& keyword) {
    std::uint64_t h = 1469598103934665603ull;
    for (const unsigned char c : keyword) h = (h ^ c) * 1099511628211ull;
    return h;
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// Markup-safe form of the keyword, as sites echo it.
Text EscapeHtml(const Text& text) {
    Text out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

// Everything about one record, derived from the site, keyword and position.
struct Record {
    std::uint64_t seed;
    int serial;  // 1-based over the whole result list
    Text hash;   // 40 lower-case hex digits
    int year, month, day;
    Text size;
};

Record MakeRecord(SiteId site, const Text& keyword, int page, int index) {
    Record r;
    r.serial = (page - 1) * app::SiteRecordLimit(site) + index + 1;
    r.seed = Mix(KeywordHash(keyword) ^ (static_cast<std::uint64_t>(site) << 56) ^
                 static_cast<std::uint64_t>(r.serial));
    for (int i = 0; i < 3; ++i)
        r.hash += Format("%016llx", static_cast<unsigned long long>(Mix(r.seed + i)));
    r.hash.resize(40);
    r.year = 2010 + static_cast<int>(r.seed % 9);
    r.month = 1 + static_cast<int>((r.seed >> 8) % 12);
    r.day = 1 + static_cast<int>((r.seed >> 16) % 28);
    const int tenths = static_cast<int>((r.seed >> 24) % 1000);
    r.size = (r.seed >> 40) % 3 == 0 ? Format("%d.%d MB", 100 + tenths, tenths % 10)
                                     : Format("%d.%02d GB", 1 + tenths / 100, tenths % 100);
    return r;
}

// A believable title around `kw` (already marked up as the site shows it).
Text Title(const Record& r, const Text& kw) {
    switch ((r.seed >> 32) % 8) {
    case 0: return kw + Format(" 第%02d集 高清国语", r.serial);
    case 1: return kw + Format(".%d.1080p.BluRay.x264", r.year);
    case 2: return "[" + kw + "] 全集 中英双字";
    case 3: return kw + " 原声大碟 FLAC";
    case 4: return kw + Format(" S%02dE%02d 720p", 1 + r.serial / 20, 1 + r.serial % 20);
    case 5: return kw + Format(" 电子书 PDF 第%d版", 1 + r.serial % 5);
    case 6: return kw + Format(" 蓝光原盘 合集 %d", r.serial);
    default: return Format("(%d) ", r.year) + kw + " 典藏版";
    }
}

Text IsoDate(const Record& r) { return Format("%04d-%02d-%02d", r.year, r.month, r.day); }

Text Highlight(const Text& kw, const char* open, const char* close) {
    return kw.empty() ? kw : open + kw + close;
}

// Page furniture: navigation lists and style rules free of any marker.
Text Furniture(std::size_t bytes, int salt) {
    Text out = "<style>\n";
    for (int i = 0; out.size() < bytes / 3; ++i)
        out += Format(".c%d-%d{margin:%dpx;color:#%06x}\n", salt, i, i % 17,
                      (i * 2654435761u) & 0xffffff);
    out += "</style>\n<div class=\"nav\"><ul>\n";
    for (int i = 0; out.size() < bytes; ++i)
        out += Format("<li><a href=\"/tag/%d\" title=\"分类%d\">分类%d</a></li>\n", i, i, i);
    out += "</ul></div>\n";
    return out;
}

Text Head(SiteId site, const Text& title) {
    const Text charset =
        AnswersInUtf8(site)
            ? "<meta charset=\"utf-8\">\n"
            : "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n";
    return "<!DOCTYPE html>\n<html><head>" + charset + "<title>" + title + " - " +
           app::SiteLabel(site) + "</title>\n";
}

// `kw` followed by filler words up to `bytes` bytes in all.
Text Lengthened(const Text& kw, std::size_t bytes) {
    Text out = kw;
    if (bytes <= out.size()) return out;
    out.reserve(bytes + 16);
    for (int i = 0; out.size() < bytes; ++i) out += Format(" 标题 title %d", i);
    return out;
}

// --- the eight layouts ------------------------------------------------------

Text Site1Record(const Record& r, const Text& kw, const PageOptions& o) {
    const Text title = Title(r, kw);
    return "<tr> <td class=\"name\"><a href=\"/detail/" + r.hash + "\">" + title + "</a></td>" +
           " <td class=\"files-size\">" + r.size + "</td> <td class=\"convert-date\">" +
           IsoDate(r) + "</td> <td class=\"action\"><a href=\"" + o.site1HashUrl +
           "/magnet/detail/hash/" + r.hash + "\" class=\"btn\" title=\"" + title +
           "\" target=\"_blank\">Detail</a></td> </tr>\n";
}

Text Site2Record(const Record& r, const Text& kw) {
    return "<table class=\"r\"><tr><td height=\"18\"><B>" +
           Title(r, Highlight(kw, "<font color=\"red\">", "</font>")) + "</B></td></tr>\n" +
           "<tr><td>文件大小:" + r.size +
           Format(" |文件数:%d | ", 1 + static_cast<int>(r.seed % 40)) + IsoDate(r) +
           Format(" | 热度:%d</td>\n", static_cast<int>(r.seed % 999)) + "<td><a href=\"/torrent/" +
           r.hash + ".html\">磁力下载</a></td></tr></table>\n";
}

Text Site3Record(const Record& r, const Text& kw) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return "<tr><td class=\"name\">" + Title(r, kw) + "</td><td class=\"size\">" + r.size +
           "</td><td class=\"date\">" + Format("%s %2d, %d", kMonths[r.month - 1], r.day, r.year) +
           "</td><td class=\"action\"><a href=\"/" + r.hash +
           "\">Detail</a><a href=\"magnet:?xt=urn:btih:" + r.hash +
           "\" title=\"磁力链接\">Magnet</a></td></tr>\n";
}

Text Site4Record(const Record& r, const Text& rawKeyword, const Text& kw) {
    // The display name carries the plain title; the page shows it escaped.
    const Text link =
        "magnet:?xt=urn:btih:" + r.hash + "&amp;dn=" + app::EncodeForUrl(Title(r, rawKeyword));
    return "<div class=\"x-item\"><ul class=\"tags\"><li>影视</li><li>" + IsoDate(r) +
           "</li> </ul>\n<a class=\"title\" href=\"" + link + "\">" + Title(r, kw) + "</a>\n" +
           "<div class=\"tail\">Size:" + r.size +
           Format("  Requests: %d  ", static_cast<int>(r.seed % 500)) + "<a href=\"" + link +
           "\"> Magnet</a></div></div>\n";
}

Text Ed2kName(const Record& r) { return Format("%d.mkv", r.serial); }

Text Site5ListRecord(const Record& r, const Text& kw) {
    const Text md4 = r.hash.substr(0, 32);
    return "<li hash=\"" + md4 + "\"><a href=\"ed2k://|file|" + Ed2kName(r) + "|" +
           Format("%llu", static_cast<unsigned long long>(r.seed % 4000000000ull)) + "|" + md4 +
           "|/\">ED2K</a><br/>\r\n" + Title(r, kw) + "<small>大小:" + r.size +
           "&nbsp;&nbsp;</small><span class=\"src\">电驴</span></li>\n";
}

Text Site5TableRecord(const Record& r, const Text& kw) {
    const Text md4 = r.hash.substr(0, 32);
    return Format("<tr class=\"row%d\"><td>", r.serial % 2) + Title(r, kw) +
           "    </td><td width='70' align='right'>" + r.size + "</td><td><a href=\"ed2k://|file|" +
           Ed2kName(r) + "|" +
           Format("%llu", static_cast<unsigned long long>(r.seed % 4000000000ull)) + "|" + md4 +
           "|/\">ED2K</a></td></tr>\n";
}

Text Site6Record(const Record& r, const Text& kw) {
    // Fresh uploads show a relative day, as the site did.
    const Text date = r.seed % 7 == 3 ? Text("昨天") : IsoDate(r);
    return "<div class=\"r\"><a href=\"/hash/" + r.hash +
           "\" target=\"_blank\"><h5 class=\"item-title\" id=\"" + r.hash + "\">" +
           Title(r, Highlight(kw, "<span class='highlight'>", "</span>")) +
           "</h5></a>\n<div class=\"prop\"><span class=\"label\">创建时间</span><span "
           "class=\"prop_val\">" +
           date + "</span><span class=\"label\">文件大小</span><span class=\"prop_val\">" + r.size +
           "</span><a href=\"magnet:?xt=urn:btih:" + r.hash + "\">磁力链接</a></div></div>\n";
}

Text Site7Record(const Record& r, const Text& kw, bool ed2k) {
    Text upper = r.hash;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'f' ? c - 32 : c);
    return "<li class=\"tableli\"><div class=\"tname\"><a href=\"/d/" + upper + ".html\">" +
           Title(r, Highlight(kw, "<font color=\"red\">", "</font>")) + "</a><a href=\"/d/" +
           upper + ".html\" class=\"" + (ed2k ? "ED2K" : "MAGNET") +
           "\"></a></div><div class=\"thash\">HASH值：" + upper +
           "</div><div class=\"tsize\"><strong>" + r.size + "</strong></div><div class=\"ttime\">" +
           IsoDate(r) + "</div></li>\n";
}

Text Site8Record(const Record& r, const Text& kw) {
    return "<div class=\"search-item\"><div class=\"item-title\"><h3><a href=\"/d/" + r.hash +
           "\" target=\"_blank\">" + Title(r, Highlight(kw, "<font color=\"red\">", "</font>")) +
           "</a></h3></div>\n<div class=\"item-bar\"><span>创建时间：<b class=\"cpill "
           "blue-pill\">\r\n        " +
           IsoDate(r) + "</b></span><span>文件大小：<b class=\"cpill yellow-pill\">\r\n        " +
           r.size + "</b></span><a href=\"magnet:?xt=urn:btih:" + r.hash +
           "\" class=\"download\">磁力链接</a><a href=\"thunder://" + r.hash.substr(0, 16) +
           "\" class=\"download\">迅雷链接</a></div></div>\n";
}

struct Frame {
    Text open;   // after the head, before the first record
    Text close;  // after the last record
};

Frame SiteFrame(SiteId site) {
    switch (site) {
    case 1: return {"<table class=\"data\">\n", "</table>\n"};
    case 3: return {"<table id=\"archiveResult\">\n", "</table>\n"};
    case 4:
        return {"<ul class=\"top\"><li><a href=\"/\">首页</a></li> </ul>\n<div class=\"list\">\n",
                "</div>\n"};
    case 7: return {"<ul class=\"mlist\">\n", "</ul>\n"};
    default: return {"<div class=\"list\">\n", "</div>\n"};
    }
}

}  // namespace

bool AnswersInUtf8(SiteId site) { return site != 2 && site != 5 && site != 8; }

int LastPage(SiteId site, const Text& keyword) {
    // 5 and 8 are coprime: the eight sites end on eight different pages.
    return 1 +
           static_cast<int>((KeywordHash(keyword) / 3 + 5ull * static_cast<unsigned>(site)) % 8);
}

PagePlan PlanPage(SiteId site, const Text& keyword, int page, std::optional<int> lastPage) {
    PagePlan plan;
    const int limit = app::SiteRecordLimit(site);
    const int last = lastPage.value_or(LastPage(site, keyword));
    const std::uint64_t h = Mix(KeywordHash(keyword) + static_cast<std::uint64_t>(page));
    if (page < last) {
        plan.records = limit;
        if (site == 7 && h % 3 == 1) plan.ed2kAt = 5 + static_cast<int>(h % 20);
    } else if (page == last) {
        plan.records = 1 + static_cast<int>(h % static_cast<std::uint64_t>(limit - 1));
    }
    plan.tableLayout = site == 5 && page % 2 == 0;
    return plan;
}

int ExpectedHits(const PagePlan& plan) { return plan.ed2kAt >= 0 ? plan.ed2kAt : plan.records; }

bool ExpectedExhausted(SiteId site, const PagePlan& plan) {
    return plan.ed2kAt < 0 && plan.records < app::SiteRecordLimit(site);
}

DemoPage BuildPage(SiteId site, const Text& keyword, int page, const PageOptions& options) {
    const PagePlan plan = PlanPage(site, keyword, page, options.lastPage);
    const Text shownKeyword = EscapeHtml(keyword);
    const Frame frame = site != 5          ? SiteFrame(site)
                        : plan.tableLayout ? Frame{"<table class=\"results\">\n", "</table>\n"}
                                           : Frame{"<ul class=\"results\">\n", "</ul>\n"};

    Text records;
    for (int i = 0; i < plan.records; ++i) {
        const Record r = MakeRecord(site, keyword, page, i);
        // The keyword as this record's title shows it, made long when asked.
        const Text kw = i == 0 ? Lengthened(shownKeyword, options.longTitleBytes) : shownKeyword;
        switch (site) {
        case 1: records += Site1Record(r, kw, options); break;
        case 2: records += Site2Record(r, kw); break;
        case 3: records += Site3Record(r, kw); break;
        case 4: records += Site4Record(r, keyword, kw); break;
        case 5:
            records += plan.tableLayout ? Site5TableRecord(r, kw) : Site5ListRecord(r, kw);
            break;
        case 6: records += Site6Record(r, kw); break;
        case 7: records += Site7Record(r, kw, i == plan.ed2kAt); break;
        default: records += Site8Record(r, kw); break;
        }
    }
    if (plan.records == 0)
        records = "<p class=\"empty\">没有找到与“" + shownKeyword + "”相关的资源</p>\n";

    const Text summary = Format("<p class=\"total\">第%d页</p>\n", page);
    const Text tail = "<div class=\"foot\">Copyright 2015</div>\n</body></html>\n";
    Text body = Head(site, shownKeyword);
    Text main = "</head><body>\n" + summary + frame.open + records + frame.close;
    const std::size_t natural = body.size() + main.size() + tail.size();
    if (options.minimumBytes > natural) {
        // Most furniture sits before the results, the rest after them.
        const std::size_t extra = options.minimumBytes - natural;
        body += Furniture(extra * 3 / 4, 1);
        main += Furniture(extra - extra * 3 / 4, 2);
    }
    body += main + tail;

    DemoPage result;
    if (AnswersInUtf8(site)) {
        result.body = rt::Cp936ToUtf8(body);
        result.contentType = "text/html; charset=utf-8";
    } else {
        result.body = body;
        result.contentType = "text/html; charset=gbk";
    }
    return result;
}

DemoPage PortalPage() {
    DemoPage page;
    page.body = rt::Cp936ToUtf8(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>资源导航</title></head>"
        "<body><h1>资源导航</h1><p>本机演示站点</p></body></html>\n");
    page.contentType = "text/html; charset=utf-8";
    return page;
}

}  // namespace demo
