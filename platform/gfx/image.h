// Decoding images held in memory (JPEG, PNG, GIF, BMP) into bitmaps.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace gfx {

enum class ImageFormat { Png, Jpeg, Gif, Bmp };

// A decoded image: one frame for still images, every frame (fully composed,
// the size of the image) for an animated GIF.
struct Image {
    ImageFormat format = ImageFormat::Png;
    std::vector<Bitmap> frames;
    // Per-frame delays in hundredths of a second, as stored in the file (0
    // stays 0); empty for formats without delays.
    std::vector<std::uint32_t> delays;

    int Width() const { return frames.empty() ? 0 : frames.front().Width(); }
    int Height() const { return frames.empty() ? 0 : frames.front().Height(); }
    int FrameCount() const { return static_cast<int>(frames.size()); }
};

// The format is recognised from the leading bytes. Nothing comes back for an
// empty block, an unknown format, a damaged file or an image wider or higher
// than 32767 pixels. The result does not refer to `bytes`.
std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes);

}  // namespace gfx
