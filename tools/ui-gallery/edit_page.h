// The gallery's edits (one in each input mode, and a multi-line one that
// scrolls) and a button that opens a cascading menu.
#pragma once

#include "owned_controls.h"
#include "platform/platform.h"
#include "ui/controls/control.h"
#include "ui/core/popup_menu.h"

namespace gallery {

class EditPage {
public:
    // Builds the demos in the right column of the gallery window. Reports
    // "at <name> x y w h" for each edit and the button, "menu at x y w h" and
    // "submenu at x y w h" when a menu opens, "menu command <id>" and "menu closed".
    void Build(plat::Hwnd window, OwnedControls& controls);

private:
    void BuildMenus();
    ui::UiPopupMenu menu_, more_, deeper_;
};

}  // namespace gallery
