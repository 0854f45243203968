// Threads with a cooperative stop: a stop request is honoured at the
// thread's own check points, so it never leaves a lock held.
#include "runtime/thread.h"

#include <mutex>
#include <system_error>
#include <thread>

#include "runtime/sync.h"

namespace rt {

class ThreadState {
public:
    std::stop_source stop;
    Mutex mutex;
    Condition done;
    bool finished = false;
};

namespace {

// A plain pointer, valid while RunThread holds the state: a thread_local
// with a destructor (a stop_token) is destroyed by mingw-w64 after the
// thread's own storage is freed, and its release then writes into memory
// the heap has given to someone else.
thread_local ThreadState* currentThread = nullptr;

void RunThread(std::shared_ptr<ThreadState> state, std::function<void()> entry) {
    currentThread = state.get();
    entry();
    entry = nullptr;  // the entry's captures are gone before join() returns
    currentThread = nullptr;
    {
        std::lock_guard lock(state->mutex);
        state->finished = true;
    }
    state->done.NotifyAll();
}

}  // namespace

bool ThreadHandle::Finished() const {
    if (!state_) return true;
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

void ThreadHandle::join() const {
    if (!state_) return;
    std::unique_lock lock(state_->mutex);
    state_->done.Wait(lock, [this] { return state_->finished; });
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
    if (!handle.state_ || handle.Finished()) return false;
    return handle.state_->stop.request_stop();
}

std::stop_token CurrentStopToken() {
    return currentThread != nullptr ? currentThread->stop.get_token() : std::stop_token();
}

bool StopRequested() { return currentThread != nullptr && currentThread->stop.stop_requested(); }

}  // namespace rt
