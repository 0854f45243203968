#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "platform/gfx/image_codecs.h"

namespace gfx {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr, int) {}  // warnings of damaged but readable files stay quiet

// Adobe CMYK JPEGs store inverted values; convert one pixel row to BGRA.
void CmykRowToBgra(const JSAMPLE* cmyk, std::uint8_t* bgra, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        unsigned c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgra[4 * x] = static_cast<std::uint8_t>(y * k / 255);
        bgra[4 * x + 1] = static_cast<std::uint8_t>(m * k / 255);
        bgra[4 * x + 2] = static_cast<std::uint8_t>(c * k / 255);
        bgra[4 * x + 3] = 255;
    }
}

// Decodes into `out`, made once the header gives the size. Only trivially
// destructible locals live in this frame, since an error leaves it through
// longjmp.
bool Decode(std::span<const std::uint8_t> bytes, Bitmap& out) {
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = &OnError;
    err.base.emit_message = &OnMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&info);
    if (AcceptableSize(info.output_width, info.output_height))
        out = Bitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!out.IsValid()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool adobeInverted = cmyk && info.saw_Adobe_marker;
    jpeg_start_decompress(&info);
    std::uint8_t* data = out.Data();
    const int stride = out.Stride();
    while (info.output_scanline < info.output_height) {
        // CMYK rows have four bytes a pixel too, so they convert in place.
        JSAMPROW row = data + static_cast<std::size_t>(info.output_scanline) * stride;
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) CmykRowToBgra(row, row, info.output_width, adobeInverted);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes) {
    Bitmap bitmap;
    if (!Decode(bytes, bitmap)) return std::nullopt;
    return StillImage(ImageFormat::Jpeg, std::move(bitmap));
}

}  // namespace gfx
