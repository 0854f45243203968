#include "host_fixture.h"

namespace ui::test {

void HostTest::SetUp() {
    plat::headless::Reset();
    LibraryStartup();
    if (!plat::IsClassRegistered(kHostClassName)) RegisterHostClass(kHostClassName);
}

void HostTest::TearDown() {
    if (plat::IsWindow(window)) plat::DestroyWindow(window);
    Pump();
    host.reset();
    plat::headless::Reset();
}

UiWindow& HostTest::Host(AttachOptions options, int width, int height, plat::DWORD style,
                         bool show) {
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

UiWindow& HostTest::ControlHost(int captionFlags, plat::DWORD style) {
    AttachOptions attach;
    attach.captionFlags = captionFlags;
    attach.backgroundAlpha = 1;
    attach.backgroundColour = 0x808080;
    UiWindow& h = Host(attach, 975, 547, style, false);
    h.ShowAnimated(0);
    Pump();
    return h;
}

void HostTest::Tick(int ms) {
    plat::headless::AdvanceClock(static_cast<plat::DWORD>(ms));
    Pump();
}

void HostTest::MoveTo(int x, int y) {
    plat::RECT r;
    plat::GetWindowRect(window, &r);
    plat::headless::MouseMove(r.left + x, r.top + y);
    Pump();
}

void HostTest::Press(int x, int y) {
    MoveTo(x, y);
    plat::headless::MouseButton(0, true);
    Pump();
}

void HostTest::Release() {
    plat::headless::MouseButton(0, false);
    Pump();
}

void HostTest::Release(int x, int y) {
    MoveTo(x, y);
    Release();
}

void HostTest::ClickAt(int x, int y) {
    Press(x, y);
    Release();
}

namespace {
int MiddleX(const UiControl& c) { return static_cast<int>(c.Rect().x + c.Rect().width / 2); }
int MiddleY(const UiControl& c) { return static_cast<int>(c.Rect().y + c.Rect().height / 2); }
}  // namespace

void HostTest::MoveOnto(const UiControl& control) { MoveTo(MiddleX(control), MiddleY(control)); }

void HostTest::ClickOn(const UiControl& control) { ClickAt(MiddleX(control), MiddleY(control)); }

void HostTest::PressPart(const UiScrollBar& bar, ScrollPart part) {
    const UiScrollBar::Geometry g = bar.Measure();
    const float thumbEnd = g.thumbStart + g.thumbLength;
    const float trackEnd = g.trackStart + g.trackLength;
    float along = 0;
    switch (part) {
    case ScrollPart::Decrement: along = g.arrow / 2; break;
    case ScrollPart::Increment: along = g.length - g.arrow / 2; break;
    case ScrollPart::Thumb: along = g.thumbStart + g.thumbLength / 2; break;
    case ScrollPart::Track:
        along = trackEnd - thumbEnd >= 1 ? (thumbEnd + trackEnd) / 2
                                         : (g.trackStart + g.thumbStart) / 2;
        break;
    case ScrollPart::None: ADD_FAILURE() << "no part to press"; return;
    }
    const auto at = static_cast<int>(along);
    if (bar.Horizontal()) Press(static_cast<int>(bar.Rect().x) + at, MiddleY(bar));
    else Press(MiddleX(bar), static_cast<int>(bar.Rect().y) + at);
    EXPECT_EQ(bar.PartAt(static_cast<float>(at)), part);
}

void HostTest::TypeInto(UiControl& control, const std::string& utf8) {
    plat::SetFocus(window);
    UiWindow* owner = FindHost(window);
    owner->SetFocusControl(&control, false);
    EXPECT_EQ(owner->FocusControl(), &control) << "the control takes no focus";
    plat::headless::TypeText(utf8);
    Pump();
}

void HostTest::PressKey(int vk, const std::string& chars) {
    plat::headless::KeyPress(vk, chars);
    Pump();
}

void HostTest::Wheel(int notches) {
    plat::headless::Wheel(notches);
    Pump();
}

}  // namespace ui::test
