// The CLIPBOARD selection, owned by a hidden window: offers TARGETS,
// UTF8_STRING, TEXT and STRING (INCR for large texts), reads other owners'
// text, and hands the text to a clipboard manager at exit.
#pragma once

#include <X11/Xlib.h>

namespace plat::x11 {

// Handles selection events of the hidden window (called with XConnection().mu held);
// true when the event was one of them.
bool HandleSelectionEvent(const XEvent& ev);

}  // namespace plat::x11
