// Input-method contexts: one per window, attached or detached, holding the
// committed text of the composition message being handled.
#include <algorithm>
#include <cstring>

#include "platform/core/state.h"
#include "runtime/codepage.h"

namespace plat {

using namespace core;

namespace {

// A context is named after its window.
Himc ContextOf(const WindowRecord& rec) { return reinterpret_cast<Himc>(rec.id); }
WindowRecord* WindowOf(Himc himc) { return Find(reinterpret_cast<Hwnd>(himc)); }

}  // namespace

Himc ImmGetContext(Hwnd hwnd) {
    return WithWindow(hwnd, nullptr,
                      [](WindowRecord& rec) { return rec.imeAttached ? ContextOf(rec) : nullptr; });
}

bool ImmReleaseContext(Hwnd hwnd, Himc himc) { return IsWindow(hwnd) && himc != nullptr; }

Himc ImmAssociateContext(Hwnd hwnd, Himc himc) {
    return WithWindow(hwnd, nullptr, [&](WindowRecord& rec) -> Himc {
        Himc old = rec.imeAttached ? ContextOf(rec) : nullptr;
        // Only the window's own context exists; any non-null context re-attaches it.
        rec.imeAttached = himc != nullptr;
        if (CoreState().focus == hwnd) backend::ImeFocus(rec, rec.imeAttached);
        return old;
    });
}

rt::Text ImmGetResultString(Himc himc) {
    std::lock_guard lk(CoreState().mu);
    WindowRecord* rec = WindowOf(himc);
    if (rec == nullptr) return {};
    return rt::Utf8ToCp936(rec->compositionResult);
}

long ImmGetCompositionString(Himc himc, DWORD index, void* buffer, DWORD size) {
    if (index != GCS_RESULTSTR) return 0;
    rt::Text text = ImmGetResultString(himc);
    if (buffer == nullptr) return static_cast<long>(text.size());
    std::size_t n = std::min<std::size_t>(text.size(), size);
    std::memcpy(buffer, text.data(), n);
    return static_cast<long>(n);
}

bool ImmSetCompositionPos(Himc himc, POINT pt) {
    std::lock_guard lk(CoreState().mu);
    WindowRecord* rec = WindowOf(himc);
    if (rec == nullptr) return false;
    rec->imeSpot = pt;
    backend::ImeSpot(*rec, pt);
    return true;
}

bool SetClipboardText(const rt::Text& text) {
    if (text.empty()) return false;
    return backend::SetClipboardUtf8(rt::Cp936ToUtf8(text));
}

rt::Text GetClipboardText() {
    auto utf8 = backend::GetClipboardUtf8();
    if (!utf8) return {};
    return rt::Utf8ToCp936(*utf8);
}

bool IsClipboardTextAvailable() {
    auto utf8 = backend::GetClipboardUtf8();
    return utf8.has_value() && !utf8->empty();
}

}  // namespace plat
