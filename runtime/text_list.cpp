#include "runtime/fatal.h"
#include "runtime/text.h"

namespace rt {
namespace {

// Index check shared by both accessors: below 1 is error 4, above the count error 1.
// The place reported is the caller of the accessor.
std::size_t CheckedIndex(int index, std::size_t count, const void* caller) {
    if (index < 1) FatalError(kErrorIndexBelowOne, PlaceOf(caller));
    if (static_cast<std::size_t>(index) > count) FatalError(kErrorIndexAboveCount, PlaceOf(caller));
    return static_cast<std::size_t>(index - 1);
}

}  // namespace

const Text& TextList::operator[](int index) const {
    return items_[CheckedIndex(index, items_.size(), __builtin_return_address(0))];
}

Text& TextList::operator[](int index) {
    return items_[CheckedIndex(index, items_.size(), __builtin_return_address(0))];
}

}  // namespace rt
