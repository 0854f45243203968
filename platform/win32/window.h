// The Windows side of one window: a layered top-level window, the DIB
// section that holds what is shown, its icons, and what its window
// procedure needs without the core's lock (cursor, minimum size, the
// input-method spot).
#pragma once

#include "platform/win32/win32.h"
#include "runtime/owned.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plat::win32 {

using OwnedWindow = rt::Owned<HWND__, ::DestroyWindow>;
using OwnedDc = rt::Owned<HDC__, ::DeleteDC>;
using OwnedBitmap = rt::Owned<HBITMAP__, ::DeleteObject>;
using OwnedIcon = rt::Owned<HICON__, ::DestroyIcon>;

// The pixels shown in a window: a top-down 32-bit DIB section selected into
// a memory DC, the source of UpdateLayeredWindow. Its layout is the core's
// display buffer (premultiplied BGRA, one row after the other).
class PixelBuffer {
public:
    PixelBuffer() = default;
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    // (Re)creates the buffer at the size; false when it cannot be made.
    bool Ensure(int width, int height);
    std::uint32_t* data() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }
    HDC dc() const { return dc_.get(); }

private:
    OwnedDc dc_;
    OwnedBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

struct Win32Window : core::NativeWindow {
    ~Win32Window() override;

    Hwnd hwnd = nullptr;  // the core's handle
    OwnedWindow window;
    PixelBuffer pixels;
    OwnedIcon bigIcon;
    OwnedIcon smallIcon;
    std::vector<OwnedIcon> retiredIcons;
    // Read by the window procedure on the window's thread, written under
    // the core's lock from any thread.
    std::atomic<int> cursorId{kArrowCursor};
    std::atomic<int> minTrackX{1};
    std::atomic<int> minTrackY{1};
    // The input method's composition window (at the caret) and candidate
    // list (under it), client pixels.
    std::atomic<int> compositionX{0};
    std::atomic<int> compositionY{0};
    std::atomic<int> candidatesX{0};
    std::atomic<int> candidatesY{0};
    // A title set from another thread, for the window procedure to apply.
    std::mutex titleMu;
    std::optional<std::wstring> pendingTitle;
    // The window procedure's own (window's thread only).
    bool trackingLeave = false;
    bool wasIconic = false;
    char16_t highSurrogate = 0;  // of a character sent in two halves
};

// The record's window, or null.
Win32Window* Native(core::WindowRecord& rec);
// The window of a native handle (null: not of our class, or being destroyed).
Win32Window* NativeOf(HWND window);

// True when the calling thread owns `window`: calls that send it messages
// are made synchronously only then (its thread may be waiting for the
// core's lock this thread holds).
bool OwnThread(HWND window);

// The system cursor of a cursor id (null for id 0: no cursor).
HCURSOR CursorHandle(int cursorId);

// Shows `rect` of the display buffer in the window (UpdateLayeredWindow);
// false when the buffer does not fit the window's size yet.
bool UpdateLayered(Win32Window& n, const RECT& rect);

// Starts the system's move (zone 0) or size loop from the window procedure,
// unless the left button is up already (a click moves nothing).
void RunMoveSize(HWND window, WPARAM zone);

// The window class of every window, registered on first use.
ATOM ClassAtom();

}  // namespace plat::win32
