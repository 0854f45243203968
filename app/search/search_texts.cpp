#include "app/search/search_texts.h"

#include <algorithm>

namespace app {

const char* const kSearchingStatus = "正在进行单线程搜索......";
const char* const kParallelSearchingStatus = "正在进行多线程搜索......";

namespace {

rt::Text Tally(const char* opening, int seconds, int hits) {
    return rt::ConcatText(rt::Text(opening), rt::ToText(seconds), rt::Text("秒\r\n共搜到"),
                          rt::ToText(hits), rt::Text("个资源"));
}

}  // namespace

rt::Text FinishedStatus(int seconds, int hits) {
    return Tally("搜索完毕！本次耗时", seconds, hits);
}

rt::Text StoppedStatus(int seconds, int hits) { return Tally("搜索结束！本次耗时", seconds, hits); }

int ClampPageCount(int pages) { return std::min(pages, kMaxPageCount); }

rt::Text ClampPageCountText(const rt::Text& text) {
    return rt::ToInteger(text) > kMaxPageCount ? rt::ToText(kMaxPageCount) : text;
}

}  // namespace app
