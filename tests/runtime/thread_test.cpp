#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <memory>
#include <thread>

#include "runtime/thread.h"

namespace rt {
namespace {

TEST(Threads, StartRunsTheEntryAndJoinWaitsForIt) {
    std::atomic<int> runs{0};
    ThreadHandle handle;
    ASSERT_TRUE(StartThread([&] { ++runs; }, &handle));
    ASSERT_TRUE(handle.valid());
    handle.join();
    EXPECT_TRUE(handle.finished());
    EXPECT_EQ(runs.load(), 1);
    EXPECT_FALSE(StopThread(handle));  // already ended
}

TEST(Threads, DetachedThreadRuns) {
    // Shared, because the detached thread may still be inside count_down()
    // when wait() returns.
    auto done = std::make_shared<std::latch>(1);
    ASSERT_TRUE(StartThread([done] { done->count_down(); }));
    done->wait();
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
    std::latch running(1);
    ThreadHandle handle;
    ASSERT_TRUE(StartThread(
        [&] {
            running.count_down();
            while (!StopRequested()) std::this_thread::yield();
            // The check point said stop; anything here would be work after the stop.
            if (!stopped.load()) ++workAfterStop;
        },
        &handle));
    running.wait();
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
    std::latch handleReady(1);
    ASSERT_TRUE(StartThread(
        [&] {
            handleReady.wait();
            result = StopThread(handle);
            seen = StopRequested();
        },
        &handle));
    handleReady.count_down();
    handle.join();
    EXPECT_TRUE(result.load());
    EXPECT_TRUE(seen.load());
}

TEST(Threads, StopCallbackOnTheCurrentTokenFires) {
    std::atomic<bool> aborted{false};
    std::latch registered(1);
    ThreadHandle handle;
    ASSERT_TRUE(StartThread(
        [&] {
            std::stop_callback abort(CurrentStopToken(), [&] { aborted = true; });
            registered.count_down();
            while (!StopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        &handle));
    registered.wait();
    StopThread(handle);
    handle.join();
    EXPECT_TRUE(aborted.load());
}

TEST(Threads, ThreadsNotStartedHereNeverStop) {
    EXPECT_FALSE(StopRequested());
    EXPECT_FALSE(CurrentStopToken().stop_possible());
    // Each started thread has its own token.
    ThreadHandle first, second;
    std::atomic<bool> secondSawStop{true};
    std::latch firstStopped(1);
    ASSERT_TRUE(StartThread(
        [&] {
            while (!StopRequested()) std::this_thread::yield();
        },
        &first));
    ASSERT_TRUE(StartThread(
        [&] {
            firstStopped.wait();
            secondSawStop = StopRequested();
        },
        &second));
    StopThread(first);
    first.join();
    firstStopped.count_down();
    second.join();
    EXPECT_FALSE(secondSawStop.load());
}

}  // namespace
}  // namespace rt
