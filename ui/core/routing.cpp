// The host window procedure: which messages the host answers itself, which it
// turns into library events, and how hover, capture and focus are kept.
#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "ui/controls/control.h"
#include "ui/controls/label.h"
#include "ui/controls/picture.h"
#include "ui/core/draw_geometry.h"
#include "ui/core/window.h"

namespace ui {

namespace {
int KindOf(const UiControl* control) { return control ? control->Kind() : 0; }

// The controls Tab visits, in creation order: a control that takes input
// without taking the focus itself (a group box) is followed by its children;
// the children of a focusable control (a list's scroll bars) are its own.
void AddToTabOrder(UiControl* first, std::vector<UiControl*>& order) {
    for (UiControl* c = first; c; c = c->NextSibling()) {
        order.push_back(c);
        if (!c->Focusable() && c->TakesInput()) AddToTabOrder(c->FirstChild(), order);
    }
}

std::vector<UiControl*> TabOrder(UiControl* first) {
    std::vector<UiControl*> order;
    AddToTabOrder(first, order);
    return order;
}

void Call(const HostCallback& callback, NativeWindow window, UiControl* control, WParam wParam,
          LParam lParam) {
    if (callback) callback(window, control, wParam, lParam, KindOf(control));
}
}  // namespace

LResult UiWindow::WindowProc(unsigned message, WParam wParam, LParam lParam) {
    const NativeWindow hwnd = window_;
    if (callbacks_.rawMessage) {
        const LResult raw = callbacks_.rawMessage(hwnd, message, wParam, lParam);
        if (raw != -1) return raw;
    }
    // Kept aside: WM_DESTROY detaches, which puts the saved procedure back.
    const plat::WndProc saved = savedProc_;
    // Redraw runs happen on this thread only, so a run is never in progress
    // here except when this call is nested inside one; waiting for it to end
    // would then never return, and default processing goes ahead.
    const auto fallThrough = [&]() {
        return plat::CallWindowProc(saved, hwnd, message, wParam, lParam);
    };

    switch (message) {
    case plat::WM_DESTROY: Detach(); break;
    case plat::WM_SIZE: OnSize(wParam, lParam); break;
    case plat::WM_ACTIVATE:
        if (wParam == plat::WA_INACTIVE) {
            Deliver(hoverControl_, EV_MOUSE_LEFT, 0, 0);
            if (captured_) {
                Deliver(pressedControl_, EV_FOCUS_LOST, 0, 0);
                plat::ReleaseCapture();
                captured_ = false;
            }
        } else if (pressedControl_) {
            Deliver(pressedControl_, EV_FOCUS_GAINED, 0, 0);
        }
        break;
    case plat::WM_SETTEXT: {
        const LResult result = fallThrough();
        if ((captionFlags_ & CAPTION_TITLE) && result == 1 && titleLabel_ && lParam) {
            titleLabel_->LabelText(rt::Text(reinterpret_cast<const char*>(lParam)));
        }
        return result;
    }
    case plat::WM_SETICON: {
        const LResult previous = fallThrough();
        if (iconPicture_ && wParam == plat::ICON_SMALL) {
            const auto* icon = reinterpret_cast<plat::Hicon>(lParam);
            iconPicture_->SetIconImage(icon ? *icon : plat::IconImage{});
        }
        return previous;
    }
    case plat::WM_PAINT: OnPaint(); return 0;
    case plat::WM_CLOSE:
        PlayCloseAnimation();
        plat::ShowWindow(hwnd, plat::SW_HIDE);
        break;
    case plat::WM_SETCURSOR:
        if (reinterpret_cast<NativeWindow>(wParam) == hwnd) {
            plat::SetCursor(hoverControl_ && hoverControl_->Cursor() ? hoverControl_->Cursor()
                                                                     : defaultCursor_);
            return 1;
        }
        break;
    case plat::WM_NCACTIVATE: return 1;
    case plat::WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<plat::MINMAXINFO*>(lParam);
        if (!info) return 0;
        const plat::RECT work = plat::GetWorkArea();
        info->ptMaxSize = plat::POINT{work.width() + 14, work.height() + 14};
        info->ptMaxPosition = plat::POINT{work.left - 7, work.top - 7};
        info->ptMinTrackSize = MinimumTrackSize();
        return 0;
    }
    case plat::WM_STYLECHANGED: {
        const LParam style = plat::GetWindowLong(hwnd, plat::GWL_STYLE);
        if (style & (plat::WS_DLGFRAME | plat::WS_BORDER)) {
            plat::SetWindowLong(hwnd, plat::GWL_STYLE,
                                style & ~static_cast<LParam>(plat::WS_DLGFRAME | plat::WS_BORDER));
        }
        break;
    }
    case plat::WM_NCCALCSIZE:
        if (wParam) return 1;
        break;
    case plat::WM_TIMER: OnTimer(wParam, lParam); return 0;
    case plat::WM_KEYDOWN: OnKeyDown(wParam, lParam); break;
    case plat::WM_SYSCHAR:
        if (OnSysChar(wParam, lParam)) return 0;
        break;
    case plat::WM_KEYUP:
    case plat::WM_CHAR:
    case plat::WM_SYSKEYDOWN:
    case plat::WM_SYSKEYUP:
    case plat::WM_IME_COMPOSITION:
    case plat::WM_COMMAND:
    case plat::WM_MOUSEWHEEL:
        Deliver(focusControl_, static_cast<int>(message), wParam, lParam);
        break;
    case plat::WM_MOUSEMOVE:
        if (!leaveTracking_) {
            plat::TRACKMOUSEEVENT tme;
            tme.dwFlags = plat::TME_LEAVE;
            tme.hwndTrack = hwnd;
            tme.dwHoverTime = 0;
            leaveTracking_ = plat::TrackMouseEvent(&tme);
        }
        OnMouse(message, wParam, lParam);
        break;
    case plat::WM_LBUTTONDOWN:
    case plat::WM_LBUTTONUP:
    case plat::WM_RBUTTONDOWN:
    case plat::WM_RBUTTONUP: OnMouse(message, wParam, lParam); break;
    case plat::WM_LBUTTONDBLCLK:
        // The marked press has no room for the key state; controls ask for it.
        doubleClickKeys_ = static_cast<int>(wParam & (plat::MK_SHIFT | plat::MK_CONTROL));
        plat::SendMessage(hwnd, plat::WM_LBUTTONDOWN, DBLCLK_MARK, lParam);
        return 0;
    case plat::WM_MOUSELEAVE:
        leaveTracking_ = false;
        plat::ReleaseCapture();
        if (hoverControl_) {
            UiControl* left = hoverControl_;
            Deliver(left, EV_MOUSE_LEFT, 0, 0);
            Call(callbacks_.mouseLeave, hwnd, left, 0, 0);
            hoverControl_ = nullptr;
        }
        break;
    case HM_SET_FOCUS:
    case HM_SET_MNEMONIC:
    case HM_PRESENT:
    case HM_INVALIDATE:
    case HM_CONTROL_MOVED:
    case HM_DELIVER_EVENT: {
        bool handled = false;
        const LResult result = OnHostMessage(message, wParam, lParam, handled);
        if (handled) return result;
        break;
    }
    default: break;
    }
    return fallThrough();
}

plat::POINT UiWindow::MinimumTrackSize() const {
    // The frame bit alone is no caption.
    const bool caption = (captionFlags_ & ~(CAPTION_FRAME | CAPTION_FROM_STYLE)) != 0;
    if (!caption) return plat::POINT{1 + 20, 20};
    int width = 1 + 35 + 28 * static_cast<int>(captionButtons_.size());
    if (captionFlags_ & CAPTION_CLOSE) width += 11;
    return plat::POINT{width, 38};
}

LResult UiWindow::OnHostMessage(unsigned message, WParam wParam, LParam lParam, bool& handled) {
    switch (message) {
    case HM_SET_FOCUS: {
        auto* control = reinterpret_cast<UiControl*>(lParam);
        if (control && Owns(control)) SetFocusControl(control, false);
        return 0;
    }
    case HM_SET_MNEMONIC:
        handled = true;
        return SetMnemonic(reinterpret_cast<UiControl*>(wParam), static_cast<int>(lParam));
    case HM_PRESENT: PresentWhole(); return 0;
    case HM_INVALIDATE:
        QueueRedraw(UnpackRect(lParam), RedrawModeOf(wParam));
        if (RedrawModeOf(wParam) == RedrawMode::Now) handled = true;
        return 0;
    case HM_CONTROL_MOVED: {
        handled = true;
        auto* control = reinterpret_cast<UiControl*>(wParam);
        if (!Owns(control)) return 1;
        Deliver(control, HM_CONTROL_MOVED, wParam, lParam);
        if (lParam == 1) {
            if (suspended_) return 0;
            RedrawRect(control->PreviousRect(), true);
            RedrawRect(control->Rect(), true);
        }
        return 1;
    }
    case HM_DELIVER_EVENT: {
        handled = true;
        auto* block = reinterpret_cast<EventBlock*>(lParam);
        if (!block) return 0;
        // Posted blocks belong to the host from here on; sent ones to the sender.
        std::unique_ptr<EventBlock> owned(block->posted ? block : nullptr);
        const EventBlock event = *block;
        return Deliver(reinterpret_cast<UiControl*>(wParam), event.code, event.wParam,
                       event.lParam);
    }
    default: return 0;
    }
}

void UiWindow::OnTimer(WParam wParam, LParam lParam) {
    if (wParam == reinterpret_cast<TimerId>(this)) {
        OnFadeTimer();
        return;
    }
    for (UiControl* live : live_) {
        if (TransitionTimerId(live) == wParam) {
            live->OnTransitionTimer();  // may change the list: leave at once
            return;
        }
    }
    Deliver(reinterpret_cast<UiControl*>(wParam), plat::WM_TIMER, wParam, lParam);
}

UiControl* UiWindow::HitTest(UiControl* first, float x, float y) {
    for (UiControl* control = first; control; control = control->PrevSibling()) {
        if (!control->TakesInput()) continue;
        const RectF& r = control->Rect();
        if (!(x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height)) continue;
        if (UiControl* child = HitTest(control->LastChild(), x, y)) return child;
        return control;
    }
    return nullptr;
}

void UiWindow::HoverChange(UiControl* target) {
    UiControl* old = hoverControl_;
    Deliver(target, EV_MOUSE_ENTERED, 0, reinterpret_cast<LParam>(old));
    Call(callbacks_.mouseEnter, window_, target, 0, reinterpret_cast<LParam>(old));
    SetTooltip(target, std::nullopt);
}

void UiWindow::ToggleMaximise() {
    plat::PostMessage(window_, plat::WM_SYSCOMMAND,
                      plat::IsZoomed(window_) ? plat::SC_RESTORE : plat::SC_MAXIMIZE, 0);
    plat::SendMessage(window_, plat::WM_NCLBUTTONDOWN, plat::HTCAPTION, 0);
}

void UiWindow::OnMouse(unsigned message, WParam wParam, LParam lParam) {
    if (suspended_) return;
    if (OnResizeBorder(message, lParam)) return;
    const float x = static_cast<float>(plat::GET_X_LPARAM(lParam));
    const float y = static_cast<float>(plat::GET_Y_LPARAM(lParam));
    const NativeWindow hwnd = window_;

    if (captured_) {
        UiControl* pressed = pressedControl_;
        Deliver(pressed, static_cast<int>(message), reinterpret_cast<WParam>(pressed), lParam);
        if (message != plat::WM_LBUTTONUP) return;
        Call(callbacks_.release, hwnd, nullptr, wParam, lParam);
        plat::ReleaseCapture();
        UiControl* target = HitTest(lastControl_, x, y);
        if (target && target == pressedControl_) {
            Deliver(target, EV_CLICK, reinterpret_cast<WParam>(target), lParam);
            Call(callbacks_.click, hwnd, target, wParam, lParam);
        } else if (pressedControl_ && pressedControl_->Visible()) {
            Deliver(pressedControl_, EV_MOUSE_LEFT, 0, reinterpret_cast<LParam>(target));
            Call(callbacks_.mouseLeave, hwnd, pressedControl_, wParam, lParam);
            hoverControl_ = pressedControl_;
            HoverChange(target);
        }
        captured_ = false;
        pressedControl_ = nullptr;
        hoverControl_ = target;
        return;
    }

    UiControl* target = HitTest(lastControl_, x, y);
    if (target != hoverControl_ && hoverControl_ && hoverControl_->Visible()) {
        Deliver(hoverControl_, EV_MOUSE_LEFT, 0, reinterpret_cast<LParam>(target));
        Call(callbacks_.mouseLeave, hwnd, hoverControl_, wParam, lParam);
    }
    switch (message) {
    case plat::WM_LBUTTONDOWN: {
        const bool doubled = wParam == DBLCLK_MARK;
        const NativeWindow focused = plat::GetFocus();
        if (focused != hwnd) {
            if (focused)
                plat::SendMessage(focused, plat::WM_KILLFOCUS, reinterpret_cast<WParam>(hwnd), 0);
            plat::SetFocus(hwnd);
        }
        if (target) {
            const bool takes =
                Deliver(target, EV_PRESS_QUERY, wParam, lParam) != -1 || target->Focusable();
            if (takes) {
                Call(callbacks_.press, hwnd, target, wParam, lParam);
                captured_ = true;
                pressedControl_ = target;
                if (target->Focusable() && target != focusControl_) {
                    UiControl* old = focusControl_;
                    focusControl_ = target;
                    keyboardFocus_ = nullptr;
                    Deliver(old, EV_FOCUS_LOST, 0, reinterpret_cast<LParam>(target));
                    if (old) Call(callbacks_.focusLost, hwnd, old, wParam, lParam);
                    Deliver(target, EV_FOCUS_GAINED, 0, reinterpret_cast<LParam>(old));
                    Call(callbacks_.focusGained, hwnd, target, wParam, lParam);
                }
                if (doubled) Call(callbacks_.doubleClick, hwnd, target, wParam, lParam);
                plat::SetCapture(hwnd);
            } else if (doubled && (captionFlags_ & CAPTION_TITLE) &&
                       (captionFlags_ & CAPTION_MAXIMIZE) && titleLabel_ &&
                       target == titleLabel_.get()) {
                ToggleMaximise();
            }
            if (!captured_ && draggable_) {
                plat::SendMessage(hwnd, plat::WM_NCLBUTTONDOWN, plat::HTCAPTION, 0);
            }
        } else if (doubled) {
            if (y < 30 && (captionFlags_ & CAPTION_MAXIMIZE)) ToggleMaximise();
        } else if (draggable_) {
            plat::SendMessage(hwnd, plat::WM_NCLBUTTONDOWN, plat::HTCAPTION, 0);
        }
        break;
    }
    case plat::WM_RBUTTONDOWN: Call(callbacks_.rightDown, hwnd, target, wParam, lParam); break;
    case plat::WM_RBUTTONUP: Call(callbacks_.rightUp, hwnd, target, wParam, lParam); break;
    case plat::WM_MOUSEMOVE:
        if (target != hoverControl_) HoverChange(target);
        break;
    default: break;
    }
    if (target) Deliver(target, static_cast<int>(message), wParam, lParam);
    hoverControl_ = target;
}

bool UiWindow::OnResizeBorder(unsigned message, LParam lParam) {
    if (!resizable_ || captured_ ||
        (message != plat::WM_MOUSEMOVE && message != plat::WM_LBUTTONDOWN) ||
        plat::IsZoomed(window_)) {
        return false;
    }
    const int x = plat::GET_X_LPARAM(lParam);
    const int y = plat::GET_Y_LPARAM(lParam);
    const plat::ResizeZone zone = ResizeZoneAt(x, y, size_.width, size_.height);
    if (zone == plat::ResizeZone::Move) return false;
    plat::SetCursor(plat::LoadCursor(plat::CursorOfZone(zone)));
    if (hoverControl_) {
        Deliver(hoverControl_, EV_MOUSE_LEFT, 0, 0);
        hoverControl_ = nullptr;
    }
    if (message == plat::WM_LBUTTONDOWN) {
        plat::SendMessage(window_, plat::WM_SYSCOMMAND, plat::SysCommandOf(zone), lParam);
    }
    return true;
}

plat::ResizeZone ResizeZoneAt(int x, int y, int width, int height) {
    using enum plat::ResizeZone;
    if (y < 8 && x < 10) return TopLeft;
    if (y < 8 && width - x < 10) return TopRight;
    if (y < 8) return Top;
    if (height - y < 10 && x < 10) return BottomLeft;
    if (height - y < 10 && width - x < 10) return BottomRight;
    if (height - y < 10) return Bottom;
    if (x < 8) return Left;
    if (width - x < 10) return Right;
    return Move;
}

void UiWindow::OnKeyDown(WParam wParam, LParam lParam) {
    if (focusControl_) {
        if (Deliver(focusControl_, plat::WM_KEYDOWN, wParam, lParam) != -1) return;
    }
    const int key = static_cast<int>(wParam);
    if (key == plat::VK_TAB) {
        const std::vector<UiControl*> order = TabOrder(firstControl_);
        if (order.empty()) return;
        // The pass starts after the focused control (or the ancestor of it
        // that is in the order), else after the first control.
        UiControl* start = focusControl_ ? focusControl_ : firstControl_;
        auto at = std::find(order.begin(), order.end(), start);
        while (at == order.end() && start->GetParentControl()) {
            start = start->GetParentControl();
            at = std::find(order.begin(), order.end(), start);
        }
        const std::size_t from =
            at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin());
        // At most one full pass, the start itself last.
        for (std::size_t step = 1; step <= order.size(); ++step) {
            UiControl* c = order[(from + step) % order.size()];
            if (!c->TakesFocus()) continue;
            if (c != focusControl_) SetFocusControl(c, true);
            break;
        }
    } else if (key == plat::VK_RETURN || key == plat::VK_SPACE) {
        if (focusControl_ && focusControl_->TakesInput()) {
            UiControl* target = focusControl_;
            Deliver(target, EV_CLICK, 0, 0);
            Call(callbacks_.click, window_, target, 0, 0);
        }
    }
}

bool UiWindow::OnSysChar(WParam wParam, LParam lParam) {
    Deliver(focusControl_, plat::WM_SYSCHAR, wParam, lParam);
    const int ch = std::toupper(static_cast<int>(wParam & 0xFF));
    for (const Mnemonic& entry : mnemonics_) {
        if (std::toupper(entry.key & 0xFF) != ch || !entry.control || !entry.control->TakesInput())
            continue;
        UiControl* target = entry.control;
        Deliver(target, EV_CLICK, wParam, lParam);
        Call(callbacks_.click, window_, target, wParam, lParam);
        return true;
    }
    return false;
}

int UiWindow::SetMnemonic(UiControl* control, int key) {
    for (auto it = mnemonics_.begin(); it != mnemonics_.end(); ++it) {
        if (it->control != control) continue;
        if (key == 0) {
            mnemonics_.erase(it);
        } else {
            it->key = key;
        }
        return 1;
    }
    if (key != 0 && control) mnemonics_.push_back(Mnemonic{control, key});
    return 1;
}

void UiWindow::SetFocusControl(UiControl* control, bool byKeyboard) {
    if (!control || !Owns(control) || !control->TakesFocus() || control == focusControl_) return;
    UiControl* old = focusControl_;
    focusControl_ = control;
    keyboardFocus_ = nullptr;
    if (old) old->SendEvent(EV_FOCUS_LOST, 0, reinterpret_cast<LParam>(control));
    if (byKeyboard) keyboardFocus_ = control;
    control->SendEvent(EV_FOCUS_GAINED, 0, reinterpret_cast<LParam>(old));
}

}  // namespace ui
