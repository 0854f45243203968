#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gfx/cairo/cairo_gfx.h"
#include "platform/gfx/image_codecs.h"

namespace gfx {

namespace {

struct Reader {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

cairo_status_t Read(void* closure, unsigned char* data, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->bytes.size() - r->pos < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, r->bytes.data() + r->pos, length);
    r->pos += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes) {
    Reader reader{bytes, 0};
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> decoded(
        cairo_image_surface_create_from_png_stream(&Read, &reader), &cairo_surface_destroy);
    if (cairo_surface_status(decoded.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    const int w = cairo_image_surface_get_width(decoded.get()),
              h = cairo_image_surface_get_height(decoded.get());
    if (!AcceptableSize(static_cast<std::uint64_t>(w), static_cast<std::uint64_t>(h)))
        return std::nullopt;

    // Cairo gives opaque images as RGB24 (and grey ones as other formats):
    // paint into a 32-bit ARGB bitmap.
    Bitmap bitmap(w, h);
    if (!bitmap.IsValid()) return std::nullopt;
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(
        cairo_create(CairoSurfaceOf(*bitmap.SharedSurface())), &cairo_destroy);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr.get(), decoded.get(), 0, 0);
    cairo_paint(cr.get());
    cr.reset();
    return StillImage(ImageFormat::Png, std::move(bitmap));
}

}  // namespace gfx
