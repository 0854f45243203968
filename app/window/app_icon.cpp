#include "app/window/app_icon.h"

#include "assets/assets.h"
#include "ui/core/draw_images.h"
#include "ui/core/library.h"

namespace app {

std::vector<plat::IconImage> AppIconImages() {
    std::vector<plat::IconImage> images;
    for (const int size : assets::kAppIconSizes) {
        const auto bitmap = ui::LoadImageFromBytes(assets::AppIconPng(size), false);
        if (bitmap && bitmap->IsValid()) images.push_back(ui::IconFromBitmap(*bitmap));
    }
    return images;
}

}  // namespace app
