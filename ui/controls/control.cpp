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

UiControl*& FirstOf(UiControl* owner, UiWindow* host) {
    return owner ? owner->firstChild : host->firstControl;
}
UiControl*& LastOf(UiControl* owner, UiWindow* host) {
    return owner ? owner->lastChild : host->lastControl;
}
}  // namespace

TimerId TransitionTimerId(const UiControl* control) {
    return reinterpret_cast<TimerId>(control) + 1;
}

UiControl::UiControl() = default;

UiControl::~UiControl() { Destroy(); }

UiControl* UiControl::Create(ControlParent where, RectF r, int kindCode, bool isVisible,
                             std::optional<int> takesFocus, std::optional<int> cursorId,
                             int interval, int frames, int style) {
    if (handle) return handle;
    UiControl* parentControl = where.control;
    NativeWindow window = parentControl ? parentControl->hwnd : where.window;
    UiWindow* owner = FindHost(window);
    if (!owner) return nullptr;
    // A parent control of another host cannot adopt this one.
    if (parentControl && (!parentControl->handle || parentControl->host != owner)) return nullptr;
    hwnd = window;
    host = owner;
    handle = this;
    owner->RegisterControl(this);
    rect = r;
    tooltip.clear();
    opacity = 255;
    redrawEnabled = true;
    kind = kindCode;
    visible = isVisible;
    focusable = takesFocus.value_or(1) != 0;
    if (cursorId) cursor = plat::LoadCursor(*cursorId);
    if (parentControl) {
        SetParentControl(parentControl);
    } else {
        AppendTo(nullptr);
    }
    if (kind == KIND_SURFACELESS) {
        CreateSurface(1, 1);
    } else {
        CreateSurface(static_cast<int>(rect.width), static_cast<int>(rect.height));
    }
    transitionInterval = interval;
    transitionFrames = frames;
    transitionStyle = style;
    SendEvent(plat::WM_CREATE);
    SendEvent(plat::WM_PAINT);
    return handle;
}

void UiControl::CreateSurface(int width, int height) {
    graphics.reset();
    surface = std::make_unique<gfx::Bitmap>(std::max(width, 1), std::max(height, 1));
    graphics = std::make_unique<gfx::Graphics>(*surface);
    graphics->SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
    graphics->SetTextRenderingHint(gfx::TextRenderingHint::AntiAliasGridFit);
}

void UiControl::AppendTo(UiControl* owner) {
    UiControl*& first = FirstOf(owner, host);
    UiControl*& last = LastOf(owner, host);
    prevSibling = last;
    nextSibling = nullptr;
    if (last) last->nextSibling = this;
    last = this;
    if (!first) first = this;
    parent = owner;
}

void UiControl::SetParentControl(ControlParent newParent) {
    if (!handle) return;
    UiControl* target = newParent.control;
    if (!target && newParent.window && newParent.window != hwnd) return;
    if (target && (target == this || target->host != host)) return;
    if (target == parent && (prevSibling || nextSibling || FirstOf(parent, host) == this)) return;
    Unlink();
    AppendTo(target);
    Invalidate();
}

void UiControl::Destroy() {
    if (!handle) return;
    visible = false;
    Invalidate();
    while (firstChild) {
        UiControl* child = firstChild;
        child->Destroy();
        if (firstChild == child) child->Unlink();  // never loop on a child that stayed
    }
    HandleMessage(plat::WM_DESTROY, 0, 0);
    plat::KillTimer(hwnd, TransitionTimerId(this));
    if (host) {
        host->ForgetControl(this);
        host->UnregisterControl(this);
    }
    Unlink();
    tooltip.clear();
    tag.clear();
    graphics.reset();
    surface.reset();
    transitionSnapshot.reset();
    eventTable.clear();
    hwnd = nullptr;
    handle = nullptr;
    parent = nullptr;
    visible = disabled = focusable = redrawEnabled = false;
    cursor = nullptr;
    rect = previousRect = RectF{};
    kind = 0;
    firstChild = lastChild = prevSibling = nextSibling = nullptr;
    transitionFrame = transitionInterval = transitionFrames = transitionStyle = 0;
    host = nullptr;
    opacity = 0;
}

RectF UiControl::Rect(std::optional<RectF> newRect) {
    if (newRect) Move(newRect->x, newRect->y, newRect->width, newRect->height);
    return rect;
}

int UiControl::Visible(std::optional<int> value) {
    if (value && (*value != 0) != visible) {
        visible = *value != 0;
        SendEvent(visible ? EV_SHOWN : EV_HIDDEN);
        Invalidate();
    }
    return visible ? 1 : 0;
}

int UiControl::Disabled(std::optional<int> value) {
    if (value && (*value != 0) != disabled) {
        disabled = *value != 0;
        if (host && host->focusControl == this) {
            host->focusControl = nullptr;
            PostEvent(EV_FOCUS_LOST);
        }
        PostEvent(EV_MOUSE_LEFT);
        Invalidate();
    }
    return disabled ? 1 : 0;
}

int UiControl::Focusable(std::optional<int> value) {
    if (value) focusable = *value != 0;
    return focusable ? 1 : 0;
}

bool UiControl::HasFocus() {
    const LResult answer = SendEvent(EV_HAS_FOCUS);
    if (answer == 0 || answer == 1) return answer == 1;
    return host && host->focusControl == this;
}

void UiControl::Redraw() { SendEvent(plat::WM_PAINT); }

void UiControl::Invalidate() {
    if (!handle) return;
    plat::PostMessage(hwnd, HM_INVALIDATE, static_cast<WParam>(RedrawMode::Now), PackRect(rect));
}

void UiControl::ShiftDescendants(float dx, float dy) {
    for (UiControl* child = firstChild; child; child = child->nextSibling) {
        child->rect.x += dx;
        child->rect.y += dy;
        child->ShiftDescendants(dx, dy);
    }
}

void UiControl::Move(std::optional<float> x, std::optional<float> y, std::optional<float> width,
                     std::optional<float> height, bool redraw) {
    if (!handle) return;
    const RectF next{x.value_or(rect.x), y.value_or(rect.y), width.value_or(rect.width),
                     height.value_or(rect.height)};
    const bool moved = Differs(next.x, rect.x) || Differs(next.y, rect.y);
    const bool resized = Differs(next.width, rect.width) || Differs(next.height, rect.height);
    if (!moved && !resized) return;
    previousRect = rect;
    rect = next;
    ShiftDescendants(next.x - previousRect.x, next.y - previousRect.y);
    if (resized && kind != KIND_SURFACELESS) {
        CreateSurface(static_cast<int>(rect.width), static_cast<int>(rect.height));
        SendEvent(EV_RESIZED, static_cast<WParam>(static_cast<int>(rect.width)),
                  static_cast<LParam>(rect.height));
        SendEvent(plat::WM_PAINT);
    }
    const LParam repaint = (redraw && visible) ? 1 : 0;
    const WParam self = reinterpret_cast<WParam>(this);
    // The host answers 0 while it is suspended; only another thread can wait
    // that out, so on the window's own thread one notice is all there is.
    const bool mayWait = host && !host->OnOwnerThread();
    while (plat::SendMessage(hwnd, HM_CONTROL_MOVED, self, repaint) != 1 && mayWait &&
           plat::IsWindow(hwnd)) {
        plat::Sleep(1);
    }
}

rt::Text UiControl::Tooltip(std::optional<rt::Text> text, bool apply) {
    if (text) tooltip = *text;
    if (apply) ApplyTooltip(tooltip);
    return tooltip;
}

void UiControl::ApplyTooltip(const rt::Text& text) {
    if (host) host->SetTooltip(this, text);
}

void UiControl::BindEvent(int code, EventHandler handler) {
    for (auto& binding : eventTable) {
        if (binding.first == code) {
            binding.second = std::move(handler);
            return;
        }
    }
    eventTable.emplace_back(code, std::move(handler));
}

int UiControl::Opacity(std::optional<int> value, std::optional<bool> redraw) {
    if (value) {
        opacity = *value;
        SendEvent(EV_OPACITY_CHANGED, 0, *value);
        if (redraw.value_or(true)) Invalidate();
    }
    return opacity;
}

int UiControl::TransitionFrames(std::optional<int> frames, std::optional<int> interval) {
    if (frames) transitionFrames = *frames;
    if (interval) transitionInterval = *interval;
    return transitionFrames;
}

int UiControl::TransitionInterval(std::optional<int> value) {
    if (value) transitionInterval = *value;
    return transitionInterval;
}

int UiControl::TransitionStyle(std::optional<int> value) {
    if (value) transitionStyle = *value;
    return transitionStyle;
}

LResult UiControl::SendEvent(int code, WParam wParam, LParam lParam) {
    if (!handle) return -1;
    // A sent block lives for the call; the host releases only posted ones.
    EventBlock block{code, wParam, lParam, false};
    return plat::SendMessage(hwnd, HM_DELIVER_EVENT, reinterpret_cast<WParam>(this),
                             reinterpret_cast<LParam>(&block));
}

void UiControl::PostEvent(int code, WParam wParam, LParam lParam) {
    if (!handle) return;
    auto block = std::make_unique<EventBlock>(EventBlock{code, wParam, lParam, true});
    if (plat::PostMessage(hwnd, HM_DELIVER_EVENT, reinterpret_cast<WParam>(this),
                          reinterpret_cast<LParam>(block.get()))) {
        block.release();  // the host owns it now
    }
}

plat::Hcursor UiControl::Cursor(std::optional<int> systemId) {
    if (systemId) cursor = plat::LoadCursor(*systemId);
    return cursor;
}

plat::Hcursor UiControl::Cursor(plat::Hcursor cursorHandle) {
    cursor = cursorHandle;
    return cursor;
}

rt::Text UiControl::Tag(std::optional<rt::Text> text) {
    if (text) tag = *text;
    return tag;
}

int UiControl::Left(std::optional<float> value) {
    if (value && Differs(*value, rect.x)) Move(*value);
    return static_cast<int>(rect.x);
}

int UiControl::Top(std::optional<float> value) {
    if (value && Differs(*value, rect.y)) Move(std::nullopt, *value);
    return static_cast<int>(rect.y);
}

int UiControl::Width(std::optional<float> value) {
    if (value && Differs(*value, rect.width)) Move(std::nullopt, std::nullopt, *value);
    return static_cast<int>(rect.width);
}

int UiControl::Height(std::optional<float> value) {
    if (value && Differs(*value, rect.height))
        Move(std::nullopt, std::nullopt, std::nullopt, *value);
    return static_cast<int>(rect.height);
}

void UiControl::SetZOrder(std::optional<int> position, std::optional<bool> redraw) {
    if (!handle) return;
    UiControl* owner = parent;
    Unlink();
    UiControl*& first = FirstOf(owner, host);
    UiControl*& last = LastOf(owner, host);
    if (!first) {
        first = last = this;
    } else if (position.value_or(0) == 2) {
        nextSibling = first;
        first->prevSibling = this;
        first = this;
    } else {
        prevSibling = last;
        last->nextSibling = this;
        last = this;
    }
    if (redraw.value_or(true)) Invalidate();
}

void UiControl::Unlink() {
    if (!host) return;
    UiControl*& first = FirstOf(parent, host);
    UiControl*& last = LastOf(parent, host);
    bool listed = false;
    for (UiControl* c = first; c; c = c->nextSibling) {
        if (c == this) {
            listed = true;
            break;
        }
    }
    if (listed) {
        if (prevSibling) prevSibling->nextSibling = nextSibling;
        if (nextSibling) nextSibling->prevSibling = prevSibling;
        if (first == this) first = nextSibling;
        if (last == this) last = prevSibling;
    }
    prevSibling = nextSibling = nullptr;
}

void UiControl::OnTransitionTimer() {
    if (!handle) return;
    ++transitionFrame;
    if (host) host->QueueRedraw(rect, RedrawMode::Now);
    if (transitionFrame >= transitionFrames) {
        plat::KillTimer(hwnd, TransitionTimerId(this));
        transitionSnapshot.reset();
        transitionFrame = 0;
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
        return DecodeMouse(message, wParam, lParam, host ? host->DoubleClickKeys() : 0);
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
    if (!handle) return result;  // the handler destroyed the control
    for (const auto& [bound, handler] : eventTable) {
        const bool matches =
            bound == static_cast<int>(plat::WM_LBUTTONDBLCLK)
                ? (code == static_cast<int>(plat::WM_LBUTTONDOWN) && wParam == DBLCLK_MARK)
                : bound == code;
        if (!matches) continue;
        if (handler) {
            EventHandler call = handler;  // the handler may rebind its own code
            call(parent, self, code, wParam, lParam);
        }
        break;
    }
    return result;
}

PaintContext UiControl::BeginControlPaint(bool snapshot) {
    PaintContext context;
    context.window = hwnd;
    context.graphics = graphics.get();
    context.area = RectF{0, 0, rect.width, rect.height};
    context.host = host;
    context.hostFirstControl = host ? host->firstControl : nullptr;
    context.surface = surface.get();
    if (snapshot && graphics) {
        if (host && host->canvas.bitmap) {
            const gfx::RectI area{static_cast<int>(std::lround(rect.x)),
                                  static_cast<int>(std::lround(rect.y)),
                                  static_cast<int>(rect.width), static_cast<int>(rect.height)};
            transitionSnapshot =
                std::make_unique<gfx::Bitmap>(host->canvas.bitmap->CloneArea(area));
        }
        graphics->ResetClip();
        graphics->Clear(0);
    }
    OnBeginPaint(context);
    return context;
}

void UiControl::EndControlPaint(PaintContext& context) {
    OnEndPaint(context);
    // A host that is not shown yet takes the invalidation too: ShowAnimated
    // pumps it before the entry animation, so controls built between Attach
    // and ShowAnimated are on the first picture.
    if (!handle || !host || !redrawEnabled || !visible) return;
    if (transitionInterval == 0 || transitionFrames == 0) {
        plat::PostMessage(hwnd, HM_INVALIDATE, static_cast<WParam>(RedrawMode::Append),
                          PackRect(rect));
    } else {
        transitionFrame = 0;
        SendEvent(EV_TRANSITION_STARTED);
        plat::SetTimer(hwnd, TransitionTimerId(this), static_cast<plat::UINT>(transitionInterval));
    }
}

}  // namespace ui
