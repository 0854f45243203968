// The types the GDI+ backend shares between its files (internal).
//
// Everything goes through the flat API (Gdiplus::DllExports); each GDI+
// object is held by an owner that deletes it with the API's own function.
#pragma once

#include "runtime/win32/windows_api.h"

// GDI+ needs the window headers and the stream interface before it.
#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/backend.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/text_offsets.h"
#include "runtime/owned.h"
#include "runtime/text.h"

namespace gfx {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

using GpBitmapOwner = rt::Owned<gp::GpBitmap, flat::GdipDisposeImage>;
using GpImageOwner = rt::Owned<gp::GpImage, flat::GdipDisposeImage>;
using GpGraphicsOwner = rt::Owned<gp::GpGraphics, flat::GdipDeleteGraphics>;
using GpBrushOwner = rt::Owned<gp::GpBrush, flat::GdipDeleteBrush>;
using GpPenOwner = rt::Owned<gp::GpPen, flat::GdipDeletePen>;
using GpPathOwner = rt::Owned<gp::GpPath, flat::GdipDeletePath>;
using GpRegionOwner = rt::Owned<gp::GpRegion, flat::GdipDeleteRegion>;
using GpFontOwner = rt::Owned<gp::GpFont, flat::GdipDeleteFont>;
using GpFamilyOwner = rt::Owned<gp::GpFontFamily, flat::GdipDeleteFontFamily>;
using GpFormatOwner = rt::Owned<gp::GpStringFormat, flat::GdipDeleteStringFormat>;
using GpAttributesOwner = rt::Owned<gp::GpImageAttributes, flat::GdipDisposeImageAttributes>;
using HrgnOwner = rt::Owned<HRGN__, DeleteObject>;

// Starts GDI+ the first time it is called, once for the process. GDI+ is
// never shut down: fonts and bitmaps with static lifetime are released
// after any shutdown at exit would have run.
void EnsureGdiplus();

struct Font::Native {
    GpFontOwner font;
    float height = 0;
};

// The GDI+ bitmap over a bitmap's pixels (PixelFormat32bppPARGB, the pixels'
// own layout).
gp::GpBitmap* GpBitmapOf(const Surface& surface);

// The path as a GDI+ path, moved by (dx, dy).
GpPathOwner MakeGpPath(const Path& path, float dx = 0, float dy = 0);
GpBrushOwner MakeGpBrush(const Brush& brush);
GpPenOwner MakeGpPen(const Pen& pen);
// The region as a GDI region (HRGN) of its rectangles.
HrgnOwner MakeHrgn(const Region& region);

// UTF-16 for GDI+, with the position in it of every byte boundary of the
// original code-page-936 text.
using MappedWide = MappedText<std::wstring>;
// The text as GDI+ is given it under `format`: without the spaces that end
// its lines unless the format measures them (wine's GDI+ would count them).
MappedWide PrepareText(const rt::Text& text, const StringFormat& format);
std::wstring Widen(const rt::Text& text);
rt::Text Narrow(const std::wstring& wide);

// A GDI+ string format with the flags, alignment, trimming, prefix and tab
// stops of `format`.
GpFormatOwner MakeGpFormat(const StringFormat& format);

inline gp::PixelOffsetMode ToGp(PixelOffsetMode mode) {
    return mode == PixelOffsetMode::Half ? gp::PixelOffsetModeHalf : gp::PixelOffsetModeNone;
}

struct Graphics::Impl : GraphicsState {
    std::shared_ptr<Surface> target;  // kept alive while the graphics draws on it
    GpGraphicsOwner g;

    // Hands `clip` to GDI+.
    void ApplyClip();

    // Runs `draw` with GDI+'s pixel offset mode set to `mode`, then puts the
    // caller's mode back.
    template <typename Draw>
    void WithPixelOffset(PixelOffsetMode mode, Draw draw) {
        if (mode != pixelOffset) flat::GdipSetPixelOffsetMode(g.get(), ToGp(mode));
        draw();
        if (mode != pixelOffset) flat::GdipSetPixelOffsetMode(g.get(), ToGp(pixelOffset));
    }
};

}  // namespace gfx
