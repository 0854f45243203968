// Tooltips: registered rectangles of windows, a hover delay, and one small
// top-most popup that shows the text near the pointer.
#include <algorithm>

#include "platform/core/chrome.h"
#include "platform/core/state.h"

namespace plat::core {

namespace {

constexpr const char* kTooltipClass = "tooltips_class32";
constexpr std::uintptr_t kShowTimer = 1;
constexpr std::uintptr_t kPopTimer = 2;

const TooltipTool* ToolAtLocked(Hwnd hwnd, POINT client) {
    const TooltipTool* found = nullptr;
    for (const TooltipTool& t : CoreState().tools) {
        if (t.hwnd != hwnd) continue;
        if (client.x >= t.rect.left && client.x < t.rect.right && client.y >= t.rect.top &&
            client.y < t.rect.bottom)
            found = &t;  // the latest registered tool wins where tools overlap
    }
    return found;
}

void HideLocked(Hwnd& toHide) {
    auto& s = CoreState();
    if (WindowRecord* host = Find(s.tipHost)) {
        KillInternalTimerLocked(*host, kShowTimer);
        KillInternalTimerLocked(*host, kPopTimer);
    }
    if (s.tipShown) toHide = s.tipWindow;
    s.tipShown = false;
}

void HideNow(Hwnd toHide) {
    if (toHide != nullptr) ShowWindow(toHide, SW_HIDE);
}

Hwnd EnsureTipWindow() {
    Hwnd tip;
    {
        std::lock_guard lk(CoreState().mu);
        tip = CoreState().tipWindow;
        if (WindowRecord* rec = Find(tip); rec != nullptr && IsOwnerThread(*rec)) return tip;
    }
    if (!IsClassRegistered(kTooltipClass)) {
        WNDCLASS wc;
        wc.style = 0;
        wc.lpszClassName = kTooltipClass;
        RegisterClass(wc);
    }
    tip = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kTooltipClass, "",
                         WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
    std::lock_guard lk(CoreState().mu);
    CoreState().tipWindow = tip;
    return tip;
}

// Runs on the host's thread when the hover delay has passed.
void ShowTip() {
    rt::Text text;
    POINT cursor;
    Hwnd host;
    {
        std::lock_guard lk(CoreState().mu);
        auto& s = CoreState();
        host = s.tipHost;
        if (WindowRecord* rec = Find(host)) KillInternalTimerLocked(*rec, kShowTimer);
        for (const TooltipTool& t : s.tools)
            if (t.hwnd == s.tipHost && t.id == s.tipId) text = t.text;
        cursor = s.cursor;
        if (text.empty() || s.tipSuppressed) return;
    }
    Hwnd tip = EnsureTipWindow();
    if (tip == nullptr) return;
    ChromeImage img = DrawTooltip(text);
    RECT work = GetWorkArea();
    int x = std::clamp(cursor.x, work.left, std::max(work.left, work.right - img.width));
    int y = cursor.y + 20;
    if (y + img.height > work.bottom) y = cursor.y - img.height - 4;
    MoveWindow(tip, x, y, img.width, img.height, false);
    Present(tip, img.pixels.data(), img.width * 4, img.width, img.height, nullptr);
    ShowWindow(tip, SW_SHOWNA);
    std::lock_guard lk(CoreState().mu);
    CoreState().tipShown = true;
    if (WindowRecord* rec = Find(host)) {
        SetInternalTimerLocked(*rec, kPopTimer, kTooltipAutoPop, [] {
            Hwnd toHide = nullptr;
            {
                std::lock_guard lk2(CoreState().mu);
                HideLocked(toHide);
                CoreState().tipSuppressed = true;
            }
            HideNow(toHide);
        });
    }
}

}  // namespace

void TooltipMouse(Hwnd hwnd, POINT client, UINT msg) {
    Hwnd toHide = nullptr;
    {
        std::lock_guard lk(CoreState().mu);
        auto& s = CoreState();
        if (hwnd == s.tipWindow) return;
        const TooltipTool* tool = ToolAtLocked(hwnd, client);
        bool press = msg != WM_MOUSEMOVE;
        bool same = tool != nullptr && s.tipHost == hwnd && s.tipId == tool->id;
        if (press) {
            HideLocked(toHide);
            s.tipSuppressed = true;
            if (tool != nullptr) {
                s.tipHost = hwnd;
                s.tipId = tool->id;
            }
        } else if (!same) {
            HideLocked(toHide);
            s.tipSuppressed = false;
            s.tipHost = tool != nullptr ? hwnd : nullptr;
            s.tipId = tool != nullptr ? tool->id : 0;
            if (tool != nullptr) {
                if (WindowRecord* rec = Find(hwnd))
                    SetInternalTimerLocked(*rec, kShowTimer, kTooltipInitialDelay, ShowTip);
            }
        }
    }
    HideNow(toHide);
}

void TooltipLeave(Hwnd hwnd) {
    Hwnd toHide = nullptr;
    {
        std::lock_guard lk(CoreState().mu);
        if (CoreState().tipHost != hwnd) return;
        HideLocked(toHide);
        CoreState().tipHost = nullptr;
        CoreState().tipId = 0;
        CoreState().tipSuppressed = false;
    }
    HideNow(toHide);
}

void TooltipWindowDestroyed(Hwnd hwnd) {
    std::lock_guard lk(CoreState().mu);
    auto& s = CoreState();
    s.tools.erase(std::remove_if(s.tools.begin(), s.tools.end(),
                                 [&](const TooltipTool& t) { return t.hwnd == hwnd; }),
                  s.tools.end());
    if (s.tipHost == hwnd) {
        s.tipHost = nullptr;
        s.tipShown = false;
    }
    if (s.tipWindow == hwnd) {
        s.tipWindow = nullptr;
        s.tipShown = false;
    }
}

}  // namespace plat::core

namespace plat {

using namespace core;

bool SetTooltip(Hwnd hwnd, std::uintptr_t id, const RECT& rect, const rt::Text& text) {
    if (text.empty()) return RemoveTooltip(hwnd, id);
    bool refresh = false;
    {
        std::lock_guard lk(CoreState().mu);
        auto& s = CoreState();
        if (Find(hwnd) == nullptr) return false;
        auto it = std::find_if(s.tools.begin(), s.tools.end(),
                               [&](const TooltipTool& t) { return t.hwnd == hwnd && t.id == id; });
        if (it == s.tools.end()) {
            s.tools.push_back(TooltipTool{hwnd, id, rect, text});
        } else {
            refresh = s.tipShown && s.tipHost == hwnd && s.tipId == id && it->text != text;
            it->rect = rect;
            it->text = text;
        }
    }
    // A shown tip whose text changed is redrawn in place.
    if (refresh) ShowTip();
    return true;
}

bool RemoveTooltip(Hwnd hwnd, std::uintptr_t id) {
    Hwnd toHide = nullptr;
    {
        std::lock_guard lk(CoreState().mu);
        auto& s = CoreState();
        auto it = std::find_if(s.tools.begin(), s.tools.end(),
                               [&](const TooltipTool& t) { return t.hwnd == hwnd && t.id == id; });
        if (it == s.tools.end()) return false;
        s.tools.erase(it);
        if (s.tipHost == hwnd && s.tipId == id) {
            HideLocked(toHide);
            s.tipHost = nullptr;
            s.tipId = 0;
        }
    }
    HideNow(toHide);
    return true;
}

Hwnd GetTooltipWindow() {
    std::lock_guard lk(CoreState().mu);
    return CoreState().tipWindow;
}

}  // namespace plat
