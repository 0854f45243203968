// What a window shows: the display buffer (a DIB section), pushed with
// UpdateLayeredWindowIndirect and the picture's own alpha; the window
// region; blur behind where the desktop composes windows.
#include "platform/win32/window.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace plat::win32 {

namespace {

using OwnedRegion = rt::Owned<HRGN__, ::DeleteObject>;

// A region of the rectangles' union (null for none).
OwnedRegion RegionOf(const std::vector<RECT>& rects) {
    std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(::RECT));
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    rgn->rdh.dwSize = sizeof(RGNDATAHEADER);
    rgn->rdh.iType = RDH_RECTANGLES;
    rgn->rdh.nCount = static_cast<::DWORD>(rects.size());
    rgn->rdh.nRgnSize = static_cast<::DWORD>(rects.size() * sizeof(::RECT));
    ::RECT bounds{0, 0, 0, 0};
    auto* out = reinterpret_cast<::RECT*>(rgn->Buffer);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        out[i] = ::RECT{r.left, r.top, r.right, r.bottom};
        if (i == 0) bounds = out[i];
        bounds.left = std::min(bounds.left, out[i].left);
        bounds.top = std::min(bounds.top, out[i].top);
        bounds.right = std::max(bounds.right, out[i].right);
        bounds.bottom = std::max(bounds.bottom, out[i].bottom);
    }
    rgn->rdh.rcBound = bounds;
    return OwnedRegion(::ExtCreateRegion(nullptr, static_cast<::DWORD>(data.size()), rgn));
}

// The size the system gives the window's picture (its size before it was
// minimised while it is).
::SIZE NativeSize(HWND window) {
    ::RECT r{};
    if (::IsIconic(window)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ::GetWindowPlacement(window, &wp);
        r = wp.rcNormalPosition;
    } else {
        ::GetWindowRect(window, &r);
    }
    return ::SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

PixelBuffer::~PixelBuffer() {
    if (dc_ && original_ != nullptr) ::SelectObject(dc_.get(), original_);
}

bool PixelBuffer::Ensure(int width, int height) {
    if (width == width_ && height == height_ && bits_ != nullptr) return true;
    if (width <= 0 || height <= 0) return false;
    if (!dc_) dc_.reset(::CreateCompatibleDC(nullptr));
    if (!dc_) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the core's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return false;
    HGDIOBJ previous = ::SelectObject(dc_.get(), bitmap.get());
    if (original_ == nullptr) original_ = previous;
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

bool UpdateLayered(Win32Window& n, const RECT& rect) {
    PixelBuffer& px = n.pixels;
    if (!n.window || px.data() == nullptr) return false;
    // A picture of another size than the window would resize it: the
    // window waits for the picture of its new size (a system sizing loop
    // changes the size before the program has drawn it).
    ::SIZE size = NativeSize(n.window.get());
    if (size.cx != px.width() || size.cy != px.height()) return false;
    ::POINT source{0, 0};
    ::RECT dirty{rect.left, rect.top, rect.right, rect.bottom};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO info{};
    info.cbSize = sizeof info;
    info.psize = &size;
    info.hdcSrc = px.dc();
    info.pptSrc = &source;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA;
    info.prcDirty = &dirty;
    ::GdiFlush();
    return ::UpdateLayeredWindowIndirect(n.window.get(), &info) != FALSE;
}

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

std::uint32_t* DisplayBuffer(WindowRecord& rec, int width, int height, int* strideBytes) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->pixels.Ensure(width, height)) return nullptr;
    *strideBytes = width * 4;
    return n->pixels.data();
}

void Push(WindowRecord& rec, const RECT& rect) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window || n->pixels.data() == nullptr) return;
    PixelBuffer& px = n->pixels;
    // An ordinary window is opaque whatever the alpha of its picture.
    if (!(rec.exStyle & WS_EX_LAYERED)) plat::core::MakeOpaque(px.data(), px.width(), rect);
    UpdateLayered(*n, rect);
}

void ShapeChanged(WindowRecord& rec) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window) return;
    // The system owns the region once it is set.
    HRGN region = rec.hasRegion ? RegionOf(rec.region.rects).release() : nullptr;
    if (!::SetWindowRgn(n->window.get(), region, TRUE) && region != nullptr) ::DeleteObject(region);
}

void SetBlurBehind(WindowRecord& rec) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window || !Composited()) return;
    OwnedRegion region;
    DWM_BLURBEHIND blur{};
    blur.dwFlags = DWM_BB_ENABLE;
    blur.fEnable = rec.blur ? TRUE : FALSE;
    if (rec.blur && rec.blurHasRegion) {
        region = RegionOf(rec.blurRegion.rects);
        blur.dwFlags |= DWM_BB_BLURREGION;
        blur.hRgnBlur = region.get();
    }
    ::DwmEnableBlurBehindWindow(n->window.get(), &blur);
}

}  // namespace plat::core::backend
