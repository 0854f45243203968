// The pixels shown in a window: an XShm segment when the server offers one,
// else ordinary memory sent with XPutImage.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <vector>

namespace plat::x11 {

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
    // Sends a rectangle of the image to `target`. A shared-memory image is
    // read by the server later: AwaitServer before writing into it again.
    void Put(Drawable target, GC gc, int x, int y, int w, int h);
    // Waits until the server has read what was put; a round trip only when
    // something is in flight.
    void AwaitServer();

private:
    void Release();
    XImage* image_ = nullptr;
    XShmSegmentInfo shmInfo_{};
    bool usesShm_ = false;
    bool inFlight_ = false;
    std::vector<std::uint32_t> plain_;
    std::uint32_t* data_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace plat::x11
