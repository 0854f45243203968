// The menu grab: which window holds it, handed to the backend.
#include "platform/core/state.h"

namespace plat {

using namespace core;

bool GrabInput(Hwnd hwnd) {
    std::lock_guard lk(CoreState().mu);
    WindowRecord* rec = Find(hwnd);
    if (rec == nullptr) return false;
    CoreState().menuGrab = hwnd;
    backend::GrabMenuInput(rec);
    return true;
}

void ReleaseInputGrab(Hwnd hwnd) {
    std::lock_guard lk(CoreState().mu);
    if (CoreState().menuGrab != hwnd) return;
    CoreState().menuGrab = nullptr;
    backend::GrabMenuInput(nullptr);
}

Hwnd GetInputGrab() {
    std::lock_guard lk(CoreState().mu);
    return Find(CoreState().menuGrab) != nullptr ? CoreState().menuGrab : nullptr;
}

}  // namespace plat
