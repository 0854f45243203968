// UiRedrawQueue: the dirty rectangles of one host window waiting to be
// recomposed. A run takes them in order (rectangles added meanwhile join the
// same run) and a layered window is presented once at the end of the run.
#pragma once

#include <deque>

#include "ui/core/types.h"

namespace ui {

class UiWindow;
enum class RedrawMode;

class UiRedrawQueue {
public:
    void Init(NativeWindow window, UiWindow* host, gfx::Graphics* graphics);
    void Clear();
    // Front inserts at the front, anything else appends.
    void Add(const RectF& rect, RedrawMode mode);
    // Runs the queue unless a run is already in progress.
    void Process();
    bool Busy() const { return busy_; }
    std::size_t Pending() const { return pending_.size(); }

private:
    NativeWindow window_{};
    UiWindow* host_ = nullptr;
    gfx::Graphics* graphics_ = nullptr;
    std::deque<RectF> pending_;
    bool busy_ = false;
};

}  // namespace ui
