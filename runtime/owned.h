// std::unique_ptr for the handles of C libraries, freed by the library's own
// function: rt::Owned<cairo_t, cairo_destroy> cr(cairo_create(surface));
#pragma once

#include <memory>

namespace rt {

template <auto Free>
struct FreeWith {
    template <typename T>
    void operator()(T* handle) const {
        Free(handle);
    }
};

template <typename T, auto Free>
using Owned = std::unique_ptr<T, FreeWith<Free>>;

}  // namespace rt
