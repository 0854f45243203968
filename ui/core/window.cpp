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
#include "ui/core/caption.h"
#include "ui/core/library.h"

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
    if (attached) {
        Detach();
    }
}

bool UiWindow::Layered() const {
    return window && (plat::GetWindowLong(window, plat::GWL_EXSTYLE) & plat::WS_EX_LAYERED) != 0;
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
    if (focusControl == control) focusControl = nullptr;
    if (hoverControl == control) hoverControl = nullptr;
    if (keyboardFocus == control) keyboardFocus = nullptr;
    if (pressedControl == control) {
        pressedControl = nullptr;
        if (captured) {
            captured = false;
            plat::ReleaseCapture();
        }
    }
    mnemonics.erase(std::remove_if(mnemonics.begin(), mnemonics.end(),
                                   [control](const Mnemonic& m) { return m.control == control; }),
                    mnemonics.end());
}

LResult UiWindow::Deliver(UiControl* control, int code, WParam wParam, LParam lParam) {
    if (!Owns(control)) return 0;  // messages for no control are dropped
    return control->Dispatch(code, wParam, lParam);
}

void UiWindow::CreateCanvases() {
    canvas.Create(size.width, size.height);
    backgroundCanvas.Create(size.width, size.height, false);
    redrawQueue.Init(window, this, canvas.graphics.get());
}

bool UiWindow::Attach(NativeWindow target, const AttachOptions& options) {
    if (!target || !plat::IsWindow(target) || attached || FindHost(target)) return false;
    const LibraryState& lib = Library();

    // 1. Defaults.
    const int alpha = options.backgroundAlpha.value_or(-1);
    bool blur = options.blurBehind.value_or(false);
    if (alpha == -1) blur = false;
    if (lib.systemMajorVersion == 6 && !options.blurBehind) blur = true;

    // 2. Settings.
    window = target;
    ownerThread = std::this_thread::get_id();
    backgroundAlpha = alpha;
    skinMode = SkinModeOf(options.skinMode.value_or(0));
    frameStyle = WindowFrameOf(options.frameStyle.value_or(7));
    plat::DWORD style = static_cast<plat::DWORD>(plat::GetWindowLong(window, plat::GWL_STYLE));
    resizable = options.resizable.value_or((style & plat::WS_THICKFRAME) != 0);
    edgeFade = options.edgeFade.value_or(true);
    blurBehind = blur;
    skinMargins = options.skinMargins;
    skinDonor = options.skinDonor;

    // 3. Caption flags.
    int flags = options.captionFlags.value_or(CAPTION_FROM_STYLE);
    if (!(options.captionFlags && *options.captionFlags == 0)) style |= plat::WS_SYSMENU;
    if (!options.captionFlags || (flags & CAPTION_FROM_STYLE)) {
        flags |= CAPTION_ICON | CAPTION_TITLE | CAPTION_CLOSE;
        if (style & plat::WS_MAXIMIZEBOX) flags |= CAPTION_MAXIMIZE;
        if (style & plat::WS_MINIMIZEBOX) flags |= CAPTION_MINIMIZE;
    }
    flags |= CAPTION_FRAME;
    CaptionFlags = flags;
    style |= plat::WS_POPUP;

    // 4. The object is found through the property and the map beside it.
    plat::SetProp(window, kHostProperty, reinterpret_cast<std::intptr_t>(this));
    {
        std::lock_guard lock(HostMapMutex());
        HostMap()[window] = this;
    }

    // 5. Cursor and the frameless style.
    defaultCursor = lib.defaultCursor;
    style &= ~(plat::WS_THICKFRAME | plat::WS_DLGFRAME | plat::WS_BORDER);
    if (!(flags & CAPTION_MINIMIZE)) style &= ~plat::WS_MINIMIZEBOX;
    if (!(flags & CAPTION_MAXIMIZE)) style &= ~plat::WS_MAXIMIZEBOX;
    plat::SetWindowLong(window, plat::GWL_STYLE, static_cast<LParam>(style));

    // 6. Geometry and canvases.
    Draggable(options.draggable.value_or(true));
    plat::RECT r;
    plat::GetWindowRect(window, &r);
    size.width = r.width();
    size.height = r.height();
    // 7. Layered when the background has an opacity.
    if (backgroundAlpha != -1) {
        plat::SetWindowLong(window, plat::GWL_EXSTYLE,
                            plat::GetWindowLong(window, plat::GWL_EXSTYLE) | plat::WS_EX_LAYERED);
    }
    // 8. Canvases and the redraw queue.
    CreateCanvases();
    GrowMeasuringCanvas(size.width, size.height);

    // 9. Every message of the window now reaches this object.
    savedProc = plat::SetWindowProc(
        window, [this](plat::Hwnd, plat::UINT message, WParam wParam, LParam lParam) {
            return WindowProc(message, wParam, lParam);
        });
    attached = true;

    // 10. Caption.
    suspended = true;
    if (CaptionFlags != 0) BuildCaption();

    // 11-12. Background, shown at once for a layered window.
    suspended = false;
    RenderBackground(&options.skin, options.backgroundColour, PresentMode::DrawOnly);
    if (Layered()) PresentWhole();

    // 13. The tooltip window is the platform's; tools are registered per control.
    // 14. The frame stays invisible: WM_NCCALCSIZE leaves no non-client area.
    if (resizable) {
        plat::SetWindowLong(window, plat::GWL_STYLE,
                            plat::GetWindowLong(window, plat::GWL_STYLE) | plat::WS_THICKFRAME);
    }
    return true;
}

void UiWindow::Detach() {
    if (!attached) return;
    suspended = true;
    plat::SetWindowProc(window, savedProc);
    attached = false;
    redrawQueue.Clear();
    while (firstControl) {
        UiControl* control = firstControl;
        control->Destroy();
        if (firstControl == control) control->Unlink();
    }
    frameClip.reset();
    skinImage.reset();
    if (tooltipRegistered) plat::RemoveTooltip(window, 1);
    tooltipRegistered = false;
    if (captured || leaveTracking) {
        captured = false;
        leaveTracking = false;
        plat::ReleaseCapture();
    }
    focusControl = hoverControl = pressedControl = keyboardFocus = nullptr;
    firstControl = lastControl = nullptr;
    CaptionFlags = 0;
    canvas.Reset();
    backgroundCanvas.Reset();
    fadeCanvas.Reset();
    plat::KillTimer(window, reinterpret_cast<TimerId>(this));
    mnemonics.clear();
    captionButtons.clear();
    iconPicture.reset();
    titleLabel.reset();
    live_.clear();
    // Event blocks still queued for this window would be dropped with it.
    plat::MSG msg;
    while (plat::PeekMessage(&msg, window, HM_DELIVER_EVENT, HM_DELIVER_EVENT, plat::PM_REMOVE)) {
        auto* block = reinterpret_cast<EventBlock*>(msg.lParam);
        if (block && block->posted) std::unique_ptr<EventBlock> owned(block);
    }
    plat::RemoveProp(window, kHostProperty);
    {
        std::lock_guard lock(HostMapMutex());
        HostMap().erase(window);
    }
    suspended = false;
}

void UiWindow::OnSize(WParam wParam, LParam lParam) {
    (void)lParam;
    if (wParam == plat::SIZE_MINIMIZED) return;
    plat::RECT r;
    plat::GetWindowRect(window, &r);
    if (r.width() == size.width && r.height() == size.height) return;
    size.width = r.width();
    size.height = r.height();
    if (callbacks.resize) callbacks.resize(window, size.width, size.height);
    CreateCanvases();
    GrowMeasuringCanvas(size.width, size.height);
    RenderBackground(nullptr, std::nullopt, PresentMode::Now, false);
}

void UiWindow::SetTooltip(UiControl* control, std::optional<rt::Text> text) {
    if (!control) return;
    if (tooltipRegistered) plat::RemoveTooltip(window, 1);
    tooltipRegistered = false;
    const rt::Text tip = text ? *text : control->tooltip;
    if (tip.empty()) return;
    const RectF& r = control->rect;
    const plat::RECT area{static_cast<int>(r.x), static_cast<int>(r.y),
                          static_cast<int>(r.x + r.width), static_cast<int>(r.y + r.height)};
    tooltipRegistered = plat::SetTooltip(window, 1, area, tip);
}

int UiWindow::Draggable(std::optional<bool> value) {
    if (value) draggable = *value;
    return draggable ? 1 : 0;
}

int UiWindow::FrameStyle(std::optional<int> value) {
    if (value) frameStyle = WindowFrameOf(*value);
    return static_cast<int>(frameStyle);
}

void UiWindow::SetFrameColour(int colour) { frameColour = colour; }

void UiWindow::LayoutCaption() {
    if (CaptionFlags == 0) return;
    float x = static_cast<float>(size.width - 5);
    if (CaptionFlags & CAPTION_CLOSE) x -= 12;
    for (auto& button : captionButtons) {
        x -= 28;
        button->Move(x, 7.0f);
    }
    if ((CaptionFlags & CAPTION_TITLE) && titleLabel) {
        const float left = (CaptionFlags & CAPTION_ICON) ? 28.0f : 11.0f;
        titleLabel->Move(left, 10.0f, x - left, 20.0f);
    }
}

void UiWindow::BuildCaption() { BuildCaptionControls(*this); }

}  // namespace ui
