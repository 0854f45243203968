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
extern const unsigned char assets_spinner_gif[];
extern const std::size_t assets_spinner_gif_size;
extern const unsigned char assets_panel_png[];
extern const std::size_t assets_panel_png_size;
extern const unsigned char assets_app_icon_16[];
extern const std::size_t assets_app_icon_16_size;
extern const unsigned char assets_app_icon_32[];
extern const std::size_t assets_app_icon_32_size;
extern const unsigned char assets_app_icon_48[];
extern const std::size_t assets_app_icon_48_size;
extern const unsigned char assets_app_icon_64[];
extern const std::size_t assets_app_icon_64_size;

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

std::span<const std::uint8_t> SpinnerGif() { return {assets_spinner_gif, assets_spinner_gif_size}; }

std::span<const std::uint8_t> PanelPng() { return {assets_panel_png, assets_panel_png_size}; }

std::span<const std::uint8_t> AppIconPng(int size) {
    switch (size) {
    case 16: return {assets_app_icon_16, assets_app_icon_16_size};
    case 32: return {assets_app_icon_32, assets_app_icon_32_size};
    case 48: return {assets_app_icon_48, assets_app_icon_48_size};
    case 64: return {assets_app_icon_64, assets_app_icon_64_size};
    default: return {};
    }
}

}  // namespace assets
