// The controls a gallery window shows, owned for the window's lifetime.
#pragma once

#include <memory>
#include <vector>

#include "ui/controls/control.h"

namespace gallery {

class OwnedControls {
public:
    // A new control of type T, not created yet; it lives as long as this list.
    template <typename T>
    T& Add() {
        controls_.push_back(std::make_unique<T>());
        return static_cast<T&>(*controls_.back());
    }

private:
    std::vector<std::unique_ptr<ui::UiControl>> controls_;
};

}  // namespace gallery
