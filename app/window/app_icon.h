// The program's icon as the pictures a window's icon list takes.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace app {

// One picture per embedded icon size, smallest first; a size whose image does
// not decode is left out.
std::vector<plat::IconImage> AppIconImages();

}  // namespace app
