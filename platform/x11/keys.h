// X keysyms to virtual-key codes.
#pragma once

#include <X11/X.h>

#include "platform/platform.h"

namespace plat::x11 {

// The virtual-key code of a keysym; VK_PACKET for a key that only types a
// character (`hasText`), 0 for keys the layer ignores.
int VirtualKey(KeySym sym, bool hasText);

}  // namespace plat::x11
