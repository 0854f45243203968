// The layer's own message box: caption, text and an OK button in a modal
// top-most window; the text is also written to standard error.
#include <cstdio>

#include "platform/core/chrome.h"
#include "platform/core/state.h"
#include "runtime/codepage.h"
#include "runtime/fatal.h"

namespace plat {

using namespace core;

namespace {

constexpr const char* kMessageBoxClass = "#32770";

struct BoxState {
    rt::Text caption;
    rt::Text text;
    MessageBoxPicture picture;
    bool pressed = false;
};

void Redraw(Hwnd hwnd, BoxState& box) {
    box.picture = DrawMessageBox(box.caption, box.text, box.pressed);
    const ChromeImage& img = box.picture.image;
    Present(hwnd, img.pixels.data(), img.width * 4, img.width, img.height, nullptr);
}

bool InButton(const BoxState& box, LPARAM l) {
    int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
    const RECT& b = box.picture.button;
    return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

LRESULT BoxProc(BoxState& box, Hwnd hwnd, UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (InButton(box, l)) {
            box.pressed = true;
            SetCapture(hwnd);
            Redraw(hwnd, box);
        } else if (GET_Y_LPARAM(l) < box.picture.captionHeight) {
            SendMessage(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        return 0;
    case WM_LBUTTONUP:
        if (box.pressed) {
            box.pressed = false;
            ReleaseCapture();
            if (InButton(box, l)) {
                DestroyWindow(hwnd);
                return 0;
            }
            Redraw(hwnd, box);
        }
        return 0;
    case WM_KEYDOWN:
        if (w == VK_RETURN || w == VK_ESCAPE || w == VK_SPACE) DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        const ChromeImage& img = box.picture.image;
        Present(hwnd, img.pixels.data(), img.width * 4, img.width, img.height, &ps.rcPaint);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProc(hwnd, msg, w, l);
    }
}

}  // namespace

int MessageBox(Hwnd owner, const rt::Text& text, const rt::Text& caption, UINT type) {
    (void)type;
    BoxState box;
    box.caption = caption;
    box.text = text;
    std::fprintf(stderr, "%s: %s\n", rt::Cp936ToUtf8(caption).c_str(),
                 rt::Cp936ToUtf8(text).c_str());
    std::fflush(stderr);
    backend::MessageBoxShown(caption, text);
    if (!IsClassRegistered(kMessageBoxClass)) {
        WNDCLASS wc;
        wc.style = 0;
        wc.lpszClassName = kMessageBoxClass;
        RegisterClass(wc);
    }
    box.picture = DrawMessageBox(box.caption, box.text, false);
    int w = box.picture.image.width, h = box.picture.image.height;
    RECT area = GetWorkArea();
    if (owner != nullptr && IsWindow(owner)) GetWindowRect(owner, &area);
    int x = area.left + (area.width() - w) / 2;
    int y = area.top + (area.height() - h) / 2;
    Hwnd hwnd = CreateWindowEx(WS_EX_TOPMOST, kMessageBoxClass, caption, WS_POPUP, x, y, w, h,
                               IsWindow(owner) ? owner : nullptr, nullptr);
    if (hwnd == nullptr) return IDOK;
    SetWindowProc(hwnd, [&box](Hwnd h2, UINT m, WPARAM wp, LPARAM lp) {
        return BoxProc(box, h2, m, wp, lp);
    });
    Redraw(hwnd, box);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    if (backend::MessageBoxAutoClose()) PostMessage(hwnd, WM_CLOSE, 0, 0);
    MSG msg;
    while (IsWindow(hwnd)) {
        if (GetMessage(&msg) == 0) {
            // The quit belongs to the caller's loop: hand it back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            DestroyWindow(hwnd);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return IDOK;
}

void InstallMessageReporter() {
    rt::SetMessageReporter([](const std::string& text, const std::string& caption) {
        MessageBox(nullptr, text, caption, MB_OK | MB_ICONERROR);
    });
}

}  // namespace plat
