// The gallery's second window: the list control in its three styles and the
// picture control (an animation, a nine-slice panel, a fitted image), in a
// window whose caption shows an icon. Placed at the right edge of the screen,
// beside the main gallery window. Reports, like the main window, go to
// standard output: "at <name> x y w h" in this window's client coordinates,
// "lists ready" once shown, and "list row <n>" for each clicked row.
#pragma once

#include "owned_controls.h"
#include "platform/platform.h"
#include "ui/controls/control.h"
#include "ui/controls/list_view.h"
#include "ui/core/window.h"

class ListPage {
public:
    ListPage();
    ~ListPage();
    bool Open();

private:
    void Section(float y, const rt::Text& title);
    void BuildResultList();
    void BuildMultiList();
    void BuildOtherStyles();
    void BuildPictures();

    plat::IconImage icon_;
    ui::UiImageList gridIcons_;
    ui::UiWindow host_;
    plat::Hwnd window_ = nullptr;
    gallery::OwnedControls controls_;
};
