#include "probe.h"

#include <algorithm>

#include "platform/gfx/graphics.h"

namespace ui::test {

UiControl* Probe::Make(ControlParent parent, RectF rect, int focusable, int kindCode) {
    return Create(parent, rect, kindCode, true, focusable);
}

LResult Probe::HandleMessage(int message, WParam wParam, LParam lParam) {
    log.push_back(Received{message, wParam, lParam});
    switch (message) {
    case plat::WM_PAINT: {
        PaintContext context = BeginControlPaint();
        graphics_->Clear(colour);
        EndControlPaint(context);
        return 0;
    }
    case EV_PRESS_QUERY: return pressAnswer;
    case EV_DISABLED_LOOK: return disabledLookAnswer;
    case plat::WM_KEYDOWN: return keyAnswer;
    default: return kUnhandled;
    }
}

int Probe::Count(int code) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(),
                                          [code](const Received& r) { return r.code == code; }));
}

std::vector<int> Probe::Codes() const {
    std::vector<int> codes;
    for (const Received& r : log) codes.push_back(r.code);
    return codes;
}

}  // namespace ui::test
