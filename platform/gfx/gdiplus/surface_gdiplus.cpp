// GDI+ start-up, bitmaps as GDI+ bitmaps over the layer's pixels, and the
// path coverage behind regions.
#include <mutex>

#include "platform/gfx/gdiplus/gdiplus_gfx.h"

namespace gfx {

void EnsureGdiplus() {
    static std::once_flag once;
    std::call_once(once, [] {
        gp::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        gp::GdiplusStartup(&token, &input, nullptr);
    });
}

struct NativeSurface {
    GpBitmapOwner bitmap;
};

void DestroyNativeSurface(NativeSurface* native) { delete native; }

NativeSurface* CreateNativeSurface(Surface& s) {
    EnsureGdiplus();
    gp::GpBitmap* bitmap = nullptr;
    if (flat::GdipCreateBitmapFromScan0(s.width, s.height, s.stride, PixelFormat32bppPARGB,
                                        s.pixels.get(), &bitmap) != gp::Ok)
        return nullptr;
    return new NativeSurface{GpBitmapOwner(bitmap)};
}

// GDI+ draws straight into the pixels and caches nothing of them.
void FinishDrawing(const Surface&) {}
void PixelsWritten(Surface&) {}

gp::GpBitmap* GpBitmapOf(const Surface& s) { return s.native->bitmap.get(); }

std::vector<std::uint8_t> RasterisePath(const Path& path, float offset, const RectI& area) {
    Bitmap mask(area.width, area.height);
    if (!mask.IsValid()) return {};
    {
        gp::GpGraphics* raw = nullptr;
        if (flat::GdipGetImageGraphicsContext(GpBitmapOf(*mask.SharedSurface()), &raw) != gp::Ok)
            return {};
        GpGraphicsOwner g(raw);
        // Pixel centres at half-integer coordinates, as the mask's pixels
        // are counted.
        flat::GdipSetPixelOffsetMode(g.get(), gp::PixelOffsetModeHalf);
        flat::GdipSetSmoothingMode(g.get(), gp::SmoothingModeNone);
        GpPathOwner p = MakeGpPath(path, offset - area.x, offset - area.y);
        GpBrushOwner brush = MakeGpBrush(SolidBrush(0xFFFFFFFF));
        flat::GdipFillPath(g.get(), brush.get(), p.get());
    }
    std::vector<std::uint8_t> out(static_cast<std::size_t>(area.width) * area.height);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            out[static_cast<std::size_t>(y) * area.width + x] =
                static_cast<std::uint8_t>(mask.GetRawPixel(x, y) >> 24);
    return out;
}

}  // namespace gfx
