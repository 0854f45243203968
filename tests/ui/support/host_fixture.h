// One host window on the in-memory backend for every UI test, with input at
// client coordinates or addressed to controls, the backend's clock and what
// the window shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/headless/headless_control.h"
#include "probe.h"
#include "ui/controls/scroll_bar.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace gfx {
// How a failed comparison of rectangles shows them.
inline void PrintTo(const RectF& r, std::ostream* os) {
    *os << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}
}  // namespace gfx

namespace ui::test {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window at (kLeft, kTop) of the given size, attached with `options`.
    UiWindow& Host(AttachOptions options = {}, int width = 975, int height = 547,
                   plat::DWORD style = kHostDefaultStyle, bool show = true);
    // The control host: layered with a next to transparent background (no
    // skin, opacity 1), so presented pixels inside are the controls' own. Not
    // 0: the window system passes the mouse through fully transparent pixels.
    UiWindow& ControlHost(int captionFlags = CAPTION_CLOSE | CAPTION_MINIMIZE,
                          plat::DWORD style = kHostDefaultStyle);

    static int Pump() { return plat::headless::PumpMessages(); }
    // Lets `ms` pass on the backend's clock and runs what became due.
    static void Tick(int ms);

    // Input at client coordinates of the host window, wherever it is.
    void MoveTo(int x, int y);
    void Press(int x, int y);
    void Release();
    void Release(int x, int y);
    void ClickAt(int x, int y);
    // Input addressed to controls, at the middle of the control (or part).
    void MoveOnto(const UiControl& control);
    void ClickOn(const UiControl& control);
    // Presses and holds the left button on a part of a scroll bar; the track
    // is pressed beyond the thumb when there is room, else before it.
    void PressPart(const UiScrollBar& bar, ScrollPart part);
    // Gives `control` the focus and types UTF-8 text into the window.
    void TypeInto(UiControl& control, const std::string& utf8);
    // Down and up of a key; `chars` are the UTF-8 characters it types.
    static void PressKey(int vk, const std::string& chars = {});
    static void Wheel(int notches);

    plat::headless::Picture Shot() const { return plat::headless::Presented(window); }
    std::uint32_t ShownPixel(int x, int y) const { return Shot().at(x, y); }
    int PresentCount() const { return plat::headless::PresentCount(window); }

public:
    // Options of a window without a caption; `draggable` false: a press on
    // empty space starts no move.
    static AttachOptions Captionless(bool draggable = true) {
        AttachOptions options;
        options.captionFlags = 0;
        options.draggable = draggable;
        return options;
    }

    // Premultiplied channels of a presented pixel.
    static int A(std::uint32_t p) { return static_cast<int>(p >> 24); }
    static int R(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
    static int G(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
    static int B(std::uint32_t p) { return static_cast<int>(p & 0xFF); }

public:
    NativeWindow window = nullptr;
    std::unique_ptr<UiWindow> host;
    static constexpr int kLeft = 100;
    static constexpr int kTop = 100;
};

// Control tests: the control host is open before each test.
class ControlHostTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ControlHost();
    }
};

}  // namespace ui::test
