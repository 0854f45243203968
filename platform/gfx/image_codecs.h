// The decoders behind DecodeImage (internal). Each returns nothing for data
// it cannot decode completely and safely.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "platform/gfx/image.h"

namespace gfx {

// Largest side the decoders accept (the surface limit) and the most pixels,
// over all frames, one image may decode to.
inline constexpr int kMaxImageSide = 32767;
inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 26;

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeGif(std::span<const std::uint8_t> bytes);
std::optional<Image> DecodeBmp(std::span<const std::uint8_t> bytes);

// A decoded still image of one frame.
inline Image StillImage(ImageFormat format, Bitmap frame) {
    frame.MarkDirty();
    Image image;
    image.format = format;
    image.frames.push_back(std::move(frame));
    return image;
}

inline bool AcceptableSize(std::uint64_t width, std::uint64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

}  // namespace gfx
