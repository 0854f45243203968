#include "platform/win32/system_loop.h"

#include "platform/platform.h"

namespace plat::win32 {

void ServeCoreMessages() {
    thread_local bool serving = false;
    if (serving) return;
    serving = true;
    // A bounded batch: the system's loop must keep following the pointer.
    constexpr int kBatch = 256;
    MSG msg;
    for (int i = 0; i < kBatch && PeekMessage(&msg); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    serving = false;
}

}  // namespace plat::win32
