// What windows show: presented pixels, partial presents, the caret over
// them, tooltips; and the clipboard and message box of the layer.
#include "runtime/codepage.h"
#include "runtime/fatal.h"
#include "tests/platform/core/recorder.h"

#include <thread>

using namespace plat;
using platform_test::PlatformTest;
using platform_test::Recorder;

namespace {

class PresentTest : public PlatformTest {};

std::vector<std::uint32_t> Fill(int w, int h, std::uint32_t colour) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, colour);
}

TEST_F(PresentTest, WholeAndPartialPresentsAreKept) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 40, 30, true, "TestDbl", WS_EX_LAYERED);
    auto red = Fill(40, 30, 0xC8C80000u);
    ASSERT_TRUE(Present(h, red.data(), 40 * 4, 40, 30));
    auto green = Fill(40, 30, 0xFF00FF00u);
    RECT dirty{10, 5, 20, 15};
    ASSERT_TRUE(Present(h, green.data(), 40 * 4, 40, 30, &dirty));
    headless::Picture pic = headless::Presented(h);
    ASSERT_EQ(pic.width, 40);
    ASSERT_EQ(pic.height, 30);
    EXPECT_EQ(pic.at(0, 0), 0xC8C80000u);
    EXPECT_EQ(pic.at(10, 5), 0xFF00FF00u);
    EXPECT_EQ(pic.at(19, 14), 0xFF00FF00u);
    EXPECT_EQ(pic.at(20, 14), 0xC8C80000u);
    EXPECT_EQ(headless::PresentCount(h), 2);
    // Several rectangles at once show those and nothing between them.
    auto blue = Fill(40, 30, 0xFF0000FFu);
    Region apart;
    apart.rects = {RECT{0, 0, 5, 5}, RECT{30, 20, 40, 30}};
    ASSERT_TRUE(Present(h, blue.data(), 40 * 4, 40, 30, apart));
    pic = headless::Presented(h);
    EXPECT_EQ(pic.at(4, 4), 0xFF0000FFu);
    EXPECT_EQ(pic.at(39, 29), 0xFF0000FFu);
    EXPECT_EQ(pic.at(15, 10), 0xFF00FF00u);
    EXPECT_EQ(pic.at(25, 25), 0xC8C80000u);
    ASSERT_TRUE(Present(h, red.data(), 40 * 4, 40, 30, Region{}));
    EXPECT_EQ(headless::Presented(h).at(4, 4), 0xFF0000FFu) << "an empty region shows nothing";
    // A stride wider than the row is honoured.
    std::vector<std::uint32_t> wide(50 * 30, 0xFF0000FFu);
    ASSERT_TRUE(Present(h, wide.data(), 50 * 4, 40, 30));
    EXPECT_EQ(headless::Presented(h).at(39, 29), 0xFF0000FFu);
    EXPECT_FALSE(Present(h, wide.data(), 10, 40, 30));
    EXPECT_FALSE(Present(nullptr, wide.data(), 200, 40, 30));
}

TEST_F(PresentTest, CaretInvertsColoursAndLeavesNoTrace) {
    Recorder rec;
    Hwnd h = Make(rec, 0, 0, 20, 20);
    auto white = Fill(20, 20, 0xFFFFFFFFu);
    Present(h, white.data(), 80, 20, 20);
    ASSERT_TRUE(CreateCaret(h, 1, 10));
    SetCaretPos(5, 4);
    EXPECT_EQ(headless::Presented(h).at(5, 4), 0xFFFFFFFFu) << "a new caret starts hidden";
    ShowCaret(h);
    auto pic = headless::Presented(h);
    EXPECT_EQ(pic.at(5, 4), 0xFF000000u);
    EXPECT_EQ(pic.at(5, 13), 0xFF000000u);
    EXPECT_EQ(pic.at(5, 14), 0xFFFFFFFFu);
    EXPECT_EQ(pic.at(6, 4), 0xFFFFFFFFu);
    // Moving it restores the old place; a present under it keeps it on top.
    SetCaretPos(10, 2);
    pic = headless::Presented(h);
    EXPECT_EQ(pic.at(5, 4), 0xFFFFFFFFu);
    EXPECT_EQ(pic.at(10, 2), 0xFF000000u);
    auto grey = Fill(20, 20, 0xFF404040u);
    Present(h, grey.data(), 80, 20, 20);
    EXPECT_EQ(headless::Presented(h).at(10, 2), 0xFFBFBFBFu);
    EXPECT_EQ(headless::Presented(h).at(0, 0), 0xFF404040u);
    POINT spot = headless::ImeSpot(h);
    EXPECT_EQ(spot.x, 10);
    EXPECT_EQ(spot.y, 12);
    HideCaret(h);
    EXPECT_EQ(headless::Presented(h).at(10, 2), 0xFF404040u);
    ShowCaret(h);
    DestroyCaret();
    EXPECT_EQ(headless::Presented(h).at(10, 2), 0xFF404040u);
    EXPECT_FALSE(ShowCaret(h));
}

TEST_F(PresentTest, TooltipShowsAfterTheDelayAndHidesOnPress) {
    Recorder rec;
    Hwnd h = Make(rec, 100, 100, 300, 200);
    ASSERT_TRUE(SetTooltip(h, 1, RECT{10, 10, 110, 40}, "复制下载地址"));
    headless::MouseMove(150, 120);  // client (50, 20)
    headless::PumpMessages();
    headless::AdvanceClock(kTooltipInitialDelay - 1);
    headless::PumpMessages();
    Hwnd tip = GetTooltipWindow();
    EXPECT_TRUE(tip == nullptr || !IsWindowVisible(tip));
    headless::AdvanceClock(1);
    headless::PumpMessages();
    tip = GetTooltipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(GetForegroundWindow(), h) << "a tooltip never takes activation";
    EXPECT_TRUE(GetWindowLong(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_EQ(r.top, 140);
    headless::Picture pic = headless::Presented(tip);
    ASSERT_GT(pic.width, 20);
    bool dark = false;
    for (std::uint32_t p : pic.pixels) dark = dark || ((p & 0xFF) < 0x40 && (p >> 24) == 0xFF);
    EXPECT_TRUE(dark) << "the text is drawn";
    EXPECT_EQ(WindowFromPoint(POINT{r.left + 2, r.top + 2}), h) << "tooltips take no input";
    headless::MouseButton(0, true);
    headless::MouseButton(0, false);
    headless::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(tip));
    // Not again while the pointer stays on the same tool.
    headless::AdvanceClock(kTooltipInitialDelay * 2);
    headless::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(tip));
    // Leaving the rectangle and coming back arms it again; the auto-pop hides it.
    headless::MouseMove(150, 250);
    headless::MouseMove(150, 120);
    headless::AdvanceClock(kTooltipInitialDelay);
    headless::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(tip));
    headless::AdvanceClock(kTooltipAutoPop);
    headless::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(tip));
    // An empty text removes the tool.
    SetTooltip(h, 1, RECT{10, 10, 110, 40}, "");
    headless::MouseMove(150, 250);
    headless::MouseMove(150, 120);
    headless::AdvanceClock(kTooltipInitialDelay);
    headless::PumpMessages();
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(PresentTest, ClipboardRoundTripKeepsCodePage936Text) {
    EXPECT_FALSE(IsClipboardTextAvailable());
    EXPECT_EQ(GetClipboardText(), "");
    rt::Text link = "magnet:?xt=urn:btih:0123456789ABCDEF&dn=电影 合集";
    EXPECT_TRUE(SetClipboardText(link));
    EXPECT_TRUE(IsClipboardTextAvailable());
    EXPECT_EQ(GetClipboardText(), link);
    EXPECT_FALSE(SetClipboardText(""));
    EXPECT_EQ(GetClipboardText(), link) << "an empty text leaves the clipboard alone";
}

TEST_F(PresentTest, MessageBoxShowsItsTextAndReturnsOk) {
    EXPECT_EQ(MessageBox(nullptr, "内存不足", "错误", MB_OK | MB_ICONERROR), IDOK);
    auto boxes = headless::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, rt::Text("错误"));
    EXPECT_EQ(boxes[0].text, rt::Text("内存不足"));
    for (Hwnd w : headless::Windows()) EXPECT_NE(GetClassName(w), "#32770") << "the box is gone";
    InstallMessageReporter();
    rt::ReportMessage("text", "caption");
    EXPECT_EQ(headless::ShownMessageBoxes().size(), 2u);
}

TEST_F(PresentTest, MessageBoxWaitsForTheUserAndKeepsOtherWindowsRunning) {
    headless::SetMessageBoxAutoClose(false);
    Recorder rec;
    Hwnd h = Make(rec);
    std::thread user([&] {
        // Wait for the box to take the keyboard (it shows before it does:
        // Enter pressed in between would go to the other window), let a
        // message for the other window through, then press Enter.
        Hwnd box = nullptr;
        while (box == nullptr) {
            const Hwnd focus = GetFocus();
            if (focus != nullptr && GetClassName(focus) == "#32770") box = focus;
            std::this_thread::yield();
        }
        PostMessage(h, WM_USER + 7, 0, 0);
        headless::KeyPress(VK_RETURN, "\r");
    });
    EXPECT_EQ(MessageBox(h, "正文", "标题"), IDOK);
    user.join();
    EXPECT_EQ(rec.Of(WM_USER + 7).size(), 1u)
        << "the modal loop dispatches the thread's other messages";
    for (Hwnd w : headless::Windows()) EXPECT_NE(GetClassName(w), "#32770");
}

TEST_F(PresentTest, CompositionAndBlurAreReported) {
    EXPECT_TRUE(IsCompositionEnabled());
    headless::SetComposited(false);
    EXPECT_FALSE(IsCompositionEnabled());
    Recorder rec;
    Hwnd h = Make(rec);
    Region rgn = CreateRoundRectRgn(6, 6, 195, 145, 6, 6);
    EXPECT_TRUE(EnableBlurBehind(h, true, &rgn));
    EXPECT_TRUE(headless::BlurBehind(h));
    EnableBlurBehind(h, false, nullptr);
    EXPECT_FALSE(headless::BlurBehind(h));
}

}  // namespace
