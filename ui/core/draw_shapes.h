// Shapes drawn immediately on a graphics: rounded rectangles, borders,
// gradient fills, the edge fade of a skin and the soft drop shadow of a frame.
// Nothing here keeps state; every pen, brush and path lives only for the call.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/graphics.h"
#include "platform/gfx/path.h"
#include "platform/gfx/types.h"

namespace ui {

// Border styles of DrawBorder; any other value is the ARGB colour of a solid outline.
inline constexpr std::uint32_t BORDER_NONE = 0;
inline constexpr std::uint32_t BORDER_SUNKEN = 1;
inline constexpr std::uint32_t BORDER_RAISED = 2;
inline constexpr std::uint32_t BORDER_SOLID = 3;
inline constexpr std::uint32_t BORDER_DASHED = 4;

// A path of one rounded rectangle (gfx::Path::AddRoundedRectangle).
gfx::Path RoundRectPath(const gfx::RectF& rect, float corner,
                        gfx::FillMode fillMode = gfx::FillMode::Alternate);
void FillRoundRect(gfx::Graphics& g, const gfx::RectF& rect, float corner, gfx::Argb color);
void StrokeRoundRect(gfx::Graphics& g, const gfx::RectF& rect, float corner, gfx::Argb color,
                     gfx::DashStyle dash = gfx::DashStyle::Solid,
                     std::optional<float> penWidth = std::nullopt);
void FillShape(gfx::Graphics& g, const gfx::Path& path, gfx::Argb color);
void StrokeShape(gfx::Graphics& g, const gfx::Path& path, gfx::Argb color,
                 std::optional<float> penWidth = std::nullopt);

// A rectangle border: BORDER_SUNKEN and BORDER_RAISED draw two-tone edges,
// BORDER_SOLID (default grey 100) and BORDER_DASHED (default black at 120) an
// outline in `color`; any other non-zero style is itself the outline colour.
void DrawBorder(gfx::Graphics& g, const gfx::RectF& rect, std::uint32_t style,
                std::optional<gfx::Argb> color = std::nullopt,
                std::optional<float> penWidth = std::nullopt);

// A linear gradient over the rectangle, mirrored beyond it; the fill covers
// (x, y, width - 1, height - 1). Vertical unless another mode is given.
void FillGradient(gfx::Graphics& g, const gfx::RectF& rect, gfx::Argb from, gfx::Argb to,
                  std::optional<gfx::LinearGradientMode> mode = std::nullopt);

// Which sides EdgeFade draws.
struct FadeSides {
    bool top = false;
    bool left = false;
    bool bottom = false;
    bool right = false;
};

// Bands that fade the edges of an image into the colour `rgb` (0x00BBGGRR):
// each band is opaque at the outer edge and `size` pixels deep, or half the
// rectangle when that is less, so opposite bands never overlap. The bottom and right bands are
// shifted by `inset`, because callers pass the image rectangle relative to the frame origin.
void EdgeFade(gfx::Graphics& g, const gfx::RectF& rect, std::uint32_t rgb,
              std::optional<float> size, FadeSides sides,
              std::optional<float> inset = std::nullopt);

// Four soft outlines around `rect` in `rgb` (0x00BBGGRR), fading outwards.
void DropShadow(gfx::Graphics& g, const gfx::RectF& rect, bool rounded, std::uint32_t rgb);

}  // namespace ui
