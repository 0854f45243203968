#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "image_samples.h"
#include "platform/gfx/image.h"

namespace {

using namespace gfx;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

Bytes Sample(std::span<const std::uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); }

// A bottom-up BMP with a 40-byte header.
Bytes MakeBmp(int w, int h, int bpp, const Bytes& palette, const Bytes& pixels,
              std::uint32_t compression = 0, const Bytes& masks = {}) {
    Bytes b = {'B', 'M'};
    const std::uint32_t offset =
        14 + 40 + static_cast<std::uint32_t>(masks.size() + palette.size());
    Put32(b, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(w));
    Put32(b, static_cast<std::uint32_t>(h));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bpp));
    Put32(b, compression);
    Put32(b, static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<std::uint32_t>(palette.size() / 4));
    Put32(b, 0);
    b.insert(b.end(), masks.begin(), masks.end());
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// Decodes a sample that must come out as a `format` image of `width` x
// `height`.
std::optional<Image> DecodeSample(std::span<const std::uint8_t> bytes, ImageFormat format,
                                  int width, int height) {
    std::optional<Image> image = DecodeImage(bytes);
    EXPECT_TRUE(image.has_value());
    if (image) {
        EXPECT_EQ(image->format, format);
        EXPECT_EQ(image->Width(), width);
        EXPECT_EQ(image->Height(), height);
    }
    return image;
}

// A pixel of a lossy sample: opaque, each channel within 4 of its colour.
void ExpectOpaqueNear(Argb p, int red, int green, int blue) {
    EXPECT_EQ(AlphaOf(p), 255);
    EXPECT_NEAR(RedOf(p), red, 4);
    EXPECT_NEAR(GreenOf(p), green, 4);
    EXPECT_NEAR(BlueOf(p), blue, 4);
}

TEST(DecodeImage, Png) {
    const auto image = DecodeSample(samples::kPng, ImageFormat::Png, 8, 3);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->FrameCount(), 1);
    EXPECT_EQ(image->frames[0].GetPixel(0, 0), MakeColor(255, 255, 0, 0));
    const Argb right = image->frames[0].GetPixel(7, 2);
    EXPECT_NEAR(AlphaOf(right), 128, 1);
    EXPECT_GE(BlueOf(right), 250);
}

TEST(DecodeImage, PngWithoutSignatureIsNotRecognisedUntilTheSignatureIsAdded) {
    const Bytes png = Sample(samples::kPng);
    Bytes bare(png.begin() + 8, png.end());
    EXPECT_FALSE(DecodeImage(bare).has_value());
    bare.insert(bare.begin(), png.begin(), png.begin() + 8);
    EXPECT_TRUE(DecodeImage(bare).has_value());
}

TEST(DecodeImage, JpegIsOpaqueWithItsColour) {
    const auto image = DecodeSample(samples::kJpeg, ImageFormat::Jpeg, 16, 9);
    ASSERT_TRUE(image.has_value());
    ExpectOpaqueNear(image->frames[0].GetPixel(8, 4), 200, 100, 50);

    // Adobe CMYK stores inverted inks: full values mean no ink.
    const auto cmyk = DecodeSample(samples::kCmykJpeg, ImageFormat::Jpeg, 8, 8);
    ASSERT_TRUE(cmyk.has_value());
    ExpectOpaqueNear(cmyk->frames[0].GetPixel(4, 4), 255, 155, 55);
}

TEST(DecodeImage, AnimatedGifHasComposedFramesAndDelays) {
    const auto image = DecodeSample(samples::kGif, ImageFormat::Gif, 4, 4);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->FrameCount(), 2);
    ASSERT_EQ(image->delays.size(), 2u);
    EXPECT_EQ(image->delays[0], 7u);
    EXPECT_EQ(image->delays[1], 0u);
    const Argb red = MakeColor(255, 255, 0, 0), blue = MakeColor(255, 0, 0, 255);
    EXPECT_EQ(image->frames[0].GetPixel(1, 1), red);
    EXPECT_EQ(image->frames[1].GetPixel(1, 1), blue);
    EXPECT_EQ(image->frames[1].GetPixel(3, 3), red) << "transparent pixels show the kept frame";
}

TEST(DecodeImage, Bmp24And8And32BitAndRle) {
    // 24 bits, 2 x 2, rows padded to 8 bytes, bottom row first.
    const Bytes px24 = {0,   0, 255, 0,   255, 0,   0, 0, /* bottom: red, green */
                        255, 0, 0,   255, 255, 255, 0, 0 /* top: blue, white */};
    auto image = DecodeImage(MakeBmp(2, 2, 24, {}, px24));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->format, ImageFormat::Bmp);
    EXPECT_EQ(image->frames[0].GetPixel(0, 1), MakeColor(255, 255, 0, 0));
    EXPECT_EQ(image->frames[0].GetPixel(1, 1), MakeColor(255, 0, 255, 0));
    EXPECT_EQ(image->frames[0].GetPixel(0, 0), MakeColor(255, 0, 0, 255));
    EXPECT_EQ(image->frames[0].GetPixel(1, 0), MakeColor(255, 255, 255, 255));

    const Bytes palette = {0, 0, 0, 0, 0, 128, 255, 0};  // black, orange
    image = DecodeImage(MakeBmp(3, 1, 8, palette, {1, 0, 1, 0}));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->frames[0].GetPixel(0, 0), MakeColor(255, 255, 128, 0));
    EXPECT_EQ(image->frames[0].GetPixel(1, 0), MakeColor(255, 0, 0, 0));

    // 32 bits without an alpha mask: the fourth byte is ignored.
    image = DecodeImage(MakeBmp(1, 1, 32, {}, {10, 20, 30, 0}));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->frames[0].GetPixel(0, 0), MakeColor(255, 30, 20, 10));

    // 32-bit bitfields with alpha (BI_ALPHABITFIELDS).
    Bytes masks;
    for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put32(masks, m);
    image = DecodeImage(MakeBmp(1, 1, 32, {}, {10, 20, 30, 128}, 6, masks));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(AlphaOf(image->frames[0].GetPixel(0, 0)), 128);
    EXPECT_NEAR(RedOf(image->frames[0].GetPixel(0, 0)), 30, 1);

    // RLE8: the bottom row a literal of 3 pixels, the top row a run of one
    // pixel and then the end of the bitmap.
    image = DecodeImage(MakeBmp(3, 2, 8, palette, {0, 3, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1}, 1));
    ASSERT_TRUE(image.has_value());
    const Argb orange = MakeColor(255, 255, 128, 0), black = MakeColor(255, 0, 0, 0);
    EXPECT_EQ(image->frames[0].GetPixel(0, 1), orange);
    EXPECT_EQ(image->frames[0].GetPixel(1, 1), black);
    EXPECT_EQ(image->frames[0].GetPixel(2, 1), orange);
    EXPECT_EQ(image->frames[0].GetPixel(0, 0), orange);
    EXPECT_EQ(image->frames[0].GetPixel(1, 0), 0u) << "pixels an RLE stream skips stay transparent";
}

TEST(DecodeImage, DamagedOrUnknownDataGivesNothing) {
    EXPECT_FALSE(DecodeImage({}).has_value());
    EXPECT_FALSE(DecodeImage(Bytes{'h', 'e', 'l', 'l', 'o'}).has_value());

    Bytes png = Sample(samples::kPng);
    png.resize(png.size() / 2);
    EXPECT_FALSE(DecodeImage(png).has_value());

    Bytes jpeg = Sample(samples::kJpeg);
    jpeg.resize(20);
    EXPECT_FALSE(DecodeImage(jpeg).has_value());

    Bytes gif = Sample(samples::kGif);
    gif.resize(14);
    EXPECT_FALSE(DecodeImage(gif).has_value());

    // Pixel data shorter than the header promises.
    Bytes bmp = MakeBmp(100, 100, 24, {}, {1, 2, 3});
    EXPECT_FALSE(DecodeImage(bmp).has_value());
    // A size beyond the surface limit.
    bmp = MakeBmp(40000, 1, 24, {}, Bytes(120000, 0));
    EXPECT_FALSE(DecodeImage(bmp).has_value());
    // A header size that runs past the end.
    bmp = MakeBmp(1, 1, 24, {}, {1, 2, 3, 0});
    bmp[14] = 200;
    EXPECT_FALSE(DecodeImage(bmp).has_value());
}

TEST(DecodeImage, TheResultOutlivesTheBytes) {
    std::optional<Image> image;
    {
        Bytes png = Sample(samples::kPng);
        image = DecodeImage(png);
        std::fill(png.begin(), png.end(), 0);
    }
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->frames[0].GetPixel(0, 0), MakeColor(255, 255, 0, 0));
}

}  // namespace

namespace {

// Every prefix and a spread of single-byte changes of a valid file either
// decode to a sane image or give nothing; under the sanitizers this also
// checks that no read or write leaves the buffers.
void Mangle(const Bytes& good) {
    for (std::size_t n = 0; n < good.size(); ++n) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        if (const auto image = DecodeImage(cut)) {
            EXPECT_GT(image->Width(), 0);
            EXPECT_EQ(image->frames.front().Width(), image->Width());
        }
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (std::uint8_t value : {0x00, 0x7F, 0xFF}) {
            Bytes bad = good;
            bad[at] = value;
            if (const auto image = DecodeImage(bad)) {
                for (const Bitmap& frame : image->frames) EXPECT_TRUE(frame.IsValid());
            }
        }
    }
}

TEST(DecodeImage, DamagedFilesNeverCrash) {
    Mangle(Sample(samples::kPng));
    Mangle(Sample(samples::kJpeg));
    Mangle(Sample(samples::kGif));
    const Bytes palette = {0, 0, 0, 0, 0, 128, 255, 0};
    Mangle(MakeBmp(3, 2, 8, palette, {0, 3, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1}, 1));
    Mangle(MakeBmp(3, 2, 4, palette, {0x10, 0x10, 0, 0, 0x01, 0x01, 0, 0}));
    Mangle(MakeBmp(2, 2, 16, {}, {0x1F, 0, 0xE0, 0x03, 0, 0x7C, 0xFF, 0x7F}));
}

}  // namespace
