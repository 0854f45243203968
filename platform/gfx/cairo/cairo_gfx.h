// The types the Cairo/Pango backend shares between its files (internal).
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <optional>

#include "platform/gfx/backend.h"
#include "platform/gfx/graphics.h"
#include "runtime/owned.h"

namespace gfx {

struct Font::Native {
    // Family, size in device units, weight and slant; underline and
    // strike-out are applied per layout.
    rt::Owned<PangoFontDescription, pango_font_description_free> desc;
    float height = 0;
};

// The cairo image surface over a bitmap's pixels.
cairo_surface_t* CairoSurfaceOf(const Surface& surface);

// Replays the path into `cr` as its current path (the context's own
// transformation applies).
void AppendPath(cairo_t* cr, const Path& path);

// Makes the brush the source of `cr` (shared by shape and text drawing).
void SetBrushSource(cairo_t* cr, const Brush& brush);

// Cairo font options for a text rendering hint.
void ApplyTextHint(cairo_t* cr, TextRenderingHint hint);

struct Graphics::Impl : GraphicsState {
    std::shared_ptr<Surface> target;  // kept alive while the context draws on it
    rt::Owned<cairo_t, cairo_destroy> cr;

    float Offset() const { return pixelOffset == PixelOffsetMode::None ? 0.5f : 0.0f; }
    cairo_operator_t Operator() const {
        return compositing == CompositingMode::SourceCopy ? CAIRO_OPERATOR_SOURCE
                                                          : CAIRO_OPERATOR_OVER;
    }

    // Hands `clip` to the context.
    void ApplyClip();
    // Sets up a vector operation (pixel offset, anti-aliasing, operator);
    // EndShape undoes it.
    void BeginShape();
    void EndShape();
    void Fill(const Brush& brush, FillMode mode);
    void Stroke(const Pen& pen);
    // Draws the area `source` of `image` scaled into `dest` at opacity `alpha`.
    void Image(const Bitmap& image, const RectF& dest, const RectF& source, double alpha);
};

}  // namespace gfx
