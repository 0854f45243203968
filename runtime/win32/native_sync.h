// A lock and a condition variable over Windows' slim reader/writer lock and
// condition variable. The C++ library's own (winpthreads) wait on kernel
// objects: under wine each wait and wake is a round trip to the wine server,
// which shows in code that hands work between threads for every page.
#pragma once

#include <windows.h>

#include <mutex>

namespace rt {

// A BasicLockable for std::lock_guard and std::unique_lock.
class SlimMutex {
public:
    SlimMutex() = default;
    SlimMutex(const SlimMutex&) = delete;
    SlimMutex& operator=(const SlimMutex&) = delete;

    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }
    SRWLOCK* native() { return &lock_; }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};

class SlimCondition {
public:
    SlimCondition() = default;
    SlimCondition(const SlimCondition&) = delete;
    SlimCondition& operator=(const SlimCondition&) = delete;

    // Waits until `done()` holds or `timeoutMs` pass (INFINITE: no limit);
    // returns `done()`.
    template <class Done>
    bool WaitFor(std::unique_lock<SlimMutex>& lock, DWORD timeoutMs, Done done) {
        const ULONGLONG until = GetTickCount64() + timeoutMs;
        while (!done()) {
            DWORD wait = INFINITE;
            if (timeoutMs != INFINITE) {
                const ULONGLONG now = GetTickCount64();
                if (now >= until) return false;
                wait = static_cast<DWORD>(until - now);
            }
            SleepConditionVariableSRW(&condition_, lock.mutex()->native(), wait, 0);
        }
        return true;
    }
    void NotifyOne() { WakeConditionVariable(&condition_); }
    void NotifyAll() { WakeAllConditionVariable(&condition_); }

private:
    CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

}  // namespace rt
