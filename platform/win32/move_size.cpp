// Moves and sizes by the system's own loop, started only while the left
// button is down; the mouse capture and the menu's input grab.
#include <algorithm>

#include "platform/win32/events.h"
#include "platform/win32/window.h"

namespace plat::win32 {

namespace {

int PrimaryButton() { return ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON; }

bool PrimaryButtonDown() { return (::GetAsyncKeyState(PrimaryButton()) & 0x8000) != 0; }

HWND WindowOf(Hwnd h) {
    core::WindowRecord* rec = core::Find(h);
    Win32Window* n = rec != nullptr ? Native(*rec) : nullptr;
    return n != nullptr ? n->window.get() : nullptr;
}

// Native capture for the core's capture, else for the menu grab. Needs the
// core's lock.
void CaptureFor(HWND current) {
    HWND wanted = WindowOf(core::CoreState().capture);
    if (wanted == nullptr) wanted = WindowOf(core::CoreState().menuGrab);
    if (wanted != nullptr && !OwnThread(wanted)) return;
    if (wanted != nullptr) {
        if (::GetCapture() != wanted) ::SetCapture(wanted);
    } else if (::GetCapture() == current || current == nullptr) {
        ::ReleaseCapture();
    }
}

}  // namespace

void RunMoveSize(HWND window, WPARAM zone) {
    // The press was a click, released by now: nothing moves.
    if (!PrimaryButtonDown()) return;
    ::ReleaseCapture();
    ::POINT at{};
    ::GetCursorPos(&at);
    // SC_MOVE + HTCAPTION moves with the pointer; SC_SIZE + WMSZ_ edge
    // sizes, and the zones are numbered as the WMSZ_ edges.
    WPARAM command =
        zone == static_cast<WPARAM>(ResizeZone::Move) ? SC_MOVE | HTCAPTION : SC_SIZE | zone;
    ::DefWindowProcW(window, WM_SYSCOMMAND, command, MAKELPARAM(at.x, at.y));
}

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

bool StartSystemMoveSize(WindowRecord& rec, ResizeZone zone, POINT, POINT minSize) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window) return false;
    n->minTrackX = std::max(1, minSize.x);
    n->minTrackY = std::max(1, minSize.y);
    // The loop runs from the window procedure once the core's lock is free;
    // the system ends it at the release, which the core then never sees.
    return ::PostMessageW(n->window.get(), kStartMoveSize, static_cast<WPARAM>(zone), 0) != 0;
}

bool LeftButtonHeld() { return PrimaryButtonDown(); }

void GrabPointer(WindowRecord& rec, bool) {
    Win32Window* n = Native(rec);
    CaptureFor(n != nullptr ? n->window.get() : nullptr);
}

void GrabMenuInput(WindowRecord* rec) {
    Win32Window* n = rec != nullptr ? Native(*rec) : nullptr;
    CaptureFor(n != nullptr ? n->window.get() : nullptr);
}

}  // namespace plat::core::backend
