// The rows behind a list control: a table of text cells stored so that a list
// of a quarter of a million rows costs little more than its text, and adding a
// row costs the same at any size.
//
// Cell texts live in large shared chunks of bytes; a cell is an 8-byte
// reference into them. Rows and cells sit in flat arrays (cells row-major), so
// appending a row is a few array appends and no allocation per cell. Indexes
// here are 0-based; the control above speaks 1-based.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace ui {

enum class ListRowState : std::uint8_t { Normal = 0, Hovered = 1, Selected = 4 };

// The values a row carries beside its cells.
struct RowRecord {
    std::int32_t itemValue = 0;
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    ListRowState state = ListRowState::Normal;
};

class RowStore {
public:
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return columns_; }

    // Adds an empty cell (image -1) at `column` of every row.
    void InsertColumn(int column);
    // Inserts a row of empty cells before `row` (RowCount() appends).
    void InsertRow(int row, const RowRecord& record);
    // Room for `rows` rows of the present columns without moving them.
    void Reserve(int rows);
    void Clear();

    RowRecord& Row(int row) { return rows_[static_cast<std::size_t>(row)]; }
    const RowRecord& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // Valid until the next change of the store.
    std::string_view Cell(int row, int column) const;
    void SetCell(int row, int column, std::string_view text);
    // Image index of a cell, -1 = none.
    int CellImage(int row, int column) const;
    void SetCellImage(int row, int column, int image);

    // Bytes held for cell texts, and how many of them are live.
    std::size_t PoolBytes() const { return poolBytes_; }
    std::size_t LiveBytes() const { return liveBytes_; }

private:
    // A text's place in the pool: chunk index << kChunkBits | offset.
    struct CellRef {
        std::uint32_t where = 0;
        std::uint32_t length = 0;
    };
    static constexpr unsigned kChunkBits = 18;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;

    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    std::size_t Index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }
    CellRef Store(std::string_view text);
    const char* At(CellRef ref) const;
    // Rewrites the pool with only the live texts once most of it is dead.
    void Compact();

    int columns_ = 0;
    std::vector<RowRecord> rows_;
    std::vector<CellRef> cells_;
    // Empty while no cell has an image; then one value per cell.
    std::vector<std::int32_t> images_;
    std::vector<Chunk> chunks_;
    std::size_t poolBytes_ = 0;
    std::size_t liveBytes_ = 0;
};

}  // namespace ui
