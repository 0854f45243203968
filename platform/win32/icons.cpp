// The window's icons from the embedded pictures: the taskbar's and the
// window switcher's (ICON_BIG) and the small one (ICON_SMALL), each made
// from the picture nearest the size the system uses.
#include <cstring>

#include "platform/win32/window.h"

namespace plat::win32 {

namespace {

// The smallest picture at least `size` wide, else the largest.
const IconImage* Nearest(const std::vector<IconImage>& images, int size) {
    const IconImage* fitting = nullptr;
    const IconImage* largest = nullptr;
    for (const IconImage& image : images) {
        if (image.width >= size && (fitting == nullptr || image.width < fitting->width))
            fitting = &image;
        if (largest == nullptr || image.width > largest->width) largest = &image;
    }
    return fitting != nullptr ? fitting : largest;
}

// An icon of straight ARGB pixels: a 32-bit colour bitmap carries the
// alpha, the mask only has to be there.
OwnedIcon IconOf(const IconImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap colour(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    OwnedBitmap mask(::CreateBitmap(image.width, image.height, 1, 1, nullptr));
    if (!colour || !mask || bits == nullptr) return nullptr;
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * 4);
    ICONINFO icon{TRUE, 0, 0, mask.get(), colour.get()};
    return OwnedIcon(::CreateIconIndirect(&icon));
}

void SetIcon(HWND window, WPARAM which, HICON icon) {
    if (OwnThread(window))
        ::SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    else ::PostMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

}  // namespace

}  // namespace plat::win32

namespace plat::core::backend {

using namespace plat::win32;

void SetIcons(WindowRecord& rec) {
    Win32Window* n = Native(rec);
    if (n == nullptr || !n->window) return;
    OwnedIcon large, little;
    if (const IconImage* image = Nearest(rec.icons, ::GetSystemMetrics(SM_CXICON)))
        large = IconOf(*image);
    if (const IconImage* image = Nearest(rec.icons, ::GetSystemMetrics(SM_CXSMICON)))
        little = IconOf(*image);
    HWND window = n->window.get();
    SetIcon(window, ICON_BIG, large.get());
    SetIcon(window, ICON_SMALL, little.get());
    // A posted change still names the icons it replaces: they stay until
    // the window goes.
    if (!OwnThread(window)) {
        n->retiredIcons.push_back(std::move(n->bigIcon));
        n->retiredIcons.push_back(std::move(n->smallIcon));
    }
    n->bigIcon = std::move(large);
    n->smallIcon = std::move(little);
}

}  // namespace plat::core::backend
