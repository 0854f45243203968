// Owning wrappers for libcurl handles and the process-wide cookie store.
#pragma once

#include <curl/curl.h>

#include "runtime/owned.h"

namespace web {

using EasyHandle = rt::Owned<CURL, curl_easy_cleanup>;
using MultiHandle = rt::Owned<CURLM, curl_multi_cleanup>;
using HeaderList = rt::Owned<curl_slist, curl_slist_free_all>;

// Initialises libcurl once for the process; false when that failed.
bool CurlReady();

// The cookie store shared by every request that does not manage its cookies
// itself (a share object of cookie data, safe across threads); null when it
// could not be created.
CURLSH* SharedCookieStore();

// Appends `line` to `list`; false when out of memory.
bool AppendHeader(HeaderList* list, const char* line);

}  // namespace web
