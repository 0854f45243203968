// A 32-bit premultiplied ARGB pixel surface.
//
// The bytes are laid out like a 32-bit top-down DIB on a little-endian
// machine (B, G, R, A per pixel) and like an X11 32-bit ZPixmap, so a canvas
// can be presented without conversion.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/types.h"

namespace gfx {

struct Surface;

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

    // The pixels and the drawing backend's object over them (for the drawing
    // layer; a Graphics shares them so it outlives a moved or destroyed
    // Bitmap safely). Null when empty.
    const std::shared_ptr<Surface>& SharedSurface() const { return surface_; }

private:
    std::shared_ptr<Surface> surface_;
};

}  // namespace gfx
