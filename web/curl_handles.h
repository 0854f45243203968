// Owning wrappers for libcurl handles, and libcurl's process-wide start-up.
#pragma once

#include <curl/curl.h>

#include "runtime/owned.h"

namespace web {

using EasyHandle = rt::Owned<CURL, curl_easy_cleanup>;
using MultiHandle = rt::Owned<CURLM, curl_multi_cleanup>;
using HeaderList = rt::Owned<curl_slist, curl_slist_free_all>;

// Initialises libcurl once for the process; false when that failed.
bool CurlReady();

// Appends `line` to `list`; false when out of memory.
bool AppendHeader(HeaderList* list, const char* line);

}  // namespace web
