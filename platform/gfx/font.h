// Font families and fonts.
//
// A family exists only when the machine has it: existence is decided from the
// font map's list of families, never from a best match, because a best match
// would silently substitute a Latin font for a missing Chinese family and the
// library's own fallback rule would never run. Names come in code page 936.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "runtime/text.h"

namespace gfx {

// Style bits of a font; combine with |.
namespace FontStyle {
inline constexpr int kRegular = 0;
inline constexpr int kBold = 1;
inline constexpr int kItalic = 2;
inline constexpr int kBoldItalic = 3;
inline constexpr int kUnderline = 4;
inline constexpr int kStrikeout = 8;
}  // namespace FontStyle

// Starts loading the system's font configuration, without waiting for it
// where the backend can load it in the background, so that the first family
// or font asked for waits less.
void PrepareFonts();

class FontFamily {
public:
    // The family of that name (compared without regard to ASCII case, and
    // also against the localised names the font files carry), or nothing
    // when the machine has no such family.
    static std::optional<FontFamily> FromName(const rt::Text& name);
    static bool Exists(const rt::Text& name) { return FromName(name).has_value(); }

    // The desktop's default sans-serif family that covers Simplified Chinese
    // (for example "WenQuanYi Micro Hei"); the default sans-serif family when
    // no installed family covers Chinese.
    static FontFamily DefaultChineseSans();

    // The family's name as the font map lists it, in code page 936 and UTF-8.
    rt::Text Name() const;
    const std::string& NameUtf8() const { return utf8Name_; }

private:
    explicit FontFamily(std::string utf8Name) : utf8Name_(std::move(utf8Name)) {}
    std::string utf8Name_;
};

class Font {
public:
    // A font of `family` with an em size of `sizePx` pixels and FontStyle bits.
    Font(const FontFamily& family, float sizePx, int style = FontStyle::kRegular);

    const FontFamily& Family() const { return family_; }
    float Size() const { return size_; }
    int Style() const { return style_; }
    bool IsBold() const { return (style_ & FontStyle::kBold) != 0; }
    bool IsItalic() const { return (style_ & FontStyle::kItalic) != 0; }
    bool IsUnderline() const { return (style_ & FontStyle::kUnderline) != 0; }
    bool IsStrikeout() const { return (style_ & FontStyle::kStrikeout) != 0; }

    // Line spacing in pixels (ascent + descent + line gap), the font-height role.
    float Height() const;

    // The drawing backend's object for this font, shared by copies (for the
    // drawing layer).
    struct Native;
    const Native& GetNative() const { return *native_; }

private:
    FontFamily family_;
    float size_;
    int style_;
    std::shared_ptr<const Native> native_;
};

}  // namespace gfx
