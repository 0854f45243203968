#include "ui/core/popup_menu.h"

#include <algorithm>

#include "platform/gfx/graphics.h"
#include "ui/controls/menu_row.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui {

namespace {
constexpr plat::DWORD kStyleBitsCleared = 0x804B0;

bool Contains(const plat::RECT& r, plat::POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Every menu window's raw-message hook; default processing always goes on.
LResult MenuHook(NativeWindow window, unsigned message, WParam wParam, LParam lParam) {
    switch (message) {
    case plat::WM_ACTIVATE:
        if (wParam == plat::WA_INACTIVE) {
            const auto activated = reinterpret_cast<NativeWindow>(lParam);
            if (!activated || !plat::GetProp(activated, kPropMenuRoot))
                plat::PostMessage(WindowProp(window, kPropMenuRoot), plat::WM_CLOSE, 0, 0);
        }
        break;
    case plat::WM_CLOSE:
        // Hiding and destroying this window deactivates it; that must not
        // close the rest of the cascade.
        plat::RemoveProp(window, kPropMenuRoot);
        break;
    case plat::WM_KEYDOWN:
        // A plain letter works like the Alt mnemonic of its row.
        plat::SendMessage(window, plat::WM_SYSCHAR, wParam, lParam);
        if (wParam == plat::VK_ESCAPE) plat::PostMessage(window, plat::WM_CLOSE, 0, 0);
        break;
    case plat::WM_LBUTTONDOWN:
    case plat::WM_RBUTTONDOWN: {
        // Under the menu grab a press outside every window of the process
        // lands here: the cascade has lost the user's attention.
        plat::RECT client;
        plat::GetClientRect(window, &client);
        const plat::POINT at{plat::GET_X_LPARAM(lParam), plat::GET_Y_LPARAM(lParam)};
        if (!Contains(client, at))
            plat::PostMessage(WindowProp(window, kPropMenuRoot), plat::WM_CLOSE, 0, 0);
        break;
    }
    case plat::WM_DESTROY:
        for (const char* name :
             {kPropMenuRoot, kPropSubmenu, kPropActiveRow, kPropMenuEvent, kPropFlags})
            plat::RemoveProp(window, name);
        break;
    default: break;
    }
    return -1;
}
}  // namespace

NativeWindow WindowProp(NativeWindow window, const char* name) {
    return reinterpret_cast<NativeWindow>(plat::GetProp(window, name));
}

void UiPopupMenu::AddItem(const rt::Text& text, int id) {
    MenuItem item;
    item.text = text;
    item.id = id;
    items_.push_back(std::move(item));
}

void UiPopupMenu::AddSeparator() {
    MenuItem item;
    item.type = MenuItemType::Separator;
    items_.push_back(std::move(item));
}

void UiPopupMenu::RemoveItem(int index) {
    if (IsValidIndex(index)) items_.erase(items_.begin() + (index - 1));
}

MenuItemState UiPopupMenu::ItemState(int index, std::optional<MenuItemState> value) {
    if (!IsValidIndex(index)) return MenuItemState::Normal;
    MenuItem& item = items_[static_cast<std::size_t>(index - 1)];
    if (value) item.state = *value;
    return item.state;
}

rt::Text UiPopupMenu::ItemText(int index, std::optional<rt::Text> value) {
    if (!IsValidIndex(index)) return {};
    MenuItem& item = items_[static_cast<std::size_t>(index - 1)];
    if (value) item.text = *value;
    return item.text;
}

std::shared_ptr<const gfx::Bitmap> UiPopupMenu::ItemIcon(
    int index, std::optional<std::shared_ptr<const gfx::Bitmap>> value) {
    if (!IsValidIndex(index)) return nullptr;
    MenuItem& item = items_[static_cast<std::size_t>(index - 1)];
    if (value) item.icon = *value;
    return item.icon;
}

MenuSize UiPopupMenu::Measure(int minimum) const {
    MenuSize size;
    int width = minimum > 0 && minimum < kMenuMinimumWidth ? kMenuMinimumWidth : minimum;
    int height = 0;
    const auto& font = Library().defaultFont;
    for (const MenuItem& item : items_) {
        if (item.state == MenuItemState::Hidden) continue;
        if (item.type == MenuItemType::Separator) {
            height += kMenuSeparatorHeight;
            continue;
        }
        height += kMenuRowHeight;
        if (minimum == 0 && font) {
            const float text = gfx::MeasureTextExtent(item.text, *font).x;
            width = std::max(width, static_cast<int>(text) + 50);
        }
        if (item.type == MenuItemType::Submenu) size.hasSubmenu = true;
    }
    size.width = width + (size.hasSubmenu ? 15 : 0);
    size.height = height + 16;
    return size;
}

plat::POINT PlaceAtPoint(const plat::RECT& work, int x, int y, const MenuSize& size) {
    if (x + size.width - 5 > work.width() - work.left) x -= size.width;
    if (y + size.height > work.height() - work.top) y = y - size.height + 5;
    return {x, y};
}

plat::POINT PlaceSubmenu(const plat::RECT& work, const plat::RECT& parent, float rowY,
                         float rowHeight, const MenuSize& size, bool* leftwards) {
    const int row = static_cast<int>(rowY), rowBottom = static_cast<int>(rowY + rowHeight);
    plat::POINT at{parent.right - 10, parent.top + row - 7};
    *leftwards = false;
    if (at.x + size.width - 5 > work.width() - work.left) {
        at.x = parent.left - size.width + 10;
        *leftwards = true;
    }
    if (at.y + size.height > work.height() - work.top)
        at.y = parent.top + rowBottom - size.height + 7;
    return at;
}

void DrawMenuBackground(gfx::Graphics& g, int width, int height) {
    g.Clear(0);
    const auto w = static_cast<float>(width), h = static_cast<float>(height);
    FillRoundRect(g, {6, 6, w - 12, h - 12}, 4, 0xEAFFFFFF);
    StrokeRoundRect(g, {6, 6, w - 12, h - 12}, 4, 0x7D000000);
    StrokeRoundRect(g, {5, 5, w - 10, h - 10}, 7, 0x23000000);
    StrokeRoundRect(g, {4, 4, w - 8, h - 8}, 10, 0x0F000000);
    StrokeRoundRect(g, {3, 3, w - 6, h - 6}, 13, 0x05000000);
    FillRoundRect(g, {8, 8, 24, h - 16}, 3, 0xFED1E3EC);
    StrokeRoundRect(g, {8, 8, 24, h - 16}, 3, 0xFED1E3EC);
}

void UiPopupMenu::PopupAt(NativeWindow owner, int x, int y) { Show(owner, x, y, true); }

void UiPopupMenu::OpenSubmenu(NativeWindow parentMenu) {
    if (!plat::IsWindow(parentMenu)) return;
    Show(parentMenu, 0, 0, false);
}

void UiPopupMenu::Show(NativeWindow owner, int x, int y, bool atPoint) {
    const MenuSize size = Measure(atPoint ? minimumWidth_ : 0);
    const plat::RECT work = plat::GetWorkArea();
    bool leftwards = false;
    UiWindow* parentHost = atPoint ? nullptr : FindHost(owner);
    if (atPoint) {
        if (x == 0 && y == 0) {
            plat::POINT cursor;
            plat::GetCursorPos(&cursor);
            const plat::POINT at = PlaceAtPoint(work, cursor.x, cursor.y, size);
            x = at.x;
            y = at.y;
        }
    } else {
        if (!parentHost || !parentHost->FocusControl()) return;
        plat::RECT parentRect;
        plat::GetWindowRect(owner, &parentRect);
        const RectF& row = parentHost->FocusControl()->Rect();
        const plat::POINT at = PlaceSubmenu(work, parentRect, row.y, row.height, size, &leftwards);
        x = at.x;
        y = at.y;
    }

    HostWindowOptions options;
    options.parent = owner;
    options.title = kMenuWindowTitle;
    options.x = x;
    options.y = y;
    options.width = size.width;
    options.height = size.height;
    options.style = plat::WS_POPUP;
    options.exStyle = plat::WS_EX_TOPMOST | plat::WS_EX_TOOLWINDOW;
    options.show = false;
    const NativeWindow window = CreateHostWindow(options);
    if (!window) return;
    plat::SetProp(window, kPropFlags, kMenuWindowFlag);

    if (atPoint) {
        plat::SetProp(window, kPropMenuRoot, reinterpret_cast<std::intptr_t>(window));
        if (UiWindow* ownerHost = owner ? FindHost(owner) : nullptr) {
            plat::POINT cursor;
            plat::GetCursorPos(&cursor);
            plat::RECT ownerRect;
            plat::GetWindowRect(owner, &ownerRect);
            UiControl* under = UiWindow::HitTest(ownerHost->LastControl(),
                                                 static_cast<float>(cursor.x - ownerRect.left),
                                                 static_cast<float>(cursor.y - ownerRect.top));
            plat::SetProp(window, kPropMenuEvent, reinterpret_cast<std::intptr_t>(under));
            plat::SendMessage(owner, HM_SET_FOCUS, 0, reinterpret_cast<LParam>(under));
        }
    } else {
        plat::SetProp(window, kPropMenuRoot, plat::GetProp(owner, kPropMenuRoot));
        plat::SetProp(owner, kPropSubmenu, reinterpret_cast<std::intptr_t>(window));
    }

    auto host = std::make_unique<UiWindow>();
    HostCallbacks callbacks;
    if (paintBackground_) {
        callbacks.paintBackground = paintBackground_;
    } else {
        callbacks.paintBackground = [](NativeWindow, gfx::Graphics& g, int w, int h) {
            DrawMenuBackground(g, w, h);
        };
    }
    callbacks.rawMessage = MenuHook;
    host->SetCallbacks(std::move(callbacks));
    AttachOptions attach;
    attach.backgroundColour = 0xFFFFFF;
    attach.captionFlags = 0;
    attach.backgroundAlpha = 240;
    attach.frameStyle = 1;
    attach.resizable = false;
    attach.draggable = false;
    host->Attach(window, attach);
    const LParam style = plat::GetWindowLong(window, plat::GWL_STYLE);
    plat::SetWindowLong(window, plat::GWL_STYLE, style & ~static_cast<LParam>(kStyleBitsCleared));

    std::vector<std::unique_ptr<UiMenuRow>> rows;
    float rowY = 8;
    const auto w = static_cast<float>(size.width);
    for (const MenuItem& item : items_) {
        if (item.state == MenuItemState::Hidden) continue;
        auto row = std::make_unique<UiMenuRow>();
        if (item.type == MenuItemType::Separator) {
            row->CreateMenuRow(window, 33, rowY, w - 40, kMenuSeparatorHeight, item);
            rowY += kMenuSeparatorHeight;
        } else {
            row->CreateMenuRow(window, 8, rowY, w - 16, kMenuRowHeight, item);
            rowY += kMenuRowHeight;
        }
        if (item.state == MenuItemState::Disabled) row->Disabled(1);
        rows.push_back(std::move(row));
    }

    if (beforeShow_) beforeShow_(window, atPoint);
    if (!plat::IsWindow(window)) return;
    if (atPoint) {
        host->ShowAnimated(0);
    } else {
        host->ShowAnimated(leftwards ? 4 : 3, 100);
        host->SetCloseAnimation(leftwards ? 3 : 4);
    }
    plat::SetForegroundWindow(window);
    plat::GrabInput(window);
    // Pointer moves during the entry animation were not taken: show the row
    // under a pointer that rests on the menu now.
    plat::POINT cursor;
    plat::GetCursorPos(&cursor);
    if (plat::WindowFromPoint(cursor) == window) {
        plat::ScreenToClient(window, &cursor);
        plat::PostMessage(window, plat::WM_MOUSEMOVE, 0, plat::MAKELPARAM(cursor.x, cursor.y));
    }

    plat::MSG msg;
    bool quit = false;
    while (plat::IsWindow(window)) {
        if (plat::GetMessage(&msg) == 0) {
            quit = true;
            break;
        }
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
    }
    plat::ReleaseInputGrab(window);
    if (quit) {
        // The quit belongs to the loop outside: close the menu and pass it on.
        plat::DestroyWindow(window);
        plat::PostQuitMessage(static_cast<int>(msg.wParam));
    }
    // Back to the parent menu unless another of its submenus is open now.
    if (!atPoint && plat::IsWindow(owner) && !plat::IsWindow(WindowProp(owner, kPropSubmenu))) {
        plat::SetForegroundWindow(owner);
        plat::GrabInput(owner);
    }
    rows.clear();
    host.reset();
}

}  // namespace ui
