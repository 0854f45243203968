#include "ui/core/redraw_queue.h"

#include "ui/core/window.h"

#include <vector>

namespace ui {

void UiRedrawQueue::Init(NativeWindow window, UiWindow* host, gfx::Graphics* graphics) {
    window_ = window;
    host_ = host;
    graphics_ = graphics;
    pending_.clear();
}

void UiRedrawQueue::Clear() {
    pending_.clear();
    host_ = nullptr;
    graphics_ = nullptr;
    window_ = nullptr;
}

void UiRedrawQueue::Add(const RectF& rect, RedrawMode mode) {
    if (mode == RedrawMode::Front) {
        pending_.push_front(rect);
    } else {
        pending_.push_back(rect);
    }
}

void UiRedrawQueue::Process() {
    if (busy_ || !host_) return;
    busy_ = true;
    const bool perRect = !host_->Layered();
    std::vector<RectF> redrawn;
    // Rectangles queued while one is redrawn join this run, and so do the
    // invalidations already posted behind this one: a burst is one run.
    for (;;) {
        while (!pending_.empty()) {
            const RectF rect = pending_.front();
            pending_.pop_front();
            host_->RedrawRect(rect, perRect);
            if (!perRect) redrawn.push_back(rect);
        }
        plat::MSG msg;
        while (plat::PeekMessage(&msg, window_, HM_INVALIDATE, HM_INVALIDATE, plat::PM_REMOVE)) {
            Add(UnpackRect(msg.lParam), RedrawModeOf(msg.wParam));
        }
        if (pending_.empty() || !host_) break;
    }
    if (!perRect && !host_->Suspended()) host_->PresentRedrawn(redrawn);
    busy_ = false;
}

}  // namespace ui
