#include "ui/core/draw_images.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ui {

namespace {
gfx::ColorMatrix OpacityMatrix(int opacity) {
    return gfx::ColorMatrix::AlphaScale(static_cast<float>(opacity) / 255.0f);
}
}  // namespace

gfx::Bitmap BitmapFromIcon(const plat::IconImage& icon) {
    const std::size_t count = static_cast<std::size_t>(std::max(icon.width, 0)) *
                              static_cast<std::size_t>(std::max(icon.height, 0));
    if (count == 0 || icon.pixels.size() < count) return {};
    gfx::Bitmap bitmap(icon.width, icon.height);
    if (!bitmap.IsValid()) return bitmap;
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x)
            bitmap.SetPixel(
                x, y,
                icon.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(icon.width) +
                            static_cast<std::size_t>(x)]);
    bitmap.MarkDirty();
    return bitmap;
}

plat::IconImage IconFromBitmap(const gfx::Bitmap& bitmap) {
    plat::IconImage icon{bitmap.Width(), bitmap.Height(), {}};
    icon.pixels.reserve(static_cast<std::size_t>(icon.width) *
                        static_cast<std::size_t>(icon.height));
    // GetPixel undoes the bitmap's premultiplication.
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) icon.pixels.push_back(bitmap.GetPixel(x, y));
    return icon;
}

SliceMargins SliceMarginsFromRecord(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

void DrawImageAt(gfx::Graphics& g, const gfx::Bitmap& image, const gfx::RectF& rect, bool centre) {
    if (!image.IsValid()) return;
    const float iw = static_cast<float>(image.Width());
    const float ih = static_cast<float>(image.Height());
    float x = rect.x;
    float y = rect.y;
    if (centre) {
        x = std::round(rect.x - (iw - rect.width) / 2);
        y = std::round(rect.y - (ih - rect.height) / 2);
    }
    g.DrawImage(image, gfx::RectF{x, y, iw, ih});
}

void DrawImageAlpha(gfx::Graphics& g, const gfx::Bitmap& image, const gfx::RectF& rect,
                    int opacity) {
    if (!image.IsValid()) return;
    if (opacity == 255) {
        g.DrawImage(image, rect);
        return;
    }
    g.DrawImage(image, rect, gfx::RectF{0, 0, rect.width, rect.height}, OpacityMatrix(opacity));
}

void DrawNineSlice(gfx::Graphics* g, const gfx::Bitmap* image, const gfx::RectF& dest,
                   const SliceMargins& margins, std::optional<int> opacity) {
    if (!g || !image || !image->IsValid()) return;
    const float iw = static_cast<float>(image->Width());
    const float ih = static_cast<float>(image->Height());
    const float l = static_cast<float>(margins.left);
    const float t = static_cast<float>(margins.top);
    const float r = static_cast<float>(margins.right);
    const float b = static_cast<float>(margins.bottom);
    // Column and row starts and sizes, in the image and in the destination.
    const std::array<float, 3> sx{0, l, iw - r};
    const std::array<float, 3> sw{l, iw - l - r, r};
    const std::array<float, 3> sy{0, t, ih - b};
    const std::array<float, 3> sh{t, ih - t - b, b};
    const std::array<float, 3> dx{dest.x, dest.x + l, dest.x + dest.width - r};
    const std::array<float, 3> dw{l, dest.width - l - r, r};
    const std::array<float, 3> dy{dest.y, dest.y + t, dest.y + dest.height - b};
    const std::array<float, 3> dh{t, dest.height - t - b, b};
    std::optional<gfx::ColorMatrix> matrix;
    if (opacity) matrix = OpacityMatrix(*opacity);
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t col = 0; col < 3; ++col) {
            if (sw[col] <= 0 || sh[row] <= 0 || dw[col] <= 0 || dh[row] <= 0) continue;
            g->DrawImage(*image, {dx[col], dy[row], dw[col], dh[row]},
                         {sx[col], sy[row], sw[col], sh[row]}, matrix);
        }
    }
}

}  // namespace ui
