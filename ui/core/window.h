// UiWindow: the library object that takes over one top-level native window and
// turns it into a skinned, borderless, optionally layered window hosting drawn
// controls. One UiWindow per native window; code finds it through the
// "Qd_Wnd_Control" property (and FindHost, the map kept beside it).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "runtime/text.h"
#include "ui/core/canvas.h"
#include "ui/core/redraw_queue.h"
#include "ui/core/types.h"

namespace ui {

class UiControl;
class UiLabel;
class UiPicture;

// Caption flag bits.
inline constexpr int CAPTION_ICON = 1;
inline constexpr int CAPTION_TITLE = 2;
inline constexpr int CAPTION_CLOSE = 4;
inline constexpr int CAPTION_MAXIMIZE = 8;
inline constexpr int CAPTION_MINIMIZE = 16;
inline constexpr int CAPTION_FRAME = 512;
inline constexpr int CAPTION_FROM_STYLE = 1024;

// Private host messages.
inline constexpr unsigned HM_SET_FOCUS = 10240;     // lParam: control
inline constexpr unsigned HM_SET_MNEMONIC = 10251;  // wParam: control, lParam: key
inline constexpr unsigned HM_PRESENT = 10253;
inline constexpr unsigned HM_INVALIDATE = 10256;     // wParam: queue mode, lParam: PackRect
inline constexpr unsigned HM_CONTROL_MOVED = 10257;  // wParam: control, lParam: 1 = repaint now
inline constexpr unsigned HM_DELIVER_EVENT = 10258;  // wParam: control, lParam: EventBlock*

// Event block of HM_DELIVER_EVENT: made by the sender, released by the host.
struct EventBlock {
    int code = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    bool posted = false;  // posted blocks are released by the host after delivery
};

// Rectangles travel in lParam as four signed 16-bit whole-pixel values,
// rounded outwards, so a posted message owns no memory.
LParam PackRect(const RectF& rect);
RectF UnpackRect(LParam packed);

// Application callback: (window, control, wParam, lParam, the control's kind or 0).
using HostCallback = std::function<void(NativeWindow, UiControl*, WParam, LParam, int)>;

struct HostCallbacks {
    std::function<void(NativeWindow, gfx::Graphics&, int width, int height)> paintBackground;
    // A result other than -1 is returned to the system and ends processing.
    std::function<LResult(NativeWindow, unsigned message, WParam, LParam)> rawMessage;
    std::function<void(NativeWindow, int width, int height)> resize;
    HostCallback press, release, click, doubleClick, rightDown, rightUp, mouseLeave, mouseEnter,
        focusGained, focusLost;
};

// Placement of the skin image in a framed window.
enum class SkinMode { Natural = 0, Stretched = 1, Centred = 2 };
SkinMode SkinModeOf(int code);  // 1 stretched, 2 centred, anything else natural

// The window's edge: a square frame, none (the skin covers the window), or a
// rounded frame. The codes are those of FrameStyle and AttachOptions.
enum class WindowFrame { Square = 0, SkinOnly = 1, Rounded = 7 };
WindowFrame WindowFrameOf(int code);  // 0 square, 1 skin only, anything else rounded

// QueueRedraw's modes, carried as codes in HM_INVALIDATE.
enum class RedrawMode { Append = 0, Now = 1, Front = 2 };
RedrawMode RedrawModeOf(WParam code);  // 1 now, 2 front, anything else append
// RenderBackground's ways of showing the new picture.
enum class PresentMode { DrawOnly = -1, Now = 0, CrossFade = 1 };
PresentMode PresentModeOf(int code);  // 0 now, 1 cross-fade, anything else draw only

// Skin margins {left, top, right, bottom}; all zero = draw the skin at natural size.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// backgroundAlpha of a window that is not layered.
inline constexpr int kOrdinaryWindow = -1;

struct AttachOptions {
    rt::ByteBuffer skin;                  // any format the image decoder reads, or empty
    std::optional<int> backgroundColour;  // RGB; -1 = the skin's average colour
    std::optional<int> captionFlags;      // default: as if 1024
    std::optional<int> backgroundAlpha;   // -1 ordinary window, 0..255 layered
    std::optional<int> skinMode;          // 0 natural, 1 stretched, 2 centred
    std::optional<int> frameStyle;        // 1 skin covers the window; default 7
    std::optional<bool> resizable;        // default: the window has WS_THICKFRAME
    std::optional<bool> draggable;        // default true
    std::optional<bool> edgeFade;         // default true
    std::optional<bool> blurBehind;       // default false
    Margins skinMargins;
    std::optional<NativeWindow> skinDonor;
};

struct Mnemonic {
    UiControl* control = nullptr;
    int key = 0;
};

class UiWindow {
public:
    UiWindow();
    ~UiWindow();
    UiWindow(const UiWindow&) = delete;
    UiWindow& operator=(const UiWindow&) = delete;

    // ---- Operations, in table order ----
    LResult WindowProc(unsigned message, WParam wParam, LParam lParam);
    // mode 0 append, 2 insert at the front, 1 redraw and present at once.
    void QueueRedraw(const RectF& rect, int mode);
    void QueueRedraw(const RectF& rect, RedrawMode mode);
    // text nullopt = the control's own tooltip text.
    void SetTooltip(UiControl* control, std::optional<rt::Text> text = std::nullopt);
    void OnFadeTimer();
    // WM_SYSCHAR; returns true when a mnemonic took the key.
    bool OnSysChar(WParam wParam, LParam lParam);
    void OnKeyDown(WParam wParam, LParam lParam);
    void Detach();
    void OnSize(WParam wParam, LParam lParam);
    int SetMnemonic(UiControl* control, int key);
    void OnMouse(unsigned message, WParam wParam, LParam lParam);
    // Returns true when the message was handled as a resize-border press or move.
    bool OnResizeBorder(unsigned message, LParam lParam);
    bool Attach(NativeWindow window, const AttachOptions& options = {});
    int Draggable() const { return draggable_ ? 1 : 0; }
    int Draggable(bool value);
    int FrameStyle() const { return static_cast<int>(frameStyle_); }
    int FrameStyle(int value);
    // present: 0 present now, 1 cross-fade in, anything else draw only.
    // recache false: do not send EV_RECACHE before composing (the size handler).
    void RenderBackground(const rt::ByteBuffer* skin, std::optional<int> colour, int present,
                          bool recache = true);
    void RenderBackground(const rt::ByteBuffer* skin, std::optional<int> colour,
                          PresentMode present, bool recache = true);
    void LayoutCaption();
    void SetFrameColour(int colour);
    void SetFocusControl(UiControl* control, bool byKeyboard);
    void PresentRect(const RectF* rect);  // null = the whole window
    void ShowAnimated(int animation, std::optional<int> duration = std::nullopt);
    void SetCloseAnimation(int animation) { closeAnimation_ = animation; }
    void SetDefaultCursor(plat::Hcursor cursor) { defaultCursor_ = cursor; }
    void SetCallbacks(HostCallbacks table) { callbacks_ = std::move(table); }

    // ---- Shared machinery ----
    // The control under (x, y) starting at `first` (top-most first), or null.
    static UiControl* HitTest(UiControl* first, float x, float y);
    // Delivers a message or event to a control (dispatch; null controls dropped).
    LResult Deliver(UiControl* control, int code, WParam wParam, LParam lParam);
    // Whether `control` is a live control of this window (timer ids, posted events).
    bool Owns(const UiControl* control) const;
    void RegisterControl(UiControl* control);
    void UnregisterControl(UiControl* control);
    // Clears every reference the host keeps to a control that goes away.
    void ForgetControl(UiControl* control);
    bool Layered() const;
    int Width() const { return size_.width; }
    int Height() const { return size_.height; }
    void RedrawRect(const RectF& rect, bool present);
    // Composes controls overlapping `dirty`, from `first` along the siblings.
    void ComposeControls(UiControl* first, const RectF& dirty, gfx::Graphics& target);
    // Composes every visible control; recache sends EV_RECACHE first.
    void ComposeAll(UiControl* first, gfx::Graphics& target, bool recache);
    void PresentWhole() { PresentRect(nullptr); }
    // Presents what a run of redraws changed: those rectangles only, unless
    // the canvas changed elsewhere since the last present.
    void PresentRedrawn(const std::vector<RectF>& rects);
    // Shows a finished picture of the window size, whatever the suspended state.
    void PresentBitmap(const gfx::Bitmap& picture, const plat::RECT* dirty = nullptr);
    // The smallest size the window can be given (WM_GETMINMAXINFO).
    plat::POINT MinimumTrackSize() const;
    // The colour controls tint their chrome with (the background colour, RGB).
    int ThemeColour() const { return backgroundColour_; }
    // The corner style controls take when they are given none.
    bool DefaultRounded() const { return frameStyle_ != WindowFrame::Square; }
    // Whether the caller runs on the thread that owns the window.
    bool OnOwnerThread() const { return std::this_thread::get_id() == ownerThread_; }

    // ---- The references controls ask for ----
    NativeWindow Window() const { return window_; }
    bool Attached() const { return attached_; }
    UiControl* FirstControl() const { return firstControl_; }
    UiControl* LastControl() const { return lastControl_; }
    UiControl* FocusControl() const { return focusControl_; }
    UiControl* HoverControl() const { return hoverControl_; }
    UiControl* PressedControl() const { return pressedControl_; }
    // Whether the mouse is captured for the pressed control.
    bool Captured() const { return captured_; }
    // The control that took the focus with Tab (it shows a focus frame).
    UiControl* KeyboardFocus() const { return keyboardFocus_; }
    // For a control that keeps the references itself (a menu row marks the
    // menu's current row with the focus): no events are raised.
    void SetFocusReference(UiControl* control) { focusControl_ = control; }
    void SetHoverReference(UiControl* control) { hoverControl_ = control; }
    // The modifier keys (MK_SHIFT, MK_CONTROL) held at the latest double click.
    int DoubleClickKeys() const { return doubleClickKeys_; }

    // ---- What tests and measurements read ----
    int CaptionFlags() const { return captionFlags_; }
    bool Suspended() const { return suspended_; }
    const UiCanvas& Canvas() const { return canvas_; }
    const gfx::Bitmap* SkinImage() const { return skinImage_.get(); }
    bool Resizable() const { return resizable_; }
    const std::vector<Mnemonic>& Mnemonics() const { return mnemonics_; }
    const std::vector<std::unique_ptr<UiControl>>& CaptionButtons() const {
        return captionButtons_;
    }
    UiPicture* IconPicture() const { return iconPicture_.get(); }
    UiLabel* TitleLabel() const { return titleLabel_.get(); }
    bool TooltipRegistered() const { return tooltipRegistered_; }
    // Number of whole-canvas presents and recompositions so far.
    int PresentCount() const { return presentCount_; }
    int RecomposeCount() const { return recomposeCount_; }

private:
    // The base class of controls links itself into the top-level list and
    // takes the canvas under it as its transition snapshot.
    friend class UiControl;

    void BuildCaption();
    void HoverChange(UiControl* target);
    void ToggleMaximise();
    void TakeSkin(const rt::ByteBuffer* skin, std::optional<int> colour);
    void ApplyBlur();
    void CreateCanvases();
    LResult OnHostMessage(unsigned message, WParam wParam, LParam lParam, bool& handled);
    void PlayCloseAnimation();
    void OnPaint();
    void OnTimer(WParam wParam, LParam lParam);
    void PlayTransition(UiControl* control, gfx::Graphics& target);
    void DrawSurface(gfx::Graphics& target, UiControl* control, bool disabledLook);
    void PlayFrames(int kind, int frames, bool entry, int pauseMs);
    void PumpPending();

    NativeWindow window_{};
    bool attached_ = false;    // the window procedure is ours
    plat::WndProc savedProc_;  // the procedure Attach replaced (empty: the default one)
    UiControl* focusControl_ = nullptr;
    UiControl* hoverControl_ = nullptr;
    UiControl* pressedControl_ = nullptr;
    bool captured_ = false;
    bool suspended_ = false;
    // The canvas holds changes no present has shown yet beyond those a run
    // of redraws tracks (a background rendered without a present).
    bool unpresented_ = false;
    UiCanvas canvas_;
    UiCanvas backgroundCanvas_;
    std::optional<NativeWindow> skinDonor_;
    std::shared_ptr<gfx::Bitmap> skinImage_;  // shared with windows that borrow it
    int backgroundColour_ = 0;
    UiControl* firstControl_ = nullptr;
    UiControl* lastControl_ = nullptr;
    int captionFlags_ = 0;
    WindowFrame frameStyle_ = WindowFrame::Rounded;
    int backgroundAlpha_ = -1;
    SkinMode skinMode_ = SkinMode::Natural;
    int frameColour_ = -1;
    bool resizable_ = false;
    bool draggable_ = true;
    bool edgeFade_ = true;
    int closeAnimation_ = 0;
    struct {
        int width = 0, height = 0;
    } size_;
    std::unique_ptr<gfx::Region> frameClip_;
    UiControl* keyboardFocus_ = nullptr;
    bool blurBehind_ = false;
    plat::Hcursor defaultCursor_{};
    Margins skinMargins_;
    UiCanvas fadeCanvas_;
    int fadeAlpha_ = 0;
    bool leaveTracking_ = false;
    std::vector<Mnemonic> mnemonics_;
    std::vector<std::unique_ptr<UiControl>> captionButtons_;
    std::unique_ptr<UiPicture> iconPicture_;
    std::unique_ptr<UiLabel> titleLabel_;
    UiRedrawQueue redrawQueue_;
    HostCallbacks callbacks_;
    bool tooltipRegistered_ = false;
    std::thread::id ownerThread_;
    int presentCount_ = 0;
    int recomposeCount_ = 0;
    std::vector<UiControl*> live_;
    int doubleClickKeys_ = 0;
};

// The resize-border zone of a point; ResizeZone::Move off the border.
plat::ResizeZone ResizeZoneAt(int x, int y, int width, int height);

// The UiWindow attached to a native window, or null.
UiWindow* FindHost(NativeWindow window);

}  // namespace ui
