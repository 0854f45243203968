// The menu grab on the X side.
#pragma once

namespace plat::x11 {

// Takes the menu grab again after a capture ended (needs XConnection().mu). False
// when no menu holds it.
bool RestoreMenuGrab();

}  // namespace plat::x11
