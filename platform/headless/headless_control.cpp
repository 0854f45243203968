// Test control of the in-memory backend.
#include "platform/headless/headless_control.h"

#include "platform/core/events.h"
#include "platform/core/state.h"
#include "platform/headless/headless_backend.h"

namespace plat::headless {

using detail::HeadlessShared;
using detail::HeadlessWindow;
using namespace plat::core;

namespace {

POINT Cursor() {
    POINT p;
    GetCursorPos(&p);
    return p;
}

// Virtual-key code and Shift state that type an ASCII character on a US
// keyboard; 0 for characters without a key of their own.
int VkForChar(char32_t c, bool* shift) {
    *shift = false;
    if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') {
        *shift = true;
        return static_cast<int>(c);
    }
    if (c >= '0' && c <= '9') return static_cast<int>(c);
    switch (c) {
    case ' ': return VK_SPACE;
    case '\r':
    case '\n': return VK_RETURN;
    case '\t': return VK_TAB;
    case '-': return VK_OEM_MINUS;
    case '=': return VK_OEM_PLUS;
    case ',': return VK_OEM_COMMA;
    case '.': return VK_OEM_PERIOD;
    case '/': return VK_OEM_2;
    case ';': return VK_OEM_1;
    case '\'': return VK_OEM_7;
    case '_': *shift = true; return VK_OEM_MINUS;
    case '+': *shift = true; return VK_OEM_PLUS;
    case '?': *shift = true; return VK_OEM_2;
    case ':': *shift = true; return VK_OEM_1;
    default: return 0;
    }
}

}  // namespace

DWORD Now() { return static_cast<DWORD>(HeadlessShared().clock.load()); }

void AdvanceClock(DWORD ms) {
    HeadlessShared().clock += ms;
    std::lock_guard lk(CoreState().mu);
    for (auto& weak : CoreState().queues)
        if (auto q = weak.lock()) WakeLocked(*q);
}

void SetScreen(int width, int height, RECT workArea) {
    std::lock_guard lk(HeadlessShared().mu);
    HeadlessShared().screen = SIZE{width, height};
    HeadlessShared().workArea = workArea;
}

void SetComposited(bool composited) {
    std::lock_guard lk(HeadlessShared().mu);
    HeadlessShared().composited = composited;
}

// A menu grab gets what lies outside every window, as on a real display.
void MouseMove(int x, int y) { events::MouseMove(GetInputGrab(), POINT{x, y}); }

void MouseButton(int button, bool down) {
    events::MouseButton(GetInputGrab(), button, down, Cursor());
}

void Click(int x, int y) {
    MouseMove(x, y);
    MouseButton(0, true);
    MouseButton(0, false);
}

void Wheel(int notches) { events::Wheel(nullptr, notches * WHEEL_DELTA, Cursor()); }

void Key(int vk, bool down, const std::string& chars) { events::Key(nullptr, vk, down, chars); }

void KeyPress(int vk, const std::string& chars) {
    Key(vk, true, chars);
    Key(vk, false);
}

void TypeText(const std::string& utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        std::string ch = utf8.substr(i, len);
        i += len;
        bool shift = false;
        int vk = len == 1 ? VkForChar(c, &shift) : 0;
        if (vk == 0) vk = VK_PACKET;
        if (shift) Key(VK_SHIFT, true);
        KeyPress(vk, ch);
        if (shift) Key(VK_SHIFT, false);
    }
}

void CommitComposition(const std::string& utf8) { events::Commit(nullptr, utf8); }

void MouseLeaveAll() { events::PointerLeft(nullptr); }

int PumpMessages() {
    int n = 0;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
        ++n;
    }
    return n;
}

Picture Presented(Hwnd hwnd) {
    Picture p;
    WithWindow(hwnd, [&](WindowRecord& rec) {
        auto* n = static_cast<HeadlessWindow*>(rec.native.get());
        p.width = n->width;
        p.height = n->height;
        p.pixels = n->display;
    });
    return p;
}

int PresentCount(Hwnd hwnd) {
    return WithWindow(hwnd, 0, [](WindowRecord& rec) { return rec.presentCount; });
}

Region WindowRegion(Hwnd hwnd) {
    return WithWindow(hwnd, Region{},
                      [](WindowRecord& rec) { return rec.hasRegion ? rec.region : Region{}; });
}

bool BlurBehind(Hwnd hwnd) {
    return WithWindow(hwnd, false, [](WindowRecord& rec) { return rec.blur; });
}

std::vector<Hwnd> Windows() {
    std::lock_guard lk(CoreState().mu);
    return CoreState().zorder;
}

int CurrentCursorId() {
    std::lock_guard lk(CoreState().mu);
    return CoreState().cursorId;
}

POINT ImeSpot(Hwnd hwnd) {
    return WithWindow(hwnd, POINT{}, [&](WindowRecord& rec) -> POINT {
        return static_cast<HeadlessWindow*>(rec.native.get())->imeSpot;
    });
}

WindowIdentity Identity(Hwnd hwnd) {
    return WithWindow(hwnd, WindowIdentity{}, [](WindowRecord& rec) {
        auto* n = static_cast<HeadlessWindow*>(rec.native.get());
        return WindowIdentity{n->appName, n->appClass, n->icons};
    });
}

void SetMessageBoxAutoClose(bool autoClose) {
    std::lock_guard lk(HeadlessShared().mu);
    HeadlessShared().messageBoxAutoClose = autoClose;
}

std::vector<ShownMessageBox> ShownMessageBoxes() {
    std::lock_guard lk(HeadlessShared().mu);
    return HeadlessShared().boxes;
}

void Reset() {
    auto q = CurrentQueue();
    std::vector<Hwnd> mine;
    {
        std::lock_guard lk(CoreState().mu);
        for (auto& [id, rec] : CoreState().windows)
            if (rec->queue == q) mine.push_back(rec->handle);
    }
    for (Hwnd h : mine) DestroyWindow(h);
    {
        std::lock_guard lk(CoreState().mu);
        auto& s = CoreState();
        std::fill(std::begin(s.keys), std::end(s.keys), 0);
        s.capture = s.active = s.focus = s.hover = s.trackLeave = nullptr;
        s.cursor = POINT{};
        s.cursorId = IDC_ARROW;
        s.lastClickHwnd = nullptr;
        s.lastClickButton = -1;
        s.lastClickTime = 0;
        s.lastClickWasDouble = false;
        s.tools.clear();
        s.tipHost = nullptr;
        s.tipShown = false;
        s.tipSuppressed = false;
        s.moveSize = MoveSize{};
        s.appName = s.appClass = "seeker";
        q->posted.clear();
        q->input.clear();
        q->hasSyncKeys = false;
        q->sent.clear();
        q->timers.clear();
        q->quit = false;
        q->caret = Caret{};
    }
    std::lock_guard lk(HeadlessShared().mu);
    HeadlessShared().clipboard.reset();
    HeadlessShared().boxes.clear();
    HeadlessShared().messageBoxAutoClose = true;
    HeadlessShared().composited = true;
    HeadlessShared().screen = SIZE{1920, 1080};
    HeadlessShared().workArea = RECT{0, 0, 1920, 1040};
    HeadlessShared().clock = 10000;
}

}  // namespace plat::headless
