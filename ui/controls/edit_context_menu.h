// The edit's context menu: one menu shared by every edit of the process,
// prepared for the edit it opens on.
#pragma once

#include "ui/core/popup_menu.h"

namespace ui {

// The library's shared edit menu: cut, copy, paste, a separator and select
// all, with the virtual-key codes of X, C, V and A as their commands; made
// at the first call (the library's start-up).
UiPopupMenu& EditMenu();

}  // namespace ui
