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
    if ((fromMenu || event.ctrl) && inputMode != EditMode::Password) {
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
            if (inputMode != EditMode::ReadOnly && HasSelection() &&
                plat::SetClipboardText(SelectedText()))
                DeleteSelection();
            return 0;
        default: return kUnhandled;
        }
    }
    const bool extend = event.shift;
    const int columns = lines.Columns(caret.line);
    switch (key) {
    case plat::VK_BACK:
        // A read-only edit stays as it is whatever the key.
        if (!DeleteSelection() && inputMode != EditMode::ReadOnly && caret != EditPos{}) {
            const EditPos from = caret.column > 0
                                     ? EditPos{caret.line, caret.column - 1}
                                     : EditPos{caret.line - 1, lines.Columns(caret.line - 1)};
            lines.Erase(from, caret);
            caret = anchor = from;
            AfterEdit();
        }
        return 0;
    case plat::VK_RETURN:
        if (multiline) InsertText("\r\n");
        return 0;
    case plat::VK_DELETE: DeleteSelection(); return 0;
    case plat::VK_END: MoveCaret({caret.line, columns}, extend); return 0;
    case plat::VK_HOME: MoveCaret({caret.line, 0}, extend); return 0;
    case plat::VK_LEFT:
        if (caret.column > 0) {
            MoveCaret({caret.line, caret.column - 1}, extend);
        } else if (caret.line > 1) {
            MoveCaret({caret.line - 1, lines.Columns(caret.line - 1)}, extend);
        } else {
            MoveCaret(caret, extend);
        }
        return 0;
    case plat::VK_RIGHT:
        if (caret.column < columns) {
            MoveCaret({caret.line, caret.column + 1}, extend);
        } else if (caret.line < lines.Count()) {
            MoveCaret({caret.line + 1, 0}, extend);
        } else {
            MoveCaret(caret, extend);
        }
        return 0;
    case plat::VK_UP:
    case plat::VK_DOWN: {
        EditPos to = caret;
        if (multiline) {
            to.line = std::clamp(caret.line + (key == plat::VK_UP ? -1 : 1), 1, lines.Count());
            to.column = std::min(caret.column, lines.Columns(to.line));
        }
        MoveCaret(to, extend);
        return 0;
    }
    default: return kUnhandled;
    }
}

void UiEdit::MoveCaret(EditPos to, bool extend) {
    caret = lines.Clamp(to);
    if (!extend) anchor = caret;
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
    if (inputMode == EditMode::ReadOnly || text.empty()) return;
    if (HasSelection()) {
        lines.Erase(caret, anchor);
        caret = std::min(caret, anchor);
    }
    caret = anchor = lines.Insert(caret, text, multiline);
    AfterEdit();
}

bool UiEdit::DeleteSelection() {
    if (inputMode == EditMode::ReadOnly || !HasSelection()) return false;
    lines.Erase(caret, anchor);
    caret = anchor = std::min(caret, anchor);
    AfterEdit();
    return true;
}

rt::Text UiEdit::SelectedText() const { return lines.Range(anchor, caret); }

void UiEdit::SelectAll() {
    anchor = EditPos{};
    caret = lines.End();
    AfterMove();
}

void UiEdit::SelectWordAtCaret() {
    const rt::Text& line = lines.Line(caret.line);
    const int columns = lines.Columns(caret.line);
    auto wordAt = [&](int column) {
        return IsWordByte(line[static_cast<std::size_t>(UiEditLines::ByteOffset(line, column))]);
    };
    int left = caret.column, right = caret.column;
    while (left > 0 && wordAt(left - 1)) --left;
    while (right < columns && wordAt(right)) ++right;
    anchor = EditPos{caret.line, left};
    caret = EditPos{caret.line, right};
}

}  // namespace ui
