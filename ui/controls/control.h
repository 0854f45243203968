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
inline constexpr int KIND_MENU_PANEL = 20;
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

// Handed with event 10248 (lParam points to a copy): what a control needs to
// draw a transition frame itself.
struct PaintRecord {
    gfx::Bitmap* hostCanvas = nullptr;
    gfx::Graphics* hostGraphics = nullptr;
    gfx::Bitmap* measuringCanvas = nullptr;
    gfx::Graphics* measuringGraphics = nullptr;
    gfx::Bitmap* surface = nullptr;
    gfx::Bitmap* transitionSnapshot = nullptr;
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
    virtual UiControl* Create(ControlParent parent, RectF rect, int kind, bool visible,
                              std::optional<int> focusable = std::nullopt,
                              std::optional<int> cursorId = std::nullopt,
                              int transitionInterval = 0, int transitionFrames = 0,
                              int transitionStyle = 0);
    virtual UiControl* GetHandle() const { return handle; }
    virtual NativeWindow GetHostWindow() const { return hwnd; }
    virtual UiControl* GetParentControl() const { return parent; }
    virtual void SetParentControl(ControlParent newParent);
    virtual void Destroy();
    virtual RectF Rect(std::optional<RectF> newRect = std::nullopt);
    virtual int Visible(std::optional<int> value = std::nullopt);
    virtual int Disabled(std::optional<int> value = std::nullopt);
    virtual int Focusable(std::optional<int> value = std::nullopt);
    virtual bool HasFocus();
    // Whether the control takes input: shown and not disabled. Hit testing,
    // access keys and the keyboard click ask this.
    bool TakesInput() const { return visible && !disabled; }
    // Whether Tab and SetFocusControl may give it the focus; caption buttons never take it.
    bool TakesFocus() const { return TakesInput() && focusable && kind != KIND_CAPTION_BUTTON; }
    virtual void Redraw();
    virtual void Invalidate();
    virtual void Move(std::optional<float> x, std::optional<float> y = std::nullopt,
                      std::optional<float> width = std::nullopt,
                      std::optional<float> height = std::nullopt, bool redraw = true);
    virtual rt::Text Tooltip(std::optional<rt::Text> text = std::nullopt, bool apply = false);
    virtual void ApplyTooltip(const rt::Text& text);
    virtual void BindEvent(int code, EventHandler handler);
    virtual UiControl* Self() { return this; }
    virtual int Opacity(std::optional<int> value = std::nullopt,
                        std::optional<bool> redraw = std::nullopt);
    virtual int TransitionFrames(std::optional<int> frames = std::nullopt,
                                 std::optional<int> interval = std::nullopt);
    virtual int TransitionInterval(std::optional<int> value = std::nullopt);
    virtual int TransitionFrame() const { return transitionFrame; }
    virtual int TransitionStyle(std::optional<int> value = std::nullopt);
    // Synchronous delivery through the host (message 10258, sent).
    virtual LResult SendEvent(int code, WParam wParam = 0, LParam lParam = 0);
    // Queued delivery through the host (message 10258, posted).
    virtual void PostEvent(int code, WParam wParam = 0, LParam lParam = 0);
    // A system cursor id (IDC_*) loaded with LoadCursor.
    virtual plat::Hcursor Cursor(std::optional<int> systemId = std::nullopt);
    // The isHandle form: stores a cursor handle as it is.
    virtual plat::Hcursor Cursor(plat::Hcursor cursorHandle);
    virtual rt::Text Tag(std::optional<rt::Text> text = std::nullopt);
    virtual int Left(std::optional<float> value = std::nullopt);
    virtual int Top(std::optional<float> value = std::nullopt);
    virtual int Width(std::optional<float> value = std::nullopt);
    virtual int Height(std::optional<float> value = std::nullopt);
    // position 2: head of the list (drawn first, underneath); otherwise the tail.
    virtual void SetZOrder(std::optional<int> position = std::nullopt,
                           std::optional<bool> redraw = std::nullopt);
    virtual void Unlink();
    virtual void SuspendRedraw() { redrawEnabled = false; }
    virtual void ResumeRedraw() { redrawEnabled = true; }
    virtual void OnTransitionTimer();
    virtual void OnBeginPaint(PaintContext& context) { (void)context; }
    virtual void OnEndPaint(PaintContext& context) { (void)context; }

    // ---- The class's own operations; the first is the message handler ----

    // Decodes the message once and calls the typed hook below. Returns
    // kUnhandled when the message is not handled (default processing).
    virtual LResult HandleMessage(int message, WParam wParam, LParam lParam);

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
        if (transitionOnce) transitionFrames = 0;
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

    // ---- Shared machinery ----

    // Event dispatch: HandleMessage, then the first matching binding (515 binds
    // a WM_LBUTTONDOWN carrying DBLCLK_MARK). Returns HandleMessage's answer.
    LResult Dispatch(int code, WParam wParam, LParam lParam);

    // The paint bracket. snapshot=false skips the transition snapshot and the
    // clearing of the surface.
    PaintContext BeginControlPaint(bool snapshot = true);
    void EndControlPaint(PaintContext& context);

    // ---- Fields ----
    NativeWindow hwnd{};
    UiControl* handle = nullptr;
    UiControl* parent = nullptr;
    bool visible = false;
    bool disabled = false;
    bool focusable = false;
    bool redrawEnabled = false;
    plat::Hcursor cursor = nullptr;
    std::vector<std::pair<int, EventHandler>> eventTable;
    RectF rect;
    rt::Text tooltip;
    rt::Text tag;
    int kind = 0;
    UiControl* firstChild = nullptr;
    UiControl* lastChild = nullptr;
    UiControl* prevSibling = nullptr;
    UiControl* nextSibling = nullptr;
    int transitionFrame = 0;
    std::unique_ptr<gfx::Bitmap> surface;
    std::unique_ptr<gfx::Graphics> graphics;
    UiWindow* host = nullptr;
    int opacity = 0;
    std::unique_ptr<gfx::Bitmap> transitionSnapshot;
    int transitionInterval = 0;
    RectF previousRect;
    int transitionFrames = 0;
    int transitionStyle = 0;
    // Set by the concrete controls: each transition plays once (see OnTransitionFinished).
    bool transitionOnce = false;

private:
    void CreateSurface(int width, int height);
    void AppendTo(UiControl* newParent);
    void ShiftDescendants(float dx, float dy);
};

// Timer id of a control's transition timer (handle + 1).
TimerId TransitionTimerId(const UiControl* control);

}  // namespace ui
