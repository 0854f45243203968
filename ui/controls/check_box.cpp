#include "ui/controls/check_box.h"

#include <vector>

#include "assets/assets.h"
#include "ui/core/draw_images.h"
#include "ui/core/library.h"

namespace ui {

namespace {

// Glyph box: 4 pixels in, 20 wide, the control's height less 8.
constexpr float kGlyphLeft = 4;
constexpr float kGlyphWidth = 20;
constexpr float kCaptionGap = 1;

// The embedded check-mark strip cut into its cells, decoded once and shared by
// every check box of the process.
const std::vector<gfx::Bitmap>& CheckMarkCells() {
    static const std::vector<gfx::Bitmap> kCells = [] {
        std::vector<gfx::Bitmap> result;
        const std::unique_ptr<gfx::Bitmap> strip =
            LoadImageFromBytes(assets::CheckMarkStrip(), false);
        if (!strip) return result;
        for (int checked = 0; checked < 2; ++checked)
            for (int look = 0; look < assets::kCheckMarkLooks; ++look)
                result.push_back(
                    strip->CloneArea({assets::CheckMarkCellX(checked, look), 0,
                                      assets::kCheckMarkCell, assets::kCheckMarkCell}));
        return result;
    }();
    return kCells;
}

// Button state to strip look: the four button looks, then the faded one.
int LookOf(ButtonState state) { return state == ButtonState::Faded ? 4 : static_cast<int>(state); }

}  // namespace

UiCheckBox::~UiCheckBox() { Destroy(); }

int UiCheckBox::CheckState(std::optional<int> value) {
    if (value && (*value != 0) != checkState_) {
        checkState_ = *value != 0;
        if (handle_) DrawState(state_);
    }
    return checkState_ ? 1 : 0;
}

// Created as a button, it becomes a check box before the button's own set-up.
LResult UiCheckBox::OnCreate() {
    SetKind(KIND_CHECK_BOX);
    CheckMarkCells();
    return UiButton::OnCreate();
}

LResult UiCheckBox::OnDestroy() {
    checkState_ = false;
    return UiButton::OnDestroy();
}

LResult UiCheckBox::OnClick() {
    checkState_ = !checkState_;
    DrawState(state_);
    return UiButton::OnClick();
}

// No chrome tinted with the host colour: a recache leaves the picture as it is.
LResult UiCheckBox::OnRecache() { return kUnhandled; }

void UiCheckBox::DrawContent(gfx::Graphics& g, const gfx::RectF& area) {
    const std::vector<gfx::Bitmap>& cells = CheckMarkCells();
    const std::size_t index =
        static_cast<std::size_t>((checkState_ ? assets::kCheckMarkLooks : 0) + LookOf(state_));
    if (index >= cells.size()) return;
    DrawImageAt(g, cells[index],
                {area.x + kGlyphLeft, area.y + 4, kGlyphWidth, area.height + 1 - 8}, true);
}

gfx::RectF UiCheckBox::CaptionRect(const gfx::RectF& area) {
    const gfx::TextMeasure m = MeasureStyledText(*graphics_, text_);
    const float left = area.x + kGlyphLeft + kGlyphWidth + kCaptionGap;
    const float h = m.bounds.height;
    return {left, area.y + (area.height - h) / 2, area.width - left, h};
}

}  // namespace ui
