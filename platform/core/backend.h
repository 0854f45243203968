// What a backend (x11 or headless) supplies to the shared core. Each backend
// defines these functions; the linker picks one set.
//
// Lock contract: the functions of the first group are called with the core's
// lock (CoreState().mu) held, because they read or change the window record
// they are given, or other records (CreateNative looks up the owner). They
// must not take the core's lock nor call back into the core; a backend lock
// of their own may be taken under it (x11/display.h: core lock, then X lock,
// never the other way round). The functions of the second group are called
// without the core's lock; the headless Wait takes it itself.
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

// ---- called with the core's lock held

// Window life. `rec` fields (rect, style, exStyle, text, owner) are set;
// the window takes the application identity of the core's state. Null when
// there is no window system to make it on.
std::unique_ptr<NativeWindow> CreateNative(WindowRecord& rec);
void SetTitle(WindowRecord& rec, const std::string& utf8);
void Show(WindowRecord& rec, bool show, bool activate);
void SetGeometry(WindowRecord& rec, const RECT& rect);
// Style or exStyle changed (top-most, layered).
void StyleChanged(WindowRecord& rec);
void Raise(WindowRecord& rec);
void Activate(WindowRecord& rec);
void Iconify(WindowRecord& rec);
void SetMaximized(WindowRecord& rec, bool maximized, const RECT& rect);
// Starts a window-manager move or size from `zone` that keeps at least
// `minSize`; false when no window manager does it (the core then runs its
// own pointer-grab loop).
bool StartSystemMoveSize(WindowRecord& rec, ResizeZone zone, POINT cursor, POINT minSize);
// Whether the left button is down on the window system now; the core's key
// state lags behind it by the events not read yet.
bool LeftButtonHeld();
void GrabPointer(WindowRecord& rec, bool grab);
// The menu grab of GrabInput: pointer and keyboard (null: release).
void GrabMenuInput(WindowRecord* rec);

// The pixel buffer that is shown, `width` x `height`, 4 bytes a pixel;
// (re)allocated by the backend when the size changes.
std::uint32_t* DisplayBuffer(WindowRecord& rec, int width, int height, int* strideBytes);
// Pushes `rect` of the display buffer to the screen.
void Push(WindowRecord& rec, const RECT& rect);
// The window's shape changed (region or, without compositor, transparency).
void ShapeChanged(WindowRecord& rec);
void SetBlurBehind(WindowRecord& rec);

// The window's icons changed (rec.icons).
void SetIcons(WindowRecord& rec);

// The cursor over `rec` (null: none of ours is under the pointer).
void SetCursorShape(WindowRecord* rec, int cursorId);

// The input method of a window: focus and the pre-edit spot (client pixels).
void ImeFocus(WindowRecord& rec, bool focused);
void ImeSpot(WindowRecord& rec, POINT spot);

// Wakes the queue's thread from Wait.
void Wake(ThreadQueue& queue);

// ---- called without the core's lock

std::unique_ptr<NativeQueue> CreateQueue();
// Blocks until Wake, a native event or the timeout (ms; < 0 = none, 0 = just
// poll). Native events read meanwhile are handed to the core.
void Wait(ThreadQueue& queue, int timeoutMs);

bool Composited();
RECT WorkArea();
SIZE ScreenSize();

// Clock; NowMs may also be called with the lock held.
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
