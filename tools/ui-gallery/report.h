// The gallery's reports on standard output, which the end-to-end test reads.
#pragma once

#include <cstdio>
#include <string>

#include "ui/controls/control.h"

inline void Report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Where a control is ("at <name> x y w h", client coordinates of its window),
// for whoever drives the gallery from outside.
inline void ReportPlace(const char* name, const ui::UiControl& c) {
    const ui::RectF r = c.Rect();
    Report("at " + std::string(name) + " " + std::to_string(static_cast<int>(r.x)) + " " +
           std::to_string(static_cast<int>(r.y)) + " " + std::to_string(static_cast<int>(r.width)) +
           " " + std::to_string(static_cast<int>(r.height)));
}
