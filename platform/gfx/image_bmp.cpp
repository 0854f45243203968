#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "platform/gfx/image_codecs.h"
#include "platform/gfx/pixel.h"

namespace gfx {

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6;

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

// Extracts a channel under a bit mask and scales it to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
        // A mask with holes is treated as its lowest run of bits.
        max = (max & (max + 1)) == 0 ? max : (1u << std::countr_one(max)) - 1;
    }
    std::uint8_t Get(std::uint32_t v) const {
        if (!mask) return 0;
        const std::uint32_t raw = (v >> shift) & max;
        return static_cast<std::uint8_t>((raw * 255 + max / 2) / max);
    }
};

// Expands RLE8 / RLE4 data into one palette index per pixel (bottom-up rows
// as stored). Pixels the stream skips keep index -1 (transparent).
bool ExpandRle(std::span<const std::uint8_t> data, bool four, int width, int height,
               std::vector<int>& out) {
    out.assign(static_cast<std::size_t>(width) * height, -1);
    int x = 0, y = 0;
    std::size_t i = 0;
    auto put = [&](int index) {
        if (x < width && y < height) out[static_cast<std::size_t>(y) * width + x] = index;
        ++x;
    };
    while (i + 1 < data.size()) {
        const int n = data[i], v = data[i + 1];
        i += 2;
        if (n > 0) {
            for (int k = 0; k < n; ++k) put(four ? ((k & 1) ? (v & 0x0F) : (v >> 4)) : v);
        } else if (v == 0) {
            x = 0;
            ++y;
        } else if (v == 1) {
            return true;
        } else if (v == 2) {
            if (i + 1 >= data.size()) return false;
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else {
            const std::size_t bytes =
                four ? (static_cast<std::size_t>(v) + 1) / 2 : static_cast<std::size_t>(v);
            if (i + bytes > data.size()) return false;
            for (int k = 0; k < v; ++k) {
                const std::uint8_t b = data[i + (four ? static_cast<std::size_t>(k) / 2
                                                      : static_cast<std::size_t>(k))];
                put(four ? ((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            i += (bytes + 1) & ~std::size_t{1};  // runs are padded to 16 bits
        }
        if (y >= height) return true;
    }
    return true;
}

}  // namespace

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> b) {
    if (b.size() < 26) return std::nullopt;
    const std::uint32_t dataOffset = U32(b, 10);
    const std::uint32_t headerSize = U32(b, 14);
    if (headerSize < 12 || 14 + static_cast<std::uint64_t>(headerSize) > b.size())
        return std::nullopt;

    std::int64_t width, height;
    std::uint32_t bpp, compression = kRgb, colorsUsed = 0;
    std::size_t paletteAt, paletteEntry;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    if (headerSize == 12) {
        width = U16(b, 18);
        height = static_cast<std::int16_t>(U16(b, 20));
        bpp = U16(b, 24);
        paletteAt = 26;
        paletteEntry = 3;
    } else {
        if (headerSize < 40) return std::nullopt;
        width = static_cast<std::int32_t>(U32(b, 18));
        height = static_cast<std::int32_t>(U32(b, 22));
        bpp = U16(b, 28);
        compression = U32(b, 30);
        colorsUsed = U32(b, 46);
        paletteAt = 14 + headerSize;
        paletteEntry = 4;
        if (compression == kBitfields || compression == kAlphaBitfields) {
            const int count = compression == kAlphaBitfields ? 4 : 3;
            if (headerSize > 40 && headerSize < 40u + 4u * count) return std::nullopt;
            std::size_t at = 54;
            if (headerSize == 40) {
                // The masks follow a plain header.
                if (paletteAt + 4u * count > b.size()) return std::nullopt;
                at = paletteAt;
                paletteAt += 4u * count;
            }
            for (int k = 0; k < count; ++k) masks[k] = U32(b, at + 4u * k);
            if (headerSize >= 56 && compression == kBitfields) masks[3] = U32(b, 54 + 12);
        }
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (!AcceptableSize(static_cast<std::uint64_t>(std::max<std::int64_t>(width, 0)),
                        static_cast<std::uint64_t>(height)))
        return std::nullopt;
    const int w = static_cast<int>(width), h = static_cast<int>(height);

    const bool rle = compression == kRle8 || compression == kRle4;
    if (!(compression == kRgb || compression == kBitfields || compression == kAlphaBitfields ||
          rle))
        return std::nullopt;
    if (rle &&
        ((compression == kRle8 && bpp != 8) || (compression == kRle4 && bpp != 4) || topDown))
        return std::nullopt;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;

    // Palette.
    std::vector<Argb> palette;
    if (bpp <= 8) {
        std::size_t entries = colorsUsed ? colorsUsed : (std::size_t{1} << bpp);
        entries = std::min<std::size_t>(entries, 256);
        for (std::size_t k = 0; k < entries; ++k) {
            const std::size_t at = paletteAt + k * paletteEntry;
            if (at + 3 > b.size()) break;
            palette.push_back(MakeColor(255, b[at + 2], b[at + 1], b[at]));
        }
    }
    if (compression == kRgb && (bpp == 16 || bpp == 32)) {
        masks[0] = bpp == 16 ? 0x7C00 : 0xFF0000;
        masks[1] = bpp == 16 ? 0x03E0 : 0x00FF00;
        masks[2] = bpp == 16 ? 0x001F : 0x0000FF;
        masks[3] = 0;  // the fourth byte of a plain 32-bit bitmap is not alpha
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);

    if (dataOffset >= b.size()) return std::nullopt;
    const std::span<const std::uint8_t> pixels = b.subspan(dataOffset);
    Bitmap bitmap(w, h);
    if (!bitmap.IsValid()) return std::nullopt;
    std::uint8_t* out = bitmap.Data();
    auto outRow = [&](int storedRow) {
        const int y = topDown ? storedRow : h - 1 - storedRow;
        return reinterpret_cast<std::uint32_t*>(out +
                                                static_cast<std::size_t>(y) * bitmap.Stride());
    };
    auto paletteColor = [&](int index) -> Argb {
        return index >= 0 && static_cast<std::size_t>(index) < palette.size()
                   ? palette[static_cast<std::size_t>(index)]
                   : MakeColor(255, 0, 0, 0);
    };

    if (rle) {
        std::vector<int> indices;
        if (!ExpandRle(pixels, compression == kRle4, w, h, indices)) return std::nullopt;
        for (int r = 0; r < h; ++r) {
            std::uint32_t* row = outRow(r);
            for (int x = 0; x < w; ++x) {
                const int index = indices[static_cast<std::size_t>(r) * w + x];
                row[x] = index < 0 ? 0 : paletteColor(index);
            }
        }
    } else {
        const std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
        if (stride * static_cast<std::size_t>(h) > pixels.size()) return std::nullopt;
        bool anyAlpha = false;
        for (int r = 0; r < h; ++r) {
            const std::uint8_t* src = pixels.data() + stride * static_cast<std::size_t>(r);
            std::uint32_t* row = outRow(r);
            for (int x = 0; x < w; ++x) {
                switch (bpp) {
                case 1: row[x] = paletteColor((src[x / 8] >> (7 - x % 8)) & 1); break;
                case 4: row[x] = paletteColor((src[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F); break;
                case 8: row[x] = paletteColor(src[x]); break;
                case 24: row[x] = MakeColor(255, src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
                default: {
                    const std::uint32_t v = bpp == 16 ? U16(std::span(src, stride), 2u * x)
                                                      : U32(std::span(src, stride), 4u * x);
                    const std::uint8_t a = alpha.mask ? alpha.Get(v) : 255;
                    anyAlpha = anyAlpha || a != 0;
                    // Stored straight for now; premultiplied below once the alpha is known to
                    // count.
                    row[x] = MakeColor(a, red.Get(v), green.Get(v), blue.Get(v));
                }
                }
            }
        }
        if (bpp >= 16) {
            // An alpha channel that is zero everywhere was never filled in: opaque.
            for (int y = 0; y < h; ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(out + static_cast<std::size_t>(y) *
                                                                       bitmap.Stride());
                for (int x = 0; x < w; ++x)
                    row[x] = anyAlpha ? Premultiply(row[x]) : (row[x] | 0xFF000000u);
            }
        }
    }
    return StillImage(ImageFormat::Bmp, std::move(bitmap));
}

}  // namespace gfx
