// UiStringFormat: the builder of the string formats text-drawing controls use.
// A control creates one, sets its values, takes the format and discards the
// builder; the control then owns the format.
#pragma once

#include <memory>
#include <optional>

#include "platform/gfx/string_format.h"

namespace ui {

class UiStringFormat {
public:
    UiStringFormat() = default;

    // Drops the current format.
    void DeleteFormat();
    // A new format with `flags` (StringFormatFlags bits); any existing one is dropped first.
    void CreateFormat(int flags);
    // Each property sets the value when given and returns the current one
    // (0 when there is no format).
    int Alignment(std::optional<int> value = std::nullopt);
    int Trimming(std::optional<int> value = std::nullopt);
    int HotkeyPrefix(std::optional<int> value = std::nullopt);
    int Flags(std::optional<int> value = std::nullopt);
    // The format being built, or null.
    gfx::StringFormat* FormatHandle() const { return format_.get(); }
    // Hands the format over; the builder is empty afterwards.
    std::unique_ptr<gfx::StringFormat> TakeFormat() { return std::move(format_); }

private:
    std::unique_ptr<gfx::StringFormat> format_;
};

// The formats the controls build, in one place.
// Labels: no wrap, or with wordWrap the wrapping flags; no access-key prefix.
std::unique_ptr<gfx::StringFormat> MakeLabelFormat(bool wordWrap, int alignment, int trimming);
// Buttons and check boxes: no wrap, near, no trimming, "&" marks the access key.
std::unique_ptr<gfx::StringFormat> MakeButtonFormat();
// Group-box captions and menu rows: no wrap, near, ellipsis; `prefix` 0 none, 1 show.
std::unique_ptr<gfx::StringFormat> MakeCaptionFormat(int prefix);
// List cells: no wrap, trailing spaces measured, near, ellipsis, no prefix.
std::unique_ptr<gfx::StringFormat> MakeListCellFormat();

}  // namespace ui
