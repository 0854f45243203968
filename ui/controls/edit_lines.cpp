#include "ui/controls/edit_lines.h"

#include <algorithm>
#include <array>

#include "runtime/text_scan.h"

namespace ui {

namespace {
// Splits at CR LF, CR or LF; each line is copied once, whole.
std::vector<rt::Text> SplitLines(const rt::Text& text) {
    std::vector<rt::Text> out;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (rt::detail::IsLeadByte(c) && i + 1 < text.size()) {
            i += 2;
        } else if (c == '\r' || c == '\n') {
            out.emplace_back(text, start, i - start);
            i += c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    out.emplace_back(text, start, text.size() - start);
    return out;
}

int CharBytes(const rt::Text& line, std::size_t at) {
    return rt::detail::IsLeadByte(line[at]) && at + 1 < line.size() ? 2 : 1;
}
}  // namespace

int UiEditLines::CountColumns(const rt::Text& line) {
    int columns = 0;
    for (std::size_t i = 0; i < line.size(); i += static_cast<std::size_t>(CharBytes(line, i)))
        ++columns;
    return columns;
}

int UiEditLines::ByteOffset(const rt::Text& line, int column) {
    std::size_t i = 0;
    for (int c = 0; c < column && i < line.size(); ++c)
        i += static_cast<std::size_t>(CharBytes(line, i));
    return static_cast<int>(i);
}

const rt::Text& UiEditLines::Line(int line) const {
    static const rt::Text kNone;
    if (line < 1 || line > Count()) return kNone;
    return lines_[static_cast<std::size_t>(line - 1)];
}

EditPos UiEditLines::Clamp(EditPos at) const {
    at.line = std::clamp(at.line, 1, Count());
    at.column = std::clamp(at.column, 0, Columns(at.line));
    return at;
}

void UiEditLines::SetText(const rt::Text& text, bool multiline) {
    lines_ = SplitLines(text);
    if (!multiline) lines_.resize(1);
}

rt::Text UiEditLines::Joined() const {
    std::size_t size = 0;
    for (const rt::Text& line : lines_) size += line.size() + 2;
    rt::Text out;
    out.reserve(size);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += "\r\n";
        out += lines_[i];
    }
    return out;
}

rt::Text UiEditLines::Range(EditPos a, EditPos b) const {
    a = Clamp(a);
    b = Clamp(b);
    if (b < a) std::swap(a, b);
    rt::Text out;
    for (int line = a.line; line <= b.line; ++line) {
        const rt::Text& text = Line(line);
        const int from = line == a.line ? ByteOffset(text, a.column) : 0;
        const int to = line == b.line ? ByteOffset(text, b.column) : static_cast<int>(text.size());
        if (line != a.line) out += "\r\n";
        out.append(text, static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    }
    return out;
}

EditPos UiEditLines::Insert(EditPos at, const rt::Text& text, bool multiline) {
    at = Clamp(at);
    std::vector<rt::Text> pieces = SplitLines(text);
    if (!multiline) pieces.resize(1);
    rt::Text& line = lines_[static_cast<std::size_t>(at.line - 1)];
    const auto split = static_cast<std::size_t>(ByteOffset(line, at.column));
    const rt::Text tail = line.substr(split);
    line.erase(split);
    line += pieces.front();
    EditPos end{at.line, CountColumns(line)};
    if (pieces.size() == 1) {
        line += tail;
        return end;
    }
    pieces.back() += tail;
    const auto where = lines_.begin() + at.line;
    lines_.insert(where, pieces.begin() + 1, pieces.end());
    end.line = at.line + static_cast<int>(pieces.size()) - 1;
    end.column = CountColumns(pieces.back()) - CountColumns(tail);
    return end;
}

void UiEditLines::Erase(EditPos a, EditPos b) {
    a = Clamp(a);
    b = Clamp(b);
    if (b < a) std::swap(a, b);
    if (a == b) return;
    rt::Text& first = lines_[static_cast<std::size_t>(a.line - 1)];
    const rt::Text& last = lines_[static_cast<std::size_t>(b.line - 1)];
    const rt::Text tail = last.substr(static_cast<std::size_t>(ByteOffset(last, b.column)));
    first.erase(static_cast<std::size_t>(ByteOffset(first, a.column)));
    first += tail;
    lines_.erase(lines_.begin() + a.line, lines_.begin() + b.line);
}

float UiEditLines::ColumnX(const gfx::Graphics& g, const gfx::Font& font,
                           const gfx::StringFormat& format, const rt::Text& shown, int column) {
    const int bytes = ByteOffset(shown, column);
    if (bytes <= 0) return 0;
    const std::array<gfx::CharacterRange, 1> range{gfx::CharacterRange{0, bytes}};
    const auto boxes = g.MeasureCharacterRanges(shown, font, gfx::RectF{}, format, range);
    if (boxes.empty() || boxes[0].empty()) return 0;
    float right = 0;
    for (const gfx::RectF& box : boxes[0]) right = std::max(right, box.x + box.width);
    return right;
}

int UiEditLines::ColumnAt(const gfx::Graphics& g, const gfx::Font& font,
                          const gfx::StringFormat& format, const rt::Text& shown, float x) {
    if (shown.empty() || x <= 0) return 0;
    const int byte =
        g.CaretPositionAt(shown, font, gfx::RectF{}, format, gfx::PointF{x, font.Height() / 2});
    return CountColumns(shown.substr(0, static_cast<std::size_t>(byte)));
}

}  // namespace ui
