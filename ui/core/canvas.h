// UiCanvas: an off-screen 32-bit premultiplied ARGB surface with a graphics on
// it, the picture a host window composes and presents.
#pragma once

#include <memory>

#include "ui/core/types.h"

namespace ui {

struct UiCanvas {
    std::unique_ptr<gfx::Bitmap> bitmap;
    std::unique_ptr<gfx::Graphics> graphics;  // anti-aliased shapes and text

    // Drops the old surface and makes a new one (graphics included when asked).
    void Create(int width, int height, bool withGraphics = true);
    void Reset();
    bool Empty() const { return !bitmap; }
    int Width() const;
    int Height() const;
};

// The process-wide measuring canvas: text measuring and cross-fade scratch.
UiCanvas& MeasuringCanvas();
// Re-creates the measuring canvas at (width, height) when it is narrower or lower.
void GrowMeasuringCanvas(int width, int height);

}  // namespace ui
