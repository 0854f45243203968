// The menu grab: which window holds it, handed to the backend.
#include "platform/core/state.h"

namespace plat {

using namespace core;

bool GrabInput(Hwnd hwnd) {
    std::lock_guard lk(S().mu);
    WindowRecord* rec = Find(hwnd);
    if (rec == nullptr) return false;
    S().menuGrab = hwnd;
    backend::GrabMenuInput(rec);
    return true;
}

void ReleaseInputGrab(Hwnd hwnd) {
    std::lock_guard lk(S().mu);
    if (S().menuGrab != hwnd) return;
    S().menuGrab = nullptr;
    backend::GrabMenuInput(nullptr);
}

Hwnd GetInputGrab() {
    std::lock_guard lk(S().mu);
    return Find(S().menuGrab) != nullptr ? S().menuGrab : nullptr;
}

}  // namespace plat
