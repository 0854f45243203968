#include "app/window/app_icon.h"

#include "assets/assets.h"
#include "ui/core/library.h"

namespace app {

std::vector<plat::IconImage> AppIconImages() {
    std::vector<plat::IconImage> images;
    for (const int size : assets::kAppIconSizes) {
        const auto bitmap = ui::LoadImageFromBytes(assets::AppIconPng(size), false);
        if (!bitmap || !bitmap->IsValid()) continue;
        plat::IconImage image;
        image.width = bitmap->Width();
        image.height = bitmap->Height();
        image.pixels.reserve(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
        // GetPixel undoes the bitmap's premultiplication; icons take straight alpha.
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) image.pixels.push_back(bitmap->GetPixel(x, y));
        images.push_back(std::move(image));
    }
    return images;
}

}  // namespace app
