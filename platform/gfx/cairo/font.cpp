#include "platform/gfx/font.h"

#include <fontconfig/fontconfig.h>
#include <glib-object.h>
#include <pango/pangocairo.h>

#include <memory>
#include <vector>

#include "platform/gfx/cairo/cairo_gfx.h"
#include "runtime/codepage.h"
#include "runtime/owned.h"

// Sanitizer settings for every program that draws text. They live here
// because this object is linked whenever fonts are used.
#if defined(__SANITIZE_ADDRESS__)
// The font stack keeps its configuration and caches until the process ends
// and never frees them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\nleak:"
           "libpangocairo-1.0.so\n";
}
#endif
#if defined(__SANITIZE_THREAD__)
// Pango loads the font configuration and matches fonts on helper threads of
// its own and hands the results over with GLib locks, which the thread
// sanitizer cannot see (a lock taken on one thread is released on another).
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\nrace:libpangoft2-1.0.so\nrace:libpango-1.0.so\n"
           "called_from_lib:libfontconfig.so\ncalled_from_lib:libpangoft2-1.0.so\n"
           "mutex:g_rw_lock_reader_lock\n";
}
#endif

namespace gfx {

namespace {

// The family names the font map lists (what Pango can select by name).
std::vector<std::string> ListedFamilies() {
    PangoFontFamily** families = nullptr;
    int n = 0;
    pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &n);
    rt::Owned<PangoFontFamily*, g_free> owner(families);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) names.emplace_back(pango_font_family_get_name(families[i]));
    return names;
}

const std::string* FindListed(const std::vector<std::string>& listed, const std::string& name) {
    for (const std::string& f : listed)
        if (g_ascii_strcasecmp(f.c_str(), name.c_str()) == 0) return &f;
    return nullptr;
}

// Font files carry further (localised) family names after the first one; the
// font map lists only the first. Look the name up among all of them by
// listing, not matching.
std::string ListedNameForAlias(const std::string& alias) {
    rt::Owned<FcPattern, FcPatternDestroy> pattern(FcPatternCreate());
    rt::Owned<FcObjectSet, FcObjectSetDestroy> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    rt::Owned<FcFontSet, FcFontSetDestroy> set(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!set) return {};
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8* first = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &first) != FcResultMatch) continue;
        FcChar8* name = nullptr;
        for (int k = 1; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &name) == FcResultMatch;
             ++k) {
            if (g_ascii_strcasecmp(reinterpret_cast<const char*>(name), alias.c_str()) == 0)
                return reinterpret_cast<const char*>(first);
        }
    }
    return {};
}

// The first family fontconfig's preference order gives for a pattern whose
// font also supports `lang` (empty: any).
std::string PreferredFamily(const char* pattern, const char* lang) {
    rt::Owned<FcPattern, FcPatternDestroy> p(
        FcNameParse(reinterpret_cast<const FcChar8*>(pattern)));
    if (!p) return {};
    FcConfigSubstitute(nullptr, p.get(), FcMatchPattern);
    FcDefaultSubstitute(p.get());
    FcResult result;
    rt::Owned<FcFontSet, FcFontSetDestroy> set(
        FcFontSort(nullptr, p.get(), FcTrue, nullptr, &result));
    if (!set) return {};
    for (int i = 0; i < set->nfont; ++i) {
        if (lang) {
            FcLangSet* langs = nullptr;
            if (FcPatternGetLangSet(set->fonts[i], FC_LANG, 0, &langs) != FcResultMatch) continue;
            if (FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(lang)) != FcLangEqual)
                continue;
        }
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            return reinterpret_cast<const char*>(family);
    }
    return {};
}

}  // namespace

// Pango reads fontconfig's files on a thread of its own from the moment the
// font map exists; every call that needs a font waits for it.
void PrepareFonts() { pango_cairo_font_map_get_default(); }

std::optional<FontFamily> FontFamily::FromName(const rt::Text& name) {
    if (name.empty()) return std::nullopt;
    const std::string utf8 = rt::Cp936ToUtf8(name);
    const std::vector<std::string> listed = ListedFamilies();
    if (const std::string* found = FindListed(listed, utf8)) return FontFamily(*found);
    const std::string canonical = ListedNameForAlias(utf8);
    if (!canonical.empty()) {
        if (const std::string* found = FindListed(listed, canonical)) return FontFamily(*found);
    }
    return std::nullopt;
}

FontFamily FontFamily::DefaultChineseSans() {
    const std::vector<std::string> listed = ListedFamilies();
    for (const char* lang : {"zh-cn", static_cast<const char*>(nullptr)}) {
        const std::string family = PreferredFamily("sans-serif", lang);
        if (const std::string* found = FindListed(listed, family)) return FontFamily(*found);
    }
    if (!listed.empty()) return FontFamily(listed.front());
    return FontFamily("Sans");
}

rt::Text FontFamily::Name() const { return rt::Utf8ToCp936(utf8Name_); }

Font::Font(const FontFamily& family, float sizePx, int style)
    : family_(family), size_(sizePx > 0 ? sizePx : 1), style_(style) {
    auto native = std::make_shared<Native>();
    native->desc.reset(pango_font_description_new());
    PangoFontDescription* d = native->desc.get();
    pango_font_description_set_family(d, family_.NameUtf8().c_str());
    pango_font_description_set_absolute_size(d, static_cast<double>(size_) * PANGO_SCALE);
    pango_font_description_set_weight(d, IsBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(d, IsItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    rt::Owned<PangoContext, g_object_unref> context(
        pango_font_map_create_context(pango_cairo_font_map_get_default()));
    rt::Owned<PangoFont, g_object_unref> font(
        pango_font_map_load_font(pango_cairo_font_map_get_default(), context.get(), d));
    if (font) {
        rt::Owned<PangoFontMetrics, pango_font_metrics_unref> metrics(
            pango_font_get_metrics(font.get(), nullptr));
        int h = pango_font_metrics_get_height(metrics.get());
        if (h <= 0)
            h = pango_font_metrics_get_ascent(metrics.get()) +
                pango_font_metrics_get_descent(metrics.get());
        native->height = static_cast<float>(h) / PANGO_SCALE;
    }
    if (native->height <= 0) native->height = size_ * 1.2f;
    native_ = std::move(native);
}

float Font::Height() const { return native_->height; }

}  // namespace gfx
