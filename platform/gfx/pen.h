// A pen: colour, width in pixels and dash style. Width 0 draws one pixel wide.
#pragma once

#include "platform/gfx/types.h"

namespace gfx {

class Pen {
public:
    explicit Pen(Argb color, float width = 1.0f) : color_(color), width_(width) {}

    Argb Color() const { return color_; }
    float Width() const { return width_; }
    DashStyle Dash() const { return dash_; }
    void SetColor(Argb color) { color_ = color; }
    void SetWidth(float width) { width_ = width; }
    void SetDashStyle(DashStyle dash) { dash_ = dash; }

private:
    Argb color_;
    float width_;
    DashStyle dash_ = DashStyle::Solid;
};

}  // namespace gfx
