// rt::Mutex and rt::Condition over the C++ library's own (see runtime/sync.h).
#pragma once

#include <condition_variable>
#include <mutex>

namespace rt {

using Mutex = std::mutex;

class Condition {
public:
    // Waits until `done()` holds.
    template <class Done>
    void Wait(std::unique_lock<Mutex>& lock, Done done) {
        condition_.wait(lock, done);
    }
    void NotifyOne() { condition_.notify_one(); }
    void NotifyAll() { condition_.notify_all(); }

private:
    std::condition_variable condition_;
};

}  // namespace rt
