// The X11 backend on a server without the Composite extension: no 32-bit
// visual, so windows take the depth-24 visual and transparency is cut.
#include "tests/platform/x11/x11_fixture.h"

using namespace plat;
using namespace platform_x11_test;

namespace {

class X11Depth24 : public X11Test {
protected:
    XServer& Server() override {
        static XServer server({"-extension", "COMPOSITE"});
        return server;
    }
};

TEST_F(X11Depth24, WindowsFallBackToDepth24AndShowTheColours) {
    Hwnd h = Make("depth24-window", 60, 60, 80, 40, WS_EX_LAYERED);
    std::vector<std::uint32_t> px(80 * 40, 0xFF102030u);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x) px[static_cast<std::size_t>(y) * 80 + x] = 0;       // transparent
    for (int y = 0; y < 40; ++y)
        for (int x = 40; x < 80; ++x) px[static_cast<std::size_t>(y) * 80 + x] = 0x80402010u;  // half
    ASSERT_TRUE(PresentAndShow(h, px, 80, 40));
    Window w = Find("depth24-window");
    ASSERT_NE(w, 0u);
    XWindowAttributes attrs;
    XGetWindowAttributes(probe_, w, &attrs);
    EXPECT_EQ(attrs.depth, 24);
    EXPECT_FALSE(IsCompositionEnabled());
    Pump(100);
    XImage* img = XGetImage(probe_, w, 0, 0, 80, 40, AllPlanes, ZPixmap);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(XGetPixel(img, 30, 10)) & 0xFFFFFF, 0x102030u);
    // A half-transparent premultiplied pixel shows as if over black.
    EXPECT_EQ(static_cast<std::uint32_t>(XGetPixel(img, 60, 10)) & 0xFFFFFF, 0x402010u);
    XDestroyImage(img);
    EXPECT_FALSE(InShape(probe_, w, 5, 10));
    EXPECT_TRUE(InShape(probe_, w, 30, 10));
}

TEST_F(X11Depth24, CaretIsDrawnIntoThePicture) {
    Hwnd h = Make("depth24-caret", 200, 60, 40, 30);
    std::vector<std::uint32_t> px(40 * 30, 0xFFFFFFFFu);
    PresentAndShow(h, px, 40, 30);
    Window w = Find("depth24-caret");
    ASSERT_NE(w, 0u);
    CreateCaret(h, 1, 12);
    SetCaretPos(10, 5);
    ShowCaret(h);
    Pump(50);
    XImage* img = XGetImage(probe_, w, 0, 0, 40, 30, AllPlanes, ZPixmap);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(XGetPixel(img, 10, 8)) & 0xFFFFFF, 0u);
    EXPECT_EQ(static_cast<std::uint32_t>(XGetPixel(img, 11, 8)) & 0xFFFFFF, 0xFFFFFFu);
    XDestroyImage(img);
    DestroyCaret();
    Pump(50);
    img = XGetImage(probe_, w, 0, 0, 40, 30, AllPlanes, ZPixmap);
    EXPECT_EQ(static_cast<std::uint32_t>(XGetPixel(img, 10, 8)) & 0xFFFFFF, 0xFFFFFFu);
    XDestroyImage(img);
}

}  // namespace
