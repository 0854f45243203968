#include "app/window/result_store.h"

#include <algorithm>
#include <cstring>

namespace app {

int ResultStore::Add(std::string_view link) {
    std::size_t shared = 0;
    if (refs_.size() % kRestart != 0) {
        const std::size_t most = std::min({link.size(), last_.size(), std::size_t{255}});
        while (shared < most && link[shared] == last_[shared]) ++shared;
    }
    last_.assign(link);
    const std::size_t size = 1 + link.size() - shared;
    // A record longer than a chunk gets a chunk of its own.
    if (size > kChunkBytes - lastChunkUsed_) {
        chunks_.push_back(std::make_unique_for_overwrite<char[]>(std::max(kChunkBytes, size)));
        lastChunkUsed_ = 0;
    }
    const std::size_t offset = lastChunkUsed_;
    char* record = chunks_.back().get() + offset;
    record[0] = static_cast<char>(shared);
    std::memcpy(record + 1, link.data() + shared, size - 1);
    lastChunkUsed_ = size > kChunkBytes ? kChunkBytes : offset + size;
    refs_.push_back(Ref{static_cast<std::uint32_t>(((chunks_.size() - 1) << kChunkBits) | offset),
                        static_cast<std::uint32_t>(size)});
    return Count();
}

void ResultStore::Clear() {
    // Swapping with empty vectors hands the memory back, not just the sizes.
    std::vector<std::unique_ptr<char[]>>().swap(chunks_);
    std::vector<Ref>().swap(refs_);
    std::string().swap(last_);
    lastChunkUsed_ = kChunkBytes;
}

std::string_view ResultStore::Record(Ref ref) const {
    const char* chunk = chunks_[ref.where >> kChunkBits].get();
    return {chunk + (ref.where & (kChunkBytes - 1)), ref.length};
}

rt::Text ResultStore::Link(int number) const {
    if (number < 1 || number > Count()) return {};
    const auto index = static_cast<std::size_t>(number - 1);
    rt::Text link;
    for (std::size_t i = index - index % kRestart; i <= index; ++i) {
        const std::string_view record = Record(refs_[i]);
        link.resize(static_cast<unsigned char>(record[0]));
        link += record.substr(1);
    }
    return link;
}

}  // namespace app
