// State of the in-memory backend shared by its backend functions and its
// test-control functions.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/backend.h"
#include "platform/headless/headless_control.h"

namespace plat::headless::detail {

struct HeadlessWindow : core::NativeWindow {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> display;
    POINT imeSpot;
    bool imeFocused = false;
    std::string appName;
    std::string appClass;
    std::vector<IconImage> icons;
};

struct HeadlessState {
    std::atomic<std::uint64_t> clock{10000};
    std::mutex mu;  // guards the fields below
    SIZE screen{1920, 1080};
    RECT workArea{0, 0, 1920, 1040};
    bool composited = true;
    std::optional<std::string> clipboard;
    bool messageBoxAutoClose = true;
    std::vector<ShownMessageBox> boxes;
};

HeadlessState& HeadlessShared();

}  // namespace plat::headless::detail
