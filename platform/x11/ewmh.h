// Values of the window-manager conventions (EWMH, Motif hints) and the one
// way client messages reach the window manager.
#pragma once

#include <X11/Xlib.h>

namespace plat::x11 {

// _NET_WM_STATE actions.
inline constexpr long kNetWmStateRemove = 0;
inline constexpr long kNetWmStateAdd = 1;

// _NET_WM_MOVERESIZE directions.
enum class MoveResizeDirection : long {
    SizeTopLeft = 0,
    SizeTop = 1,
    SizeTopRight = 2,
    SizeRight = 3,
    SizeBottomRight = 4,
    SizeBottom = 5,
    SizeBottomLeft = 6,
    SizeLeft = 7,
    Move = 8,
    Cancel = 11,
};

// Where a request comes from (_NET_ACTIVE_WINDOW, _NET_WM_STATE ...).
inline constexpr long kSourceApplication = 1;

// _MOTIF_WM_HINTS: five longs, flags first; the decorations field counts
// when its flag is set, and 0 decorations means no frame.
inline constexpr long kMwmHintsDecorations = 1L << 1;
struct MotifWmHints {
    long flags = 0;
    long functions = 0;
    long decorations = 0;
    long inputMode = 0;
    long status = 0;
};

// Sends a 32-bit client message about `window` to the root window, where the
// window manager listens. Needs XConnection().mu.
void SendToManager(Window window, Atom type, long l0, long l1 = 0, long l2 = 0, long l3 = 0,
                   long l4 = 0);

}  // namespace plat::x11
