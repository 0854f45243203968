// Tooltip and message-box pictures.
#include "platform/core/chrome.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "runtime/owned.h"

// The font stack keeps its configuration and caches for the life of the
// process, and Pango hands results between its own threads with locks the
// thread sanitizer cannot see. Weak, so that the drawing library's own
// settings win where it is linked too.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\nleak:"
           "libpangocairo-1.0.so\n";
}
#endif
#if defined(__SANITIZE_THREAD__)
extern "C" __attribute__((weak)) const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\nrace:libpangoft2-1.0.so\nrace:libpango-1.0.so\n"
           "called_from_lib:libfontconfig.so\ncalled_from_lib:libpangoft2-1.0.so\n"
           "mutex:g_rw_lock_reader_lock\n";
}
#endif

namespace plat::core {

namespace {

constexpr const char* kFont = "WenQuanYi Micro Hei, Sans 9";

using Surface = rt::Owned<cairo_surface_t, cairo_surface_destroy>;
using Cairo = rt::Owned<cairo_t, cairo_destroy>;
using Layout = rt::Owned<PangoLayout, g_object_unref>;

// A layout for measuring and drawing on `cr`.
Layout MakeLayout(cairo_t* cr, const std::string& text, int wrapWidth) {
    Layout layout(pango_cairo_create_layout(cr));
    rt::Owned<PangoFontDescription, pango_font_description_free> font(
        pango_font_description_from_string(kFont));
    pango_layout_set_font_description(layout.get(), font.get());
    if (wrapWidth > 0) {
        pango_layout_set_width(layout.get(), wrapWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    }
    // Texts come from code-page conversion and are valid UTF-8; guard anyway.
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    return layout;
}

SIZE Measure(const std::string& text, int wrapWidth) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    Cairo cr(cairo_create(s.get()));
    Layout layout = MakeLayout(cr.get(), text, wrapWidth);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout.get(), &w, &h);
    return SIZE{w, h};
}

ChromeImage Finish(cairo_surface_t* s) {
    cairo_surface_flush(s);
    ChromeImage img;
    img.width = cairo_image_surface_get_width(s);
    img.height = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    img.pixels.resize(static_cast<std::size_t>(img.width) * img.height);
    const unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < img.height; ++y)
        std::memcpy(img.pixels.data() + static_cast<std::size_t>(y) * img.width, data + y * stride,
                    static_cast<std::size_t>(img.width) * 4);
    return img;
}

}  // namespace

ChromeImage DrawTooltip(const std::string& utf8Text) {
    SIZE text = Measure(utf8Text, 400);
    int w = text.cx + 10, h = text.cy + 6;
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    Cairo cr(cairo_create(s.get()));
    cairo_set_source_rgb(cr.get(), 1.0, 1.0, 0.882);
    cairo_paint(cr.get());
    cairo_set_source_rgb(cr.get(), 0.46, 0.46, 0.46);
    cairo_set_line_width(cr.get(), 1);
    cairo_rectangle(cr.get(), 0.5, 0.5, w - 1, h - 1);
    cairo_stroke(cr.get());
    Layout layout = MakeLayout(cr.get(), utf8Text, 400);
    cairo_set_source_rgb(cr.get(), 0, 0, 0);
    cairo_move_to(cr.get(), 5, 3);
    pango_cairo_show_layout(cr.get(), layout.get());
    return Finish(s.get());
}

MessageBoxPicture DrawMessageBox(const std::string& utf8Caption, const std::string& utf8Text,
                                 bool pressed) {
    constexpr int kCaption = 26, kPad = 16, kButtonW = 76, kButtonH = 24;
    SIZE text = Measure(utf8Text, 480);
    SIZE cap = Measure(utf8Caption, 0);
    int w = std::clamp(std::max(text.cx, cap.cx + 20) + 2 * kPad, 220, 560);
    int h = kCaption + kPad + text.cy + kPad + kButtonH + 12;
    MessageBoxPicture pic;
    pic.captionHeight = kCaption;
    pic.button = RECT{w - kPad - kButtonW, h - 12 - kButtonH, w - kPad, h - 12};
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    Cairo cr(cairo_create(s.get()));
    cairo_t* c = cr.get();
    cairo_set_source_rgb(c, 0.97, 0.97, 0.97);
    cairo_paint(c);
    cairo_set_source_rgb(c, 0.20, 0.36, 0.60);
    cairo_rectangle(c, 0, 0, w, kCaption);
    cairo_fill(c);
    cairo_set_source_rgb(c, 0.30, 0.30, 0.30);
    cairo_set_line_width(c, 1);
    cairo_rectangle(c, 0.5, 0.5, w - 1, h - 1);
    cairo_stroke(c);
    Layout capLayout = MakeLayout(c, utf8Caption, 0);
    cairo_set_source_rgb(c, 1, 1, 1);
    cairo_move_to(c, 10, (kCaption - cap.cy) / 2.0);
    pango_cairo_show_layout(c, capLayout.get());
    Layout body = MakeLayout(c, utf8Text, 480);
    cairo_set_source_rgb(c, 0, 0, 0);
    cairo_move_to(c, kPad, kCaption + kPad);
    pango_cairo_show_layout(c, body.get());
    const RECT& b = pic.button;
    cairo_set_source_rgb(c, pressed ? 0.80 : 0.90, pressed ? 0.80 : 0.90, pressed ? 0.80 : 0.90);
    cairo_rectangle(c, b.left, b.top, b.width(), b.height());
    cairo_fill(c);
    cairo_set_source_rgb(c, 0.20, 0.36, 0.60);
    cairo_rectangle(c, b.left + 0.5, b.top + 0.5, b.width() - 1, b.height() - 1);
    cairo_stroke(c);
    Layout ok = MakeLayout(c, "OK", 0);
    int ow = 0, oh = 0;
    pango_layout_get_pixel_size(ok.get(), &ow, &oh);
    cairo_set_source_rgb(c, 0, 0, 0);
    cairo_move_to(c, b.left + (b.width() - ow) / 2.0 + (pressed ? 1 : 0),
                  b.top + (b.height() - oh) / 2.0);
    pango_cairo_show_layout(c, ok.get());
    pic.image = Finish(s.get());
    return pic;
}

}  // namespace plat::core
