// A 32-bit premultiplied ARGB pixel surface.
//
// The bytes are laid out like a 32-bit top-down DIB on a little-endian
// machine (B, G, R, A per pixel) and like an X11 32-bit ZPixmap, so a canvas
// can be presented without conversion.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/types.h"

typedef struct _cairo_surface cairo_surface_t;

namespace gfx {

class Bitmap {
public:
    // An empty bitmap (no pixels); IsValid() is false.
    Bitmap();
    // A transparent bitmap; sizes below 1 or above 32767 give an empty bitmap.
    Bitmap(int width, int height);
    ~Bitmap();
    Bitmap(Bitmap&&) noexcept;
    Bitmap& operator=(Bitmap&&) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    bool IsValid() const;
    int Width() const;
    int Height() const;
    // Bytes from one row to the next (a multiple of 4).
    int Stride() const;
    // First byte of the top row; null for an empty bitmap. After writing
    // through it, call MarkDirty() before drawing the bitmap again.
    std::uint8_t* Data();
    const std::uint8_t* Data() const;
    void MarkDirty();

    // A deep copy of the whole bitmap.
    Bitmap Clone() const;
    // A deep copy of an area; parts of the area outside the bitmap are transparent.
    Bitmap CloneArea(const RectI& area) const;

    // Pixel access in straight (not premultiplied) ARGB; outside the bitmap
    // GetPixel gives 0 and SetPixel does nothing.
    Argb GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Argb color);
    // The raw premultiplied value as stored (0xAARRGGBB with colour <= alpha).
    std::uint32_t GetRawPixel(int x, int y) const;

    // Fills every pixel with one colour, replacing what was there.
    void Fill(Argb color);
    // Copies pixels from `source` (the BitBlt SRCCOPY role): the area `from`
    // of the source lands with its top-left corner at (x, y). Clipped to both.
    void CopyFrom(const Bitmap& source, const RectI& from, int x, int y);

    // The underlying cairo image surface (CAIRO_FORMAT_ARGB32), for the
    // platform's present path. Owned by the bitmap; null when empty.
    cairo_surface_t* CairoSurface() const;

private:
    struct Deleter {
        void operator()(cairo_surface_t* s) const;
    };
    std::unique_ptr<cairo_surface_t, Deleter> surface_;
};

}  // namespace gfx
