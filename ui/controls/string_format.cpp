#include "ui/controls/string_format.h"

namespace ui {

namespace Flag = gfx::StringFormatFlags;

void UiStringFormat::DeleteFormat() { format_.reset(); }

void UiStringFormat::CreateFormat(int flags) {
    format_ = std::make_unique<gfx::StringFormat>(flags);
}

int UiStringFormat::Alignment(std::optional<int> value) {
    if (!format_) return 0;
    if (value) format_->SetAlignment(static_cast<gfx::StringAlignment>(*value));
    return static_cast<int>(format_->Alignment());
}

int UiStringFormat::Trimming(std::optional<int> value) {
    if (!format_) return 0;
    if (value) format_->SetTrimming(static_cast<gfx::StringTrimming>(*value));
    return static_cast<int>(format_->Trimming());
}

int UiStringFormat::HotkeyPrefix(std::optional<int> value) {
    if (!format_) return 0;
    if (value) format_->SetHotkeyPrefix(static_cast<gfx::HotkeyPrefix>(*value));
    return static_cast<int>(format_->Prefix());
}

int UiStringFormat::Flags(std::optional<int> value) {
    if (!format_) return 0;
    if (value) format_->SetFlags(*value);
    return format_->Flags();
}

std::unique_ptr<gfx::StringFormat> MakeLabelFormat(bool wordWrap, int alignment, int trimming) {
    UiStringFormat builder;
    builder.CreateFormat(wordWrap ? Flag::NoFontFallback | Flag::MeasureTrailingSpaces |
                                        Flag::NoClip | Flag::LineLimit
                                  : Flag::NoWrap);
    builder.Alignment(alignment);
    builder.Trimming(trimming);
    builder.HotkeyPrefix(0);
    return builder.TakeFormat();
}

std::unique_ptr<gfx::StringFormat> MakeButtonFormat() {
    UiStringFormat builder;
    builder.CreateFormat(Flag::NoWrap);
    builder.Alignment(0);
    builder.Trimming(0);
    builder.HotkeyPrefix(1);
    return builder.TakeFormat();
}

std::unique_ptr<gfx::StringFormat> MakeCaptionFormat(int prefix) {
    UiStringFormat builder;
    builder.CreateFormat(Flag::NoWrap);
    builder.Alignment(0);
    builder.Trimming(3);
    builder.HotkeyPrefix(prefix);
    return builder.TakeFormat();
}

}  // namespace ui
