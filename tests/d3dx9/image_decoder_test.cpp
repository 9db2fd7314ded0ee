#include "d3dx9/image/image_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>

#include "image_samples.h"
#include "jpeg_reference.h"

namespace quorvane::image {
namespace {

using tests::EncodeBmp24;
using tests::EncodeJpeg;
using tests::EncodePng;
using tests::PatternRgba;

TEST(ImageDecoder, PngWithAlphaDecodesToExactlyItsPixels)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(7, 5);
    const std::vector<std::uint8_t> png = EncodePng(rgba, 7, 5, true);
    DecodedImage image;
    ASSERT_TRUE(DecodeImageToBuffer(png.data(), png.size(), image));
    EXPECT_EQ(image.info.fileFormat, ImageFileFormat::png);
    EXPECT_EQ(image.info.width, 7u);
    EXPECT_EQ(image.info.height, 5u);
    EXPECT_TRUE(image.info.hasAlpha);
    for (std::size_t i = 0; i < 7 * 5; ++i) {
        EXPECT_EQ(image.pixels[i * 4 + 0], rgba[i * 4 + 2]) << i;  // blue first
        EXPECT_EQ(image.pixels[i * 4 + 1], rgba[i * 4 + 1]) << i;
        EXPECT_EQ(image.pixels[i * 4 + 2], rgba[i * 4 + 0]) << i;
        EXPECT_EQ(image.pixels[i * 4 + 3], rgba[i * 4 + 3]) << i;
    }
}

TEST(ImageDecoder, PngWithoutAlphaIsOpaque)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(4, 3);
    const std::vector<std::uint8_t> png = EncodePng(rgba, 4, 3, false);
    DecodedImage image;
    ASSERT_TRUE(DecodeImageToBuffer(png.data(), png.size(), image));
    EXPECT_FALSE(image.info.hasAlpha);
    for (std::size_t i = 0; i < 4 * 3; ++i) {
        EXPECT_EQ(image.pixels[i * 4 + 0], rgba[i * 4 + 2]);
        EXPECT_EQ(image.pixels[i * 4 + 2], rgba[i * 4 + 0]);
        EXPECT_EQ(image.pixels[i * 4 + 3], 255);
    }
}

TEST(ImageDecoder, JpegEqualsTurboJpegsOwnDecodeOfTheSameBytes)
{
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(PatternRgba(37, 23), 37, 23, 85);
    DecodedImage image;
    ASSERT_TRUE(DecodeImageToBuffer(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.info.fileFormat, ImageFileFormat::jpeg);
    EXPECT_FALSE(image.info.hasAlpha);

    const tests::JpegReference reference = tests::DecodeWithTurboJpeg(jpeg);
    ASSERT_EQ(reference.width, 37);
    EXPECT_EQ(image.pixels, reference.bgrx);
}

TEST(ImageDecoder, RowsAreWrittenAtTheGivenPitchAndPaddingIsLeftAlone)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(3, 2);
    for (const std::vector<std::uint8_t>& file :
         {EncodePng(rgba, 3, 2, true), EncodeBmp24(rgba, 3, 2), EncodeJpeg(rgba, 3, 2, 100)}) {
        DecodedImage packed;
        ASSERT_TRUE(DecodeImageToBuffer(file.data(), file.size(), packed));
        const std::size_t rowBytes = 3 * 4;
        const std::size_t pitch = rowBytes + 8;
        std::vector<std::uint8_t> pixels(pitch * 2, 0xAB);
        ASSERT_TRUE(DecodeImage(file.data(), file.size(), packed.info, pixels.data(), pitch));
        for (std::size_t row = 0; row < 2; ++row) {
            EXPECT_TRUE(
                std::equal(&pixels[row * pitch], &pixels[row * pitch] + rowBytes, &packed.pixels[row * rowBytes]));
            for (std::size_t padding = rowBytes; padding < pitch; ++padding) {
                EXPECT_EQ(pixels[row * pitch + padding], 0xAB);
            }
        }
        EXPECT_FALSE(DecodeImage(file.data(), file.size(), packed.info, pixels.data(), rowBytes - 4));
    }
}

TEST(ImageDecoder, BitmapsInEveryLayoutDecodeToTheirPixels)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(5, 3);
    DecodedImage image;
    const std::vector<std::uint8_t> bottomUp = EncodeBmp24(rgba, 5, 3);
    ASSERT_TRUE(DecodeImageToBuffer(bottomUp.data(), bottomUp.size(), image));
    EXPECT_EQ(image.info.fileFormat, ImageFileFormat::bmp);
    EXPECT_FALSE(image.info.hasAlpha);
    for (std::size_t i = 0; i < 5 * 3; ++i) {
        EXPECT_EQ(image.pixels[i * 4 + 0], rgba[i * 4 + 2]);
        EXPECT_EQ(image.pixels[i * 4 + 1], rgba[i * 4 + 1]);
        EXPECT_EQ(image.pixels[i * 4 + 2], rgba[i * 4 + 0]);
        EXPECT_EQ(image.pixels[i * 4 + 3], 255);
    }

    // 32 bits with an alpha mask (V5 header), top-down.
    const std::vector<std::uint8_t> withAlpha = tests::EncodeBmp32WithAlpha(rgba, 5, 3);
    ASSERT_TRUE(DecodeImageToBuffer(withAlpha.data(), withAlpha.size(), image));
    EXPECT_TRUE(image.info.hasAlpha);
    for (std::size_t i = 0; i < 5 * 3; ++i) {
        EXPECT_EQ(image.pixels[i * 4 + 0], rgba[i * 4 + 2]);
        EXPECT_EQ(image.pixels[i * 4 + 3], rgba[i * 4 + 3]);
    }

    // 4-bit palette: pixel x uses colour x.
    const std::vector<std::uint8_t> palettised = tests::EncodeBmp4Palette(5, 2);
    ASSERT_TRUE(DecodeImageToBuffer(palettised.data(), palettised.size(), image));
    for (std::size_t y = 0; y < 2; ++y) {
        for (std::size_t x = 0; x < 5; ++x) {
            const std::uint8_t* p = &image.pixels[(y * 5 + x) * 4];
            EXPECT_EQ(p[0], 10 * x);
            EXPECT_EQ(p[1], 20 * x);
            EXPECT_EQ(p[2], 30 * x);
            EXPECT_EQ(p[3], 255);
        }
    }
}

TEST(ImageDecoder, TruncatedFilesAreRefusedAtEveryLength)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(16, 16);
    for (const std::vector<std::uint8_t>& file :
         {EncodePng(rgba, 16, 16, true), EncodeBmp24(rgba, 16, 16), EncodeJpeg(rgba, 16, 16, 90)}) {
        for (std::size_t size = 0; size < file.size(); ++size) {
            const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
            DecodedImage image;
            EXPECT_FALSE(DecodeImageToBuffer(cut.data(), cut.size(), image))
                << "cut at " << size << " of " << file.size();
            EXPECT_TRUE(image.pixels.empty());
            // A file cut short is known from its structure (a JPEG by its missing end-of-image
            // marker) before any pixels are allocated.
            ImageInfo info;
            EXPECT_FALSE(ReadImageInfo(cut.data(), cut.size(), info)) << "cut at " << size;
        }
    }
}

TEST(ImageDecoder, JpegWithBytesAfterItsEndStillDecodes)
{
    // Some writers pad a file after the end-of-image marker; the image itself is whole.
    const std::vector<std::uint8_t> rgba = PatternRgba(16, 16);
    std::vector<std::uint8_t> padded = EncodeJpeg(rgba, 16, 16, 90);
    DecodedImage reference;
    ASSERT_TRUE(DecodeImageToBuffer(padded.data(), padded.size(), reference));
    padded.insert(padded.end(), {0x00, 0x00, 0xFF, 0x00, 0x12});
    DecodedImage image;
    ASSERT_TRUE(DecodeImageToBuffer(padded.data(), padded.size(), image));
    EXPECT_EQ(image.pixels, reference.pixels);
}

TEST(ImageDecoder, GarbageAndDamagedFilesAreRefused)
{
    DecodedImage image;
    const std::string garbage = "this is not an image, just some bytes that go on for a while";
    EXPECT_FALSE(DecodeImageToBuffer(reinterpret_cast<const std::uint8_t*>(garbage.data()), garbage.size(), image));
    EXPECT_FALSE(DecodeImageToBuffer(nullptr, 0, image));

    // Valid signatures followed by noise.
    for (std::vector<std::uint8_t> file :
         {EncodePng(PatternRgba(16, 16), 16, 16, true), EncodeJpeg(PatternRgba(16, 16), 16, 16, 90)}) {
        for (std::size_t i = file.size() / 3; i < file.size(); ++i) {
            file[i] = static_cast<std::uint8_t>(i * 131 + 7);
        }
        EXPECT_FALSE(DecodeImageToBuffer(file.data(), file.size(), image));
    }

    // A bitmap whose pixel data would lie past the end, or with a zero-sized side.
    std::vector<std::uint8_t> bmp = EncodeBmp24(PatternRgba(4, 4), 4, 4);
    std::vector<std::uint8_t> tall = bmp;
    tall[22] = 200;  // height 200 with data for 4 rows
    EXPECT_FALSE(DecodeImageToBuffer(tall.data(), tall.size(), image));
    std::vector<std::uint8_t> empty = bmp;
    empty[18] = 0;  // width 0
    EXPECT_FALSE(DecodeImageToBuffer(empty.data(), empty.size(), image));
}

TEST(ImageDecoder, SidesAboveTheBoundAreRefusedBeforeDecoding)
{
    ImageInfo info;
    const std::vector<std::uint8_t> wide = EncodePng(PatternRgba(maxImageSide + 1, 1), maxImageSide + 1, 1, false);
    EXPECT_FALSE(ReadImageInfo(wide.data(), wide.size(), info));
    const std::vector<std::uint8_t> wideJpeg = EncodeJpeg(PatternRgba(maxImageSide + 1, 1), maxImageSide + 1, 1, 50);
    EXPECT_FALSE(ReadImageInfo(wideJpeg.data(), wideJpeg.size(), info));
    const std::vector<std::uint8_t> widest = EncodePng(PatternRgba(maxImageSide, 1), maxImageSide, 1, false);
    EXPECT_TRUE(ReadImageInfo(widest.data(), widest.size(), info));

    // A bitmap header claiming 16385 x 16385 (a gigabyte of pixels) with no pixels behind it.
    std::vector<std::uint8_t> bmp = EncodeBmp24(PatternRgba(1, 1), 1, 1);
    const std::int32_t huge = maxImageSide + 1;
    std::memcpy(&bmp[18], &huge, 4);
    std::memcpy(&bmp[22], &huge, 4);
    EXPECT_FALSE(ReadImageInfo(bmp.data(), bmp.size(), info));
}

}  // namespace
}  // namespace quorvane::image
