// Pictures of the layer's own windows (tooltip, message box), drawn with the
// drawing layer in the layout Present takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "runtime/text.h"

namespace plat::core {

struct ChromeImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // premultiplied ARGB, stride width * 4
};

ChromeImage DrawTooltip(const rt::Text& text);

struct MessageBoxPicture {
    ChromeImage image;
    RECT button;  // the OK button
    int captionHeight = 0;
};
// `pressed` draws the button pushed in.
MessageBoxPicture DrawMessageBox(const rt::Text& caption, const rt::Text& text, bool pressed);

}  // namespace plat::core
