// The core's declarations, then the system's headers, in that order: the
// system's headers define the window API's names as macros (SendMessage,
// IDC_ARROW, WS_EX_TOPMOST ...), which would garble the core's own
// declarations of the same names if they came first. Below this header the
// system's names win; the message and style numbers are the same on both
// sides, and the core's types are spelled plat::POINT, the system's ::POINT.
#pragma once

#include "platform/core/events.h"
#include "platform/core/state.h"

namespace plat::win32 {
// Core values whose names the system's headers take as macros of another type.
inline constexpr int kArrowCursor = plat::IDC_ARROW;
}  // namespace plat::win32

#include "runtime/win32/windows_api.h"
