#include "ui/controls/control.h"

#include <cmath>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "ui/core/canvas.h"
#include "ui/core/draw_geometry.h"
#include "ui/core/window.h"

namespace ui {

namespace {
bool Differs(float a, float b) { return std::fabs(a - b) > kGeometryTolerance; }

}  // namespace

UiControl*& UiControl::FirstOf(UiControl* owner) const {
    return owner ? owner->firstChild_ : host_->firstControl_;
}
UiControl*& UiControl::LastOf(UiControl* owner) const {
    return owner ? owner->lastChild_ : host_->lastControl_;
}

TimerId TransitionTimerId(const UiControl* control) {
    return reinterpret_cast<TimerId>(control) + 1;
}

UiControl::UiControl() = default;

UiControl::~UiControl() { Destroy(); }

UiControl* UiControl::Create(ControlParent where, RectF r, int kindCode, bool isVisible,
                             std::optional<int> takesFocus, std::optional<int> cursorId,
                             int interval, int frames, int style) {
    if (handle_) return handle_;
    UiControl* parentControl = where.control;
    NativeWindow window = parentControl ? parentControl->hwnd_ : where.window;
    UiWindow* owner = FindHost(window);
    if (!owner) return nullptr;
    // A parent control of another host cannot adopt this one.
    if (parentControl && (!parentControl->handle_ || parentControl->host_ != owner)) return nullptr;
    hwnd_ = window;
    host_ = owner;
    handle_ = this;
    owner->RegisterControl(this);
    rect_ = r;
    tooltip_.clear();
    opacity_ = 255;
    redrawEnabled_ = true;
    kind_ = kindCode;
    visible_ = isVisible;
    focusable_ = takesFocus.value_or(1) != 0;
    if (cursorId) cursor_ = plat::LoadCursor(*cursorId);
    if (parentControl) {
        SetParentControl(parentControl);
    } else {
        AppendTo(nullptr);
    }
    if (kind_ == KIND_SURFACELESS) {
        CreateSurface(1, 1);
    } else {
        CreateSurface(static_cast<int>(rect_.width), static_cast<int>(rect_.height));
    }
    transitionInterval_ = interval;
    transitionFrames_ = frames;
    transitionStyle_ = style;
    SendEvent(plat::WM_CREATE);
    SendEvent(plat::WM_PAINT);
    return handle_;
}

void UiControl::CreateSurface(int width, int height) {
    graphics_.reset();
    surface_ = std::make_unique<gfx::Bitmap>(std::max(width, 1), std::max(height, 1));
    graphics_ = std::make_unique<gfx::Graphics>(*surface_);
    graphics_->SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
    graphics_->SetTextRenderingHint(gfx::TextRenderingHint::AntiAliasGridFit);
}

void UiControl::AppendTo(UiControl* owner) {
    UiControl*& first = FirstOf(owner);
    UiControl*& last = LastOf(owner);
    prevSibling_ = last;
    nextSibling_ = nullptr;
    if (last) last->nextSibling_ = this;
    last = this;
    if (!first) first = this;
    parent_ = owner;
}

void UiControl::SetParentControl(ControlParent newParent) {
    if (!handle_) return;
    UiControl* target = newParent.control;
    if (!target && newParent.window && newParent.window != hwnd_) return;
    if (target && (target == this || target->host_ != host_)) return;
    if (target == parent_ && (prevSibling_ || nextSibling_ || FirstOf(parent_) == this)) return;
    Unlink();
    AppendTo(target);
    Invalidate();
}

void UiControl::Destroy() {
    if (!handle_) return;
    visible_ = false;
    Invalidate();
    while (firstChild_) {
        UiControl* child = firstChild_;
        child->Destroy();
        if (firstChild_ == child) child->Unlink();  // never loop on a child that stayed
    }
    HandleMessage(plat::WM_DESTROY, 0, 0);
    plat::KillTimer(hwnd_, TransitionTimerId(this));
    if (host_) {
        host_->ForgetControl(this);
        host_->UnregisterControl(this);
    }
    Unlink();
    tooltip_.clear();
    tag_.clear();
    graphics_.reset();
    surface_.reset();
    transitionSnapshot_.reset();
    eventTable_.clear();
    hwnd_ = nullptr;
    handle_ = nullptr;
    parent_ = nullptr;
    visible_ = disabled_ = focusable_ = redrawEnabled_ = false;
    cursor_ = nullptr;
    rect_ = previousRect_ = RectF{};
    kind_ = 0;
    firstChild_ = lastChild_ = prevSibling_ = nextSibling_ = nullptr;
    transitionFrame_ = transitionInterval_ = transitionFrames_ = transitionStyle_ = 0;
    host_ = nullptr;
    opacity_ = 0;
}

RectF UiControl::Rect(RectF newRect) {
    Move(newRect.x, newRect.y, newRect.width, newRect.height);
    return rect_;
}

int UiControl::Visible(int value) {
    if ((value != 0) != visible_) {
        visible_ = value != 0;
        SendEvent(visible_ ? EV_SHOWN : EV_HIDDEN);
        Invalidate();
    }
    return visible_ ? 1 : 0;
}

int UiControl::Disabled(int value) {
    if ((value != 0) != disabled_) {
        disabled_ = value != 0;
        if (host_ && host_->FocusControl() == this) {
            host_->SetFocusReference(nullptr);
            PostEvent(EV_FOCUS_LOST);
        }
        PostEvent(EV_MOUSE_LEFT);
        Invalidate();
    }
    return disabled_ ? 1 : 0;
}

int UiControl::Focusable(int value) {
    focusable_ = value != 0;
    return focusable_ ? 1 : 0;
}

bool UiControl::HasFocus() {
    const LResult answer = SendEvent(EV_HAS_FOCUS);
    if (answer == 0 || answer == 1) return answer == 1;
    return host_ && host_->FocusControl() == this;
}

void UiControl::Redraw() { SendEvent(plat::WM_PAINT); }

void UiControl::Invalidate() {
    if (!handle_) return;
    plat::PostMessage(hwnd_, HM_INVALIDATE, static_cast<WParam>(RedrawMode::Now), PackRect(rect_));
}

void UiControl::ShiftDescendants(float dx, float dy) {
    for (UiControl* child = firstChild_; child; child = child->nextSibling_) {
        child->rect_.x += dx;
        child->rect_.y += dy;
        child->ShiftDescendants(dx, dy);
    }
}

void UiControl::Move(std::optional<float> x, std::optional<float> y, std::optional<float> width,
                     std::optional<float> height, bool redraw) {
    if (!handle_) return;
    const RectF next{x.value_or(rect_.x), y.value_or(rect_.y), width.value_or(rect_.width),
                     height.value_or(rect_.height)};
    const bool moved = Differs(next.x, rect_.x) || Differs(next.y, rect_.y);
    const bool resized = Differs(next.width, rect_.width) || Differs(next.height, rect_.height);
    if (!moved && !resized) return;
    previousRect_ = rect_;
    rect_ = next;
    ShiftDescendants(next.x - previousRect_.x, next.y - previousRect_.y);
    if (resized && kind_ != KIND_SURFACELESS) {
        CreateSurface(static_cast<int>(rect_.width), static_cast<int>(rect_.height));
        SendEvent(EV_RESIZED, static_cast<WParam>(static_cast<int>(rect_.width)),
                  static_cast<LParam>(rect_.height));
        SendEvent(plat::WM_PAINT);
    }
    const LParam repaint = (redraw && visible_) ? 1 : 0;
    const WParam self = reinterpret_cast<WParam>(this);
    // The host answers 0 while it is suspended; only another thread can wait
    // that out, so on the window's own thread one notice is all there is.
    const bool mayWait = host_ && !host_->OnOwnerThread();
    while (plat::SendMessage(hwnd_, HM_CONTROL_MOVED, self, repaint) != 1 && mayWait &&
           plat::IsWindow(hwnd_)) {
        plat::Sleep(1);
    }
}

rt::Text UiControl::Tooltip(std::optional<rt::Text> text, bool apply) {
    if (text) tooltip_ = *text;
    if (apply) ApplyTooltip(tooltip_);
    return tooltip_;
}

void UiControl::ApplyTooltip(const rt::Text& text) {
    if (host_) host_->SetTooltip(this, text);
}

void UiControl::BindEvent(int code, EventHandler handler) {
    for (auto& binding : eventTable_) {
        if (binding.first == code) {
            binding.second = std::move(handler);
            return;
        }
    }
    eventTable_.emplace_back(code, std::move(handler));
}

int UiControl::Opacity(int value, bool redraw) {
    opacity_ = value;
    SendEvent(EV_OPACITY_CHANGED, 0, value);
    if (redraw) Invalidate();
    return opacity_;
}

int UiControl::TransitionFrames(int frames, std::optional<int> interval) {
    transitionFrames_ = frames;
    if (interval) transitionInterval_ = *interval;
    return transitionFrames_;
}

int UiControl::TransitionInterval(int value) {
    transitionInterval_ = value;
    return transitionInterval_;
}

int UiControl::TransitionStyle(int value) {
    transitionStyle_ = value;
    return transitionStyle_;
}

LResult UiControl::SendEvent(int code, WParam wParam, LParam lParam) {
    if (!handle_) return -1;
    // A sent block lives for the call; the host releases only posted ones.
    EventBlock block{code, wParam, lParam, false};
    return plat::SendMessage(hwnd_, HM_DELIVER_EVENT, reinterpret_cast<WParam>(this),
                             reinterpret_cast<LParam>(&block));
}

void UiControl::PostEvent(int code, WParam wParam, LParam lParam) {
    if (!handle_) return;
    auto block = std::make_unique<EventBlock>(EventBlock{code, wParam, lParam, true});
    if (plat::PostMessage(hwnd_, HM_DELIVER_EVENT, reinterpret_cast<WParam>(this),
                          reinterpret_cast<LParam>(block.get()))) {
        block.release();  // the host owns it now
    }
}

plat::Hcursor UiControl::Cursor(int systemId) {
    cursor_ = plat::LoadCursor(systemId);
    return cursor_;
}

plat::Hcursor UiControl::Cursor(plat::Hcursor cursorHandle) {
    cursor_ = cursorHandle;
    return cursor_;
}

rt::Text UiControl::Tag(const rt::Text& text) {
    tag_ = text;
    return tag_;
}

int UiControl::Left(float value) {
    if (Differs(value, rect_.x)) Move(value);
    return static_cast<int>(rect_.x);
}

int UiControl::Top(float value) {
    if (Differs(value, rect_.y)) Move(std::nullopt, value);
    return static_cast<int>(rect_.y);
}

int UiControl::Width(float value) {
    if (Differs(value, rect_.width)) Move(std::nullopt, std::nullopt, value);
    return static_cast<int>(rect_.width);
}

int UiControl::Height(float value) {
    if (Differs(value, rect_.height)) Move(std::nullopt, std::nullopt, std::nullopt, value);
    return static_cast<int>(rect_.height);
}

void UiControl::SetZOrder(std::optional<int> position, bool redraw) {
    if (!handle_) return;
    UiControl* owner = parent_;
    Unlink();
    UiControl*& first = FirstOf(owner);
    UiControl*& last = LastOf(owner);
    if (!first) {
        first = last = this;
    } else if (position.value_or(0) == 2) {
        nextSibling_ = first;
        first->prevSibling_ = this;
        first = this;
    } else {
        prevSibling_ = last;
        last->nextSibling_ = this;
        last = this;
    }
    if (redraw) Invalidate();
}

void UiControl::Unlink() {
    if (!host_) return;
    UiControl*& first = FirstOf(parent_);
    UiControl*& last = LastOf(parent_);
    bool listed = false;
    for (UiControl* c = first; c; c = c->nextSibling_) {
        if (c == this) {
            listed = true;
            break;
        }
    }
    if (listed) {
        if (prevSibling_) prevSibling_->nextSibling_ = nextSibling_;
        if (nextSibling_) nextSibling_->prevSibling_ = prevSibling_;
        if (first == this) first = nextSibling_;
        if (last == this) last = prevSibling_;
    }
    prevSibling_ = nextSibling_ = nullptr;
}

void UiControl::OnTransitionTimer() {
    if (!handle_) return;
    ++transitionFrame_;
    if (host_) host_->QueueRedraw(rect_, RedrawMode::Now);
    if (transitionFrame_ >= transitionFrames_) {
        plat::KillTimer(hwnd_, TransitionTimerId(this));
        transitionSnapshot_.reset();
        transitionFrame_ = 0;
        SendEvent(EV_TRANSITION_FINISHED);
    }
}

namespace {

// keys: the MK_* state of the message; a press the host synthesised from a
// double click carries the mark instead, and the state of the native double
// click comes from the host.
MouseEvent DecodeMouse(int message, WParam wParam, LParam lParam, int doubleClickKeys) {
    MouseEvent event;
    event.x = plat::GET_X_LPARAM(lParam);
    event.y = plat::GET_Y_LPARAM(lParam);
    const bool marked = wParam == DBLCLK_MARK;
    event.keys =
        marked ? (doubleClickKeys | static_cast<int>(plat::MK_LBUTTON)) : static_cast<int>(wParam);
    switch (message) {
    case plat::WM_LBUTTONDOWN:
    case plat::WM_LBUTTONUP:
        event.button = MouseButton::Left;
        event.doubleClick = message == plat::WM_LBUTTONDOWN && marked;
        break;
    case plat::WM_RBUTTONDOWN:
    case plat::WM_RBUTTONUP: event.button = MouseButton::Right; break;
    default: break;
    }
    return event;
}

// Key messages carry no modifier state: it is the key state as of the
// message being handled.
KeyEvent DecodeKey(WParam wParam) {
    return KeyEvent{static_cast<int>(wParam), plat::GetKeyState(plat::VK_CONTROL) < 0,
                    plat::GetKeyState(plat::VK_SHIFT) < 0};
}

}  // namespace

LResult UiControl::HandleMessage(int message, WParam wParam, LParam lParam) {
    const auto mouse = [&] {
        return DecodeMouse(message, wParam, lParam, host_ ? host_->DoubleClickKeys() : 0);
    };
    switch (message) {
    case plat::WM_CREATE: return OnCreate();
    case plat::WM_DESTROY: return OnDestroy();
    case plat::WM_PAINT: return OnPaint();
    case plat::WM_LBUTTONDOWN:
    case plat::WM_RBUTTONDOWN: return OnMouseDown(mouse());
    case plat::WM_LBUTTONUP:
    case plat::WM_RBUTTONUP: return OnMouseUp(mouse());
    case plat::WM_MOUSEMOVE: return OnMouseMove(mouse());
    case EV_MOUSE_ENTERED: return OnMouseEnter();
    case EV_MOUSE_LEFT: return OnMouseLeave();
    case plat::WM_MOUSEWHEEL:
        return OnWheel(plat::GET_WHEEL_DELTA_WPARAM(wParam), plat::GET_KEYSTATE_WPARAM(wParam));
    case plat::WM_KEYDOWN: return OnKeyDown(DecodeKey(wParam));
    case plat::WM_KEYUP: return OnKeyUp(DecodeKey(wParam));
    case plat::WM_CHAR: return OnChar(static_cast<int>(wParam));
    case plat::WM_IME_COMPOSITION: return OnComposition(wParam, lParam);
    case plat::WM_COMMAND: return OnCommand(wParam, lParam);
    case EV_FOCUS_GAINED:
    case EV_FOCUS_LOST:
        return OnFocus(message == EV_FOCUS_GAINED, reinterpret_cast<UiControl*>(lParam));
    case EV_CLICK: return OnClick();
    case EV_RESIZED: return OnResize(static_cast<int>(wParam), static_cast<int>(lParam));
    case HM_CONTROL_MOVED: return OnMoved();
    case EV_SHOWN:
    case EV_HIDDEN: return OnShown(message == EV_SHOWN);
    case plat::WM_TIMER: return OnTimer(static_cast<TimerId>(wParam));
    case EV_TRANSITION_FINISHED: return OnTransitionFinished();
    case EV_RECACHE: return OnRecache();
    case EV_PRESS_QUERY: return OnPressQuery();
    default: return OnOtherMessage(message, wParam, lParam);
    }
}

LResult UiControl::Dispatch(int code, WParam wParam, LParam lParam) {
    UiControl* self = this;
    const LResult result = HandleMessage(code, wParam, lParam);
    if (!handle_) return result;  // the handler destroyed the control
    for (const auto& [bound, handler] : eventTable_) {
        const bool matches =
            bound == static_cast<int>(plat::WM_LBUTTONDBLCLK)
                ? (code == static_cast<int>(plat::WM_LBUTTONDOWN) && wParam == DBLCLK_MARK)
                : bound == code;
        if (!matches) continue;
        if (handler) {
            EventHandler call = handler;  // the handler may rebind its own code
            call(parent_, self, code, wParam, lParam);
        }
        break;
    }
    return result;
}

PaintContext UiControl::BeginControlPaint(bool snapshot) {
    PaintContext context;
    context.window = hwnd_;
    context.graphics = graphics_.get();
    context.area = RectF{0, 0, rect_.width, rect_.height};
    context.host = host_;
    context.hostFirstControl = host_ ? host_->FirstControl() : nullptr;
    context.surface = surface_.get();
    if (snapshot && graphics_) {
        if (host_ && host_->canvas_.bitmap) {
            const gfx::RectI area{static_cast<int>(std::lround(rect_.x)),
                                  static_cast<int>(std::lround(rect_.y)),
                                  static_cast<int>(rect_.width), static_cast<int>(rect_.height)};
            transitionSnapshot_ =
                std::make_unique<gfx::Bitmap>(host_->canvas_.bitmap->CloneArea(area));
        }
        graphics_->ResetClip();
        graphics_->Clear(0);
    }
    OnBeginPaint(context);
    return context;
}

void UiControl::EndControlPaint(PaintContext& context) {
    OnEndPaint(context);
    // A host that is not shown yet takes the invalidation too: ShowAnimated
    // pumps it before the entry animation, so controls built between Attach
    // and ShowAnimated are on the first picture.
    if (!handle_ || !host_ || !redrawEnabled_ || !visible_) return;
    if (transitionInterval_ == 0 || transitionFrames_ == 0) {
        plat::PostMessage(hwnd_, HM_INVALIDATE, static_cast<WParam>(RedrawMode::Append),
                          PackRect(rect_));
    } else {
        transitionFrame_ = 0;
        SendEvent(EV_TRANSITION_STARTED);
        plat::SetTimer(hwnd_, TransitionTimerId(this),
                       static_cast<plat::UINT>(transitionInterval_));
    }
}

}  // namespace ui
