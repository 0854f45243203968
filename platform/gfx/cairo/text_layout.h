// Laying out a code-page-936 string with Pango under a string format
// (internal to the drawing layer).
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/cairo/cairo_gfx.h"
#include "platform/gfx/text_offsets.h"
#include "runtime/text.h"

namespace gfx {

// UTF-8 for Pango, with the position in it of every byte boundary of the
// original code-page-936 text.
using MappedUtf8 = MappedText<std::string>;
MappedUtf8 MapCp936ToUtf8(const rt::Text& text);

struct TextLayout {
    rt::Owned<PangoLayout, g_object_unref> layout;
    std::vector<int> toUtf8;  // code-page-936 byte offset -> index in the layout text
    double originX = 0;       // where the layout's top-left corner goes
    double originY = 0;
    std::optional<RectF> clip;  // drawing is limited to this rectangle
    int visibleLines = 0;       // lines shown (all, or those within the line limit)
    double visibleHeight = 0;   // height of the visible lines in pixels
};

// Lays out `text` for drawing through `cr` (whose font options it takes).
TextLayout LayOutText(cairo_t* cr, const rt::Text& text, const Font& font, const RectF& rect,
                      const StringFormat& format);

}  // namespace gfx
