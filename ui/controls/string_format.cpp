#include "ui/controls/string_format.h"

namespace ui {

namespace Flag = gfx::StringFormatFlags;

void UiStringFormat::DeleteFormat() { format_.reset(); }

void UiStringFormat::CreateFormat(int flags) {
    format_ = std::make_unique<gfx::StringFormat>(flags);
}

namespace {

// Sets one property of `format` when `value` is given and answers it as a
// number; 0 without a format.
template <typename Value>
int Property(gfx::StringFormat* format, std::optional<int> value,
             void (gfx::StringFormat::*set)(Value), Value (gfx::StringFormat::*get)() const) {
    if (format == nullptr) return 0;
    if (value) (format->*set)(static_cast<Value>(*value));
    return static_cast<int>((format->*get)());
}

std::unique_ptr<gfx::StringFormat> Built(int flags, int alignment, int trimming, int prefix) {
    UiStringFormat builder;
    builder.CreateFormat(flags);
    builder.Alignment(alignment);
    builder.Trimming(trimming);
    builder.HotkeyPrefix(prefix);
    return builder.TakeFormat();
}

}  // namespace

int UiStringFormat::Alignment(std::optional<int> value) {
    return Property(format_.get(), value, &gfx::StringFormat::SetAlignment,
                    &gfx::StringFormat::Alignment);
}

int UiStringFormat::Trimming(std::optional<int> value) {
    return Property(format_.get(), value, &gfx::StringFormat::SetTrimming,
                    &gfx::StringFormat::Trimming);
}

int UiStringFormat::HotkeyPrefix(std::optional<int> value) {
    return Property(format_.get(), value, &gfx::StringFormat::SetHotkeyPrefix,
                    &gfx::StringFormat::Prefix);
}

int UiStringFormat::Flags(std::optional<int> value) {
    return Property(format_.get(), value, &gfx::StringFormat::SetFlags, &gfx::StringFormat::Flags);
}

std::unique_ptr<gfx::StringFormat> MakeLabelFormat(bool wordWrap, int alignment, int trimming) {
    return Built(wordWrap ? Flag::kNoFontFallback | Flag::kMeasureTrailingSpaces | Flag::kNoClip |
                                Flag::kLineLimit
                          : Flag::kNoWrap,
                 alignment, trimming, 0);
}

std::unique_ptr<gfx::StringFormat> MakeButtonFormat() { return Built(Flag::kNoWrap, 0, 0, 1); }

std::unique_ptr<gfx::StringFormat> MakeCaptionFormat(int prefix) {
    return Built(Flag::kNoWrap, 0, 3, prefix);
}

std::unique_ptr<gfx::StringFormat> MakeListCellFormat() {
    return Built(Flag::kNoWrap | Flag::kMeasureTrailingSpaces, 0,
                 static_cast<int>(gfx::StringTrimming::EllipsisCharacter), 0);
}

}  // namespace ui
