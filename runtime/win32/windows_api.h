// The Windows API headers without the min and max macros (they break
// std::min and std::numeric_limits<T>::max) and without the rarely used
// parts, for the Windows backends' shared headers.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
