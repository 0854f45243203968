// rt::Mutex and rt::Condition over Windows' slim reader/writer lock and
// condition variable (see runtime/sync.h). The header leaves <windows.h>
// out: its macros would rename the platform layer's functions.
#pragma once

#include <mutex>

namespace rt {

class Mutex {
public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock();
    void unlock();

private:
    friend class Condition;
    void* lock_ = nullptr;  // an SRWLOCK: all zero is SRWLOCK_INIT
};

class Condition {
public:
    static constexpr unsigned long kForever = 0xFFFFFFFF;  // INFINITE

    Condition() = default;
    Condition(const Condition&) = delete;
    Condition& operator=(const Condition&) = delete;

    // Waits until `done()` holds.
    template <class Done>
    void Wait(std::unique_lock<Mutex>& lock, Done done) {
        while (!done()) SleepOnce(*lock.mutex(), kForever);
    }
    // Waits until `done()` holds or `timeoutMs` pass (kForever: no limit);
    // returns `done()`.
    template <class Done>
    bool WaitFor(std::unique_lock<Mutex>& lock, unsigned long timeoutMs, Done done) {
        const unsigned long long until = NowMs() + timeoutMs;
        while (!done()) {
            unsigned long wait = kForever;
            if (timeoutMs != kForever) {
                const unsigned long long now = NowMs();
                if (now >= until) return false;
                wait = static_cast<unsigned long>(until - now);
            }
            SleepOnce(*lock.mutex(), wait);
        }
        return true;
    }
    void NotifyOne();
    void NotifyAll();

private:
    // One wait with `mutex` released, until a notification, a spurious wake
    // or `timeoutMs`.
    void SleepOnce(Mutex& mutex, unsigned long timeoutMs);
    static unsigned long long NowMs();

    void* condition_ = nullptr;  // a CONDITION_VARIABLE: all zero is CONDITION_VARIABLE_INIT
};

}  // namespace rt
