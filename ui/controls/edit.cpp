// UiEdit: creation, the text property, and the messages it handles.
#include "ui/controls/edit.h"

#include "ui/controls/control_support.h"
#include "ui/core/window.h"

namespace ui {

namespace {
namespace Flag = gfx::StringFormatFlags;
constexpr gfx::Argb kFocusBorderColor = 0xC83085C6;

std::unique_ptr<gfx::StringFormat> MakeEditFormat(int scrollOptions) {
    int flags = Flag::kNoFontFallback | Flag::kMeasureTrailingSpaces | Flag::kNoClip;
    if (scrollOptions == EDIT_SCROLL_VERTICAL) flags |= Flag::kLineLimit;
    auto format = std::make_unique<gfx::StringFormat>(flags);
    format->SetTrimming(gfx::StringTrimming::None);
    format->SetTabStops(1.0f, {8.0f});
    return format;
}

TimerId BlinkTimerId(const UiEdit* edit) { return reinterpret_cast<TimerId>(edit); }
}  // namespace

UiEdit::~UiEdit() { Destroy(); }

UiControl* UiEdit::CreateEdit(ControlParent parentIn, float x, float y, float width, float height,
                              const rt::Text& text, const EditOptions& o) {
    if (handle_) return handle_;
    multiline_ = o.multiline;
    inputMode_ = o.inputMode;
    maskText_ = o.maskText.empty() ? rt::Text("*") : o.maskText;
    scrollOptions_ =
        multiline_ ? o.scrollOptions.value_or(EDIT_SCROLL_HORIZONTAL | EDIT_SCROLL_VERTICAL) : 0;
    textColor_ = o.textColor.value_or(0xE6000000);
    backColor_ = o.backColor.value_or(0xA0FFFFFF);
    borderColor_ = o.borderColor.value_or(0x50000000);
    currentBorderColor_ = borderColor_;
    textFormat_ = MakeEditFormat(scrollOptions_);
    font_ = MakeControlFont(o.faceName, o.size, o.fontStyle);
    lines_.SetText(text, multiline_);
    return Create(parentIn, {x, y, width, height}, KIND_EDIT, o.visible, 1, plat::IDC_IBEAM);
}

rt::Text UiEdit::Text(std::optional<rt::Text> text, bool toEnd) {
    if (!text) {
        if (!handle_) return lines_.Joined();
        rt::Text out;
        SendEvent(plat::WM_GETTEXT, reinterpret_cast<WParam>(&out), 0);
        return out;
    }
    if (!handle_) {
        lines_.SetText(*text, multiline_);
        return *text;
    }
    SendEvent(plat::WM_SETTEXT, reinterpret_cast<WParam>(&*text), toEnd ? 1 : 0);
    return *text;
}

bool UiEdit::Focused() const { return host_ && host_->FocusControl() == this; }

void UiEdit::Changed() {
    if (changeHandler_) {
        EditChangeHandler call = changeHandler_;  // the handler may replace itself
        call(parent_, this);
    }
}

LResult UiEdit::OnCreate() {
    caret_ = anchor_ = EditPos{};
    if (multiline_) {
        auto follow = [this](UiScrollBar& bar, float value) {
            (&bar == &verticalBar_ ? scrollY_ : scrollX_) = -value;
            DrawEdit();
            UpdateCaret(caretShown_);
        };
        if (scrollOptions_ & EDIT_SCROLL_VERTICAL) {
            verticalBar_.CreateScrollBar(
                this, {rect_.x, rect_.y, kEditScrollBarWidth, rect_.height}, 0, false);
            verticalBar_.SetChangeCallback(follow);
        }
        if (scrollOptions_ & EDIT_SCROLL_HORIZONTAL) {
            horizontalBar_.CreateScrollBar(this,
                                           {rect_.x, rect_.y, rect_.width, kEditScrollBarWidth},
                                           SCROLL_HORIZONTAL, false);
            horizontalBar_.SetChangeCallback(follow);
        }
    }
    Layout();
    UpdateScrollBars();
    return 0;
}

LResult UiEdit::OnDestroy() {
    plat::KillTimer(hwnd_, BlinkTimerId(this));
    if (imeDetached_) plat::ImmAssociateContext(hwnd_, savedImeContext_);
    imeDetached_ = false;
    // The caret belongs to the thread: leave another edit's caret alone.
    if (Focused()) plat::DestroyCaret();
    textFormat_.reset();
    font_.reset();
    return 0;
}

LResult UiEdit::OnPaint() {
    DrawEdit();
    return 0;
}

LResult UiEdit::OnMouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) return kUnhandled;
    const EditPos at =
        PositionAt(static_cast<float>(event.x) - rect_.x, static_cast<float>(event.y) - rect_.y);
    const plat::DWORD now = plat::GetTickCount();
    const bool masked = inputMode_ == EditMode::Password;
    if (event.doubleClick && !masked) {
        caret_ = anchor_ = at;
        SelectWordAtCaret();
        lastDoubleClick_ = true;
        doubleClickTime_ = now;
    } else if (lastDoubleClick_ && !masked &&
               now - doubleClickTime_ <= static_cast<plat::DWORD>(kTripleClickMs)) {
        anchor_ = EditPos{caret_.line, 0};
        caret_ = EditPos{caret_.line, lines_.Columns(caret_.line)};
        lastDoubleClick_ = false;
    } else {
        caret_ = anchor_ = at;
        lastDoubleClick_ = false;
    }
    AfterMove();
    return 0;
}

LResult UiEdit::OnMouseMove(const MouseEvent& event) {
    const bool dragging = host_ && host_->Captured() && host_->PressedControl() == this;
    if (!dragging || inputMode_ == EditMode::Password) return kUnhandled;
    const EditPos at =
        PositionAt(static_cast<float>(event.x) - rect_.x, static_cast<float>(event.y) - rect_.y);
    if (at == caret_) return 0;
    caret_ = at;
    AfterMove();
    return 0;
}

LResult UiEdit::OnMouseUp(const MouseEvent& event) {
    if (event.button == MouseButton::Left) {
        UpdateCaret(true);
        return 0;
    }
    if (event.button == MouseButton::Right && inputMode_ != EditMode::Password) {
        ShowContextMenu();
        return 0;
    }
    return kUnhandled;
}

LResult UiEdit::OnWheel(int delta, int) {
    if (!multiline_ || !verticalBar_.GetHandle() || !verticalBar_.Visible()) return kUnhandled;
    const float lowest = std::min(0.0f, TextArea().height - ContentHeight());
    scrollY_ = std::clamp(
        scrollY_ + 3 * LineHeight() * static_cast<float>(delta) / plat::WHEEL_DELTA, lowest, 0.0f);
    verticalBar_.ScrollValue(-scrollY_);
    DrawEdit();
    UpdateCaret(caretShown_);
    return 0;
}

LResult UiEdit::OnKeyDown(const KeyEvent& event) { return KeyCommand(event, false); }

bool UiEdit::Accepts(int code) const {
    const bool digit = code >= '0' && code <= '9';
    switch (inputMode_) {
    case EditMode::Integer: return digit || code == '-';
    // The range '-' .. '9' less the '/' inside it, with one '.' at most.
    case EditMode::Decimal:
        if (code == '.') return lines_.Joined().find('.') == rt::Text::npos;
        return digit || code == '-';
    default: return true;
    }
}

LResult UiEdit::OnChar(int code) {
    if (code < 28 || code > 126) return kUnhandled;
    if (Accepts(code)) InsertText(rt::Text(1, static_cast<char>(code)));
    return 0;
}

LResult UiEdit::OnComposition(WParam, LParam lParam) {
    if (!(lParam & plat::GCS_RESULTSTR)) return kUnhandled;
    plat::Himc context = plat::ImmGetContext(hwnd_);
    const rt::Text committed = plat::ImmGetResultString(context);
    plat::ImmReleaseContext(hwnd_, context);
    InsertText(committed);
    return 0;
}

LResult UiEdit::OnCommand(WParam wParam, LParam) {
    return KeyCommand(KeyEvent{static_cast<int>(wParam)}, true);
}

LResult UiEdit::OnFocus(bool gained, UiControl*) {
    const bool detaches = inputMode_ != EditMode::Normal;
    if (gained) {
        plat::CreateCaret(hwnd_, 1, static_cast<int>(LineHeight()) + 3);
        plat::SetTimer(hwnd_, BlinkTimerId(this), kCaretBlinkMs);
        caretShown_ = true;
        if (detaches && !imeDetached_) {
            savedImeContext_ = plat::ImmAssociateContext(hwnd_, nullptr);
            imeDetached_ = true;
        }
        currentBorderColor_ = kFocusBorderColor;
        DrawEdit();
        UpdateCaret(true);
    } else {
        if (imeDetached_) plat::ImmAssociateContext(hwnd_, savedImeContext_);
        imeDetached_ = false;
        plat::KillTimer(hwnd_, BlinkTimerId(this));
        anchor_ = caret_;
        caretShown_ = false;
        plat::HideCaret(hwnd_);
        currentBorderColor_ = borderColor_;
        DrawEdit();
    }
    return 0;
}

LResult UiEdit::OnResize(int, int) {
    Layout();
    UpdateScrollBars();
    return kUnhandled;
}

LResult UiEdit::OnTimer(TimerId id) {
    if (id != BlinkTimerId(this)) return kUnhandled;
    caretShown_ = !caretShown_;
    UpdateCaret(caretShown_);
    return 0;
}

LResult UiEdit::OnOtherMessage(int message, WParam wParam, LParam lParam) {
    switch (message) {
    case plat::WM_SETTEXT: {
        const auto* text = reinterpret_cast<const rt::Text*>(wParam);
        lines_.SetText(text ? *text : rt::Text(), multiline_);
        scrollX_ = scrollY_ = 0;
        caret_ = anchor_ = EditPos{};
        Layout();
        if (lParam == 1) {
            caret_ = anchor_ = lines_.End();
            scrollY_ = std::min(0.0f, TextArea().height - ContentHeight());
        }
        UpdateScrollBars();
        ScrollCaretIntoView();
        DrawEdit();
        UpdateCaret(caretShown_);
        Changed();
        return 0;
    }
    case plat::WM_GETTEXT:
        if (auto* out = reinterpret_cast<rt::Text*>(wParam)) *out = lines_.Joined();
        return 0;
    case EV_OPACITY_CHANGED:
        for (UiScrollBar* bar : {&verticalBar_, &horizontalBar_}) {
            if (bar->GetHandle() && bar->Visible()) bar->Opacity(static_cast<int>(lParam));
        }
        return kUnhandled;
    default: return kUnhandled;
    }
}

}  // namespace ui
