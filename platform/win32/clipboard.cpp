// The clipboard as Unicode text (CF_UNICODETEXT).
#include <cstring>

#include "platform/win32/window.h"
#include "runtime/codepage.h"

namespace plat::win32 {

namespace {

// The clipboard's owner: a message-only window of the calling thread, which
// the system destroys with the thread. (A thread_local owner object would
// not do: mingw-w64 frees a thread's storage before its destructors run.)
HWND ClipboardOwner() {
    thread_local HWND owner = nullptr;
    if (owner == nullptr)
        owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    return owner;
}

// Another program may hold the clipboard open for a moment.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        constexpr int kTries = 20;
        for (int i = 0; i < kTries && !open_; ++i) {
            open_ = ::OpenClipboard(owner) != FALSE;
            if (!open_) ::Sleep(5);
        }
    }
    ~ClipboardSession() {
        if (open_) ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

}  // namespace

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

bool SetClipboardUtf8(const std::string& utf8) {
    std::u16string text = rt::MultiByteToWide(rt::kCodePageUtf8, utf8);
    std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    void* data = ::GlobalLock(memory);
    std::memcpy(data, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    ClipboardSession open(ClipboardOwner());
    // The system owns the memory once the clipboard took it.
    if (!open || !::EmptyClipboard() || ::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        ::GlobalFree(memory);
        return false;
    }
    return true;
}

std::optional<std::string> GetClipboardUtf8() {
    ClipboardSession open(ClipboardOwner());
    if (!open) return std::nullopt;
    HANDLE memory = ::GetClipboardData(CF_UNICODETEXT);
    if (memory == nullptr) return std::nullopt;
    const auto* data = static_cast<const char16_t*>(::GlobalLock(memory));
    if (data == nullptr) return std::nullopt;
    // The text ends at its terminator, or at the end of the memory.
    std::size_t limit = ::GlobalSize(memory) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < limit && data[length] != 0) ++length;
    std::string utf8 = rt::WideToMultiByte(rt::kCodePageUtf8, std::u16string_view(data, length));
    ::GlobalUnlock(memory);
    return utf8;
}

}  // namespace plat::core::backend
