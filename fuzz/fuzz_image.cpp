// Fuzzes image decoding: any bytes either decode into frames of the stated
// size with one delay a frame (GIF), or give nothing; never a crash.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/gfx/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = gfx::DecodeImage(std::span<const std::uint8_t>(data, size));
    if (!image) return 0;
    if (image->frames.empty()) std::abort();
    for (const gfx::Bitmap& frame : image->frames) {
        if (frame.Width() != image->Width() || frame.Height() != image->Height()) std::abort();
    }
    if (image->format == gfx::ImageFormat::Gif && image->delays.size() != image->frames.size()) {
        std::abort();
    }
    return 0;
}
