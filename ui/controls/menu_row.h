// UiMenuRow: one row of an open popup menu. Rows highlight under the mouse,
// open and close cascading submenus after a delay, and deliver a clicked
// command to the window that opened the menu, closing the whole cascade.
#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"
#include "ui/core/popup_menu.h"

namespace ui {

inline constexpr int kSubmenuOpenDelayMs = 500;
inline constexpr int kSubmenuCloseDelayMs = 300;

class UiMenuRow : public UiControl {
public:
    UiMenuRow() = default;
    ~UiMenuRow() override;

    // KIND_MENU_ROW, focusable, drawn at once (no transition).
    UiControl* CreateMenuRow(NativeWindow menuWindow, float x, float y, float width, float height,
                             const MenuItem& item, bool visible = true);
    MenuItem Item(std::optional<MenuItem> value = std::nullopt);
    // Opens this row's submenu, or closes another that is open (at once with
    // `now`, else after the close delay).
    void UpdateSubmenu(bool now);
    void DrawRow(bool highlighted);

protected:
    LResult OnCreate() override;
    LResult OnDestroy() override;
    LResult OnPaint() override;
    LResult OnMouseEnter() override;
    LResult OnMouseLeave() override;
    LResult OnTimer(TimerId id) override;
    LResult OnClick() override;

private:
    bool SubmenuOpenHere() const;
    void RunCommand();

    MenuItem item_;
    std::unique_ptr<gfx::StringFormat> format_;
    std::optional<gfx::Font> font_;
};

// The icon step of a row: the picture scaled into the 20 x 20 square at (2, 1).
void DrawMenuIcon(gfx::Graphics& g, const gfx::Bitmap& icon);

}  // namespace ui
