// Present: the pixels of a window in an XShm image (or plain memory) pushed
// to the X window, the shape kept in step with them, and the compositor query.
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/x11/shape.h"
#include "platform/x11/window.h"

namespace plat::x11 {

PixelImage::~PixelImage() { Release(); }

void PixelImage::Release() {
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    if (image_ != nullptr) {
        if (usesShm_) XShmDetach(x.dpy, &shmInfo_);
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
    }
    if (usesShm_) {
        shmdt(shmInfo_.shmaddr);
        usesShm_ = false;
    }
    inFlight_ = false;
    plain_.clear();
    data_ = nullptr;
    width_ = height_ = 0;
}

bool PixelImage::Ensure(int width, int height) {
    Display& x = XConnection();
    if (width == width_ && height == height_ && data_ != nullptr) return true;
    Release();
    std::lock_guard lk(x.mu);
    if (!x.Ok() || width <= 0 || height <= 0) return false;
    auto bytes = static_cast<std::size_t>(width) * height * 4;
    if (x.shm) {
        image_ =
            XShmCreateImage(x.dpy, x.visual, static_cast<unsigned>(x.depth), ZPixmap, nullptr,
                            &shmInfo_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image_ != nullptr && image_->bytes_per_line == width * 4) {
            shmInfo_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
            if (shmInfo_.shmid >= 0) {
                shmInfo_.shmaddr = static_cast<char*>(shmat(shmInfo_.shmid, nullptr, 0));
                shmInfo_.readOnly = False;
                if (shmInfo_.shmaddr != reinterpret_cast<char*>(-1)) {
                    x.Trap();
                    XShmAttach(x.dpy, &shmInfo_);
                    bool attached = x.Untrap();
                    // The segment goes away with its last user.
                    shmctl(shmInfo_.shmid, IPC_RMID, nullptr);
                    if (attached) {
                        image_->data = shmInfo_.shmaddr;
                        usesShm_ = true;
                    } else {
                        shmdt(shmInfo_.shmaddr);
                    }
                } else {
                    shmctl(shmInfo_.shmid, IPC_RMID, nullptr);
                }
            }
        }
        if (!usesShm_ && image_ != nullptr) {
            image_->data = nullptr;
            XDestroyImage(image_);
            image_ = nullptr;
        }
    }
    if (!usesShm_) {
        plain_.assign(static_cast<std::size_t>(width) * height, 0);
        image_ = XCreateImage(x.dpy, x.visual, static_cast<unsigned>(x.depth), ZPixmap, 0,
                              reinterpret_cast<char*>(plain_.data()), static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 32, width * 4);
        if (image_ == nullptr) return false;
        data_ = plain_.data();
    } else {
        // A fresh segment is zero already; touching it here would only fault
        // its pages in before the first present writes them.
        data_ = reinterpret_cast<std::uint32_t*>(shmInfo_.shmaddr);
    }
    width_ = width;
    height_ = height;
    return true;
}

void PixelImage::Put(Drawable target, GC gc, int x, int y, int w, int h) {
    Display& xc = XConnection();
    if (image_ == nullptr) return;
    if (usesShm_) {
        XShmPutImage(xc.dpy, target, gc, image_, x, y, x, y, static_cast<unsigned>(w),
                     static_cast<unsigned>(h), False);
        inFlight_ = true;
    } else {
        XPutImage(xc.dpy, target, gc, image_, x, y, x, y, static_cast<unsigned>(w),
                  static_cast<unsigned>(h));
    }
}

void PixelImage::AwaitServer() {
    if (!inFlight_) return;
    Display& x = XConnection();
    std::lock_guard lk(x.mu);
    XSync(x.dpy, False);
    inFlight_ = false;
    if (XEventsQueued(x.dpy, QueuedAfterReading) > 0) x.Kick();
}

}  // namespace plat::x11

namespace plat::core::backend {

using namespace plat::x11;

std::uint32_t* DisplayBuffer(WindowRecord& rec, int width, int height, int* strideBytes) {
    X11Window* n = Native(rec);
    if (n == nullptr || !n->image.Ensure(width, height)) return nullptr;
    // The caller writes into the image next.
    n->image.AwaitServer();
    *strideBytes = n->image.stride();
    return n->image.data();
}

void Push(WindowRecord& rec, const RECT& rect) {
    WithXWindow(rec, [&](X11Window& n, Display& x) {
        if (n.image.data() == nullptr) return;
        // An ordinary window is opaque: its alpha must not let a compositor
        // blend it.
        if (!(rec.exStyle & WS_EX_LAYERED) && x.argb)
            plat::core::MakeOpaque(n.image.data(), n.image.width(), rect);
        UpdateShape(rec, n, rect, false);
        n.image.Put(n.window, n.gc, rect.left, rect.top, rect.width(), rect.height());
        XFlush(x.dpy);
        if (XEventsQueued(x.dpy, QueuedAfterReading) > 0) x.Kick();
    });
}

bool Composited() { return XConnection().Composited(); }

}  // namespace plat::core::backend
