// PNG, JPEG and GIF decoded by GDI+, every frame of an animated GIF with its
// delay. The frames come out in the bitmaps' own layout through LockBits
// into the bitmaps' pixels.
#include "platform/gfx/gdiplus/gdiplus_gfx.h"
#include "platform/gfx/image_codecs.h"

// After the system's headers as gdiplus_gfx.h sets them up.
#include <shlwapi.h>

namespace gfx {

namespace {

void Release(IStream* stream) { stream->Release(); }
using StreamOwner = rt::Owned<IStream, Release>;

// Copies the active frame of `image` into a new bitmap.
Bitmap CopyFrame(gp::GpBitmap* image, int width, int height) {
    Bitmap frame(width, height);
    if (!frame.IsValid()) return frame;
    gp::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = frame.Stride();
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = frame.Data();
    const gp::Rect all(0, 0, width, height);
    if (flat::GdipBitmapLockBits(image, &all, gp::ImageLockModeRead | gp::ImageLockModeUserInputBuf,
                                 PixelFormat32bppPARGB, &data) != gp::Ok)
        return Bitmap();
    flat::GdipBitmapUnlockBits(image, &data);
    frame.MarkDirty();
    return frame;
}

// The frame delays in hundredths of a second, one per frame, or nothing.
std::vector<std::uint32_t> FrameDelays(gp::GpImage* image, UINT frames) {
    UINT size = 0;
    if (flat::GdipGetPropertyItemSize(image, PropertyTagFrameDelay, &size) != gp::Ok ||
        size < sizeof(gp::PropertyItem))
        return {};
    std::vector<std::uint8_t> buffer(size);
    auto* item = reinterpret_cast<gp::PropertyItem*>(buffer.data());
    if (flat::GdipGetPropertyItem(image, PropertyTagFrameDelay, size, item) != gp::Ok) return {};
    const auto* values = static_cast<const std::uint32_t*>(item->value);
    const std::size_t count = item->length / sizeof(std::uint32_t);
    std::vector<std::uint32_t> delays(values, values + std::min<std::size_t>(count, frames));
    delays.resize(frames, 0);
    return delays;
}

std::optional<Image> Decode(std::span<const std::uint8_t> bytes, ImageFormat format) {
    EnsureGdiplus();
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return std::nullopt;
    // The stream holds its own copy: the image reads from it for as long as
    // it lives, and the result must not refer to `bytes`.
    StreamOwner stream(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    if (!stream) return std::nullopt;
    gp::GpBitmap* raw = nullptr;
    if (flat::GdipCreateBitmapFromStream(stream.get(), &raw) != gp::Ok || !raw) return std::nullopt;
    GpImageOwner decoded(raw);
    UINT width = 0, height = 0;
    flat::GdipGetImageWidth(raw, &width);
    flat::GdipGetImageHeight(raw, &height);
    if (!AcceptableSize(width, height)) return std::nullopt;

    UINT frames = 1;
    if (format == ImageFormat::Gif &&
        (flat::GdipImageGetFrameCount(raw, &gp::FrameDimensionTime, &frames) != gp::Ok ||
         frames < 1))
        frames = 1;
    if (std::uint64_t{width} * height * frames > kMaxImagePixels) return std::nullopt;

    Image image;
    image.format = format;
    for (UINT i = 0; i < frames; ++i) {
        if (frames > 1 &&
            flat::GdipImageSelectActiveFrame(raw, &gp::FrameDimensionTime, i) != gp::Ok)
            return std::nullopt;
        Bitmap frame = CopyFrame(raw, static_cast<int>(width), static_cast<int>(height));
        if (!frame.IsValid()) return std::nullopt;
        image.frames.push_back(std::move(frame));
    }
    if (format == ImageFormat::Gif) image.delays = FrameDelays(raw, frames);
    return image;
}

}  // namespace

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes) {
    return Decode(bytes, ImageFormat::Png);
}
std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes) {
    return Decode(bytes, ImageFormat::Jpeg);
}
std::optional<Image> DecodeGif(std::span<const std::uint8_t> bytes) {
    return Decode(bytes, ImageFormat::Gif);
}

}  // namespace gfx
