// Jobs handed to the kept helper threads: a job never waits behind a blocked
// one, and a finished helper takes the next job instead of a new thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <set>

#include "runtime/helper_threads.h"
#include "runtime/sync.h"

namespace {

// What the jobs report back to the test's thread.
struct Board {
    rt::Mutex mutex;
    rt::Condition changed;
    bool released = false;
    int done = 0;
    std::set<DWORD> threads;

    void Finish() {
        std::lock_guard lock(mutex);
        ++done;
        threads.insert(GetCurrentThreadId());
        changed.NotifyAll();
    }
    bool WaitDone(int n) {
        std::unique_lock lock(mutex);
        return changed.WaitFor(lock, 10000, [&] { return done >= n; });
    }
};

TEST(HelperThreads, AJobRunsBesideABlockedOneAndHelpersAreReused) {
    static Board board;  // a blocked job may outlive a failed test
    ASSERT_TRUE(rt::RunOnHelper([] {
        std::unique_lock lock(board.mutex);
        board.changed.Wait(lock, [] { return board.released; });
        lock.unlock();
        board.Finish();
    }));
    ASSERT_TRUE(rt::RunOnHelper([] { board.Finish(); }));
    ASSERT_TRUE(board.WaitDone(1)) << "the second job waited for the blocked first";
    {
        std::lock_guard lock(board.mutex);
        board.released = true;
        board.changed.NotifyAll();
    }
    ASSERT_TRUE(board.WaitDone(2));
    // One after another, the later jobs run on the two helpers there are.
    for (int i = 3; i <= 20; ++i) {
        ASSERT_TRUE(rt::RunOnHelper([] { board.Finish(); }));
        ASSERT_TRUE(board.WaitDone(i));
    }
    std::lock_guard lock(board.mutex);
    EXPECT_EQ(board.threads.size(), 2u);
}

}  // namespace
