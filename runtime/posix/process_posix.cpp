// The process services of the exit sequence and the fatal-error message on
// Linux.
#include <dlfcn.h>
#include <unistd.h>

#include "runtime/system.h"

namespace rt::system {

// The window's message box comes with the platform layer.
void ShowErrorBox(const std::string&, const std::string&) {}

bool OnMainThread() { return gettid() == getpid(); }

void WaitForever() {
    for (;;) pause();
}

std::uintptr_t ModuleOffset(const void* codeAddress) {
    Dl_info info{};
    auto address = reinterpret_cast<std::uintptr_t>(codeAddress);
    if (dladdr(codeAddress, &info) != 0 && info.dli_fbase != nullptr)
        address -= reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    return address;
}

}  // namespace rt::system
