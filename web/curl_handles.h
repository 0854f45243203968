// Owning wrappers for libcurl handles and the process-wide cookie store.
#pragma once

#include <curl/curl.h>

#include <memory>

namespace web {

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MultiDeleter {
    void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

// Initialises libcurl once for the process; false when that failed.
bool CurlReady();

// The cookie store shared by every request that does not manage its cookies
// itself (a share object of cookie data, safe across threads); null when it
// could not be created.
CURLSH* SharedCookieStore();

// Appends `line` to `list`; false when out of memory.
bool AppendHeader(HeaderList* list, const char* line);

}  // namespace web
