// How a string is laid out in its rectangle: flags, alignment, trimming,
// access-key prefix and tab stops.
#pragma once

#include <vector>

namespace gfx {

namespace StringFormatFlags {
inline constexpr int kNoFontFallback = 0x0400;
inline constexpr int kMeasureTrailingSpaces = 0x0800;
inline constexpr int kNoWrap = 0x1000;
inline constexpr int kLineLimit = 0x2000;
inline constexpr int kNoClip = 0x4000;
}  // namespace StringFormatFlags

enum class StringAlignment { Near = 0, Center = 1, Far = 2 };

enum class StringTrimming {
    None = 0,
    Character = 1,
    Word = 2,
    EllipsisCharacter = 3,
    EllipsisWord = 4,
    EllipsisPath = 5,
};

// None: "&" is an ordinary character. Show: "&x" underlines x and "&&" is one
// "&". Hide: as Show without the underline.
enum class HotkeyPrefix { None = 0, Show = 1, Hide = 2 };

class StringFormat {
public:
    StringFormat() = default;
    explicit StringFormat(int flags) : flags_(flags) {}

    int Flags() const { return flags_; }
    void SetFlags(int flags) { flags_ = flags; }
    bool Has(int flag) const { return (flags_ & flag) != 0; }

    // Horizontal alignment of each line in the layout rectangle.
    StringAlignment Alignment() const { return alignment_; }
    void SetAlignment(StringAlignment a) { alignment_ = a; }
    // Vertical alignment of the whole text in the layout rectangle.
    StringAlignment LineAlignment() const { return lineAlignment_; }
    void SetLineAlignment(StringAlignment a) { lineAlignment_ = a; }

    StringTrimming Trimming() const { return trimming_; }
    void SetTrimming(StringTrimming t) { trimming_ = t; }

    HotkeyPrefix Prefix() const { return prefix_; }
    void SetHotkeyPrefix(HotkeyPrefix p) { prefix_ = p; }

    // Tab stops in pixels: the first stop lies at firstOffset + stops[0], each
    // further one the next distance on; the last distance repeats.
    void SetTabStops(float firstOffset, std::vector<float> stops) {
        tabOffset_ = firstOffset;
        tabStops_ = std::move(stops);
    }
    float TabOffset() const { return tabOffset_; }
    const std::vector<float>& TabStops() const { return tabStops_; }

private:
    int flags_ = 0;
    StringAlignment alignment_ = StringAlignment::Near;
    StringAlignment lineAlignment_ = StringAlignment::Near;
    StringTrimming trimming_ = StringTrimming::Character;
    HotkeyPrefix prefix_ = HotkeyPrefix::None;
    float tabOffset_ = 0;
    std::vector<float> tabStops_;
};

}  // namespace gfx
