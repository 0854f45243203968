// Geometry, colours and the enumerations shared by the drawing layer.
//
// Numbers follow the values the library's drawing code has always used
// (ARGB colours, mode and flag numbers), so callers can pass them unchanged.
#pragma once

#include <cstdint>

namespace gfx {

// 0xAARRGGBB, not premultiplied.
using Argb = std::uint32_t;

constexpr Argb MakeColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (Argb{a} << 24) | (Argb{r} << 16) | (Argb{g} << 8) | Argb{b};
}
constexpr std::uint8_t AlphaOf(Argb c) { return static_cast<std::uint8_t>(c >> 24); }
constexpr std::uint8_t RedOf(Argb c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t GreenOf(Argb c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(Argb c) { return static_cast<std::uint8_t>(c); }

struct PointF {
    float x = 0;
    float y = 0;
};

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;

    float Right() const { return x + width; }
    float Bottom() const { return y + height; }
    bool IsEmpty() const { return !(width > 0) || !(height > 0); }
    friend bool operator==(const RectF&, const RectF&) = default;
};

// Integer rectangle in pixels (left, top, width, height).
struct RectI {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const RectI&, const RectI&) = default;
};

enum class SmoothingMode { Default = 0, HighSpeed = 1, HighQuality = 2, None = 3, AntiAlias = 4 };

enum class TextRenderingHint {
    SystemDefault = 0,
    SingleBitPerPixelGridFit = 1,
    SingleBitPerPixel = 2,
    AntiAliasGridFit = 3,
    AntiAlias = 4,
    ClearTypeGridFit = 5,
};

enum class InterpolationMode {
    Default = 0,
    LowQuality = 1,
    HighQuality = 2,
    Bilinear = 3,
    Bicubic = 4,
    NearestNeighbor = 5,
    HighQualityBilinear = 6,
    HighQualityBicubic = 7,
};

enum class CompositingQuality {
    Default = 0,
    HighSpeed = 1,
    HighQuality = 2,
    GammaCorrected = 3,
    AssumeLinear = 4
};

// SourceOver blends; SourceCopy replaces the destination pixels, except that
// an image drawn at an opacity below 1 moves each of them towards its own
// pixel by that opacity (alpha included).
enum class CompositingMode { SourceOver = 0, SourceCopy = 1 };

// Where a coordinate lands: None puts integer coordinates on pixel centres
// (one-pixel lines at integer positions are crisp, fills of integer rectangles
// have half-covered edges when anti-aliased); Half puts them on pixel corners.
enum class PixelOffsetMode { None = 0, Half = 1 };

enum class CombineMode {
    Replace = 0,
    Intersect = 1,
    Union = 2,
    Xor = 3,
    Exclude = 4,
    Complement = 5
};

enum class FillMode { Alternate = 0, Winding = 1 };

enum class DashStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

enum class LinearGradientMode {
    Horizontal = 0,
    Vertical = 1,
    ForwardDiagonal = 2,
    BackwardDiagonal = 3
};

enum class WrapMode { Tile = 0, TileFlipX = 1, TileFlipY = 2, TileFlipXY = 3, Clamp = 4 };

}  // namespace gfx
