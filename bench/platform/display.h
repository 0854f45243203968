// The display the present benchmark's window shows on, set up the way of
// the window-system backend the build is for.
#pragma once

namespace present_bench {

// Brings the display up on the first call; false when there is none.
bool DisplayReady();

}  // namespace present_bench
