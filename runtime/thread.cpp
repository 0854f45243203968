// Threads with a cooperative stop: a stop request is honoured at the
// thread's own check points, so it never leaves a lock held.
#include "runtime/thread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace rt {

class ThreadState {
public:
    std::stop_source stop;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

namespace {

thread_local std::stop_token currentStopToken;

void RunThread(std::shared_ptr<ThreadState> state, std::function<void()> entry) {
    currentStopToken = state->stop.get_token();
    entry();
    entry = nullptr;  // the entry's captures are gone before join() returns
    {
        std::lock_guard lock(state->mutex);
        state->finished = true;
    }
    state->done.notify_all();
}

}  // namespace

bool ThreadHandle::finished() const {
    if (!state_) return true;
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

void ThreadHandle::join() const {
    if (!state_) return;
    std::unique_lock lock(state_->mutex);
    state_->done.wait(lock, [this] { return state_->finished; });
}

bool StartThread(std::function<void()> entry, ThreadHandle* handle) {
    if (!entry) return false;
    auto state = std::make_shared<ThreadState>();
    try {
        std::thread(RunThread, state, std::move(entry)).detach();
    } catch (const std::system_error&) {
        return false;
    }
    if (handle != nullptr) handle->state_ = std::move(state);
    return true;
}

bool StopThread(const ThreadHandle& handle) {
    if (!handle.state_ || handle.finished()) return false;
    return handle.state_->stop.request_stop();
}

std::stop_token CurrentStopToken() { return currentStopToken; }

bool StopRequested() { return currentStopToken.stop_requested(); }

}  // namespace rt
