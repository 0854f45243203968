// A control that records every message it receives, paints itself in one
// colour and gives the answers a test sets.
#pragma once

#include <vector>

#include "ui/controls/control.h"

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
    // A window left in the field, which Create must not take over the parent's.
    void PresetWindow(NativeWindow w) { hwnd_ = w; }

    std::vector<Received> log;
    gfx::Argb colour = 0xFF0000FFu;  // opaque blue
    LResult pressAnswer = kUnhandled;
    LResult disabledLookAnswer = kUnhandled;
    LResult keyAnswer = kUnhandled;
};

}  // namespace ui::test
