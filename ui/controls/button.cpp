#include "ui/controls/button.h"

#include <array>

#include "ui/controls/control_support.h"
#include "ui/controls/string_format.h"
#include "ui/core/draw_colour.h"
#include "ui/core/draw_shapes.h"
#include "ui/core/window.h"

namespace ui {

namespace {

// One row of the look table: fill c0/a0, gradient of the host colour a1 (top)
// to a2 (bottom), outer outline c3/a3, inner outline c4/a4, bottom line c5/a5.
struct ButtonLook {
    std::uint32_t c0;
    int a0, a1, a2;
    std::uint32_t c3;
    int a3;
    std::uint32_t c4;
    int a4;
    std::uint32_t c5;
    int a5;
};

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kLightGrey = 0xECECEC;
constexpr float kCorner = 3;
constexpr gfx::Argb kFocusFrameColour = 0xC8000000;

constexpr std::array<ButtonLook, 4> kLooks{{
    {kLightGrey, 204, 0, 102, kBlack, 80, kWhite, 51, kBlack, 25},   // normal
    {kLightGrey, 204, 21, 153, kBlack, 70, kWhite, 51, kBlack, 30},  // hovered
    {kLightGrey, 204, 153, 21, kBlack, 70, kWhite, 51, kBlack, 10},  // pressed
    {kLightGrey, 204, 51, 153, kBlack, 80, kWhite, 61, kBlack, 25},  // focused
}};
constexpr ButtonLook kFadedLook{kWhite, 51, 51, 51, kBlack, 35, kWhite, 30, kBlack, 0};

const ButtonLook& LookOf(ButtonState s) {
    if (s == ButtonState::Faded) return kFadedLook;
    return kLooks[static_cast<std::size_t>(s)];
}

}  // namespace

UiButton::~UiButton() { Destroy(); }

UiControl* UiButton::CreateButton(ControlParent parentIn, float x, float y, float width,
                                  float height, const rt::Text& value, const ButtonOptions& o) {
    if (handle_) return handle_;
    text_ = value;
    TakeStyle(o);
    format_ = MakeButtonFormat();
    state_ = ButtonState::Normal;
    rounded_ = CornersRounded(o.rounded, parentIn);
    return Create(parentIn, {x, y, width, height}, KIND_BUTTON, o.visible, 1, std::nullopt,
                  kButtonTransitionInterval);
}

rt::Text UiButton::ButtonText(std::optional<rt::Text> value) {
    if (value && *value != text_) {
        text_ = *value;
        if (handle_) {
            RegisterAccessKey(*this, text_);
            DrawState(state_);
        }
    }
    return text_;
}

LResult UiButton::OnCreate() {
    RegisterAccessKey(*this, text_);
    return kUnhandled;
}

LResult UiButton::OnDestroy() {
    ReleaseStyle();
    return kUnhandled;
}

LResult UiButton::OnPaint() {
    DrawState(state_);
    return 0;
}

LResult UiButton::OnMouseDown(const MouseEvent& event) {
    if (event.button == MouseButton::Left && focusable_) DrawState(ButtonState::Pressed);
    return kUnhandled;
}

LResult UiButton::OnMouseUp(const MouseEvent& event) {
    if (event.button == MouseButton::Left && focusable_) DrawState(ButtonState::Hovered);
    return kUnhandled;
}

LResult UiButton::OnMouseEnter() {
    AnimateTo(ButtonState::Hovered);
    return kUnhandled;
}

LResult UiButton::OnMouseLeave() {
    AnimateTo(ButtonState::Normal);
    return kUnhandled;
}

LResult UiButton::OnFocus(bool gained, UiControl*) {
    if (gained) DrawState(ButtonState::Focused);
    else AnimateTo(ButtonState::Normal);
    return kUnhandled;
}

LResult UiButton::OnClick() {
    if (clickHandler_) {
        const std::function<void()> call = clickHandler_;  // the handler may replace itself
        call();
    }
    return kUnhandled;
}

// The chrome is tinted with the host colour, which a recache may have changed.
LResult UiButton::OnRecache() {
    DrawState(state_);
    return kUnhandled;
}

gfx::RectF UiButton::CaptionRect(const gfx::RectF& area) {
    const gfx::TextMeasure m = MeasureStyledText(*graphics_, text_);
    const float w = m.bounds.width + 1;
    const float h = m.bounds.height;
    return {area.x + (area.width - w) / 2, area.y + (area.height - h) / 2, w, h};
}

void UiButton::DrawChrome(gfx::Graphics& g, const gfx::RectF& r, ButtonState s) {
    const ButtonLook& look = LookOf(s);
    const std::uint32_t hostColour = HostThemeColour(*this);
    FillRoundRect(g, r, kCorner, MakeArgb(look.c0, look.a0));
    if (rounded_) g.SetClip(RoundRectPath(r, kCorner), gfx::CombineMode::Intersect);
    FillGradient(g, r, MakeArgb(hostColour, look.a1), MakeArgb(hostColour, look.a2));
    const gfx::RectF inner{r.x + 1, r.y + 1, r.width - 2, r.height - 2};
    if (rounded_) {
        StrokeRoundRect(g, r, kCorner, MakeArgb(look.c3, look.a3));
        StrokeRoundRect(g, inner, kCorner, MakeArgb(look.c4, look.a4));
    } else {
        g.DrawRectangle(gfx::Pen(MakeArgb(look.c3, look.a3)),
                        {r.x, r.y, r.width - 1, r.height - 1});
        g.DrawRectangle(gfx::Pen(MakeArgb(look.c4, look.a4)),
                        {inner.x, inner.y, inner.width - 1, inner.height - 1});
    }
    const float bottom = r.y + r.height - 1;
    g.DrawLine(gfx::Pen(MakeArgb(look.c5, look.a5)), {r.x, bottom}, {r.x + r.width - 1, bottom});
}

void UiButton::DrawState(ButtonState s) {
    state_ = s;
    if (!graphics_ || !HasStyle()) return;
    PaintContext context = BeginControlPaint();
    gfx::Graphics& g = *graphics_;
    const gfx::RectF full = SurfaceRect(*this);
    const gfx::RectF area{full.x, full.y, full.width, full.height - 1};
    if (!SkipChrome()) DrawChrome(g, area, s);
    DrawContent(g, area);
    DrawStyledText(g, text_, CaptionRect(area));
    g.ResetClip();
    // Reached with Tab: a frame shows where Space and Enter go.
    if (host_ && host_->KeyboardFocus() == this)
        DrawBorder(g, {area.x + 2, area.y + 2, area.width - 4, area.height - 4}, BORDER_DASHED,
                   kFocusFrameColour);
    EndControlPaint(context);
}

void UiButton::AnimateTo(ButtonState s) {
    TransitionFrames(kButtonFadeFrames);
    DrawState(s);
}

}  // namespace ui
