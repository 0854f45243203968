// UiEditLines: the text of an edit as lines without their breaks, with the
// character arithmetic of code page 936 (a lead byte and its trail byte are
// one column) and the measuring that maps columns to pixels and back.
#pragma once

#include <compare>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/string_format.h"
#include "runtime/text.h"

namespace ui {

// A place in the text: 1-based line, 0-based character column.
struct EditPos {
    int line = 1;
    int column = 0;
    friend auto operator<=>(const EditPos&, const EditPos&) = default;
};

class UiEditLines {
public:
    UiEditLines() : lines_(1) {}

    // Replaces the text. CR LF (and a lone CR or LF, as pasted text from
    // elsewhere carries them) starts a new line; a single-line text keeps
    // only what comes before its first break.
    void SetText(const rt::Text& text, bool multiline);
    // The whole text, lines joined with CR LF.
    rt::Text Joined() const;
    // The text between two places, in either order.
    rt::Text Range(EditPos a, EditPos b) const;
    // Puts `text` in at `at` (held to the text) and returns the place after it.
    EditPos Insert(EditPos at, const rt::Text& text, bool multiline);
    // Removes the text between two places, in either order.
    void Erase(EditPos a, EditPos b);

    int Count() const { return static_cast<int>(lines_.size()); }
    // Line 1..Count(); an empty text for any other number.
    const rt::Text& Line(int line) const;
    int Columns(int line) const { return CountColumns(Line(line)); }
    EditPos End() const { return {Count(), Columns(Count())}; }
    bool Empty() const { return lines_.size() == 1 && lines_[0].empty(); }
    // Held to an existing line and a column within it.
    EditPos Clamp(EditPos at) const;

    static int CountColumns(const rt::Text& line);
    // The byte offset of a column (held to the line).
    static int ByteOffset(const rt::Text& line, int column);

    // Pixels: the x of a column of `shown` (the line as drawn), and the column
    // nearest to an x, both measured with the edit's font and format.
    static float ColumnX(const gfx::Graphics& g, const gfx::Font& font,
                         const gfx::StringFormat& format, const rt::Text& shown, int column);
    static int ColumnAt(const gfx::Graphics& g, const gfx::Font& font,
                        const gfx::StringFormat& format, const rt::Text& shown, float x);

private:
    std::vector<rt::Text> lines_;
};

}  // namespace ui
