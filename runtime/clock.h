// The monotonic clock: milliseconds since an arbitrary start, never set back.
// (<chrono> holds literals without a code-page-936 form, so code compiled
// with code-page-936 literals reads the clock here.)
#pragma once

#include <cstdint>

namespace rt {

std::int64_t MonotonicMs();

}  // namespace rt
