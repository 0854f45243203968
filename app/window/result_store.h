// The links behind the result rows, in row order: what a row shows lives in
// the result list, the link it stands for here. The links are packed one
// after another in large chunks, so that a search's quarter of a million
// links cost less than their text and keeping one never moves the others:
// a link keeps only what follows the beginning it shares with the link
// before it ("magnet:?xt=urn:btih:"), and every kRestart-th link is kept
// whole, so reading one goes back at most that many links.
// User-interface thread only.
#pragma once

#include "runtime/text.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class ResultStore {
public:
    // Room for `hits` links in all, so that adding them never moves the
    // index of those kept.
    void Reserve(std::size_t hits) { refs_.reserve(hits); }
    // Keeps a hit's link and returns the hit's 1-based number, the row it
    // belongs to.
    int Add(std::string_view link);
    void Clear();

    int Count() const { return static_cast<int>(refs_.size()); }
    // The link of hit `number`; empty outside 1..Count().
    rt::Text Link(int number) const;

private:
    static constexpr unsigned kChunkBits = 20;
    static constexpr std::size_t kChunkBytes = std::size_t{1} << kChunkBits;
    static constexpr std::size_t kRestart = 16;
    // Where a link's record is (chunk index << kChunkBits | offset) and its
    // length. The record is one byte telling how many bytes the link shares
    // with the one before, then the rest of the link.
    struct Ref {
        std::uint32_t where = 0;
        std::uint32_t length = 0;
    };
    std::string_view Record(Ref ref) const;

    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t lastChunkUsed_ = kChunkBytes;  // no chunk yet: as if the last were full
    std::vector<Ref> refs_;
    std::string last_;  // the link added last, whole
};

}  // namespace app
