#include "assets/assets.h"

#include <cstddef>

// Defined by the sources that embed_file.cmake generates.
extern const unsigned char assets_skin_jpeg[];
extern const std::size_t assets_skin_jpeg_size;
extern const unsigned char assets_caption_strip[];
extern const std::size_t assets_caption_strip_size;
extern const unsigned char assets_checkmark_strip[];
extern const std::size_t assets_checkmark_strip_size;
extern const unsigned char assets_menu_check[];
extern const std::size_t assets_menu_check_size;

namespace assets {

std::span<const std::uint8_t> SkinJpeg() {
    return {assets_skin_jpeg, assets_skin_jpeg_size};
}

std::span<const std::uint8_t> CaptionButtonStrip() {
    return {assets_caption_strip, assets_caption_strip_size};
}

std::span<const std::uint8_t> CheckMarkStrip() {
    return {assets_checkmark_strip, assets_checkmark_strip_size};
}

std::span<const std::uint8_t> MenuCheckImage() {
    return {assets_menu_check, assets_menu_check_size};
}

}  // namespace assets
