// Tooltip and message-box pictures.
#include "platform/core/chrome.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/gfx.h"

namespace plat::core {

namespace {

constexpr gfx::Argb kBlack = gfx::MakeColor(255, 0, 0, 0);

const gfx::Font& ChromeFont() {
    static const gfx::Font kFont(gfx::FontFamily::DefaultChineseSans(), 12);
    return kFont;
}

// The text's size in whole pixels, wrapped at `wrapWidth` (0: one line).
SIZE Measure(const rt::Text& text, int wrapWidth) {
    gfx::Bitmap scratch(1, 1);
    const gfx::RectF box =
        gfx::Graphics(scratch)
            .MeasureString(text, ChromeFont(), gfx::RectF{0, 0, static_cast<float>(wrapWidth), 0})
            .bounds;
    return SIZE{static_cast<int>(std::ceil(box.width)), static_cast<int>(std::ceil(box.height))};
}

void Text(gfx::Graphics& g, const rt::Text& text, gfx::Argb colour, float x, float y,
          int wrapWidth) {
    g.DrawString(text, ChromeFont(), gfx::SolidBrush(colour),
                 gfx::RectF{x, y, static_cast<float>(wrapWidth), 0});
}

// A one-pixel frame just inside `r`.
void Frame(gfx::Graphics& g, gfx::Argb colour, const RECT& r) {
    g.DrawRectangle(
        gfx::Pen(colour),
        gfx::RectF{static_cast<float>(r.left), static_cast<float>(r.top),
                   static_cast<float>(r.width() - 1), static_cast<float>(r.height() - 1)});
}

ChromeImage Finish(const gfx::Bitmap& b) {
    ChromeImage img;
    img.width = b.Width();
    img.height = b.Height();
    img.pixels.resize(static_cast<std::size_t>(img.width) * img.height);
    const std::uint8_t* data = b.Data();
    for (int y = 0; y < img.height; ++y)
        std::memcpy(img.pixels.data() + static_cast<std::size_t>(y) * img.width,
                    data + static_cast<std::size_t>(y) * b.Stride(),
                    static_cast<std::size_t>(img.width) * 4);
    return img;
}

gfx::Argb Grey(std::uint8_t v) { return gfx::MakeColor(255, v, v, v); }

}  // namespace

ChromeImage DrawTooltip(const rt::Text& text) {
    const SIZE size = Measure(text, 400);
    const int w = size.cx + 10, h = size.cy + 6;
    gfx::Bitmap b(w, h);
    gfx::Graphics g(b);
    g.Clear(gfx::MakeColor(255, 255, 255, 225));
    Frame(g, Grey(117), RECT{0, 0, w, h});
    Text(g, text, kBlack, 5, 3, 400);
    return Finish(b);
}

MessageBoxPicture DrawMessageBox(const rt::Text& caption, const rt::Text& text, bool pressed) {
    constexpr int kCaption = 26, kPad = 16, kButtonW = 76, kButtonH = 24;
    const SIZE body = Measure(text, 480);
    const SIZE cap = Measure(caption, 0);
    const int w = std::clamp(std::max(body.cx, cap.cx + 20) + 2 * kPad, 220, 560);
    const int h = kCaption + kPad + body.cy + kPad + kButtonH + 12;
    MessageBoxPicture pic;
    pic.captionHeight = kCaption;
    pic.button = RECT{w - kPad - kButtonW, h - 12 - kButtonH, w - kPad, h - 12};
    const gfx::Argb blue = gfx::MakeColor(255, 51, 92, 153);
    gfx::Bitmap b(w, h);
    gfx::Graphics g(b);
    g.Clear(Grey(248));
    g.FillRectangle(gfx::SolidBrush(blue), gfx::RectF{0, 0, static_cast<float>(w), kCaption});
    Frame(g, Grey(76), RECT{0, 0, w, h});
    Text(g, caption, Grey(255), 10, (kCaption - cap.cy) / 2.0f, 0);
    Text(g, text, kBlack, kPad, kCaption + kPad, 480);
    const RECT& r = pic.button;
    g.FillRectangle(gfx::SolidBrush(Grey(pressed ? 204 : 230)),
                    gfx::RectF{static_cast<float>(r.left), static_cast<float>(r.top),
                               static_cast<float>(r.width()), static_cast<float>(r.height())});
    Frame(g, blue, r);
    const SIZE ok = Measure("OK", 0);
    Text(g, "OK", kBlack, r.left + (r.width() - ok.cx) / 2.0f + (pressed ? 1 : 0),
         r.top + (r.height() - ok.cy) / 2.0f, 0);
    pic.image = Finish(b);
    return pic;
}

}  // namespace plat::core
