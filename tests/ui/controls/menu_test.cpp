// Popup menus on a headless host: the size and placement rules, and a
// cascade driven from a second thread while the menu's own loop runs on the
// test's thread: commands, Escape, mnemonics, presses outside, and the edit's
// context menu.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <unistd.h>

#include "host_fixture.h"
#include "platform/headless/headless_control.h"
#include "ui/controls/edit.h"
#include "ui/controls/edit_context_menu.h"
#include "ui/controls/menu_row.h"
#include "ui/core/popup_menu.h"

namespace {

using ui::test::ControlHostTest;

TEST(MenuLayout, SizeFollowsTheRowsAndTheMinimumWidth) {
    ui::LibraryStartup();
    const ui::UiPopupMenu& edit = ui::EditMenu();
    ASSERT_EQ(edit.Count(), 5);
    EXPECT_EQ(edit.Item(4)->type, ui::MenuItemType::Separator);
    EXPECT_EQ(edit.Item(1)->id, 88);
    EXPECT_EQ(edit.Item(5)->id, 65);
    EXPECT_EQ(edit.Measure(0).height, 107);
    EXPECT_GT(edit.Measure(0).width, 50);
    // A minimum width is not measured against the texts; below 50 it is 50.
    EXPECT_EQ(edit.Measure(30).width, 50);
    EXPECT_EQ(edit.Measure(30).height, 107);

    ui::UiPopupMenu sub, menu;
    menu.AddItem("a", 1);
    ui::MenuItem hidden;
    hidden.text = "hidden";
    hidden.state = ui::MenuItemState::Hidden;
    menu.AddItem(hidden);
    EXPECT_EQ(menu.Measure(60).height, 16 + 22);
    ui::MenuItem cascade;
    cascade.type = ui::MenuItemType::Submenu;
    cascade.submenu = &sub;
    menu.AddItem(cascade);
    EXPECT_EQ(menu.Measure(60).width, 60 + 15);
}

TEST(MenuLayout, MenusFlipAtTheRightAndBottomEdgesOfTheWorkArea) {
    const plat::RECT work{0, 0, 1920, 1040};
    const ui::MenuSize size{100, 107, false};
    const plat::POINT free = ui::PlaceAtPoint(work, 500, 500, size);
    EXPECT_EQ(free.x, 500);
    EXPECT_EQ(free.y, 500);
    const plat::POINT corner = ui::PlaceAtPoint(work, 1900, 1000, size);
    EXPECT_EQ(corner.x, 1800);
    EXPECT_EQ(corner.y, 1000 - 107 + 5);

    bool leftwards = true;
    const plat::RECT parent{600, 300, 700, 407};
    const plat::POINT right = ui::PlaceSubmenu(work, parent, 30, 22, size, &leftwards);
    EXPECT_FALSE(leftwards);
    EXPECT_EQ(right.x, 690);
    EXPECT_EQ(right.y, 300 + 30 - 7);
    const plat::RECT edge{1800, 980, 1900, 1087};
    const plat::POINT flipped = ui::PlaceSubmenu(work, edge, 30, 22, size, &leftwards);
    EXPECT_TRUE(leftwards);
    EXPECT_EQ(flipped.x, 1800 - 100 + 10);
    EXPECT_EQ(flipped.y, 980 + 52 - 107 + 7);
}

class MenuTest : public ControlHostTest {
protected:
    void SetUp() override {
        ControlHostTest::SetUp();
        ui::HostCallbacks callbacks;
        callbacks.rawMessage = [this](ui::NativeWindow, unsigned message, ui::WParam wParam,
                                      ui::LParam) {
            if (message == plat::WM_COMMAND) commands.push_back(static_cast<int>(wParam));
            return ui::LResult{-1};
        };
        host->SetCallbacks(callbacks);
        leaf.AddItem("Leaf", 42);
        leaf.AddItem("Other", 43);
        middle.AddItem("Plain", 31);
        middle.AddItem(Cascade("Deep", &leaf));
        root.AddItem("Open", 1);
        root.AddItem(Cascade("More", &middle));
        root.AddSeparator();
        root.AddItem("&Quit", 2);
    }

    static ui::MenuItem Cascade(const rt::Text& text, ui::UiPopupMenu* submenu) {
        ui::MenuItem item;
        item.text = text;
        item.type = ui::MenuItemType::Submenu;
        item.submenu = submenu;
        return item;
    }

    // Shown menu windows, top-most first.
    static std::vector<plat::Hwnd> Menus() {
        std::vector<plat::Hwnd> out;
        for (plat::Hwnd h : plat::headless::Windows()) {
            if (plat::GetProp(h, ui::kPropFlags) == ui::kMenuWindowFlag && plat::IsWindowVisible(h))
                out.push_back(h);
        }
        return out;
    }
    // A menu is ready once its entry animation is over: it then takes the grab.
    static bool Ready(std::size_t count) {
        const std::vector<plat::Hwnd> menus = Menus();
        return menus.size() == count && (count == 0 || plat::GetInputGrab() == menus.front());
    }
    static bool WaitForMenus(std::size_t count) {
        for (int i = 0; i < 5000; ++i) {
            if (Ready(count)) return true;
            usleep(1000);
        }
        return false;
    }
    // Screen point of the middle of the row that starts `rowY` into a menu window.
    static plat::POINT Row(plat::Hwnd menu, int rowY) {
        plat::RECT r;
        plat::GetWindowRect(menu, &r);
        return {r.left + 40, r.top + rowY + 11};
    }
    static void Hover(plat::POINT p) { plat::headless::MouseMove(p.x, p.y); }
    // Hovers a submenu row long enough for its submenu to open.
    // The clock moves on in steps until the menu thread has seen the pointer
    // and its timer has run.
    static bool OpenFrom(plat::Hwnd menu, int rowY, std::size_t expected) {
        plat::RECT r;
        plat::GetWindowRect(menu, &r);
        Hover({r.left + 2, r.top + 2});
        Hover(Row(menu, rowY));
        for (int i = 0; i < 2000; ++i) {
            plat::headless::AdvanceClock(ui::kSubmenuOpenDelayMs / 5);
            usleep(1000);
            if (Ready(expected)) return true;
        }
        return false;
    }

    // Opens `menu` at the cursor on this thread while `script` drives it from
    // another; whatever the script leaves open is closed so the test ends.
    void Drive(ui::UiPopupMenu& menu, const std::function<void()>& script) {
        MoveTo(100, 100);
        std::thread driver([&] {
            if (WaitForMenus(1)) script();
            for (plat::Hwnd h : plat::headless::Windows()) {
                if (plat::GetProp(h, ui::kPropFlags) == ui::kMenuWindowFlag)
                    plat::PostMessage(h, plat::WM_CLOSE, 0, 0);
            }
        });
        menu.PopupAt(window);
        driver.join();
        Pump();
    }

public:
    ui::UiPopupMenu root, middle, leaf;
    std::vector<int> commands;
};

TEST_F(MenuTest, ACommandTwoLevelsDownClosesTheCascadeAndArrivesOnce) {
    std::atomic<bool> opened{false};
    Drive(root, [&] {
        const plat::Hwnd first = Menus().front();
        if (!OpenFrom(first, 8 + 22, 2)) return;
        if (!OpenFrom(Menus().front(), 8 + 22, 3)) return;
        opened = true;
        const plat::POINT p = Row(Menus().front(), 8);
        plat::headless::Click(p.x, p.y);
        WaitForMenus(0);
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(commands, std::vector<int>{42});
    EXPECT_TRUE(Menus().empty());
}

TEST_F(MenuTest, ASeparatorUnderThePointerClosesTheOpenSubmenu) {
    std::atomic<bool> closed{false};
    Drive(root, [&] {
        const plat::Hwnd first = Menus().front();
        if (!OpenFrom(first, 8 + 22, 2)) return;
        plat::RECT r;
        plat::GetWindowRect(first, &r);
        Hover({r.left + 40, r.top + 8 + 2 * 22 + 1});
        for (int i = 0; i < 1000 && !Ready(1); ++i) {
            plat::headless::AdvanceClock(ui::kSubmenuOpenDelayMs / 5);
            usleep(1000);
        }
        closed = Ready(1);
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(commands.empty());
}

TEST_F(MenuTest, EscapeClosesOnlyTheCurrentMenu) {
    std::atomic<int> reached{0};
    Drive(root, [&] {
        if (!OpenFrom(Menus().front(), 8 + 22, 2)) return;
        plat::headless::KeyPress(plat::VK_ESCAPE);
        if (!WaitForMenus(1)) return;
        reached = 1;
        // The root still works: its submenu opens again.
        if (!OpenFrom(Menus().front(), 8 + 22, 2)) return;
        reached = 2;
        plat::headless::KeyPress(plat::VK_ESCAPE);
        if (!WaitForMenus(1)) return;
        plat::headless::KeyPress(plat::VK_ESCAPE);
        if (WaitForMenus(0)) reached = 3;
    });
    EXPECT_EQ(reached, 3);
    EXPECT_TRUE(commands.empty());
}

TEST_F(MenuTest, ALetterChoosesTheRowWithThatAccessKey) {
    Drive(root, [&] {
        plat::headless::KeyPress('Q');
        WaitForMenus(0);
    });
    EXPECT_EQ(commands, std::vector<int>{2});
}

TEST_F(MenuTest, APressOutsideTheCascadeClosesItWithoutACommand) {
    std::atomic<bool> closed{false};
    Drive(root, [&] {
        if (!OpenFrom(Menus().front(), 8 + 22, 2)) return;
        // Outside every window: the menu grab brings the press to the menu.
        plat::headless::Click(5, 5);
        closed = WaitForMenus(0);
    });
    EXPECT_TRUE(closed);
    Drive(root, [&] {
        // On the owner window, away from the menu.
        plat::headless::Click(kLeft + 900, kTop + 500);
        closed = WaitForMenus(0);
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(commands.empty());
}

class EditMenuTest : public ControlHostTest {
protected:
    void TearDown() override {
        ui::EditMenu().SetBeforeShow(nullptr);
        ControlHostTest::TearDown();
    }
    // Row states the edit set before its menu showed (the menu closes at once).
    std::vector<ui::MenuItemState> StatesOnRightClick(int x, int y) {
        std::vector<ui::MenuItemState> states;
        ui::EditMenu().SetBeforeShow([&](ui::NativeWindow menu, bool atPoint) {
            EXPECT_TRUE(atPoint);
            for (int i = 1; i <= 5; ++i) states.push_back(ui::EditMenu().ItemState(i));
            plat::PostMessage(menu, plat::WM_CLOSE, 0, 0);
        });
        MoveTo(x, y);
        plat::headless::MouseButton(1, true);
        plat::headless::MouseButton(1, false);
        Pump();
        return states;
    }
};

TEST_F(EditMenuTest, RowStatesFollowTheSelectionModeAndClipboard) {
    using S = ui::MenuItemState;
    ui::UiEdit normal, readOnly;
    ASSERT_TRUE(normal.CreateEdit(window, 100, 100, 300, 24, "hello", {}));
    ui::EditOptions o;
    o.inputMode = ui::EditMode::ReadOnly;
    ASSERT_TRUE(readOnly.CreateEdit(window, 100, 150, 300, 24, "", o));
    Pump();
    // Nothing selected and nothing on the clipboard.
    EXPECT_EQ(StatesOnRightClick(390, 110),
              (std::vector<S>{S::Disabled, S::Disabled, S::Disabled, S::Normal, S::Enabled}));
    // The right-clicked edit took the focus.
    EXPECT_EQ(host->FocusControl(), &normal);

    plat::SetClipboardText("clip");
    normal.SelectAll();
    EXPECT_EQ(StatesOnRightClick(390, 110),
              (std::vector<S>{S::Normal, S::Normal, S::Normal, S::Normal, S::Enabled}));
    EXPECT_EQ(StatesOnRightClick(390, 160),
              (std::vector<S>{S::Disabled, S::Disabled, S::Disabled, S::Normal, S::Disabled}));
}

TEST_F(EditMenuTest, PasswordEditsOpenNoMenu) {
    ui::UiEdit password;
    ui::EditOptions o;
    o.inputMode = ui::EditMode::Password;
    ASSERT_TRUE(password.CreateEdit(window, 100, 200, 300, 24, "secret", o));
    Pump();
    bool shown = false;
    ui::EditMenu().SetBeforeShow([&](ui::NativeWindow menu, bool) {
        shown = true;
        plat::PostMessage(menu, plat::WM_CLOSE, 0, 0);
    });
    MoveTo(390, 210);
    plat::headless::MouseButton(1, true);
    plat::headless::MouseButton(1, false);
    Pump();
    EXPECT_FALSE(shown);
}

TEST_F(EditMenuTest, PasteFromTheMenuReachesTheRightClickedEdit) {
    ui::UiEdit edit;
    ASSERT_TRUE(edit.CreateEdit(window, 100, 100, 300, 24, "", {}));
    Pump();
    plat::SetClipboardText("粘贴的");
    std::thread driver([] {
        for (int i = 0; i < 5000; ++i) {
            for (plat::Hwnd h : plat::headless::Windows()) {
                if (plat::GetProp(h, ui::kPropFlags) != ui::kMenuWindowFlag ||
                    plat::GetInputGrab() != h)
                    continue;
                plat::RECT r;
                plat::GetWindowRect(h, &r);
                plat::headless::Click(r.left + 40, r.top + 8 + 2 * 22 + 11);
                return;
            }
            usleep(1000);
        }
    });
    MoveTo(390, 110);
    plat::headless::MouseButton(1, true);
    plat::headless::MouseButton(1, false);
    Pump();
    driver.join();
    Pump();
    EXPECT_EQ(edit.Text(), "粘贴的");
}

}  // namespace
