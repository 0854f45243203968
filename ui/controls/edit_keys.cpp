// UiEdit: keys, typing, deleting, the clipboard and selection.
#include <algorithm>

#include "ui/controls/edit.h"

namespace ui {

namespace {
bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}
}  // namespace

LResult UiEdit::KeyCommand(const KeyEvent& event, bool fromMenu) {
    const int key = event.key;
    if ((fromMenu || event.ctrl) && inputMode_ != EditMode::Password) {
        switch (key) {
        case 'A': SelectAll(); return 0;
        case 'C':
            if (HasSelection()) plat::SetClipboardText(SelectedText());
            return 0;
        case 'V': {
            const rt::Text pasted = plat::GetClipboardText();
            if (!pasted.empty()) InsertText(pasted);
            return 0;
        }
        case 'X':
            if (inputMode_ != EditMode::ReadOnly && HasSelection() &&
                plat::SetClipboardText(SelectedText()))
                DeleteSelection();
            return 0;
        default: return kUnhandled;
        }
    }
    const bool extend = event.shift;
    const int columns = lines_.Columns(caret_.line);
    switch (key) {
    case plat::VK_BACK:
        // A read-only edit stays as it is whatever the key.
        if (!DeleteSelection() && inputMode_ != EditMode::ReadOnly && caret_ != EditPos{}) {
            const EditPos from = caret_.column > 0
                                     ? EditPos{caret_.line, caret_.column - 1}
                                     : EditPos{caret_.line - 1, lines_.Columns(caret_.line - 1)};
            lines_.Erase(from, caret_);
            caret_ = anchor_ = from;
            AfterEdit();
        }
        return 0;
    case plat::VK_RETURN:
        if (multiline_) {
            InsertText("\r\n");
        } else if (returnHandler_) {
            const std::function<void()> call = returnHandler_;  // the handler may replace itself
            call();
        }
        return 0;
    case plat::VK_DELETE: DeleteSelection(); return 0;
    case plat::VK_END: MoveCaret({caret_.line, columns}, extend); return 0;
    case plat::VK_HOME: MoveCaret({caret_.line, 0}, extend); return 0;
    case plat::VK_LEFT:
        if (caret_.column > 0) {
            MoveCaret({caret_.line, caret_.column - 1}, extend);
        } else if (caret_.line > 1) {
            MoveCaret({caret_.line - 1, lines_.Columns(caret_.line - 1)}, extend);
        } else {
            MoveCaret(caret_, extend);
        }
        return 0;
    case plat::VK_RIGHT:
        if (caret_.column < columns) {
            MoveCaret({caret_.line, caret_.column + 1}, extend);
        } else if (caret_.line < lines_.Count()) {
            MoveCaret({caret_.line + 1, 0}, extend);
        } else {
            MoveCaret(caret_, extend);
        }
        return 0;
    case plat::VK_UP:
    case plat::VK_DOWN: {
        EditPos to = caret_;
        if (multiline_) {
            to.line = std::clamp(caret_.line + (key == plat::VK_UP ? -1 : 1), 1, lines_.Count());
            to.column = std::min(caret_.column, lines_.Columns(to.line));
        }
        MoveCaret(to, extend);
        return 0;
    }
    default: return kUnhandled;
    }
}

void UiEdit::MoveCaret(EditPos to, bool extend) {
    caret_ = lines_.Clamp(to);
    if (!extend) anchor_ = caret_;
    AfterMove();
}

void UiEdit::AfterMove() {
    ScrollCaretIntoView();
    DrawEdit();
    UpdateCaret(true);
}

void UiEdit::AfterEdit() {
    UpdateScrollBars();
    AfterMove();
    Changed();
}

void UiEdit::InsertText(const rt::Text& text) {
    if (inputMode_ == EditMode::ReadOnly || text.empty()) return;
    if (HasSelection()) {
        lines_.Erase(caret_, anchor_);
        caret_ = std::min(caret_, anchor_);
    }
    caret_ = anchor_ = lines_.Insert(caret_, text, multiline_);
    AfterEdit();
}

bool UiEdit::DeleteSelection() {
    if (inputMode_ == EditMode::ReadOnly || !HasSelection()) return false;
    lines_.Erase(caret_, anchor_);
    caret_ = anchor_ = std::min(caret_, anchor_);
    AfterEdit();
    return true;
}

rt::Text UiEdit::SelectedText() const { return lines_.Range(anchor_, caret_); }

void UiEdit::SelectAll() {
    anchor_ = EditPos{};
    caret_ = lines_.End();
    AfterMove();
}

void UiEdit::SelectWordAtCaret() {
    const rt::Text& line = lines_.Line(caret_.line);
    const int columns = lines_.Columns(caret_.line);
    auto wordAt = [&](int column) {
        return IsWordByte(line[static_cast<std::size_t>(UiEditLines::ByteOffset(line, column))]);
    };
    int left = caret_.column, right = caret_.column;
    while (left > 0 && wordAt(left - 1)) --left;
    while (right < columns && wordAt(right)) ++right;
    anchor_ = EditPos{caret_.line, left};
    caret_ = EditPos{caret_.line, right};
}

}  // namespace ui
