#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gfx/image_codecs.h"
#include "platform/gfx/pixel.h"

namespace gfx {

namespace {

struct Reader {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

int Read(GifFileType* gif, GifByteType* buffer, int length) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const std::size_t n =
        std::min(static_cast<std::size_t>(std::max(length, 0)), r->bytes.size() - r->pos);
    std::memcpy(buffer, r->bytes.data() + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

}  // namespace

// Every frame is composed on the logical screen (transparent where nothing
// was drawn) following the frames' disposal methods, so each frame is a
// complete picture of the animation at that moment.
std::optional<Image> DecodeGif(std::span<const std::uint8_t> bytes) {
    Reader reader{bytes, 0};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, &Read, &error));
    if (!gif) return std::nullopt;
    // A file cut short after some whole frames still shows those frames.
    // The last frame of a damaged file may be partly read: it is dropped.
    const bool complete = DGifSlurp(gif.get()) == GIF_OK;
    const int count = complete ? gif->ImageCount : gif->ImageCount - 1;
    if (count <= 0 || !gif->SavedImages) return std::nullopt;

    int width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0) {
        // Some writers leave the screen size 0: take the frames' extent.
        for (int i = 0; i < count; ++i) {
            const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
            width = std::max(width, d.Left + d.Width);
            height = std::max(height, d.Top + d.Height);
        }
    }
    if (!AcceptableSize(static_cast<std::uint64_t>(std::max(width, 0)),
                        static_cast<std::uint64_t>(std::max(height, 0))) ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
                static_cast<std::uint64_t>(count) >
            kMaxImagePixels)
        return std::nullopt;

    Image image;
    image.format = ImageFormat::Gif;
    Bitmap canvas(width, height);
    if (!canvas.IsValid()) return std::nullopt;
    for (int i = 0; i < count; ++i) {
        const SavedImage& frame = gif->SavedImages[i];
        const GifImageDesc& d = frame.ImageDesc;
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif.get(), i, &gcb);
        image.delays.push_back(static_cast<std::uint32_t>(std::max(gcb.DelayTime, 0)));

        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        Bitmap previous;
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) previous = canvas.Clone();
        if (map && frame.RasterBits && d.Width > 0 && d.Height > 0) {
            std::uint8_t* data = canvas.Data();
            for (int y = 0; y < d.Height; ++y) {
                const int cy = d.Top + y;
                if (cy < 0 || cy >= height) continue;
                auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(cy) *
                                                                        canvas.Stride());
                for (int x = 0; x < d.Width; ++x) {
                    const int cx = d.Left + x;
                    if (cx < 0 || cx >= width) continue;
                    const int index = frame.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
                    if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
                    const GifColorType& c = map->Colors[index];
                    row[cx] = MakeColor(255, c.Red, c.Green, c.Blue);
                }
            }
            canvas.MarkDirty();
        }
        image.frames.push_back(canvas.Clone());

        if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
            // The frame's area goes back to transparent.
            Bitmap clear(std::max(d.Width, 1), std::max(d.Height, 1));
            canvas.CopyFrom(clear, RectI{0, 0, d.Width, d.Height}, d.Left, d.Top);
        } else if (gcb.DisposalMode == DISPOSE_PREVIOUS && previous.IsValid()) {
            canvas = std::move(previous);
        }
    }
    return image;
}

}  // namespace gfx
