#include "platform/win32/ime.h"

#include <imm.h>

#include <string>

#include "platform/win32/events.h"
#include "runtime/codepage.h"

namespace plat::win32 {

namespace {

void PlaceComposition(HWND window, const Win32Window& n) {
    HIMC context = ::ImmGetContext(window);
    if (context == nullptr) return;
    COMPOSITIONFORM composition{CFS_POINT, {n.compositionX.load(), n.compositionY.load()}, {}};
    ::ImmSetCompositionWindow(context, &composition);
    CANDIDATEFORM candidates{0, CFS_CANDIDATEPOS, {n.candidatesX.load(), n.candidatesY.load()}, {}};
    ::ImmSetCandidateWindow(context, &candidates);
    ::ImmReleaseContext(window, context);
}

std::string ResultString(HWND window) {
    HIMC context = ::ImmGetContext(window);
    if (context == nullptr) return {};
    LONG bytes = ::ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
    std::u16string text(bytes > 0 ? static_cast<std::size_t>(bytes) / 2 : 0, u'\0');
    if (!text.empty())
        ::ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(),
                                   static_cast<::DWORD>(bytes));
    ::ImmReleaseContext(window, context);
    return rt::WideToMultiByte(rt::kCodePageUtf8, text);
}

}  // namespace

bool ImeMessage(HWND window, Win32Window& n, UINT msg, WPARAM wParam, LPARAM lParam,
                LRESULT* result) {
    Hwnd h = n.hwnd;
    switch (msg) {
    case WM_IME_STARTCOMPOSITION:
        PlaceComposition(window, n);
        *result = ::DefWindowProcW(window, msg, wParam, lParam);
        return true;
    case WM_IME_COMPOSITION: {
        // The committed string goes to the core whole; the default
        // procedure would break it into WM_IME_CHAR messages.
        if (lParam & GCS_RESULTSTR) {
            std::string text = ResultString(window);
            if (!text.empty()) Later([h, text] { core::events::Commit(h, text); });
            lParam &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR |
                                           GCS_RESULTREADCLAUSE);
        }
        *result = lParam != 0 ? ::DefWindowProcW(window, msg, wParam, lParam) : 0;
        return true;
    }
    case WM_IME_CHAR: {
        // From an input method that sends characters instead of a result.
        std::u16string unit(1, static_cast<char16_t>(wParam));
        std::string text = rt::WideToMultiByte(rt::kCodePageUtf8, unit);
        Later([h, text] { core::events::Commit(h, text); });
        *result = 0;
        return true;
    }
    default: return false;
    }
}

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

void ImeFocus(WindowRecord& rec, bool focused) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window || !OwnThread(n->window.get())) return;
    // A detached context (ImmAssociateContext with null) types code-page
    // bytes as WM_CHAR: the window has no input method then.
    HWND window = n->window.get();
    ::ImmAssociateContextEx(window, nullptr, rec.imeAttached ? IACE_DEFAULT : 0);
    if (focused && rec.imeAttached) PlaceComposition(window, *n);
}

void ImeSpot(WindowRecord& rec, POINT spot) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window) return;
    // The spot is under the caret; the composition window covers the caret.
    const Caret& caret = rec.queue->caret;
    bool hasCaret = caret.hwnd == rec.handle;
    n->compositionX = hasCaret ? caret.pos.x : spot.x;
    n->compositionY = hasCaret ? caret.pos.y : spot.y;
    n->candidatesX = spot.x;
    n->candidatesY = spot.y;
    if (OwnThread(n->window.get())) PlaceComposition(n->window.get(), *n);
}

}  // namespace plat::core::backend
