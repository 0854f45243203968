#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "runtime/sync.h"
#include "runtime/thread.h"

namespace rt {
namespace {

// One thread tells others that something has happened. Not std::latch: built
// for Windows, its wait can miss the count-down and sleep for good (see
// runtime/sync.h).
class Signal {
public:
    void Raise() {
        {
            std::lock_guard lock(mutex_);
            raised_ = true;
        }
        changed_.NotifyAll();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        changed_.Wait(lock, [this] { return raised_; });
    }

private:
    Mutex mutex_;
    Condition changed_;
    bool raised_ = false;
};

TEST(Threads, StartRunsTheEntryAndJoinWaitsForIt) {
    std::atomic<int> runs{0};
    ThreadHandle handle;
    ASSERT_TRUE(StartThread([&] { ++runs; }, &handle));
    ASSERT_TRUE(handle.valid());
    handle.join();
    EXPECT_TRUE(handle.Finished());
    EXPECT_EQ(runs.load(), 1);
    EXPECT_FALSE(StopThread(handle));  // already ended
}

TEST(Threads, DetachedThreadRuns) {
    // Shared, because the detached thread may still be inside Raise() when
    // Wait() returns.
    auto done = std::make_shared<Signal>();
    ASSERT_TRUE(StartThread([done] { done->Raise(); }));
    done->Wait();
}

TEST(Threads, EmptyEntryIsNotStarted) {
    ThreadHandle handle;
    EXPECT_FALSE(StartThread(nullptr, &handle));
    EXPECT_FALSE(handle.valid());
    EXPECT_FALSE(StopThread(handle));
}

TEST(Threads, StopIsHonouredAtTheNextCheckPoint) {
    std::atomic<int> workAfterStop{0};
    std::atomic<bool> stopped{false};
    Signal running;
    ThreadHandle handle;
    ASSERT_TRUE(StartThread(
        [&] {
            running.Raise();
            while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            // The check point said stop; anything here would be work after the stop.
            if (!stopped.load()) ++workAfterStop;
        },
        &handle));
    running.Wait();
    stopped = true;
    EXPECT_TRUE(StopThread(handle));
    EXPECT_FALSE(StopThread(handle));  // requested already
    handle.join();
    EXPECT_EQ(workAfterStop.load(), 0);
}

TEST(Threads, StopFromTheThreadItself) {
    std::atomic<bool> result{false};
    std::atomic<bool> seen{false};
    ThreadHandle handle;
    Signal handleReady;
    ASSERT_TRUE(StartThread(
        [&] {
            handleReady.Wait();
            result = StopThread(handle);
            seen = StopRequested();
        },
        &handle));
    handleReady.Raise();
    handle.join();
    EXPECT_TRUE(result.load());
    EXPECT_TRUE(seen.load());
}

TEST(Threads, StopCallbackOnTheCurrentTokenFires) {
    std::atomic<bool> aborted{false};
    Signal registered;
    ThreadHandle handle;
    ASSERT_TRUE(StartThread(
        [&] {
            std::stop_callback abort(CurrentStopToken(), [&] { aborted = true; });
            registered.Raise();
            while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        &handle));
    registered.Wait();
    StopThread(handle);
    handle.join();
    EXPECT_TRUE(aborted.load());
}

// A transfer ending as the stop arrives: the stopping thread is running the
// transfer's callback while the transfer's thread removes it, and the removal
// waits for the callback to end. Built for Windows, that wait once missed the
// end now and then and never returned.
TEST(Threads, RemovingACallbackThatTheStopIsRunningWaitsForIt) {
    for (int round = 0; round < 1000; ++round) {
        std::atomic<bool> running{false};
        std::atomic<bool> ended{false};
        std::atomic<bool> endedBeforeRemoval{false};
        Signal registered;
        ThreadHandle handle;
        ASSERT_TRUE(StartThread(
            [&] {
                {
                    std::stop_callback onStop(CurrentStopToken(), [&] {
                        running = true;
                        std::this_thread::yield();
                        ended = true;
                    });
                    registered.Raise();
                    while (!running) std::this_thread::yield();
                }
                endedBeforeRemoval = ended.load();
            },
            &handle));
        registered.Wait();
        StopThread(handle);
        handle.join();
        ASSERT_TRUE(endedBeforeRemoval.load()) << "round " << round;
    }
}

TEST(Threads, ThreadsNotStartedHereNeverStop) {
    EXPECT_FALSE(StopRequested());
    EXPECT_FALSE(CurrentStopToken().stop_possible());
    // Each started thread has its own token.
    ThreadHandle first, second;
    std::atomic<bool> secondSawStop{true};
    Signal firstStopped;
    ASSERT_TRUE(StartThread(
        [&] {
            while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        &first));
    ASSERT_TRUE(StartThread(
        [&] {
            firstStopped.Wait();
            secondSawStop = StopRequested();
        },
        &second));
    StopThread(first);
    first.join();
    firstStopped.Raise();
    second.join();
    EXPECT_FALSE(secondSawStop.load());
}

}  // namespace
}  // namespace rt
