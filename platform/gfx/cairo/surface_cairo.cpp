// Bitmaps as cairo image surfaces over the layer's pixels, and the path
// coverage behind regions.
#include <cairo.h>

#include <algorithm>

#include "platform/gfx/backend.h"
#include "platform/gfx/cairo/cairo_gfx.h"

namespace gfx {

struct NativeSurface {
    rt::Owned<cairo_surface_t, cairo_surface_destroy> surface;
};

void DestroyNativeSurface(NativeSurface* native) { delete native; }

NativeSurface* CreateNativeSurface(Surface& s) {
    rt::Owned<cairo_surface_t, cairo_surface_destroy> surface(cairo_image_surface_create_for_data(
        s.pixels.get(), CAIRO_FORMAT_ARGB32, s.width, s.height, s.stride));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return new NativeSurface{std::move(surface)};
}

void FinishDrawing(const Surface& s) { cairo_surface_flush(s.native->surface.get()); }

void PixelsWritten(Surface& s) { cairo_surface_mark_dirty(s.native->surface.get()); }

cairo_surface_t* CairoSurfaceOf(const Surface& s) { return s.native->surface.get(); }

std::vector<std::uint8_t> RasterisePath(const Path& path, float offset, const RectI& area) {
    rt::Owned<cairo_surface_t, cairo_surface_destroy> mask(
        cairo_image_surface_create(CAIRO_FORMAT_A8, area.width, area.height));
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return {};
    {
        rt::Owned<cairo_t, cairo_destroy> cr(cairo_create(mask.get()));
        cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
        cairo_translate(cr.get(), offset - area.x, offset - area.y);
        AppendPath(cr.get(), path);
        cairo_set_fill_rule(cr.get(), path.GetFillMode() == FillMode::Winding
                                          ? CAIRO_FILL_RULE_WINDING
                                          : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr.get());
    }
    cairo_surface_flush(mask.get());
    const unsigned char* data = cairo_image_surface_get_data(mask.get());
    const int stride = cairo_image_surface_get_stride(mask.get());
    std::vector<std::uint8_t> out(static_cast<std::size_t>(area.width) * area.height);
    for (int y = 0; y < area.height; ++y)
        std::copy_n(data + static_cast<std::size_t>(y) * stride, area.width,
                    out.begin() + static_cast<std::ptrdiff_t>(y) * area.width);
    return out;
}

}  // namespace gfx
