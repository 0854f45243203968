// Threads kept for reuse by calls that must run apart from their caller: a
// blocking system call the caller has to be able to walk away from (a
// WinINet name lookup cannot be cancelled). Built on Windows, where making a
// thread is dear (every loaded library hears of each new thread), far
// dearer than handing a job to a thread that waits for one.
#pragma once

#include <functional>

namespace rt {

// Runs `job` on an idle helper thread, or on a new one when every helper is
// busy, so a job never waits for another; returns at once. False when no
// thread could be made. Helpers stay for the life of the process, waiting
// between jobs: a job may still run while the process exits.
bool RunOnHelper(std::function<void()> job);

}  // namespace rt
