// The core's records: windows, thread queues and the process-wide window
// table (the one piece of process-wide state a window system has). Every
// field is guarded by State::mu unless noted.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/core/backend.h"
#include "platform/platform.h"
#include "runtime/sync.h"

namespace plat::core {

struct SentItem {
    MSG msg;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
    Hwnd hwnd = nullptr;
    std::uintptr_t id = 0;
    std::uint32_t interval = 0;
    std::uint64_t due = 0;
    TimerProc proc;
    std::function<void()> internal;  // the layer's own timers (tooltip)
};

struct Caret {
    Hwnd hwnd = nullptr;
    int width = 0;
    int height = 0;
    POINT pos;
    bool visible = false;
    RECT drawn;  // area where it is drawn now (empty: not drawn)
};

// An input message with the key state as it was when the input happened;
// retrieving it makes that the thread's key state (GetKeyState).
struct InputItem {
    MSG msg;
    std::array<std::uint8_t, 256> keys{};
};

struct ThreadQueue : std::enable_shared_from_this<ThreadQueue> {
    std::thread::id thread;
    std::deque<MSG> posted;
    std::deque<InputItem> input;
    bool hasSyncKeys = false;
    std::array<std::uint8_t, 256> syncKeys{};
    std::deque<std::shared_ptr<SentItem>> sent;
    std::vector<Timer> timers;
    bool quit = false;
    int quitCode = 0;
    bool wakePending = false;
    int inSendFromOther = 0;
    Caret caret;
    std::unique_ptr<NativeQueue> native;
    rt::Condition cv;  // used by backends that wait on the core lock
    bool alive = true;
};

struct WindowRecord {
    std::uintptr_t id = 0;
    Hwnd handle = nullptr;
    std::shared_ptr<ThreadQueue> queue;
    std::string className;
    UINT classStyle = 0;
    Hcursor classCursor = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LPARAM userData = 0;
    Hwnd owner = nullptr;
    RECT rect;
    RECT restoreRect;
    bool visible = false;
    bool zoomed = false;
    bool iconic = false;
    bool internalNoActivate = false;
    bool destroying = false;
    rt::Text text;
    Hicon smallIcon = nullptr;
    Hicon bigIcon = nullptr;
    std::map<std::string, std::intptr_t> props;
    WndProc proc;
    // Painting.
    bool updatePending = false;
    RECT update;
    // The last presented picture without the caret.
    int picWidth = 0;
    int picHeight = 0;
    std::vector<std::uint32_t> picture;
    int presentCount = 0;
    bool hasRegion = false;
    Region region;
    bool blur = false;
    bool blurHasRegion = false;
    Region blurRegion;
    // Input method.
    bool imeAttached = true;
    std::string compositionResult;  // UTF-8 of the composition being handled
    POINT imeSpot;
    std::vector<IconImage> icons;
    std::unique_ptr<NativeWindow> native;
};

struct TooltipTool {
    Hwnd hwnd = nullptr;
    std::uintptr_t id = 0;
    RECT rect;
    rt::Text text;
};

struct MoveSize {
    bool active = false;
    Hwnd hwnd = nullptr;
    ResizeZone zone = ResizeZone::Move;
    POINT start;
    RECT startRect;
    POINT minTrack;
};

struct State {
    rt::Mutex mu;
    std::uintptr_t nextId = 1;
    std::map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows;
    std::vector<Hwnd> zorder;  // top first
    std::map<std::string, WNDCLASS> classes;
    std::vector<std::weak_ptr<ThreadQueue>> queues;
    // Each live thread's queue, by thread: the thread's reference, released
    // when the thread ends.
    std::map<std::thread::id, std::shared_ptr<ThreadQueue>> threadQueues;
    // Input state (process-wide, as the window system's).
    std::uint8_t keys[256] = {};  // bit 7 down, bit 0 toggle
    Hwnd capture = nullptr;
    Hwnd menuGrab = nullptr;  // GrabInput
    Hwnd active = nullptr;
    Hwnd focus = nullptr;
    Hwnd hover = nullptr;  // window under the pointer
    Hwnd trackLeave = nullptr;
    POINT cursor;
    int cursorId = IDC_ARROW;
    // Double clicks.
    Hwnd lastClickHwnd = nullptr;
    int lastClickButton = -1;
    std::uint64_t lastClickTime = 0;
    POINT lastClickPos;
    bool lastClickWasDouble = false;
    // Tooltip.
    std::vector<TooltipTool> tools;
    Hwnd tipWindow = nullptr;
    Hwnd tipHost = nullptr;  // window whose tool is armed or shown
    std::uintptr_t tipId = 0;
    bool tipShown = false;
    bool tipSuppressed = false;  // after a press, until the pointer leaves the tool
    MoveSize moveSize;
    // What new windows are known by on the desktop.
    std::string appName = "seeker";
    std::string appClass = "seeker";
};

State& CoreState();

// The record of a live window, or null. Needs the lock.
WindowRecord* Find(Hwnd hwnd);

// Runs `fn` on the record of a live window under the lock and returns its
// result; `fallback` when the window is dead. Takes the lock itself.
template <typename Fn, typename R = std::invoke_result_t<Fn&, WindowRecord&>>
R WithWindow(Hwnd hwnd, std::type_identity_t<R> fallback, Fn&& fn) {
    std::lock_guard lk(CoreState().mu);
    WindowRecord* rec = Find(hwnd);
    if (rec == nullptr) return fallback;
    return fn(*rec);
}

// The same for `fn` without a result: true when the window was live.
template <typename Fn>
bool WithWindow(Hwnd hwnd, Fn&& fn) {
    std::lock_guard lk(CoreState().mu);
    WindowRecord* rec = Find(hwnd);
    if (rec == nullptr) return false;
    fn(*rec);
    return true;
}
inline Hwnd HandleOf(std::uintptr_t id) { return reinterpret_cast<Hwnd>(id); }

// The calling thread's queue (created on first use).
std::shared_ptr<ThreadQueue> CurrentQueue();
bool IsOwnerThread(const WindowRecord& rec);
bool IsOwnerThreadOf(Hwnd hwnd);  // takes the lock

// Wakes a queue's thread; needs the lock.
void WakeLocked(ThreadQueue& q);

// Queues an input message for a window's thread; needs the lock.
void QueueInputLocked(WindowRecord& rec, MSG msg);
void PostLocked(WindowRecord& rec, MSG msg);

// Delivers a message now when the caller owns the window, else posts it.
// Called without the lock.
void Deliver(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Internal timers (no WM_TIMER; the function runs in the owner's loop).
void SetInternalTimerLocked(WindowRecord& rec, std::uintptr_t id, std::uint32_t ms,
                            std::function<void()> fn);
void KillInternalTimerLocked(WindowRecord& rec, std::uintptr_t id);

// Redraws the caret of `q` into its window's display (needs the lock).
void RefreshCaretLocked(ThreadQueue& q);
// Pushes rectangles of a window's picture with the caret over it (and the
// caret's old place).
void RepaintLocked(WindowRecord& rec, std::span<const RECT> rects);
inline void RepaintLocked(WindowRecord& rec, const RECT& rect) {
    RepaintLocked(rec, std::span(&rect, 1));
}
// Sets the alpha of `rect` in a display buffer `width` pixels wide to full,
// as a backend does for an ordinary (not layered) window before showing it.
void MakeOpaque(std::uint32_t* pixels, int width, const RECT& rect);

// Geometry change from the layer or the window system: stores the rectangle
// and sends WM_MOVE / WM_SIZE. Called without the lock.
void ApplyGeometry(Hwnd hwnd, const RECT& rect, bool fromNative);

// Activation and focus changes (without the lock).
void Activate(Hwnd hwnd, bool clickActivate, bool tellNative);
void Deactivate(Hwnd hwnd);

// Tooltip helpers, called by the input path without the lock.
void TooltipMouse(Hwnd hwnd, POINT client, UINT msg);
void TooltipLeave(Hwnd hwnd);
void TooltipWindowDestroyed(Hwnd hwnd);

// Move/size loop of the layer's own; true when the mouse event was eaten.
bool MoveSizeMouse(POINT screen, bool buttonUp);
void StartMoveSize(Hwnd hwnd, ResizeZone zone);

// Maximise / restore / minimise.
void Maximize(Hwnd hwnd);
void Restore(Hwnd hwnd);
void Minimize(Hwnd hwnd);

// Clamped intersection / union helpers.
RECT Intersect(const RECT& a, const RECT& b);
RECT Union(const RECT& a, const RECT& b);

}  // namespace plat::core
