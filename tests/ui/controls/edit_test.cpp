// The edit control on a headless host: the line model, typing in each input
// mode, the clipboard keys, selection by mouse and keys, and the caret keys.
#include <gtest/gtest.h>

#include <string>

#include "host_fixture.h"
#include "platform/headless/headless_control.h"
#include "runtime/codepage.h"
#include "ui/controls/edit.h"
#include "ui/core/shown_text.h"

namespace {

using ui::test::ControlHostTest;

class EditTest : public ControlHostTest {
protected:
    // An edit at (100, 100), focused by a click into it.
    void Make(const rt::Text& text, ui::EditOptions o = {}, float height = 24) {
        ASSERT_TRUE(edit.CreateEdit(window, 100, 100, 300, height, text, o));
        Pump();
        ClickAt(390, 110);
        ASSERT_EQ(host->FocusControl(), &edit);
    }
    static void Ctrl(int key) {
        plat::headless::Key(plat::VK_CONTROL, true);
        plat::headless::KeyPress(key);
        plat::headless::Key(plat::VK_CONTROL, false);
        Pump();
    }
    static void Keys(std::initializer_list<int> keys) {
        for (int key : keys) plat::headless::KeyPress(key);
        Pump();
    }
    static void Type(const std::string& text) {
        plat::headless::TypeText(text);
        Pump();
    }
    // Client x a little into a column of line 1.
    int XOfColumn(int column) const {
        const float a = edit.ColumnX(column);
        const float b = edit.ColumnX(column + 1);
        return 100 + static_cast<int>(a + (b - a) / 4);
    }

public:
    ui::UiEdit edit;
};

TEST(EditLines, LineBreaksColumnsAndRanges) {
    ui::UiEditLines lines;
    lines.SetText("a\r\nb", false);
    EXPECT_EQ(lines.Joined(), "a");
    lines.SetText("a\r\nb\nc", true);
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Joined(), "a\r\nb\r\nc");

    // A double-byte character is one column.
    lines.SetText("中a文", true);
    EXPECT_EQ(lines.Columns(1), 3);
    EXPECT_EQ(lines.Range({1, 1}, {1, 3}), "a文");
    const ui::EditPos end = lines.Insert({1, 1}, "x\r\ny", true);
    EXPECT_EQ(lines.Joined(), "中x\r\nya文");
    EXPECT_EQ(end, (ui::EditPos{2, 1}));
    lines.Erase({2, 1}, {1, 1});
    EXPECT_EQ(lines.Joined(), "中a文");
}

TEST_F(EditTest, SettingTextKeepsTheFirstLineOfASingleLineEditAndCallsTheChangeHandler) {
    Make("start");
    int changes = 0;
    ui::UiControl* seenParent = &edit;
    edit.SetChangeHandler([&](ui::UiControl* parent, ui::UiControl* control) {
        ++changes;
        seenParent = parent;
        EXPECT_EQ(control, &edit);
    });
    EXPECT_EQ(edit.Text("a\r\nb"), "a\r\nb");
    EXPECT_EQ(edit.Text(), "a");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seenParent, nullptr);
    Type("z");
    EXPECT_EQ(changes, 2);
    // Enter inserts nothing on a single line.
    Keys({plat::VK_RETURN});
    EXPECT_EQ(edit.Text(), "za");
    EXPECT_EQ(changes, 2);
}

TEST_F(EditTest, IntegerAndDecimalModesDropRefusedCharacters) {
    ui::EditOptions o;
    o.inputMode = ui::EditMode::Integer;
    Make("", o);
    Type("1a-2.");
    EXPECT_EQ(edit.Text(), "1-2");
    // A committed composition cannot reach it: the input method is detached.
    plat::headless::CommitComposition(rt::Cp936ToUtf8("中"));
    Pump();
    EXPECT_EQ(edit.Text(), "1-2");

    ui::UiEdit decimal;
    o.inputMode = ui::EditMode::Decimal;
    ASSERT_TRUE(decimal.CreateEdit(window, 100, 200, 300, 24, "", o));
    Pump();
    ClickAt(390, 210);
    Type("1.2.3/x");
    EXPECT_EQ(decimal.Text(), "1.23");
}

TEST_F(EditTest, ReadOnlyRefusesCutBackspaceAndTypingButCopies) {
    ui::EditOptions o;
    o.inputMode = ui::EditMode::ReadOnly;
    Make("hello", o);
    plat::SetClipboardText("kept");
    Ctrl('A');
    Ctrl('X');
    EXPECT_EQ(edit.Text(), "hello");
    EXPECT_EQ(plat::GetClipboardText(), "kept");
    Keys({plat::VK_BACK, plat::VK_END, plat::VK_BACK, plat::VK_DELETE});
    Type("q");
    Ctrl('V');
    EXPECT_EQ(edit.Text(), "hello");
    Ctrl('A');
    Ctrl('C');
    EXPECT_EQ(plat::GetClipboardText(), "hello");
}

TEST_F(EditTest, PasswordShowsTheMaskAndCopiesNothing) {
    ui::EditOptions o;
    o.inputMode = ui::EditMode::Password;
    o.maskText = "#";
    Make("secret", o);
    EXPECT_EQ(edit.ShownLine(1), "######");
    plat::SetClipboardText("kept");
    Ctrl('A');
    Ctrl('C');
    EXPECT_EQ(plat::GetClipboardText(), "kept");
    EXPECT_FALSE(edit.HasSelection());
}

TEST_F(EditTest, ClipboardKeysCutAndPasteChineseText) {
    Make("");
    plat::headless::CommitComposition(rt::Cp936ToUtf8("关键字"));
    Pump();
    EXPECT_EQ(edit.Text(), "关键字");
    Keys({plat::VK_LEFT});
    plat::headless::Key(plat::VK_SHIFT, true);
    Keys({plat::VK_LEFT});
    plat::headless::Key(plat::VK_SHIFT, false);
    EXPECT_EQ(edit.SelectedText(), "键");
    Ctrl('X');
    EXPECT_EQ(edit.Text(), "关字");
    EXPECT_EQ(plat::GetClipboardText(), "键");
    Keys({plat::VK_END});
    Ctrl('V');
    EXPECT_EQ(edit.Text(), "关字键");
    // A pasted line break ends a single-line paste.
    plat::SetClipboardText("x\r\ny");
    Ctrl('V');
    EXPECT_EQ(edit.Text(), "关字键x");
}

TEST_F(EditTest, DoubleClickSelectsAnAsciiWordAndAThirdClickTheLine) {
    Make("abc123.def");
    const int x = XOfColumn(1);
    ClickAt(x, 110);
    ClickAt(x, 110);
    EXPECT_EQ(edit.SelectedText(), "abc123");
    ClickAt(x, 110);
    EXPECT_EQ(edit.SelectedText(), "abc123.def");

    // Later than 500 ms after the double click the press only places the caret.
    Tick(1000);
    ClickAt(x, 110);
    ClickAt(x, 110);
    Tick(600);
    ClickAt(XOfColumn(8), 110);
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(edit.Caret(), (ui::EditPos{1, 8}));
}

TEST_F(EditTest, DraggingSelectsFromThePress) {
    Make("abcdef");
    Press(XOfColumn(1) - 2, 110);
    MoveTo(XOfColumn(4) - 2, 110);
    Release();
    EXPECT_EQ(edit.SelectedText(), "bcd");
}

TEST_F(EditTest, BackspaceJoinsLinesAndDeleteNeedsASelection) {
    ui::EditOptions o;
    o.multiline = true;
    Make("ab\r\ncd", o, 120);
    Keys({plat::VK_DOWN, plat::VK_HOME, plat::VK_DELETE});
    EXPECT_EQ(edit.Text(), "ab\r\ncd");
    Keys({plat::VK_BACK});
    EXPECT_EQ(edit.Text(), "abcd");
    EXPECT_EQ(edit.Caret(), (ui::EditPos{1, 2}));
    Keys({plat::VK_RETURN});
    EXPECT_EQ(edit.Text(), "ab\r\ncd");
    EXPECT_EQ(edit.Caret(), (ui::EditPos{2, 0}));
}

TEST_F(EditTest, UpAndDownKeepTheColumnWhereTheLineIsLongEnough) {
    ui::EditOptions o;
    o.multiline = true;
    Make("中文字符串\r\nab\r\n一二三四五六", o, 120);
    Ctrl('A');
    Keys({plat::VK_UP, plat::VK_UP, plat::VK_HOME});
    Keys({plat::VK_RIGHT, plat::VK_RIGHT, plat::VK_RIGHT, plat::VK_RIGHT});
    EXPECT_EQ(edit.Caret(), (ui::EditPos{1, 4}));
    Keys({plat::VK_DOWN});
    EXPECT_EQ(edit.Caret(), (ui::EditPos{2, 2}));
    Keys({plat::VK_DOWN, plat::VK_DOWN});
    EXPECT_EQ(edit.Caret(), (ui::EditPos{3, 2}));
    Keys({plat::VK_UP, plat::VK_UP, plat::VK_UP});
    EXPECT_EQ(edit.Caret(), (ui::EditPos{1, 2}));
    // One Backspace removes a whole double-byte character.
    Keys({plat::VK_BACK});
    EXPECT_EQ(edit.Text(), "中字符串\r\nab\r\n一二三四五六");
}

TEST_F(EditTest, TextToEndScrollsTheLastLineIntoViewAndTheWheelScrolls) {
    ui::EditOptions o;
    o.multiline = true;
    o.scrollOptions = ui::EDIT_SCROLL_VERTICAL;
    Make("", o, 60);
    rt::Text text;
    for (int i = 1; i <= 30; ++i) text += "line " + std::to_string(i) + (i < 30 ? "\r\n" : "");
    edit.Text(text, true);
    Pump();
    EXPECT_EQ(edit.Caret(), (ui::EditPos{30, 7}));
    ASSERT_TRUE(edit.VerticalBar().Visible());
    const float bottom = edit.ScrollY();
    EXPECT_LT(bottom, 0);
    EXPECT_NEAR(bottom, edit.TextArea().height - 30 * edit.LineHeight(), 0.5);
    plat::headless::Wheel(-1);  // towards the user: further down is no further
    Pump();
    EXPECT_FLOAT_EQ(edit.ScrollY(), bottom);
    plat::headless::Wheel(1);
    Pump();
    EXPECT_FLOAT_EQ(edit.ScrollY(), bottom + 3 * edit.LineHeight());
    EXPECT_FLOAT_EQ(edit.VerticalBar().ScrollValue(), -edit.ScrollY());
}

TEST_F(EditTest, AHugeLineIsShownByItsBeginningAndCopiedWhole) {
    ui::EditOptions o;
    o.multiline = true;
    o.scrollOptions = ui::EDIT_SCROLL_VERTICAL;
    const std::string huge = "【" + std::string(3 * 1000 * 1000, 'y') + "】 tail";
    Make(huge, o, 40);
    EXPECT_EQ(edit.ShownLine(1), std::string(ui::ShownPart(huge)));
    Ctrl('A');
    Ctrl('C');
    EXPECT_EQ(plat::GetClipboardText(), huge);
    EXPECT_EQ(edit.Text(), huge);
}

TEST_F(EditTest, FocusBlinksTheCaretAndLeavingCollapsesTheSelection) {
    Make("abc");
    Ctrl('A');
    ASSERT_TRUE(edit.HasSelection());
    EXPECT_TRUE(edit.CaretShown());
    Tick(500);
    EXPECT_FALSE(edit.CaretShown());
    Tick(500);
    EXPECT_TRUE(edit.CaretShown());
    ui::UiEdit other;
    ASSERT_TRUE(other.CreateEdit(window, 100, 200, 300, 24, ""));
    Pump();
    ClickAt(390, 210);
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_FALSE(edit.CaretShown());
    Tick(500);
    EXPECT_FALSE(edit.CaretShown());
}

}  // namespace
