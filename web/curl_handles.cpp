#include "web/curl_handles.h"

#include <array>
#include <mutex>

#include "runtime/kept.h"

namespace web {
namespace {

// libcurl's global state and the cookie share are kept for the life of the
// process: a worker may be inside a transfer while the process exits.
struct GlobalInit {
    GlobalInit() : ok(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    bool ok;
};

// One mutex per kind of shared data, as libcurl may hold the lock of the share
// itself while it takes the lock of the cookies.
class CookieShare {
public:
    CookieShare() : share_(curl_share_init()) {
        if (!share_) return;
        curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CookieShare::Lock);
        curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CookieShare::Unlock);
        curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
        if (curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
            curl_share_cleanup(share_);
            share_ = nullptr;
        }
    }
    CookieShare(const CookieShare&) = delete;
    CookieShare& operator=(const CookieShare&) = delete;

    CURLSH* get() const { return share_; }

private:
    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
        static_cast<CookieShare*>(self)->mutexes_[Index(data)].lock();
    }
    static void Unlock(CURL*, curl_lock_data data, void* self) {
        static_cast<CookieShare*>(self)->mutexes_[Index(data)].unlock();
    }
    static std::size_t Index(curl_lock_data data) {
        const auto i = static_cast<std::size_t>(data);
        return i < CURL_LOCK_DATA_LAST ? i : 0;
    }

    std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
    CURLSH* share_;
};

GlobalInit& Global() {
    static rt::Kept<GlobalInit> init;
    return init.get();
}

}  // namespace

bool CurlReady() { return Global().ok; }

CURLSH* SharedCookieStore() {
    if (!CurlReady()) return nullptr;
    static rt::Kept<CookieShare> share;
    return share.get().get();
}

bool AppendHeader(HeaderList* list, const char* line) {
    curl_slist* grown = curl_slist_append(list->get(), line);
    if (!grown) return false;
    list->release();
    list->reset(grown);
    return true;
}

}  // namespace web
