// UiEdit: the library's text box. Single- or multi-line text with a blinking
// caret, mouse and keyboard selection, the clipboard keys, a context menu,
// committed input-method text, and input modes for read-only, password,
// integer and decimal entry.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/gfx/gfx.h"
#include "ui/controls/control.h"
#include "ui/controls/edit_lines.h"
#include "ui/controls/scroll_bar.h"

namespace ui {

enum class EditMode { Normal = 0, ReadOnly = 1, Password = 2, Integer = 3, Decimal = 4 };

// Scroll-bar permissions (sum of the two).
inline constexpr int EDIT_SCROLL_HORIZONTAL = 1;
inline constexpr int EDIT_SCROLL_VERTICAL = 2;

inline constexpr int kCaretBlinkMs = 500;
inline constexpr int kTripleClickMs = 500;
inline constexpr float kEditScrollBarWidth = 10;

// Called after every change of the text, with the edit's parent control (or
// null) and the edit.
using EditChangeHandler = std::function<void(UiControl* parent, UiControl* edit)>;

struct EditOptions {
    std::optional<gfx::Argb> textColor;    // black at alpha 230
    std::optional<gfx::Argb> backColor;    // white at alpha 160
    std::optional<gfx::Argb> borderColor;  // black at alpha 80
    std::optional<rt::Text> faceName;
    std::optional<float> size;  // 12
    std::optional<int> fontStyle;
    bool multiline = false;
    EditMode inputMode = EditMode::Normal;
    rt::Text maskText = "*";
    std::optional<int> scrollOptions;  // 3 multi-line, 0 single-line
    bool visible = true;
};

class UiEdit : public UiControl {
public:
    UiEdit() = default;
    ~UiEdit() override;

    // KIND_EDIT, focusable, the I-beam cursor.
    UiControl* CreateEdit(ControlParent parent, float x, float y, float width, float height,
                          const rt::Text& text, const EditOptions& options = {});
    // With a text: replaces the text (toEnd: caret and view at the end) and
    // returns it. Without: the whole text, lines joined with CR LF.
    rt::Text Text(std::optional<rt::Text> text = std::nullopt, bool toEnd = false);

    // ---- Own operations used by the handler ----
    // Returns kUnhandled for a key it does not take. fromMenu: a command of
    // the context menu, taken as the key with Ctrl held.
    LResult KeyCommand(const KeyEvent& event, bool fromMenu);
    void InsertText(const rt::Text& text);
    // False when nothing was removed (empty selection, read-only).
    bool DeleteSelection();
    void UpdateCaret(bool show);
    rt::Text SelectedText() const;
    // The column of `line` nearest to x (control coordinates).
    int PositionToColumn(int line, float x) const;

    // Layout, view and drawing.
    void Layout();
    void UpdateScrollBars();
    void ScrollCaretIntoView();
    void DrawEdit();
    // The place under a point in control coordinates.
    EditPos PositionAt(float x, float y) const;
    // Where the caret is drawn, in control coordinates.
    gfx::PointF CaretPoint() const;
    float LineHeight() const;
    // The line as drawn: its first kMaxShownColumns characters, masked in
    // password mode.
    rt::Text ShownLine(int line) const;
    gfx::RectF TextArea() const;
    bool HasSelection() const { return caret_ != anchor_; }
    void SelectAll();
    void SelectWordAtCaret();
    // Called after every change of the text.
    void SetChangeHandler(EditChangeHandler handler) { changeHandler_ = std::move(handler); }
    // Called when Enter is pressed in a single-line edit.
    void SetReturnHandler(std::function<void()> handler) { returnHandler_ = std::move(handler); }

    // ---- What the window's code and tests read ----
    const UiEditLines& Lines() const { return lines_; }
    EditPos Caret() const { return caret_; }
    EditPos Anchor() const { return anchor_; }
    // Whether the blinking caret is in its shown phase.
    bool CaretShown() const { return caretShown_; }
    float ScrollX() const { return scrollX_; }
    float ScrollY() const { return scrollY_; }
    EditMode InputMode() const { return inputMode_; }
    bool Multiline() const { return multiline_; }
    int ScrollOptions() const { return scrollOptions_; }
    gfx::Argb TextColor() const { return textColor_; }
    gfx::Argb BackColor() const { return backColor_; }
    gfx::Argb BorderColor() const { return borderColor_; }
    const std::optional<gfx::Font>& Font() const { return font_; }
    const UiScrollBar& HorizontalBar() const { return horizontalBar_; }
    const UiScrollBar& VerticalBar() const { return verticalBar_; }
    // The x of a column of the first line as drawn, in control coordinates.
    float ColumnX(int column) const;

protected:
    LResult OnCreate() override;
    LResult OnDestroy() override;
    LResult OnPaint() override;
    LResult OnMouseDown(const MouseEvent& event) override;
    LResult OnMouseUp(const MouseEvent& event) override;
    LResult OnMouseMove(const MouseEvent& event) override;
    LResult OnWheel(int delta, int keys) override;
    LResult OnKeyDown(const KeyEvent& event) override;
    LResult OnChar(int code) override;
    LResult OnComposition(WParam wParam, LParam lParam) override;
    LResult OnCommand(WParam wParam, LParam lParam) override;
    LResult OnFocus(bool gained, UiControl* other) override;
    LResult OnResize(int width, int height) override;
    LResult OnTimer(TimerId id) override;
    LResult OnOtherMessage(int message, WParam wParam, LParam lParam) override;

private:
    bool Focused() const;
    void Changed();
    void MoveCaret(EditPos to, bool extend);
    void AfterMove();
    // After the text changed: scroll bars, view, caret and the change handler.
    void AfterEdit();
    // Shown columns per column of text: the mask's in password mode, else 1.
    int ShownColumnsPerColumn() const;
    void ShowContextMenu();
    bool Accepts(int code) const;
    float ContentWidth() const;
    float ContentHeight() const;
    // Where line 1 starts: a single line sits in the middle of the box.
    float FirstLineY() const;

    UiEditLines lines_;
    std::unique_ptr<gfx::StringFormat> textFormat_;
    std::optional<gfx::Font> font_;
    gfx::Argb textColor_ = 0xE6000000;
    gfx::Argb backColor_ = 0xA0FFFFFF;
    gfx::Argb borderColor_ = 0x50000000;
    gfx::Argb currentBorderColor_ = 0x50000000;
    EditMode inputMode_ = EditMode::Normal;
    rt::Text maskText_ = "*";
    bool multiline_ = false;
    int scrollOptions_ = 0;
    EditPos caret_;
    EditPos anchor_;
    float scrollX_ = 0;
    float scrollY_ = 0;
    bool caretShown_ = false;
    plat::Himc savedImeContext_ = nullptr;
    bool imeDetached_ = false;
    bool lastDoubleClick_ = false;
    plat::DWORD doubleClickTime_ = 0;
    UiScrollBar horizontalBar_;
    UiScrollBar verticalBar_;
    EditChangeHandler changeHandler_;
    std::function<void()> returnHandler_;
};

}  // namespace ui
