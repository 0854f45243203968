// What a drawing backend (cairo/, gdiplus/) provides to the layer's shared
// code, and the pixels behind a Bitmap (internal to the drawing layer).
//
// The pixel memory belongs to the layer, so the pixel operations of Bitmap
// are the same code whatever draws; the backend wraps that memory without
// copying it (a cairo image surface, a GDI+ bitmap).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/path.h"
#include "platform/gfx/region.h"
#include "runtime/owned.h"

namespace gfx {

struct NativeSurface;  // defined by the backend
void DestroyNativeSurface(NativeSurface* native);

// Pixels come zeroed from calloc: a large block is then fresh pages of the
// system's, already zero, instead of being written over once more.
inline void FreePixels(std::uint8_t* pixels) { std::free(pixels); }

struct Surface {
    int width = 0;
    int height = 0;
    int stride = 0;
    rt::Owned<std::uint8_t, FreePixels> pixels;
    // Declared after the pixels, so it lets go of them before they are freed.
    rt::Owned<NativeSurface, DestroyNativeSurface> native;
};

// The backend's object over `surface`'s pixels; null when it cannot make one.
NativeSurface* CreateNativeSurface(Surface& surface);
// Before the pixels are read directly: drawing still queued lands in them.
void FinishDrawing(const Surface& surface);
// After the pixels were written directly: the backend forgets what it cached.
void PixelsWritten(Surface& surface);

// Fills `path`, moved by `offset` in both directions, without anti-aliasing
// into a mask of `area` (one byte a pixel, row after row): a byte is non-zero
// where the pixel's centre lies inside the path under its fill mode.
std::vector<std::uint8_t> RasterisePath(const Path& path, float offset, const RectI& area);

// The clip of a Graphics, a set of whole pixels of its target; both backends
// keep it this way and hand it to their library after each change.
struct PixelClip {
    int width = 0;  // the target's size
    int height = 0;
    std::optional<Region> region;  // none: unclipped

    void Combine(const Region& r, CombineMode mode);
    RectF VisibleBounds() const;
};

// The settings and the clip of a Graphics, kept alike by every backend; each
// backend's Graphics::Impl is one, with its library's objects beside.
struct GraphicsState {
    SmoothingMode smoothing = SmoothingMode::Default;
    TextRenderingHint textHint = TextRenderingHint::SystemDefault;
    InterpolationMode interpolation = InterpolationMode::Default;
    CompositingQuality quality = CompositingQuality::Default;
    CompositingMode compositing = CompositingMode::SourceOver;
    PixelOffsetMode pixelOffset = PixelOffsetMode::None;
    PixelClip clip;
};

// The pixels whose centres lie inside the rectangle.
RectI PixelRect(const RectF& r);

// The area of `image` passed through a colour matrix, as a new bitmap.
Bitmap ApplyMatrix(const Bitmap& image, const RectI& area, const ColorMatrix& cm);

}  // namespace gfx
