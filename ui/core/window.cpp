#include "ui/core/window.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <mutex>
#include <unordered_map>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"
#include "ui/controls/control.h"
#include "ui/controls/label.h"
#include "ui/controls/picture.h"
#include "ui/core/library.h"
#include "ui/core/shown_text.h"

namespace ui {

namespace {
// The window-to-object map kept beside the "Qd_Wnd_Control" property.
std::mutex& HostMapMutex() {
    static std::mutex mutex;
    return mutex;
}
std::unordered_map<NativeWindow, UiWindow*>& HostMap() {
    static std::unordered_map<NativeWindow, UiWindow*> map;
    return map;
}

std::int16_t Clamp16(double v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
}
}  // namespace

LParam PackRect(const RectF& rect) {
    const double left = std::floor(rect.x), top = std::floor(rect.y);
    const double right = std::ceil(rect.x + rect.width), bottom = std::ceil(rect.y + rect.height);
    const auto u = [](std::int16_t v) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(v));
    };
    const std::uint64_t packed = u(Clamp16(left)) | (u(Clamp16(top)) << 16) |
                                 (u(Clamp16(right - left)) << 32) |
                                 (u(Clamp16(bottom - top)) << 48);
    return static_cast<LParam>(packed);
}

RectF UnpackRect(LParam packed) {
    const auto v = static_cast<std::uint64_t>(packed);
    const auto part = [v](int shift) {
        return static_cast<float>(static_cast<std::int16_t>((v >> shift) & 0xFFFF));
    };
    return RectF{part(0), part(16), part(32), part(48)};
}

UiWindow* FindHost(NativeWindow window) {
    if (!window) return nullptr;
    std::lock_guard lock(HostMapMutex());
    auto it = HostMap().find(window);
    if (it == HostMap().end()) return nullptr;
    if (plat::GetProp(window, kHostProperty) != reinterpret_cast<std::intptr_t>(it->second))
        return nullptr;
    return it->second;
}

namespace {
// The one of `named` whose code is `code`, else `otherwise`.
template <typename Enum, typename Code>
Enum FromCode(Code code, std::initializer_list<Enum> named, Enum otherwise) {
    for (Enum e : named)
        if (static_cast<Code>(e) == code) return e;
    return otherwise;
}
}  // namespace

SkinMode SkinModeOf(int code) {
    return FromCode(code, {SkinMode::Stretched, SkinMode::Centred}, SkinMode::Natural);
}

WindowFrame WindowFrameOf(int code) {
    return FromCode(code, {WindowFrame::Square, WindowFrame::SkinOnly}, WindowFrame::Rounded);
}

RedrawMode RedrawModeOf(WParam code) {
    return FromCode(code, {RedrawMode::Now, RedrawMode::Front}, RedrawMode::Append);
}

PresentMode PresentModeOf(int code) {
    return FromCode(code, {PresentMode::Now, PresentMode::CrossFade}, PresentMode::DrawOnly);
}

UiWindow::UiWindow() = default;

UiWindow::~UiWindow() {
    if (attached_) {
        Detach();
    }
}

bool UiWindow::Layered() const {
    return window_ && (plat::GetWindowLong(window_, plat::GWL_EXSTYLE) & plat::WS_EX_LAYERED) != 0;
}

void UiWindow::RegisterControl(UiControl* control) {
    if (!Owns(control)) live_.push_back(control);
}

void UiWindow::UnregisterControl(UiControl* control) {
    live_.erase(std::remove(live_.begin(), live_.end(), control), live_.end());
}

bool UiWindow::Owns(const UiControl* control) const {
    return control && std::find(live_.begin(), live_.end(), control) != live_.end();
}

void UiWindow::ForgetControl(UiControl* control) {
    if (focusControl_ == control) focusControl_ = nullptr;
    if (hoverControl_ == control) hoverControl_ = nullptr;
    if (keyboardFocus_ == control) keyboardFocus_ = nullptr;
    if (pressedControl_ == control) {
        pressedControl_ = nullptr;
        if (captured_) {
            captured_ = false;
            plat::ReleaseCapture();
        }
    }
    mnemonics_.erase(std::remove_if(mnemonics_.begin(), mnemonics_.end(),
                                    [control](const Mnemonic& m) { return m.control == control; }),
                     mnemonics_.end());
}

LResult UiWindow::Deliver(UiControl* control, int code, WParam wParam, LParam lParam) {
    if (!Owns(control)) return 0;  // messages for no control are dropped
    return control->Dispatch(code, wParam, lParam);
}

void UiWindow::CreateCanvases() {
    canvas_.Create(size_.width, size_.height);
    backgroundCanvas_.Create(size_.width, size_.height, false);
    redrawQueue_.Init(window_, this, canvas_.graphics.get());
}

bool UiWindow::Attach(NativeWindow target, const AttachOptions& options) {
    if (!target || !plat::IsWindow(target) || attached_ || FindHost(target)) return false;
    const LibraryState& lib = Library();

    // The options with their defaults: an ordinary (not layered) window, a
    // rounded frame, and blur behind wherever the platform offers it.
    const int alpha = options.backgroundAlpha.value_or(kOrdinaryWindow);
    bool blur = options.blurBehind.value_or(false);
    if (alpha == kOrdinaryWindow) blur = false;
    if (lib.blurAvailable && !options.blurBehind) blur = true;

    window_ = target;
    ownerThread_ = std::this_thread::get_id();
    backgroundAlpha_ = alpha;
    skinMode_ = SkinModeOf(options.skinMode.value_or(static_cast<int>(SkinMode::Natural)));
    frameStyle_ =
        WindowFrameOf(options.frameStyle.value_or(static_cast<int>(WindowFrame::Rounded)));
    plat::DWORD style = static_cast<plat::DWORD>(plat::GetWindowLong(window_, plat::GWL_STYLE));
    resizable_ = options.resizable.value_or((style & plat::WS_THICKFRAME) != 0);
    edgeFade_ = options.edgeFade.value_or(true);
    blurBehind_ = blur;
    skinMargins_ = options.skinMargins;
    skinDonor_ = options.skinDonor;

    // The caption: what the window's style asks for unless flags are given.
    int flags = options.captionFlags.value_or(CAPTION_FROM_STYLE);
    if (!(options.captionFlags && *options.captionFlags == 0)) style |= plat::WS_SYSMENU;
    if (!options.captionFlags || (flags & CAPTION_FROM_STYLE)) {
        flags |= CAPTION_ICON | CAPTION_TITLE | CAPTION_CLOSE;
        if (style & plat::WS_MAXIMIZEBOX) flags |= CAPTION_MAXIMIZE;
        if (style & plat::WS_MINIMIZEBOX) flags |= CAPTION_MINIMIZE;
    }
    flags |= CAPTION_FRAME;
    captionFlags_ = flags;
    style |= plat::WS_POPUP;

    // From here the object is found through the property and the map beside it.
    plat::SetProp(window_, kHostProperty, reinterpret_cast<std::intptr_t>(this));
    {
        std::lock_guard lock(HostMapMutex());
        HostMap()[window_] = this;
    }

    // The default cursor, and the style of a window without a native frame.
    defaultCursor_ = lib.defaultCursor;
    style &= ~(plat::WS_THICKFRAME | plat::WS_DLGFRAME | plat::WS_BORDER);
    if (!(flags & CAPTION_MINIMIZE)) style &= ~plat::WS_MINIMIZEBOX;
    if (!(flags & CAPTION_MAXIMIZE)) style &= ~plat::WS_MAXIMIZEBOX;
    plat::SetWindowLong(window_, plat::GWL_STYLE, static_cast<LParam>(style));

    Draggable(options.draggable.value_or(true));
    plat::RECT r;
    plat::GetWindowRect(window_, &r);
    size_.width = r.width();
    size_.height = r.height();
    // Layered when the background has an opacity.
    if (backgroundAlpha_ != kOrdinaryWindow) {
        plat::SetWindowLong(window_, plat::GWL_EXSTYLE,
                            plat::GetWindowLong(window_, plat::GWL_EXSTYLE) | plat::WS_EX_LAYERED);
    }
    // Canvases and the redraw queue.
    CreateCanvases();
    GrowMeasuringCanvas(size_.width, size_.height);

    // Every message of the window now reaches this object.
    savedProc_ = plat::SetWindowProc(
        window_, [this](plat::Hwnd, plat::UINT message, WParam wParam, LParam lParam) {
            return WindowProc(message, wParam, lParam);
        });
    attached_ = true;

    // The caption controls, built without painting.
    suspended_ = true;
    if (captionFlags_ != 0) BuildCaption();

    // The background, shown at once for a layered window.
    suspended_ = false;
    RenderBackground(&options.skin, options.backgroundColour, PresentMode::DrawOnly);
    if (Layered()) PresentWhole();

    // The tooltip window is the platform's (tools are registered per control).
    // A resizable window keeps the sizing style; WM_NCCALCSIZE leaves it no
    // visible frame.
    if (resizable_) {
        plat::SetWindowLong(window_, plat::GWL_STYLE,
                            plat::GetWindowLong(window_, plat::GWL_STYLE) | plat::WS_THICKFRAME);
    }
    return true;
}

void UiWindow::Detach() {
    if (!attached_) return;
    suspended_ = true;
    plat::SetWindowProc(window_, savedProc_);
    attached_ = false;
    redrawQueue_.Clear();
    while (firstControl_) {
        UiControl* control = firstControl_;
        control->Destroy();
        if (firstControl_ == control) control->Unlink();
    }
    frameClip_.reset();
    skinImage_.reset();
    if (tooltipRegistered_) plat::RemoveTooltip(window_, 1);
    tooltipRegistered_ = false;
    if (captured_ || leaveTracking_) {
        captured_ = false;
        leaveTracking_ = false;
        plat::ReleaseCapture();
    }
    focusControl_ = hoverControl_ = pressedControl_ = keyboardFocus_ = nullptr;
    firstControl_ = lastControl_ = nullptr;
    captionFlags_ = 0;
    canvas_.Reset();
    backgroundCanvas_.Reset();
    fadeCanvas_.Reset();
    plat::KillTimer(window_, reinterpret_cast<TimerId>(this));
    mnemonics_.clear();
    captionButtons_.clear();
    iconPicture_.reset();
    titleLabel_.reset();
    live_.clear();
    // Event blocks still queued for this window would be dropped with it.
    plat::MSG msg;
    while (plat::PeekMessage(&msg, window_, HM_DELIVER_EVENT, HM_DELIVER_EVENT, plat::PM_REMOVE)) {
        auto* block = reinterpret_cast<EventBlock*>(msg.lParam);
        if (block && block->posted) std::unique_ptr<EventBlock> owned(block);
    }
    plat::RemoveProp(window_, kHostProperty);
    {
        std::lock_guard lock(HostMapMutex());
        HostMap().erase(window_);
    }
    suspended_ = false;
}

void UiWindow::OnSize(WParam wParam, LParam lParam) {
    (void)lParam;
    if (wParam == plat::SIZE_MINIMIZED) return;
    plat::RECT r;
    plat::GetWindowRect(window_, &r);
    if (r.width() == size_.width && r.height() == size_.height) return;
    size_.width = r.width();
    size_.height = r.height();
    if (callbacks_.resize) callbacks_.resize(window_, size_.width, size_.height);
    CreateCanvases();
    GrowMeasuringCanvas(size_.width, size_.height);
    RenderBackground(nullptr, std::nullopt, PresentMode::Now, false);
}

void UiWindow::SetTooltip(UiControl* control, std::optional<rt::Text> text) {
    if (!control) return;
    if (tooltipRegistered_) plat::RemoveTooltip(window_, 1);
    tooltipRegistered_ = false;
    const rt::Text tip = text ? *text : control->Tooltip();
    if (tip.empty()) return;
    const RectF& r = control->Rect();
    const plat::RECT area{static_cast<int>(r.x), static_cast<int>(r.y),
                          static_cast<int>(r.x + r.width), static_cast<int>(r.y + r.height)};
    tooltipRegistered_ = plat::SetTooltip(window_, 1, area, rt::Text(ShownPart(tip)));
}

int UiWindow::Draggable(bool value) {
    draggable_ = value;
    return draggable_ ? 1 : 0;
}

int UiWindow::FrameStyle(int value) {
    frameStyle_ = WindowFrameOf(value);
    return static_cast<int>(frameStyle_);
}

void UiWindow::SetFrameColour(int colour) { frameColour_ = colour; }

void UiWindow::LayoutCaption() {
    if (captionFlags_ == 0) return;
    float x = static_cast<float>(size_.width - 5);
    if (captionFlags_ & CAPTION_CLOSE) x -= 12;
    for (auto& button : captionButtons_) {
        x -= 28;
        button->Move(x, 7.0f);
    }
    if ((captionFlags_ & CAPTION_TITLE) && titleLabel_) {
        const float left = (captionFlags_ & CAPTION_ICON) ? 28.0f : 11.0f;
        titleLabel_->Move(left, 10.0f, x - left, 20.0f);
    }
}

}  // namespace ui
