// A small window of the platform layer: translucent, drawn with gfx, moved by
// dragging it, its text copied to the clipboard by the button (or Ctrl+C),
// closed by Escape or the close mark. Exits when the window is destroyed.
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/brush.h"
#include "platform/gfx/font.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/path.h"
#include "platform/gfx/pen.h"
#include "platform/gfx/string_format.h"
#include "platform/platform.h"

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 220;
const plat::RECT kCopyButton{290, 160, 400, 196};
const plat::RECT kCloseMark{386, 10, 406, 30};

bool Inside(const plat::RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

gfx::RectF ToRectF(const plat::RECT& r) {
    return gfx::RectF{static_cast<float>(r.left), static_cast<float>(r.top),
                      static_cast<float>(r.width()), static_cast<float>(r.height())};
}

// A rounded rectangle outline as a path.
gfx::Path RoundRect(const gfx::RectF& r, float radius) {
    gfx::Path p;
    float d = radius * 2;
    p.AddArc(r.x, r.y, d, d, 180, 90);
    p.AddArc(r.x + r.width - d, r.y, d, d, 270, 90);
    p.AddArc(r.x + r.width - d, r.y + r.height - d, d, d, 0, 90);
    p.AddArc(r.x, r.y + r.height - d, d, d, 90, 90);
    p.CloseFigure();
    return p;
}

class DemoWindow {
public:
    DemoWindow() : canvas_(kWidth, kHeight) {}

    bool Create() {
        plat::WNDCLASS wc;
        wc.lpszClassName = "PlatformDemo";
        plat::RegisterClass(wc);
        plat::RECT work = plat::GetWorkArea();
        hwnd_ = plat::CreateWindowEx(plat::WS_EX_LAYERED, "PlatformDemo", "平台演示",
                                     plat::WS_POPUP, work.left + (work.width() - kWidth) / 2,
                                     work.top + (work.height() - kHeight) / 2, kWidth, kHeight);
        if (hwnd_ == nullptr) return false;
        plat::SetWindowProc(hwnd_, [this](plat::Hwnd h, plat::UINT m, plat::WPARAM w,
                                          plat::LPARAM l) { return Proc(h, m, w, l); });
        plat::SetTooltip(hwnd_, 1, kCopyButton, "把这段文字复制到剪贴板");
        Draw();
        plat::ShowWindow(hwnd_, plat::SW_SHOWNORMAL);
        return true;
    }

private:
    void Draw() {
        gfx::Graphics g(canvas_);
        g.SetSmoothingMode(gfx::SmoothingMode::AntiAlias);
        g.Clear(0);
        gfx::RectF body{4, 4, kWidth - 8.0f, kHeight - 8.0f};
        g.FillPath(gfx::LinearGradientBrush(body, gfx::MakeColor(215, 30, 60, 90),
                                            gfx::MakeColor(180, 10, 20, 40),
                                            gfx::LinearGradientMode::Vertical),
                   RoundRect(body, 12));
        g.DrawPath(gfx::Pen(gfx::MakeColor(200, 255, 255, 255), 1.5f), RoundRect(body, 12));
        gfx::Font title(gfx::FontFamily::DefaultChineseSans(), 20, gfx::FontStyle::kBold);
        gfx::Font body14(gfx::FontFamily::DefaultChineseSans(), 14);
        g.DrawString("平台层演示", title, gfx::SolidBrush(gfx::MakeColor(255, 255, 255, 255)),
                     gfx::RectF{24, 18, 300, 30});
        g.DrawString(text_, body14, gfx::SolidBrush(gfx::MakeColor(240, 230, 240, 255)),
                     gfx::RectF{24, 64, 370, 80});
        g.FillEllipse(gfx::SolidBrush(gfx::MakeColor(230, 120, 200, 80)),
                      gfx::RectF{26, 160, 34, 34});
        g.DrawLine(gfx::Pen(gfx::MakeColor(255, 255, 255, 255), 2), gfx::PointF{391, 15},
                   gfx::PointF{401, 25});
        g.DrawLine(gfx::Pen(gfx::MakeColor(255, 255, 255, 255), 2), gfx::PointF{401, 15},
                   gfx::PointF{391, 25});
        gfx::RectF button = ToRectF(kCopyButton);
        g.FillPath(gfx::SolidBrush(pressed_ ? gfx::MakeColor(255, 40, 110, 190)
                                            : gfx::MakeColor(255, 60, 140, 220)),
                   RoundRect(button, 6));
        gfx::StringFormat centre;
        centre.SetAlignment(gfx::StringAlignment::Center);
        centre.SetLineAlignment(gfx::StringAlignment::Center);
        g.DrawString(copied_ ? "已复制" : "复制文字", body14,
                     gfx::SolidBrush(gfx::MakeColor(255, 255, 255, 255)), button, centre);
        plat::Present(hwnd_, reinterpret_cast<const std::uint32_t*>(canvas_.Data()),
                      canvas_.Stride(), kWidth, kHeight);
    }

    void Copy() {
        copied_ = plat::SetClipboardText(text_);
        Draw();
    }

    plat::LRESULT Proc(plat::Hwnd h, plat::UINT m, plat::WPARAM w, plat::LPARAM l) {
        int x = plat::GET_X_LPARAM(l), y = plat::GET_Y_LPARAM(l);
        switch (m) {
        case plat::WM_LBUTTONDOWN:
            if (Inside(kCopyButton, x, y)) {
                pressed_ = true;
                plat::SetCapture(h);
                Draw();
            } else if (!Inside(kCloseMark, x, y)) {
                // Anywhere else drags the window.
                plat::SendMessage(h, plat::WM_NCLBUTTONDOWN, plat::HTCAPTION, 0);
            }
            return 0;
        case plat::WM_LBUTTONUP:
            if (pressed_) {
                pressed_ = false;
                plat::ReleaseCapture();
                if (Inside(kCopyButton, x, y)) Copy();
                else Draw();
            } else if (Inside(kCloseMark, x, y)) {
                plat::PostMessage(h, plat::WM_CLOSE, 0, 0);
            }
            return 0;
        case plat::WM_KEYDOWN:
            if (w == plat::VK_ESCAPE) plat::PostMessage(h, plat::WM_CLOSE, 0, 0);
            if (w == 'C' && plat::GetKeyState(plat::VK_CONTROL) < 0) Copy();
            return 0;
        case plat::WM_DESTROY: plat::PostQuitMessage(0); return 0;
        default: return plat::DefWindowProc(h, m, w, l);
        }
    }

    plat::Hwnd hwnd_ = nullptr;
    gfx::Bitmap canvas_;
    rt::Text text_ = "磁力链接 magnet:?xt=urn:btih:0123456789abcdef 拖动窗口可以移动它。";
    bool pressed_ = false;
    bool copied_ = false;
};

}  // namespace

int main() {
    plat::InstallMessageReporter();
    DemoWindow window;
    if (!window.Create()) {
        plat::MessageBox(nullptr, "无法创建窗口", "平台演示", plat::MB_OK | plat::MB_ICONERROR);
        return 1;
    }
    plat::MSG msg;
    while (plat::GetMessage(&msg)) {
        plat::TranslateMessage(&msg);
        plat::DispatchMessage(&msg);
    }
    return static_cast<int>(msg.wParam);
}
