#include "ui/controls/menu_row.h"

#include <array>
#include <cmath>

#include "ui/controls/control_support.h"
#include "ui/controls/effect_text.h"
#include "ui/controls/string_format.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/window.h"

namespace ui {

namespace {
constexpr gfx::Argb kSeparatorColor = 0xFECCC3B7;
constexpr gfx::Argb kHighlightTextColor = 0xF0FFFFFF;

gfx::Argb ScaleAlpha(gfx::Argb colour, float factor) {
    const auto alpha = static_cast<gfx::Argb>(std::lround(gfx::AlphaOf(colour) * factor));
    return (colour & 0x00FFFFFF) | (alpha << 24);
}

TimerId RowTimerId(const UiMenuRow* row) { return reinterpret_cast<TimerId>(row); }
}  // namespace

UiMenuRow::~UiMenuRow() { Destroy(); }

UiControl* UiMenuRow::CreateMenuRow(NativeWindow menuWindow, float x, float y, float width,
                                    float height, const MenuItem& value, bool visibleIn) {
    if (handle_) return handle_;
    item_ = value;
    format_ = MakeCaptionFormat(1);
    font_ = MakeControlFont(std::nullopt, std::nullopt, std::nullopt);
    return Create(menuWindow, {x, y, width, height}, KIND_MENU_ROW, visibleIn, 1, std::nullopt, 0);
}

MenuItem UiMenuRow::Item(std::optional<MenuItem> value) {
    if (value) {
        item_ = *value;
        if (handle_) DrawRow(false);
    }
    return item_;
}

bool UiMenuRow::SubmenuOpenHere() const {
    return item_.type == MenuItemType::Submenu && plat::IsWindow(WindowProp(hwnd_, kPropSubmenu)) &&
           reinterpret_cast<const UiMenuRow*>(plat::GetProp(hwnd_, kPropActiveRow)) == this;
}

LResult UiMenuRow::OnCreate() {
    if (item_.type != MenuItemType::Separator) RegisterAccessKey(*this, item_.text);
    return 0;
}

LResult UiMenuRow::OnDestroy() {
    plat::KillTimer(hwnd_, RowTimerId(this));
    format_.reset();
    font_.reset();
    return 0;
}

LResult UiMenuRow::OnPaint() {
    DrawRow(false);
    return 0;
}

// A separator takes the highlight away too, and its timer closes a submenu
// that another row opened.
LResult UiMenuRow::OnMouseEnter() {
    if (UiControl* other = host_->FocusControl(); other && other != this) {
        host_->SetFocusReference(nullptr);
        other->SendEvent(EV_MOUSE_LEFT);
    }
    DrawRow(true);
    plat::SetTimer(hwnd_, RowTimerId(this), kSubmenuOpenDelayMs);
    return 0;
}

LResult UiMenuRow::OnMouseLeave() {
    DrawRow(SubmenuOpenHere() && host_->FocusControl() == this);
    return 0;
}

LResult UiMenuRow::OnTimer(TimerId id) {
    if (id != RowTimerId(this)) return kUnhandled;
    plat::KillTimer(hwnd_, id);
    UpdateSubmenu(false);
    return 0;
}

LResult UiMenuRow::OnClick() {
    switch (item_.type) {
    case MenuItemType::Submenu:
        host_->SetHoverReference(this);
        UpdateSubmenu(true);
        break;
    case MenuItemType::Command: RunCommand(); break;
    default: break;
    }
    return 0;
}

void UiMenuRow::RunCommand() {
    plat::ShowWindow(hwnd_, plat::SW_HIDE);
    const NativeWindow root = WindowProp(hwnd_, kPropMenuRoot);
    const NativeWindow owner = plat::GetOwner(root);
    const LParam target = plat::GetProp(root, kPropMenuEvent);
    // Taken before the cascade starts closing: this row goes with it.
    const bool sends = item_.sendsCommand;
    const WParam id = static_cast<WParam>(item_.id);
    const std::function<void()> handler = item_.handler;
    if (owner) plat::SetForegroundWindow(owner);
    plat::PostMessage(root, plat::WM_CLOSE, 0, 0);
    if (sends) {
        if (owner) plat::SendMessage(owner, plat::WM_COMMAND, id, target);
    } else if (handler) {
        handler();
    }
}

void UiMenuRow::UpdateSubmenu(bool now) {
    if (!handle_) return;
    const NativeWindow sub = WindowProp(hwnd_, kPropSubmenu);
    auto* active = reinterpret_cast<UiMenuRow*>(plat::GetProp(hwnd_, kPropActiveRow));
    if (plat::IsWindow(sub)) {
        plat::POINT cursor;
        plat::GetCursorPos(&cursor);
        if (plat::WindowFromPoint(cursor) == sub) {
            if (active && host_->Owns(active)) {
                host_->SetFocusReference(active);
                active->SendEvent(EV_MOUSE_LEFT);
            }
            return;
        }
        plat::POINT client = cursor;
        plat::ScreenToClient(hwnd_, &client);
        UiControl* under = UiWindow::HitTest(host_->LastControl(), static_cast<float>(client.x),
                                             static_cast<float>(client.y));
        if (under == active) return;
        plat::SetForegroundWindow(hwnd_);
        plat::RemoveProp(hwnd_, kPropSubmenu);
        plat::PostMessage(sub, plat::WM_CLOSE, 0, 0);
        if (now) {
            UpdateSubmenu(false);
        } else {
            plat::SetTimer(hwnd_, RowTimerId(this), kSubmenuCloseDelayMs);
        }
        return;
    }
    if (host_->HoverControl() != this || item_.type != MenuItemType::Submenu || !item_.submenu)
        return;
    host_->SetFocusReference(this);
    DrawRow(true);
    plat::SetProp(hwnd_, kPropActiveRow, reinterpret_cast<std::intptr_t>(this));
    item_.submenu->OpenSubmenu(hwnd_);
}

void DrawMenuIcon(gfx::Graphics& g, const gfx::Bitmap& icon) {
    if (!icon.IsValid()) return;
    const gfx::RectF square{2, 1, 20, 20};
    g.SetClip(square);
    g.DrawImage(icon, square);
    g.ResetClip();
}

void UiMenuRow::DrawRow(bool highlighted) {
    if (!graphics_ || !font_ || !format_) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const float w = rect_.width, h = rect_.height;
    if (item_.type == MenuItemType::Separator) {
        g.DrawLine(gfx::Pen(kSeparatorColor), {0, 1}, {w - 3, 1});
        EndControlPaint(context);
        return;
    }
    const bool submenu = item_.type == MenuItemType::Submenu;
    if (submenu && SubmenuOpenHere() && host_->FocusControl() == this) highlighted = true;
    if (highlighted) {
        FillRoundRect(g, {0, 0, w, h}, 3, item_.hoverColour);
        StrokeRoundRect(g, {0, 0, w, h}, 3, ScaleAlpha(item_.hoverColour, 0.82f));
    }
    if (item_.icon) DrawMenuIcon(g, *item_.icon);
    const float lineHeight = std::ceil(font_->Height());
    const gfx::RectF text{30, std::floor((h - lineHeight) / 2) + 1,
                          w - 30 - (submenu ? 12.0f : 0.0f), lineHeight};
    const std::optional<gfx::Argb> effectColour =
        item_.effectColour ? std::optional<gfx::Argb>(item_.effectColour) : std::nullopt;
    DrawEffectText(g, item_.text, *font_, *format_,
                   highlighted ? kHighlightTextColor : item_.textColour, text, item_.effect,
                   effectColour);
    if (submenu) {
        const gfx::Argb fill = highlighted ? 0xE6FFFFFF : 0x78000000;
        const float cx = w - 8, cy = h / 2;
        const std::array<gfx::PointF, 3> triangle{gfx::PointF{cx - 2, cy - 3.5f},
                                                  gfx::PointF{cx + 2, cy},
                                                  gfx::PointF{cx - 2, cy + 3.5f}};
        g.FillPolygon(gfx::SolidBrush(fill), triangle);
        g.DrawPolygon(gfx::Pen(ScaleAlpha(fill, 0.8f)), triangle);
    }
    EndControlPaint(context);
}

}  // namespace ui
