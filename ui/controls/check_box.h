// UiCheckBox: a button drawn as a tick box with its caption to the right;
// a click flips the tick.
#pragma once

#include <optional>

#include "ui/controls/button.h"

namespace ui {

class UiCheckBox : public UiButton {
public:
    UiCheckBox() = default;
    ~UiCheckBox() override;

    // Sets the tick (0 or 1) when given; redraws only on a change. Returns it.
    int CheckState(std::optional<int> value = std::nullopt);

protected:
    bool SkipChrome() const override { return true; }
    // The 17 x 17 glyph of the tick state and look, centred in (4, 4, 20, height - 8).
    void DrawContent(gfx::Graphics& g, const gfx::RectF& area) override;
    LResult OnCreate() override;
    LResult OnDestroy() override;
    LResult OnClick() override;
    LResult OnRecache() override;

    gfx::RectF CaptionRect(const gfx::RectF& area) override;

private:
    bool checkState_ = false;
};

}  // namespace ui
