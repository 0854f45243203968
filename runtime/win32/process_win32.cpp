// The process services of the exit sequence and the fatal-error message on
// Windows: the message goes to a system message box.
#include <windows.h>

#include "runtime/codepage.h"
#include "runtime/system.h"

namespace rt::system {
namespace {

// Static initialisers of the program run on its first thread.
const DWORD mainThreadId = GetCurrentThreadId();

std::wstring Wide(const std::string& text) {
    const std::u16string wide =
        MultiByteToWide(kLiteralsAreCp936 ? kCodePage936 : kCodePageUtf8, text);
    return std::wstring(wide.begin(), wide.end());
}

}  // namespace

void ShowErrorBox(const std::string& text, const std::string& caption) {
    // Without a desktop (a service, a test without a display) the box
    // returns at once.
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONERROR);
}

bool OnMainThread() { return GetCurrentThreadId() == mainThreadId; }

// The process heap already takes blocks this large straight from the system
// and gives them back when they are freed.
void ReturnLargeBlocks() {}

void WaitForever() {
    for (;;) Sleep(INFINITE);
}

std::uintptr_t ModuleOffset(const void* codeAddress) {
    auto address = reinterpret_cast<std::uintptr_t>(codeAddress);
    HMODULE module = nullptr;
    if (GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(codeAddress), &module))
        address -= reinterpret_cast<std::uintptr_t>(module);
    return address;
}

}  // namespace rt::system
