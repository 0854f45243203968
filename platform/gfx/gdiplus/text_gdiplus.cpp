// Code-page-936 texts as UTF-16 for GDI+, and string formats.
#include "platform/gfx/gdiplus/gdiplus_gfx.h"
#include "runtime/codepage.h"

namespace gfx {

namespace {

std::wstring WidePiece(std::string_view bytes) {
    const std::u16string units = rt::MultiByteToWide(rt::kCodePage936, bytes);
    return std::wstring(units.begin(), units.end());
}

std::size_t UnitsAt(const std::wstring& s, std::size_t i) {
    const bool pair = i + 1 < s.size() && s[i] >= 0xD800 && s[i] <= 0xDBFF && s[i + 1] >= 0xDC00 &&
                      s[i + 1] <= 0xDFFF;
    return pair ? 2 : 1;
}

}  // namespace

MappedWide PrepareText(const rt::Text& text, const StringFormat& format) {
    MappedWide mapped = MapCharacters<std::wstring>(text, WidePiece, UnitsAt);
    if (!format.Has(StringFormatFlags::kMeasureTrailingSpaces)) StripTrailingSpaces(mapped);
    return mapped;
}

std::wstring Widen(const rt::Text& text) { return WidePiece(text); }

rt::Text Narrow(const std::wstring& wide) {
    return rt::WideToMultiByte(rt::kCodePage936, std::u16string(wide.begin(), wide.end()));
}

GpFormatOwner MakeGpFormat(const StringFormat& format) {
    gp::GpStringFormat* raw = nullptr;
    flat::GdipCreateStringFormat(format.Flags(), LANG_NEUTRAL, &raw);
    GpFormatOwner f(raw);
    if (!f) return f;
    // Alignment, trimming and prefix numbers are GDI+'s own.
    flat::GdipSetStringFormatAlign(f.get(), static_cast<gp::StringAlignment>(format.Alignment()));
    flat::GdipSetStringFormatLineAlign(f.get(),
                                       static_cast<gp::StringAlignment>(format.LineAlignment()));
    flat::GdipSetStringFormatTrimming(f.get(), static_cast<gp::StringTrimming>(format.Trimming()));
    flat::GdipSetStringFormatHotkeyPrefix(f.get(), static_cast<INT>(format.Prefix()));
    const std::vector<float>& stops = format.TabStops();
    if (!stops.empty())
        flat::GdipSetStringFormatTabStops(f.get(), format.TabOffset(),
                                          static_cast<INT>(stops.size()), stops.data());
    return f;
}

}  // namespace gfx
