// Entry points through which a backend hands native events to the core.
// Coordinates are screen pixels. None may be called with the core lock held.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace plat::core::events {

// `under`: the window the native system says is under the pointer (null:
// the core finds it with WindowFromPoint).
void MouseMove(Hwnd under, POINT screen);
// button: 0 left, 1 right, 2 middle.
void MouseButton(Hwnd under, int button, bool down, POINT screen);
void Wheel(Hwnd under, int delta, POINT screen);
// The pointer left `hwnd` (null: every window).
void PointerLeft(Hwnd hwnd);

// A key for the focused window (or `target` when nothing is focused).
void Key(Hwnd target, int vk, bool down, const std::string& utf8Chars);
// Modifier state as the window system reports it (keeps GetKeyState right
// when keys were pressed outside our windows).
void SyncModifiers(bool shift, bool control, bool alt);
// An input method committed text.
void Commit(Hwnd target, const std::string& utf8);

void Exposed(Hwnd hwnd, const RECT& rect);
void Configure(Hwnd hwnd, const RECT& rect);
void FocusGained(Hwnd hwnd);
void FocusLost(Hwnd hwnd);
void CloseRequest(Hwnd hwnd);
void Mapped(Hwnd hwnd, bool mapped);
void MaximizedChanged(Hwnd hwnd, bool maximized);

}  // namespace plat::core::events
