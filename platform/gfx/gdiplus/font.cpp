// Font families and fonts over GDI+.
#include <optional>

#include "platform/gfx/font.h"
#include "platform/gfx/gdiplus/gdiplus_gfx.h"
#include "runtime/codepage.h"

namespace gfx {

namespace {

std::string Utf8(const std::wstring& wide) {
    return rt::WideToMultiByte(rt::kCodePageUtf8, std::u16string(wide.begin(), wide.end()));
}

std::wstring WideFromUtf8(const std::string& utf8) {
    const std::u16string units = rt::MultiByteToWide(rt::kCodePageUtf8, utf8);
    return std::wstring(units.begin(), units.end());
}

// The family GDI+ makes of `name`, under the name GDI+ gives it.
std::optional<std::wstring> GdiplusFamilyName(const std::wstring& name) {
    EnsureGdiplus();
    gp::GpFontFamily* raw = nullptr;
    if (name.empty() || flat::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &raw) != gp::Ok)
        return std::nullopt;
    GpFamilyOwner family(raw);
    WCHAR buffer[LF_FACESIZE] = {};
    if (flat::GdipGetFamilyName(family.get(), buffer, LANG_NEUTRAL) != gp::Ok) return std::nullopt;
    return std::wstring(buffer);
}

// True when GDI has the face with Simplified Chinese characters (or any face
// with them when `face` is empty); the face found goes to `found`.
bool ChineseFace(const std::wstring& face, std::wstring* found) {
    rt::Owned<HDC__, DeleteDC> dc(CreateCompatibleDC(nullptr));
    LOGFONTW query{};
    query.lfCharSet = GB2312_CHARSET;
    face.copy(query.lfFaceName, LF_FACESIZE - 1);
    std::wstring first;
    EnumFontFamiliesExW(
        dc.get(), &query,
        [](const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM out) -> int {
            // Faces whose names start with '@' are the vertical forms.
            if (lf->lfFaceName[0] == L'@') return 1;
            *reinterpret_cast<std::wstring*>(out) = lf->lfFaceName;
            return 0;
        },
        reinterpret_cast<LPARAM>(&first), 0);
    if (first.empty()) return false;
    if (found) *found = first;
    return true;
}

std::wstring CaptionFace() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    return metrics.lfCaptionFont.lfFaceName;
}

// The system's caption face when it has Chinese characters, else Microsoft
// YaHei, else the first face with them, else the caption face, else GDI+'s
// generic sans-serif family.
std::wstring ChooseChineseSans() {
    const std::wstring caption = CaptionFace();
    std::vector<std::wstring> candidates;
    if (ChineseFace(caption, nullptr)) candidates.push_back(caption);
    candidates.push_back(L"Microsoft YaHei");
    std::wstring anyChinese;
    if (ChineseFace(L"", &anyChinese)) candidates.push_back(anyChinese);
    candidates.push_back(caption);
    for (const std::wstring& face : candidates)
        if (auto name = GdiplusFamilyName(face)) return *name;
    gp::GpFontFamily* raw = nullptr;
    flat::GdipGetGenericFontFamilySansSerif(&raw);
    WCHAR buffer[LF_FACESIZE] = {};
    if (raw) flat::GdipGetFamilyName(raw, buffer, LANG_NEUTRAL);
    return buffer;
}

}  // namespace

// Windows keeps its fonts loaded for every program; what is left is GDI+'s
// own start-up, which every font call needs first.
void PrepareFonts() { EnsureGdiplus(); }

std::optional<FontFamily> FontFamily::FromName(const rt::Text& name) {
    if (auto found = GdiplusFamilyName(Widen(name))) return FontFamily(Utf8(*found));
    return std::nullopt;
}

FontFamily FontFamily::DefaultChineseSans() {
    // Asked for by every control that sets no face: found once.
    static const std::string name = Utf8(ChooseChineseSans());
    return FontFamily(name);
}

rt::Text FontFamily::Name() const { return rt::Utf8ToCp936(utf8Name_); }

Font::Font(const FontFamily& family, float sizePx, int style)
    : family_(family), size_(sizePx > 0 ? sizePx : 1), style_(style) {
    EnsureGdiplus();
    auto native = std::make_shared<Native>();
    gp::GpFontFamily* gpFamily = nullptr;
    GpFamilyOwner owner;
    if (flat::GdipCreateFontFamilyFromName(WideFromUtf8(family_.NameUtf8()).c_str(), nullptr,
                                           &gpFamily) == gp::Ok)
        owner.reset(gpFamily);
    else flat::GdipGetGenericFontFamilySansSerif(&gpFamily);  // GDI+'s own, not deleted
    gp::GpFont* rawFont = nullptr;
    flat::GdipCreateFont(gpFamily, size_, style_, gp::UnitPixel, &rawFont);
    native->font.reset(rawFont);
    if (native->font) flat::GdipGetFontHeightGivenDPI(native->font.get(), 96, &native->height);
    if (native->height <= 0) native->height = size_ * 1.2f;
    native_ = std::move(native);
}

float Font::Height() const { return native_->height; }

}  // namespace gfx
