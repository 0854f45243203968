// UiEdit: the shared edit menu, prepared for this edit and shown at the cursor.
#include "ui/controls/edit.h"
#include "ui/core/popup_menu.h"

namespace ui {

namespace {
// Rows of the shared edit menu.
constexpr int kCutRow = 1;
constexpr int kCopyRow = 2;
constexpr int kPasteRow = 3;
constexpr int kSelectAllRow = 5;
}  // namespace

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
