// What the Windows backend's tests ask the system directly: input injected
// with SendInput, pixels read from the screen, the native window of a
// title, and the clipboard. Free of the system's headers, which would
// garble the core's names in the tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "runtime/text.h"

namespace platform_win32_test {

// ---- input, in screen pixels (the system's own queue, as a user's)
void MovePointer(int x, int y);
void LeftButton(bool down);
void Key(int vk, bool down);
// A character typed without a key of its own (KEYEVENTF_UNICODE).
void TypeCharacter(char16_t character);

// ---- the screen: 0xRRGGBB of a pixel
std::uint32_t ScreenPixel(int x, int y);

// ---- the native window shown for a title (code page 936)
struct NativeWindowInfo {
    bool found = false;
    bool visible = false;
    bool layered = false;
    bool hasBigIcon = false;
    bool hasSmallIcon = false;
    plat::RECT rect;
    plat::RECT regionBox;  // empty when the window has no region
};
NativeWindowInfo NativeWindow(const rt::Text& title);

// ---- the clipboard as the system holds it (CF_UNICODETEXT), UTF-8
bool SetNativeClipboard(const std::string& utf8);
std::optional<std::string> NativeClipboard();

}  // namespace platform_win32_test
