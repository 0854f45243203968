// UiEdit: the shared edit menu, prepared for this edit and shown at the cursor.
#include "ui/controls/edit_context_menu.h"

#include "ui/controls/edit.h"

namespace ui {

namespace {
// Rows of the shared edit menu (the separator is row 4).
enum EditMenuRow : int { kCutRow = 1, kCopyRow = 2, kPasteRow = 3, kSelectAllRow = 5 };
}  // namespace

UiPopupMenu& EditMenu() {
    static UiPopupMenu menu;
    if (menu.Count() == 0) {
        menu.AddItem("剪切(&T)", 'X');
        menu.AddItem("复制(&C)", 'C');
        menu.AddItem("粘贴(&P)", 'V');
        menu.AddSeparator();
        menu.AddItem("全部选择(&A)", 'A');
    }
    return menu;
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
