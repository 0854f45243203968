// What a backend (x11 or headless) supplies to the shared core. Each backend
// defines these functions; the linker picks one set. None of them is called
// with the core's lock held unless its comment says so.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace plat::core {

struct WindowRecord;
struct ThreadQueue;

// Backend-owned part of a window; destroyed with the window.
struct NativeWindow {
    virtual ~NativeWindow() = default;
};

// Backend-owned part of a thread's queue (the wake-up channel).
struct NativeQueue {
    virtual ~NativeQueue() = default;
};

namespace backend {

std::unique_ptr<NativeQueue> CreateQueue();
// Blocks until Wake, a native event or the timeout (ms; < 0 = none, 0 = just
// poll). Native events read meanwhile are handed to the core.
void Wait(ThreadQueue& queue, int timeoutMs);
void Wake(ThreadQueue& queue);

// Window life. `rec` fields (rect, style, exStyle, text) are already set.
std::unique_ptr<NativeWindow> CreateNative(WindowRecord& rec);
void Show(WindowRecord& rec, bool show, bool activate);
void SetGeometry(WindowRecord& rec, const RECT& rect);
void SetTitle(WindowRecord& rec, const std::string& utf8);
void StyleChanged(WindowRecord& rec);
void Raise(WindowRecord& rec);
void Activate(WindowRecord& rec);
void Iconify(WindowRecord& rec);
void SetMaximized(WindowRecord& rec, bool maximized, const RECT& rect);
// Starts a window-manager move (zone 0) or size (zone 1..8) that keeps at
// least `minSize`; false when no window manager does it (the core then runs
// its own pointer-grab loop).
bool StartSystemMoveSize(WindowRecord& rec, int zone, POINT cursor, POINT minSize);
// Whether the left button is down on the window system now; the core's key
// state lags behind it by the events not read yet.
bool LeftButtonHeld();
void GrabPointer(WindowRecord& rec, bool grab);
// The menu grab of GrabInput: pointer and keyboard (null: release).
void GrabMenuInput(WindowRecord* rec);

// The pixel buffer that is shown, `width` x `height`, 4 bytes a pixel;
// (re)allocated by the backend when the size changes. Called with the lock.
std::uint32_t* DisplayBuffer(WindowRecord& rec, int width, int height, int* strideBytes);
// Pushes `rect` of the display buffer to the screen (called with the lock).
void Push(WindowRecord& rec, const RECT& rect);
// The window's shape changed (region or, without compositor, transparency).
void ShapeChanged(WindowRecord& rec);
void SetBlurBehind(WindowRecord& rec);
bool Composited();

void SetCursorShape(WindowRecord* rec, int cursorId);
POINT CursorPos();
RECT WorkArea();
SIZE ScreenSize();

// The input method of a window: focus and the pre-edit spot (client pixels).
void ImeFocus(WindowRecord& rec, bool focused);
void ImeSpot(WindowRecord& rec, POINT spot);

// Clock.
std::uint64_t NowMs();
void SleepMs(std::uint32_t ms);

// Clipboard as UTF-8.
bool SetClipboardUtf8(const std::string& utf8);
std::optional<std::string> GetClipboardUtf8();

// True when a message box should close as soon as it is shown (no user).
bool MessageBoxAutoClose();
void MessageBoxShown(const rt::Text& caption, const rt::Text& text);

}  // namespace backend
}  // namespace plat::core
