#include <cstddef>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "runtime/helper_threads.h"
#include "runtime/kept.h"
#include "runtime/sync.h"

namespace rt {
namespace {

class Helpers {
public:
    bool Run(std::function<void()> job) {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        // Each waiting job needs a waiting helper of its own.
        if (jobs_.size() > idle_) {
            try {
                std::thread([this] { Serve(); }).detach();
            } catch (const std::system_error&) {
                jobs_.pop_back();
                return false;
            }
        }
        jobReady_.NotifyOne();
        return true;
    }

private:
    void Serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            jobReady_.Wait(lock, [this] { return !jobs_.empty(); });
            --idle_;
            std::function<void()> job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            job = nullptr;  // its captures go before the helper waits again
            lock.lock();
        }
    }

    Mutex mutex_;
    Condition jobReady_;
    std::deque<std::function<void()>> jobs_;
    std::size_t idle_ = 0;
};

}  // namespace

bool RunOnHelper(std::function<void()> job) {
    // Never destroyed: helpers wait on it while the process exits.
    static Kept<Helpers> helpers;
    return helpers.get().Run(std::move(job));
}

}  // namespace rt
