// The input method of a window (IMM32): the composition window at the
// caret, and the committed string handed to the core as on Linux.
#pragma once

#include "platform/win32/window.h"

namespace plat::win32 {

// Handles the input-method messages of a window procedure; false for
// other messages.
bool ImeMessage(HWND window, Win32Window& n, UINT msg, WPARAM wParam, LPARAM lParam,
                LRESULT* result);

}  // namespace plat::win32
