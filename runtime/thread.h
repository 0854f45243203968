// Worker threads that can be stopped from another thread.
//
// A stop is a request: the worker honours it at its check points
// (StopRequested() before each page request and each row) and a web transfer
// in progress is aborted through a stop callback, so no lock is ever left held.
#pragma once

#include <functional>
#include <memory>
#include <stop_token>

namespace rt {

class ThreadState;

// The handle of a started thread; copies refer to the same thread.
class ThreadHandle {
public:
    ThreadHandle() = default;
    bool valid() const { return state_ != nullptr; }
    // True once the thread's entry has returned.
    bool Finished() const;
    // Waits until the thread's entry has returned (never call from the thread itself).
    void join() const;

private:
    friend bool StartThread(std::function<void()>, ThreadHandle*);
    friend bool StopThread(const ThreadHandle&);
    std::shared_ptr<ThreadState> state_;
};

// Starts `entry` on a new thread. When `handle` is given it receives the
// thread's handle; otherwise the thread runs detached. Returns true when the
// thread was created.
bool StartThread(std::function<void()> entry, ThreadHandle* handle = nullptr);

// Requests the thread to stop and returns at once; the thread does no further
// work after its next check point. True when the request was made (the thread
// had not stopped already). Callable from the thread itself.
bool StopThread(const ThreadHandle& handle);

// The stop token of the calling thread (a token that never stops on a thread
// not started by StartThread). Web transfers register a stop_callback on it.
std::stop_token CurrentStopToken();

// True when a stop was requested for the calling thread.
bool StopRequested();

}  // namespace rt
