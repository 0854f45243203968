// The standard cursors: the core's cursor ids are the system's own.
#include "platform/win32/window.h"

namespace plat::win32 {

HCURSOR CursorHandle(int cursorId) {
    if (cursorId == 0) return nullptr;
    HCURSOR cursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(cursorId));
    return cursor != nullptr ? cursor : ::LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
}

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

void SetCursorShape(WindowRecord* rec, int cursorId) {
    Win32Window* n = rec != nullptr ? Native(*rec) : nullptr;
    if (n == nullptr || !n->window) return;
    n->cursorId = cursorId;
    // WM_SETCURSOR keeps it while the pointer stays over the window.
    if (OwnThread(n->window.get())) ::SetCursor(CursorHandle(cursorId));
}

}  // namespace plat::core::backend
