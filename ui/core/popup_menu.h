// UiPopupMenu: a list of menu items shown in a modal, skinned popup window
// whose rows are UiMenuRow controls. A menu opens at a screen point
// (context menu) or as a cascading submenu beside the current row of a parent
// menu window; while it is open the calling thread runs a loop of its own
// until the menu window is gone.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "runtime/text.h"
#include "ui/core/types.h"

namespace ui {

class UiPopupMenu;

// Window properties of menu windows and their owners.
inline constexpr const char* kPropFlags = "Qd_Wnd_Flags";         // 1 menu, 3 message box
inline constexpr const char* kPropMenuRoot = "Qd_DirectUI_Host";  // root menu window of the cascade
inline constexpr const char* kPropSubmenu = "Qd_DirectUI_Sub";    // submenu window open from here
inline constexpr const char* kPropMenuEvent =
    "Qd_DirectUI_Event";                                          // owner's control under the mouse
inline constexpr const char* kPropActiveRow = "Qd_DirectUI_Act";  // row whose submenu is open
inline constexpr const char* kPropMessageBox = "Qd_DirectUI_MsgBox";
inline constexpr int kMenuWindowFlag = 1;
inline constexpr const char* kMenuWindowTitle = "Qd_DirectUI_Menu";

// The window a property of `window` names (kPropMenuRoot, kPropSubmenu), or null.
NativeWindow WindowProp(NativeWindow window, const char* name);

enum class MenuItemType { Command = 0, Separator = 1, Submenu = 2 };
// Any state but Hidden gives a row; Disabled greys it.
enum class MenuItemState { Disabled = -1, Normal = 0, Enabled = 1, Hidden = 5 };

inline constexpr int kMenuRowHeight = 22;
inline constexpr int kMenuSeparatorHeight = 3;
inline constexpr int kMenuMinimumWidth = 50;

struct MenuItem {
    rt::Text text;
    std::shared_ptr<const gfx::Bitmap> icon;
    MenuItemState state = MenuItemState::Normal;
    MenuItemType type = MenuItemType::Command;
    // false: `handler` runs instead of a WM_COMMAND to the owner.
    bool sendsCommand = true;
    int id = 0;
    UiPopupMenu* submenu = nullptr;  // MenuItemType::Submenu
    std::function<void()> handler;
    gfx::Argb textColour = 0xD2000000;
    int effect = 0;              // effect of the row's text (EFFECT_*)
    gfx::Argb effectColour = 0;  // 0: chosen by the text colour
    gfx::Argb hoverColour = 0xE63085C6;
};

// Width and height of a menu window before it is placed.
struct MenuSize {
    int width = 0;
    int height = 0;
    bool hasSubmenu = false;
};

class UiPopupMenu {
public:
    using BeforeShow = std::function<void(NativeWindow menuWindow, bool atPoint)>;
    using PaintBackground =
        std::function<void(NativeWindow, gfx::Graphics&, int width, int height)>;

    UiPopupMenu() = default;
    ~UiPopupMenu() = default;
    UiPopupMenu(const UiPopupMenu&) = delete;
    UiPopupMenu& operator=(const UiPopupMenu&) = delete;

    // Opens beside the focused row of `parentMenu` and returns when it closes.
    void OpenSubmenu(NativeWindow parentMenu);
    // Opens at (x, y) on the screen, or at the cursor when both are 0, for
    // `owner` (which receives the command), and returns when it closes.
    void PopupAt(NativeWindow owner, int x = 0, int y = 0);

    void AddItem(MenuItem item) { items_.push_back(std::move(item)); }
    void AddItem(const rt::Text& text, int id);
    void AddSeparator();
    // Items are numbered from 1; out-of-range indexes change nothing.
    void RemoveItem(int index);
    void ClearItems() { items_.clear(); }
    MenuItemState ItemState(int index, std::optional<MenuItemState> value = std::nullopt);
    rt::Text ItemText(int index, std::optional<rt::Text> value = std::nullopt);
    std::shared_ptr<const gfx::Bitmap> ItemIcon(
        int index, std::optional<std::shared_ptr<const gfx::Bitmap>> value = std::nullopt);
    bool IsValidIndex(int index) const {
        return index >= 1 && index <= static_cast<int>(items_.size());
    }
    int Count() const { return static_cast<int>(items_.size()); }
    const MenuItem* Item(int index) const {
        return IsValidIndex(index) ? &items_[static_cast<std::size_t>(index - 1)] : nullptr;
    }
    void SetMinimumWidth(int width) { minimumWidth_ = width; }
    UiPopupMenu& Self() { return *this; }
    void SetBeforeShow(BeforeShow callback) { beforeShow_ = std::move(callback); }
    void SetPaintBackground(PaintBackground callback) { paintBackground_ = std::move(callback); }

    // The size a menu window of these items takes; `minimum` 0 measures the texts.
    MenuSize Measure(int minimum) const;

private:
    void Show(NativeWindow owner, int x, int y, bool atPoint);

    std::vector<MenuItem> items_;
    int minimumWidth_ = 0;
    BeforeShow beforeShow_;
    PaintBackground paintBackground_;
};

// Where a menu of `size` opens for a point (x, y) on `work` (the work area).
plat::POINT PlaceAtPoint(const plat::RECT& work, int x, int y, const MenuSize& size);
// Where a submenu opens beside a row (its y and height in the parent menu's
// client area) of the parent menu window at `parent`; `leftwards` tells
// whether it had to open to the left.
plat::POINT PlaceSubmenu(const plat::RECT& work, const plat::RECT& parent, float rowY,
                         float rowHeight, const MenuSize& size, bool* leftwards);

// The built-in menu background.
void DrawMenuBackground(gfx::Graphics& g, int width, int height);

}  // namespace ui
