// Test control of the in-memory backend: the clock, the screen, injected
// input, and what a window shows. Only programs linked with platform_headless
// may include this header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat::headless {

// ---- clock: GetTickCount, timers and Sleep run on it. Sleep advances it.
DWORD Now();
// Advances the clock; due timers then fire in the next GetMessage/PeekMessage.
void AdvanceClock(DWORD ms);

// ---- screen (default 1920 x 1080, work area 0, 0, 1920, 1040)
void SetScreen(int width, int height, RECT workArea);
// Whether a compositing manager runs (default true).
void SetComposited(bool composited);

// ---- input, in screen coordinates; the layer turns it into messages for
// the window under the pointer (or the capture), as a window system would.
void MouseMove(int x, int y);
// button: 0 left, 1 right, 2 middle.
void MouseButton(int button, bool down);
// Moves, presses and releases the left button.
void Click(int x, int y);
void Wheel(int notches);  // positive: away from the user
// A key by virtual-key code; `chars` are the UTF-8 characters it types.
void Key(int vk, bool down, const std::string& chars = {});
// Down and up of one key.
void KeyPress(int vk, const std::string& chars = {});
// Types UTF-8 text, one key per character (upper-case letters with Shift).
void TypeText(const std::string& utf8);
// An input method commits `utf8` to the focused window.
void CommitComposition(const std::string& utf8);
// The pointer leaves every window of the process.
void MouseLeaveAll();

// Runs PeekMessage/TranslateMessage/DispatchMessage until the calling
// thread's queue is empty; returns the number of messages dispatched.
int PumpMessages();

// ---- what windows show
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // premultiplied ARGB, caret included
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Picture Presented(Hwnd hwnd);
int PresentCount(Hwnd hwnd);
// The shape set by SetWindowRgn (empty when none).
Region WindowRegion(Hwnd hwnd);
bool BlurBehind(Hwnd hwnd);
// Live windows of the process, top-most first.
std::vector<Hwnd> Windows();
int CurrentCursorId();
POINT ImeSpot(Hwnd hwnd);
// The application identity the window was created with, and its icons.
struct WindowIdentity {
    std::string name;
    std::string className;
    std::vector<IconImage> icons;
};
WindowIdentity Identity(Hwnd hwnd);

// ---- message boxes: without a user, a message box closes itself as soon
// as it has been shown (default). With `false`, it stays open until the test
// presses Enter or clicks its button from another thread.
void SetMessageBoxAutoClose(bool autoClose);
struct ShownMessageBox {
    rt::Text caption;
    rt::Text text;
};
std::vector<ShownMessageBox> ShownMessageBoxes();

// Destroys every window of the calling thread and resets input state,
// capture, focus, cursor, application identity, clipboard and the clock to
// a fresh start.
void Reset();

}  // namespace plat::headless
