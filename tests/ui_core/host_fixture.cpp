#include "host_fixture.h"

#include <algorithm>

namespace ui::test {

UiControl* Probe::Make(ControlParent parent, RectF rect, int focusable, int kindCode) {
    return Create(parent, rect, kindCode, true, focusable);
}

LResult Probe::HandleMessage(int message, WParam wParam, LParam lParam) {
    log.push_back(Received{message, wParam, lParam});
    switch (message) {
    case plat::WM_PAINT: {
        PaintContext context = BeginControlPaint();
        graphics->Clear(colour);
        EndControlPaint(context);
        return 0;
    }
    case EV_PRESS_QUERY:
        return pressAnswer;
    case EV_DISABLED_LOOK:
        return disabledLookAnswer;
    case plat::WM_KEYDOWN:
        return keyAnswer;
    default:
        return -1;
    }
}

int Probe::Count(int code) const {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [code](const Received& r) { return r.code == code; }));
}

std::vector<int> Probe::Codes() const {
    std::vector<int> codes;
    for (const Received& r : log) codes.push_back(r.code);
    return codes;
}

void HostTest::SetUp() {
    plat::headless::Reset();
    LibraryStartup();
    if (!plat::IsClassRegistered(kHostClassName)) RegisterHostClass(kHostClassName);
}

void HostTest::TearDown() {
    Pump();
    host.reset();
    plat::headless::Reset();
}

UiWindow& HostTest::Host(AttachOptions options, int width, int height, plat::DWORD style, bool show) {
    HostWindowOptions create;
    create.title = "Host";
    create.x = kLeft;
    create.y = kTop;
    create.width = width;
    create.height = height;
    create.style = style;
    window = CreateHostWindow(create);
    host = std::make_unique<UiWindow>();
    EXPECT_TRUE(host->Attach(window, options));
    if (show) plat::ShowWindow(window, plat::SW_SHOWNORMAL);
    Pump();
    return *host;
}

void HostTest::MoveTo(int x, int y) {
    plat::headless::MouseMove(kLeft + x, kTop + y);
    Pump();
}

void HostTest::Press(int x, int y) {
    MoveTo(x, y);
    plat::headless::MouseButton(0, true);
    Pump();
}

void HostTest::Release(int x, int y) {
    MoveTo(x, y);
    plat::headless::MouseButton(0, false);
    Pump();
}

void HostTest::ClickAt(int x, int y) {
    Press(x, y);
    Release(x, y);
}

std::uint32_t HostTest::ShownPixel(int x, int y) { return plat::headless::Presented(window).at(x, y); }

}  // namespace ui::test
