// Drawing images: at natural size, at a constant opacity, and as a nine-slice;
// and the conversions between bitmaps and the platform's icon pictures.
#pragma once

#include <optional>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/types.h"
#include "platform/platform.h"

namespace ui {

// Nine-slice margins: the widths of the left and right columns and the heights
// of the top and bottom rows that keep their size.
struct SliceMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Straight-alpha ARGB pixels as a premultiplied bitmap, alpha kept.
gfx::Bitmap BitmapFromIcon(const plat::IconImage& icon);
// The other way: a bitmap's pixels with straight alpha, as an icon carries them.
plat::IconImage IconFromBitmap(const gfx::Bitmap& bitmap);

// The nine-slice margins held in a {left, top, right, bottom} record (the
// host's skin margins): left, top, right - left and bottom - top.
SliceMargins SliceMarginsFromRecord(int left, int top, int right, int bottom);

// The image at its own size at (x, y) of `rect`, or centred on `rect` (the
// offset rounded to whole pixels).
void DrawImageAt(gfx::Graphics& g, const gfx::Bitmap& image, const gfx::RectF& rect, bool centre);

// The image at a constant opacity 0..255. At 255 the image is scaled into
// `rect`; at any other opacity the part of the image of the rectangle's size
// is drawn unscaled, every pixel's alpha multiplied by opacity / 255.
void DrawImageAlpha(gfx::Graphics& g, const gfx::Bitmap& image, const gfx::RectF& rect,
                    int opacity);

// The image cut by the margins into nine pieces: corners keep their size, the
// edges stretch along their side, the centre both ways. With an opacity, every
// piece is drawn through the colour matrix of DrawImageAlpha.
void DrawNineSlice(gfx::Graphics* g, const gfx::Bitmap* image, const gfx::RectF& dest,
                   const SliceMargins& margins, std::optional<int> opacity = std::nullopt);

}  // namespace ui
