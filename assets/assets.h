// Images embedded in the program, drawn at build time by assets/draw_assets.py.
//
// The strips' cell geometry below is the contract between the drawing script and
// the controls that cut cells out of the strips.
#pragma once

#include <cstdint>
#include <span>

namespace assets {

// Window background art, a 975 x 547 JPEG.
std::span<const std::uint8_t> SkinJpeg();

// Caption-button strip, a 729 x 20 PNG stored without its 8-byte signature.
std::span<const std::uint8_t> CaptionButtonStrip();

// Check-box glyph strip, a PNG of 17 x 17 cells (see CheckMarkCellX).
std::span<const std::uint8_t> CheckMarkStrip();

// Mark of a checked menu item, a 16 x 16 PNG.
std::span<const std::uint8_t> MenuCheckImage();

// Gallery art: a 48 x 48 animated GIF of 12 frames, and a 24 x 24 PNG panel
// drawn for nine-slice scaling with margins of kPanelMargin.
std::span<const std::uint8_t> SpinnerGif();
std::span<const std::uint8_t> PanelPng();
inline constexpr int kSpinnerFrames = 12;
inline constexpr int kPanelMargin = 8;

// The application icon as PNGs of these square sizes, for the window's icon
// list; AppIconPng is empty for any other size.
inline constexpr int kAppIconSizes[] = {16, 32, 48, 64};
std::span<const std::uint8_t> AppIconPng(int size);

// ---- caption-button strip layout
inline constexpr int kCaptionStripWidth = 729;
inline constexpr int kCaptionStripHeight = 20;
inline constexpr int kCaptionCloseCellWidth = 39;
inline constexpr int kCaptionCellWidth = 28;
// Buttons are 19 pixels high; the strip's last row is left clear.
inline constexpr int kCaptionGlyphRows = 19;

// Glyphs in strip order; each has three cells: normal, hovered, pressed.
enum class CaptionGlyph { Close, Maximise, Restore, Minimise, Menu, More, Pin, Help };
inline constexpr int kCaptionLooks = 3;

constexpr int CaptionCellWidth(CaptionGlyph glyph) {
    return glyph == CaptionGlyph::Close ? kCaptionCloseCellWidth : kCaptionCellWidth;
}

// Left edge of the cell of a glyph in a look (0 normal, 1 hovered, 2 pressed).
constexpr int CaptionCellX(CaptionGlyph glyph, int look) {
    const int index = static_cast<int>(glyph);
    const int before = index == 0 ? 0
                                  : kCaptionLooks * kCaptionCloseCellWidth +
                                        (index - 1) * kCaptionLooks * kCaptionCellWidth;
    return before + look * CaptionCellWidth(glyph);
}

// ---- check-mark strip layout: unticked cells first, then ticked ones.
inline constexpr int kCheckMarkCell = 17;
// Looks: 0 normal, 1 hovered, 2 pressed, 3 focused, 4 faded.
inline constexpr int kCheckMarkLooks = 5;
inline constexpr int kCheckMarkStripWidth = kCheckMarkCell * kCheckMarkLooks * 2;

constexpr int CheckMarkCellX(int checked, int look) {
    return ((checked != 0 ? kCheckMarkLooks : 0) + look) * kCheckMarkCell;
}

inline constexpr int kMenuCheckSize = 16;

}  // namespace assets
