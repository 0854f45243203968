// The X11 backend presents to an Xvfb of the benchmark's own, started as the
// backend's tests start theirs; it lasts until the program ends.
#include "bench/platform/display.h"

#include "tests/platform/x11/xserver.h"

namespace present_bench {

bool DisplayReady() {
    static platform_x11_test::XServer server;
    return server.Ok();
}

}  // namespace present_bench
