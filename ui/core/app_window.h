// The application's own host window, shared by the program, the gallery and
// the benchmarks so that all of them measure and show the same window.
#pragma once

#include "runtime/text.h"
#include "ui/core/types.h"
#include "ui/core/window.h"

namespace ui {

inline constexpr int kAppWindowWidth = 975;
inline constexpr int kAppWindowHeight = 547;

// Starts the library and creates a centred 975 x 547 host window; nullptr on failure.
NativeWindow CreateAppWindow(const rt::Text& title);

// The built-in skin stretched over a layered window of alpha 200.
AttachOptions SkinnedAttachOptions(int captionFlags);

}  // namespace ui
