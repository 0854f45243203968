// UiControl: the common base of every drawn control.
//
// A control is a node in the control tree of one host window. It owns an
// off-screen surface of its own size into which it draws itself; the host
// composes the surfaces into its canvas. The control's address is its handle:
// it is what events carry, what sibling links hold and what focus and hover
// compare.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/text.h"
#include "ui/core/types.h"

namespace ui {

class UiWindow;

// Library event codes, delivered to controls like window messages.
inline constexpr int EV_FOCUS_GAINED = 10240;  // lParam: control that lost the focus
inline constexpr int EV_FOCUS_LOST = 10241;    // lParam: control that gets the focus
inline constexpr int EV_MOUSE_ENTERED = 10242;
inline constexpr int EV_MOUSE_LEFT = 10243;  // also raised when the control is disabled
inline constexpr int EV_CLICK = 10244;       // wParam: handle
inline constexpr int EV_RESIZED = 10245;     // wParam width, lParam height
inline constexpr int EV_HIDDEN = 10246;
inline constexpr int EV_SHOWN = 10247;
inline constexpr int EV_TRANSITION_FRAME = 10248;  // lParam: PaintRecord*; answer >= 1: drawn
inline constexpr int EV_PRESS_QUERY = 10250;       // answer != -1: capture even if not focusable
inline constexpr int EV_DISABLED_LOOK =
    10254;  // answer -1: draw a disabled control at half opacity
inline constexpr int EV_HAS_FOCUS = 10260;
inline constexpr int EV_OPACITY_CHANGED = 10261;  // lParam: new opacity
inline constexpr int EV_RECACHE = 10262;          // the host redraws its whole tree
inline constexpr int EV_TRANSITION_STARTED = 10263;
inline constexpr int EV_TRANSITION_FINISHED = 10264;

// Marks a WM_LBUTTONDOWN the host synthesised from a double click.
inline constexpr WParam DBLCLK_MARK = 10086;

// Kind codes set by the concrete classes.
inline constexpr int KIND_CAPTION_BUTTON = 1;
inline constexpr int KIND_BUTTON = 2;
inline constexpr int KIND_LABEL = 3;
inline constexpr int KIND_PICTURE = 4;
inline constexpr int KIND_LIST_VIEW = 8;
inline constexpr int KIND_EDIT = 9;
inline constexpr int KIND_CHECK_BOX = 10;
inline constexpr int KIND_PROGRESS_BAR = 12;
inline constexpr int KIND_GROUP_BOX = 16;
inline constexpr int KIND_SCROLL_BAR = 19;
inline constexpr int KIND_MENU_ROW = 20;
inline constexpr int KIND_SURFACELESS = 21;  // 1 x 1 surface, never re-created on resize

class UiControl;

// Bound event handler. `parent` is the control's parent control, or null for a
// control that sits directly in the host window. The return value is ignored.
using EventHandler = std::function<void(UiControl* parent, UiControl* control, int code,
                                        WParam wParam, LParam lParam)>;

// Where a control is created: a native window that carries a host, or a parent
// control.
struct ControlParent {
    ControlParent(NativeWindow w) : window(w) {}  // NOLINT: implicit by design
    ControlParent(UiControl* c) : control(c) {}   // NOLINT: implicit by design
    NativeWindow window{};
    UiControl* control = nullptr;
};

// What BeginControlPaint hands to the drawing code of a control.
struct PaintContext {
    NativeWindow window{};
    gfx::Graphics* graphics = nullptr;  // the control's own graphics
    RectF area;                         // the area to paint, in surface coordinates
    UiWindow* host = nullptr;
    UiControl* hostFirstControl = nullptr;
    gfx::Bitmap* surface = nullptr;
};

// Handed with EV_TRANSITION_FRAME (lParam points to a copy): what a control needs to
// draw a transition frame itself.
struct PaintRecord {
    gfx::Bitmap* hostCanvas = nullptr;
    gfx::Graphics* hostGraphics = nullptr;
    gfx::Bitmap* measuringCanvas = nullptr;
    gfx::Graphics* measuringGraphics = nullptr;
    const gfx::Bitmap* surface = nullptr;
    const gfx::Bitmap* transitionSnapshot = nullptr;
    RectF rect;
    RectF clipBefore;
    int transitionFrame = 0;
    int transitionFrames = 0;
};

// Default processing: a hook or handler that does not take a message answers this.
inline constexpr LResult kUnhandled = -1;

enum class MouseButton { None, Left, Right };

// A mouse message decoded: the position in the host window's client
// coordinates (as the host delivers it; the control's rect is in the same
// space), the MK_* key state with the modifier keys held, and for a left
// press whether the host synthesised it from a double click.
struct MouseEvent {
    int x = 0;
    int y = 0;
    int keys = 0;
    MouseButton button = MouseButton::None;
    bool doubleClick = false;
    bool Ctrl() const { return (keys & plat::MK_CONTROL) != 0; }
    bool Shift() const { return (keys & plat::MK_SHIFT) != 0; }
};

// A key message decoded: the virtual-key code and the modifier keys held
// when the key arrived.
struct KeyEvent {
    int key = 0;
    bool ctrl = false;
    bool shift = false;
};

class UiControl {
public:
    UiControl();
    // Derived classes call Destroy() in their own destructor so that their
    // HandleMessage still sees WM_DESTROY; this one only catches the rest.
    virtual ~UiControl();
    UiControl(const UiControl&) = delete;
    UiControl& operator=(const UiControl&) = delete;

    // ---- Base operations, in their fixed order ----

    // Creates the node. On a control already created it changes nothing and
    // returns the handle. Returns null when the parent is not a host window or
    // a parent control belongs to another host.
    UiControl* Create(ControlParent parent, RectF rect, int kind, bool visible,
                      std::optional<int> focusable = std::nullopt,
                      std::optional<int> cursorId = std::nullopt, int transitionInterval = 0,
                      int transitionFrames = 0, int transitionStyle = 0);
    UiControl* GetHandle() const { return handle_; }
    NativeWindow GetHostWindow() const { return hwnd_; }
    UiControl* GetParentControl() const { return parent_; }
    void SetParentControl(ControlParent newParent);
    void Destroy();
    // Each property reads without an argument and sets with one.
    RectF Rect() const { return rect_; }
    RectF Rect(RectF newRect);
    int Visible() const { return visible_ ? 1 : 0; }
    int Visible(int value);
    int Disabled() const { return disabled_ ? 1 : 0; }
    int Disabled(int value);
    int Focusable() const { return focusable_ ? 1 : 0; }
    int Focusable(int value);
    bool HasFocus();
    // Whether the control takes input: it and every control it sits in are
    // shown and not disabled. Hit testing, access keys and the keyboard click
    // ask this.
    bool TakesInput() const {
        return visible_ && !disabled_ && (!parent_ || parent_->TakesInput());
    }
    // Whether Tab and SetFocusControl may give it the focus.
    bool TakesFocus() const { return TakesInput() && focusable_; }
    void Redraw();
    void Invalidate();
    void Move(std::optional<float> x, std::optional<float> y = std::nullopt,
              std::optional<float> width = std::nullopt, std::optional<float> height = std::nullopt,
              bool redraw = true);
    const rt::Text& Tooltip() const { return tooltip_; }
    // Stores the text when given; `apply` registers the text kept with the host.
    rt::Text Tooltip(std::optional<rt::Text> text, bool apply = false);
    void ApplyTooltip(const rt::Text& text);
    void BindEvent(int code, EventHandler handler);
    UiControl* Self() { return this; }
    int Opacity() const { return opacity_; }
    int Opacity(int value, bool redraw = true);
    int TransitionFrames() const { return transitionFrames_; }
    int TransitionFrames(int frames, std::optional<int> interval = std::nullopt);
    int TransitionInterval() const { return transitionInterval_; }
    int TransitionInterval(int value);
    int TransitionFrame() const { return transitionFrame_; }
    int TransitionStyle() const { return transitionStyle_; }
    int TransitionStyle(int value);
    // Synchronous delivery through the host (HM_DELIVER_EVENT, sent).
    LResult SendEvent(int code, WParam wParam = 0, LParam lParam = 0);
    // Queued delivery through the host (HM_DELIVER_EVENT, posted).
    void PostEvent(int code, WParam wParam = 0, LParam lParam = 0);
    plat::Hcursor Cursor() const { return cursor_; }
    // A system cursor id (IDC_*) loaded with LoadCursor.
    plat::Hcursor Cursor(int systemId);
    // The isHandle form: stores a cursor handle as it is.
    plat::Hcursor Cursor(plat::Hcursor cursorHandle);
    const rt::Text& Tag() const { return tag_; }
    rt::Text Tag(const rt::Text& text);
    int Left() const { return static_cast<int>(rect_.x); }
    int Left(float value);
    int Top() const { return static_cast<int>(rect_.y); }
    int Top(float value);
    int Width() const { return static_cast<int>(rect_.width); }
    int Width(float value);
    int Height() const { return static_cast<int>(rect_.height); }
    int Height(float value);
    // position 2: head of the list (drawn first, underneath); otherwise the tail.
    void SetZOrder(std::optional<int> position = std::nullopt, bool redraw = true);
    void Unlink();
    void SuspendRedraw() { redrawEnabled_ = false; }
    void ResumeRedraw() { redrawEnabled_ = true; }
    // The transition timer's procedure (the host calls it).
    void OnTransitionTimer();

    // ---- The class's own operations; the first is the message handler ----

    // Decodes the message once and calls the typed hook below. Returns
    // kUnhandled when the message is not handled (default processing).
    virtual LResult HandleMessage(int message, WParam wParam, LParam lParam);

    // ---- Shared machinery ----

    // Event dispatch: HandleMessage, then the first matching binding (a
    // binding for WM_LBUTTONDBLCLK takes the press marked DBLCLK_MARK).
    // Returns HandleMessage's answer.
    LResult Dispatch(int code, WParam wParam, LParam lParam);

    // ---- What the host, the tree walks and tests read ----
    int Kind() const { return kind_; }
    UiWindow* Host() const { return host_; }
    UiControl* FirstChild() const { return firstChild_; }
    UiControl* LastChild() const { return lastChild_; }
    UiControl* PrevSibling() const { return prevSibling_; }
    UiControl* NextSibling() const { return nextSibling_; }
    // The rectangle before the last move.
    RectF PreviousRect() const { return previousRect_; }
    bool RedrawEnabled() const { return redrawEnabled_; }
    // What the control drew, and the picture its transition fades from.
    const gfx::Bitmap* Surface() const { return surface_.get(); }
    const gfx::Bitmap* TransitionSnapshot() const { return transitionSnapshot_.get(); }
    std::size_t BindingCount() const { return eventTable_.size(); }

protected:
    // ---- Typed hooks, called by HandleMessage; each answers kUnhandled by default ----

    virtual LResult OnCreate() { return kUnhandled; }
    virtual LResult OnDestroy() { return kUnhandled; }
    virtual LResult OnPaint() { return kUnhandled; }
    virtual LResult OnMouseDown(const MouseEvent&) { return kUnhandled; }  // left or right press
    virtual LResult OnMouseUp(const MouseEvent&) { return kUnhandled; }
    virtual LResult OnMouseMove(const MouseEvent&) { return kUnhandled; }
    virtual LResult OnMouseEnter() { return kUnhandled; }
    virtual LResult OnMouseLeave() { return kUnhandled; }
    // delta: signed, 120 a notch, positive away from the user.
    virtual LResult OnWheel(int delta, int keys) {
        (void)delta, (void)keys;
        return kUnhandled;
    }
    virtual LResult OnKeyDown(const KeyEvent&) { return kUnhandled; }
    virtual LResult OnKeyUp(const KeyEvent&) { return kUnhandled; }
    virtual LResult OnChar(int code) {
        (void)code;
        return kUnhandled;
    }
    // WM_IME_COMPOSITION as it arrives.
    virtual LResult OnComposition(WParam wParam, LParam lParam) {
        (void)wParam, (void)lParam;
        return kUnhandled;
    }
    virtual LResult OnCommand(WParam wParam, LParam lParam) {
        (void)wParam, (void)lParam;
        return kUnhandled;
    }
    // other: the control that lost (gained == true) or gets (gained == false) the focus.
    virtual LResult OnFocus(bool gained, UiControl* other) {
        (void)gained, (void)other;
        return kUnhandled;
    }
    virtual LResult OnClick() { return kUnhandled; }
    virtual LResult OnResize(int width, int height) {
        (void)width, (void)height;
        return kUnhandled;
    }
    // The host has taken note of a new position or size (after Move).
    virtual LResult OnMoved() { return kUnhandled; }
    virtual LResult OnShown(bool shown) {
        (void)shown;
        return kUnhandled;
    }
    virtual LResult OnTimer(TimerId id) {
        (void)id;
        return kUnhandled;
    }
    // A control that fades once per change spends its frames here, so later
    // repaints are immediate.
    virtual LResult OnTransitionFinished() {
        if (transitionOnce_) transitionFrames_ = 0;
        return kUnhandled;
    }
    virtual LResult OnRecache() { return kUnhandled; }
    // Answer != kUnhandled: the host captures the mouse on a press even if
    // the control is not focusable.
    virtual LResult OnPressQuery() { return kUnhandled; }
    // Every message without a hook of its own.
    virtual LResult OnOtherMessage(int message, WParam wParam, LParam lParam) {
        (void)message, (void)wParam, (void)lParam;
        return kUnhandled;
    }
    // Called inside the paint bracket, before and after the control draws.
    virtual void OnBeginPaint(PaintContext& context) { (void)context; }
    virtual void OnEndPaint(PaintContext& context) { (void)context; }

    // The paint bracket. snapshot=false skips the transition snapshot and the
    // clearing of the surface.
    PaintContext BeginControlPaint(bool snapshot = true);
    void EndControlPaint(PaintContext& context);

    // A check box is created as a button and takes its own kind before its set-up.
    void SetKind(int kind) { kind_ = kind; }
    // Set by the concrete controls: each transition plays once (see OnTransitionFinished).
    void PlayTransitionsOnce() { transitionOnce_ = true; }

    // What the concrete controls draw and decide with.
    NativeWindow hwnd_{};
    UiControl* handle_ = nullptr;
    UiControl* parent_ = nullptr;
    bool visible_ = false;
    bool disabled_ = false;
    bool focusable_ = false;
    RectF rect_;
    std::unique_ptr<gfx::Bitmap> surface_;
    std::unique_ptr<gfx::Graphics> graphics_;
    UiWindow* host_ = nullptr;

private:
    // The two ends of the list `owner` keeps its children in (the host's
    // top-level list for null).
    UiControl*& FirstOf(UiControl* owner) const;
    UiControl*& LastOf(UiControl* owner) const;
    void CreateSurface(int width, int height);
    void AppendTo(UiControl* newParent);
    void ShiftDescendants(float dx, float dy);

    bool redrawEnabled_ = false;
    plat::Hcursor cursor_ = nullptr;
    std::vector<std::pair<int, EventHandler>> eventTable_;
    rt::Text tooltip_;
    rt::Text tag_;
    int kind_ = 0;
    UiControl* firstChild_ = nullptr;
    UiControl* lastChild_ = nullptr;
    UiControl* prevSibling_ = nullptr;
    UiControl* nextSibling_ = nullptr;
    int transitionFrame_ = 0;
    int opacity_ = 0;
    std::unique_ptr<gfx::Bitmap> transitionSnapshot_;
    int transitionInterval_ = 0;
    RectF previousRect_;
    int transitionFrames_ = 0;
    int transitionStyle_ = 0;
    bool transitionOnce_ = false;
};

// Timer id of a control's transition timer (handle + 1).
TimerId TransitionTimerId(const UiControl* control);

}  // namespace ui
