#include "tests/platform/win32/native_probe.h"

#include "platform/win32/win32.h"
#include "runtime/codepage.h"

#include <cstring>

namespace platform_win32_test {

namespace {

void Send(INPUT input) { ::SendInput(1, &input, sizeof input); }

std::wstring Wide(const std::string& utf8) {
    std::u16string w = rt::MultiByteToWide(rt::kCodePageUtf8, utf8);
    return std::wstring(w.begin(), w.end());
}

plat::RECT Rect(const ::RECT& r) { return plat::RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void MovePointer(int x, int y) {
    // Absolute moves are in 0 .. 65535 across the primary screen.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65536 + 32768) / ::GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = static_cast<LONG>((y * 65536 + 32768) / ::GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(in);
}

void LeftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    Send(in);
}

void Key(int vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(vk);
    in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(in);
}

void TypeCharacter(char16_t character) {
    for (bool down : {true, false}) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = character;
        in.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
        Send(in);
    }
}

std::uint32_t ScreenPixel(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

NativeWindowInfo NativeWindow(const rt::Text& title) {
    NativeWindowInfo info;
    HWND w = ::FindWindowW(nullptr, Wide(rt::Cp936ToUtf8(title)).c_str());
    if (w == nullptr) return info;
    info.found = true;
    info.visible = ::IsWindowVisible(w) != FALSE;
    info.layered = (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    info.hasBigIcon = ::SendMessageW(w, WM_GETICON, ICON_BIG, 0) != 0;
    info.hasSmallIcon = ::SendMessageW(w, WM_GETICON, ICON_SMALL, 0) != 0;
    ::RECT r{};
    ::GetWindowRect(w, &r);
    info.rect = Rect(r);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(w, region) != ERROR) {
        ::GetRgnBox(region, &r);
        info.regionBox = Rect(r);
    }
    ::DeleteObject(region);
    return info;
}

bool SetNativeClipboard(const std::string& utf8) {
    std::wstring text = Wide(utf8);
    std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    bool set = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    ::CloseClipboard();
    return set;
}

std::optional<std::string> NativeClipboard() {
    if (!::OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE memory = ::GetClipboardData(CF_UNICODETEXT)) {
        const auto* data = static_cast<const char16_t*>(::GlobalLock(memory));
        text = rt::WideToMultiByte(rt::kCodePageUtf8, data);
        ::GlobalUnlock(memory);
    }
    ::CloseClipboard();
    return text;
}

}  // namespace platform_win32_test
