// The lock and condition variable the program's threads hand work over
// with: the C++ library's own on Linux, Windows' slim reader/writer lock and
// condition variable on Windows. The C++ library built for Windows waits on
// winpthreads' kernel-object condition variables, which under wine now and
// then miss a wake-up and sleep for good, and which cost a round trip to the
// wine server for every wait and wake.
//   rt::Mutex      BasicLockable, for std::lock_guard and std::unique_lock
//   rt::Condition  Wait(lock, done), NotifyOne(), NotifyAll()
#pragma once

#ifdef _WIN32
#include "runtime/win32/native_sync.h"
#else
#include "runtime/posix/native_sync.h"
#endif
