// A host window on the in-memory backend, and a control that records what it
// receives and paints itself in one colour.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/headless/headless_control.h"
#include "ui/controls/control.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui::test {

struct Received {
    int code;
    WParam wParam;
    LParam lParam;
};

class Probe : public UiControl {
public:
    ~Probe() override { Destroy(); }
    UiControl* Make(ControlParent parent, RectF rect, int focusable = 1, int kindCode = 30);
    LResult HandleMessage(int message, WParam wParam, LParam lParam) override;
    int Count(int code) const;
    std::vector<int> Codes() const;
    void Forget() { log.clear(); }

    std::vector<Received> log;
    gfx::Argb colour = 0xFF0000FFu;  // opaque blue
    LResult pressAnswer = -1;
    LResult disabledLookAnswer = -1;
    LResult keyAnswer = -1;
};

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window at (100, 100) of the given size, attached with `options`.
    UiWindow& Host(AttachOptions options = {}, int width = 975, int height = 547,
                   plat::DWORD style = kHostDefaultStyle, bool show = true);
    int Pump() { return plat::headless::PumpMessages(); }
    // Screen position of a client point of the host window.
    void MoveTo(int x, int y);
    void Press(int x, int y);
    void Release(int x, int y);
    void ClickAt(int x, int y);
    std::uint32_t ShownPixel(int x, int y);

    NativeWindow window = nullptr;
    std::unique_ptr<UiWindow> host;
    static constexpr int kLeft = 100;
    static constexpr int kTop = 100;
};

}  // namespace ui::test
