#include "app/window/result_store.h"

#include <algorithm>
#include <cstring>

namespace app {

int ResultStore::Add(std::string_view link) {
    if (link.empty()) {
        refs_.push_back(Ref{});
        return Count();
    }
    // A link longer than a chunk gets a chunk of its own.
    if (link.size() > kChunkBytes - lastChunkUsed_) {
        chunks_.push_back(
            std::make_unique_for_overwrite<char[]>(std::max(kChunkBytes, link.size())));
        lastChunkUsed_ = 0;
    }
    const std::size_t offset = lastChunkUsed_;
    std::memcpy(chunks_.back().get() + offset, link.data(), link.size());
    lastChunkUsed_ = link.size() > kChunkBytes ? kChunkBytes : offset + link.size();
    refs_.push_back(Ref{static_cast<std::uint32_t>(((chunks_.size() - 1) << kChunkBits) | offset),
                        static_cast<std::uint32_t>(link.size())});
    return Count();
}

void ResultStore::Clear() {
    // Swapping with empty vectors hands the memory back, not just the sizes.
    std::vector<std::unique_ptr<char[]>>().swap(chunks_);
    std::vector<Ref>().swap(refs_);
    lastChunkUsed_ = kChunkBytes;
}

rt::Text ResultStore::Link(int number) const {
    if (number < 1 || number > Count()) return {};
    const Ref ref = refs_[static_cast<std::size_t>(number - 1)];
    if (ref.length == 0) return {};
    const char* chunk = chunks_[ref.where >> kChunkBits].get();
    return rt::Text(chunk + (ref.where & (kChunkBytes - 1)), ref.length);
}

}  // namespace app
