// A stop request ends a request that waits for a name lookup at once, not when
// the lookup ends. Runs with a preloaded resolver whose lookup of
// "stall.invalid" takes seconds (eight; three under wine).
#include <gtest/gtest.h>
#include <unistd.h>

#include "monotonic_seconds.h"
#include "runtime/thread.h"
#include "web/request.h"

namespace {

using webtest::Seconds;

TEST(LookupStop, StopDuringANameLookupReturnsAtOnce) {
    rt::Text result = "unset";
    rt::ThreadHandle worker;
    ASSERT_TRUE(
        rt::StartThread([&] { result = web::WebRequestText("http://stall.invalid/x"); }, &worker));
    usleep(300 * 1000);  // the lookup is under way
    ASSERT_FALSE(worker.Finished());
    const double stoppedAt = Seconds();
    rt::StopThread(worker);
    worker.join();
    // The lookup itself would take seconds.
    EXPECT_LT(Seconds() - stoppedAt, 1.0);
    EXPECT_EQ(result, "");
}

}  // namespace
