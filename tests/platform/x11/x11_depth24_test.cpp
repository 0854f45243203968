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
        for (int x = 0; x < 20; ++x) px[static_cast<std::size_t>(y) * 80 + x] = 0;  // transparent
    for (int y = 0; y < 40; ++y)
        for (int x = 40; x < 80; ++x)
            px[static_cast<std::size_t>(y) * 80 + x] = 0x80402010u;  // half
    ASSERT_TRUE(PresentAndShow(h, px, 80, 40));
    Window w = Find("depth24-window");
    ASSERT_NE(w, 0u);
    EXPECT_EQ(Attributes(w).depth, 24);
    EXPECT_FALSE(IsCompositionEnabled());
    ASSERT_TRUE(PumpUntilShown(w, 30, 10, 0x102030u, 0xFFFFFFu));
    ServerPixels shown(probe_, w, 80, 40);
    ASSERT_TRUE(shown.Ok());
    EXPECT_EQ(shown.RgbAt(30, 10), 0x102030u);
    // A half-transparent premultiplied pixel shows as if over black.
    EXPECT_EQ(shown.RgbAt(60, 10), 0x402010u);
    EXPECT_FALSE(InShape(probe_, w, 5, 10));
    EXPECT_TRUE(InShape(probe_, w, 30, 10));
}

TEST_F(X11Depth24, CaretIsDrawnIntoThePicture) {
    Hwnd h = Make("depth24-caret", 200, 60, 40, 30);
    std::vector<std::uint32_t> px(40 * 30, 0xFFFFFFFFu);
    PresentAndShow(h, px, 40, 30);
    Window w = Find("depth24-caret");
    ASSERT_NE(w, 0u);
    ASSERT_TRUE(PumpUntilShown(w, 10, 8, 0xFFFFFFu, 0xFFFFFFu));
    CreateCaret(h, 1, 12);
    SetCaretPos(10, 5);
    ShowCaret(h);
    ASSERT_TRUE(PumpUntilShown(w, 10, 8, 0u, 0xFFFFFFu));
    {
        ServerPixels withCaret(probe_, w, 40, 30);
        ASSERT_TRUE(withCaret.Ok());
        EXPECT_EQ(withCaret.RgbAt(10, 8), 0u);
        EXPECT_EQ(withCaret.RgbAt(11, 8), 0xFFFFFFu);
    }
    DestroyCaret();
    ASSERT_TRUE(PumpUntilShown(w, 10, 8, 0xFFFFFFu, 0xFFFFFFu));
    ServerPixels withoutCaret(probe_, w, 40, 30);
    ASSERT_TRUE(withoutCaret.Ok());
    EXPECT_EQ(withoutCaret.RgbAt(10, 8), 0xFFFFFFu);
}

}  // namespace
