#include <cstring>

#include "platform/gfx/image.h"
#include "platform/gfx/image_codecs.h"

namespace gfx {

namespace {
bool StartsWith(std::span<const std::uint8_t> bytes, const char* magic, std::size_t n) {
    return bytes.size() >= n && std::memcmp(bytes.data(), magic, n) == 0;
}
}  // namespace

std::optional<Image> DecodeImage(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8)) return DecodePng(bytes);
    if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) return DecodeJpeg(bytes);
    if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return DecodeGif(bytes);
    if (StartsWith(bytes, "BM", 2)) return DecodeBmp(bytes);
    return std::nullopt;
}

}  // namespace gfx
