// The process services of the exit sequence and the fatal-error message on
// Linux.
#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include "runtime/system.h"

namespace rt::system {

// The window's message box comes with the platform layer.
void ShowErrorBox(const std::string&, const std::string&) {}

bool OnMainThread() { return gettid() == getpid(); }

void WaitForever() {
    for (;;) pause();
}

// A fixed threshold also ends the allocator's habit of raising it to the
// size of the largest block freed so far.
void ReturnLargeBlocks() { mallopt(M_MMAP_THRESHOLD, 1 << 20); }

std::uintptr_t ModuleOffset(const void* codeAddress) {
    Dl_info info{};
    auto address = reinterpret_cast<std::uintptr_t>(codeAddress);
    if (dladdr(codeAddress, &info) != 0 && info.dli_fbase != nullptr)
        address -= reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    return address;
}

}  // namespace rt::system
