// A failed property aborts, so the fuzzer keeps the input that broke it.
#pragma once

#include <cstdlib>

namespace fuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace fuzz
