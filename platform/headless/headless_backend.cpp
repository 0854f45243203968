// The in-memory backend: windows are records, the clock is driven by tests,
// the clipboard lives in the process.
#include "platform/headless/headless_backend.h"

#include "platform/core/state.h"

namespace plat::headless::detail {

HeadlessState& HeadlessShared() {
    static HeadlessState state;
    return state;
}

}  // namespace plat::headless::detail

namespace plat::core::backend {

using plat::headless::detail::HeadlessShared;
using plat::headless::detail::HeadlessWindow;

namespace {

HeadlessWindow* Native(WindowRecord& rec) { return static_cast<HeadlessWindow*>(rec.native.get()); }

}  // namespace

std::unique_ptr<NativeQueue> CreateQueue() { return std::make_unique<NativeQueue>(); }

void Wait(ThreadQueue& queue, int timeoutMs) {
    if (timeoutMs == 0) return;
    // Time passes only when the test advances the clock, which wakes every
    // queue; a timeout therefore needs no real-time wait.
    std::unique_lock lk(CoreState().mu);
    queue.cv.Wait(lk, [&] { return queue.wakePending; });
}

void Wake(ThreadQueue&) {}

std::unique_ptr<NativeWindow> CreateNative(WindowRecord&) {
    auto n = std::make_unique<HeadlessWindow>();
    n->appName = CoreState().appName;
    n->appClass = CoreState().appClass;
    return n;
}
void Show(WindowRecord&, bool, bool) {}
void SetGeometry(WindowRecord&, const RECT&) {}
void SetTitle(WindowRecord&, const std::string&) {}
void StyleChanged(WindowRecord&) {}
void Raise(WindowRecord&) {}
void Activate(WindowRecord&) {}
void Iconify(WindowRecord&) {}
void SetMaximized(WindowRecord&, bool, const RECT&) {}
bool StartSystemMoveSize(WindowRecord&, ResizeZone, POINT, POINT) { return false; }
// Injected input reaches the core at once: its key state is the whole truth.
bool LeftButtonHeld() { return true; }
void GrabPointer(WindowRecord&, bool) {}
void GrabMenuInput(WindowRecord*) {}

std::uint32_t* DisplayBuffer(WindowRecord& rec, int width, int height, int* strideBytes) {
    HeadlessWindow* n = Native(rec);
    if (n == nullptr) return nullptr;
    if (n->width != width || n->height != height) {
        n->width = width;
        n->height = height;
        n->display.assign(static_cast<std::size_t>(width) * height, 0);
    }
    *strideBytes = width * 4;
    return n->display.data();
}

void Push(WindowRecord&, const RECT&) {}
void ShapeChanged(WindowRecord&) {}

void SetIcons(WindowRecord& rec) {
    if (HeadlessWindow* n = Native(rec)) n->icons = rec.icons;
}
void SetBlurBehind(WindowRecord&) {}

bool Composited() {
    std::lock_guard lk(HeadlessShared().mu);
    return HeadlessShared().composited;
}

void SetCursorShape(WindowRecord*, int) {}

RECT WorkArea() {
    std::lock_guard lk(HeadlessShared().mu);
    return HeadlessShared().workArea;
}

SIZE ScreenSize() {
    std::lock_guard lk(HeadlessShared().mu);
    return HeadlessShared().screen;
}

void ImeFocus(WindowRecord& rec, bool focused) {
    if (HeadlessWindow* n = Native(rec)) n->imeFocused = focused;
}

void ImeSpot(WindowRecord& rec, POINT spot) {
    if (HeadlessWindow* n = Native(rec)) n->imeSpot = spot;
}

std::uint64_t NowMs() { return HeadlessShared().clock.load(); }

void SleepMs(std::uint32_t ms) { plat::headless::AdvanceClock(ms); }

bool SetClipboardUtf8(const std::string& utf8) {
    std::lock_guard lk(HeadlessShared().mu);
    HeadlessShared().clipboard = utf8;
    return true;
}

std::optional<std::string> GetClipboardUtf8() {
    std::lock_guard lk(HeadlessShared().mu);
    return HeadlessShared().clipboard;
}

bool MessageBoxAutoClose() {
    std::lock_guard lk(HeadlessShared().mu);
    return HeadlessShared().messageBoxAutoClose;
}

void MessageBoxShown(const rt::Text& caption, const rt::Text& text) {
    std::lock_guard lk(HeadlessShared().mu);
    HeadlessShared().boxes.push_back({caption, text});
}

}  // namespace plat::core::backend
