// Names the library shares across its core and controls: the native window
// layer's handle and message-parameter types, and the drawing layer's
// geometry.
#pragma once

#include "platform/gfx/types.h"
#include "platform/platform.h"

namespace gfx {
class Bitmap;
class Graphics;
class Region;
class Font;
}  // namespace gfx

namespace ui {

using NativeWindow = plat::Hwnd;
using WParam = plat::WPARAM;
using LParam = plat::LPARAM;
using LResult = plat::LRESULT;
using TimerId = std::uintptr_t;
using RectF = gfx::RectF;

}  // namespace ui
