// The texts and limits a search shows, shared by every front end.
#pragma once

#include "runtime/text.h"

namespace app {

// The most pages read per site in one search.
inline constexpr int kMaxPageCount = 1000;

// The status box while pages are being read, one at a time or every ticked
// site's at once.
extern const char* const kSearchingStatus;
extern const char* const kParallelSearchingStatus;

// The status box after a search ran to its end, and after a stop.
rt::Text FinishedStatus(int seconds, int hits);
rt::Text StoppedStatus(int seconds, int hits);

// The pages per site a search reads for the count asked: at most kMaxPageCount.
int ClampPageCount(int pages);

// The page count text as a search leaves it in its edit: a number above
// 1000 becomes "1000"; anything else stays as it is.
rt::Text ClampPageCountText(const rt::Text& text);

}  // namespace app
