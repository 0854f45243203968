// The X side of one window: the X window, its GC, the shared-memory image
// that holds what is shown, the input context and the shape last applied.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <map>
#include <vector>

#include "platform/core/backend.h"

namespace plat::x11 {

// The pixels shown in a window: an XShm segment when the server offers one,
// else ordinary memory sent with XPutImage.
class PixelImage {
public:
    PixelImage() = default;
    ~PixelImage();
    PixelImage(const PixelImage&) = delete;
    PixelImage& operator=(const PixelImage&) = delete;

    // (Re)creates the image at the size; false when it cannot be made.
    bool Ensure(int width, int height);
    std::uint32_t* data() const { return data_; }
    int stride() const { return width_ * 4; }
    int width() const { return width_; }
    int height() const { return height_; }
    void Put(Drawable target, GC gc, int x, int y, int w, int h);

private:
    void Release();
    XImage* image_ = nullptr;
    XShmSegmentInfo shmInfo_{};
    bool usesShm_ = false;
    std::vector<std::uint32_t> plain_;
    std::uint32_t* data_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

struct X11Window : core::NativeWindow {
    ~X11Window() override;

    Hwnd hwnd = nullptr;
    Window window = 0;
    GC gc = nullptr;
    XIC ic = nullptr;
    XIMStyle icStyle = 0;
    bool overrideRedirect = false;
    bool mapped = false;  // as requested by the layer
    PixelImage image;
    // Shape: rows of opaque runs of the kept picture, and whether a shape is set.
    std::vector<std::vector<std::pair<int, int>>> runs;
    bool shaped = false;
    bool lastComposited = false;
    int cursorId = -1;
    // A _NET_WM_MOVERESIZE was sent for the press now held.
    bool moveResizePending = false;
};

// Ends a _NET_WM_MOVERESIZE the manager may have started after the button
// was released already. Needs XConnection().mu.
void CancelMoveResize(X11Window& n);

// The window of an X id (null when none of ours); needs XConnection().mu.
X11Window* NativeOfX(Window w);

}  // namespace plat::x11
