// The caption a host window builds for itself: the title label and the
// caption buttons, created in the fixed bit order and laid out from the right.
#pragma once

namespace ui {

class UiWindow;

// Creates the caption controls that the host's caption flags ask for.
void BuildCaptionControls(UiWindow& host);

}  // namespace ui
