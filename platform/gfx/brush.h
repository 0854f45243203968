// Brushes: a solid colour or a two-colour linear gradient.
#pragma once

#include <variant>

#include "platform/gfx/types.h"

namespace gfx {

class SolidBrush {
public:
    explicit SolidBrush(Argb color) : color_(color) {}
    Argb Color() const { return color_; }
    void SetColor(Argb color) { color_ = color; }

private:
    Argb color_;
};

// A gradient over a rectangle: from `from` at the rectangle's start edge to
// `to` at its end edge along the mode's direction, repeated outside the
// rectangle as the wrap mode says (TileFlipXY mirrors every other tile).
class LinearGradientBrush {
public:
    LinearGradientBrush(const RectF& rect, Argb from, Argb to,
                        LinearGradientMode mode = LinearGradientMode::Horizontal,
                        WrapMode wrap = WrapMode::Tile)
        : rect_(rect), from_(from), to_(to), mode_(mode), wrap_(wrap) {}

    const RectF& Rect() const { return rect_; }
    Argb From() const { return from_; }
    Argb To() const { return to_; }
    LinearGradientMode Mode() const { return mode_; }
    WrapMode Wrap() const { return wrap_; }
    void SetWrapMode(WrapMode wrap) { wrap_ = wrap; }

private:
    RectF rect_;
    Argb from_;
    Argb to_;
    LinearGradientMode mode_;
    WrapMode wrap_;
};

// What the fill operations of Graphics take.
using Brush = std::variant<SolidBrush, LinearGradientBrush>;

}  // namespace gfx
