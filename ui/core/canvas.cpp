#include "ui/core/canvas.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

namespace ui {

void UiCanvas::Create(int width, int height, bool withGraphics) {
    Reset();
    bitmap = std::make_unique<gfx::Bitmap>(width, height);
    if (withGraphics) {
        graphics = std::make_unique<gfx::Graphics>(*bitmap);
        graphics->SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
        graphics->SetTextRenderingHint(gfx::TextRenderingHint::AntiAliasGridFit);
    }
}

void UiCanvas::Reset() {
    graphics.reset();  // before the pixels it draws on
    bitmap.reset();
}

int UiCanvas::Width() const { return bitmap ? bitmap->Width() : 0; }
int UiCanvas::Height() const { return bitmap ? bitmap->Height() : 0; }

UiCanvas& MeasuringCanvas() {
    static UiCanvas canvas;
    return canvas;
}

void GrowMeasuringCanvas(int width, int height) {
    UiCanvas& canvas = MeasuringCanvas();
    if (canvas.Empty() || canvas.Width() < width || canvas.Height() < height) {
        canvas.Create(std::max(width, canvas.Width()), std::max(height, canvas.Height()));
    }
}

}  // namespace ui
