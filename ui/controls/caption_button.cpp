#include "ui/controls/caption_button.h"

#include "assets/assets.h"
#include "ui/controls/control_support.h"
#include "ui/core/window.h"

namespace ui {

namespace {
assets::CaptionGlyph GlyphOf(int type, bool zoomed) {
    using G = assets::CaptionGlyph;
    switch (type) {
    case CAPTION_BUTTON_CLOSE: return G::Close;
    case CAPTION_BUTTON_MAXIMIZE: return zoomed ? G::Restore : G::Maximise;
    case CAPTION_BUTTON_MINIMIZE: return G::Minimise;
    case CAPTION_BUTTON_MENU: return G::Menu;
    case CAPTION_BUTTON_MORE: return G::More;
    case CAPTION_BUTTON_PIN: return G::Pin;
    default: return G::Help;
    }
}
}  // namespace

UiCaptionButton::~UiCaptionButton() { Destroy(); }

UiControl* UiCaptionButton::CreateCaptionButton(ControlParent parentIn, const gfx::RectF& area,
                                                int type, const gfx::Bitmap* strip,
                                                bool visibleIn) {
    if (handle_) return handle_;
    buttonType_ = type;
    skinStrip_ = strip;
    look_ = CaptionLook::Normal;
    return Create(parentIn, area, KIND_CAPTION_BUTTON, visibleIn, 0, std::nullopt, 60);
}

LResult UiCaptionButton::OnPaint() {
    DrawLook(CaptionLook::Normal);
    return 0;
}

LResult UiCaptionButton::OnMouseDown(const MouseEvent& event) {
    if (event.button == MouseButton::Left) DrawLook(CaptionLook::Pressed);
    return kUnhandled;
}

LResult UiCaptionButton::OnMouseUp(const MouseEvent& event) {
    if (event.button == MouseButton::Left) DrawLook(CaptionLook::Hovered);
    return kUnhandled;
}

LResult UiCaptionButton::OnMouseEnter() {
    AnimateTo(CaptionLook::Hovered);
    return kUnhandled;
}

LResult UiCaptionButton::OnMouseLeave() {
    AnimateTo(CaptionLook::Normal);
    return kUnhandled;
}

LResult UiCaptionButton::OnClick() {
    if (disabled_) return kUnhandled;
    switch (buttonType_) {
    case CAPTION_BUTTON_CLOSE: plat::PostMessage(hwnd_, plat::WM_CLOSE, 0, 0); break;
    case CAPTION_BUTTON_MAXIMIZE:
        plat::PostMessage(hwnd_, plat::WM_SYSCOMMAND,
                          plat::IsZoomed(hwnd_) ? plat::SC_RESTORE : plat::SC_MAXIMIZE, 0);
        break;
    case CAPTION_BUTTON_MINIMIZE:
        if (!plat::IsIconic(hwnd_))
            plat::PostMessage(hwnd_, plat::WM_SYSCOMMAND, plat::SC_MINIMIZE, 0);
        break;
    default: break;  // further kinds act through the application's bindings
    }
    return kUnhandled;
}

// Not focusable, yet it keeps the press so the release lands on it.
LResult UiCaptionButton::OnPressQuery() { return 0; }

// Maximise and restore swap the glyph; the host moves the buttons on every resize.
LResult UiCaptionButton::OnMoved() {
    if (buttonType_ == CAPTION_BUTTON_MAXIMIZE) DrawLook(look_);
    return kUnhandled;
}

gfx::RectF UiCaptionButton::CellRect(CaptionLook cellLook) const {
    const assets::CaptionGlyph glyph =
        GlyphOf(buttonType_, buttonType_ == CAPTION_BUTTON_MAXIMIZE && plat::IsZoomed(hwnd_));
    return {static_cast<float>(assets::CaptionCellX(glyph, static_cast<int>(cellLook))), 0,
            static_cast<float>(assets::CaptionCellWidth(glyph)),
            static_cast<float>(assets::kCaptionGlyphRows)};
}

void UiCaptionButton::DrawLook(CaptionLook newLook) {
    look_ = newLook;
    if (!graphics_) return;
    PaintContext context = BeginControlPaint();
    if (skinStrip_ && skinStrip_->IsValid())
        graphics_->DrawImage(*skinStrip_, SurfaceRect(*this), CellRect(look_));
    EndControlPaint(context);
}

void UiCaptionButton::AnimateTo(CaptionLook newLook) {
    TransitionFrames(kCaptionButtonFadeFrames);
    DrawLook(newLook);
}

}  // namespace ui
