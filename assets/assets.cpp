#include "assets/assets.h"

// The images' own functions are defined by the sources embed_file.cmake
// generates; only the icon sizes need choosing between.
namespace assets {

std::span<const std::uint8_t> AppIconPng16();
std::span<const std::uint8_t> AppIconPng32();
std::span<const std::uint8_t> AppIconPng48();
std::span<const std::uint8_t> AppIconPng64();

std::span<const std::uint8_t> AppIconPng(int size) {
    switch (size) {
    case 16: return AppIconPng16();
    case 32: return AppIconPng32();
    case 48: return AppIconPng48();
    case 64: return AppIconPng64();
    default: return {};
    }
}

}  // namespace assets
