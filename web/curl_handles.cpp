#include "web/curl_handles.h"

#include "runtime/kept.h"

namespace web {
namespace {

// libcurl's global state is kept for the life of the process: a worker may be
// inside a transfer while the process exits.
struct GlobalInit {
    GlobalInit() : ok(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    bool ok;
};

}  // namespace

bool CurlReady() {
    static rt::Kept<GlobalInit> init;
    return init.get().ok;
}

bool AppendHeader(HeaderList* list, const char* line) {
    curl_slist* grown = curl_slist_append(list->get(), line);
    if (!grown) return false;
    list->release();
    list->reset(grown);
    return true;
}

}  // namespace web
