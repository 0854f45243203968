#include "ui/core/library.h"

#include "ui/controls/edit_context_menu.h"

#include <vector>

#include "assets/assets.h"
#include "runtime/codepage.h"

namespace ui {

namespace {
constexpr std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

std::optional<gfx::Font> FontFromFace(const rt::Text& face, float size, int style) {
    if (auto family = gfx::FontFamily::FromName(face)) return gfx::Font(*family, size, style);
    return std::nullopt;
}
}  // namespace

LibraryState& Library() {
    static LibraryState state;
    return state;
}

void LibraryStartup() {
    LibraryState& lib = Library();
    if (lib.started) return;
    lib.started = true;
    // Every platform of this program offers composition and blur behind
    // (the blur itself only happens while a compositor runs).
    lib.blurAvailable = true;
    for (const rt::Text& face : {rt::Text("宋体"), SystemFontFace(2)}) {
        if (auto font = FontFromFace(face, 12, gfx::FontStyle::kRegular)) {
            lib.defaultFont = std::move(font);
            break;
        }
    }
    lib.defaultCursor = plat::LoadCursor(plat::IDC_ARROW);
    lib.captionImage = LoadImageFromBytes(assets::CaptionButtonStrip(), true);
    RegisterHostClass(kHostClassName);
    EditMenu();
}

rt::ByteBuffer ToWide(const rt::Text& text, int codePage) {
    std::u16string wide = rt::MultiByteToWide(codePage, text);
    rt::ByteBuffer out((wide.size() + 1) * 2, 0);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        out[i * 2] = static_cast<std::uint8_t>(wide[i] & 0xFF);
        out[i * 2 + 1] = static_cast<std::uint8_t>(wide[i] >> 8);
    }
    return out;
}

rt::Text ToNarrow(const rt::ByteBuffer& wide, int codePage) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(wide[i] | (wide[i + 1] << 8));
        if (unit == 0) break;
        units.push_back(unit);
    }
    return rt::WideToMultiByte(codePage, units);
}

std::optional<gfx::Font> CreateUiFont(const rt::Text& face, float size, int style) {
    if (auto font = FontFromFace(face, size, style)) return font;
    const LibraryState& lib = Library();
    if (!lib.defaultFont) return std::nullopt;
    return gfx::Font(lib.defaultFont->Family(), size, style);
}

rt::Text SystemFontFace(int kind) {
    (void)kind;  // menu, caption and message fonts share one face on this desktop
    rt::Text face = gfx::FontFamily::DefaultChineseSans().Name();
    if (face == "Tahoma") face = "宋体";
    if (face.empty() || !CreateUiFont(face, 12, gfx::FontStyle::kRegular)) return "宋体";
    return face;
}

std::optional<gfx::Image> LoadImageStream(std::span<const std::uint8_t> bytes,
                                          bool addPngSignature) {
    if (bytes.empty()) return std::nullopt;
    if (!addPngSignature) return gfx::DecodeImage(bytes);
    std::vector<std::uint8_t> block;
    block.reserve(bytes.size() + 8);
    block.insert(block.end(), std::begin(kPngSignature), std::end(kPngSignature));
    block.insert(block.end(), bytes.begin(), bytes.end());
    return gfx::DecodeImage(block);
}

std::unique_ptr<gfx::Bitmap> LoadImageFromBytes(std::span<const std::uint8_t> bytes,
                                                bool addPngSignature) {
    auto image = LoadImageStream(bytes, addPngSignature);
    if (!image || image->frames.empty() || !image->frames.front().IsValid()) return nullptr;
    return std::make_unique<gfx::Bitmap>(image->frames.front().Clone());
}

int ImageWidth(const gfx::Bitmap* image) { return image ? image->Width() : 0; }
int ImageHeight(const gfx::Bitmap* image) { return image ? image->Height() : 0; }

bool RegisterHostClass(const std::string& className, std::optional<plat::UINT> style,
                       std::optional<plat::Hcursor> cursor,
                       std::optional<plat::WndProc> windowProc) {
    plat::WNDCLASS wc;
    wc.style = style.value_or(plat::CS_DBLCLKS);
    // Without a procedure the class forwards to the default one; a host
    // replaces it per window when it attaches.
    if (windowProc) wc.lpfnWndProc = *windowProc;
    wc.hCursor = cursor.value_or(Library().defaultCursor);
    wc.lpszClassName = className;
    return plat::RegisterClass(wc);
}

plat::POINT CentredPosition(const plat::RECT& workArea, int width, int height) {
    const double l = workArea.left, t = workArea.top;
    const double w = workArea.width(), h = workArea.height();
    return plat::POINT{static_cast<int>((w - l - width) / 2.0),
                       static_cast<int>((h - t - height) / 2.0)};
}

NativeWindow CreateHostWindow(const HostWindowOptions& options) {
    const int width = options.width.value_or(380);
    const int height = options.height.value_or(250);
    const std::string className = options.className.value_or(kHostClassName);
    const plat::DWORD style = options.style.value_or(kHostDefaultStyle);
    const plat::DWORD exStyle = options.exStyle.value_or(0);
    int x = 0, y = 0;
    if (options.x && options.y) {
        x = *options.x;
        y = *options.y;
    } else {
        const plat::POINT centre = CentredPosition(plat::GetWorkArea(), width, height);
        x = options.x.value_or(centre.x);
        y = options.y.value_or(centre.y);
    }
    NativeWindow window = plat::CreateWindowEx(exStyle, className, options.title, style, x, y,
                                               width, height, options.parent);
    if (window && options.show.value_or(false)) {
        plat::ShowWindow(window, plat::SW_SHOWNORMAL);
        plat::UpdateWindow(window);
    }
    return window;
}

}  // namespace ui
