// A host window on the headless backend for control tests: a 975 x 547
// layered window whose background is next to transparent (no skin, opacity 1),
// so presented pixels inside it are the controls' own. Not 0: the window
// system passes the mouse through fully transparent pixels of a layered window.
#pragma once

#include <gtest/gtest.h>

#include "platform/gfx/gfx.h"
#include "platform/headless/headless_control.h"
#include "platform/platform.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace uitest {

class ControlHostTest : public ::testing::Test {
protected:
    void SetUp() override { Open(20); }

    void TearDown() override {
        if (plat::IsWindow(window)) plat::DestroyWindow(window);
        Pump();
        plat::headless::Reset();
    }

    void Open(int captionFlags, plat::DWORD style = ui::kHostDefaultStyle) {
        plat::headless::Reset();
        ui::LibraryStartup();
        ui::HostWindowOptions options;
        options.title = "controls";
        options.width = 975;
        options.height = 547;
        options.style = style;
        window = ui::CreateHostWindow(options);
        ASSERT_NE(window, nullptr);
        ui::AttachOptions attach;
        attach.captionFlags = captionFlags;
        attach.backgroundAlpha = 1;
        attach.backgroundColour = 0x808080;
        ASSERT_TRUE(host.Attach(window, attach));
        host.ShowAnimated(0);
        Pump();
        plat::RECT r;
        plat::GetWindowRect(window, &r);
        origin = {r.left, r.top};
    }

    static void Pump() { plat::headless::PumpMessages(); }
    // Lets `ms` pass on the backend's clock and runs what became due.
    static void Tick(int ms) {
        plat::headless::AdvanceClock(static_cast<plat::DWORD>(ms));
        Pump();
    }
    // Input at client coordinates of the host window.
    void MoveTo(int x, int y) {
        plat::headless::MouseMove(origin.x + x, origin.y + y);
        Pump();
    }
    void Press(int x, int y) {
        MoveTo(x, y);
        plat::headless::MouseButton(0, true);
        Pump();
    }
    void Release() {
        plat::headless::MouseButton(0, false);
        Pump();
    }
    void ClickAt(int x, int y) {
        plat::headless::Click(origin.x + x, origin.y + y);
        Pump();
    }
    plat::headless::Picture Shot() const { return plat::headless::Presented(window); }
    int PresentCount() const { return plat::headless::PresentCount(window); }

public:
    // Premultiplied channels of a presented pixel.
    static int A(std::uint32_t p) { return static_cast<int>(p >> 24); }
    static int R(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
    static int G(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
    static int B(std::uint32_t p) { return static_cast<int>(p & 0xFF); }

protected:

    ui::UiWindow host;
    plat::Hwnd window = nullptr;
    plat::POINT origin;
};

}  // namespace uitest
