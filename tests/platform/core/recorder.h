// A window class for tests that records every message its windows receive.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/headless_control.h"
#include "platform/platform.h"

namespace platform_test {

struct Seen {
    plat::Hwnd hwnd;
    plat::UINT msg;
    plat::WPARAM wParam;
    plat::LPARAM lParam;
};

class Recorder {
public:
    Recorder() = default;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    // Windows served by this recorder die with it, so no procedure outlives it.
    ~Recorder() {
        for (plat::Hwnd h : windows) {
            if (!plat::IsWindow(h)) continue;
            plat::SetWindowProc(h, {});
            plat::DestroyWindow(h);
        }
    }

    std::vector<Seen> seen;
    std::vector<plat::Hwnd> windows;
    // Extra handling; returns true when it answered the message.
    std::function<bool(plat::Hwnd, plat::UINT, plat::WPARAM, plat::LPARAM, plat::LRESULT*)> hook;

    plat::WndProc Proc() {
        return [this](plat::Hwnd h, plat::UINT m, plat::WPARAM w, plat::LPARAM l) -> plat::LRESULT {
            seen.push_back({h, m, w, l});
            plat::LRESULT r = 0;
            if (hook && hook(h, m, w, l, &r)) return r;
            return plat::DefWindowProc(h, m, w, l);
        };
    }
    // Messages of one kind, in order.
    std::vector<Seen> Of(plat::UINT msg) const {
        std::vector<Seen> out;
        for (const Seen& s : seen)
            if (s.msg == msg) out.push_back(s);
        return out;
    }
    // The order in which the listed messages arrived (others skipped).
    std::vector<plat::UINT> Order(std::initializer_list<plat::UINT> wanted) const {
        std::vector<plat::UINT> out;
        for (const Seen& s : seen)
            for (plat::UINT w : wanted)
                if (s.msg == w) out.push_back(s.msg);
        return out;
    }
    void Clear() { seen.clear(); }
};

// Registers the test classes once and resets the headless backend per test.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Reset();
        for (auto [name, style] : {std::pair<const char*, plat::UINT>{"TestDbl", plat::CS_DBLCLKS},
                                   std::pair<const char*, plat::UINT>{"TestPlain", 0}}) {
            if (!plat::IsClassRegistered(name)) {
                plat::WNDCLASS wc;
                wc.style = style;
                wc.lpszClassName = name;
                plat::RegisterClass(wc);
            }
        }
    }
    void TearDown() override { plat::headless::Reset(); }

    // A window whose procedure is `rec`'s, shown unless told otherwise.
    plat::Hwnd Make(Recorder& rec, int x = 100, int y = 100, int w = 200, int h = 150,
                    bool show = true, const char* cls = "TestDbl", plat::DWORD exStyle = 0) {
        plat::Hwnd hwnd = plat::CreateWindowEx(exStyle, cls, "t", plat::WS_POPUP, x, y, w, h);
        plat::SetWindowProc(hwnd, rec.Proc());
        rec.windows.push_back(hwnd);
        if (show) plat::ShowWindow(hwnd, plat::SW_SHOWNORMAL);
        plat::headless::PumpMessages();
        return hwnd;
    }
};

}  // namespace platform_test
