#include "ui/controls/list_rows.h"

#include <algorithm>
#include <cstring>

namespace ui {

void RowStore::InsertColumn(int column) {
    column = std::clamp(column, 0, columns_);
    const int oldColumns = columns_;
    ++columns_;
    if (rows_.empty()) return;
    std::vector<CellRef> cells(rows_.size() * static_cast<std::size_t>(columns_));
    std::vector<std::int32_t> images;
    if (!images_.empty()) images.assign(cells.size(), -1);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        for (int c = 0, from = 0; c < columns_; ++c) {
            if (c == column) continue;
            const std::size_t source =
                r * static_cast<std::size_t>(oldColumns) + static_cast<std::size_t>(from++);
            cells[r * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c)] =
                cells_[source];
            if (!images.empty())
                images[r * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c)] =
                    images_[source];
        }
    }
    cells_ = std::move(cells);
    images_ = std::move(images);
}

void RowStore::InsertRow(int row, const RowRecord& record) {
    row = std::clamp(row, 0, RowCount());
    const auto cellAt = cells_.begin() + static_cast<std::ptrdiff_t>(Index(row, 0));
    cells_.insert(cellAt, static_cast<std::size_t>(columns_), CellRef{});
    if (!images_.empty()) {
        images_.insert(images_.begin() + static_cast<std::ptrdiff_t>(Index(row, 0)),
                       static_cast<std::size_t>(columns_), -1);
    }
    rows_.insert(rows_.begin() + row, record);
}

void RowStore::Reserve(int rows) {
    if (rows <= RowCount()) return;
    rows_.reserve(static_cast<std::size_t>(rows));
    cells_.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns_));
    if (!images_.empty()) images_.reserve(cells_.capacity());
}

void RowStore::Clear() {
    // Swapping with empty vectors hands the memory back, not just the sizes.
    std::vector<RowRecord>().swap(rows_);
    std::vector<CellRef>().swap(cells_);
    std::vector<std::int32_t>().swap(images_);
    std::vector<Chunk>().swap(chunks_);
    poolBytes_ = liveBytes_ = 0;
}

const char* RowStore::At(CellRef ref) const {
    const Chunk& chunk = chunks_[ref.where >> kChunkBits];
    return chunk.bytes.get() + (ref.where & (kChunkSize - 1));
}

std::string_view RowStore::Cell(int row, int column) const {
    const CellRef ref = cells_[Index(row, column)];
    if (ref.length == 0) return {};
    return {At(ref), ref.length};
}

RowStore::CellRef RowStore::Store(std::string_view text) {
    if (text.empty()) return {};
    // A text larger than a chunk gets a chunk of its own; the others fill the
    // last chunk and open a new one when it is full.
    const bool large = text.size() > kChunkSize;
    if (large || chunks_.empty() || chunks_.back().size - chunks_.back().used < text.size()) {
        if ((chunks_.size() + 1) >> (32 - kChunkBits)) Compact();
        Chunk chunk;
        chunk.size = large ? text.size() : kChunkSize;
        chunk.bytes = std::make_unique_for_overwrite<char[]>(chunk.size);
        poolBytes_ += chunk.size;
        chunks_.push_back(std::move(chunk));
    }
    Chunk& chunk = chunks_.back();
    const CellRef ref{static_cast<std::uint32_t>(((chunks_.size() - 1) << kChunkBits) | chunk.used),
                      static_cast<std::uint32_t>(text.size())};
    std::memcpy(chunk.bytes.get() + chunk.used, text.data(), text.size());
    chunk.used += text.size();
    liveBytes_ += text.size();
    return ref;
}

void RowStore::SetCell(int row, int column, std::string_view text) {
    CellRef& ref = cells_[Index(row, column)];
    if (text.size() <= ref.length && ref.length > 0) {
        // Fits where the old text was: written over it, the tail left dead.
        std::memcpy(const_cast<char*>(At(ref)), text.data(), text.size());
        liveBytes_ -= ref.length - text.size();
        ref.length = static_cast<std::uint32_t>(text.size());
        if (ref.length == 0) ref.where = 0;
        return;
    }
    liveBytes_ -= ref.length;
    ref = Store(text);
    if (poolBytes_ > 4 * kChunkSize && liveBytes_ < poolBytes_ / 4) Compact();
}

int RowStore::CellImage(int row, int column) const {
    return images_.empty() ? -1 : images_[Index(row, column)];
}

void RowStore::SetCellImage(int row, int column, int image) {
    if (images_.empty()) {
        if (image == -1) return;
        images_.assign(cells_.size(), -1);
    }
    images_[Index(row, column)] = image;
}

void RowStore::Compact() {
    std::vector<Chunk> old;
    old.swap(chunks_);
    poolBytes_ = liveBytes_ = 0;
    for (CellRef& ref : cells_) {
        if (ref.length == 0) continue;
        const Chunk& chunk = old[ref.where >> kChunkBits];
        ref = Store({chunk.bytes.get() + (ref.where & (kChunkSize - 1)), ref.length});
    }
}

}  // namespace ui
