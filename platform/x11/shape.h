// The bounding shape of a window: its region, and without a compositor also
// the cut of its transparent pixels.
#pragma once

#include "platform/x11/window.h"

namespace plat::x11 {

// Applies the window's bounding shape: its region, intersected with the
// opaque pixels when transparency is cut. Rows rowFrom..rowTo of the kept
// picture are read again; `force` applies the shape even when no row
// changed. Needs XConnection().mu.
void UpdateShape(core::WindowRecord& rec, X11Window& n, int rowFrom, int rowTo, bool force);

}  // namespace plat::x11
