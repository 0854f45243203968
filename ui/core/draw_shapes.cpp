#include "ui/core/draw_shapes.h"

#include <array>

#include "platform/gfx/brush.h"
#include "platform/gfx/pen.h"
#include "ui/core/draw_colour.h"
#include "ui/core/draw_geometry.h"

namespace ui {

namespace {

gfx::Pen MakePen(gfx::Argb color, std::optional<float> width) {
    return gfx::Pen(color, width.value_or(1.0f));
}

void Line(gfx::Graphics& g, const gfx::Pen& pen, float x0, float y0, float x1, float y1) {
    g.DrawLine(pen, {x0, y0}, {x1, y1});
}

}  // namespace

gfx::Path RoundRectPath(const gfx::RectF& rect, float corner, gfx::FillMode fillMode) {
    gfx::Path path(fillMode);
    path.AddRoundedRectangle(rect, corner);
    return path;
}

void FillRoundRect(gfx::Graphics& g, const gfx::RectF& rect, float corner, gfx::Argb color) {
    FillShape(g, RoundRectPath(rect, corner), color);
}

void StrokeRoundRect(gfx::Graphics& g, const gfx::RectF& rect, float corner, gfx::Argb color,
                     gfx::DashStyle dash, std::optional<float> penWidth) {
    gfx::Pen pen = MakePen(color, penWidth);
    pen.SetDashStyle(dash);
    g.DrawPath(pen, RoundRectPath(rect, corner));
}

void FillShape(gfx::Graphics& g, const gfx::Path& path, gfx::Argb color) {
    g.FillPath(gfx::SolidBrush(color), path);
}

void StrokeShape(gfx::Graphics& g, const gfx::Path& path, gfx::Argb color,
                 std::optional<float> penWidth) {
    g.DrawPath(MakePen(color, penWidth), path);
}

void DrawBorder(gfx::Graphics& g, const gfx::RectF& rect, std::uint32_t style,
                std::optional<gfx::Argb> color, std::optional<float> penWidth) {
    const float x = rect.x;
    const float y = rect.y;
    const float r = rect.x + rect.width - 1;
    const float b = rect.y + rect.height - 1;
    const gfx::RectF outline{x, y, rect.width - 1, rect.height - 1};
    switch (style) {
    case BORDER_NONE: return;
    case BORDER_SUNKEN: {
        const gfx::Pen dark = MakePen(0xA0000000, penWidth);
        const gfx::Pen light = MakePen(0xF5FFFFFF, penWidth);
        Line(g, dark, x, y, r, y);
        Line(g, dark, x, y, x, b);
        Line(g, light, x, b, r, b);
        Line(g, light, r, y, r, b);
        return;
    }
    case BORDER_RAISED: {
        const gfx::Pen light = MakePen(0xF5FFFFFF, penWidth);
        const gfx::Pen dark = MakePen(0xA8000000, penWidth);
        Line(g, light, x, y, r - 1, y);
        Line(g, light, x, y, x, b - 1);
        Line(g, dark, x, b, r, b);
        Line(g, dark, r, y, r, b - 1);
        return;
    }
    case BORDER_SOLID:
        g.DrawRectangle(MakePen(color.value_or(0xFF646464), penWidth), outline);
        return;
    case BORDER_DASHED: {
        gfx::Pen pen = MakePen(color.value_or(0x78000000), penWidth);
        pen.SetDashStyle(gfx::DashStyle::Dash);
        g.DrawRectangle(pen, outline);
        return;
    }
    default: g.DrawRectangle(MakePen(style, penWidth), outline); return;
    }
}

void FillGradient(gfx::Graphics& g, const gfx::RectF& rect, gfx::Argb from, gfx::Argb to,
                  std::optional<gfx::LinearGradientMode> mode) {
    const gfx::LinearGradientBrush brush(rect, from, to,
                                         mode.value_or(gfx::LinearGradientMode::Vertical),
                                         gfx::WrapMode::TileFlipXY);
    g.FillRectangle(brush, {rect.x, rect.y, rect.width - 1, rect.height - 1});
}

void EdgeFade(gfx::Graphics& g, const gfx::RectF& rect, std::uint32_t rgb,
              std::optional<float> size, FadeSides sides, std::optional<float> inset) {
    const float s = size.value_or(100.0f);
    const float u = inset.value_or(6.0f);
    // A band never reaches past the middle, so opposite bands do not overlap.
    const auto band = [s](float extent) {
        return extent / 2 <= s + kGeometryTolerance ? extent / 2 : s;
    };
    const float eh = band(rect.height);
    const float ew = band(rect.width);
    const gfx::Argb solid = MakeArgb(rgb, 255);
    const gfx::Argb clear = MakeArgb(rgb, 0);
    using Mode = gfx::LinearGradientMode;
    if (sides.top) FillGradient(g, {rect.x, rect.y, rect.width, eh}, solid, clear, Mode::Vertical);
    if (sides.left)
        FillGradient(g, {rect.x, rect.y, ew, rect.height}, solid, clear, Mode::Horizontal);
    if (sides.bottom)
        FillGradient(g, {rect.x + u, rect.y + u + rect.height - eh, rect.width, eh + 1}, clear,
                     solid, Mode::Vertical);
    if (sides.right)
        FillGradient(g, {rect.x + u + rect.width - ew, rect.y + u, ew + 1, rect.height}, clear,
                     solid, Mode::Horizontal);
}

void DropShadow(gfx::Graphics& g, const gfx::RectF& rect, bool rounded, std::uint32_t rgb) {
    constexpr std::array<int, 4> kOpacity{45, 25, 10, 5};
    constexpr std::array<float, 4> kRoundCorner{10, 12, 15, 18};
    constexpr std::array<float, 4> kSquareCorner{1, 4, 7, 11};
    gfx::RectF r = rect;
    for (std::size_t i = 0; i < kOpacity.size(); ++i) {
        StrokeRoundRect(g, r, rounded ? kRoundCorner[i] : kSquareCorner[i],
                        MakeArgb(rgb, kOpacity[i]), gfx::DashStyle::Solid, 1.0f);
        AdjustRect(-1, -1, 2, 2, r);
    }
}

}  // namespace ui
