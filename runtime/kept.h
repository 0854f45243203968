// Process-wide state that is built on first use and deliberately never
// destroyed: a worker thread may still use it while the process exits, after
// the exit handlers have run.
#pragma once

#include <new>
#include <utility>

namespace rt {

// Holds a T constructed in place; the T's destructor never runs. Declare it as
// a function-local static so it is built once, on first use.
template <class T>
class Kept {
public:
    template <class... Args>
    explicit Kept(Args&&... args) {
        ::new (static_cast<void*>(storage_)) T(std::forward<Args>(args)...);
    }
    Kept(const Kept&) = delete;
    Kept& operator=(const Kept&) = delete;

    T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace rt
