// UiEdit: the shared edit menu, prepared for this edit and shown at the cursor.
#include "ui/controls/edit_context_menu.h"

#include "ui/controls/edit.h"

namespace ui {

namespace {
// Rows of the shared edit menu.
constexpr int kCutRow = 1;
constexpr int kCopyRow = 2;
constexpr int kPasteRow = 3;
constexpr int kSelectAllRow = 5;
}  // namespace

UiPopupMenu& EditMenu() {
    static UiPopupMenu menu;
    return menu;
}

void BuildEditMenu() {
    UiPopupMenu& menu = EditMenu();
    if (menu.Count() > 0) return;
    menu.AddItem("剪切(&T)", 'X');
    menu.AddItem("复制(&C)", 'C');
    menu.AddItem("粘贴(&P)", 'V');
    menu.AddSeparator();
    menu.AddItem("全部选择(&A)", 'A');
}

void UiEdit::ShowContextMenu() {
    UiPopupMenu& menu = EditMenu();
    const bool readOnly = inputMode_ == EditMode::ReadOnly;
    menu.ItemState(kCutRow, MenuItemState::Disabled);
    menu.ItemState(kCopyRow, MenuItemState::Disabled);
    if (HasSelection()) {
        menu.ItemState(kCopyRow, MenuItemState::Normal);
        if (!readOnly) menu.ItemState(kCutRow, MenuItemState::Normal);
    }
    menu.ItemState(kPasteRow, readOnly || !plat::IsClipboardTextAvailable()
                                  ? MenuItemState::Disabled
                                  : MenuItemState::Normal);
    menu.ItemState(kSelectAllRow,
                   lines_.Empty() ? MenuItemState::Disabled : MenuItemState::Enabled);
    // The chosen command comes back through WM_COMMAND to the control under
    // the cursor, this edit.
    menu.PopupAt(hwnd_);
}

}  // namespace ui
