// The application icon: a round globe, opaque inside, transparent around it with a soft rim,
// east to the right and north up; the .ico file holding each size as Windows reads it, and the
// PNG file the desktop reads.
#include "globe_icon.h"
#include "png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace quorvane::tests {
namespace {

using data::RgbaImage;

// An Earth whose colours say where they are: red in the east, green in the north.
data::RgbImage HemisphereEarth()
{
    data::RgbImage earth{64, 32, {}};
    for (int y = 0; y < earth.height; ++y) {
        for (int x = 0; x < earth.width; ++x)
            earth.rgb.insert(earth.rgb.end(), {std::uint8_t(x >= 32 ? 255 : 0), std::uint8_t(y < 16 ? 255 : 0), 128});
    }
    return earth;
}

const std::uint8_t* Pixel(const RgbaImage& image, int x, int y)
{
    return &image.rgba[(std::size_t(y) * std::size_t(image.size) + std::size_t(x)) * 4];
}

TEST(GlobeIcon, IsARoundDiscOnATransparentSurroundWithASoftRim)
{
    for (int size : {16, 32, 48, 256}) {
        const RgbaImage image = data::RenderGlobe(HemisphereEarth(), size);
        ASSERT_EQ(image.rgba.size(), std::size_t(size) * size * 4);
        double coverage = 0;
        int partial = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int alpha = Pixel(image, x, y)[3];
                coverage += alpha / 255.0;
                partial += alpha > 0 && alpha < 255 ? 1 : 0;
            }
        }
        const double radius = size / 2.0 - size / 32.0;
        EXPECT_NEAR(coverage, std::numbers::pi * radius * radius, 0.02 * coverage) << size;
        EXPECT_GT(partial, 0) << size;
        EXPECT_EQ(Pixel(image, 0, 0)[3], 0) << size;
        EXPECT_EQ(Pixel(image, size - 1, size - 1)[3], 0) << size;
        EXPECT_EQ(Pixel(image, size / 2, size / 2)[3], 255) << size;
    }
}

TEST(GlobeIcon, ShowsEastToTheRightAndNorthUp)
{
    const int size = 64, centre = size / 2, offset = size / 4;
    const RgbaImage image = data::RenderGlobe(HemisphereEarth(), size, {0.0, 0.0});
    EXPECT_GT(Pixel(image, centre + offset, centre)[0], 100);  // east: red
    EXPECT_LT(Pixel(image, centre - offset, centre)[0], 10);
    EXPECT_GT(Pixel(image, centre, centre - offset)[1], 100);  // north: green
    EXPECT_LT(Pixel(image, centre, centre + offset)[1], 10);
}

std::uint32_t Read(const std::vector<std::uint8_t>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes.at(at + std::size_t(i));
    return value;
}

TEST(IcoFile, HoldsEachImageAsA32BitBitmapWithItsMask)
{
    const std::vector<RgbaImage> images = {data::RenderGlobe(HemisphereEarth(), 16),
                                           data::RenderGlobe(HemisphereEarth(), 256)};
    const std::vector<std::uint8_t> file = data::IcoFile(images);
    ASSERT_EQ(Read(file, 0, 2), 0u);
    ASSERT_EQ(Read(file, 2, 2), 1u);  // an icon
    ASSERT_EQ(Read(file, 4, 2), 2u);
    std::size_t expectedOffset = 6 + 2 * 16;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const RgbaImage& image = images[i];
        const std::size_t entry = 6 + 16 * i, size = std::size_t(image.size);
        EXPECT_EQ(file[entry], size == 256 ? 0 : size);  // 0 stands for 256
        EXPECT_EQ(Read(file, entry + 6, 2), 32u);
        const std::size_t bytes = Read(file, entry + 8, 4), offset = Read(file, entry + 12, 4);
        EXPECT_EQ(offset, expectedOffset);
        const std::size_t maskRow = (size + 31) / 32 * 4;
        ASSERT_EQ(bytes, 40 + size * size * 4 + maskRow * size);
        expectedOffset += bytes;

        EXPECT_EQ(Read(file, offset + 4, 4), size);
        EXPECT_EQ(Read(file, offset + 8, 4), 2 * size);  // the colours and the mask
        EXPECT_EQ(Read(file, offset + 14, 2), 32u);
        // Rows bottom up, BGRA; the mask's bit is set exactly where a pixel is wholly transparent.
        const std::size_t colors = offset + 40, mask = colors + size * size * 4;
        for (std::size_t y = 0; y < size; ++y) {
            for (std::size_t x = 0; x < size; ++x) {
                const std::uint8_t* p = Pixel(image, int(x), int(size - 1 - y));
                const std::size_t at = colors + (y * size + x) * 4;
                ASSERT_EQ(Read(file, at, 4), std::uint32_t(p[2] | p[1] << 8 | p[0] << 16 | p[3] << 24));
                const bool transparent = (file[mask + y * maskRow + x / 8] >> (7 - x % 8) & 1) != 0;
                ASSERT_EQ(transparent, p[3] == 0) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(expectedOffset, file.size());
}

TEST(PngFile, DecodesToTheSameRgbaPixels)
{
    const RgbaImage image = data::RenderGlobe(HemisphereEarth(), 48);
    const std::vector<std::uint8_t> file = data::PngFile(image);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&png, file.data(), file.size())) << png.message;
    png.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> decoded(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, decoded.data(), 0, nullptr)) << png.message;
    EXPECT_EQ(png.width, 48u);
    EXPECT_EQ(png.height, 48u);
    EXPECT_EQ(decoded, image.rgba);
}

}  // namespace
}  // namespace quorvane::tests
