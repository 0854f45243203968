// Functions looked up by name on first use (dlopen/dlsym).
//
// A module that cannot be loaded shows
// "同目录下无法找到DLL文件:"%s".请与作者联系." and an export that cannot be
// found shows "无法定位DLL文件:"%s"当中的"%s"函数." (caption "DLL ERROR"),
// then the exit sequence runs with code 0.
#pragma once

#include <atomic>
#include <string>

namespace rt {

// Looks up `exportName` in `module` and returns its address. A module already
// present in the process is used as it is; one loaded here is recorded and
// released at exit in loading order. A name whose first "@" is doubled is cut
// there; "#digits" names an ordinal (Windows; shared objects have none).
void* Bind(const std::string& module, const std::string& exportName);

// Releases the modules Bind loaded, in loading order (part of the exit
// sequence; modules that were present before Bind are left alone).
void ReleaseLateLoadedModules();

// One late-bound function: resolved on the first call, then called directly.
template <typename Signature>
class LateBound;

template <typename R, typename... Args>
class LateBound<R(Args...)> {
public:
    LateBound(const char* module, const char* exportName) : module_(module), export_(exportName) {}

    R operator()(Args... args) {
        auto fn = cell_.load(std::memory_order_acquire);
        if (fn == nullptr) {
            fn = reinterpret_cast<R (*)(Args...)>(Bind(module_, export_));
            cell_.store(fn, std::memory_order_release);
        }
        return fn(args...);
    }

private:
    const char* module_;
    const char* export_;
    std::atomic<R (*)(Args...)> cell_{nullptr};
};

}  // namespace rt
