// The bounding shape of a window: its region, and without a compositor also
// the cut of its transparent pixels.
#pragma once

#include "platform/x11/window.h"

namespace plat::x11 {

// Applies the window's bounding shape: its region, intersected with the
// shown pixels when transparency is cut. `changed` is the part of the kept
// picture that changed since the last call; `force` applies the shape even
// when it stayed the same. Needs XConnection().mu.
void UpdateShape(core::WindowRecord& rec, X11Window& n, const RECT& changed, bool force);

}  // namespace plat::x11
