// Native messages on their way to the core. The window procedure runs on
// the window's thread, often inside a system call that a backend function
// made with the core's lock held (SetWindowPos sends WM_WINDOWPOSCHANGED
// before it returns); it therefore never calls the core itself, but leaves
// the work for the thread to run once no lock is held.
#pragma once

#include "platform/win32/win32.h"
#include "runtime/owned.h"

#include <deque>
#include <functional>

namespace plat::win32 {

using OwnedHandle = rt::Owned<void, ::CloseHandle>;

// A thread's queue on the system's side: the event that wakes its wait, and
// the work its window procedures left for the core.
struct Win32Queue : core::NativeQueue {
    OwnedHandle wake{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::deque<std::function<void()>> later;
    int systemLoops = 0;  // system move or size loops running
};

// The calling thread's (made with its core queue).
Win32Queue& ThreadQueueOf();

// Leaves `work` for the calling thread (the window's) to hand to the core.
void Later(std::function<void()> work);
// Runs the work left so far; false when there was none. Without the lock.
bool RunLater();

// Reads every native message of the calling thread that is there now and
// hands it on: keys with the characters they type, the rest to the window
// procedure.
void PumpNative();

// Inside a system move or size loop (the system pumps messages and only
// timers reach the core): the core's messages are served from the loop.
bool InSystemLoop();

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// A posted message of the backend's own: starts the system's move or size
// loop for a zone (wParam) if the left button is still down.
inline constexpr UINT kStartMoveSize = WM_APP + 1;
// Applies the title another thread set (Win32Window::pendingTitle).
inline constexpr UINT kApplyTitle = WM_APP + 2;

}  // namespace plat::win32
