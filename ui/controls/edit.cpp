// UiEdit: creation, the text property, and the messages it handles.
#include "ui/controls/edit.h"

#include "ui/controls/control_support.h"
#include "ui/core/window.h"

namespace ui {

namespace {
namespace Flag = gfx::StringFormatFlags;
constexpr gfx::Argb kFocusBorderColor = 0xC83085C6;

std::unique_ptr<gfx::StringFormat> MakeEditFormat(int scrollOptions) {
    int flags = Flag::NoFontFallback | Flag::MeasureTrailingSpaces | Flag::NoClip;
    if (scrollOptions == EDIT_SCROLL_VERTICAL) flags |= Flag::LineLimit;
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
    if (handle) return handle;
    multiline = o.multiline;
    inputMode = o.inputMode;
    maskText = o.maskText.empty() ? rt::Text("*") : o.maskText;
    scrollOptions =
        multiline ? o.scrollOptions.value_or(EDIT_SCROLL_HORIZONTAL | EDIT_SCROLL_VERTICAL) : 0;
    textColor = o.textColor.value_or(0xE6000000);
    backColor = o.backColor.value_or(0xA0FFFFFF);
    borderColor = o.borderColor.value_or(0x50000000);
    currentBorderColor = borderColor;
    textFormat = MakeEditFormat(scrollOptions);
    font = MakeControlFont(o.faceName, o.size, o.fontStyle);
    lines.SetText(text, multiline);
    return Create(parentIn, {x, y, width, height}, KIND_EDIT, o.visible, 1, plat::IDC_IBEAM);
}

rt::Text UiEdit::Text(std::optional<rt::Text> text, bool toEnd) {
    if (!text) {
        if (!handle) return lines.Joined();
        rt::Text out;
        SendEvent(plat::WM_GETTEXT, reinterpret_cast<WParam>(&out), 0);
        return out;
    }
    if (!handle) {
        lines.SetText(*text, multiline);
        return *text;
    }
    SendEvent(plat::WM_SETTEXT, reinterpret_cast<WParam>(&*text), toEnd ? 1 : 0);
    return *text;
}

bool UiEdit::Focused() const { return host && host->focusControl == this; }

void UiEdit::Changed() {
    if (changeHandler) {
        EditChangeHandler call = changeHandler;  // the handler may replace itself
        call(parent, this);
    }
}

LResult UiEdit::OnCreate() {
    caret = anchor = EditPos{};
    if (multiline) {
        auto follow = [this](UiScrollBar& bar, float value) {
            (&bar == &verticalBar ? scrollY : scrollX) = -value;
            DrawEdit();
            UpdateCaret(caretShown);
        };
        if (scrollOptions & EDIT_SCROLL_VERTICAL) {
            verticalBar.CreateScrollBar(this, {rect.x, rect.y, kEditScrollBarWidth, rect.height}, 0,
                                        false);
            verticalBar.SetChangeCallback(follow);
        }
        if (scrollOptions & EDIT_SCROLL_HORIZONTAL) {
            horizontalBar.CreateScrollBar(this, {rect.x, rect.y, rect.width, kEditScrollBarWidth},
                                          SCROLL_HORIZONTAL, false);
            horizontalBar.SetChangeCallback(follow);
        }
    }
    Layout();
    UpdateScrollBars();
    return 0;
}

LResult UiEdit::OnDestroy() {
    plat::KillTimer(hwnd, BlinkTimerId(this));
    if (imeDetached) plat::ImmAssociateContext(hwnd, savedImeContext);
    imeDetached = false;
    // The caret belongs to the thread: leave another edit's caret alone.
    if (Focused()) plat::DestroyCaret();
    textFormat.reset();
    font.reset();
    return 0;
}

LResult UiEdit::OnPaint() {
    DrawEdit();
    return 0;
}

LResult UiEdit::OnMouseDown(const MouseEvent& event) {
    if (event.button != MouseButton::Left) return kUnhandled;
    const EditPos at =
        PositionAt(static_cast<float>(event.x) - rect.x, static_cast<float>(event.y) - rect.y);
    const plat::DWORD now = plat::GetTickCount();
    const bool masked = inputMode == EditMode::Password;
    if (event.doubleClick && !masked) {
        caret = anchor = at;
        SelectWordAtCaret();
        lastDoubleClick = true;
        doubleClickTime = now;
    } else if (lastDoubleClick && !masked &&
               now - doubleClickTime <= static_cast<plat::DWORD>(kTripleClickMs)) {
        anchor = EditPos{caret.line, 0};
        caret = EditPos{caret.line, lines.Columns(caret.line)};
        lastDoubleClick = false;
    } else {
        caret = anchor = at;
        lastDoubleClick = false;
    }
    AfterMove();
    return 0;
}

LResult UiEdit::OnMouseMove(const MouseEvent& event) {
    const bool dragging = host && host->captured && host->pressedControl == this;
    if (!dragging || inputMode == EditMode::Password) return kUnhandled;
    const EditPos at =
        PositionAt(static_cast<float>(event.x) - rect.x, static_cast<float>(event.y) - rect.y);
    if (at == caret) return 0;
    caret = at;
    AfterMove();
    return 0;
}

LResult UiEdit::OnMouseUp(const MouseEvent& event) {
    if (event.button == MouseButton::Left) {
        UpdateCaret(true);
        return 0;
    }
    if (event.button == MouseButton::Right && inputMode != EditMode::Password) {
        ShowContextMenu();
        return 0;
    }
    return kUnhandled;
}

LResult UiEdit::OnWheel(int delta, int) {
    if (!multiline || !verticalBar.handle || !verticalBar.visible) return kUnhandled;
    const float lowest = std::min(0.0f, TextArea().height - ContentHeight());
    scrollY = std::clamp(scrollY + 3 * LineHeight() * static_cast<float>(delta) / plat::WHEEL_DELTA,
                         lowest, 0.0f);
    verticalBar.ScrollValue(-scrollY);
    DrawEdit();
    UpdateCaret(caretShown);
    return 0;
}

LResult UiEdit::OnKeyDown(const KeyEvent& event) { return KeyCommand(event, false); }

bool UiEdit::Accepts(int code) const {
    const bool digit = code >= '0' && code <= '9';
    switch (inputMode) {
    case EditMode::Integer: return digit || code == '-';
    // The range '-' .. '9' less the '/' inside it, with one '.' at most.
    case EditMode::Decimal:
        if (code == '.') return lines.Joined().find('.') == rt::Text::npos;
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
    plat::Himc context = plat::ImmGetContext(hwnd);
    const rt::Text committed = plat::ImmGetResultString(context);
    plat::ImmReleaseContext(hwnd, context);
    InsertText(committed);
    return 0;
}

LResult UiEdit::OnCommand(WParam wParam, LParam) {
    return KeyCommand(KeyEvent{static_cast<int>(wParam)}, true);
}

LResult UiEdit::OnFocus(bool gained, UiControl*) {
    const bool detaches = inputMode != EditMode::Normal;
    if (gained) {
        plat::CreateCaret(hwnd, 1, static_cast<int>(LineHeight()) + 3);
        plat::SetTimer(hwnd, BlinkTimerId(this), kCaretBlinkMs);
        caretShown = true;
        if (detaches && !imeDetached) {
            savedImeContext = plat::ImmAssociateContext(hwnd, nullptr);
            imeDetached = true;
        }
        currentBorderColor = kFocusBorderColor;
        DrawEdit();
        UpdateCaret(true);
    } else {
        if (imeDetached) plat::ImmAssociateContext(hwnd, savedImeContext);
        imeDetached = false;
        plat::KillTimer(hwnd, BlinkTimerId(this));
        anchor = caret;
        caretShown = false;
        plat::HideCaret(hwnd);
        currentBorderColor = borderColor;
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
    caretShown = !caretShown;
    UpdateCaret(caretShown);
    return 0;
}

LResult UiEdit::OnOtherMessage(int message, WParam wParam, LParam lParam) {
    switch (message) {
    case plat::WM_SETTEXT: {
        const auto* text = reinterpret_cast<const rt::Text*>(wParam);
        lines.SetText(text ? *text : rt::Text(), multiline);
        scrollX = scrollY = 0;
        caret = anchor = EditPos{};
        Layout();
        if (lParam == 1) {
            caret = anchor = lines.End();
            scrollY = std::min(0.0f, TextArea().height - ContentHeight());
        }
        UpdateScrollBars();
        ScrollCaretIntoView();
        DrawEdit();
        UpdateCaret(caretShown);
        Changed();
        return 0;
    }
    case plat::WM_GETTEXT:
        if (auto* out = reinterpret_cast<rt::Text*>(wParam)) *out = lines.Joined();
        return 0;
    case EV_OPACITY_CHANGED:
        for (UiScrollBar* bar : {&verticalBar, &horizontalBar}) {
            if (bar->handle && bar->visible) bar->Opacity(static_cast<int>(lParam));
        }
        return kUnhandled;
    default: return kUnhandled;
    }
}

}  // namespace ui
