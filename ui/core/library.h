// Library start-up and the small process-wide services of the library: text
// conversion, font creation with fallback, image decoding from memory, and the
// window class and creation of host windows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "runtime/text.h"
#include "ui/core/types.h"

namespace ui {

inline constexpr const char* kHostClassName = "Qd_DirectUI";
inline constexpr const char* kHostProperty = "Qd_Wnd_Control";

// Process-wide state made by LibraryStartup and kept for the life of the process.
struct LibraryState {
    bool started = false;
    // Whether the platform can blur what is behind a translucent window.
    bool blurAvailable = false;
    std::optional<gfx::Font> defaultFont;
    plat::Hcursor defaultCursor = nullptr;
    std::shared_ptr<gfx::Bitmap> captionImage;  // the caption buttons' picture strip
};

LibraryState& Library();

// Starts the library once; later calls do nothing.
void LibraryStartup();

// UTF-16 code units with the terminating zero, as bytes (2 per unit).
rt::ByteBuffer ToWide(const rt::Text& text, int codePage);
rt::Text ToNarrow(const rt::ByteBuffer& wide, int codePage);

// A font of `face`, or of the default font's family when the machine has no
// such face; nothing when neither can be made.
std::optional<gfx::Font> CreateUiFont(const rt::Text& face, float size, int style);

// The face of a system font (1 menu, 2 caption, 3 message); "宋体" when no font
// of size 12 can be made from it.
rt::Text SystemFontFace(int kind = 2);

// Decodes an image held in memory into a 32-bit ARGB bitmap that no longer
// depends on the bytes. addPngSignature: the block is a PNG stored without its
// 8-byte signature. Null when nothing decodes.
std::unique_ptr<gfx::Bitmap> LoadImageFromBytes(std::span<const std::uint8_t> bytes,
                                                bool addPngSignature);
// The keepStreamImage form: the decoded image as it is (every frame of an
// animated image, with its delays).
std::optional<gfx::Image> LoadImageStream(std::span<const std::uint8_t> bytes,
                                          bool addPngSignature);
int ImageWidth(const gfx::Bitmap* image);
int ImageHeight(const gfx::Bitmap* image);

bool RegisterHostClass(const std::string& className, std::optional<plat::UINT> style = std::nullopt,
                       std::optional<plat::Hcursor> cursor = std::nullopt,
                       std::optional<plat::WndProc> windowProc = std::nullopt);

struct HostWindowOptions {
    NativeWindow parent = nullptr;
    rt::Text title;
    std::optional<int> x, y;
    std::optional<int> width, height;      // 380 x 250
    std::optional<std::string> className;  // "Qd_DirectUI"
    std::optional<plat::DWORD> style, exStyle;
    std::optional<bool> show;
};

inline constexpr plat::DWORD kHostDefaultStyle = plat::WS_POPUP | plat::WS_CLIPCHILDREN |
                                                 plat::WS_MINIMIZEBOX | plat::WS_MAXIMIZEBOX |
                                                 plat::WS_SYSMENU;

// Creates a host window; without x or y it is centred on the work area.
NativeWindow CreateHostWindow(const HostWindowOptions& options);

// The position CreateHostWindow gives a window of (width, height) on `workArea`.
plat::POINT CentredPosition(const plat::RECT& workArea, int width, int height);

}  // namespace ui
